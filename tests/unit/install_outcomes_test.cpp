// How a whole run of the installer ends: every early end (install log, system, installed
// product, product key, destination, file steps, port key), the destinations it
// refuses, and a run that completes without a usable, removable printer. Each through
// RunInstallSequence, as a deployment tool sees it.
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
};

// ---- every early end ---------------------------------------------------------------------

constexpr const char* kProductKey = "SOFTWARE\\NIMBRAX Writer";
constexpr const char* kUninstallEntry = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quillet Writer";
const std::string kFailed = "Install Quillet Writer failed.\n";
const std::string kWelcome =
    "Welcome to the Quillet Writer Setup program. This program will install Quillet Writer on your computer.\n\n"
    "Do you wish to continue?\n";
const std::string kUnsupported = "Quillet Writer does not support Windows95/NT.";
const std::string kProtectedPrint =
    "Quillet Writer cannot be installed while Windows protected print mode is on: the mode blocks printers with "
    "their own drivers and port monitors. Switch it off (Settings > Bluetooth & devices > Printers & scanners > "
    "Windows protected print mode, or the group policy \"Configure Windows protected print\" set to Disabled), "
    "then run Setup again.";
// What a run that ends before it reads the Windows version, or before the welcome
// question, must not have done.
const std::vector<std::string> kNothingRead = {"GetVersionEx", "CreateKey"};
const std::vector<std::string> kNothingAsked = {"EnumMonitors", "MessageBox Welcome", "CreateKey"};
// What a run that ends in the file steps must not have done: the driver step and the
// uninstall entry come later.
const std::vector<std::string> kNoDriver = {"EnumPrinterDrivers",
                                            "CreateKey SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall"};

struct EarlyEnd {
    std::string name;
    std::function<void(testing_support::SetupMachine&)> arrange;
    std::vector<std::string> arguments;
    int exitCode;
    std::vector<std::string> boxes;       // every box shown, in order
    std::vector<std::string> notReached;  // journal entries of the steps after the end
    bool productKey;                      // the product key is there afterwards
    bool progress;                        // the progress window opened and closed before the last box
    bool applicationBox = false;          // the last box is the application's own
    std::string caption = "Quillet Writer Setup";  // of every other box
    std::string logged = "";              // a line of the run log, when the arguments ask for kRunLog
};

constexpr const char* kRunLogPath = "C:\\run.log";
const std::string kRunLog = std::string("/log=") + kRunLogPath;
const std::string kCaption = "Quillet Writer Setup";

using Machine = testing_support::SetupMachine;
using Arrange = std::function<void(Machine&)>;

