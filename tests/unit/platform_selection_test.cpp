#include <gtest/gtest.h>

#include <optional>

#include "setup/platform_selection.h"
#include "setup/spooler/port_monitor.h"
#include "tests/unit/setup_fixture.h"

namespace {

using product::PlatformId;
using testing_support::SetupFixture;

struct PlatformCase {
    const char* what;
    platform::OsVersion version;
    bool underWow64;              // what IsWow64Process answers
    std::uint16_t nativeMachine;  // what IsWow64Process2 answers; unknown: the call is missing
    bool programIs64Bit;
    std::optional<PlatformId> row;  // none: refused as too old
};

constexpr std::uint16_t kOld = platform::kMachineUnknown;
constexpr std::uint16_t kX86 = platform::kMachineI386;
constexpr std::uint16_t kX64 = platform::kMachineAmd64;
constexpr std::uint16_t kArm = platform::kMachineArm64;

const PlatformCase kPlatformCases[] = {
    {"Windows 2000 is not asked about WOW64", {5, 0}, true, kOld, false, PlatformId::WindowsNtX86},
    {"XP x64 under WOW64", {5, 1}, true, kOld, false, PlatformId::WindowsX64},
    {"Server 2003 x64 under WOW64", {5, 2}, true, kOld, false, PlatformId::WindowsX64},
    {"Windows 7 x64 under WOW64", {6, 1}, true, kOld, false, PlatformId::WindowsX64},
    {"Windows 7 32-bit", {6, 1}, false, kOld, false, PlatformId::WindowsNtX86},
    {"the 64-bit build is native", {10, 0}, false, kOld, true, PlatformId::WindowsX64},
    {"Windows 98", {4, 10}, true, kOld, false, PlatformId::Windows4x},
    {"Windows Me", {4, 90}, true, kOld, false, PlatformId::Windows4x},
    {"Windows 95", {4, 0}, false, kOld, false, std::nullopt},
    {"Windows NT 3.51", {3, 51}, false, kOld, false, std::nullopt},
    {"below 4.10", {4, 9}, false, kOld, false, std::nullopt},
    {"Windows 11 x64 says its machine", {10, 0}, true, kX64, false, PlatformId::WindowsX64},
    {"Windows 10 32-bit says its machine", {10, 0}, false, kX86, false, PlatformId::WindowsNtX86},
    {"Windows 11 on ARM, 32-bit Setup under WOW64", {10, 0}, true, kArm, false, PlatformId::WindowsOnArm},
    {"Windows 11 on ARM, x64 Setup emulated", {10, 0}, false, kArm, true, PlatformId::WindowsOnArm},
};

TEST(PlatformSelection, EachWindowsGetsItsRow) {
    for (const PlatformCase& c : kPlatformCases) {
        SCOPED_TRACE(c.what);
        fake::FakeWindows windows;
        windows.system.version = c.version;
        windows.system.isWow64 = c.underWow64;
        windows.system.nativeMachine = c.nativeMachine;
        const setup::SelectedPlatform selected = setup::SelectPlatformRow(windows.system, c.programIs64Bit);
        if (!c.row) {
            EXPECT_EQ(selected.row, nullptr);
            continue;
        }
        ASSERT_NE(selected.row, nullptr);
        EXPECT_EQ(selected.row->id, *c.row);
        EXPECT_EQ(selected.version.major, c.version.major);
        if (c.version.major < 5 || (c.version.major == 5 && c.version.minor == 0)) {
            EXPECT_EQ(windows.system.isWow64ProcessCalls, 0);
        }
    }
}

TEST(PlatformSelection, WithoutAnAnswerFromIsWow64Process2TheOlderProbeDecides) {
    fake::FakeWindows windows;
    windows.system.version = {10, 0};
    windows.system.nativeMachine = kArm;
    windows.failures.Fail(fake::Op::IsWow64Process2, platform::kErrorAccessDenied);
    EXPECT_EQ(setup::SelectPlatformRow(windows.system, false).row->id, PlatformId::WindowsX64);
    windows.system.hasIsWow64Process = false;
    EXPECT_EQ(setup::SelectPlatformRow(windows.system, false).row->id, PlatformId::WindowsNtX86);
    windows.failures.Fail(fake::Op::GetVersionEx, platform::kErrorGenFailure);
    EXPECT_EQ(setup::SelectPlatformRow(windows.system, false).row, nullptr);
}

class RefusedPlatformTest : public SetupFixture {};

// An ARM machine and a too old Windows are refused with their own box, also when
// silent, before anything is written.
TEST_F(RefusedPlatformTest, ArmAndOldWindowsEndBeforeAnythingIsWritten) {
    const std::pair<platform::OsVersion, const char*> refusals[] = {
        {{10, 0}, "Quillet Writer does not support Windows on ARM."},
        {{4, 0}, "Quillet Writer does not support Windows95/NT."}};
    for (const auto& [version, text] : refusals) {
        SCOPED_TRACE(text);
        testing_support::SetupMachine machine;
        machine.WriteInstallLog(testing_support::SampleInstallLog());
        machine.windows.system.version = version;
        machine.windows.system.nativeMachine = kArm;
        EXPECT_EQ(machine.Run({"/s"}), 1603);
        EXPECT_EQ(machine.BoxTexts(), std::vector<std::string>{text});
        EXPECT_EQ(machine.windows.ui.shown.at(0).caption, "Quillet Writer Setup");
        EXPECT_EQ(machine.windows.journal.IndexOf("CreateKey"), -1);
        EXPECT_EQ(machine.windows.journal.IndexOf("CopyFile"), -1);
        EXPECT_EQ(machine.windows.journal.IndexOf("EnumMonitors"), -1);
    }
}

class PortMonitorCheckTest : public SetupFixture {};

TEST_F(PortMonitorCheckTest, AsksAgainWithTheSizeTheSpoolerWants) {
    windows.spooler.monitors.assign(300, "A monitor with a fairly long descriptive name");
    ASSERT_GT(windows.spooler.MonitorListBytes(), 4096u);
    EXPECT_TRUE(setup::CheckPortMonitors(windows.spooler).ok());
    ASSERT_EQ(windows.spooler.enumMonitorBufferSizes.size(), 2u);
    EXPECT_EQ(windows.spooler.enumMonitorBufferSizes[0], 4096u);
    EXPECT_EQ(windows.spooler.enumMonitorBufferSizes[1], windows.spooler.MonitorListBytes());
}

TEST_F(PortMonitorCheckTest, FailsWithTheSpoolersError) {
    windows.failures.Fail(fake::Op::EnumMonitors, 1722);
    const setup::StepResult result = setup::CheckPortMonitors(windows.spooler);
    EXPECT_EQ(result.messageId, 106u);
    EXPECT_EQ(result.error, 1722u);
}

TEST_F(PortMonitorCheckTest, GivesUpOnAListThatKeepsGrowing) {
    // A spooler that always wants more than it was offered must not keep us forever.
    windows.spooler.monitors.assign(300, "A monitor with a fairly long descriptive name");
    windows.failures.Fail(fake::Op::EnumMonitors, platform::kErrorInsufficientBuffer);
    const setup::StepResult result = setup::CheckPortMonitors(windows.spooler);
    EXPECT_EQ(result.messageId, 106u);
    EXPECT_LE(windows.spooler.enumMonitorBufferSizes.size(), 4u);
}

}  // namespace
