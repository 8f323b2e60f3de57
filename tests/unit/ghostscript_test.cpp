#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "setup/spooler/ghostscript.h"
#include "tests/unit/deployment_fixture.h"

namespace {

using platform::RegistryRoot;
using platform::RegistryView;
using testing_support::DeploymentFixture;

constexpr const char* kGpl = "SOFTWARE\\GPL Ghostscript";
constexpr const char* kAfpl = "SOFTWARE\\AFPL Ghostscript";
constexpr const char* kGnu = "SOFTWARE\\GNU Ghostscript";

class GhostscriptTest : public DeploymentFixture {
protected:
    // A registered version in the 32-bit view, with or without its console program.
    void RegisterVersion(const std::string& root, const std::string& version, const std::string& folder,
                         bool withConsoleProgram) {
        windows.registry.AddStringValue(RegistryRoot::LocalMachine, root + "\\" + version, "GS_DLL",
                                        folder + "\\gsdll32.dll", RegistryView::Force32);
        windows.files.AddFile(folder + "\\gsdll32.dll", "dll");
        if (withConsoleProgram) windows.files.AddFile(folder + "\\gswin32c.exe", "exe");
    }
    void MediumGhostscript(std::size_t dllSize) {
        windows.files.AddFile("C:\\Medium\\GNUGS\\GSDLL32.DLL", std::vector<std::uint8_t>(dllSize, 0x4D));
        windows.files.AddFile("C:\\Medium\\GNUGS\\gsdll32.lib", "lib");
    }
    void Settings(const std::string& text) {
        windows.files.AddFile("C:\\Medium\\Setup.Ini", text);
        context.settings.Bind(windows.files, "C:\\Medium\\Setup.Ini");
    }
    // As the sequence does: whether Ghostscript was deployed goes into the install state.
    setup::StepResult Prepare() {
        const setup::PreparedGhostscript prepared =
            setup::PrepareGhostscript(windows.registry, windows.files, windows.processes, context.state, context.settings,
                                      setup::GhostscriptView(false), context.leadBytes);
        context.state.ghostscriptDeployed = prepared.deployed;
        return prepared.result;
    }
    bool Found(bool programIs64Bit = false) {
        return setup::FindInstalledGhostscript(windows.registry, windows.files, setup::GhostscriptView(programIs64Bit),
                                               context.leadBytes);
    }
};

// ---- the registered installation ----------------------------------------------------------

TEST_F(GhostscriptTest, RootsAreSearchedInOrderUntilTheFirstMatch) {
    RegisterVersion(kAfpl, "8.54", "C:\\gs\\gs8.54\\bin", true);
    RegisterVersion(kGnu, "7.06", "C:\\gs\\gs7.06\\bin", true);
    EXPECT_TRUE(Found());
    const int gpl = windows.journal.IndexOf(std::string("OpenKey ") + kGpl);
    const int afpl = windows.journal.IndexOf(std::string("OpenKey ") + kAfpl);
    EXPECT_GE(gpl, 0);
    EXPECT_LT(gpl, afpl);
    EXPECT_FALSE(windows.journal.Contains(std::string("OpenKey ") + kGnu));
}

TEST_F(GhostscriptTest, VersionWithoutConsoleProgramDoesNotCountTheNextOneDoes) {
    RegisterVersion(kGpl, "8.15", "C:\\gs\\gs8.15\\bin", false);
    EXPECT_FALSE(Found());
    RegisterVersion(kGpl, "9.05", "C:\\gs\\gs9.05\\bin", true);
    EXPECT_TRUE(Found());
    EXPECT_TRUE(windows.journal.Contains("GetFileAttributes C:\\gs\\gs8.15\\bin\\gswin32c.exe"));
}

TEST_F(GhostscriptTest, OnlyThe32BitViewIsSearched) {
    windows.registry.AddStringValue(RegistryRoot::LocalMachine, std::string(kGpl) + "\\9.05", "GS_DLL",
                                    "C:\\gs\\bin\\gsdll64.dll", RegistryView::Force64);
    windows.files.AddFile("C:\\gs\\bin\\gswin32c.exe", "exe");
    EXPECT_FALSE(Found());

    RegisterVersion(kGpl, "9.05", "C:\\gs\\bin", true);
    EXPECT_TRUE(Found());
    windows.registry.nativeViewIs32Bit = false;  // a 64-bit program sees the 64-bit view by default
    EXPECT_TRUE(Found(true));
}

TEST_F(GhostscriptTest, UnreadableVersionsAreSkipped) {
    RegisterVersion(kGpl, "8.00", "C:\\gs\\gs8.00\\bin", true);
    RegisterVersion(kGpl, "9.05", "C:\\gs\\gs9.05\\bin", true);
    windows.failures.Fail(fake::Op::QueryValue, platform::kErrorMoreData, "8.00");
    windows.failures.Fail(fake::Op::OpenKey, platform::kErrorAccessDenied, "9.05");
    EXPECT_FALSE(Found());
    windows.failures.Clear();
    windows.failures.Fail(fake::Op::EnumKey, 1010);
    EXPECT_FALSE(Found());
}

TEST_F(GhostscriptTest, DllPathIsReadUpTo261BytesWithItsNul) {
    // 260 characters and the NUL fit; one character more and the version is passed over.
    const std::string folder = "C:\\" + std::string(260 - 3 - 1 - 11, 'g');
    ASSERT_EQ((folder + "\\gsdll32.dll").size(), 260u);
    RegisterVersion(kGpl, "9.05", folder, true);
    EXPECT_TRUE(Found());

    const std::string longer = folder + "h";
    windows.registry.AddStringValue(RegistryRoot::LocalMachine, std::string(kGpl) + "\\9.05", "GS_DLL",
                                    longer + "\\gsdll32.dll", RegistryView::Force32);
    windows.files.AddFile(longer + "\\gswin32c.exe", "exe");
    EXPECT_FALSE(Found());
}

TEST_F(GhostscriptTest, DllPathWithoutAFolderLooksInTheCurrentFolder) {
    windows.registry.AddStringValue(RegistryRoot::LocalMachine, std::string(kGnu) + "\\7.06", "GS_DLL",
                                    "gsdll32.dll", RegistryView::Force32);
    EXPECT_FALSE(Found());
    EXPECT_TRUE(windows.journal.Contains("GetFileAttributes gswin32c.exe"));
    windows.files.AddFile("C:\\gswin32c.exe", "exe");  // the current folder of the fake
    EXPECT_TRUE(Found());
}

TEST_F(GhostscriptTest, ARegisteredGhostscriptNeedsNothingDeployed) {
    RegisterVersion(kAfpl, "8.54", "C:\\gs\\bin", true);
    MediumGhostscript(setup::kGhostscriptDllSize);
    AddToMedium("converter.exe");
    ASSERT_TRUE(Prepare().ok());
    EXPECT_FALSE(context.state.ghostscriptDeployed);
    EXPECT_TRUE(windows.processes.started.empty());
    EXPECT_FALSE(windows.files.Exists(Destination("GNUGS")));
}

// ---- converter and medium copy -------------------------------------------------------------

TEST_F(GhostscriptTest, ConverterIsStartedHiddenAndTheFolderIsNotCopied) {
    MediumGhostscript(setup::kGhostscriptDllSize);
    AddToMedium("converter.exe");
    ASSERT_TRUE(Prepare().ok());
    ASSERT_EQ(windows.processes.started.size(), 1u);
    EXPECT_EQ(windows.processes.started[0].commandLine, "\"C:\\Medium\\converter.exe\" /auto");
    EXPECT_EQ(windows.processes.started[0].start.show, platform::WindowShow::Hide);
    EXPECT_FALSE(windows.journal.Contains("WaitForProcess"));
    EXPECT_TRUE(context.state.ghostscriptDeployed);
    EXPECT_FALSE(windows.files.Exists(Destination("GNUGS")));
}

TEST_F(GhostscriptTest, ConverterInTheParentFolderIsFound) {
    context.state.sourceFolder = "C:\\Disk\\Medium\\";
    windows.files.AddFile("C:\\Disk\\converter.exe", "exe");
    ASSERT_TRUE(Prepare().ok());
    ASSERT_EQ(windows.processes.started.size(), 1u);
    EXPECT_EQ(windows.processes.started[0].commandLine, "\"C:\\Disk\\converter.exe\" /auto");
}

TEST_F(GhostscriptTest, MediumAtADriveRootLooksForTheConverterByItsBareName) {
    context.state.sourceFolder = "E:\\";
    windows.files.AddFile("C:\\converter.exe", "exe");  // in the current folder
    ASSERT_TRUE(Prepare().ok());
    EXPECT_TRUE(windows.journal.Contains("GetFileAttributes E:\\converter.exe"));
    ASSERT_EQ(windows.processes.started.size(), 1u);
    EXPECT_EQ(windows.processes.started[0].commandLine, "\"converter.exe\" /auto");
}

TEST_F(GhostscriptTest, ConverterThatCannotStartFallsBackToTheMediumCopy) {
    MediumGhostscript(setup::kGhostscriptDllSize);
    AddToMedium("converter.exe");
    windows.failures.Fail(fake::Op::CreateProcess, platform::kErrorAccessDenied);
    ASSERT_TRUE(Prepare().ok());
    EXPECT_TRUE(context.state.ghostscriptDeployed);
    EXPECT_TRUE(windows.files.Exists(Destination("GNUGS\\GSDLL32.DLL")));
}

TEST_F(GhostscriptTest, WithoutGnuGsNothingFoundAndNothingToCopyIsNoFailure) {
    ASSERT_TRUE(Prepare().ok());
    EXPECT_FALSE(context.state.ghostscriptDeployed);
}

TEST_F(GhostscriptTest, MediumCopyWithASubfolderSkipsIt) {
    MediumGhostscript(1234);  // the size matters only when "GNUGS" is set
    windows.files.AddFile("C:\\Medium\\GNUGS\\lib\\gs_init.ps", "ps");
    ASSERT_TRUE(Prepare().ok());
    EXPECT_TRUE(context.state.ghostscriptDeployed);
    EXPECT_TRUE(windows.files.Exists(Destination("GNUGS\\gsdll32.lib")));
    EXPECT_FALSE(windows.files.Exists(Destination("GNUGS\\lib")));
}

// ---- "GNUGS" set ---------------------------------------------------------------------------

TEST_F(GhostscriptTest, GnuGsChecksTheExactDllSizeEvenWithARegisteredGhostscript) {
    Settings("[Parameters]\nGNUGS=1\n");
    RegisterVersion(kGpl, "9.05", "C:\\gs\\bin", true);
    for (const std::uint64_t size : {setup::kGhostscriptDllSize - 1, setup::kGhostscriptDllSize + 1}) {
        MediumGhostscript(size);
        EXPECT_EQ(Prepare().messageId, 108u) << size;
        EXPECT_FALSE(context.state.ghostscriptDeployed) << size;
    }
    EXPECT_FALSE(windows.journal.Contains(std::string("OpenKey ") + kGpl));

    MediumGhostscript(setup::kGhostscriptDllSize);
    ASSERT_TRUE(Prepare().ok());
    EXPECT_TRUE(context.state.ghostscriptDeployed);
    EXPECT_EQ(windows.files.Content(Destination("GNUGS\\GSDLL32.DLL"))->size(), setup::kGhostscriptDllSize);
}

TEST_F(GhostscriptTest, GnuGsWithoutTheDllFailsWith108AndTheOpenError) {
    Settings("[Parameters]\nGNUGS=7\n");
    const auto result = Prepare();
    EXPECT_EQ(result.messageId, 108u);
    EXPECT_EQ(result.error, platform::kErrorPathNotFound);
}

TEST_F(GhostscriptTest, GnuGsWithAnIncompleteCopyFailsWith108) {
    Settings("[Parameters]\nGNUGS=1\n");
    MediumGhostscript(setup::kGhostscriptDllSize);
    windows.failures.Fail(fake::Op::CopyFile, platform::kErrorAccessDenied, "gsdll32.lib");
    EXPECT_EQ(Prepare().messageId, 108u);
    EXPECT_FALSE(context.state.ghostscriptDeployed);
    EXPECT_TRUE(windows.files.Exists(Destination("GNUGS\\GSDLL32.DLL")));  // what was copied stays
}

TEST_F(GhostscriptTest, GnuGsZeroOrTextCountsAsOff) {
    Settings("[Parameters]\nGNUGS=0\n");
    EXPECT_TRUE(Prepare().ok());
    Settings("[Parameters]\nGNUGS=yes\n");
    EXPECT_TRUE(Prepare().ok());
    EXPECT_FALSE(windows.journal.Contains("GetFileSize"));
}

}  // namespace
