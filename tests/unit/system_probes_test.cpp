#include <gtest/gtest.h>

#include "setup/file_probes.h"
#include "setup/platform_selection.h"
#include "setup/shell_shortcut.h"
#include "tests/fake_windows/fake_windows.h"

namespace {

using namespace setup;

class ProbesTest : public ::testing::Test {
protected:
    fake::FakeWindows windows;
};

TEST_F(ProbesTest, Wow64ProbeFollowsTheSystemFunction) {
    windows.system.hasIsWow64Process = false;
    EXPECT_EQ(IsRunningUnderWow64(windows.system), 0);
    EXPECT_EQ(windows.system.isWow64ProcessCalls, 0);

    windows.system.hasIsWow64Process = true;
    windows.system.isWow64 = false;
    EXPECT_EQ(IsRunningUnderWow64(windows.system), 0);
    windows.system.isWow64 = true;
    EXPECT_EQ(IsRunningUnderWow64(windows.system), 1);

    windows.failures.Fail(fake::Op::IsWow64Process, 6);
    EXPECT_EQ(IsRunningUnderWow64(windows.system), 0);
}

TEST_F(ProbesTest, ClearReadOnlyLeavesOnlyNormal) {
    const auto readOnlyHidden = platform::kFileAttributeReadOnly | platform::kFileAttributeHidden;
    windows.files.AddFile("C:\\d\\ro.txt", "x", readOnlyHidden);
    EXPECT_EQ(ClearReadOnlyAttribute(windows.files, "C:\\d\\ro.txt"), 1);
    EXPECT_EQ(windows.files.Attributes("C:\\d\\ro.txt"), platform::kFileAttributeNormal);

    windows.files.AddFile("C:\\d\\hidden.txt", "x", platform::kFileAttributeHidden);
    EXPECT_EQ(ClearReadOnlyAttribute(windows.files, "C:\\d\\hidden.txt"), 1);
    EXPECT_EQ(windows.files.Attributes("C:\\d\\hidden.txt"), platform::kFileAttributeHidden);

    EXPECT_EQ(ClearReadOnlyAttribute(windows.files, "C:\\d\\missing.txt"), 0);
}

TEST_F(ProbesTest, ClearReadOnlyPassesOverAFailedChange) {
    windows.files.AddFile("C:\\d\\ro.txt", "x", platform::kFileAttributeReadOnly);
    windows.failures.Fail(fake::Op::SetFileAttributes, 5);
    EXPECT_EQ(ClearReadOnlyAttribute(windows.files, "C:\\d\\ro.txt"), 1);
    EXPECT_EQ(windows.files.Attributes("C:\\d\\ro.txt"), platform::kFileAttributeReadOnly);
}

TEST_F(ProbesTest, DirectoryExistsOnlyForFolders) {
    windows.files.AddFolder("C:\\Program Files\\Quillet");
    windows.files.AddFile("C:\\Program Files\\file.txt", "x");
    EXPECT_EQ(DirectoryExists(windows.files, "C:\\Program Files\\Quillet"), 1);
    EXPECT_EQ(DirectoryExists(windows.files, "c:\\program files\\QUILLET"), 1);
    EXPECT_EQ(DirectoryExists(windows.files, "C:\\Program Files\\file.txt"), 0);
    EXPECT_EQ(DirectoryExists(windows.files, "C:\\Program Files\\missing"), 0);
}

TEST_F(ProbesTest, RelativeFolderIsLookedUpInTheCurrentFolderOnly) {
    windows.files.AddFolder("C:\\Work\\sub");
    windows.files.AddFolder("C:\\Other\\elsewhere");
    windows.files.currentDirectory = "C:\\Work";
    EXPECT_EQ(DirectoryExists(windows.files, "sub"), 1);
    EXPECT_EQ(DirectoryExists(windows.files, "elsewhere"), 0);
}

TEST_F(ProbesTest, DirectoryExistsAnswersNoWhenTheSearchFails) {
    windows.files.AddFolder("C:\\Program Files\\Quillet");
    windows.failures.Fail(fake::Op::SearchPath, 5);
    EXPECT_EQ(DirectoryExists(windows.files, "C:\\Program Files\\Quillet"), 0);
    windows.failures.Clear();
    windows.failures.Fail(fake::Op::GetCurrentDirectory, 5);
    EXPECT_EQ(DirectoryExists(windows.files, "C:\\Program Files\\Quillet"), 0);
}

TEST(FileEntry, FoldersAreNotFiles) {
    EXPECT_EQ(IsFileEntry(platform::kFileAttributeArchive), 1);
    EXPECT_EQ(IsFileEntry(platform::kFileAttributeNormal), 1);
    EXPECT_EQ(IsFileEntry(platform::kFileAttributeDirectory), 0);
    EXPECT_EQ(IsFileEntry(platform::kFileAttributeDirectory | platform::kFileAttributeHidden), 0);
}

class ShortcutTest : public ProbesTest {
protected:
    ShortcutTest() { windows.files.AddFolder("C:\\Menu"); }
    platform::HResult Make(const char* arguments = nullptr) {
        return CreateShellShortcut(windows.shell, "C:\\App\\Preferences.exe", "C:\\Menu\\Preferences.lnk",
                                   "Shortcut to preferences", arguments);
    }
};

TEST_F(ShortcutTest, SavesTargetDescriptionAndArguments) {
    EXPECT_EQ(Make(), platform::kS_OK);
    EXPECT_EQ(windows.files.Content("C:\\Menu\\Preferences.lnk"),
              std::string("C:\\App\\Preferences.exe||Shortcut to preferences"));
    EXPECT_EQ(Make(" /uninstall"), platform::kS_OK);  // replaces the link
    EXPECT_EQ(windows.files.Content("C:\\Menu\\Preferences.lnk"),
              std::string("C:\\App\\Preferences.exe| /uninstall|Shortcut to preferences"));
    EXPECT_EQ(windows.shell.comInitCount, 0);
}

TEST_F(ShortcutTest, ComAlreadyInitialisedStillWorksAndStaysBalanced) {
    windows.shell.comAlreadyInitialised = true;
    EXPECT_EQ(Make(), platform::kS_OK);
    EXPECT_TRUE(windows.files.Exists("C:\\Menu\\Preferences.lnk"));
    EXPECT_EQ(windows.shell.comInitCount, 0);
}

TEST_F(ShortcutTest, EachFailingStepGivesItsResultAndBalancesCom) {
    windows.failures.Fail(fake::Op::CoInitialize, 5, "", 1);
    EXPECT_EQ(Make(), platform::HResultFromWin32(5));
    EXPECT_FALSE(windows.journal.Contains("CoUninitialize"));  // nothing to balance

    windows.failures.Fail(fake::Op::CreateShellLink, 6, "", 1);
    EXPECT_EQ(Make(), platform::HResultFromWin32(6));
    windows.failures.Fail(fake::Op::QueryPersistFile, 7, "", 1);
    EXPECT_EQ(Make(), platform::HResultFromWin32(7));
    windows.failures.Fail(fake::Op::SaveLink, 8, "", 1);
    EXPECT_EQ(Make(), platform::HResultFromWin32(8));
    EXPECT_EQ(windows.shell.comInitCount, 0);
    EXPECT_FALSE(windows.files.Exists("C:\\Menu\\Preferences.lnk"));
}

TEST_F(ShortcutTest, MissingFolderAndOverlongPathCreateNothing) {
    EXPECT_FALSE(platform::Succeeded(CreateShellShortcut(windows.shell, "C:\\t.exe", "C:\\Nowhere\\x.lnk", "d",
                                                         nullptr)));
    const std::string longPath = "C:\\Menu\\" + std::string(260, 'n') + ".lnk";
    EXPECT_FALSE(platform::Succeeded(CreateShellShortcut(windows.shell, "C:\\t.exe", longPath, "d", nullptr)));
    EXPECT_EQ(windows.shell.comInitCount, 0);
}

}  // namespace
