// Over-long and odd inputs where they enter the programs, each through a whole run: a
// medium in a folder with blanks, non-ASCII or double-byte names, command lines of
// 32 KB, settings files of megabytes, and destinations and program groups whose last
// character is a double-byte one. Each is taken whole, or refused, never overrun or cut
// into another name. (Destination lengths: install_outcomes_test.cpp; names at their
// field limits: install_log_test.cpp.)
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/product/registry_names.h"
#include "setup/exit_codes.h"
#include "tests/shared/private_profile_cases.h"
#include "tests/unit/uninstall_fixture.h"
#include "uninstall/exit_codes.h"

namespace {

using platform::RegistryRoot;
using platform::RegistryView;
using testing_support::SampleInstallLog;
using testing_support::SetupMachine;

// Shift-JIS, whose second bytes include the value of a backslash: "表" is 0x95 0x5C and
// "ソ" 0x83 0x5C.
const std::vector<platform::LeadByteRange> kShiftJis = {{0x81, 0x9F}, {0xE0, 0xFC}};
const std::string kTable = "\x95\x5C";
const std::string kSo = "\x83\x5C";

constexpr std::size_t k32KB = 32767;  // the longest command line Windows starts a program with

std::string UninstallString(const SetupMachine& machine) {
    const auto value = machine.windows.registry.Value(
        RegistryRoot::LocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quillet Writer",
        "UninstallString", RegistryView::Force64);
    if (!value) return "<none>";
    return std::string(value->data.begin(), value->data.end()).c_str();
}

// ---- names at their field limits, through a whole run ------------------------------------

// Each name of the install log at the longest its field holds arrives whole where it goes:
// the printer and its port at the spooler, the paper's form name in the printer's
// settings, the product name as the uninstall entry's key (at the longest a key path
// allows). A program group that leaves no room in MAX_PATH for a shortcut's name gets no
// shortcut rather than a cut one. (Past the limits the reader refuses the file:
// install_log_test.cpp.) An install log of megabytes, in its unused text, reads as well.
TEST(HostileInputs, NamesAtTheirFieldLimitsArriveWhole) {
    struct Case {
        const char* name;
        void (*change)(installlog::InstallLog&);
        bool (*arrived)(const SetupMachine&, const installlog::InstallLog&);
    };
    const std::vector<Case> cases = {
        {"a printer name of 63 bytes", [](installlog::InstallLog& log) { log.PrinterName = std::string(63, 'P'); },
         [](const SetupMachine& f, const installlog::InstallLog& log) {
             return f.windows.spooler.printers.size() == 1 &&
                    f.windows.spooler.printers.front().info.printerName == log.PrinterName;
         }},
        {"a port name of 63 bytes",
         [](installlog::InstallLog& log) { log.PortName = std::string(62, 'Q') + ":"; },
         [](const SetupMachine& f, const installlog::InstallLog& log) {
             return f.windows.spooler.printers.size() == 1 &&
                    f.windows.spooler.printers.front().info.portName == log.PortName &&
                    f.windows.registry.KeyExists(RegistryRoot::LocalMachine,
                                                 "SOFTWARE\\NIMBRAX Writer\\" + log.PortName, RegistryView::Force64);
         }},
        {"a form name of 31 bytes", [](installlog::InstallLog& log) { log.PaperSizeName = std::string(31, 'F'); },
         [](const SetupMachine& f, const installlog::InstallLog& log) {
             return f.windows.spooler.printers.size() == 1 && f.windows.spooler.printers.front().globalDevMode &&
                    f.windows.spooler.printers.front().globalDevMode->FormName() == log.PaperSizeName;
         }},
        {"a product name of 203 bytes", [](installlog::InstallLog& log) { log.ProductName = std::string(203, 'N'); },
         [](const SetupMachine& f, const installlog::InstallLog& log) {
             return f.windows.registry.KeyExists(RegistryRoot::LocalMachine,
                                                 product::UninstallKeyPath(log.ProductName), RegistryView::Force64);
         }},
        {"a program group of 259 bytes",
         [](installlog::InstallLog& log) { log.ProgramGroup = std::string(100, 'G') + "\\" + std::string(158, 'G'); },
         [](const SetupMachine& f, const installlog::InstallLog&) {
             for (const std::string& path : f.windows.files.AllPaths()) {
                 if (path.size() > 4 && path.compare(path.size() - 4, 4, ".lnk") == 0) return false;
             }
             return true;
         }},
        {"an unused text of 8 MB",
         [](installlog::InstallLog& log) { log.SpareText = std::string(8 * profile_cases::kMegabyte, 's'); },
         [](const SetupMachine& f, const installlog::InstallLog&) { return f.windows.spooler.printers.size() == 1; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetupMachine f;
        auto log = SampleInstallLog();
        c.change(log);
        // The monitor adds the port the install log names.
        f.windows.spooler.portAddedByMonitor = log.PortName;
        f.WriteInstallLog(log);
        EXPECT_EQ(f.Run({"/s"}), setup::kExitInstalled);
        EXPECT_TRUE(c.arrived(f, log));
    }
}

// ---- the medium's folder --------------------------------------------------------------

TEST(HostileInputs, AMediumInAFolderWithBlanksNonAsciiOrDoubleByteNamesInstallsFromThere) {
    struct Case {
        const char* name;
        std::string medium;
        bool shiftJis;
    };
    const std::vector<Case> cases = {
        {"blanks, parentheses, an ampersand and Latin letters",
         "C:\\Users\\Zo\xEB M\xFCller\\Downloads\\Quillet Writer 5 (Beta) & Co\\", false},
        {"the root of a drive", "E:\\", false},
        {"a share with a blank", "\\\\fileserver\\install share\\Quillet Writer\\", false},
        {"double-byte names ending in a 0x5C byte", "C:\\" + kSo + "\x83\x74\x83\x67\\" + kTable + "\\", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetupMachine f(c.medium);
        if (c.shiftJis) f.windows.system.leadByteRanges = kShiftJis;
        f.WriteInstallLog(SampleInstallLog());
        // The settings beside Setup.exe are the ones read.
        f.WriteSettings("[Parameters]\r\nDestinationFolder=D:\\Target\r\n");

        EXPECT_EQ(f.Run({"/s"}), setup::kExitInstalled);
        EXPECT_EQ(f.State().sourceFolder, c.medium);
        EXPECT_EQ(f.State().destinationFolder, "D:\\Target");
        EXPECT_EQ(f.windows.files.Content("D:\\Target\\setup.inf"), f.windows.files.Content(c.medium + "Setup.inf"));
        EXPECT_EQ(f.windows.files.Content("D:\\Target\\pagemill.exe"), "pagemill64.exe");
        ASSERT_FALSE(f.windows.processes.started.empty());
        EXPECT_EQ(f.windows.processes.started.front().commandLine, "\"" + c.medium + "unInstpm64.exe\" /copy");
    }
}

// ---- command lines of 32 KB -------------------------------------------------------------

TEST(HostileInputs, CommandLinesOf32KBChangeNothingButWhatTheySay) {
    // (A destination of 32 KB is refused: see DestinationsLongerThanTheCopyPathsHold.)
    struct Case {
        const char* name;
        std::vector<std::string> arguments;
        bool shortcuts;
    };
    const std::vector<Case> cases = {
        {"one unknown argument", {"/s", std::string(k32KB - 3, 'x')}, true},
        {"many unknown arguments", std::vector<std::string>(k32KB / 4, "/x/"), true},
        {"a long switch", {"/s", "/c" + std::string(k32KB - 6, 'c')}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetupMachine f;
        f.WriteInstallLog(SampleInstallLog());
        EXPECT_EQ(f.Run(c.arguments), setup::kExitInstalled);
        EXPECT_EQ(f.State().createShortcuts, c.shortcuts);
        EXPECT_EQ(f.State().destinationFolder, "C:\\Program Files\\Quillet");
    }
}

TEST(HostileInputs, TheUninstallerTakesItsSwitchesFromACommandLineOf32KB) {
    struct Case {
        const char* name;
        std::vector<std::string> arguments;
        bool removed;
        int status = uninstall::kExitDone;
    };
    const std::vector<Case> cases = {
        {"unknown arguments after the switches", {"/uninstall", "/s", std::string(k32KB - 16, 'x')}, true},
        {"the switch inside a long argument", {std::string(16000, 'x') + "/uninstall" + std::string(16000, 'x'), "/s"},
         true},
        {"a long argument that only resembles it", {std::string(k32KB - 3, '/'), "/s"}, false,
         uninstall::kExitInvalidParameter},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testing_support::InstalledMachine machine;
        ASSERT_EQ(machine.Install(), setup::kExitInstalled);
        EXPECT_EQ(machine.Uninstall(c.arguments), c.status);
        EXPECT_EQ(machine.KeyExists(testing_support::InstalledMachine::kUninstallEntry), !c.removed);
        EXPECT_TRUE(machine.windows.ui.shown.empty()) << "silent";
    }
}

// ---- settings files of megabytes --------------------------------------------------------

// What the installer reads from a settings file of several megabytes: the key at its end
// is found, and values are cut to their fields as always. A value cut to 999 characters
// is judged as such: too long for a destination.
TEST(HostileInputs, SettingsFilesOfMegabytesAreReadWholeAndTheirValuesCut) {
    using profile_cases::kMegabyte;
    struct Case {
        const char* name;
        std::string settings;
        int exitCode;
        std::string destination;  // when installed
    };
    const std::vector<Case> cases = {
        {"the key after 4 MB of other lines",
         profile_cases::OtherLines(4 * kMegabyte) + "[Parameters]\r\nDestinationFolder=D:\\Far\r\n",
         setup::kExitInstalled, "D:\\Far"},
        {"a value of 2 MB", "[Parameters]\r\nDestinationFolder=D:\\" + std::string(2 * kMegabyte, 'd') + "\r\n", 404, ""},
        {"one line of 3 MB without a line end", std::string(3 * kMegabyte, '['), setup::kExitInstalled,
         "C:\\Program Files\\Quillet"},
        {"1 MB of zero bytes before the key",
         std::string(kMegabyte, '\0') + "\r\n[Parameters]\r\nDestinationFolder=D:\\Far\r\n", setup::kExitInstalled,
         "D:\\Far"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetupMachine f;
        f.WriteInstallLog(SampleInstallLog());
        f.WriteSettings(c.settings);
        EXPECT_EQ(f.Run({"/s"}), c.exitCode);
        if (c.exitCode == setup::kExitInstalled) {
            EXPECT_EQ(f.State().destinationFolder, c.destination);
        }
    }
}

TEST(HostileInputs, ACommandOfMegabytesIsStoredCutTo999Characters) {
    SetupMachine f;
    f.WriteInstallLog(SampleInstallLog());
    f.WriteSettings("[Parameters]\r\nCommand=" + std::string(2 * profile_cases::kMegabyte, 'c') + "\r\n");
    // The run ends after the product key is written, so its transient values stay.
    f.windows.failures.Fail(fake::Op::CreateDirectory, platform::kErrorAccessDenied);
    EXPECT_EQ(f.Run({"/s"}), 404);
    const auto command = f.windows.registry.Value(RegistryRoot::LocalMachine, "SOFTWARE\\NIMBRAX Writer", "Command",
                                                  RegistryView::Force64);
    ASSERT_TRUE(command);
    EXPECT_EQ(std::string(command->data.begin(), command->data.end()).c_str(), std::string(999, 'c'));
}

// ---- a double-byte last character -------------------------------------------------------

// A destination whose last character is "表" keeps its 0x5C byte, with or without a
// trailing backslash after it; one that ends in a lead byte alone would put the files
// beside the folder (its backslash would become the character's second byte) and is
// refused. The uninstall entry names the program in the folder.
TEST(HostileInputs, DestinationsEndingInADoubleByteCharacter) {
    struct Case {
        const char* name;
        std::vector<std::string> arguments;
        std::string settings;
        int exitCode;
    };
    const std::string folder = "D:\\Apps\\" + kTable;
    const std::vector<Case> cases = {
        {"-d", {"/s", "-d" + folder}, "", setup::kExitInstalled},
        {"-d with a backslash", {"/s", "-d" + folder + "\\"}, "", setup::kExitInstalled},
        {"-d quoted with a backslash", {"/s", "-d\"" + folder + "\\\""}, "", setup::kExitInstalled},
        {"settings", {"/s"}, "[Parameters]\r\nDestinationFolder=" + folder + "\r\n", setup::kExitInstalled},
        {"settings with a backslash", {"/s"}, "[Parameters]\r\nDestinationFolder=" + folder + "\\\r\n",
         setup::kExitInstalled},
        {"a lead byte alone", {"/s", "-dD:\\Apps\\\x95"}, "", 404},
        {"a lead byte alone in the settings", {"/s"}, "[Parameters]\r\nDestinationFolder=D:\\Apps\\\x95\r\n", 404},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetupMachine f;
        f.windows.system.leadByteRanges = kShiftJis;
        f.WriteInstallLog(SampleInstallLog());
        if (!c.settings.empty()) f.WriteSettings(c.settings);
        EXPECT_EQ(f.Run(c.arguments), c.exitCode);
        if (c.exitCode != setup::kExitInstalled) {
            EXPECT_FALSE(f.windows.journal.Contains("CreateDirectory"));
            continue;
        }
        EXPECT_EQ(f.State().destinationFolder, folder);
        EXPECT_EQ(UninstallString(f), "\"" + folder + "\\unInstpm64.exe\" /uninstall");
    }
}

TEST(HostileInputs, ProgramGroupsEndingInADoubleByteCharacter) {
    const std::string programs = "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\";
    for (const bool whole : {true, false}) {
        SCOPED_TRACE(whole ? "a whole character" : "a lead byte alone");
        SetupMachine f;
        f.windows.system.leadByteRanges = kShiftJis;
        auto log = SampleInstallLog();
        log.ProgramGroup = "Brindle\\" + (whole ? kTable : std::string("\x95"));
        f.WriteInstallLog(log);
        EXPECT_EQ(f.Run({"/s"}), setup::kExitInstalled);
        const bool linked = f.windows.files.Exists(programs + "Brindle\\" + kTable + "\\Preferences.lnk");
        EXPECT_EQ(linked, whole);
        const auto errorLog = f.windows.files.Content("C:\\Program Files\\Quillet\\Error.log").value_or("");
        EXPECT_EQ(errorLog.find("Start-menu shortcuts skipped") != std::string::npos, !whole) << errorLog;
    }
}

}  // namespace
