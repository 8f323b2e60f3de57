#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "setup/file_deployment.h"
#include "setup/install_sequence.h"
#include "tests/unit/deployment_fixture.h"

namespace {

using setup::StepResult;
using testing_support::DeploymentFixture;

// Every file the copy list can name on the medium.
const std::vector<std::string> kWholeMedium = {
    "pagemill64.exe", "pagemill32.exe",   "pagemill.exe",     "QLWriter2.exe",      "QLWFtp.dll",
    "README.TXT",     "setup.inf",        "setup.ini",        "message.txt",        "NimbExt.exe",
    "iSEDQuickPDFSL.dll", "QuillEncrypt.exe", "QuillEncrypt.lan", "PDFWrite.rsp", "QLWriter1.exe",
    "Quillet.dll",    "Preferences.exe",  "Preferences.lan",  "unInstpm64.exe",     "uninstpm.exe"};

class FileDeploymentTest : public DeploymentFixture {
protected:
    FileDeploymentTest() {
        for (const auto& name : kWholeMedium) AddToMedium(name);
        context.state.readmeName = "README.TXT";
    }

    // The names in the destination folder, lower case, sorted.
    std::set<std::string> DestinationNames() const {
        std::set<std::string> names;
        const std::string prefix = std::string(kDestination) + "\\";
        for (const auto& path : windows.files.AllPaths()) {
            if (path.size() <= prefix.size() || path.compare(0, prefix.size(), prefix) != 0) continue;
            std::string name = path.substr(prefix.size());
            std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
            names.insert(name);
        }
        return names;
    }