Arrange Failing(fake::Op operation, std::uint32_t error, std::string where = "") {
    return [=](Machine& f) { f.windows.failures.Fail(operation, error, where); };
}
Arrange Removing(std::string file) {
    return [=](Machine& f) { f.windows.files.Remove(f.mediumFolder + file); };
}
// A complete earlier installation: its uninstall entry and its port key, written last.
Arrange UninstallEntryIn(RegistryView view, bool withPortKey = true) {
    return [=](Machine& f) {
        f.windows.registry.AddKey(RegistryRoot::LocalMachine, kUninstallEntry, view);
        if (withPortKey) f.windows.registry.AddKey(RegistryRoot::LocalMachine, std::string(kProductKey) + "\\QLW1:", view);
    };
}
// An entry as Setup writes it, its uninstaller there or not.
Arrange BrokenOrWhole(bool uninstallerThere) {
    return [=](Machine& f) {
        const std::string program = "C:\\Program Files\\Old\\unInstpm64.exe";
        f.windows.registry.AddStringValue(RegistryRoot::LocalMachine, kUninstallEntry, "UninstallString",
                                          "\"" + program + "\" /uninstall", RegistryView::Force64);
        UninstallEntryIn(RegistryView::Force64)(f);  // with its port key
        if (uninstallerThere) f.windows.files.AddFile(program, "MZ");
    };
}
Arrange Policy(const char* value, std::uint32_t state) {
    return [=](Machine& f) {
        f.windows.registry.AddDwordValue(RegistryRoot::LocalMachine,
                                         "SOFTWARE\\Policies\\Microsoft\\Windows NT\\Printers\\WPP", value, state,
                                         RegistryView::Force64);
    };
}
// Another installation or removal of the product is running.
Arrange HeldLock() {
    return [](Machine& f) { f.windows.processes.openMutexes["Global\\NIMBRAX Writer Monitor x86 installation"] = 1; };
}
Arrange Spooler(std::function<void(std::map<std::string, platform::ServiceState>&)> change) {
    return [=](Machine& f) {
        f.windows.failures.Fail(fake::Op::EnumMonitors, 1722);
        change(f.windows.system.services);
    };
}
// An installation of `owner` in C:\Program Files\Other whose port key is `port`, and a
// printer `printer` on that port when one is named.
Arrange InstalledEdition(std::string owner, std::string port, std::string printer = "") {
    return [=](Machine& f) {
        auto log = SampleInstallLog();
        log.ProductName = owner;
        f.windows.files.AddFolder("C:\\Program Files\\Other");
        f.windows.files.AddFile("C:\\Program Files\\Other\\setup.inf", installlog::EncodeInstallLog(log, {9}));
        f.windows.registry.AddStringValue(RegistryRoot::LocalMachine, std::string(kProductKey) + "\\" + port,
                                          "Destination Folder", "C:\\Program Files\\Other", RegistryView::Force64);
        if (!printer.empty()) {
            f.windows.spooler.ports.push_back(port);
            fake::FakePrinter existing;
            existing.info.printerName = printer;
            existing.info.portName = port;
            f.windows.spooler.printers.push_back(existing);
        }
    };
}
Arrange Log(std::function<void(installlog::InstallLog&)> change) {
    return [=](Machine& f) {
        auto log = SampleInstallLog();
        change(log);
        f.WriteInstallLog(log);
    };
}

