// Starting programs behind the boundary as the self-removal batch is started: suspended
// at idle priority, in a chosen folder, without the parent's handles; bounded waits; the
// running program's own priorities.
#include <gtest/gtest.h>

#include "platform/win32/windows_api.h"

#include <tlhelp32.h>

#include <string>

#include "platform/win32/unique_handles.h"
#include "platform/win32/win32_platform.h"
#include "tests/windows/scratch_folder.h"
#include "tests/windows/wine_only.h"

namespace {

using platform::win32::UniqueFile;
using platform::win32::UniqueHandle;
using platform::win32::Win32Processes;

// The one running child of this process with the given program name (cmd.exe runs a
// batch file), found in a process snapshot: the platform hands out no process id.
struct ChildIds {
    DWORD process = 0;
    DWORD thread = 0;  // its first thread
};
ChildIds FindChild(const char* program) {
    ChildIds ids;
    UniqueFile snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS | TH32CS_SNAPTHREAD, 0));
    if (!snapshot) return ids;
    PROCESSENTRY32 process{};
    process.dwSize = sizeof(process);
    for (BOOL more = Process32First(snapshot.get(), &process); more; more = Process32Next(snapshot.get(), &process)) {
        if (process.th32ParentProcessID == GetCurrentProcessId() && lstrcmpiA(process.szExeFile, program) == 0) {
            ids.process = process.th32ProcessID;
            break;
        }
    }
    THREADENTRY32 thread{};
    thread.dwSize = sizeof(thread);
    for (BOOL more = Thread32First(snapshot.get(), &thread); ids.process != 0 && more;
         more = Thread32Next(snapshot.get(), &thread)) {
        if (thread.th32OwnerProcessID == ids.process) {
            ids.thread = thread.th32ThreadID;
            break;
        }
    }
    return ids;
}

std::string ContentOf(const std::string& path) {
    platform::win32::Win32FileSystem files;
    const auto read = files.ReadWholeFile(path);
    return read ? std::string(read.value().begin(), read.value().end()) : std::string();
}

TEST(Win32Processes, ASuspendedIdleStartRunsOnlyOnceResumedInItsOwnFolder) {
    wintest::ScratchFolder folder("process_start");
    CreateDirectoryA((folder / "current").c_str(), nullptr);
    folder.WriteFile("job.bat", "@echo off\r\ncd > where.txt\r\nexit 7\r\n");
    platform::ProcessStart start;
    start.show = platform::WindowShow::Hide;
    start.inheritHandles = false;
    start.suspendedAtIdlePriority = true;
    start.currentDirectory = folder / "current";
    Win32Processes processes;

    // A batch file named on the command line runs through the command interpreter.
    std::string commandLine = folder / "job.bat";
    commandLine.insert(commandLine.begin(), '"');
    commandLine += '"';
    const auto started = processes.CreateProcess(commandLine, start);
    ASSERT_TRUE(started) << started.error;
    platform::Process& batch = *started.process;
    EXPECT_EQ(batch.WaitFor(200), platform::kWaitTimeout);  // suspended: it cannot have ended

    const ChildIds child = FindChild("cmd.exe");
    ASSERT_NE(child.process, 0u);
    UniqueHandle process(OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, child.process));
    ASSERT_TRUE(process);
    // Wine starts the program in the normal class whatever the creation flags say (a later
    // SetPriorityClass does work there); Windows starts it in the idle class.
    const DWORD startClass = wintest::RunningUnderWine() ? NORMAL_PRIORITY_CLASS : IDLE_PRIORITY_CLASS;
    EXPECT_EQ(GetPriorityClass(process.get()), startClass);
    UniqueHandle thread(OpenThread(THREAD_QUERY_INFORMATION, FALSE, child.thread));
    ASSERT_TRUE(thread);
    EXPECT_NE(GetThreadPriority(thread.get()), THREAD_PRIORITY_IDLE);
    ASSERT_TRUE(batch.SetMainThreadIdle());
    EXPECT_EQ(GetThreadPriority(thread.get()), THREAD_PRIORITY_IDLE);
    EXPECT_EQ(GetFileAttributesA((folder / "current\\where.txt").c_str()), INVALID_FILE_ATTRIBUTES);

    ASSERT_TRUE(batch.Resume());
    ASSERT_EQ(batch.WaitFor(30000), platform::kWaitObject0);
    EXPECT_EQ(batch.GetExitCode().ValueOr(0), 7u);
    // It ran in the folder it was given, not in the batch file's or this program's.
    EXPECT_EQ(ContentOf(folder / "current\\where.txt"), folder / "current\r\n");
    EXPECT_EQ(GetFileAttributesA((folder / "where.txt").c_str()), INVALID_FILE_ATTRIBUTES);
}

