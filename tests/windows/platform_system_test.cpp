// The real system information, string table and spooler behind the boundary.
#include <gtest/gtest.h>

#include "platform/win32/windows_api.h"

#include "platform/win32/win32_platform.h"
#include "resources/setup/setup_strings.h"

namespace {

using namespace platform::win32;

TEST(Win32System, VersionAndFolders) {
    Win32SystemInfo system;
    const auto version = system.GetVersionEx();
    ASSERT_TRUE(version);
    EXPECT_GE(version.value().major, 5u);

    const auto folder = system.GetSystemDirectory(257);
    ASSERT_TRUE(folder);
    EXPECT_NE(folder.value().find(":\\"), std::string::npos);
    EXPECT_NE(folder.value().back(), '\\');
    EXPECT_EQ(system.GetSystemDirectory(4).error, platform::kErrorInsufficientBuffer);

    const auto own = system.GetModuleFileName(501);
    ASSERT_TRUE(own);
    EXPECT_NE(own.value().find("windows_tests"), std::string::npos);
    EXPECT_FALSE(system.GetModuleFileName(4));
}

// The self-removal batch names its paths as the command interpreter reads them. Whatever
// the pages are, plain ASCII stays as it is and a text round-trips through the OEM page
// or is refused as a whole.
TEST(Win32System, AnsiTextInTheOemCodePage) {
    Win32SystemInfo system;
    EXPECT_EQ(system.AnsiToOem("C:\\Program Files\\Quillet").value(), "C:\\Program Files\\Quillet");
    EXPECT_EQ(system.AnsiToOem("").value(), "");
    const std::string accented = "Caf\xE9";
    const auto oem = system.AnsiToOem(accented);
    if (GetACP() == 1252 && (GetOEMCP() == 437 || GetOEMCP() == 850)) {
        EXPECT_EQ(oem.value(), "Caf\x82");
        EXPECT_EQ(system.AnsiToOem("\x80").error, platform::kErrorNoUnicodeTranslation);  // the euro sign
    }
    RecordProperty("code pages", std::to_string(GetACP()) + "/" + std::to_string(GetOEMCP()));
}

TEST(Win32System, SixtyFourBitProcessIsNotWow64) {
    Win32SystemInfo system;
    ASSERT_TRUE(system.HasIsWow64Process());
    const auto answer = system.IsWow64Process();
    ASSERT_TRUE(answer);
    EXPECT_FALSE(answer.value());  // a 64-bit process is native, not under WOW64
}

TEST(Win32System, SixtyFourBitProcessOnAnX64Machine) {
    Win32SystemInfo system;
    const auto machines = system.IsWow64Process2();
    // Absent before Windows 10 1709: then the older probe decides.
    if (!machines) {
        EXPECT_EQ(machines.error, 120u);  // ERROR_CALL_NOT_IMPLEMENTED
        return;
    }
    EXPECT_EQ(machines.value().process, platform::kMachineUnknown);  // not under WOW64
    EXPECT_EQ(machines.value().native, platform::kMachineAmd64);
}

// Read-only, through the service control manager: the spooler is there (stopped or
// running), a made-up service is not.
TEST(Win32System, ServiceStatesAreReadWithoutChangingThem) {
    Win32SystemInfo system;
    const auto spooler = system.QueryServiceState("Spooler");
    ASSERT_TRUE(spooler) << spooler.error;
    EXPECT_TRUE(spooler.value().currentState == platform::kServiceStopped ||
                spooler.value().currentState == platform::kServiceRunning);
    EXPECT_NE(spooler.value().startType, 0u);
    EXPECT_EQ(system.QueryServiceState("NoSuchServiceOfOurs").error, platform::kErrorServiceDoesNotExist);
}

TEST(Win32System, SystemTextsForKnownCodesOnly) {
    Win32SystemInfo system;
    EXPECT_FALSE(system.FormatSystemMessage(5).empty());
    EXPECT_TRUE(system.FormatSystemMessage(0x3FFFFFFFu).empty());
}

TEST(Win32UserInterface, StringTableKeepsLineBreaksAndCuts) {
    Win32UserInterface ui;
    EXPECT_EQ(ui.LoadString(IDS_WELCOME, 256), TEXT_WELCOME);
    EXPECT_EQ(ui.LoadString(IDS_FINISHED, 1024), TEXT_FINISHED);
    EXPECT_EQ(ui.LoadString(IDS_INSTALL_FAILED, 8), "Install");
    EXPECT_EQ(ui.LoadString(9999, 256), "");
}

TEST(Win32Spooler, MonitorListAsksForMoreWhenTheBufferIsSmall) {
    Win32Spooler spooler;
    const auto tooSmall = spooler.EnumMonitors(8);
    ASSERT_EQ(tooSmall.error, platform::kErrorInsufficientBuffer);
    ASSERT_GT(tooSmall.bytesNeeded(), 8u);
    const auto listed = spooler.EnumMonitors(tooSmall.bytesNeeded());
    ASSERT_TRUE(listed) << listed.error;
    EXPECT_FALSE(listed.value().empty());
}

}  // namespace