std::vector<EarlyEnd> EarlyEnds() {
    const std::string denied = kFailed + "Access is denied.\r\n";
    const std::string noFile = kFailed + "The system cannot find the file specified.\r\n";
    const std::string noPath = kFailed + "The system cannot find the path specified.\r\n";
    std::vector<EarlyEnd> cases = {
        // ---- the installer itself and its install log ----
        {"an installer that cannot tell its own path, beside a foreign install log",
         [](Machine& f) {
             f.windows.files.currentDirectory = "C:\\Downloads";
             f.windows.files.AddFile("C:\\Downloads\\Setup.inf", installlog::EncodeInstallLog(SampleInstallLog(), {1}));
             f.windows.failures.Fail(fake::Op::GetModuleFileName, platform::kErrorInsufficientBuffer);
         },
         {"/s"}, 114, {}, {"ReadWholeFile", "GetVersionEx", "CreateKey"}, false, false},
        {"no install log", Removing("Setup.inf"), {}, 114,
         {"Install  failed.\nThe system cannot find the file specified.\r\n"}, kNothingRead, false, false, false,
         " Setup"},
        {"a malformed install log",
         [](Machine& f) {
             auto bytes = installlog::EncodeInstallLog(SampleInstallLog(), {1, 2, 3});
             bytes.resize(bytes.size() - 5);
             f.windows.files.AddFile("C:\\Medium\\Setup.inf", bytes);
         },
         {"/s"}, 114, {}, kNothingRead, false, false},
        // ---- the system and an installed product ----
        {"Windows NT 4", [](Machine& f) { f.windows.system.version = {4, 0}; }, {"/s"}, setup::kExitInstallFailed,
         {kUnsupported}, kNothingAsked, false, false},
        {"a Windows version that cannot be read", Failing(fake::Op::GetVersionEx, platform::kErrorInvalidParameter),
         {"/s"}, setup::kExitInstallFailed, {kUnsupported}, kNothingAsked, false, false},
        {"Windows NT 4, silent, on a window station nobody sees",
         [](Machine& f) {
             f.windows.system.version = {4, 0};
             f.windows.ui.windowStationVisible = false;
         },
         {"/s", kRunLog}, setup::kExitInstallFailed, {}, kNothingAsked, false, false, false, kCaption,
         "box not shown, no visible window station: " + kUnsupported},
        {"Windows protected print mode by policy, silent", Policy("WindowsProtectedPrintGroupPolicyState", 1),
         {"/s", kRunLog}, setup::kExitBlockedByPolicy, {}, kNothingAsked, false, false, false, kCaption,
         "step 7 Windows protected print mode: on, not supported"},
        {"Windows protected print mode by its switch, interactive", Policy("WindowsProtectedPrintMode", 1), {},
         setup::kExitBlockedByPolicy, {kProtectedPrint}, kNothingAsked, false, false},
        // Not an end: the policy that keeps the mode off.
        {"Windows protected print mode off", Policy("WindowsProtectedPrintGroupPolicyState", 0), {"/s"},
         setup::kExitInstalled, {}, {}, true, false},
        {"another run holds the lock, silent", HeldLock(), {"/s", kRunLog}, setup::kExitAnotherRunInProgress, {},
         kNothingRead, false, false, false, kCaption, "step 4 run lock: another installation or removal is running"},
        {"another run holds the lock, interactive", HeldLock(), {}, setup::kExitAnotherRunInProgress,
         {"Another installation or removal of Quillet Writer is in progress. Wait until it has finished, then run "
          "Setup again."},
         kNothingRead, false, false},
        {"another user's run holds the lock", Failing(fake::Op::CreateMutex, platform::kErrorAccessDenied), {"/s"},
         setup::kExitAnotherRunInProgress, {}, kNothingRead, false, false},
        // Not an end: a system that cannot make the lock under either name runs without it.
        {"a lock that cannot be made", Failing(fake::Op::CreateMutex, platform::kErrorInvalidParameter),
         {"/s", kRunLog}, setup::kExitInstalled, {}, {}, true, false, false, kCaption,
         "step 4 run lock: not available, run without it, error 87"},
        {"a stopped and disabled spooler", Spooler([](auto& services) { services["Spooler"] = {1, 4}; }),
         {"/s", kRunLog}, 106, {}, {"CreateKey"}, false, false, false, kCaption,
         "step 9 Spooler service: stopped, disabled"},
        {"no spooler service", Spooler([](auto& services) { services.clear(); }), {"/s", kRunLog}, 106, {},
         {"CreateKey"}, false, false, false, kCaption, "step 9 Spooler service: not installed"},
        {"the port of another edition, silent", InstalledEdition("Other Writer", "QLW1:"), {"/s", kRunLog},
         setup::kExitOwnedByAnotherEdition, {}, kNothingAsked, true, false, false, kCaption,
         "step 8 printer and port: the port \"QLW1:\" belongs to Other Writer: not installed"},
        {"the printer of another edition on its own port", InstalledEdition("Other Writer", "OTH1:", "Quillet Writer"),
         {}, setup::kExitOwnedByAnotherEdition,
         {"Quillet Writer cannot be installed: the printer \"Quillet Writer\" belongs to Other Writer, which is "
          "installed on this computer. Uninstall Other Writer first, or install from a medium whose printer and port "
          "have names of their own."},
         kNothingAsked, true, false},  // the other edition's product key
        // Not an end: the port key of this product (an earlier run), or of a folder that is gone.
        {"the port key of this product", InstalledEdition("Quillet Writer", "QLW1:"), {"/s"}, setup::kExitInstalled, {},
         {}, true, false},
        {"a port key whose folder is gone",
         [](Machine& f) {
             InstalledEdition("Other Writer", "QLW1:")(f);
             f.windows.files.Remove("C:\\Program Files\\Other\\setup.inf");
         },
         {"/s"}, setup::kExitInstalled, {}, {}, true, false},
        // Ends at the end: a printer on a port that does not exist prints nowhere.
        {"a monitor DLL the spooler cannot load", Failing(fake::Op::AddMonitor, 126), {"/s", kRunLog},
         setup::kExitInstallFailed, {}, {}, true, false, false, kCaption,
         "step 22 port check: the monitor is not registered"},
        {"a monitor that adds no port", [](Machine& f) { f.windows.spooler.portAddedByMonitor.clear(); },
         {"/s", kRunLog}, setup::kExitInstallFailed, {}, {}, true, false, false, kCaption,
         "step 22 port check: the port is missing"},
        // The earlier installation's product key holds its port key; kNothingAsked shows
        // that nothing was written.
        {"an uninstall entry, silent", UninstallEntryIn(RegistryView::Force64), {"/s"}, setup::kExitAlreadyInstalled,
         {}, kNothingAsked, true, false},
        {"an uninstall entry, interactive", UninstallEntryIn(RegistryView::Force64), {}, setup::kExitAlreadyInstalled,
         {"Quillet Writer is already installed. \nYou need to uninstall the Quillet Writer BEFORE re-installing."},
         kNothingAsked, true, false},
        {"an uninstall entry whose uninstaller is there", BrokenOrWhole(true), {"/s"}, setup::kExitAlreadyInstalled, {},
         kNothingAsked, true, false},
        // Not ends: an installation interrupted before its port key, or one whose
        // uninstaller is gone (its folder deleted by hand), is installed over; 64-bit
        // Windows keeps the entry in its 64-bit view.
        {"an uninstall entry without its port key", UninstallEntryIn(RegistryView::Force64, false), {"/s", kRunLog},
         setup::kExitInstalled, {}, {}, true, false, false, kCaption,
         "step 8 already installed: interrupted, without its port key: installing over it"},
        {"an uninstall entry whose uninstaller is gone", BrokenOrWhole(false), {"/s"}, setup::kExitInstalled, {}, {},
         true, false},
        {"an uninstall entry only in the 32-bit view", UninstallEntryIn(RegistryView::Force32), {"/s"},
         setup::kExitInstalled, {}, {}, true, false},
        {"a monitor list that cannot be read", Failing(fake::Op::EnumMonitors, 1722), {}, 106,
         {kFailed + "The RPC server is unavailable.\r\n"}, {"MessageBox Welcome", "CreateKey"}, false, false},
        {"a programmatic-access build, whose captions differ",
         [](Machine& f) {
             Log([](auto& log) { log.ProgrammaticAccess = -7; })(f);  // any non-zero flag word is on
             f.windows.failures.Fail(fake::Op::EnumMonitors, platform::kErrorAccessDenied);
         },
         {}, 106, {denied}, {"MessageBox Welcome", "CreateKey"}, false, false, false, "Quillet Writer - Setup"},
        // ---- the licence ----
        {"a licence dialog that cannot be shown",
         [](Machine& f) {
             f.windows.files.AddFile(f.mediumFolder + "LICENSE.TXT", "terms");
             f.dialogs.licenceCanBeShown = false;
         },
         {kRunLog}, setup::kExitInstallFailed, {kWelcome, "Install Quillet Writer failed."},
         {"DestinationDialog", "CreateKey"}, false, false, false, "Quillet Writer Setup",
         "step 10 licence: the dialog could not be shown"},
        // ---- the product key and the destination ----
        {"a product key that cannot be made", Failing(fake::Op::CreateKey, platform::kErrorAccessDenied, kProductKey),
         {}, 113, {kWelcome, denied}, {"OpenProgress", "GetSystemDirectory"}, false, false},
        {"a destination it refuses", [](Machine&) {}, {"-dC:\\"}, 404,
         {kWelcome, kFailed + "The specified path is invalid.\r\n"}, {"CreateDirectory", "CopyFile"}, true, true},
        {"no system folder (error 8 has no system text here)", Failing(fake::Op::GetSystemDirectory, 8), {}, 107,
         {kWelcome, "Install Quillet Writer failed."}, {"CreateDirectory", "CopyFile"}, true, true},
        // ---- the file steps ----
        {"a destination on a drive that is not there",
         [](Machine& f) {
             f.windows.failures.Fail(fake::Op::SearchPath, platform::kErrorPathNotFound, "Q:");
             f.windows.failures.Fail(fake::Op::CreateDirectory, platform::kErrorPathNotFound, "Q:");
         },
         {"-dQ:\\Quillet"}, 403, {kWelcome, noPath}, kNoDriver, true, true},
        {"a destination that cannot be created",
         Failing(fake::Op::CreateDirectory, platform::kErrorAccessDenied, "Quillet"), {}, 404, {kWelcome, denied},
         kNoDriver, true, true},
        {"a required product file that cannot be copied", Removing("PDFWrite.rsp"), {}, 108, {kWelcome, noFile},
         kNoDriver, true, true},
        {"the 64-bit uninstaller that cannot be copied", Removing("unInstpm64.exe"), {}, 109,
         {kWelcome, "Install Pagemill failed. (Err-109)"}, kNoDriver, true, true, true},
        {"the 32-bit uninstaller that cannot be copied on 32-bit Windows",
         [](Machine& f) {
             f.windows.system.isWow64 = false;
             Removing("uninstpm.exe")(f);
         },
         {}, 110, {kWelcome, noFile}, kNoDriver, true, true},
        {"a required Ghostscript copy that is missing", [](Machine& f) { f.WriteSettings("[Parameters]\nGNUGS=1\n"); },
         {}, 108, {kWelcome, noPath}, kNoDriver, true, true},
        // ---- after the success message ----
        {"a port key that cannot be made",
         Failing(fake::Op::CreateKey, platform::kErrorAccessDenied, std::string(kProductKey) + "\\QLW1:"), {}, 113,
         {kWelcome,
          "Setup has finished installing Quillet Writer on your computer. Please restart your system. \n\nTo "
          "create PDF document, just print to the Quillet Writer printer from any Windows application.",
          denied},
         {}, true, true},
    };
    // An empty required name would make the programs address the Uninstall key or the
    // product key itself.
    for (auto member : {&installlog::InstallLog::PrinterName, &installlog::InstallLog::PortName,
                        &installlog::InstallLog::ProductName}) {
        cases.push_back({"an install log with an empty required name", Log([member](auto& log) { log.*member = ""; }),
                         {"/s"}, 114, {}, kNothingRead, false, false});
    }
    return cases;
}

