// How a whole run of the installer ends: every early end of the file steps, the
// destinations and names it refuses, and a run that completes without a usable,
// removable printer. Each through RunInstallSequence, as a deployment tool sees it.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "setup/exit_codes.h"
#include "tests/unit/setup_fixture.h"

namespace {

using platform::RegistryRoot;
using platform::RegistryView;
using testing_support::SampleInstallLog;

class InstallOutcomeTest : public testing_support::SetupFixture {
protected:
    InstallOutcomeTest() { WriteInstallLog(SampleInstallLog()); }

    bool Ran(const std::string& entry) const { return windows.journal.Contains(entry); }
    int Position(const std::string& entry) const { return windows.journal.IndexOf(entry); }
    bool PortKeyExists() const {
        return windows.registry.KeyExists(RegistryRoot::LocalMachine, "SOFTWARE\\NIMBRAX Writer\\QLW1:",
                                          RegistryView::Force64);
    }
};

// ---- the file steps --------------------------------------------------------------------

// Each early end of the destination, copy and Ghostscript steps: its exit status and
// box, shown once, after the progress window has closed, and nothing of a later step.
TEST_F(InstallOutcomeTest, EveryEarlyEndOfTheFileStepsReportsOnceAfterTheProgressCloses) {
    struct Case {
        const char* name;
        std::function<void(testing_support::SetupMachine&)> arrange;
        std::vector<std::string> arguments;
        int exitCode;
        std::string box;
        bool applicationBox;
    };
    const std::string failed = "Install Quillet Writer failed.";
    const std::vector<Case> cases = {
        {"a destination on a drive that is not there",
         [](auto& f) {
             f.windows.failures.Fail(fake::Op::SearchPath, platform::kErrorPathNotFound, "Q:");
             f.windows.failures.Fail(fake::Op::CreateDirectory, platform::kErrorPathNotFound, "Q:");
         },
         {"-dQ:\\Quillet"}, 403, failed + "\nThe system cannot find the path specified.\r\n", false},
        {"a destination that cannot be created",
         [](auto& f) { f.windows.failures.Fail(fake::Op::CreateDirectory, platform::kErrorAccessDenied, "Quillet"); },
         {}, 404, failed + "\nAccess is denied.\r\n", false},
        {"a required product file that cannot be copied",
         [](auto& f) { f.windows.files.Remove("C:\\Medium\\PDFWrite.rsp"); },
         {}, 108, failed + "\nThe system cannot find the file specified.\r\n", false},
        {"the 64-bit uninstaller that cannot be copied",
         [](auto& f) { f.windows.files.Remove("C:\\Medium\\unInstpm64.exe"); },
         {}, 109, "Install Pagemill failed. (Err-109)", true},
        {"the 32-bit uninstaller that cannot be copied on 32-bit Windows",
         [](auto& f) {
             f.windows.system.isWow64 = false;
             f.windows.files.Remove("C:\\Medium\\uninstpm.exe");
         },
         {}, 110, failed + "\nThe system cannot find the file specified.\r\n", false},
        {"a required Ghostscript copy that is missing",
         [](auto& f) { f.WriteSettings("[Parameters]\nGNUGS=1\n"); },
         {}, 108, failed + "\nThe system cannot find the path specified.\r\n", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testing_support::SetupMachine f;
        f.WriteInstallLog(SampleInstallLog());
        c.arrange(f);
        EXPECT_EQ(f.Run(c.arguments), c.exitCode);
        ASSERT_EQ(f.windows.ui.shown.size(), 2u) << "the welcome question and one report";
        EXPECT_EQ(f.windows.ui.shown[1].text, c.box);
        EXPECT_EQ(f.windows.ui.shown[1].applicationBox, c.applicationBox);
        const std::string boxEntry = (c.applicationBox ? "ApplicationMessageBox " : "MessageBox ") + c.box;
        EXPECT_LT(f.windows.journal.IndexOf("CloseProgress"), f.windows.journal.IndexOf(boxEntry));
        EXPECT_EQ(f.dialogs.progressCloses, 1);
        EXPECT_FALSE(f.windows.journal.Contains("EnumPrinterDrivers")) << "the driver step ran";
        EXPECT_FALSE(f.windows.journal.Contains("CreateKey SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall"));
    }
}

TEST_F(InstallOutcomeTest, TheErrorLogIsPointedAtTheDestinationOnceItExists) {
    windows.failures.Fail(fake::Op::AddPrinterDriver, 1797);
    EXPECT_EQ(Run({"/s", "-dD:\\PDF"}), setup::kExitInstallFailed);
    EXPECT_EQ(windows.files.Content("D:\\PDF\\Error.log"), "Install Printer Driver failed. - (Error 1797)\r\n");
}

// ---- destinations the uninstaller could not safely empty and remove ---------------------

TEST_F(InstallOutcomeTest, DestinationsTheUninstallerCouldNotSafelyRemoveAreRefusedWith404) {
    struct Case {
        std::string subfolder;  // DestinationSubfolder of the install log
        std::string settings;   // Setup.Ini
        std::vector<std::string> arguments;
        bool refused;
    };
    const std::vector<Case> cases = {
        // Refused: not an absolute path with a folder below a root.
        {"", "", {"/s"}, true},                                      // C:\Program Files itself
        {"Quillet", "", {"/s", "-dC:\\"}, true},                     // the drive root, recorded as C:
        {"Quillet", "[Parameters]\nDestinationFolder=C:\\\n", {"/s"}, true},
        {"Quillet", "", {"/s", "-dQuillet"}, true},                  // relative to the working folder
        {"Quillet", "", {"/s", "-d%ProgramFiles%\\Quillet"}, true},
        {"Quillet", "", {"/s", "-d\\Quillet"}, true},                // relative to the current drive
        {"Quillet", "", {"/s", "-dC:Quillet"}, true},
        {"Quillet", "", {"/s", "-d\\\\server\\share"}, true},        // a share's root
        // Refused: a folder Windows or the medium needs.
        {"..\\..\\windows\\Evil", "", {"/s"}, true},
        {"Quillet", "", {"/s", "-dC:\\Windows"}, true},
        {"Quillet", "", {"/s", "-dc:\\WINDOWS.\\System32\\Quillet"}, true},
        {"Quillet", "", {"/s", "-dC:\\Program Files\\Quillet\\.."}, true},
        {"Quillet", "", {"/s", "-dC:\\Program Files (x86)"}, true},  // the other Program Files folder
        {"Quillet", "", {"/s", "-dC:\\Medium"}, true},
        {"Quillet", "", {"/s", "-dc:\\medium\\.\\"}, true},
        // Accepted.
        {"Quillet", "", {"/s"}, false},
        {"Brindle\\Quillet Writer", "", {"/s"}, false},
        {"Quillet", "", {"/s", "-dD:\\Apps\\PDF"}, false},
        {"Quillet", "", {"/s", "-dC:\\Program Files\\Brindle\\..\\Quillet"}, false},
        {"Quillet", "", {"/s", "-dC:\\Windows Tools"}, false},
        {"Quillet", "", {"/s", "-dC:\\Medium\\Installed"}, false},
    };
    for (const Case& c : cases) {
        const std::string trace = c.subfolder + " | " + c.settings + " | " + c.arguments.back();
        SCOPED_TRACE(trace);
        testing_support::SetupMachine f;
        f.windows.registry.AddStringValue(RegistryRoot::LocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion",
                                          "ProgramFilesDir (x86)", "C:\\Program Files (x86)", RegistryView::Force64);
        auto log = SampleInstallLog();
        log.DestinationSubfolder = c.subfolder;
        f.WriteInstallLog(log);
        if (!c.settings.empty()) f.WriteSettings(c.settings);
        const int exitCode = f.Run(c.arguments);
        if (c.refused) {
            EXPECT_EQ(exitCode, 404);
            EXPECT_FALSE(f.windows.journal.Contains("CreateDirectory")) << "something was created";
            EXPECT_FALSE(f.windows.journal.Contains("CopyFile"));
        } else {
            EXPECT_EQ(exitCode, setup::kExitInstalled);
        }
    }
}

// A folder of exactly `length` characters below D:\Quillet, in names of 50 characters.
std::string FolderOfLength(std::size_t length) {
    std::string folder = "D:\\Quillet";
    std::size_t inName = folder.size() - 3;
    while (folder.size() < length) {
        if (inName == 50 && length - folder.size() >= 2) {
            folder += '\\';
            inName = 0;
        } else {
            folder += 'q';
            ++inName;
        }
    }
    return folder;
}

// Every path the copy steps build has a field of 256 characters: a destination that
// leaves the longest copied name ("iSEDQuickPDFSL.dll") room in it is taken whole, one
// longer is refused before anything is made, never cut into another folder. The length
// counts after the one trailing backslash that comes off.
TEST_F(InstallOutcomeTest, DestinationsLongerThanTheCopyPathsHoldAreRefusedWith404) {
    struct Case {
        std::string from;  // where the destination comes from
        std::size_t length;
        bool trailingBackslash;
        int exitCode;
    };
    const std::vector<Case> cases = {
        {"-d", 235, false, 0},    {"-d", 236, false, 0},    {"-d", 236, true, 0},     {"-d", 237, false, 404},
        {"-d", 255, false, 404},  {"-d", 256, false, 404},  {"-d", 261, false, 404},  {"-d", 32767, false, 404},
        {"ini", 236, false, 0},   {"ini", 237, false, 404}, {"ini", 261, false, 404},
        {"ini", 999, false, 404},  // the longest value the settings file gives
        {"log", 236, false, 0},   {"log", 237, false, 404}, {"log", 256, false, 404},
        {"log", 17 + 259, false, 404},  // C:\Program Files\ and the longest subfolder
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.from + " " + std::to_string(c.length) + (c.trailingBackslash ? " with a backslash" : ""));
        testing_support::SetupMachine f;
        for (const char* name : {"NimbExt.exe", "iSEDQuickPDFSL.dll", "QuillEncrypt.exe", "QLWFtp.dll"}) {
            f.windows.files.AddFile(f.mediumFolder + name, name);
        }
        auto log = SampleInstallLog();
        log.ExtensionComponents = 1;
        std::vector<std::string> arguments = {"/s"};
        std::string destination = FolderOfLength(c.length);
        if (c.from == "log") {
            destination = "C:\\Program Files\\" + std::string(c.length - 17, 's');
            log.DestinationSubfolder = destination.substr(17);
        }
        // The folder above it is there; the installer makes at most two levels.
        f.windows.files.AddFolder(destination.substr(0, destination.rfind('\\')));
        const std::string given = destination + (c.trailingBackslash ? "\\" : "");
        if (c.from == "-d") arguments.push_back("-d" + given);
        if (c.from == "ini") f.WriteSettings("[Parameters]\r\nDestinationFolder=" + given + "\r\n");
        f.WriteInstallLog(log);

        EXPECT_EQ(f.Run(arguments), c.exitCode);
        if (c.exitCode != 0) {
            EXPECT_FALSE(f.windows.journal.Contains("CreateDirectory"));
            EXPECT_FALSE(f.windows.journal.Contains("CopyFile"));
            continue;
        }
        EXPECT_EQ(f.State().destinationFolder, destination);
        EXPECT_TRUE(f.windows.files.Exists(destination + "\\iSEDQuickPDFSL.dll"));
        for (const std::string& entry : f.windows.journal.Entries()) {
            if (entry.rfind("CopyFile ", 0) != 0) continue;
            const std::string to = entry.substr(entry.find(" -> ") + 4);
            EXPECT_LE(to.size(), 255u) << to;
        }
    }
}

TEST_F(InstallOutcomeTest, ARefusedDestinationSaysWhyInTheBox) {
    EXPECT_EQ(Run({"-dC:\\"}), 404);
    ASSERT_FALSE(windows.ui.shown.empty());
    EXPECT_EQ(windows.ui.shown.back().text, "Install Quillet Writer failed.\nThe specified path is invalid.\r\n");
}

// ---- install logs and media that cannot be used ----------------------------------------

TEST_F(InstallOutcomeTest, AnInstallerThatCannotTellItsOwnPathEndsWith114) {
    // A foreign install log in the working folder must not be taken instead.
    windows.files.currentDirectory = "C:\\Downloads";
    windows.files.AddFile("C:\\Downloads\\Setup.inf", installlog::EncodeInstallLog(SampleInstallLog(), {1}));
    windows.failures.Fail(fake::Op::GetModuleFileName, platform::kErrorInsufficientBuffer);
    EXPECT_EQ(Run({"/s"}), 114);
    EXPECT_FALSE(Ran("ReadWholeFile"));
    EXPECT_EQ(windows.registry.KeyCount(), 0u);
}

TEST_F(InstallOutcomeTest, AnInstallLogWithAnEmptyRequiredNameEndsWith114) {
    for (auto member : {&installlog::InstallLog::PrinterName, &installlog::InstallLog::PortName,
                        &installlog::InstallLog::ProductName}) {
        testing_support::SetupMachine f;
        auto log = SampleInstallLog();
        log.*member = "";
        f.WriteInstallLog(log);
        EXPECT_EQ(f.Run({"/s"}), 114);
        EXPECT_EQ(f.windows.registry.KeyCount(), 0u);
        EXPECT_FALSE(f.windows.journal.Contains("GetVersionEx"));
    }
}

TEST_F(InstallOutcomeTest, AVersionThatCannotBeReadIsNotSupported) {
    windows.failures.Fail(fake::Op::GetVersionEx, platform::kErrorInvalidParameter);
    EXPECT_EQ(Run({"/s"}), setup::kExitInstallFailed);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Quillet Writer does not support Windows95/NT."});
    EXPECT_FALSE(ProductKeyExists());
}

// ---- a run that reaches its end without a usable, removable printer ---------------------

TEST_F(InstallOutcomeTest, ABrokenInstallationRunsToItsEndButEndsWith1603) {
    struct Case {
        const char* name;
        fake::Op operation;
        std::uint32_t error;
        int exitCode;
    };
    const std::vector<Case> cases = {
        {"no printer driver", fake::Op::AddPrinterDriver, 1797, setup::kExitInstallFailed},
        {"no printer", fake::Op::AddPrinter, platform::kErrorAccessDenied, setup::kExitInstallFailed},
        {"the printer was there already", fake::Op::AddPrinter, platform::kErrorPrinterAlreadyExists,
         setup::kExitInstalled},
        {"no uninstall entry", fake::Op::CreateKey, platform::kErrorAccessDenied, setup::kExitInstallFailed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testing_support::SetupMachine f;
        f.WriteInstallLog(SampleInstallLog());
        f.windows.failures.Fail(c.operation, c.error, c.operation == fake::Op::CreateKey ? "Uninstall\\" : "");
        EXPECT_EQ(f.Run({}), c.exitCode);
        // The success message and the port key still come, as they always have.
        EXPECT_TRUE(f.windows.journal.Contains("MessageBox Setup has finished installing"));
        EXPECT_TRUE(f.windows.registry.KeyExists(RegistryRoot::LocalMachine, "SOFTWARE\\NIMBRAX Writer\\QLW1:",
                                                 RegistryView::Force64));
    }
}

}  // namespace
