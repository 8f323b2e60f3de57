#include <gtest/gtest.h>

#include "uninstall/uninstall_command_line.h"

namespace {

using uninstall::ParseUninstallerCommandLine;
using uninstall::SelectMode;
using uninstall::UninstallerMode;

TEST(UninstallerCommandLine, SwitchesAreCaseSensitiveSubstrings) {
    EXPECT_EQ(SelectMode(ParseUninstallerCommandLine({"/copy"})), UninstallerMode::Copy);
    EXPECT_EQ(SelectMode(ParseUninstallerCommandLine({"x/copyy"})), UninstallerMode::Copy);
    EXPECT_EQ(SelectMode(ParseUninstallerCommandLine({"/COPY"})), UninstallerMode::None);
    EXPECT_EQ(SelectMode(ParseUninstallerCommandLine({"/uninstall"})), UninstallerMode::Uninstall);
    EXPECT_EQ(SelectMode(ParseUninstallerCommandLine({})), UninstallerMode::None);
}

TEST(UninstallerCommandLine, UninstallClearsEarlierCopyAndRegister) {
    EXPECT_EQ(SelectMode(ParseUninstallerCommandLine({"/copy", "/uninstall"})), UninstallerMode::Uninstall);
    EXPECT_EQ(SelectMode(ParseUninstallerCommandLine({"/uninstall", "/copy"})), UninstallerMode::Copy);
    EXPECT_EQ(SelectMode(ParseUninstallerCommandLine({"/register", "/copy"})), UninstallerMode::Copy);
}

TEST(UninstallerCommandLine, RegisterTakesCommandThenLastDisplayName) {
    const auto parsed = ParseUninstallerCommandLine({"/register", "C:\\u.exe /uninstall", "First", "Second"});
    // The command itself contains "/uninstall", so it is a switch, not a plain argument.
    EXPECT_EQ(SelectMode(parsed), UninstallerMode::Uninstall);

    const auto plain = ParseUninstallerCommandLine({"/register", "C:\\u.exe", "First", "Second"});
    EXPECT_EQ(SelectMode(plain), UninstallerMode::Register);
    EXPECT_EQ(plain.uninstallCommand, "C:\\u.exe");
    EXPECT_EQ(plain.displayName, "Second");
}

TEST(UninstallerCommandLine, PlainArgumentsBeforeRegisterAreNotStored) {
    const auto parsed = ParseUninstallerCommandLine({"early", "/register", "cmd"});
    EXPECT_EQ(parsed.uninstallCommand, "cmd");
    EXPECT_TRUE(parsed.displayName.empty());
}

TEST(UninstallerCommandLine, SlashSAfterRegisterIsBothSilentAndARegisterArgument) {
    const auto parsed = ParseUninstallerCommandLine({"/register", "C:\\u.exe", "/s"});
    EXPECT_TRUE(parsed.silent);
    EXPECT_EQ(parsed.displayName, "/s");
}

TEST(UninstallerCommandLine, SilentOnlyForExactSlashS) {
    EXPECT_TRUE(ParseUninstallerCommandLine({"/uninstall", "/s"}).silent);
    EXPECT_FALSE(ParseUninstallerCommandLine({"/uninstall", "/S"}).silent);
    EXPECT_FALSE(ParseUninstallerCommandLine({"/uninstall", "/silent"}).silent);
    EXPECT_TRUE(ParseUninstallerCommandLine({"/s", "/copy"}).silent);
}

}  // namespace
