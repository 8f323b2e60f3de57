// "/log=PATH": one line per step of a run, for whoever rolls the product out.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

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
