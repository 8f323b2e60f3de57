#include <gtest/gtest.h>

#include "setup/spooler/port_monitor.h"
#include "tests/unit/spooler_step_fixture.h"

namespace {

using testing_support::SpoolerStepFixture;
using testing_support::TestPlatform;

class PortMonitorTest : public SpoolerStepFixture {};

// ---- the monitor DLL -----------------------------------------------------------------

TEST_F(PortMonitorTest, SixtyFourBitStartsTheMediumsCopyHelperByItsQuotedPathAndWaits) {
    Prepare(TestPlatform::Windows64);
    DeployPortMonitor();
    ASSERT_EQ(windows.processes.started.size(), 1u);
    EXPECT_EQ(windows.processes.started[0].commandLine, "\"C:\\Medium\\unInstpm64.exe\" /copy");
    EXPECT_EQ(windows.processes.started[0].start.show, platform::WindowShow::Show);
    // Waited for once, without a time-out (INFINITE): the copy takes as long as it takes.
    EXPECT_EQ(windows.processes.started[0].waits, std::vector<std::uint32_t>{0xFFFFFFFFu});
    EXPECT_EQ(windows.processes.terminated, 0);
    EXPECT_FALSE(windows.journal.Contains("CopyFile"));  // Setup does not write system32 itself
}

TEST_F(PortMonitorTest, AMediumPathWithSpacesStaysOneProgramName) {
    EXPECT_EQ(setup::CopyHelperCommandLine("D:\\My Medium\\"), "\"D:\\My Medium\\unInstpm64.exe\" /copy");
}

TEST_F(PortMonitorTest, AWaitThatFailsEndsTheHelper) {
    Prepare(TestPlatform::Windows64);
    windows.processes.waitResult = platform::kWaitFailed;
    DeployPortMonitor();
    EXPECT_EQ(windows.processes.terminated, 1);
}

TEST_F(PortMonitorTest, AHelperThatCannotStartIsPassedOver) {
    Prepare(TestPlatform::Windows64);
    windows.failures.Fail(fake::Op::CreateProcess, platform::kErrorFileNotFound);
    DeployPortMonitor();
    EXPECT_FALSE(windows.journal.Contains("WaitForProcess"));
}

TEST_F(PortMonitorTest, ThirtyTwoBitWindowsCopiesItsMonitorDllIntoTheSystemFolder) {
    windows.files.AddFile("C:\\Medium\\nimbmon32.dll", "monitor 32", platform::kFileAttributeReadOnly);
    windows.files.AddFile("C:\\Windows\\system32\\nimbmon32.dll", "older");
    Prepare(TestPlatform::Nt32);
    DeployPortMonitor();
    EXPECT_EQ(windows.files.Content("C:\\Windows\\system32\\nimbmon32.dll"), "monitor 32");
    EXPECT_EQ(windows.files.Attributes("C:\\Windows\\system32\\nimbmon32.dll") & platform::kFileAttributeReadOnly, 0u);
    EXPECT_TRUE(windows.processes.started.empty());

    windows.files.AddFile("C:\\Medium\\nimbmon.dll", "monitor 4.x");
    Prepare(TestPlatform::Windows98);
    DeployPortMonitor();
    EXPECT_EQ(windows.files.Content("C:\\Windows\\system32\\nimbmon.dll"), "monitor 4.x");
}

TEST_F(PortMonitorTest, AMissingMonitorDllOrAnOverlongPathIsPassedOver) {
    Prepare(TestPlatform::Nt32);
    DeployPortMonitor();  // no nimbmon32.dll on the medium
    EXPECT_FALSE(windows.files.Exists("C:\\Windows\\system32\\nimbmon32.dll"));

    context->state.sourceFolder = "C:\\" + std::string(245, 'm') + "\\";
    windows.files.AddFile(context->state.sourceFolder + "nimbmon32.dll", "monitor");
    windows.journal.Clear();
    DeployPortMonitor();
    EXPECT_FALSE(windows.journal.Contains("CopyFile"));
}

// ---- monitor and port -------------------------------------------------------------------

TEST_F(PortMonitorTest, RegistersTheMonitorStepsTheProgressThenAsksForThePort) {
    Prepare(TestPlatform::Windows64, false);
    context->feedback.ShowProgress(dialogs.OpenProgress("Setup is preparing..."));
    (void)RegisterPortMonitor();
    const int monitor = windows.journal.IndexOf(
        "AddMonitor NIMBRAX Writer Monitor x86 | Windows x64 | nimbmon64.dll");
    const int step = windows.journal.IndexOf("StepIt");
    const int port = windows.journal.IndexOf("AddPort NIMBRAX Writer Monitor x86");
    EXPECT_GE(monitor, 0);
    EXPECT_GT(step, monitor);
    EXPECT_GT(port, step);
    EXPECT_TRUE(windows.spooler.HasPort("QLW1:"));
}

TEST_F(PortMonitorTest, EachPlatformRegistersItsOwnDllUnderTheOneMonitorName) {
    Prepare(TestPlatform::Nt32);
    (void)RegisterPortMonitor();
    EXPECT_EQ(windows.spooler.monitorDlls["NIMBRAX Writer Monitor x86"], "nimbmon32.dll");
}

TEST_F(PortMonitorTest, AnAlreadyRegisteredMonitorStillGetsAskedForThePort) {
    Prepare(TestPlatform::Windows64);
    (void)RegisterPortMonitor();
    windows.journal.Clear();
    (void)RegisterPortMonitor();  // AddMonitor fails: already installed
    EXPECT_TRUE(windows.journal.Contains("AddPort"));
}

TEST_F(PortMonitorTest, FailingMonitorAndPortCallsDoNotStopTheInstallation) {
    WriteInstallLog(testing_support::SampleInstallLog());
    windows.failures.Fail(fake::Op::AddMonitor, platform::kErrorAccessDenied);
    windows.failures.Fail(fake::Op::AddPort, platform::kErrorAccessDenied);
    // Left by an earlier installation: the monitor and its port.
    windows.spooler.monitors.push_back("NIMBRAX Writer Monitor x86");
    windows.spooler.ports.push_back("QLW1:");
    EXPECT_EQ(Run({}), 0);
    EXPECT_EQ(windows.ui.shown.back().text.rfind("Setup has finished installing", 0), 0u);
    EXPECT_NE(windows.spooler.FindPrinter("Quillet Writer"), nullptr);
}

}  // namespace
