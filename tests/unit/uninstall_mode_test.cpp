// unInstpm64 /uninstall over a machine the installer has just set up: what it removes,
// in which order, where it stops and what it leaves.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "common/product/product_files.h"
#include "common/product/run_lock.h"
#include "tests/unit/uninstall_fixture.h"
#include "uninstall/exit_codes.h"

namespace {

using platform::RegistryView;
using testing_support::SampleInstallLog;

class UninstallModeTest : public testing_support::UninstallFixture {
protected:
    // Files and keys of the machine, to compare before and after.
    std::set<std::string> Files() const {
        const auto paths = windows.files.AllPaths();
        std::set<std::string> lower;
        for (const auto& path : paths) lower.insert(fake::Normalize(path));
        return lower;
    }
    std::set<std::string> Keys() const {
        const auto keys = windows.registry.AllKeys();
        return {keys.begin(), keys.end()};
    }
    bool NothingRemoved(const std::set<std::string>& files, const std::set<std::string>& keys) const {
        return Files() == files && Keys() == keys && !windows.spooler.printers.empty();
    }
};

// ---- a complete run --------------------------------------------------------------------

// The sample build, and builds that copy every row of the product-file table (each with
// another readme). No product file is residue (the README's "What stays after an
// uninstallation" names none): every file the installer copies must go.
class RoundTripTest : public UninstallModeTest, public ::testing::WithParamInterface<std::string> {};

TEST_P(RoundTripTest, LeavesOnlyTheDocumentedResidue) {
    const std::set<std::string> filesBefore = Files();
    const std::set<std::string> keysBefore = Keys();
    const auto spoolerBefore = windows.spooler.drivers.size();
    auto log = SampleInstallLog();
    std::vector<std::string> extra;
    if (const std::string readme = GetParam(); !readme.empty()) {
        log.ProgrammaticAccess = log.ExtensionComponents = 1;
        extra.push_back(readme);
        for (const product::ProductFile& file : product::kProductFiles) {
            if (file.onlyWhenOnMedium) extra.push_back(file.name);
        }
    }
    ASSERT_EQ(Install(log, extra), 0);
    for (const std::string& name : extra) EXPECT_TRUE(windows.files.Exists(Installed(name))) << name;
    EXPECT_EQ(Uninstall(), uninstall::kExitDone);

    // The spooler is as it was.
    EXPECT_TRUE(windows.spooler.printers.empty());
    EXPECT_EQ(windows.spooler.drivers.size(), spoolerBefore);
    EXPECT_FALSE(windows.spooler.HasPort("QLW1:"));
    EXPECT_FALSE(windows.spooler.HasMonitor("NIMBRAX Writer Monitor x86"));
    EXPECT_FALSE(windows.files.Exists(kMonitorDll));

    // The keys: the product key stays empty (and its parents, which Windows has anyway).
    std::set<std::string> newKeys;
    for (const auto& key : Keys()) {
        if (!keysBefore.count(key)) newKeys.insert(key);
    }
    EXPECT_TRUE(KeyExists(kProductKey));
    EXPECT_FALSE(KeyExists(kUninstallEntry));
    EXPECT_FALSE(KeyExists(std::string(kProductKey) + "\\QLW1:"));
    for (const auto& key : newKeys) {
        EXPECT_TRUE(fake::Normalize(key).find("quillet") == std::string::npos) << key;
    }

    // The files: what the batch removes once the uninstaller has ended (the program file
    // and the install folder), and the group's parent folder, which the installer made.
    std::set<std::string> left;
    for (const auto& file : Files()) {
        if (!filesBefore.count(file)) left.insert(file);
    }
    const std::string programs = fake::Normalize(kPrograms);
    const auto isResidue = [&](const std::string& file) {
        const bool programsFolderOrAbove = programs.rfind(file, 0) == 0;  // made by the shell on demand
        // The driver's files staged in the driver folder go with the driver (the folder
        // stays); the medium is not the machine's.
        const bool driverFolder = std::string("c:\\windows\\system32\\spool\\drivers\\x64").rfind(file, 0) == 0;
        const bool medium = file.rfind("c:\\medium\\", 0) == 0;
        if (driverFolder || medium) return true;
        const bool batch = file.rfind("c:\\users\\user\\appdata\\local\\temp\\delunist-", 0) == 0;
        return programsFolderOrAbove || batch || file == programs + "\\brindle" ||
               file == "c:\\program files\\quillet" || file == "c:\\program files\\quillet\\uninstpm64.exe";
    };
    for (const auto& file : left) EXPECT_TRUE(isResidue(file)) << "left behind: " << file;
    EXPECT_TRUE(windows.files.IsFolder(std::string(kPrograms) + "\\Brindle"));
    EXPECT_FALSE(windows.files.Exists(std::string(kPrograms) + "\\Brindle\\Quillet Writer"));
    // The install folder is scheduled for the restart in case the batch cannot remove it.
    ASSERT_EQ(windows.files.pendingAtRestart.size(), 1u);
    EXPECT_EQ(windows.files.pendingAtRestart[0].first, "C:\\Program Files\\Quillet");
    EXPECT_EQ(windows.files.pendingAtRestart[0].second, "");
    // The temporary copy of the decoded log is gone.
    for (const auto& file : Files()) EXPECT_EQ(file.find("\\pmt"), std::string::npos) << file;
}

std::vector<std::string> SampleAndEachReadme() {
    std::vector<std::string> builds(product::kReadmeNames.begin(), product::kReadmeNames.end());
    builds.insert(builds.begin(), "");  // the sample build
    return builds;
}
INSTANTIATE_TEST_SUITE_P(SampleAndEveryRow, RoundTripTest, ::testing::ValuesIn(SampleAndEachReadme()));

TEST_F(UninstallModeTest, InteractiveRunAsksFirstAndSaysWhenItIsDone) {
    ASSERT_EQ(Install(), 0);
    EXPECT_EQ(Uninstall({"/uninstall"}), uninstall::kExitDone);
    ASSERT_EQ(windows.ui.shown.size(), 2u);
    EXPECT_EQ(windows.ui.shown[0].text, "This will remove Quillet Writer from your system. Do you wish to continue?");
    EXPECT_EQ(windows.ui.shown[0].buttons, platform::MessageBoxButtons::YesNo);
    EXPECT_EQ(windows.ui.shown[0].caption, "Quillet Writer");
    EXPECT_EQ(windows.ui.shown[1].text,
              "Quillet Writer has been removed from your system.\nIt is recommended that you restart your machine to "
              "remove files that were in use during uninstall.");
    EXPECT_LT(Position("MessageBox This will remove"), Position("OpenPrinter"));
    EXPECT_LT(Position("DeleteFile C:\\Program Files\\Quillet\\pagemill.exe"), Position("MessageBox Quillet Writer has been"));
    // The install log goes last, so that a run stopped before can be run again.
    EXPECT_LT(Position("MessageBox Quillet Writer has been"), Position("DeleteFile C:\\Program Files\\Quillet\\setup.inf"));
    EXPECT_LT(Position("DeleteFile C:\\Program Files\\Quillet\\setup.inf"), Position("WriteNewFile"));
}

TEST_F(UninstallModeTest, TheSpoolerObjectsGoInTheirOrder) {
    ASSERT_EQ(Install(), 0);
    ASSERT_EQ(Uninstall(), uninstall::kExitDone);
    const std::vector<std::string> order = {
        "EnumMonitors", "OpenPrinter Quillet Writer", "DeletePrinter Quillet Writer",
        "DeletePrinterDriverEx Windows x64 | NIMBRAX Writer | 1", "DeletePort QLW1:", "GetSystemDirectory",
        "DeleteMonitor NIMBRAX Writer Monitor x86", "DeleteFile C:\\Windows\\system32\\nimbmon64.dll",
        "DeleteKey SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quillet Writer",
        "DeleteKey SOFTWARE\\NIMBRAX Writer\\QLW1:", "RemoveDirectory " + std::string(kPrograms),
        "DeleteFile C:\\Program Files\\Quillet\\setup.inf", "RemoveDirectory C:\\Program Files\\Quillet"};
    int previous = -1;
    for (const auto& entry : order) {
        const int position = Position(entry);
        EXPECT_GT(position, previous) << entry;
        previous = position;
    }
}

// A program started by a bare name is looked for in the current folder and along the
// path first; both programs run with administrator rights, so each program they start
// is named by its full path: the copy helper, the registration tool, the converter and
// the command interpreter of the self-removal batch.
TEST_F(UninstallModeTest, EveryProgramIsStartedByItsFullPath) {
    auto log = SampleInstallLog();
    log.ProgrammaticAccess = 1;
    WriteSettings("[Parameters]\nGNUGS=1\n");
    windows.files.AddFile(std::string(kMedium) + "GNUGS\\GSDLL32.DLL", std::string(3510272, 'g'));
    windows.files.AddFile(std::string(kMedium) + "converter.exe", "MZ");
    WriteInstallLog(log);
    windows.files.AddFile(std::string(kMedium) + "QLWFtp.dll", "dll");
    ASSERT_EQ(Run({}), 0);
    std::vector<std::string> commands;
    for (const auto& started : windows.processes.started) commands.push_back(started.commandLine);
    windows.processes.started.clear();
    ASSERT_EQ(Uninstall(), uninstall::kExitDone);
    for (const auto& started : windows.processes.started) commands.push_back(started.commandLine);

    ASSERT_EQ(commands.size(), 5u) << "copy helper, regsvr32, converter; regsvr32, the batch";
    for (const std::string& command : commands) {
        const bool quotedFullPath = command.size() > 4 && command[0] == '"' && command[2] == ':' && command[3] == '\\';
        EXPECT_TRUE(quotedFullPath) << command;
    }
}

// ---- where it stops --------------------------------------------------------------------

TEST_F(UninstallModeTest, EachStopRemovesNothingAndSaysWhy) {
    struct Case {
        const char* name;
        std::function<void(testing_support::InstalledMachine&)> arrange;
        std::vector<std::string> arguments;
        int exitCode;
        std::vector<std::string> boxes;  // text|caption
        std::string program = std::string(testing_support::InstalledMachine::kInstallFolder) + "unInstpm64.exe";
    };
    const std::string notHere =
        "Quillet Writer is not installed in the folder of this uninstaller. Uninstallation will not continue.|"
        "Quillet Writer";
    // A copy of the install log and the uninstaller in another folder.
    const auto copyTo = [](const std::string& folder) {
        return [folder](testing_support::InstalledMachine& m) {
            m.windows.files.AddFile(folder + "setup.inf", *m.windows.files.Content(m.Installed("setup.inf")));
            m.windows.files.AddFile(folder + "unInstpm64.exe", "MZ");
        };
    };
    const std::vector<Case> cases = {
        {"no install log, also when silent",
         [](auto& m) { m.windows.files.Remove("C:\\Program Files\\Quillet\\setup.inf"); },
         {"/uninstall", "/s"}, uninstall::kExitFailed,
         {"Unable to locate the installation log file 'setup.inf'. Uninstallation will not continue.|"}},
        {"a malformed install log counts as missing",
         [](auto& m) { m.windows.files.AddFile("C:\\Program Files\\Quillet\\setup.inf", "junk"); },
         {"/uninstall"}, uninstall::kExitFailed,
         {"Unable to locate the installation log file 'setup.inf'. Uninstallation will not continue.|"}},
        {"no temporary file: the failure box has no caption yet",
         [](auto& m) { m.windows.failures.Fail(fake::Op::WriteWholeFile, platform::kErrorAccessDenied); },
         {"/uninstall"}, uninstall::kExitFailed, {"UnInstall  failed.\nAccess is denied.\r\n|"}},
        {"no temporary file, silent", [](auto& m) { m.windows.failures.Fail(fake::Op::WriteWholeFile, 5); },
         {"/uninstall", "/s"}, uninstall::kExitFailed, {}},
        {"a spooler that cannot list its monitors",
         [](auto& m) { m.windows.failures.Fail(fake::Op::EnumMonitors, 1722); }, {"/uninstall"},
         uninstall::kExitFailed, {"UnInstall Quillet Writer failed.\nThe RPC server is unavailable.\r\n|Quillet Writer"}},
        {"the question answered No", [](auto& m) { m.windows.ui.answers.push_back(platform::MessageBoxAnswer::No); },
         {"/uninstall"}, uninstall::kExitUserCancelled,
         {"This will remove Quillet Writer from your system. Do you wish to continue?|Quillet Writer"}},
        // The medium's own uninstaller, beside its Setup.inf; a folder with a Driver folder
        // is a medium too; a copy elsewhere is not the folder the installation recorded.
        {"the medium's uninstaller",
         [](auto& m) {
             m.windows.files.AddFile("C:\\Medium\\Setup.exe", "MZ");
             m.windows.files.AddFile("C:\\Medium\\unInstpm64.exe", "MZ");
         },
         {"/uninstall", "/s"}, uninstall::kExitFailed, {notHere}, "C:\\Medium\\unInstpm64.exe"},
        {"a folder with a Driver folder",
         [copyTo](auto& m) {
             copyTo("C:\\Share\\")(m);
             m.windows.files.AddFolder("C:\\Share\\Driver");
             // Without the installation's records only the Driver folder tells.
             for (const std::string& key : {std::string(kUninstallEntry), std::string(kProductKey) + "\\QLW1:"}) {
                 (void)m.windows.registry.DeleteKey(platform::RegistryRoot::LocalMachine, key, RegistryView::Force64);
             }
         },
         {"/uninstall"}, uninstall::kExitFailed, {notHere}, "C:\\Share\\unInstpm64.exe"},
        {"a copy outside the recorded folder", copyTo("C:\\Copy\\"), {"/uninstall"}, uninstall::kExitFailed,
         {notHere}, "C:\\Copy\\unInstpm64.exe"},
        // A mistyped command line does nothing, and says so through its status.
        {"no mode", [](auto&) {}, {}, uninstall::kExitInvalidParameter, {}},
        {"an unknown switch", [](auto&) {}, {"/foo"}, uninstall::kExitInvalidParameter, {}},
        {"switches with a dash", [](auto&) {}, {"-uninstall", "-s"}, uninstall::kExitInvalidParameter, {}},
        // One installation or removal at a time: the lock's name exists, or was made by a
        // run of another user (access denied).
        {"another run holds the lock, silent",
         [](auto& m) { m.windows.processes.openMutexes[product::RunLockName()] = 1; }, {"/uninstall", "/s"}, 1618, {}},
        {"another run holds the lock",
         [](auto& m) { m.windows.processes.openMutexes[product::RunLockName()] = 1; }, {"/uninstall"}, 1618,
         {"Another installation or removal of the printer is in progress. Uninstallation will not continue; try "
          "again when it has finished.|"}},
        {"another user's run holds the lock",
         [](auto& m) { m.windows.failures.Fail(fake::Op::CreateMutex, platform::kErrorAccessDenied); },
         {"/uninstall", "/s"}, 1618, {}},
        // Silent on a window station nobody sees: no box waits for a click.
        {"no install log, silent on an invisible window station",
         [](auto& m) {
             m.windows.files.Remove("C:\\Program Files\\Quillet\\setup.inf");
             m.windows.ui.windowStationVisible = false;
         },
         {"/uninstall", "/s"}, uninstall::kExitFailed, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testing_support::InstalledMachine machine;
        ASSERT_EQ(machine.Install(), 0);
        c.arrange(machine);
        const auto files = machine.windows.files.AllPaths();
        const auto keys = machine.windows.registry.AllKeys();
        EXPECT_EQ(machine.Uninstall(c.arguments, c.program), c.exitCode);
        std::vector<std::string> boxes;
        for (const auto& box : machine.windows.ui.shown) boxes.push_back(box.text + "|" + box.caption);
        EXPECT_EQ(boxes, c.boxes);
        EXPECT_EQ(machine.windows.files.AllPaths(), files);
        EXPECT_EQ(machine.windows.registry.AllKeys(), keys);
        EXPECT_EQ(machine.windows.spooler.printers.size(), 1u);
    }
}

TEST_F(UninstallModeTest, WithoutASystemFolderThePrinterDriverAndPortAreGoneButNothingElse) {
    ASSERT_EQ(Install(), 0);
    windows.failures.Fail(fake::Op::GetSystemDirectory, platform::kErrorAccessDenied);
    EXPECT_EQ(Uninstall({"/uninstall"}), uninstall::kExitFailed);
    EXPECT_TRUE(windows.spooler.printers.empty());
    EXPECT_FALSE(windows.spooler.HasPort("QLW1:"));
    EXPECT_TRUE(windows.spooler.HasMonitor("NIMBRAX Writer Monitor x86"));
    EXPECT_TRUE(KeyExists(kUninstallEntry));
    EXPECT_TRUE(windows.files.Exists(Installed("setup.inf")));
    EXPECT_EQ(windows.ui.shown.back().text, "UnInstall Quillet Writer failed.\nAccess is denied.\r\n");
}

TEST_F(UninstallModeTest, ASpoolerWithManyMonitorsIsAskedAgainWithTheSizeItWants) {
    ASSERT_EQ(Install(), 0);
    for (int i = 0; i < 200; ++i) windows.spooler.monitors.push_back("Monitor of another product " + std::to_string(i));
    const std::uint32_t listBytes = windows.spooler.MonitorListBytes();
    ASSERT_GT(listBytes, 4096u);
    windows.spooler.enumMonitorBufferSizes.clear();
    EXPECT_EQ(Uninstall(), uninstall::kExitDone);
    EXPECT_EQ(windows.spooler.enumMonitorBufferSizes, (std::vector<std::uint32_t>{4096u, listBytes}));
}

// ---- the spooler's refusals --------------------------------------------------------------

TEST_F(UninstallModeTest, WhatAnotherPrinterStillUsesStaysAndTheRunCompletes) {
    ASSERT_EQ(Install(), 0);
    windows.spooler.AddExistingPrinter("Colleague's Printer", "QLW1:", "NIMBRAX Writer");
    EXPECT_EQ(Uninstall(), uninstall::kExitDone);
    EXPECT_EQ(windows.spooler.FindPrinter("Quillet Writer"), nullptr);
    EXPECT_NE(windows.spooler.FindDriver("NIMBRAX Writer", "Windows x64"), nullptr);
    EXPECT_TRUE(windows.spooler.HasPort("QLW1:"));
    // The monitor still serves the port: it keeps its DLL.
    EXPECT_TRUE(windows.spooler.HasMonitor("NIMBRAX Writer Monitor x86"));
    EXPECT_TRUE(windows.files.Exists(kMonitorDll));
    EXPECT_TRUE(windows.ui.shown.empty());
    EXPECT_FALSE(KeyExists(kUninstallEntry));
}

TEST_F(UninstallModeTest, APrinterGoneAlreadyIsPassedOverOneThatWillNotGoIsShownEvenSilently) {
    ASSERT_EQ(Install(), 0);
    windows.spooler.printers.clear();  // deleted by hand
    EXPECT_EQ(Uninstall(), uninstall::kExitDone);
    EXPECT_TRUE(windows.ui.shown.empty());
    EXPECT_EQ(windows.spooler.FindDriver("NIMBRAX Writer", "Windows x64"), nullptr);
    EXPECT_FALSE(windows.spooler.HasMonitor("NIMBRAX Writer Monitor x86"));

    testing_support::InstalledMachine machine;
    ASSERT_EQ(machine.Install(), 0);
    machine.windows.failures.Fail(fake::Op::DeletePrinter, platform::kErrorAccessDenied);
    EXPECT_EQ(machine.Uninstall(), uninstall::kExitFailed) << "the printer is still there";
    EXPECT_FALSE(machine.KeyExists(kUninstallEntry)) << "the rest goes as ever";
    ASSERT_EQ(machine.windows.ui.shown.size(), 1u);
    EXPECT_EQ(machine.windows.ui.shown[0].text, "Delete Printer failed. (Err-201)");
    EXPECT_EQ(machine.windows.ui.shown[0].caption, "Quillet Writer");
}

// The driver goes with the files of it no other driver uses, where the spooler has the
// call for it; the copies the installer staged in the driver folder go unless another
// driver names them.
TEST_F(UninstallModeTest, TheDriversStagedFilesGoUnlessAnotherDriverUsesThem) {
    const std::string folder = "C:\\Windows\\system32\\spool\\drivers\\x64\\";
    // The call there, missing, or refused (as Wine does): the last two delete the driver alone.
    for (const int spooler : {0, 1, 2}) {
        SCOPED_TRACE(spooler);
        const bool hasEx = spooler == 0;
        testing_support::InstalledMachine machine;
        ASSERT_EQ(machine.Install(), 0);
        ASSERT_TRUE(machine.windows.files.Exists(folder + "PSCRIPT5.DLL"));
        machine.windows.spooler.hasDeletePrinterDriverEx = spooler != 1;
        if (spooler == 2) machine.windows.failures.Fail(fake::Op::DeletePrinterDriverEx, platform::kErrorGenFailure);
        machine.windows.spooler.AddDriver("Other PostScript", "Windows x64", "PSCRIPT5.DLL", "PS5UI.DLL");
        ASSERT_EQ(machine.Uninstall(), uninstall::kExitDone);
        EXPECT_EQ(machine.windows.spooler.FindDriver("NIMBRAX Writer", "Windows x64"), nullptr);
        EXPECT_EQ(machine.Ran("DeletePrinterDriver Windows x64"), !hasEx);
        EXPECT_FALSE(machine.windows.files.Exists(folder + "NIMBRAXW.PPD"));
        EXPECT_FALSE(machine.windows.files.Exists(folder + "PSCRIPT.NTF"));
        EXPECT_TRUE(machine.windows.files.Exists(folder + "PSCRIPT5.DLL")) << "the other driver's";
        EXPECT_TRUE(machine.windows.files.Exists(folder + "PS5UI.DLL")) << "the other driver's";
    }
}

// ---- files, shortcuts and keys ------------------------------------------------------------

TEST_F(UninstallModeTest, ProductFilesGoInListOrderWhatElseIsInTheFolderStays) {
    auto log = SampleInstallLog();
    log.ProgrammaticAccess = 1;  // deploys and registers the COM server
    ASSERT_EQ(Install(log, {"QLWFtp.dll"}), 0);
    windows.files.AddFile(Installed("My Letter.pdf"), "the user's");
    windows.files.AddFile(Installed("Preferences.lan"), "read-only", platform::kFileAttributeReadOnly);
    // The list's files this build deployed, in the list's order, then the COM server.
    std::vector<std::string> expected;
    for (const char* name : product::kRemovedProductFiles) {
        if (windows.files.Exists(Installed(name))) expected.push_back(name);
    }
    expected.push_back(product::kComServerName);
    expected.push_back("setup.inf");  // the install log goes last
    ASSERT_EQ(Uninstall(), uninstall::kExitDone);

    std::vector<std::string> deleted;
    for (const auto& entry : windows.journal.Entries()) {
        const std::string prefix = "DeleteFile C:\\Program Files\\Quillet\\";
        if (entry.rfind(prefix, 0) == 0) deleted.push_back(entry.substr(prefix.size()));
    }
    EXPECT_EQ(deleted, expected);
    EXPECT_TRUE(windows.files.Exists(Installed("My Letter.pdf")));
    EXPECT_TRUE(windows.files.Exists(Installed("Preferences.lan")));
    EXPECT_FALSE(windows.files.Exists(Installed("QLWFtp.dll")));

    // The COM server is unregistered by the system's tool, waited for, then deleted.
    ASSERT_EQ(windows.processes.started.size(), 2u);  // regsvr32 and the batch
    const auto& regsvr32 = windows.processes.started[0];
    EXPECT_EQ(regsvr32.commandLine,
              "\"C:\\Windows\\system32\\regsvr32.exe\" /s /u \"C:\\Program Files\\Quillet\\QLWFtp.dll\"");
    EXPECT_EQ(regsvr32.start.show, platform::WindowShow::Hide);
    EXPECT_EQ(regsvr32.waits, std::vector<std::uint32_t>{30000});
    EXPECT_LT(Position("WaitForProcess 30000"), Position("DeleteFile C:\\Program Files\\Quillet\\QLWFtp.dll"));
}

// Deleted while the registration may still name it, the COM server would leave the
// registry pointing at a missing file: it goes only after regsvr32 ended with 0.
TEST_F(UninstallModeTest, TheComServerStaysUnlessItsUnregistrationSucceeded) {
    const std::vector<std::pair<const char*, std::function<void(fake::FakeWindows&)>>> cases = {
        {"regsvr32 did not start", [](auto& w) { w.failures.Fail(fake::Op::CreateProcess, 2, "regsvr32"); }},
        {"regsvr32 failed", [](auto& w) { w.processes.exitCode = 3; }},
        {"regsvr32 did not end in time", [](auto& w) { w.processes.waitResult = platform::kWaitTimeout; }},
    };
    for (const auto& [name, arrange] : cases) {
        SCOPED_TRACE(name);
        testing_support::InstalledMachine machine;
        auto log = SampleInstallLog();
        log.ProgrammaticAccess = 1;
        ASSERT_EQ(machine.Install(log, {"QLWFtp.dll"}), 0);
        arrange(machine.windows);
        machine.windows.files.AddFolder("C:\\Logs");
        EXPECT_EQ(machine.Uninstall({"/uninstall", "/s", "/log=C:\\Logs\\run.log"}), uninstall::kExitDone);
        EXPECT_TRUE(machine.windows.files.Exists(Installed("QLWFtp.dll")));
        EXPECT_NE(machine.windows.files.Content("C:\\Logs\\run.log")->find("QLWFtp.dll: stays: regsvr32"),
                  std::string::npos);
    }
}

// A file in use cannot go now: it goes at the next restart, before the folder that holds
// it, and the run says that a restart is needed.
TEST_F(UninstallModeTest, FilesInUseGoAtTheNextRestartAndTheRunSaysSo) {
    for (const std::string& inUse : {Installed("Quillet.dll"), Installed("setup.inf"), std::string(kMonitorDll),
                                     Installed("GNUGS\\GSDLL32.DLL")}) {
        SCOPED_TRACE(inUse);
        testing_support::InstalledMachine machine;
        ASSERT_EQ(machine.Install(), 0);
        machine.windows.files.AddFile(Installed("GNUGS\\GSDLL32.DLL"), "dll");
        machine.windows.failures.Fail(fake::Op::DeleteFile, 32, inUse);  // ERROR_SHARING_VIOLATION
        EXPECT_EQ(machine.Uninstall(), uninstall::kExitRestartNeeded);
        const auto& pending = machine.windows.files.pendingAtRestart;
        const auto at = [&](const std::string& path) {
            return std::find_if(pending.begin(), pending.end(), [&](const auto& p) { return p.first == path; }) -
                   pending.begin();
        };
        ASSERT_LT(at(inUse), static_cast<long>(pending.size()));
        EXPECT_LT(at(inUse), at("C:\\Program Files\\Quillet"));
        EXPECT_EQ(pending.back().first, "C:\\Program Files\\Quillet");
    }
}

// A folder deleted by hand leaves an uninstall entry whose uninstaller is gone: Setup
// installs over it, and the uninstaller then removes everything.
TEST_F(UninstallModeTest, ABrokenInstallationIsInstalledOverAndThenRemoved) {
    ASSERT_EQ(Install(), 0);
    for (const auto& path : windows.files.AllPaths()) {
        if (fake::Normalize(path).rfind("c:\\program files\\quillet", 0) == 0) windows.files.Remove(path);
    }
    windows.spooler.printers.clear();
    EXPECT_EQ(Install(), 0);
    EXPECT_EQ(Uninstall(), uninstall::kExitDone);
    EXPECT_FALSE(KeyExists(kUninstallEntry));
    EXPECT_TRUE(windows.spooler.printers.empty());
    EXPECT_FALSE(windows.files.Exists(Installed("pagemill.exe")));
}

// Killed after some of the removal, the uninstaller is run again and finishes the job:
// the install log it needs is deleted last.
TEST_F(UninstallModeTest, ARemovalStoppedMidwayCanBeRunAgainToItsEnd) {
    ASSERT_EQ(Install(), 0);
    // What a run killed before the last files leaves: no entry, no port key, no spooler
    // objects, the install log and a few files.
    ASSERT_EQ(Uninstall(), uninstall::kExitDone);
    windows.files.AddFile(Installed("setup.inf"), *windows.files.Content(std::string(kMedium) + "Setup.inf"));
    windows.files.AddFile(Installed("pagemill.exe"), "MZ");
    windows.files.AddFile(Installed("unInstpm64.exe"), "MZ");
    EXPECT_EQ(Uninstall(), uninstall::kExitDone);
    EXPECT_FALSE(windows.files.Exists(Installed("pagemill.exe")));
    EXPECT_FALSE(windows.files.Exists(Installed("setup.inf")));
}

TEST_F(UninstallModeTest, TheGhostscriptFolderGoesWithItsFilesButNotItsSubfolders) {
    ASSERT_EQ(Install(), 0);
    windows.files.AddFile(Installed("GNUGS\\GSDLL32.DLL"), "dll");
    windows.files.AddFile(Installed("GNUGS\\gswin32c.exe"), "exe");
    ASSERT_EQ(Uninstall(), uninstall::kExitDone);
    EXPECT_FALSE(windows.files.Exists(Installed("GNUGS")));

    testing_support::InstalledMachine machine;
    ASSERT_EQ(machine.Install(), 0);
    machine.windows.files.AddFile(Installed("GNUGS\\lib\\gs_init.ps"), "ps");
    ASSERT_EQ(machine.Uninstall(), uninstall::kExitDone);
    EXPECT_TRUE(machine.windows.files.Exists(Installed("GNUGS\\lib\\gs_init.ps")));
}

TEST_F(UninstallModeTest, ShortcutsAreLookedForWhereTheInstallerPutThem) {
    struct Case {
        std::string group;
        std::string folder;  // below the Programs folder; empty: no shortcuts were made
    };
    const std::vector<Case> cases = {{"Brindle\\Quillet Writer", "Brindle\\Quillet Writer"},
                                     {"", "Quillet Writer"},  // the installer's product-name folder
                                     {"Quillet", "Quillet"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.group);
        testing_support::InstalledMachine machine;
        auto log = SampleInstallLog();
        log.ProgramGroup = c.group;
        machine.windows.system.version = {5, 2};  // with the uninstall shortcut
        machine.windows.files.AddFile(std::string(kPrograms) + "\\Other.lnk", "someone else's");
        ASSERT_EQ(machine.Install(log), 0);
        const std::string folder = std::string(kPrograms) + "\\" + c.folder;
        ASSERT_TRUE(machine.windows.files.Exists(folder + "\\Uninstall Quillet Writer.lnk"));
        ASSERT_EQ(machine.Uninstall(), uninstall::kExitDone);
        EXPECT_FALSE(machine.windows.files.Exists(folder));
        EXPECT_TRUE(machine.windows.files.Exists(std::string(kPrograms) + "\\Other.lnk"));
    }
}

TEST_F(UninstallModeTest, AGroupOutsideTheProgramsFolderIsNotTouched) {
    ASSERT_EQ(Install(), 0);
    windows.files.AddFile("C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Readme.lnk", "not ours");
    // A log changed after the installation: its group climbs out of the Programs folder.
    auto log = SampleInstallLog();
    log.ProgramGroup = "..";
    windows.files.AddFile(Installed("setup.inf"), installlog::EncodeInstallLog(log, {7}));
    ASSERT_EQ(Uninstall(), uninstall::kExitDone);
    EXPECT_TRUE(windows.files.Exists("C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Readme.lnk"));
}

TEST_F(UninstallModeTest, KeysWithSubkeysOfTheirOwnStay) {
    ASSERT_EQ(Install(), 0);
    windows.registry.AddKey(platform::RegistryRoot::LocalMachine, std::string(kProductKey) + "\\QLW1:\\Someone",
                            RegistryView::Force64);
    ASSERT_EQ(Uninstall(), uninstall::kExitDone);
    EXPECT_TRUE(KeyExists(std::string(kProductKey) + "\\QLW1:"));
    EXPECT_FALSE(KeyExists(kUninstallEntry));
}

// ---- the decoded log's temporary file ----------------------------------------------------

TEST_F(UninstallModeTest, TheDecodedLogGoesThroughANewTemporaryFileThatIsDeletedAgain) {
    ASSERT_EQ(Install(), 0);
    ASSERT_EQ(Uninstall(), uninstall::kExitDone);
    EXPECT_TRUE(Ran("GetTempFileName C:\\Users\\user\\AppData\\Local\\Temp\\ PMT"));
    EXPECT_LT(Position("WriteWholeFile C:\\Users\\user\\AppData\\Local\\Temp\\PMT"),
              Position("DeleteFile C:\\Users\\user\\AppData\\Local\\Temp\\PMT"));

    testing_support::InstalledMachine machine;  // no temporary folder: "temp.tmp" beside the log
    ASSERT_EQ(machine.Install(), 0);
    machine.windows.failures.Fail(fake::Op::GetTempPath, 3);
    ASSERT_EQ(machine.Uninstall(), uninstall::kExitDone);
    EXPECT_TRUE(machine.windows.journal.Contains("WriteWholeFile C:\\Program Files\\Quillet\\temp.tmp"));
    EXPECT_TRUE(machine.windows.journal.Contains("DeleteFile C:\\Program Files\\Quillet\\temp.tmp"));
}

// A temporary folder too long for a temporary file's name in MAX_PATH (the environment's
// TEMP may name one) is passed over for "temp.tmp" beside the log; one that just fits is
// used.
TEST_F(UninstallModeTest, ATemporaryFolderTooLongForTheNamesIsPassedOver) {
    for (const std::size_t length : {platform::kLongestTempFileFolder, platform::kLongestTempFileFolder + 1, std::size_t{260}}) {
        SCOPED_TRACE(length);
        testing_support::InstalledMachine machine;
        ASSERT_EQ(machine.Install(), 0);
        const std::string temp = "C:\\" + std::string(length - 4, 't') + "\\";
        machine.windows.files.AddFolder(temp);
        machine.windows.files.tempPath = temp;
        ASSERT_EQ(machine.Uninstall(), uninstall::kExitDone);
        const bool fits = length <= platform::kLongestTempFileFolder;
        EXPECT_EQ(machine.windows.journal.Contains("WriteWholeFile " + temp + "PMT"), fits);
        EXPECT_EQ(machine.windows.journal.Contains("WriteWholeFile C:\\Program Files\\Quillet\\temp.tmp"), !fits);
        EXPECT_FALSE(machine.KeyExists(testing_support::InstalledMachine::kUninstallEntry));
    }
}

TEST_F(UninstallModeTest, AnUninstallerAloneInAFolderWithoutTheLogRemovesNothing) {
    ASSERT_EQ(Install(), 0);
    const auto keys = windows.registry.AllKeys();
    windows.files.AddFile("C:\\Downloads\\unInstpm64.exe", "MZ");
    windows.system.moduleFileName = "C:\\Downloads\\unInstpm64.exe";
    windows.system.arguments = {"/uninstall", "/s"};
    windows.ui.strings = fake::UninstallerStrings();
    EXPECT_EQ(uninstall::RunUninstaller(windows.platform()), uninstall::kExitFailed);
    EXPECT_EQ(windows.registry.AllKeys(), keys);
    EXPECT_EQ(windows.spooler.printers.size(), 1u);
    EXPECT_TRUE(windows.files.Exists(Installed("pagemill.exe")));
}

}  // namespace