    // As the sequence does: the uninstaller's path goes into the install state.
    StepResult Deploy() {
        const setup::DeployedFiles deployed = DeployProductFiles();
        context.state.uninstallerPath = deployed.uninstallerPath;
        return deployed.result;
    }
};

// ---- the copy list per platform ---------------------------------------------------------

TEST_F(FileDeploymentTest, On64BitWindowsTheDestinationHoldsThe64BitChoices) {
    ASSERT_TRUE(Deploy().ok());
    EXPECT_EQ(DestinationNames(),
              (std::set<std::string>{"pagemill.exe", "qlwriter2.exe", "readme.txt", "setup.inf", "setup.ini",
                                     "message.txt", "pdfwrite.rsp", "qlwriter1.exe", "quillet.dll",
                                     "preferences.exe", "preferences.lan", "uninstpm64.exe"}));
    EXPECT_EQ(DeployedContent("pagemill.exe"), "pagemill64.exe");
    EXPECT_EQ(context.state.uninstallerPath, "C:\\Program Files\\Quillet\\unInstpm64.exe");
    EXPECT_TRUE(windows.processes.started.empty());  // no COM server in this build
}

TEST_F(FileDeploymentTest, On32BitNtTheUninstallerIsThe32BitOne) {
    On32BitNt();
    ASSERT_TRUE(Deploy().ok());
    EXPECT_EQ(DeployedContent("pagemill.exe"), "pagemill32.exe");
    EXPECT_TRUE(Deployed("QLWriter2.exe"));
    EXPECT_TRUE(Deployed("uninstpm.exe"));
    EXPECT_FALSE(Deployed("unInstpm64.exe"));
    EXPECT_EQ(context.state.uninstallerPath, "C:\\Program Files\\Quillet\\uninstpm.exe");
}

TEST_F(FileDeploymentTest, OnWindows98NoQlWriter2AndTheUninstallerMayBeMissing) {
    OnWindows98();
    windows.files.Remove("C:\\Medium\\uninstpm.exe");
    ASSERT_TRUE(Deploy().ok());
    EXPECT_EQ(DeployedContent("pagemill.exe"), "pagemill.exe");
    EXPECT_FALSE(Deployed("QLWriter2.exe"));
    EXPECT_FALSE(Deployed("uninstpm.exe"));
    EXPECT_EQ(context.state.uninstallerPath, "C:\\Program Files\\Quillet\\uninstpm.exe");
}

TEST_F(FileDeploymentTest, CopiesComeFromTheMediumFolderInListOrder) {
    ASSERT_TRUE(Deploy().ok());
    std::vector<std::string> copies;
    for (const auto& entry : windows.journal.Entries()) {
        if (entry.rfind("CopyFile ", 0) == 0) copies.push_back(entry.substr(9));
    }
    const std::vector<std::string> expected = {
        "C:\\Medium\\pagemill64.exe -> C:\\Program Files\\Quillet\\pagemill.exe",
        "C:\\Medium\\QLWriter2.exe -> C:\\Program Files\\Quillet\\QLWriter2.exe",
        "C:\\Medium\\README.TXT -> C:\\Program Files\\Quillet\\README.TXT",
        "C:\\Medium\\setup.inf -> C:\\Program Files\\Quillet\\setup.inf",
        "C:\\Medium\\setup.ini -> C:\\Program Files\\Quillet\\setup.ini",
        "C:\\Medium\\message.txt -> C:\\Program Files\\Quillet\\message.txt",
        "C:\\Medium\\PDFWrite.rsp -> C:\\Program Files\\Quillet\\PDFWrite.rsp",
        "C:\\Medium\\QLWriter1.exe -> C:\\Program Files\\Quillet\\QLWriter1.exe",
        "C:\\Medium\\Quillet.dll -> C:\\Program Files\\Quillet\\Quillet.dll",
        "C:\\Medium\\Preferences.exe -> C:\\Program Files\\Quillet\\Preferences.exe",
        "C:\\Medium\\Preferences.lan -> C:\\Program Files\\Quillet\\Preferences.lan",
        "C:\\Medium\\unInstpm64.exe -> C:\\Program Files\\Quillet\\unInstpm64.exe"};
    EXPECT_EQ(copies, expected);
}

// ---- conditional rows -------------------------------------------------------------------

TEST_F(FileDeploymentTest, ExtensionComponentsAreCopiedOnlyWhenWantedAndPresent) {
    ASSERT_TRUE(Deploy().ok());
    for (const char* name : {"QLWFtp.dll", "NimbExt.exe", "iSEDQuickPDFSL.dll", "QuillEncrypt.exe",
                             "QuillEncrypt.lan"}) {
        EXPECT_FALSE(Deployed(name)) << name;
    }

    context.state.extensionComponents = true;
    windows.files.Remove("C:\\Medium\\QuillEncrypt.exe");  // absent: skipped without a report
    ASSERT_TRUE(Deploy().ok());
    for (const char* name : {"QLWFtp.dll", "NimbExt.exe", "iSEDQuickPDFSL.dll", "QuillEncrypt.lan"}) {
        EXPECT_TRUE(Deployed(name)) << name;
    }
    EXPECT_FALSE(Deployed("QuillEncrypt.exe"));
}

TEST_F(FileDeploymentTest, ComServerIsRegisteredByTheSystemsToolRightAfterItsCopy) {
    context.state.programmaticAccess = true;
    ASSERT_TRUE(Deploy().ok());
    EXPECT_FALSE(Deployed("NimbExt.exe"));  // programmatic access alone brings only the COM server
    ASSERT_EQ(windows.processes.started.size(), 1u);
    EXPECT_EQ(windows.processes.started[0].commandLine,
              "\"C:\\Windows\\system32\\regsvr32.exe\" /s \"C:\\Program Files\\Quillet\\QLWFtp.dll\"");
    EXPECT_EQ(windows.processes.started[0].start.show, platform::WindowShow::Hide);
    EXPECT_LT(windows.journal.IndexOf("CopyFile C:\\Medium\\QLWFtp.dll"),
              windows.journal.IndexOf("CreateProcess"));
    EXPECT_LT(windows.journal.IndexOf("CreateProcess"), windows.journal.IndexOf("CopyFile C:\\Medium\\README.TXT"));
    EXPECT_FALSE(windows.journal.Contains("WaitForProcess"));
}

TEST_F(FileDeploymentTest, MissingComServerSkipsTheRegistrationAndAFailedOneIsPassedOver) {
    context.state.programmaticAccess = true;
    windows.files.Remove("C:\\Medium\\QLWFtp.dll");
    ASSERT_TRUE(Deploy().ok());
    EXPECT_TRUE(windows.processes.started.empty());

    AddToMedium("QLWFtp.dll");
    windows.failures.Fail(fake::Op::CreateProcess, 2);
    EXPECT_TRUE(Deploy().ok());
}

TEST_F(FileDeploymentTest, NoReadmeNoReadmeCopy) {
    context.state.readmeName.clear();
    ASSERT_TRUE(Deploy().ok());
    EXPECT_FALSE(Deployed("README.TXT"));
}

// ---- failures -------------------------------------------------------------------------

struct RequiredRow {
    const char* mediumName;
    const char* lastCopiedBefore;  // in the destination after the failure
    const char* notCopiedAfter;    // never reached
};

class RequiredCopyTest : public FileDeploymentTest, public ::testing::WithParamInterface<RequiredRow> {};

TEST_P(RequiredCopyTest, FailedCopyEndsTheRunWith108AndKeepsWhatWasCopied) {
    context.state.extensionComponents = true;
    const RequiredRow row = GetParam();
    windows.failures.Fail(fake::Op::CopyFile, platform::kErrorAccessDenied, std::string("\\Medium\\") + row.mediumName);
    const StepResult result = Deploy();
    EXPECT_EQ(result.messageId, 108u);
    EXPECT_EQ(result.error, platform::kErrorAccessDenied);
    EXPECT_FALSE(result.alreadyReported);
    if (*row.lastCopiedBefore != '\0') {
        EXPECT_TRUE(Deployed(row.lastCopiedBefore));
    }
    EXPECT_FALSE(Deployed(row.notCopiedAfter));
    EXPECT_TRUE(context.state.uninstallerPath.empty());
}

INSTANTIATE_TEST_SUITE_P(EveryRequiredRow, RequiredCopyTest,
                         ::testing::Values(RequiredRow{"pagemill64.exe", "", "QLWriter2.exe"},
                                           RequiredRow{"QLWriter2.exe", "pagemill.exe", "QLWFtp.dll"},
                                           RequiredRow{"QLWFtp.dll", "QLWriter2.exe", "README.TXT"},
                                           RequiredRow{"README.TXT", "QLWFtp.dll", "setup.inf"},
                                           RequiredRow{"setup.inf", "README.TXT", "setup.ini"},
                                           RequiredRow{"NimbExt.exe", "message.txt", "iSEDQuickPDFSL.dll"},
                                           RequiredRow{"iSEDQuickPDFSL.dll", "NimbExt.exe", "QuillEncrypt.exe"},
                                           RequiredRow{"QuillEncrypt.exe", "iSEDQuickPDFSL.dll", "PDFWrite.rsp"},
                                           RequiredRow{"PDFWrite.rsp", "QuillEncrypt.lan", "QLWriter1.exe"}));

TEST_F(FileDeploymentTest, MissingResponseFileEndsWith108AfterTheRowsBeforeIt) {
    windows.files.Remove("C:\\Medium\\PDFWrite.rsp");
    const StepResult result = Deploy();
    EXPECT_EQ(result.messageId, 108u);
    EXPECT_EQ(result.error, platform::kErrorFileNotFound);
    EXPECT_TRUE(Deployed("message.txt"));
    EXPECT_FALSE(Deployed("QLWriter1.exe"));
}

TEST_F(FileDeploymentTest, OptionalRowsArePassedOver) {
    context.state.extensionComponents = true;
    for (const char* name : {"setup.ini", "message.txt", "QuillEncrypt.lan", "QLWriter1.exe", "Quillet.dll",
                             "Preferences.exe", "Preferences.lan"}) {
        windows.failures.Fail(fake::Op::CopyFile, platform::kErrorAccessDenied, std::string("\\Medium\\") + name);
    }
    ASSERT_TRUE(Deploy().ok());
    EXPECT_FALSE(Deployed("Preferences.exe"));
    EXPECT_TRUE(Deployed("unInstpm64.exe"));
}

TEST_F(FileDeploymentTest, ReadOnlyIsClearedOnEveryCopyButThe64BitUninstaller) {
    AddToMedium("Preferences.exe", platform::kFileAttributeReadOnly | platform::kFileAttributeArchive);
    AddToMedium("unInstpm64.exe", platform::kFileAttributeReadOnly | platform::kFileAttributeArchive);
    ASSERT_TRUE(Deploy().ok());
    EXPECT_EQ(windows.files.Attributes(Destination("Preferences.exe")), platform::kFileAttributeNormal);
    EXPECT_EQ(windows.files.Attributes(Destination("unInstpm64.exe")),
              platform::kFileAttributeReadOnly | platform::kFileAttributeArchive);
    EXPECT_FALSE(windows.journal.Contains("SetFileAttributes C:\\Program Files\\Quillet\\unInstpm64.exe"));

    On32BitNt();
    AddToMedium("uninstpm.exe", platform::kFileAttributeReadOnly);
    ASSERT_TRUE(Deploy().ok());
    EXPECT_EQ(windows.files.Attributes(Destination("uninstpm.exe")), platform::kFileAttributeNormal);
}

TEST_F(FileDeploymentTest, HiddenCopyLeftByAnEarlierRunIsNotOverwritten) {
    // Only the read-only bit is cleared after a copy; Windows refuses to overwrite a hidden
    // file, so a required row then ends the run and an optional one is passed over.
    windows.files.AddFile(Destination("Quillet.dll"), "old", platform::kFileAttributeHidden);
    ASSERT_TRUE(Deploy().ok());
    EXPECT_EQ(DeployedContent("Quillet.dll"), "old");

    windows.files.AddFile(Destination("setup.inf"), "old", platform::kFileAttributeHidden);
    const StepResult result = Deploy();
    EXPECT_EQ(result.messageId, 108u);
    EXPECT_EQ(result.error, platform::kErrorAccessDenied);
}

TEST_F(FileDeploymentTest, Failed64BitUninstallerIsLoggedWhenSilent) {
    windows.failures.Fail(fake::Op::CopyFile, platform::kErrorAccessDenied, "unInstpm64.exe");
    context.feedback.PointErrorLogAt(context.state.destinationFolder);
    const StepResult result = Deploy();
    EXPECT_EQ(result.messageId, 109u);
    EXPECT_TRUE(result.alreadyReported);
    EXPECT_EQ(windows.files.Content(Destination("Error.log")), "Install Pagemill failed. (Err-109)\r\n");
    EXPECT_TRUE(windows.ui.shown.empty());
    EXPECT_EQ(context.state.uninstallerPath, Destination("unInstpm64.exe"));
}

TEST_F(FileDeploymentTest, Failed64BitUninstallerIsShownAfterTheProgressCloses) {
    context.state.silent = false;
    context.feedback.ShowProgress(dialogs.OpenProgress("Setup is preparing..."));
    context.feedback.PointErrorLogAt(context.state.destinationFolder);
    windows.failures.Fail(fake::Op::CopyFile, platform::kErrorAccessDenied, "unInstpm64.exe");
    EXPECT_EQ(Deploy().messageId, 109u);
    ASSERT_EQ(windows.ui.shown.size(), 1u);
    EXPECT_TRUE(windows.ui.shown[0].applicationBox);
    EXPECT_EQ(windows.ui.shown[0].text, "Install Pagemill failed. (Err-109)");
    EXPECT_LT(windows.journal.IndexOf("CloseProgress"), windows.journal.IndexOf("ApplicationMessageBox"));
    EXPECT_FALSE(windows.files.Exists(Destination("Error.log")));
}

TEST_F(FileDeploymentTest, Failed32BitUninstallerEndsWith110OnNtOnly) {
    On32BitNt();
    windows.failures.Fail(fake::Op::CopyFile, platform::kErrorAccessDenied, "uninstpm.exe");
    const StepResult nt = Deploy();
    EXPECT_EQ(nt.messageId, 110u);
    EXPECT_EQ(nt.error, platform::kErrorAccessDenied);

    OnWindows98();
    EXPECT_TRUE(Deploy().ok());
}

// ---- the destination folder ---------------------------------------------------------------

class DestinationFolderTest : public DeploymentFixture {
protected:
    StepResult CreateAt(const std::string& folder) {
        context.state.destinationFolder = folder;
        return CreateDestinationFolder();
    }
};

TEST_F(DestinationFolderTest, UpToThreeMissingLevelsAreCreated) {
    EXPECT_TRUE(CreateAt("C:\\Program Files\\Quillet").ok());  // exists already
    EXPECT_FALSE(windows.journal.Contains("CreateDirectory"));

    ASSERT_TRUE(CreateAt("C:\\Program Files\\Brindle\\Quillet Writer").ok());
    EXPECT_TRUE(windows.files.IsFolder("C:\\Program Files\\Brindle\\Quillet Writer"));

    ASSERT_TRUE(CreateAt("C:\\Program Files\\A\\B\\C").ok());
    EXPECT_TRUE(windows.files.IsFolder("C:\\Program Files\\A\\B\\C"));
}

TEST_F(DestinationFolderTest, FourMissingLevelsFailWith404) {
    const StepResult result = CreateAt("C:\\Program Files\\A\\B\\C\\D");
    EXPECT_EQ(result.messageId, 404u);
    EXPECT_EQ(result.error, platform::kErrorPathNotFound);
    EXPECT_FALSE(windows.files.Exists("C:\\Program Files\\A"));
}

TEST_F(DestinationFolderTest, AFolderOnADriveThatIsNotThereFailsWith403) {
    // Q: does not exist: neither the folder nor the drive can be made, and the drive has
    // no parent to try.
    windows.failures.Fail(fake::Op::SearchPath, platform::kErrorPathNotFound, "Q:");
    windows.failures.Fail(fake::Op::CreateDirectory, platform::kErrorPathNotFound, "Q:");
    const StepResult result = CreateAt("Q:\\Quillet");
    EXPECT_EQ(result.messageId, 403u);
    EXPECT_EQ(result.error, platform::kErrorPathNotFound);
}

TEST_F(DestinationFolderTest, RefusedFolderRightBelowADriveFailsWith404) {
    // The drive is the existing parent: nothing more to make, so 404 rather than 403.
    windows.failures.Fail(fake::Op::CreateDirectory, platform::kErrorAccessDenied, "D:\\Quillet");
    const StepResult result = CreateAt("D:\\Quillet");
    EXPECT_EQ(result.messageId, 404u);
    EXPECT_EQ(result.error, platform::kErrorAccessDenied);
    const auto& calls = windows.journal.Entries();
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "CreateDirectory D:"), 0);
}

