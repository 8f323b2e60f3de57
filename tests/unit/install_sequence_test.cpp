#include <gtest/gtest.h>

#include "setup/exit_codes.h"
#include "tests/shared/private_profile_cases.h"
#include "tests/unit/setup_fixture.h"
#include "tests/unit/text_value_check.h"

namespace {

using platform::RegistryRoot;
using platform::RegistryView;
using platform::TextCount;
using testing_support::IsTextValue;
using testing_support::SampleInstallLog;
using testing_support::SetupFixture;

constexpr const char* kProductKey = "SOFTWARE\\NIMBRAX Writer";
constexpr const char* kUninstallEntry = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quillet Writer";

class InstallSequenceTest : public SetupFixture {
protected:
    InstallSequenceTest() { WriteInstallLog(SampleInstallLog()); }

    int Position(const std::string& prefix) const { return windows.journal.IndexOf(prefix); }
};

// ---- a complete run ------------------------------------------------------------------

TEST_F(InstallSequenceTest, SilentRunCompletesWithoutAnyWindow) {
    EXPECT_EQ(Run({"/s"}), setup::kExitInstalled);
    EXPECT_TRUE(windows.ui.shown.empty());
    EXPECT_FALSE(windows.journal.Contains("OpenProgress"));
    EXPECT_FALSE(windows.journal.Contains("LicenceDialog"));
    EXPECT_FALSE(windows.journal.Contains("DestinationDialog"));
    EXPECT_TRUE(windows.shell.openedDocuments.empty());
}

TEST_F(InstallSequenceTest, StepsRunInTheirFixedOrder) {
    windows.files.AddFile("C:\\Medium\\LICENSE.TXT", "terms");
    ASSERT_EQ(Run({}), setup::kExitInstalled);
    const std::vector<std::string> order = {
        "ReadWholeFile C:\\Medium\\Setup.inf",
        "GetFileAttributes C:\\Medium\\LICENSE.TXT",
        "GetVersionEx",
        "OpenKey " + std::string(kUninstallEntry),
        "EnumMonitors",
        "MessageBox Welcome",
        "LicenceDialog",
        "DestinationDialog",
        "CreateKey SOFTWARE\\NIMBRAX Writer",
        "OpenProgress Setup is preparing...",
        "GetSystemDirectory",
        "StepIt",
        "DeleteValue SOFTWARE\\NIMBRAX Writer\\Port Name",
        "CloseProgress",
        "MessageBox Setup has finished installing Quillet Writer"};
    int previous = -1;
    for (const auto& entry : order) {
        const int position = Position(entry);
        EXPECT_GT(position, previous) << entry;
        previous = position;
    }
}

TEST_F(InstallSequenceTest, InteractiveRunStepsTheProgressNineTimesAndOpensTheReadme) {
    windows.files.AddFile("C:\\Medium\\README.HTM", "<p>");
    windows.files.AddFile("C:\\Medium\\README.PDF", "%PDF");
    ASSERT_EQ(Run({}), 0);
    EXPECT_EQ(dialogs.progressSteps, 9);
    EXPECT_EQ(dialogs.progressCloses, 1);
    EXPECT_EQ(State().readmeName, "README.HTM");
    ASSERT_EQ(windows.shell.openedDocuments.size(), 1u);
    EXPECT_EQ(windows.shell.openedDocuments[0], "C:\\Program Files\\Quillet\\README.HTM");
    // The welcome question and the final message, whose texts and captions the outcome
    // table (install_outcomes_test.cpp) checks.
    ASSERT_EQ(windows.ui.shown.size(), 2u);
    EXPECT_EQ(windows.ui.shown[0].buttons, platform::MessageBoxButtons::YesNo);
    EXPECT_EQ(windows.ui.shown[1].text.rfind("Setup has finished installing", 0), 0u);
}

TEST_F(InstallSequenceTest, RunWithoutAProgressWindowGoesOn) {
    dialogs.progressCanBeCreated = false;
    EXPECT_EQ(Run({}), 0);
    EXPECT_EQ(dialogs.progressSteps, 0);
}

// ---- the product key -----------------------------------------------------------------

TEST_F(InstallSequenceTest, ProductKeyStaysWithoutItsTransientValues) {
    WriteSettings("[Parameters]\nCommand=run.exe\nArguments=-x\n");
    ASSERT_EQ(Run({"/s"}), 0);
    EXPECT_TRUE(ProductKeyExists());
    EXPECT_TRUE(windows.registry.ValueNames(RegistryRoot::LocalMachine, kProductKey, RegistryView::Force64).empty());
    for (const char* name : {"Port Name", "Printer Name", "Destination Folder", "Programmatic Access", "Command",
                             "Arguments"}) {
        EXPECT_TRUE(windows.journal.Contains(std::string("DeleteValue ") + kProductKey + "\\" + name)) << name;
    }
}

TEST_F(InstallSequenceTest, TransientTextsAreCountedWithoutTheirNul) {
    WriteSettings("[Parameters]\nCommand=run.exe\n");
    windows.failures.Fail(fake::Op::OpenKey, 5, kProductKey);  // step 28 cannot open the key: values stay
    ASSERT_EQ(Run({"/s", "-dC:\\Dest"}), 0);
    const auto value = [&](const char* name) {
        return windows.registry.Value(RegistryRoot::LocalMachine, kProductKey, name, RegistryView::Force64);
    };
    EXPECT_TRUE(IsTextValue(value("Port Name"), "QLW1:", TextCount::WithoutNul));
    EXPECT_TRUE(IsTextValue(value("Printer Name"), "Quillet Writer", TextCount::WithoutNul));
    EXPECT_TRUE(IsTextValue(value("Destination Folder"), "C:\\Dest", TextCount::WithoutNul));
    EXPECT_TRUE(IsTextValue(value("Command"), "run.exe", TextCount::WithoutNul));
    ASSERT_TRUE(value("Programmatic Access"));
    EXPECT_EQ(value("Programmatic Access")->type, platform::kRegDword);
    EXPECT_EQ(value("Programmatic Access")->data, platform::DwordBytes(0));
    EXPECT_FALSE(value("Arguments"));  // empty setting: not written
}

TEST_F(InstallSequenceTest, ThirtyTwoBitWindowsUsesTheNativeView) {
    windows.system.isWow64 = false;
    ASSERT_EQ(Run({"/s"}), 0);
    EXPECT_TRUE(windows.registry.KeyExists(RegistryRoot::LocalMachine, kProductKey, RegistryView::Native));
}

// ---- refusals ------------------------------------------------------------------------

// A refusal ends the run on the spot: the question refused is the last thing the machine
// sees, so nothing is written, copied or opened.
TEST_F(InstallSequenceTest, DecliningAnyQuestionEndsWith1602AndChangesNothing) {
    const auto refusedLast = [this](const std::string& question) {
        const auto& entries = windows.journal.Entries();
        return !entries.empty() && entries.back().rfind(question, 0) == 0;
    };
    // Any answer to the welcome question but Yes ends the run.
    for (const auto answer : {platform::MessageBoxAnswer::No, platform::MessageBoxAnswer::Cancel,
                              platform::MessageBoxAnswer::Ok}) {
        windows.ui.answers.push_back(answer);
        windows.journal.Clear();
        EXPECT_EQ(Run({}), setup::kExitUserCancelled);
        EXPECT_TRUE(refusedLast("MessageBox Welcome"));
        EXPECT_FALSE(ProductKeyExists());
    }

    windows.files.AddFile("C:\\Medium\\LICENSE.TXT", "terms");
    dialogs.acceptLicence = false;
    windows.journal.Clear();
    EXPECT_EQ(Run({}), setup::kExitUserCancelled);
    EXPECT_TRUE(refusedLast("LicenceDialog"));
    EXPECT_FALSE(ProductKeyExists());

    dialogs.acceptLicence = true;
    dialogs.destinationAnswer = std::optional<std::string>();
    windows.journal.Clear();
    EXPECT_EQ(Run({}), setup::kExitUserCancelled);
    EXPECT_TRUE(refusedLast("DestinationDialog C:\\Program Files\\Quillet"));
    EXPECT_FALSE(ProductKeyExists());
    EXPECT_FALSE(windows.journal.Contains("OpenProgress"));
}

TEST_F(InstallSequenceTest, LicenceDialogOnlyWithALicenceFile) {
    ASSERT_EQ(Run({}), 0);
    EXPECT_FALSE(windows.journal.Contains("LicenceDialog"));

    windows.files.AddFile("C:\\Medium\\LICENSE.TXT", "terms");
    ASSERT_EQ(RunAgain({}), 0);
    EXPECT_EQ(dialogs.licencePath, "C:\\Medium\\LICENSE.TXT");
    EXPECT_EQ(dialogs.licencePrompt,
              "Do you accept all the terms of the preceding License Agreement? If you choose No, Setup will close. "
              "To install Quillet Writer, you must accept this agreement.");
}

TEST_F(InstallSequenceTest, TheReadmeOpensOnlyInteractivelyAndOnlyWhenTheMediumHasOne) {
    ASSERT_EQ(Run({}), 0);
    EXPECT_TRUE(windows.shell.openedDocuments.empty()) << "no readme on the medium";

    windows.files.AddFile("C:\\Medium\\README.DOC", "doc");
    ASSERT_EQ(RunAgain({"/s"}), 0);
    EXPECT_EQ(State().readmeName, "README.DOC");
    EXPECT_TRUE(windows.shell.openedDocuments.empty()) << "silent";

    ASSERT_EQ(RunAgain({}), 0);
    EXPECT_EQ(windows.shell.openedDocuments, std::vector<std::string>{"C:\\Program Files\\Quillet\\README.DOC"});
}

TEST_F(InstallSequenceTest, FailingOptionalStepsDoNotEndTheRun) {
    windows.failures.Fail(fake::Op::SetForegroundLockTimeout, 5);
    windows.failures.Fail(fake::Op::OpenDocument, 2);
    windows.failures.Fail(fake::Op::GetSpecialFolderPath, 2);
    windows.files.AddFile("C:\\Medium\\README.TXT", "read me");
    windows.system.version = {5, 1};
    EXPECT_EQ(Run({}), 0);
    EXPECT_EQ(dialogs.proposedDestination, "C:\\Program Files\\Quillet");
}

// ---- destination -----------------------------------------------------------------------

TEST_F(InstallSequenceTest, DestinationFromTheShellsProgramFilesFolder) {
    windows.shell.specialFolders[platform::SpecialFolder::ProgramFiles] = "D:\\Apps\\";
    ASSERT_EQ(Run({}), 0);
    EXPECT_EQ(dialogs.proposedDestination, "D:\\Apps\\Quillet");
}

TEST_F(InstallSequenceTest, DestinationOnWindows98ComesFromTheRegistry) {
    windows.system.version = {4, 10};
    windows.registry.AddStringValue(RegistryRoot::LocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion",
                                    "ProgramFilesDir", "E:\\Programme", RegistryView::Native);
    ASSERT_EQ(Run({"/s"}), 0);
    EXPECT_EQ(State().destinationFolder, "E:\\Programme\\Quillet");

    windows.failures.Fail(fake::Op::QueryValue, 2);
    ASSERT_EQ(RunAgain({"/s"}), 0);
    EXPECT_EQ(State().destinationFolder, "C:\\Program Files\\Quillet");
}

TEST_F(InstallSequenceTest, ExactlyOneTypedTrailingBackslashIsRemoved) {
    dialogs.destinationAnswer = std::optional<std::string>("C:\\Program Files\\Quillet\\");
    ASSERT_EQ(Run({}), 0);
    EXPECT_EQ(State().destinationFolder, "C:\\Program Files\\Quillet");

    dialogs.destinationAnswer = std::optional<std::string>("C:\\Program Files\\Quillet\\\\");
    ASSERT_EQ(RunAgain({}), 0);
    EXPECT_EQ(State().destinationFolder, "C:\\Program Files\\Quillet\\");
}

TEST_F(InstallSequenceTest, TheEditionKeyIsMadeBeforeTheDestinationDialog) {
    WriteSettings("[Preferences]\nQuillet_Pro=1\n");
    ASSERT_EQ(Run({}), 0);
    const int editionKey = Position("CreateKey SOFTWARE\\Brindle Software Inc\\Quillet Writer");
    ASSERT_GE(editionKey, 0);
    EXPECT_LT(editionKey, Position("DestinationDialog"));
}

TEST_F(InstallSequenceTest, SettingsDestinationReplacesTheDefaultButNotTheCommandLine) {
    WriteSettings("[Parameters]\nDestinationFolder=F:\\Tools\\PDF\\\n");
    ASSERT_EQ(Run({"/s"}), 0);
    EXPECT_EQ(State().destinationFolder, "F:\\Tools\\PDF");

    ASSERT_EQ(RunAgain({"/s", "-dG:\\Given"}), 0);
    EXPECT_EQ(State().destinationFolder, "G:\\Given");
    EXPECT_FALSE(windows.journal.Contains("DestinationDialog"));
}

// The dialog proposes the settings' folder as it is written; only the answer loses its
// trailing backslash.
TEST_F(InstallSequenceTest, TheDialogProposesTheSettingsDestinationInPlaceOfTheDefault) {
    ASSERT_EQ(Run({}), 0);
    EXPECT_EQ(dialogs.proposedDestination, "C:\\Program Files\\Quillet");

    WriteSettings("[Parameters]\nDestinationFolder=F:\\Tools\\PDF\\\n");
    ASSERT_EQ(RunAgain({}), 0);
    EXPECT_EQ(dialogs.proposedDestination, "F:\\Tools\\PDF\\");
    EXPECT_EQ(State().destinationFolder, "F:\\Tools\\PDF");
}

// A medium prepared with a quoted folder, as a path with blanks is often written, and
// in a UTF-16 file as some editors save it: the folder itself is created, filled and
// recorded, never a name with quotes in it.
TEST_F(InstallSequenceTest, QuotedSettingsDestinationInstallsIntoTheUnquotedFolder) {
    const std::string settings = "[Parameters]\r\nDestinationFolder=\"C:\\Quoted Dir\"\r\n";
    for (const std::string& file : {settings, profile_cases::Utf16(settings, true)}) {
        WriteSettings(file);
        ASSERT_EQ(context ? RunAgain({"/s"}) : Run({"/s"}), setup::kExitInstalled);
        EXPECT_EQ(State().destinationFolder, "C:\\Quoted Dir");
        EXPECT_TRUE(windows.files.IsFolder("C:\\Quoted Dir"));
        EXPECT_TRUE(windows.files.Exists("C:\\Quoted Dir\\setup.inf"));
        const auto recorded = windows.registry.Value(RegistryRoot::LocalMachine, std::string(kProductKey) + "\\QLW1:",
                                                     "Destination Folder", RegistryView::Force64);
        ASSERT_TRUE(recorded);
        EXPECT_STREQ(std::string(recorded->data.begin(), recorded->data.end()).c_str(), "C:\\Quoted Dir");
    }
    for (const std::string& path : windows.files.AllPaths()) EXPECT_EQ(path.find('"'), std::string::npos) << path;
}

TEST_F(InstallSequenceTest, CommandLineDestinationSkipsTheDialog) {
    ASSERT_EQ(Run({"-dC:\\Chosen"}), 0);
    EXPECT_FALSE(windows.journal.Contains("DestinationDialog"));
    EXPECT_EQ(State().destinationFolder, "C:\\Chosen");
}

// ---- settings and switches -------------------------------------------------------------

TEST_F(InstallSequenceTest, AutoPaperSizeFollowsTheUsersLocale) {
    WriteSettings("[Installation]\nAutoPaperSize= 1\n");
    windows.system.lcid = 0x407;
    ASSERT_EQ(Run({"/s"}), 0);
    EXPECT_EQ(State().paperSizeName, "A4");

    auto log = SampleInstallLog();
    log.PaperSizeName = "A0";
    WriteInstallLog(log);
    windows.system.lcid = 0x1009;
    ASSERT_EQ(RunAgain({"/s"}), 0);
    EXPECT_EQ(State().paperSizeName, "Letter");

    WriteSettings("[Installation]\nAutoPaperSize=no\n");
    ASSERT_EQ(RunAgain({"/s"}), 0);
    EXPECT_EQ(State().paperSizeName, "A0");
}

TEST_F(InstallSequenceTest, ShortcutsOffByCommandLineOrInstallLog) {
    ASSERT_EQ(Run({"/s", "/c"}), 0);
    EXPECT_FALSE(State().createShortcuts);

    auto log = SampleInstallLog();
    log.CreateShortcuts = 0;
    WriteInstallLog(log);
    ASSERT_EQ(RunAgain({"/s"}), 0);
    EXPECT_FALSE(State().createShortcuts);
}

TEST_F(InstallSequenceTest, ForegroundTimeoutOnlyOnWindows2000ToServer2003) {
    windows.system.version = {5, 2};
    ASSERT_EQ(Run({"/s"}), 0);
    EXPECT_EQ(windows.system.foregroundLockTimeout, std::optional<std::uint32_t>(0));

    windows.system.foregroundLockTimeout.reset();
    windows.system.version = {6, 1};
    ASSERT_EQ(RunAgain({"/s"}), 0);
    EXPECT_FALSE(windows.system.foregroundLockTimeout.has_value());
}

}  // namespace
