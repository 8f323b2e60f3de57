// The error box text with the system's own error texts.
#include <gtest/gtest.h>

#include "platform/win32/win32_platform.h"
#include "setup/ui/error_report.h"
#include "tests/windows/scratch_folder.h"

namespace {

TEST(RealErrorReport, SystemTextFollowsTheFormattedMessage) {
    platform::win32::Win32Platform windows;
    setup::InstallState state;
    state.productName = "Quillet Writer";
    EXPECT_EQ(setup::ComposeSetupErrorMessage(windows.platform(), state, 0), "Install Quillet Writer failed.");
    const std::string withText = setup::ComposeSetupErrorMessage(windows.platform(), state, 5);
    EXPECT_EQ(withText.rfind("Install Quillet Writer failed.\n", 0), 0u);
    EXPECT_GT(withText.size(), std::string("Install Quillet Writer failed.\n").size());
}

TEST(RealErrorReport, ErrorLogBytes) {
    platform::win32::Win32Platform windows;
    wintest::ScratchFolder folder("error_log");
    setup::AppendToErrorLog(windows.platform().files, folder / "Error.log", "A");
    setup::AppendToErrorLog(windows.platform().files, folder / "Error.log", "B");
    const auto read = windows.platform().files.ReadWholeFile(folder / "Error.log");
    EXPECT_EQ(std::string(read.value().begin(), read.value().end()), "A\r\nB\r\n");
    setup::AppendToErrorLog(windows.platform().files, folder / "absent\\Error.log", "A");
    EXPECT_FALSE(windows.platform().files.ReadWholeFile(folder / "absent\\Error.log"));
}

}  // namespace