TEST_F(DestinationFolderTest, AnExistingFileInTheWayFailsWith404) {
    windows.files.AddFile("C:\\Program Files\\Taken", "a file");
    EXPECT_EQ(CreateAt("C:\\Program Files\\Taken").messageId, 404u);
}

TEST_F(DestinationFolderTest, TooLongForTheCopyPathsIsRefusedWith404BeforeAnythingIsMade) {
    const std::string base = "C:\\Program Files\\";
    const std::string fits = base + std::string(setup::kLongestDestinationFolder - base.size(), 'q');
    EXPECT_TRUE(CreateAt(fits).ok());
    // The longest copy path then just fits its 256-character field.
    EXPECT_EQ((fits + "\\iSEDQuickPDFSL.dll").size(), 255u);

    windows.journal.Clear();
    const StepResult result = CreateAt(fits + "r");
    EXPECT_EQ(result.messageId, 404u);
    EXPECT_EQ(result.error, platform::kErrorFilenameExceedsRange);
    EXPECT_FALSE(windows.journal.Contains("CreateDirectory"));
}

// ---- flat folder copy ------------------------------------------------------------------

class FolderCopyTest : public DeploymentFixture {};

TEST_F(FolderCopyTest, PlainFilesAreCopiedSubfoldersSkipped) {
    windows.files.AddFile("C:\\Medium\\GNUGS\\gsdll32.dll", "dll", platform::kFileAttributeReadOnly);
    windows.files.AddFile("C:\\Medium\\GNUGS\\gs.exe", "exe");
    windows.files.AddFile("C:\\Medium\\GNUGS\\fonts\\font.pfb", "font");
    EXPECT_TRUE(CopyFolderFiles("GNUGS"));
    EXPECT_EQ(windows.files.Content(Destination("GNUGS\\gsdll32.dll")), "dll");
    EXPECT_EQ(windows.files.Attributes(Destination("GNUGS\\gsdll32.dll")), platform::kFileAttributeNormal);
    EXPECT_TRUE(Deployed("GNUGS\\gs.exe"));
    EXPECT_FALSE(windows.files.Exists(Destination("GNUGS\\fonts")));
    EXPECT_TRUE(windows.journal.Contains("FindFirstFile C:\\Medium\\GNUGS\\*.*"));
    EXPECT_EQ(windows.files.openSearches, 0);
}

