// Files and folders deleted or renamed at the next restart: the request waits in the
// registry value PendingFileRenameOperations, and a restart performs it. Under Wine
// "wineboot -r" is that restart, run here inside the tests' own prefix.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/win32/unique_handles.h"
#include "platform/win32/win32_platform.h"
#include "tests/windows/scratch_folder.h"
#include "tests/windows/wine_only.h"

namespace {

using platform::win32::Win32FileSystem;

// The value's strings in order (source, target, source, target, ...), as ANSI text.
std::vector<std::string> PendingRenames() {
    platform::win32::UniqueKey key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Control\\Session Manager", 0, KEY_READ,
                      key.put()) != ERROR_SUCCESS) {
        return {};
    }
    DWORD bytes = 0;
    if (RegQueryValueExA(key.get(), "PendingFileRenameOperations", nullptr, nullptr, nullptr, &bytes) !=
        ERROR_SUCCESS) {
        return {};
    }
    std::vector<char> data(bytes + 2, '\0');
    DWORD type = 0;
    if (RegQueryValueExA(key.get(), "PendingFileRenameOperations", nullptr, &type,
                         reinterpret_cast<BYTE*>(data.data()), &bytes) != ERROR_SUCCESS ||
        type != REG_MULTI_SZ) {
        return {};
    }
    // A deletion's target is an empty string, so the list ends only at the value's end, not
    // at the first empty string; the NUL that closes the list reads as one more empty
    // string that belongs to no pair.
    std::vector<std::string> strings;
    std::string current;
    for (DWORD i = 0; i < bytes; ++i) {
        if (data[i] != '\0') {
            current += data[i];
            continue;
        }
        strings.push_back(current);
        current.clear();
    }
    if (strings.size() % 2 != 0 && strings.back().empty()) strings.pop_back();
    return strings;
}

bool Lists(const std::vector<std::string>& strings, const std::string& text) {
    for (const auto& entry : strings) {
        if (entry == text) return true;
    }
    return false;
}

// wineboot -r: what Wine does at a restart, pending renames included.
void RestartWine() {
    platform::win32::Win32Processes processes;
    const auto started = processes.CreateProcess("wineboot.exe -r", platform::ShownAs(platform::WindowShow::Hide));
    ASSERT_TRUE(started) << started.error;
    ASSERT_EQ(started.process->WaitFor(60000), platform::kWaitObject0);
    EXPECT_EQ(started.process->GetExitCode().ValueOr(1), 0u);
}

TEST(Win32RestartMoves, ARestartDeletesAndRenamesWhatWasScheduledAndLeavesAFullFolder) {
    if (!wintest::RunningUnderWine()) GTEST_SKIP() << "needs a restart, which only Wine can do inside a test";
    wintest::ScratchFolder folder("restart_moves");
    folder.WriteFile("delete.txt", "x");
    folder.WriteFile("rename.txt", "kept");
    CreateDirectoryA((folder / "empty").c_str(), nullptr);
    CreateDirectoryA((folder / "full").c_str(), nullptr);
    folder.WriteFile("full\\inside.txt", "y");
    Win32FileSystem files;

    ASSERT_TRUE(files.MoveFileAtRestart(folder / "delete.txt", std::nullopt));
    ASSERT_TRUE(files.MoveFileAtRestart(folder / "rename.txt", folder / "renamed.txt"));
    ASSERT_TRUE(files.MoveFileAtRestart(folder / "empty", std::nullopt));
    ASSERT_TRUE(files.MoveFileAtRestart(folder / "full", std::nullopt));
    // Wine records a path that does not exist as well (the fake refuses it with
    // ERROR_FILE_NOT_FOUND); the restart then passes over it.
    EXPECT_TRUE(files.MoveFileAtRestart(folder / "missing.txt", std::nullopt));

    // Nothing moves before the restart; the requests wait in order, in the system's own
    // path form, a deletion with an empty target.
    EXPECT_TRUE(files.GetFileAttributes(folder / "delete.txt"));
    EXPECT_TRUE(files.GetFileAttributes(folder / "empty"));
    const std::string nt = "\\??\\";
    const std::vector<std::string> expected = {
        nt + (folder / "delete.txt"), "", nt + (folder / "rename.txt"), nt + (folder / "renamed.txt"),
        nt + (folder / "empty"),      "", nt + (folder / "full"),       "",
        nt + (folder / "missing.txt"), ""};
    const std::vector<std::string> pending = PendingRenames();
    ASSERT_GE(pending.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(pending.end() - static_cast<std::ptrdiff_t>(expected.size()), pending.end()),
              expected);

    RestartWine();

    EXPECT_EQ(files.GetFileAttributes(folder / "delete.txt").error, platform::kErrorFileNotFound);
    EXPECT_EQ(files.GetFileAttributes(folder / "rename.txt").error, platform::kErrorFileNotFound);
    const auto renamed = files.ReadWholeFile(folder / "renamed.txt");
    ASSERT_TRUE(renamed) << renamed.error;
    EXPECT_EQ(std::string(renamed.value().begin(), renamed.value().end()), "kept");
    EXPECT_EQ(files.GetFileAttributes(folder / "empty").error, platform::kErrorFileNotFound);
    // A folder that is not empty stays, with what is in it.
    EXPECT_TRUE(files.GetFileAttributes(folder / "full\\inside.txt"));
    EXPECT_FALSE(Lists(PendingRenames(), nt + (folder / "delete.txt")));
}

}  // namespace