// Each early end: its exit status and boxes (the report shown once, after the progress
// window has closed), and nothing of a later step.
TEST(InstallOutcomes, EveryEarlyEndReportsOnceAndRunsNoLaterStep) {
    for (const EarlyEnd& c : EarlyEnds()) {
        SCOPED_TRACE(c.name);
        testing_support::SetupMachine f;
        f.WriteInstallLog(SampleInstallLog());
        c.arrange(f);
        EXPECT_EQ(f.Run(c.arguments), c.exitCode);
        EXPECT_EQ(f.BoxTexts(), c.boxes);
        for (const fake::ShownBox& box : f.windows.ui.shown) {
            if (!box.applicationBox) {
                EXPECT_EQ(box.caption, c.caption);
            }
        }
        if (!f.windows.ui.shown.empty()) {
            EXPECT_EQ(f.windows.ui.shown.back().applicationBox, c.applicationBox);
        }
        EXPECT_EQ(f.dialogs.progressCloses, c.progress ? 1 : 0);
        if (c.progress) {
            const std::string box = (c.applicationBox ? "ApplicationMessageBox " : "MessageBox ") + c.boxes.back();
            EXPECT_LT(f.windows.journal.IndexOf("CloseProgress"), f.windows.journal.IndexOf(box));
        }
        for (const std::string& entry : c.notReached) {
            EXPECT_FALSE(f.windows.journal.Contains(entry)) << entry;
        }
        EXPECT_EQ(f.ProductKeyExists(), c.productKey);
        if (!c.logged.empty()) {
            EXPECT_NE(f.windows.files.Content(kRunLogPath).value_or("").find(" " + c.logged), std::string::npos)
                << f.windows.files.Content(kRunLogPath).value_or("<no run log>");
        }
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
        const char* refusedFor;  // a word of the reason the dialog gives; none: accepted
    };
    const std::vector<Case> cases = {
        // Refused: not an absolute path with a folder below a root.
        {"", "", {"/s"}, "Program Files"},  // C:\Program Files itself
        {"Quillet", "", {"/s", "-dC:\\"}, "full path"},  // the drive root, recorded as C:
        {"Quillet", "[Parameters]\nDestinationFolder=C:\\\n", {"/s"}, "full path"},
        {"Quillet", "", {"/s", "-dQuillet"}, "full path"},  // relative to the working folder
        {"Quillet", "", {"/s", "-d%ProgramFiles%\\Quillet"}, "full path"},
        {"Quillet", "", {"/s", "-d\\Quillet"}, "full path"},  // relative to the current drive
        {"Quillet", "", {"/s", "-dC:Quillet"}, "full path"},
        {"Quillet", "", {"/s", "-d\\\\server\\share"}, "full path"},  // a share's root
        // Refused: a folder Windows or the medium needs.
        {"..\\..\\windows\\Evil", "", {"/s"}, "Windows folder"},
        {"Quillet", "", {"/s", "-dC:\\Windows"}, "Windows folder"},
        {"Quillet", "", {"/s", "-dc:\\WINDOWS.\\System32\\Quillet"}, "Windows folder"},
        {"Quillet", "", {"/s", "-dC:\\Program Files\\Quillet\\.."}, "Program Files"},
        {"Quillet", "", {"/s", "-dC:\\Program Files (x86)"}, "Program Files"},  // the other Program Files folder
        {"Quillet", "", {"/s", "-dC:\\PROGRA~1"}, "Program Files"},  // its short name
        {"Quillet", "", {"/s", "-dc:\\progra~1\\Quillet\\.."}, "Program Files"},
        {"Quillet", "", {"/s", "-dC:\\Medium"}, "runs from"},
        {"Quillet", "", {"/s", "-dc:\\medium\\.\\"}, "runs from"},
        // Refused: too long for the copy paths (the limits are tried below).
        {"Quillet", "", {"/s", "-dD:\\" + std::string(240, 'q')}, "at most 236 characters"},
        // Accepted.
        {"Quillet", "", {"/s"}, nullptr},
        {"Brindle\\Quillet Writer", "", {"/s"}, nullptr},
        {"Quillet", "", {"/s", "-dD:\\Apps\\PDF"}, nullptr},
        {"Quillet", "", {"/s", "-dC:\\Program Files\\Brindle\\..\\Quillet"}, nullptr},
        {"Quillet", "", {"/s", "-dC:\\Windows Tools"}, nullptr},
        {"Quillet", "", {"/s", "-dC:\\Medium\\Installed"}, nullptr},
        {"Quillet", "", {"/s", "-dC:\\PROGRA~1\\Quillet"}, nullptr},
    };
    for (const Case& c : cases) {
        for (const bool inDialog : {false, true}) {
            const std::string trace = c.subfolder + " | " + c.settings + " | " + c.arguments.back();
            SCOPED_TRACE(trace + (inDialog ? " | in the dialog" : ""));
            testing_support::SetupMachine f;
            f.windows.files.shortNames["C:\\PROGRA~1"] = "C:\\Program Files";
            f.windows.registry.AddStringValue(RegistryRoot::LocalMachine,
                                              "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir (x86)",
                                              "C:\\Program Files (x86)", RegistryView::Force64);
            auto log = SampleInstallLog();
            log.DestinationSubfolder = c.subfolder;
            f.WriteInstallLog(log);
            if (!c.settings.empty()) f.WriteSettings(c.settings);
            std::vector<std::string> arguments = c.arguments;
            if (inDialog) {  // the same folder entered in the dialog; when it is refused, the user cancels
                const std::string& last = arguments.back();
                if (last.rfind("-d", 0) == 0) f.dialogs.destinationAnswer = std::optional<std::string>(last.substr(2));
                arguments = {};
            }
            const int exitCode = f.Run(arguments);
            if (c.refusedFor == nullptr) {
                EXPECT_EQ(exitCode, setup::kExitInstalled);
                continue;
            }
            // Refused before anything is made in it; in the dialog before anything is written
            // at all, with a reason.
            EXPECT_EQ(exitCode, inDialog ? setup::kExitUserCancelled : 404);
            EXPECT_FALSE(f.windows.journal.Contains("CreateDirectory")) << "something was created";
            EXPECT_FALSE(f.windows.journal.Contains("CopyFile"));
            ASSERT_EQ(f.dialogs.destinationRefusals.size(), inDialog ? 1u : 0u);
            if (inDialog) {
                EXPECT_NE(f.dialogs.destinationRefusals[0].find(c.refusedFor), std::string::npos);
                EXPECT_FALSE(f.ProductKeyExists());
            }
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
