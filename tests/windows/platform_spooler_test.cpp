// The real spooler behind the boundary, asked only questions that change nothing: the
// driver directory, the size-first driver list, a printer that does not exist.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/win32/win32_platform.h"

namespace {

class Win32SpoolerTest : public ::testing::Test {
protected:
    platform::win32::Win32Spooler spooler;
};

TEST_F(Win32SpoolerTest, DriverDirectoryComesWithoutATrailingBackslashAndItsSize) {
    const auto directory = spooler.GetPrinterDriverDirectory("Windows x64", 1024);
    ASSERT_TRUE(directory) << directory.error;
    ASSERT_FALSE(directory.value().empty());
    EXPECT_NE(directory.value().back(), '\\');
    EXPECT_EQ(directory.bytesNeeded(), directory.value().size() + 1);
}

TEST_F(Win32SpoolerTest, ATooSmallDriverDirectoryBufferReportsTheSizeWanted) {
    const auto directory = spooler.GetPrinterDriverDirectory("Windows x64", 4);
    EXPECT_EQ(directory.error, platform::kErrorInsufficientBuffer);
    EXPECT_TRUE(directory.WantsLargerBuffer());
    EXPECT_GT(directory.bytesNeeded(), 4u);
}

TEST_F(Win32SpoolerTest, AnUnknownEnvironmentIsRefused) {
    EXPECT_FALSE(spooler.GetPrinterDriverDirectory("Windows Z80", 1024));
}

TEST_F(Win32SpoolerTest, DriverListIsFetchedWithTheSizeTheSpoolerAskedFor) {
    const auto size = spooler.EnumPrinterDrivers("Windows x64", 0);
    if (size) {  // nothing installed for the environment (a fresh Wine prefix)
        EXPECT_TRUE(size.value().empty());
        return;
    }
    ASSERT_EQ(size.error, platform::kErrorInsufficientBuffer);
    const auto listed = spooler.EnumPrinterDrivers("Windows x64", size.bytesNeeded());
    ASSERT_TRUE(listed) << listed.error;
    ASSERT_FALSE(listed.value().empty());
    for (const auto& driver : listed.value()) {
        EXPECT_FALSE(driver.name.empty());
        EXPECT_FALSE(driver.driverPath.empty());
    }
}

TEST_F(Win32SpoolerTest, OpeningAPrinterThatDoesNotExistFails) {
    const auto opened = spooler.OpenPrinter("No Such Printer 7f3a", platform::kPrinterAllAccess);
    EXPECT_FALSE(opened);
    EXPECT_NE(opened.error, 0u);
}

TEST_F(Win32SpoolerTest, MonitorsListHoldsTheLocalPortMonitor) {
    const auto listed = spooler.EnumMonitors(4096);
    ASSERT_TRUE(listed) << listed.error;
    const std::vector<std::string>& names = listed.value();
    EXPECT_NE(std::find(names.begin(), names.end(), "Local Port"), names.end());
}

}  // namespace
