// unInstpm64 /register COMMAND NAME: an uninstall entry of the uninstaller's own view.
#include <gtest/gtest.h>

#include "tests/fake_windows/fake_windows.h"
#include "tests/unit/text_value_check.h"
#include "uninstall/exit_codes.h"
#include "uninstall/uninstaller.h"

namespace {

using platform::RegistryRoot;
using platform::RegistryView;

int Register(fake::FakeWindows& windows, const std::vector<std::string>& arguments) {
    windows.system.arguments = arguments;
    return uninstall::RunUninstaller(windows.platform());
}

TEST(RegisterMode, WritesTheEntryWithTheCommandAndItsSwitch) {
    fake::FakeWindows windows;
    EXPECT_EQ(Register(windows, {"/register", "C:\\Tools\\remove.exe", "Other Name", "Tool Suite"}), 0);
    const std::string entry = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tool Suite";
    const auto value = [&](const char* name) {
        return windows.registry.Value(RegistryRoot::LocalMachine, entry, name, RegistryView::Native);
    };
    EXPECT_TRUE(testing_support::IsTextValue(value("DisplayName"), "Tool Suite", platform::TextCount::WithNul));
    EXPECT_TRUE(testing_support::IsTextValue(value("UninstallString"), "C:\\Tools\\remove.exe /uninstall",
                                             platform::TextCount::WithNul));
    EXPECT_TRUE(windows.ui.shown.empty());
}

TEST(RegisterMode, WritesNothingWithoutANameThatCanNameAKeyOrWhenTheKeysAreRefused) {
    const std::vector<std::vector<std::string>> commandLines = {
        {"/register"}, {"/register", "C:\\remove.exe"}, {"/register", "C:\\remove.exe", "Brindle\\Suite"}};
    for (const auto& arguments : commandLines) {
        fake::FakeWindows windows;
        EXPECT_EQ(Register(windows, arguments), uninstall::kExitFailed) << ::testing::PrintToString(arguments);
        EXPECT_EQ(windows.registry.KeyCount(), 0u) << ::testing::PrintToString(arguments);
    }
    fake::FakeWindows refused;
    refused.failures.Fail(fake::Op::CreateKey, platform::kErrorAccessDenied);
    EXPECT_EQ(Register(refused, {"/register", "C:\\remove.exe", "Suite"}), uninstall::kExitFailed);
    EXPECT_TRUE(refused.ui.shown.empty());
}

}  // namespace