// Whether a child holds the write end of a pipe shows in the pipe: once the parent has
// closed its own write end, the pipe is broken unless the child inherited one.
TEST(Win32Processes, HandlesAreInheritedOnlyWhenAsked) {
    for (const bool inherit : {false, true}) {
        SCOPED_TRACE(inherit ? "inheriting" : "not inheriting");
        SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
        HANDLE readEnd = nullptr;
        HANDLE writeEnd = nullptr;
        ASSERT_TRUE(CreatePipe(&readEnd, &writeEnd, &inheritable, 0));
        UniqueHandle reader(readEnd);
        UniqueHandle writer(writeEnd);

        platform::ProcessStart start = platform::ShownAs(platform::WindowShow::Hide);
        start.inheritHandles = inherit;
        start.suspendedAtIdlePriority = true;  // it holds what it inherited until it is ended
        Win32Processes processes;
        const auto started = processes.CreateProcess("cmd.exe /c exit 0", start);
        ASSERT_TRUE(started) << started.error;
        writer.reset();

        DWORD available = 0;
        const BOOL open = PeekNamedPipe(reader.get(), nullptr, 0, nullptr, &available, nullptr);
        const DWORD error = open ? ERROR_SUCCESS : GetLastError();
        EXPECT_EQ(open != FALSE, inherit);
        if (!inherit) {
            EXPECT_EQ(error, static_cast<DWORD>(ERROR_BROKEN_PIPE));
        }

        ASSERT_TRUE(started.process->Terminate(0));
        EXPECT_EQ(started.process->WaitFor(30000), platform::kWaitObject0);
    }
}

TEST(Win32Processes, AWaitEndsAtItsTimeOutWhileTheProgramRuns) {
    Win32Processes processes;
    platform::ProcessStart start = platform::ShownAs(platform::WindowShow::Hide);
    start.inheritHandles = false;
    // About a second: the second ping waits a second after the first.
    const auto started = processes.CreateProcess("cmd.exe /c ping -n 2 127.0.0.1 >nul", start);
    ASSERT_TRUE(started) << started.error;
    const DWORD before = GetTickCount();
    EXPECT_EQ(started.process->WaitFor(300), platform::kWaitTimeout);
    const DWORD waited = GetTickCount() - before;
    EXPECT_GE(waited, 250u);
    EXPECT_LT(waited, 1500u);
    EXPECT_EQ(started.process->WaitFor(30000), platform::kWaitObject0);
    EXPECT_EQ(started.process->WaitFor(0), platform::kWaitObject0);  // an ended program answers at once
}

TEST(Win32Processes, TheRunningProgramRaisesItsThreadAndClass) {
    const int threadBefore = GetThreadPriority(GetCurrentThread());
    const DWORD classBefore = GetPriorityClass(GetCurrentProcess());
    Win32Processes processes;

    const platform::Win32Result thread = processes.SetOwnThreadTimeCritical();
    const int threadAfter = GetThreadPriority(GetCurrentThread());
    const platform::Win32Result process = processes.SetOwnProcessHighPriority();
    const DWORD classAfter = GetPriorityClass(GetCurrentProcess());
    // The rest of the tests run as before.
    SetThreadPriority(GetCurrentThread(), threadBefore);
    SetPriorityClass(GetCurrentProcess(), classBefore);

    EXPECT_TRUE(thread) << thread.error;
    EXPECT_EQ(threadAfter, THREAD_PRIORITY_TIME_CRITICAL);
    EXPECT_TRUE(process) << process.error;
    EXPECT_EQ(classAfter, static_cast<DWORD>(HIGH_PRIORITY_CLASS));
}

// A second mutex of the same name sees the first; once every handle is closed the name
// is free again.
TEST(Win32Processes, ANamedMutexTellsASecondRunFromTheFirst) {
    platform::win32::Win32Processes processes;
    const std::string name = "Global\\windows_tests mutex " + std::to_string(GetCurrentProcessId());
    {
        platform::CreatedMutex first = processes.CreateNamedMutex(name);
        ASSERT_TRUE(first) << first.error;
        EXPECT_FALSE(first.alreadyExisted);
        platform::CreatedMutex second = processes.CreateNamedMutex(name);
        ASSERT_TRUE(second) << second.error;
        EXPECT_TRUE(second.alreadyExisted);
    }
    platform::CreatedMutex again = processes.CreateNamedMutex(name);
    ASSERT_TRUE(again);
    EXPECT_FALSE(again.alreadyExisted);
}

}  // namespace
