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

// The entry's key path (the Uninstall key's and the name) must stay within the
// registry's 255 characters: a longer name is refused before anything is written, also
// under Wine, which would take a few characters more. The command has no such limit.
TEST(RegisterMode, NamesAtAndPastTheKeyLimitAndCommandLinesOf32KB) {
    struct Case {
        std::size_t nameLength;
        std::size_t commandLength;
        int exitCode;
    };
    const std::vector<Case> cases = {
        {203, 20, 0}, {204, 20, uninstall::kExitFailed}, {32000, 20, uninstall::kExitFailed}, {8, 32000, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.nameLength) + " / " + std::to_string(c.commandLength));
        fake::FakeWindows windows;
        const std::string name(c.nameLength, 'n');
        const std::string command(c.commandLength, 'c');
        EXPECT_EQ(Register(windows, {"/register", command, name}), c.exitCode);
        const std::string entry = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + name;
        const auto written = windows.registry.Value(RegistryRoot::LocalMachine, entry, "UninstallString",
                                                    RegistryView::Native);
        if (c.exitCode == 0) {
            EXPECT_TRUE(testing_support::IsTextValue(written, command + " /uninstall", platform::TextCount::WithNul));
        } else {
            EXPECT_EQ(windows.registry.KeyCount(), 0u);
        }
    }
}

}  // namespace
