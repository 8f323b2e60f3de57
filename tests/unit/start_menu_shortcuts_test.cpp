#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "setup/install_sequence.h"
#include "setup/start_menu_shortcuts.h"
#include "tests/unit/deployment_fixture.h"
#include "tests/unit/setup_fixture.h"

namespace {

using testing_support::DeploymentFixture;

constexpr const char* kCommonPrograms = "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs";
constexpr const char* kUserPrograms = "C:\\Users\\user\\Start Menu\\Programs";

class ShortcutsTest : public DeploymentFixture {
protected:
    ShortcutsTest() {
        context.state.programGroup = "Brindle\\Quillet Writer";
        context.state.uninstallerPath = Destination("unInstpm64.exe");
        windows.files.AddFile(Destination("Preferences.exe"), "exe");
    }
    std::string Group() const { return std::string(kCommonPrograms) + "\\Brindle\\Quillet Writer"; }
    // The fake saves a link as "target|arguments|description".
    std::optional<std::string> Link(const std::string& path) const { return windows.files.Content(path); }
};

TEST_F(ShortcutsTest, NestedGroupGetsItsParentThenItselfAndTheShortcuts) {
    CreateStartMenuShortcuts();
    EXPECT_LT(windows.journal.IndexOf(std::string("CreateDirectory ") + kCommonPrograms + "\\Brindle"),
              windows.journal.IndexOf("CreateDirectory " + Group()));
    EXPECT_EQ(Link(Group() + "\\Preferences.lnk"),
              "C:\\Program Files\\Quillet\\Preferences.exe||Shortcut to preferences");
    EXPECT_FALSE(windows.files.Exists(Group() + "\\Readme.lnk"));
    EXPECT_FALSE(windows.files.Exists(Group() + "\\Security.lnk"));
    EXPECT_FALSE(windows.files.Exists(Group() + "\\Uninstall Quillet Writer.lnk"));  // Windows 10
    EXPECT_EQ(windows.shell.comInitCount, 0);
}

TEST_F(ShortcutsTest, EmptyGroupUsesTheProductName) {
    context.state.programGroup.clear();
    CreateStartMenuShortcuts();
    EXPECT_TRUE(windows.files.Exists(std::string(kCommonPrograms) + "\\Quillet Writer\\Preferences.lnk"));
}

TEST_F(ShortcutsTest, OnlyOneMissingLevelAboveTheGroupIsMade) {
    context.state.programGroup = "A\\B\\C";
    CreateStartMenuShortcuts();
    EXPECT_FALSE(windows.files.Exists(std::string(kCommonPrograms) + "\\A"));
    EXPECT_TRUE(windows.journal.Contains("CreateDirectory " + std::string(kCommonPrograms) + "\\A\\B"));
    EXPECT_FALSE(windows.files.Exists(std::string(kCommonPrograms) + "\\A\\B\\C\\Preferences.lnk"));
}

TEST_F(ShortcutsTest, ReadmeAndSecurityFollowTheirConditionsNotTheirTargets) {
    context.state.readmeName = "README.TXT";
    context.state.extensionComponents = true;  // "QuillEncrypt.exe" was never copied
    windows.files.Remove(Destination("Preferences.exe"));
    CreateStartMenuShortcuts();
    EXPECT_FALSE(windows.files.Exists(Group() + "\\Preferences.lnk"));
    EXPECT_EQ(Link(Group() + "\\Readme.lnk"), "C:\\Program Files\\Quillet\\README.TXT||Shortcut to readme");
    EXPECT_EQ(Link(Group() + "\\Security.lnk"),
              "C:\\Program Files\\Quillet\\QuillEncrypt.exe||Shortcut to security");
}

TEST_F(ShortcutsTest, UninstallShortcutOnlyBeforeVista) {
    context.state.osMajor = 5;
    CreateStartMenuShortcuts();
    EXPECT_EQ(Link(Group() + "\\Uninstall Quillet Writer.lnk"),
              "C:\\Program Files\\Quillet\\unInstpm64.exe| /uninstall|Shortcut to uninstall");

    On32BitNt(5);
    context.state.uninstallerPath = Destination("uninstpm.exe");
    CreateStartMenuShortcuts();
    EXPECT_EQ(Link(Group() + "\\Uninstall Quillet Writer.lnk"),
              "C:\\Program Files\\Quillet\\uninstpm.exe|C:\\Program Files\\Quillet|Shortcut to uninstall");

    windows.files.Remove(Group() + "\\Uninstall Quillet Writer.lnk");
    On32BitNt(6);
    CreateStartMenuShortcuts();
    EXPECT_FALSE(windows.files.Exists(Group() + "\\Uninstall Quillet Writer.lnk"));
    EXPECT_TRUE(windows.files.Exists(Group() + "\\Preferences.lnk"));
}

TEST_F(ShortcutsTest, Windows98UsesTheUsersProgramsFolder) {
    OnWindows98();
    CreateStartMenuShortcuts();
    EXPECT_TRUE(windows.files.Exists(std::string(kUserPrograms) + "\\Brindle\\Quillet Writer\\Preferences.lnk"));
    EXPECT_FALSE(windows.files.Exists(Group()));
}

TEST_F(ShortcutsTest, NoProgramsFolderNoShortcutsAndFailedLinksArePassedOver) {
    windows.failures.Fail(fake::Op::GetSpecialFolderPath, 2);
    CreateStartMenuShortcuts();
    EXPECT_FALSE(windows.journal.Contains("CreateDirectory"));
    EXPECT_FALSE(windows.journal.Contains("SaveLink"));

    windows.failures.Clear();
    context.state.readmeName = "README.TXT";
    windows.failures.Fail(fake::Op::SaveLink, platform::kErrorAccessDenied, "Preferences.lnk");
    CreateStartMenuShortcuts();
    EXPECT_FALSE(windows.files.Exists(Group() + "\\Preferences.lnk"));
    EXPECT_TRUE(windows.files.Exists(Group() + "\\Readme.lnk"));
}

// The uninstaller removes the group's shortcuts and folder by the same name: a group
// that is not a folder inside the Programs folder gets no shortcuts, and the error log
// says why.
TEST_F(ShortcutsTest, AGroupOutsideTheProgramsFolderIsPassedOverAndLogged) {
    struct Case {
        std::string group;
        std::string productName;
    };
    const std::vector<Case> cases = {{"..\\Startup", "Quillet Writer"},  {"A\\..\\..\\X", "Quillet Writer"},
                                     {"C:\\Evil", "Quillet Writer"},      {"\\Evil", "Quillet Writer"},
                                     {".", "Quillet Writer"},              {"A\\..", "Quillet Writer"},
                                     {"", "..\\Quillet Writer"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.group + " / " + c.productName);
        windows.journal.Clear();
        windows.files.Remove(Destination("Error.log"));
        context.state.programGroup = c.group;
        context.state.productName = c.productName;
        context.state.destinationFolder = kDestination;
        context.feedback.PointErrorLogAt(context.state.destinationFolder);
        CreateStartMenuShortcuts();
        EXPECT_FALSE(windows.journal.Contains("CreateDirectory"));
        EXPECT_FALSE(windows.journal.Contains("SaveLink"));
        const std::string group = c.group.empty() ? c.productName : c.group;
        EXPECT_EQ(windows.files.Content(Destination("Error.log")),
                  "Start-menu shortcuts skipped: the program group \"" + group +
                      "\" is not a folder inside the Programs folder.\r\n");
    }
    // A group that goes down and up again but stays inside is taken as it is.
    context.state.programGroup = "Brindle\\..\\Quillet";
    context.state.productName = "Quillet Writer";
    CreateStartMenuShortcuts();
    EXPECT_TRUE(windows.files.Exists(std::string(kCommonPrograms) + "\\Quillet\\Preferences.lnk"));
}

class ShortcutsInSequenceTest : public testing_support::SetupFixture {
protected:
    ShortcutsInSequenceTest() { WriteInstallLog(testing_support::SampleInstallLog()); }
};

TEST_F(ShortcutsInSequenceTest, WithSlashCNoStartMenuFolderIsCreated) {
    ASSERT_EQ(Run({"/s", "/c"}), 0);
    for (const auto& path : windows.files.AllPaths()) {
        EXPECT_EQ(path.find("Start Menu"), std::string::npos) << path;
    }
    ASSERT_EQ(RunAgain({"/s"}), 0);
    EXPECT_TRUE(windows.files.Exists(std::string(kCommonPrograms) + "\\Brindle\\Quillet Writer\\Preferences.lnk"));
}

}  // namespace
