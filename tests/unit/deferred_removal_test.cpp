// What is removed after the uninstaller: at the next restart (a delayed move, or the
// "[Rename]" section of WinInit.Ini) and by the self-removal batch.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/fake_windows/fake_windows.h"
#include "uninstall/deferred_delete.h"
#include "uninstall/self_removal.h"

namespace {

constexpr const char* kWinInit = "C:\\Windows\\WinInit.Ini";

class DeferredDeleteTest : public ::testing::Test {
protected:
    DeferredDeleteTest() {
        windows.files.AddFolder("C:\\Windows");
        windows.files.AddFolder("C:\\Program Files\\Quillet");
        // Windows refuses the delayed move (as Windows 98/Me do): WinInit.Ini is used.
        windows.failures.Fail(fake::Op::MoveFileAtRestart, 120);  // ERROR_CALL_NOT_IMPLEMENTED
    }
    bool Delete() { return uninstall::DeleteAtRestart(windows.platform(), "C:\\Program Files\\Quillet"); }
    std::string WinInit() const { return windows.files.Content(kWinInit).value_or("<missing>"); }

    fake::FakeWindows windows;
};

TEST_F(DeferredDeleteTest, ADelayedMoveWindowsAcceptsNeedsNoWinInit) {
    windows.failures.Clear();
    EXPECT_TRUE(Delete());
    ASSERT_EQ(windows.files.pendingAtRestart.size(), 1u);
    EXPECT_EQ(windows.files.pendingAtRestart[0], (std::pair<std::string, std::string>{"C:\\Program Files\\Quillet", ""}));
    EXPECT_FALSE(windows.files.Exists(kWinInit));
}

TEST_F(DeferredDeleteTest, WinInitGetsTheLineUnderItsHeaderOrTheHeaderAndTheLine) {
    struct Case {
        const char* name;
        std::optional<std::string> before;
        std::string after;
    };
    const std::string line = "NUL=C:\\Program Files\\Quillet\r\n";
    const std::vector<Case> cases = {
        {"a missing file holds exactly both", std::nullopt, "[Rename]\r\n" + line},
        {"directly under the header, before the older lines",
         "[boot]\r\nshell=x\r\n[Rename]\r\nNUL=C:\\old.tmp\r\n[Other]\r\nk=v\r\n",
         "[boot]\r\nshell=x\r\n[Rename]\r\n" + line + "NUL=C:\\old.tmp\r\n[Other]\r\nk=v\r\n"},
        {"no section: appended", "[boot]\r\nshell=x\r\n", "[boot]\r\nshell=x\r\n[Rename]\r\n" + line},
        {"a header in other letter case is not the section", "[rename]\r\nNUL=C:\\old.tmp\r\n",
         "[rename]\r\nNUL=C:\\old.tmp\r\n[Rename]\r\n" + line},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        windows.files.Remove(kWinInit);
        if (c.before) windows.files.AddFile(kWinInit, *c.before);
        EXPECT_TRUE(Delete());
        EXPECT_EQ(WinInit(), c.after);
    }
}

TEST_F(DeferredDeleteTest, ARenameNamesTheNewNameFirst) {
    EXPECT_EQ(uninstall::RenameLine("C:\\a.tmp", std::string("C:\\b.dll")), "C:\\b.dll=C:\\a.tmp\r\n");
    EXPECT_TRUE(uninstall::DeleteAtRestart(windows.platform(), "C:\\Program Files\\Quillet", std::string("C:\\New")));
    EXPECT_EQ(WinInit(), "[Rename]\r\nC:\\New=C:\\Program Files\\Quillet\r\n");
}

TEST_F(DeferredDeleteTest, AFailedMappingLeavesTheFileAsItWas) {
    windows.files.AddFile(kWinInit, "[boot]\r\n");
    windows.failures.Fail(fake::Op::MapFile, 8);  // ERROR_NOT_ENOUGH_MEMORY
    EXPECT_FALSE(Delete());
    EXPECT_EQ(WinInit(), "[boot]\r\n");
    windows.failures.Fail(fake::Op::OpenFileForUpdate, platform::kErrorAccessDenied);
    EXPECT_FALSE(Delete());
}

// ---- the self-removal batch -----------------------------------------------------------

uninstall::SelfRemovalPaths PathsWithBlanks() {
    return {"C:\\Program Files\\Quillet 100%\\unInstpm64.exe", "C:\\Program Files\\Quillet 100%",
            "C:\\Users\\Ann Lee\\AppData\\Local\\Temp\\DelUnist-1092-0.bat", "C:\\Windows\\system32"};
}

TEST(SelfRemovalBatch, QuotesEveryPathPausesBetweenTriesAndGivesUp) {
    EXPECT_EQ(uninstall::SelfRemovalBatch(PathsWithBlanks()),
              "@echo off\r\n"
              "set DelUnistTries=0\r\n"
              ":Repeat\r\n"
              "del \"C:\\Program Files\\Quillet 100%%\\unInstpm64.exe\"\r\n"
              "if not exist \"C:\\Program Files\\Quillet 100%%\\unInstpm64.exe\" goto Removed\r\n"
              "set /a DelUnistTries+=1\r\n"
              "if %DelUnistTries% LSS 60 \"C:\\Windows\\system32\\ping.exe\" -n 2 127.0.0.1 >nul\r\n"
              "if %DelUnistTries% LSS 60 goto Repeat\r\n"
              ":Removed\r\n"
              "rmdir \"C:\\Program Files\\Quillet 100%%\"\r\n"
              "del \"C:\\Users\\Ann Lee\\AppData\\Local\\Temp\\DelUnist-1092-0.bat\"\r\n");
}

class SelfRemovalTest : public ::testing::Test {
protected:
    SelfRemovalTest() : context(windows.platform(), true) {
        context.ownPath = "C:\\Program Files\\Quillet\\unInstpm64.exe";
        context.installFolder = "C:\\Program Files\\Quillet\\";
        context.systemFolder = "C:\\Windows\\system32";
        windows.system.processId = 0x1092;
    }
    fake::FakeWindows windows;
    uninstall::UninstallContext context;
};

TEST_F(SelfRemovalTest, TheBatchIsANewFileOfTheTemporaryFolderStartedHiddenAtIdlePriority) {
    const std::string taken = "C:\\Users\\user\\AppData\\Local\\Temp\\DelUnist-1092-0.bat";
    windows.files.AddFile(taken, "someone else's");
    uninstall::StartSelfRemoval(context);

    const std::string batch = "C:\\Users\\user\\AppData\\Local\\Temp\\DelUnist-1092-1.bat";
    EXPECT_EQ(windows.files.Content(taken), "someone else's") << "an existing file is never reused";
    ASSERT_TRUE(windows.files.Exists(batch));
    EXPECT_NE(windows.files.Content(batch)->find("del \"" + batch + "\"\r\n"), std::string::npos);
    ASSERT_EQ(windows.processes.started.size(), 1u);
    const fake::StartedCommand& started = windows.processes.started[0];
    EXPECT_EQ(started.commandLine, "\"C:\\Windows\\system32\\cmd.exe\" /d /c \"\"" + batch + "\"\"");
    EXPECT_EQ(started.start.show, platform::WindowShow::Hide);
    EXPECT_FALSE(started.start.inheritHandles);
    EXPECT_TRUE(started.start.suspendedAtIdlePriority);
    EXPECT_EQ(started.start.currentDirectory, "C:\\Users\\user\\AppData\\Local\\Temp\\");
    EXPECT_TRUE(started.mainThreadIdle);
    EXPECT_TRUE(started.resumed);
    EXPECT_TRUE(windows.processes.ownThreadTimeCritical);
    EXPECT_TRUE(windows.processes.ownProcessHighPriority);
    EXPECT_FALSE(windows.files.Exists("C:\\DelUnist.bat"));
}

// Without a temporary folder the batch goes beside the install folder, never into it;
// without any batch nothing is started.
TEST_F(SelfRemovalTest, WithoutATemporaryFolderTheBatchLiesInTheInstallFoldersParent) {
    windows.files.AddFolder("C:\\Program Files\\Quillet");
    windows.failures.Fail(fake::Op::GetTempPath, 3);
    uninstall::StartSelfRemoval(context);
    ASSERT_EQ(windows.processes.started.size(), 1u);
    EXPECT_EQ(windows.processes.started[0].commandLine,
              "\"C:\\Windows\\system32\\cmd.exe\" /d /c \"\"C:\\Program Files\\DelUnist-1092-0.bat\"\"");

    windows.processes.started.clear();
    windows.failures.Clear();
    windows.failures.Fail(fake::Op::WriteNewFile, platform::kErrorAccessDenied);
    uninstall::StartSelfRemoval(context);
    EXPECT_TRUE(windows.processes.started.empty());
}

// The command interpreter reads a batch in the OEM code page: an "é" of the ANSI page is
// written as the OEM page's, and a path with a character the OEM page lacks ("€")
// by its short name.
TEST_F(SelfRemovalTest, TheBatchNamesItsPathsAsTheCommandInterpreterReadsThem) {
    const std::string accented = "C:\\Program Files\\Caf\xE9 \x80";
    windows.files.AddFile(accented + "\\unInstpm64.exe", "MZ");
    windows.files.shortNames["C:\\PROGRA~1\\CAF~1\\UNINST~1.EXE"] = accented + "\\unInstpm64.exe";
    windows.files.shortNames["C:\\PROGRA~1\\CAF~1"] = accented;
    windows.files.tempPath = "C:\\Users\\Ren\xE9\\Temp\\";
    windows.files.AddFolder(windows.files.tempPath);
    context.ownPath = accented + "\\unInstpm64.exe";
    context.installFolder = accented + "\\";
    uninstall::StartSelfRemoval(context);

    const std::string batch = "C:\\Users\\Ren\xE9\\Temp\\DelUnist-1092-0.bat";
    const auto text = windows.files.Content(batch);
    ASSERT_TRUE(text);
    EXPECT_NE(text->find("del \"C:\\PROGRA~1\\CAF~1\\UNINST~1.EXE\"\r\n"), std::string::npos) << *text;
    EXPECT_NE(text->find("rmdir \"C:\\PROGRA~1\\CAF~1\"\r\n"), std::string::npos) << *text;
    EXPECT_NE(text->find("del \"C:\\Users\\Ren\x82\\Temp\\DelUnist-1092-0.bat\"\r\n"), std::string::npos) << *text;
    // The command line itself is the program's own ANSI text.
    EXPECT_EQ(windows.processes.started.at(0).commandLine,
              "\"C:\\Windows\\system32\\cmd.exe\" /d /c \"\"" + batch + "\"\"");
}

}  // namespace
