#include "common/profile/private_profile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace profile {
namespace {

constexpr std::size_t kLarge = 1000;

const std::string kSettings =
    "; settings for the medium\r\n"
    "[Installation]\r\n"
    "AutoPaperSize=1\r\n"
    "  PrintDirectly =  yes please  \r\n"
    "\r\n"
    "[Parameters]\r\n"
    "DestinationFolder=C:\\Program Files\\Doc Writer\r\n"
    "Command=run.exe\r\n"
    "Arguments=a=b\r\n"
    "Command=second.exe\r\n";

// --- Finding sections and keys ---

TEST(ProfileRead, FindsValuesInTheirSections) {
    EXPECT_EQ("1", ReadProfileString(kSettings, "Installation", "AutoPaperSize", 10));
    EXPECT_EQ("C:\\Program Files\\Doc Writer",
              ReadProfileString(kSettings, "Parameters", "DestinationFolder", kLarge));
}

TEST(ProfileRead, NamesMatchWithoutRegardToCase) {
    EXPECT_EQ("1", ReadProfileString(kSettings, "INSTALLATION", "autopapersize", 10));
    EXPECT_EQ("run.exe", ReadProfileString(kSettings, "parameters", "COMMAND", kLarge));
}

TEST(ProfileRead, KeyIsLookedUpOnlyInItsOwnSection) {
    EXPECT_EQ("", ReadProfileString(kSettings, "Installation", "Command", kLarge));
    EXPECT_EQ("", ReadProfileString(kSettings, "Parameters", "AutoPaperSize", kLarge));
}

TEST(ProfileRead, BlanksAroundNamesAndValuesAreTrimmed) {
    EXPECT_EQ("yes please", ReadProfileString(kSettings, "Installation", "PrintDirectly", kLarge));
    EXPECT_EQ("v", ReadProfileString("[ S ]\n\t k \t=\t v \t\n", "S", "k", kLarge));
}

TEST(ProfileRead, ValueKeepsEverythingAfterTheFirstEqualsSign) {
    EXPECT_EQ("a=b", ReadProfileString(kSettings, "Parameters", "Arguments", kLarge));
}

TEST(ProfileRead, FirstMatchingKeyWins) {
    EXPECT_EQ("run.exe", ReadProfileString(kSettings, "Parameters", "Command", kLarge));
}

TEST(ProfileRead, OnlyTheFirstMatchingSectionIsSearched) {
    const std::string text = "[A]\nx=1\n[B]\ny=2\n[a]\nx=3\nz=4\n";
    EXPECT_EQ("1", ReadProfileString(text, "A", "x", kLarge));
    EXPECT_EQ("", ReadProfileString(text, "A", "z", kLarge));
}

TEST(ProfileRead, MissingSectionKeyOrTextReadsEmpty) {
    EXPECT_EQ("", ReadProfileString(kSettings, "Preferences", "Quillet_Pro", 15));
    EXPECT_EQ("", ReadProfileString(kSettings, "Parameters", "GNUGS", 10));
    EXPECT_EQ("", ReadProfileString("", "Parameters", "GNUGS", 10));
}

TEST(ProfileRead, KeyBeforeAnySectionBelongsToNone) {
    EXPECT_EQ("", ReadProfileString("x=1\n[S]\ny=2\n", "S", "x", kLarge));
    EXPECT_EQ("", ReadProfileString("x=1\n", "", "x", kLarge));
}

TEST(ProfileRead, CommentLinesAreSkipped) {
    const std::string text = "[S]\n;k=commented\n   ; k=indented comment\nk=real\n";
    EXPECT_EQ("real", ReadProfileString(text, "S", "k", kLarge));
    EXPECT_EQ("", ReadProfileString(text, "S", ";k", kLarge));
}

TEST(ProfileRead, UnixAndWindowsLineEndsAndNoFinalLineEnd) {
    EXPECT_EQ("v", ReadProfileString("[S]\nk=v\n", "S", "k", kLarge));
    EXPECT_EQ("v", ReadProfileString("[S]\r\nk=v\r\n", "S", "k", kLarge));
    EXPECT_EQ("v", ReadProfileString("[S]\r\nk=v", "S", "k", kLarge));
}

TEST(ProfileRead, SectionHeaderWithTextAfterTheBracketOrNoBracket) {
    EXPECT_EQ("1", ReadProfileString("[S] trailing\nk=1\n", "S", "k", kLarge));
    EXPECT_EQ("2", ReadProfileString("[Open\nk=2\n", "Open", "k", kLarge));
}

TEST(ProfileRead, LineWithoutEqualsSignIsAKeyWithoutValue) {
    const std::string text = "[S]\nflag\nflag=late\n";
    EXPECT_EQ("", ReadProfileString(text, "S", "flag", kLarge));
}

TEST(ProfileRead, ValueMayHoldZeroBytes) {
    const std::string text = std::string("[S]\nk=a\0b\n", 10);
    EXPECT_EQ(std::string("a\0b", 3), ReadProfileString(text, "S", "k", kLarge));
}

// --- Cutting to capacity ---

TEST(ProfileCapacity, ValueIsCutToCapacityLessOne) {
    const std::string text = "[Parameters]\nCommand=" + std::string(1200, 'c') + "\n";
    EXPECT_EQ(std::string(999, 'c'), ReadProfileString(text, "Parameters", "Command", 1000));
    EXPECT_EQ("12345678", ReadProfileString("[S]\nk=123456789\n", "S", "k", 9));
    EXPECT_EQ("123456789", ReadProfileString("[S]\nk=123456789\n", "S", "k", 10));
}

TEST(ProfileCapacity, CapacityOneOrZeroGivesEmpty) {
    EXPECT_EQ("", ReadProfileString(kSettings, "Installation", "AutoPaperSize", 1));
    EXPECT_EQ("", ReadProfileString(kSettings, "Installation", "AutoPaperSize", 0));
}

// --- Listing keys and sections ---

TEST(ProfileKeys, ListsKeysOfTheFirstMatchingSectionInOrder) {
    EXPECT_EQ((std::vector<std::string>{"DestinationFolder", "Command", "Arguments", "Command"}),
              ListProfileKeys(kSettings, "PARAMETERS"));
    EXPECT_EQ((std::vector<std::string>{"x"}), ListProfileKeys("[A]\nx=1\n[A]\ny=2\n", "a"));
    EXPECT_TRUE(ListProfileKeys(kSettings, "Preferences").empty());
}

TEST(ProfileKeys, HasSectionEvenWhenItIsEmpty) {
    EXPECT_TRUE(HasProfileSection("[Empty]\n[Other]\nk=v\n", "empty"));
    EXPECT_TRUE(HasProfileSection("[Last]", "Last"));
    EXPECT_FALSE(HasProfileSection(kSettings, "Preferences"));
    EXPECT_FALSE(HasProfileSection("Installation=1\n", "Installation"));
}

TEST(ProfileKeys, NamesMatchIgnoresAsciiCaseOnly) {
    EXPECT_TRUE(NamesMatch("AutoPaperSize", "AUTOPAPERSIZE"));
    EXPECT_FALSE(NamesMatch("AutoPaperSize", "AutoPaperSiz"));
    EXPECT_FALSE(NamesMatch("a", "b"));
    EXPECT_FALSE(NamesMatch("\xC4", "\xE4"));  // not ASCII letters
}

// --- Numbers as atoi/atol read them ---

TEST(ProfileNumbers, LeadingDigitsWithBlanksAndSign) {
    EXPECT_EQ(1, ParseLeadingInt("1"));
    EXPECT_EQ(1, ParseLeadingInt(" 1"));
    EXPECT_EQ(12, ParseLeadingInt("\t 12abc"));
    EXPECT_EQ(-7, ParseLeadingInt("-7"));
    EXPECT_EQ(7, ParseLeadingInt("+7x"));
    EXPECT_EQ(0, ParseLeadingInt("-0"));
    EXPECT_EQ(10, ParseLeadingLong("010"));
}

TEST(ProfileNumbers, NoLeadingDigitsGivesZero) {
    EXPECT_EQ(0, ParseLeadingInt(""));
    EXPECT_EQ(0, ParseLeadingInt("no"));
    EXPECT_EQ(0, ParseLeadingInt("-"));
    EXPECT_EQ(0, ParseLeadingInt("+ 5"));
    EXPECT_EQ(0, ParseLeadingInt("0x10"));
    EXPECT_EQ(0, ParseLeadingLong("   "));
}

TEST(ProfileNumbers, OutOfRangeSaturates) {
    EXPECT_EQ(2147483647, ParseLeadingInt("2147483647"));
    EXPECT_EQ(2147483647, ParseLeadingInt("2147483648"));
    EXPECT_EQ(2147483647, ParseLeadingLong("99999999999999999999999999"));
    EXPECT_EQ(-2147483647 - 1, ParseLeadingInt("-2147483648"));
    EXPECT_EQ(-2147483647 - 1, ParseLeadingLong("-99999999999999999999999999"));
}

}  // namespace
}  // namespace profile
