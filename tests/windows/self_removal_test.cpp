// The self-removal batch run by the real command interpreter: it waits for a running
// program to end before its file goes, and gives up, without spinning, on a file that
// cannot be deleted.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

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
    scratch.WriteFile("remove.bat", uninstall::SelfRemovalBatch(paths));

    // Built with append(): GCC 12 warns falsely (-Wrestrict) on chains of operator+.
    std::string commandLine = "\"";
    commandLine.append(SystemFolder()).append("\\cmd.exe\" /c \"\"").append(paths.batch).append("\"\"");
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    const DWORD started = GetTickCount();
    ASSERT_TRUE(CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                               scratch.path().c_str(), &startup, &info));
    ASSERT_EQ(WaitForSingleObject(info.hProcess, 30000), WAIT_OBJECT_0) << "the batch must end by itself";
    const DWORD elapsed = GetTickCount() - started;
    FILETIME creation{}, exit{}, kernel{}, user{};
    GetProcessTimes(info.hProcess, &creation, &exit, &kernel, &user);
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);

    EXPECT_TRUE(Exists(program));
    EXPECT_FALSE(Exists(paths.batch)) << "the batch deletes itself after giving up";
    // Three tries a second apart: about two seconds of waiting, not three of busy work.
    EXPECT_GE(elapsed, 1500u);
    const auto hundredNanoseconds = [](const FILETIME& t) {
        return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    const unsigned long long cpuMilliseconds = (hundredNanoseconds(kernel) + hundredNanoseconds(user)) / 10000;
    EXPECT_LT(cpuMilliseconds, elapsed / 4) << "the interpreter busied itself while waiting";
    RecordProperty("wait milliseconds", static_cast<int>(elapsed));
    RecordProperty("interpreter cpu milliseconds", static_cast<int>(cpuMilliseconds));
}

}  // namespace
