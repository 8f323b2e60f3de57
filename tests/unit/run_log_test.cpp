// "/log=PATH": one line per step of a run, for whoever rolls the product out.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "common/product/run_lock.h"
#include "common/runlog/run_log.h"
#include "setup/exit_codes.h"
#include "tests/unit/uninstall_fixture.h"
#include "uninstall/exit_codes.h"

namespace {

using testing_support::SampleInstallLog;

std::vector<std::string> Lines(const std::optional<std::string>& text) {
    std::vector<std::string> lines;
    std::istringstream in(text.value_or(""));
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

class RunLogTest : public testing_support::UninstallFixture {
protected:
    RunLogTest() { windows.files.AddFolder("C:\\Logs"); }
    std::vector<std::string> Log() const { return Lines(windows.files.Content("C:\\Logs\\run.log")); }
};

TEST(RunLogSwitch, OnlyASlashLogWithAPathIsOne) {
    EXPECT_EQ(runlog::RunLogPath("/log=C:\\Logs\\run.log"), std::optional<std::string>("C:\\Logs\\run.log"));
    EXPECT_EQ(runlog::RunLogPath("/LOG=x.log"), std::optional<std::string>("x.log"));
    for (const char* other : {"/log=", "/log", "-log=x", "log=x", "/logfile=x", "/s"}) {
        EXPECT_FALSE(runlog::RunLogPath(other)) << other;
    }
}

TEST_F(RunLogTest, ACompleteInstallationLogsEveryStepAndItsExitStatus) {
    WriteInstallLog(SampleInstallLog());
    ASSERT_EQ(Run({"/s", "/log=C:\\Logs\\run.log"}), 0);
    const std::vector<std::string> lines = Log();
    ASSERT_GE(lines.size(), 15u);
    EXPECT_EQ(lines.front(), "2026-12-08 09:05:07 Setup /s /log=C:\\Logs\\run.log");
    EXPECT_EQ(lines.back(), "2026-12-08 09:05:07 exit status 0");
    const std::vector<std::string> expected = {
        "step 4 install log: done", "step 12 product key: done", "step 16 destination folder: done",
        "step 18 product files: done", "step 20 printer driver: done", "step 23 printer: done",
        "step 24 uninstall entry: done", "step 31 port key: done"};
    for (const std::string& step : expected) {
        EXPECT_NE(std::find(lines.begin(), lines.end(), "2026-12-08 09:05:07 " + step), lines.end()) << step;
    }
    // Every line is stamped.
    for (const std::string& line : lines) EXPECT_EQ(line.rfind("2026-12-08 09:05:07 ", 0), 0u) << line;
}

TEST_F(RunLogTest, AFailureNamesItsStepTheErrorAndItsText) {
    WriteInstallLog(SampleInstallLog());
    EXPECT_EQ(Run({"/s", "-dC:\\", "/log=C:\\Logs\\run.log"}), 404);
    const std::vector<std::string> lines = Log();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[lines.size() - 2],
              "2026-12-08 09:05:07 step 16 destination folder: failed, error 161: The specified path is invalid.");
    EXPECT_EQ(lines.back(), "2026-12-08 09:05:07 exit status 404");
}

TEST_F(RunLogTest, WithoutTheSwitchOrWithALogThatCannotBeWrittenTheRunIsTheSame) {
    WriteInstallLog(SampleInstallLog());
    ASSERT_EQ(Run({"/s", "/log="}), 0);
    for (const auto& entry : windows.journal.Entries()) EXPECT_EQ(entry.find("AppendToFile"), std::string::npos) << entry;
    EXPECT_EQ(RunAgain({"/s", "/log=C:\\No Such Folder\\run.log"}), 0);
}

TEST_F(RunLogTest, TheUninstallerLogsItsStepsToo) {
    ASSERT_EQ(Install(), 0);
    ASSERT_EQ(Uninstall({"/uninstall", "/s", "/log=C:\\Logs\\run.log"}), uninstall::kExitDone);
    std::vector<std::string> lines = Log();
    for (std::string& line : lines) line.erase(0, 20);  // the time
    EXPECT_EQ(lines, (std::vector<std::string>{"unInstpm64 /uninstall /s /log=C:\\Logs\\run.log",
                                               "step 4 install log of Quillet Writer: read",
                                               "step 8 spooler objects: removed",
                                               "step 9 keys, shortcuts and files: removed",
                                               "step 11 self-removal: started", "exit status 0"}));
}

// What a deployment tool's silent run could not see goes to the run log: a box on a
// window station nobody sees, and why the spooler could not list its monitors.
TEST_F(RunLogTest, TheUninstallerLogsWhatASilentRunCouldNotShow) {
    const auto spoolerService = [](std::optional<platform::ServiceState> state) {
        return [state](testing_support::InstalledMachine& m) {
            m.windows.failures.Fail(fake::Op::EnumMonitors, 1722);
            m.windows.system.services.clear();
            if (state) m.windows.system.services["Spooler"] = *state;
        };
    };
    const auto invisible = [](testing_support::InstalledMachine& m) { m.windows.ui.windowStationVisible = false; };
    struct Case {
        const char* name;
        std::function<void(testing_support::InstalledMachine&)> arrange;
        int status;
        std::string line;  // after the time
        std::size_t boxes;
    };
    const std::vector<Case> cases = {
        {"no spooler service", spoolerService(std::nullopt), 1603, "step 6 port monitors: Spooler service: not installed", 0},
        {"a stopped spooler", spoolerService(platform::ServiceState{platform::kServiceStopped, 3}), 1603,
         "step 6 port monitors: Spooler service: stopped", 0},
        {"a disabled spooler", spoolerService(platform::ServiceState{platform::kServiceStopped, platform::kServiceDisabled}),
         1603, "step 6 port monitors: Spooler service: stopped, disabled", 0},
        {"the printer box, invisible",
         [invisible](auto& m) {
             invisible(m);
             m.windows.failures.Fail(fake::Op::DeletePrinter, platform::kErrorAccessDenied);
         },
         1603, "step 8 box not shown, no visible window station: Delete Printer failed. (Err-201)", 0},
        {"the printer box, a station that cannot be asked counts as visible",
         [](auto& m) {
             m.windows.ui.windowStationError = platform::kErrorAccessDenied;
             m.windows.failures.Fail(fake::Op::DeletePrinter, platform::kErrorAccessDenied);
         },
         1603, "step 11 self-removal: started", 1},
        {"another run holds the lock",
         [](auto& m) { m.windows.processes.openMutexes[product::RunLockName()] = 1; }, 1618,
         "step 0 run lock: held by another installation or removal", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testing_support::InstalledMachine machine;
        machine.windows.files.AddFolder("C:\\Logs");
        ASSERT_EQ(machine.Install(), 0);
        c.arrange(machine);
        EXPECT_EQ(machine.Uninstall({"/uninstall", "/s", "/log=C:\\Logs\\run.log"}), c.status);
        std::vector<std::string> lines = Lines(machine.windows.files.Content("C:\\Logs\\run.log"));
        for (std::string& line : lines) line.erase(0, 20);
        EXPECT_NE(std::find(lines.begin(), lines.end(), c.line), lines.end()) << ::testing::PrintToString(lines);
        EXPECT_EQ(machine.windows.ui.shown.size(), c.boxes);
    }
}

TEST_F(RunLogTest, TheLogSwitchIsNeverTakenForAModeOrARegisterArgument) {
    ASSERT_EQ(Install(), 0);
    windows.files.AddFolder("C:\\copy");
    // Contains "/copy", and stands after "/register": still only the log.
    EXPECT_EQ(Uninstall({"/register", "C:\\u.exe", "Name", "/log=C:/copy/run.log"}), uninstall::kExitDone);
    const auto lines = Lines(windows.files.Content("C:\\copy\\run.log"));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_NE(lines[1].find("step 1 uninstall entry Name: written"), std::string::npos);
    EXPECT_TRUE(windows.registry.KeyExists(platform::RegistryRoot::LocalMachine,
                                           "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Name",
                                           platform::RegistryView::Native));
}

}  // namespace
