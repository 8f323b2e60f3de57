#include <gtest/gtest.h>

#include "setup/command_line.h"

namespace {

setup::InstallState Parse(const std::vector<std::string>& arguments) {
    setup::InstallState state;
    setup::ParseSetupCommandLine(arguments, state);
    return state;
}

TEST(SetupCommandLine, SilentSwitchInEveryFormAndLonger) {
    for (const char* argument : {"/s", "/S", "-silent", "\\s", "-S", "/silent"}) {
        EXPECT_TRUE(Parse({argument}).silent) << argument;
    }
    EXPECT_FALSE(Parse({"s"}).silent);
    EXPECT_FALSE(Parse({"/"}).silent);
    EXPECT_FALSE(Parse({"+s"}).silent);
}

TEST(SetupCommandLine, ShortcutSwitchClearsShortcuts) {
    EXPECT_TRUE(Parse({}).createShortcuts);
    for (const char* argument : {"/c", "\\C", "-c", "/create"}) {
        EXPECT_FALSE(Parse({argument}).createShortcuts) << argument;
    }
}

TEST(SetupCommandLine, DestinationOnlyWithDash) {
    const auto plain = Parse({"-dC:\\x"});
    EXPECT_TRUE(plain.destinationGiven);
    EXPECT_EQ(plain.destinationFolder, "C:\\x");
    EXPECT_EQ(Parse({"-DC:\\x"}).destinationFolder, "C:\\x");

    const auto slash = Parse({"/dC:\\x"});
    EXPECT_FALSE(slash.destinationGiven);
    EXPECT_TRUE(slash.destinationFolder.empty());
    EXPECT_FALSE(Parse({"\\dC:\\x"}).destinationGiven);
}

TEST(SetupCommandLine, QuotesAndOneTrailingBackslashComeOff) {
    EXPECT_EQ(Parse({"-d\"C:\\My Programs\\\""}).destinationFolder, "C:\\My Programs");
    EXPECT_EQ(Parse({"\"-dC:\\My Programs\\\""}).destinationFolder, "C:\\My Programs");
    EXPECT_EQ(Parse({"-dC:\\Two\\\\"}).destinationFolder, "C:\\Two\\");
    EXPECT_EQ(Parse({"-d"}).destinationFolder, "");
    EXPECT_TRUE(Parse({"-d"}).destinationGiven);
    EXPECT_EQ(Parse({"-d\""}).destinationFolder, "");
}

TEST(SetupCommandLine, LaterDestinationWinsAndSwitchesCombine) {
    const auto state = Parse({"-dC:\\first", "/s", "-dD:\\second", "/c", "unknown"});
    EXPECT_EQ(state.destinationFolder, "D:\\second");
    EXPECT_TRUE(state.silent);
    EXPECT_FALSE(state.createShortcuts);
}

TEST(SetupCommandLine, SilentTestComesBeforeTheOthers) {
    // "-sd..." is silent, not a destination.
    const auto state = Parse({"-sdC:\\x"});
    EXPECT_TRUE(state.silent);
    EXPECT_FALSE(state.destinationGiven);
}

}  // namespace
