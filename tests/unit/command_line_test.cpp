#include <gtest/gtest.h>

#include "setup/command_line.h"

namespace {

setup::InstallState Parse(const std::vector<std::string>& arguments) {
    setup::InstallState state;
    setup::ParseSetupCommandLine(arguments, text::LeadBytes(), state);
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

// In a double-byte code page a folder may end in a character whose second byte has the
// value of a backslash (Shift-JIS 0x95 0x5C): it is not the trailing backslash.
TEST(SetupCommandLine, TheTrailingBackslashIsACharacterOfItsOwn) {
    const text::LeadBytes shiftJis({{0x81, 0x9F}, {0xE0, 0xFC}});
    const std::string table = "\x95\x5C";
    const auto parse = [&](const std::string& argument) {
        setup::InstallState state;
        setup::ParseSetupCommandLine({argument}, shiftJis, state);
        return state.destinationFolder;
    };
    EXPECT_EQ(parse("-dD:\\" + table), "D:\\" + table);
    EXPECT_EQ(parse("-dD:\\" + table + "\\"), "D:\\" + table);
    EXPECT_EQ(parse("-d\"D:\\" + table + "\""), "D:\\" + table);
    EXPECT_EQ(Parse({"-dD:\\" + table}).destinationFolder, "D:\\\x95") << "a single-byte code page";
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
