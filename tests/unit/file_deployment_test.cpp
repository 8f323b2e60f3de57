#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "setup/file_deployment.h"
#include "setup/install_sequence.h"
#include "tests/unit/deployment_fixture.h"
#include "tests/unit/setup_fixture.h"

namespace {

using setup::StepResult;
using testing_support::DeploymentFixture;

class FileDeploymentTest : public DeploymentFixture {
protected:
    FileDeploymentTest() {
        for (const auto& name : testing_support::MediumProductFiles(true)) AddToMedium(name);
        context.state.readmeName = "README.TXT";
    }

    // As the sequence does: the uninstaller's path goes into the install state.
    StepResult Deploy() {
        const setup::DeployedFiles deployed = DeployProductFiles();
        context.state.uninstallerPath = deployed.uninstallerPath;
        return deployed.result;
    }

    // A row's names in this 64-bit build: the readme found is README.TXT, the converter
    // is copied from its 64-bit build.
    static std::string DestinationName(const product::ProductFile& file) {
        return *file.name != '\0' ? file.name : "README.TXT";
    }
    static std::string MediumName(const product::ProductFile& file) {
        const std::string name = DestinationName(file);
        if (name != product::kConverterName) return name;
        return product::Row(product::PlatformId::WindowsX64).converterOnMedium;
    }
};

// ---- the copy list per platform ---------------------------------------------------------

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

TEST_F(FileDeploymentTest, On64BitWindowsTheRowsOfEveryNtBuildAreCopiedFromTheMediumInTableOrder) {
    ASSERT_TRUE(Deploy().ok());
    std::vector<std::string> copies;
    for (const auto& entry : windows.journal.Entries()) {
        if (entry.rfind("CopyFile ", 0) == 0) copies.push_back(entry.substr(9));
    }
    // Without the install log's flags: the rows of every NT build, the readme found and
    // the 64-bit converter under the converter's name, then the 64-bit uninstaller.
    std::vector<std::string> expected;
    for (const product::ProductFile& file : product::kProductFiles) {
        using product::CopiedWhen;
        const bool everyNtBuild = file.when == CopiedWhen::Always || file.when == CopiedWhen::NtFamily;
        if (everyNtBuild || file.when == CopiedWhen::ReadmeFound) {
            expected.push_back(kMedium + MediumName(file) + " -> " + Destination(DestinationName(file)));
        }
    }
    expected.push_back("C:\\Medium\\unInstpm64.exe -> C:\\Program Files\\Quillet\\unInstpm64.exe");
    EXPECT_EQ(copies, expected);
    EXPECT_EQ(DeployedContent("pagemill.exe"), "pagemill64.exe");
    EXPECT_EQ(context.state.uninstallerPath, "C:\\Program Files\\Quillet\\unInstpm64.exe");
    EXPECT_TRUE(windows.processes.started.empty());  // no COM server in this build
}

// ---- conditional rows -------------------------------------------------------------------

TEST_F(FileDeploymentTest, ExtensionComponentsAreCopiedOnlyWhenWantedAndPresent) {
    const std::string absent = "QuillEncrypt.exe";  // skipped without a report
    for (const bool wanted : {false, true}) {
        context.state.extensionComponents = wanted;
        if (wanted) windows.files.Remove(kMedium + absent);
        ASSERT_TRUE(Deploy().ok());
        for (const product::ProductFile& file : product::kProductFiles) {
            if (!file.onlyWhenOnMedium) continue;
            EXPECT_EQ(Deployed(file.name), wanted && file.name != absent) << file.name;
        }
    }
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

// The rows an extension-components build copies on 64-bit Windows, in their order.
std::vector<const product::ProductFile*> CopiedRows() {
    std::vector<const product::ProductFile*> rows;
    for (const product::ProductFile& file : product::kProductFiles) {
        if (file.when != product::CopiedWhen::Never) rows.push_back(&file);
    }
    return rows;
}

class FailedCopyTest : public FileDeploymentTest, public ::testing::WithParamInterface<std::size_t> {};

TEST_P(FailedCopyTest, ARequiredRowEndsTheRunWith108AfterTheRowsBeforeItAnOptionalOneIsPassedOver) {
    context.state.extensionComponents = true;
    const auto rows = CopiedRows();
    const product::ProductFile& row = *rows[GetParam()];
    windows.failures.Fail(fake::Op::CopyFile, platform::kErrorAccessDenied, "\\Medium\\" + MediumName(row));
    const StepResult result = Deploy();
    EXPECT_FALSE(Deployed(DestinationName(row)));
    if (row.whenCopyFails == product::WhenCopyFails::PassedOver) {
        EXPECT_TRUE(result.ok());
        EXPECT_TRUE(Deployed(product::kUninstaller64));
        return;
    }
    EXPECT_EQ(result.messageId, 108u);
    EXPECT_EQ(result.error, platform::kErrorAccessDenied);
    EXPECT_FALSE(result.alreadyReported);
    const std::size_t at = GetParam();
    EXPECT_TRUE(at == 0 || Deployed(DestinationName(*rows[at - 1])));
    EXPECT_TRUE(at + 1 == rows.size() || !Deployed(DestinationName(*rows[at + 1])));
    EXPECT_TRUE(context.state.uninstallerPath.empty());
}

INSTANTIATE_TEST_SUITE_P(EachCopiedRow, FailedCopyTest, ::testing::Range(std::size_t{0}, CopiedRows().size()));

// A medium on a CD or an image: the uninstaller could not delete a read-only copy.
TEST_F(FileDeploymentTest, ReadOnlyIsClearedOnEveryCopy) {
    AddToMedium("Preferences.exe", platform::kFileAttributeReadOnly | platform::kFileAttributeArchive);
    AddToMedium("unInstpm64.exe", platform::kFileAttributeReadOnly | platform::kFileAttributeArchive);
    ASSERT_TRUE(Deploy().ok());
    EXPECT_EQ(windows.files.Attributes(Destination("Preferences.exe")), platform::kFileAttributeNormal);
    EXPECT_EQ(windows.files.Attributes(Destination("unInstpm64.exe")), platform::kFileAttributeNormal);

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
