// The self-removal batch run by the real command interpreter: it waits for a running
// program to end before its file goes, and gives up, without spinning, on a file that
// cannot be deleted.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "platform/win32/unique_handles.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/windows_api.h"
#include "tests/windows/scratch_folder.h"
#include "uninstall/self_removal.h"

namespace {

std::string SystemFolder() {
    char folder[MAX_PATH] = {};
    GetSystemDirectoryA(folder, MAX_PATH);
    return folder;
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Waits up to `seconds` for `path` to be gone.
bool GoneWithin(const std::string& path, int seconds) {
    for (int tenth = 0; tenth < seconds * 10; ++tenth) {
        if (!Exists(path)) return true;
        Sleep(100);
    }
    return !Exists(path);
}

// A program that runs for about `seconds`: a copy of ping.exe that pings itself.
PROCESS_INFORMATION StartProgram(const std::string& path, int seconds) {
    std::string commandLine = "\"" + path + "\" -n " + std::to_string(seconds + 1) + " 127.0.0.1";
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &startup,
                   &info);
    return info;
}

TEST(SelfRemoval, TheProgramGoesOnceItHasEndedThenItsFolderAndTheBatch) {
    wintest::ScratchFolder scratch("self_removal");
    const std::string folder = scratch / "Quillet Writer";
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    const std::string program = folder + "\\unInstpm64.exe";
    ASSERT_TRUE(CopyFileA((SystemFolder() + "\\ping.exe").c_str(), program.c_str(), FALSE));
    const PROCESS_INFORMATION running = StartProgram(program, 3);
    ASSERT_NE(running.hProcess, nullptr);

    platform::win32::Win32Platform windows;
    uninstall::UninstallContext context(windows.platform(), true);
    context.ownPath = program;
    context.installFolder = folder + "\\";
    context.systemFolder = SystemFolder();
    uninstall::StartSelfRemoval(context);
    // The uninstaller raises its own priority to end first; this test goes on instead.
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_NORMAL);
    SetPriorityClass(GetCurrentProcess(), NORMAL_PRIORITY_CLASS);

    Sleep(1000);
    const bool programKeptWhileRunning = Exists(program);
    WaitForSingleObject(running.hProcess, 10000);
    CloseHandle(running.hProcess);
    CloseHandle(running.hThread);
    EXPECT_TRUE(GoneWithin(folder, 20)) << "the folder should go with the program";
    // The batch lies in this process's temporary folder and deletes itself last.
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    char batch[MAX_PATH + 32] = {};
    std::snprintf(batch, sizeof(batch), "%sDelUnist-%X-0.bat", temp, static_cast<unsigned>(GetCurrentProcessId()));
    EXPECT_TRUE(GoneWithin(batch, 5)) << batch;
    // Windows keeps a running program's file; where the system lets it go earlier, the
    // batch has nothing to wait for.
    RecordProperty("program file kept while it ran", programKeptWhileRunning ? "yes" : "no");
}

// How often `command` was run, from the interpreter's trace (with echo on, each command
// it runs follows its prompt, variables expanded).
int TimesRun(const std::string& trace, const std::string& command) {
    int times = 0;
    for (std::size_t at = trace.find(">" + command); at != std::string::npos; at = trace.find(">" + command, at + 1)) {
        ++times;
    }
    return times;
}

TEST(SelfRemoval, AFileThatCannotBeDeletedIsGivenUpWithoutSpinning) {
    wintest::ScratchFolder scratch("self_removal_stuck");
    const std::string program = scratch / "unInstpm64.exe";
    scratch.WriteFile("unInstpm64.exe", "MZ");
    ASSERT_TRUE(SetFileAttributesA(program.c_str(), FILE_ATTRIBUTE_READONLY));  // "del" leaves it
    uninstall::SelfRemovalPaths paths;
    paths.program = program;
    paths.installFolder = scratch.path();
    paths.batch = scratch / "remove.bat";
    paths.systemFolder = SystemFolder();
    paths.tries = 3;
    // The batch as written, but for echo on: the interpreter then traces every command it runs.
    std::string batch = uninstall::SelfRemovalBatch(paths);
    ASSERT_EQ(batch.rfind("@echo off\r\n", 0), 0u);
    batch.replace(0, 9, "@echo on");
    scratch.WriteFile("remove.bat", batch);

    SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    const std::string tracePath = scratch / "trace.txt";
    const platform::win32::UniqueFile traceFile(CreateFileA(tracePath.c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                                            &inherited, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(traceFile);
    // Built with append(): GCC 12 warns falsely (-Wrestrict) on chains of operator+.
    std::string commandLine = "\"";
    commandLine.append(SystemFolder()).append("\\cmd.exe\" /c \"\"").append(paths.batch).append("\"\"");
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = traceFile.get();
    startup.hStdError = traceFile.get();
    PROCESS_INFORMATION info{};
    ASSERT_TRUE(CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                               scratch.path().c_str(), &startup, &info));
    const platform::win32::UniqueHandle process(info.hProcess);
    const platform::win32::UniqueHandle thread(info.hThread);
    // Generous: three tries with two one-second pauses between them.
    ASSERT_EQ(WaitForSingleObject(process.get(), 60000), WAIT_OBJECT_0) << "the batch must end by itself";

    EXPECT_TRUE(Exists(program));
    EXPECT_FALSE(Exists(paths.batch)) << "the batch deletes itself after giving up";
    // Shared for writing: the interpreter's inherited handle can still be open a moment
    // after its process has been signalled as ended (seen under Wine).
    const platform::win32::UniqueFile reader(CreateFileA(tracePath.c_str(), GENERIC_READ,
                                                         FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                                         FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(reader) << GetLastError();
    std::string traced(GetFileSize(reader.get(), nullptr), '\0');
    DWORD read = 0;
    ASSERT_TRUE(ReadFile(reader.get(), traced.data(), static_cast<DWORD>(traced.size()), &read, nullptr));
    traced.resize(read);
    // Three tries; after each but the last a pause of one second (a ping of two echoes).
    EXPECT_EQ(TimesRun(traced, "del \"" + program + "\""), 3) << traced;
    const std::string pause = " LSS 3 \"" + SystemFolder() + "\\ping.exe\" -n 2 127.0.0.1";
    EXPECT_EQ(TimesRun(traced, "if 1" + pause), 1) << traced;
    EXPECT_EQ(TimesRun(traced, "if 2" + pause), 1) << traced;
}

}  // namespace
