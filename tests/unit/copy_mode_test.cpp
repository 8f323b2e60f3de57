#include <gtest/gtest.h>

#include "tests/fake_windows/fake_windows.h"
#include "uninstall/uninstaller.h"

namespace {

constexpr const char* kInstallFolder = "C:\\Program Files\\Quillet\\";
constexpr const char* kSystemCopy = "C:\\Windows\\system32\\nimbmon64.dll";

class CopyModeTest : public ::testing::Test {
protected:
    CopyModeTest() {
        windows.system.moduleFileName = "C:\\medium\\unInstpm64.exe";
        windows.files.AddFile("C:\\medium\\nimbmon64.dll", "monitor 64");
        windows.files.AddFile(std::string(kInstallFolder) + "unInstpm64.exe", "MZ");
        windows.files.AddFolder("C:\\Windows\\system32");
    }
    int Run(const std::vector<std::string>& arguments) {
        windows.system.arguments = arguments;
        return uninstall::RunUninstaller(windows.platform());
    }
    bool Copied() const { return windows.files.Content(kSystemCopy) == "monitor 64"; }

    fake::FakeWindows windows;
};

TEST_F(CopyModeTest, CopiesTheMonitorDllFromItsOwnFolderOverAnOlderOne) {
    windows.files.AddFile(kSystemCopy, "older");
    windows.files.AddFile("C:\\medium\\nimbmon64.dll", "monitor 64", platform::kFileAttributeReadOnly);
    EXPECT_EQ(Run({"/copy"}), 0);
    EXPECT_TRUE(Copied());
    EXPECT_EQ(windows.files.Attributes(kSystemCopy), platform::kFileAttributeNormal);  // from a CD
    EXPECT_TRUE(windows.ui.shown.empty());
}

TEST_F(CopyModeTest, WhichArgumentsChooseCopyMode) {
    struct Case {
        std::vector<std::string> arguments;
        bool copies;
    };
    const std::vector<Case> cases = {
        {{"/uninstall", "/copy"}, true},   // the later switch sets copy again; copy goes first
        {{"/copy", "/uninstall"}, false},  // uninstall clears it
        {{"x/copyz"}, true},               // contained anywhere
        {{"/register", "/copy"}, true},
        {{"/COPY"}, false},                // case-sensitive
        {{"/s"}, false},
        {{}, false}};
    for (const Case& c : cases) {
        windows.files.Remove(kSystemCopy);
        const int exitCode = Run(c.arguments);
        EXPECT_EQ(Copied(), c.copies) << ::testing::PrintToString(c.arguments);
        if (c.copies) {
            EXPECT_EQ(exitCode, 0) << ::testing::PrintToString(c.arguments);
        }
    }
}

TEST_F(CopyModeTest, WithoutASystemDirectoryItShowsItsOneBox) {
    windows.failures.Fail(fake::Op::GetSystemDirectory, platform::kErrorAccessDenied);
    EXPECT_EQ(Run({"/copy", "/s"}), static_cast<int>(platform::kErrorAccessDenied));
    ASSERT_EQ(windows.ui.shown.size(), 1u);
    EXPECT_EQ(windows.ui.shown[0].text, "Install Quillet Writer failed. (Err64-103)");
    EXPECT_TRUE(windows.ui.shown[0].applicationBox);
    EXPECT_EQ(windows.ui.shown[0].caption, "unInstpm64");
}

TEST_F(CopyModeTest, FromAFolderWithoutTheDllNothingChangesAndNothingIsShown) {
    windows.system.moduleFileName = std::string(kInstallFolder) + "unInstpm64.exe";
    windows.files.AddFile(kSystemCopy, "older");
    EXPECT_EQ(Run({"/copy"}), static_cast<int>(platform::kErrorFileNotFound));
    EXPECT_EQ(windows.files.Content(kSystemCopy), "older");
    EXPECT_TRUE(windows.ui.shown.empty());
}

TEST_F(CopyModeTest, WithoutItsOwnPathItCopiesNothingFromTheCurrentFolder) {
    windows.files.currentDirectory = "C:\\Downloads";
    windows.files.AddFile("C:\\Downloads\\nimbmon64.dll", "unknown");
    windows.failures.Fail(fake::Op::GetModuleFileName, platform::kErrorInsufficientBuffer);
    EXPECT_EQ(Run({"/copy"}), static_cast<int>(platform::kErrorInsufficientBuffer));
    EXPECT_FALSE(windows.files.Exists(kSystemCopy));
    EXPECT_FALSE(windows.journal.Contains("CopyFile"));
}

}  // namespace