TEST_F(FolderCopyTest, AFailedFileDoesNotStopTheOthers) {
    windows.files.AddFile("C:\\Medium\\GNUGS\\a.dll", "a");
    windows.files.AddFile("C:\\Medium\\GNUGS\\b.dll", "b");
    windows.failures.Fail(fake::Op::CopyFile, platform::kErrorAccessDenied, "a.dll");
    EXPECT_FALSE(CopyFolderFiles("GNUGS"));
    EXPECT_TRUE(Deployed("GNUGS\\b.dll"));
}

TEST_F(FolderCopyTest, AnEmptyFolderStillListsItsDotEntriesAndCountsAsCopied) {
    windows.files.AddFolder("C:\\Medium\\GNUGS");
    EXPECT_TRUE(CopyFolderFiles("GNUGS"));
    EXPECT_TRUE(windows.files.IsFolder(Destination("GNUGS")));
    EXPECT_FALSE(windows.journal.Contains("CopyFile"));
}

TEST_F(FolderCopyTest, NothingToListOrNoTargetGivesFalse) {
    EXPECT_FALSE(CopyFolderFiles("GNUGS"));
    EXPECT_FALSE(windows.files.Exists(Destination("GNUGS")));  // not made for nothing

    windows.files.AddFile("C:\\Medium\\GNUGS\\a.dll", "a");
    windows.failures.Fail(fake::Op::CreateDirectory, platform::kErrorAccessDenied, "GNUGS");
    EXPECT_FALSE(CopyFolderFiles("GNUGS"));
    EXPECT_FALSE(windows.journal.Contains("CopyFile"));
    EXPECT_EQ(windows.files.openSearches, 0);  // the search was ended
}

}  // namespace
