#include <gtest/gtest.h>

#include "setup/spooler/spooler_platform.h"
#include "tests/unit/setup_fixture.h"

namespace {

using namespace setup;

class SpoolerPlatformTest : public testing_support::SetupFixture {
protected:
    bool Select(std::uint32_t major, std::uint32_t minor, bool wow64, bool is64BitProgram = false) {
        windows.system.version = {major, minor};
        windows.system.isWow64 = wow64;
        context = std::make_unique<SetupContext>(windows.platform(), dialogs, is64BitProgram);
        context->state.productName = "Quillet Writer";
        return SelectSpoolerPlatform(*context);
    }
    const SpoolerPlatform& Spooler() const { return context->spooler; }
};

TEST_F(SpoolerPlatformTest, Windows2000IsNtX86WithoutAskingWow64) {
    ASSERT_TRUE(Select(5, 0, true));
    EXPECT_TRUE(Spooler().isNtFamily);
    EXPECT_FALSE(Spooler().isWow64);
    EXPECT_EQ(Spooler().environment, "Windows NT x86");
    EXPECT_EQ(Spooler().monitorDll, "nimbmon32.dll");
    EXPECT_EQ(windows.system.isWow64ProcessCalls, 0);
}

TEST_F(SpoolerPlatformTest, XpAndLaterUnderWow64AreX64WithTheX86MonitorName) {
    for (const auto& version : {std::pair{5u, 1u}, std::pair{5u, 2u}, std::pair{6u, 1u}, std::pair{10u, 0u}}) {
        ASSERT_TRUE(Select(version.first, version.second, true));
        EXPECT_TRUE(Spooler().isWow64);
        EXPECT_EQ(Spooler().environment, "Windows x64");
        EXPECT_EQ(Spooler().monitorDll, "nimbmon64.dll");
        EXPECT_EQ(Spooler().monitorName, "NIMBRAX Writer Monitor x86");
        EXPECT_TRUE(context->state.isWow64);
        EXPECT_EQ(context->state.osMajor, version.first);
    }
}

TEST_F(SpoolerPlatformTest, ThirtyTwoBitNtWhenNotUnderWow64) {
    ASSERT_TRUE(Select(6, 1, false));
    EXPECT_EQ(Spooler().environment, "Windows NT x86");
    EXPECT_EQ(Spooler().monitorDll, "nimbmon32.dll");
    windows.system.hasIsWow64Process = false;
    ASSERT_TRUE(Select(5, 1, true));
    EXPECT_FALSE(Spooler().isWow64);
}

TEST_F(SpoolerPlatformTest, SixtyFourBitProgramAlwaysTakesTheX64Row) {
    // Its own probe truthfully says "not WOW64": a 64-bit process is native.
    ASSERT_TRUE(Select(10, 0, false, true));
    EXPECT_TRUE(Spooler().isWow64);
    EXPECT_EQ(Spooler().environment, "Windows x64");
}

TEST_F(SpoolerPlatformTest, Windows98AndMeAreThe4xFamily) {
    for (const auto minor : {10u, 90u}) {
        ASSERT_TRUE(Select(4, minor, true));
        EXPECT_FALSE(Spooler().isNtFamily);
        EXPECT_FALSE(Spooler().isWow64);
        EXPECT_EQ(Spooler().environment, "Windows 4.0");
        EXPECT_EQ(Spooler().monitorDll, "nimbmon.dll");
    }
    EXPECT_EQ(windows.system.isWow64ProcessCalls, 0);
}

TEST_F(SpoolerPlatformTest, Windows95AndNt4AreRefusedWithTheirBox) {
    for (const auto& version : {std::pair{4u, 0u}, std::pair{3u, 51u}, std::pair{4u, 9u}}) {
        windows.ui.shown.clear();
        EXPECT_FALSE(Select(version.first, version.second, false));
        ASSERT_EQ(windows.ui.shown.size(), 1u);
        EXPECT_EQ(windows.ui.shown[0].text, "Quillet Writer does not support Windows95/NT.");
        EXPECT_EQ(windows.ui.shown[0].caption, "Quillet Writer Setup");
    }
}

TEST_F(SpoolerPlatformTest, MonitorCheckAsksAgainWithTheSizeTheSpoolerWants) {
    Select(10, 0, true);
    windows.spooler.monitors.assign(300, "A monitor with a fairly long descriptive name");
    ASSERT_GT(windows.spooler.MonitorListBytes(), 4096u);
    EXPECT_TRUE(CheckPortMonitors(*context).ok());
    ASSERT_EQ(windows.spooler.enumMonitorBufferSizes.size(), 2u);
    EXPECT_EQ(windows.spooler.enumMonitorBufferSizes[0], 4096u);
    EXPECT_EQ(windows.spooler.enumMonitorBufferSizes[1], windows.spooler.MonitorListBytes());
}

TEST_F(SpoolerPlatformTest, MonitorCheckFailsWithTheSpoolersError) {
    Select(10, 0, true);
    windows.failures.Fail(fake::Op::EnumMonitors, 1722);
    const StepResult result = CheckPortMonitors(*context);
    EXPECT_EQ(result.messageId, 106u);
    EXPECT_EQ(result.error, 1722u);
}

TEST_F(SpoolerPlatformTest, MonitorCheckGivesUpOnAListThatKeepsGrowing) {
    Select(10, 0, true);
    // A spooler that always wants more than it was offered must not keep us forever.
    windows.spooler.monitors.assign(300, "A monitor with a fairly long descriptive name");
    windows.failures.Fail(fake::Op::EnumMonitors, platform::kErrorInsufficientBuffer);
    const StepResult result = CheckPortMonitors(*context);
    EXPECT_EQ(result.messageId, 106u);
    EXPECT_LE(windows.spooler.enumMonitorBufferSizes.size(), 4u);
}

}  // namespace
