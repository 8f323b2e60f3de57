#include "common/profile/private_profile.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
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

// --- Reading one value ---

TEST(ProfileRead, ValuesAsTheToolReadsThem) {
    struct Case {
        const char* what;
        std::string text;
        const char* section;
        const char* key;
        std::size_t capacity;
        std::string value;
    };
    const std::vector<Case> cases = {
        {"in its section", kSettings, "Installation", "AutoPaperSize", 10, "1"},
        {"a path", kSettings, "Parameters", "DestinationFolder", kLarge, "C:\\Program Files\\Doc Writer"},
        {"names in any case", kSettings, "parameters", "COMMAND", kLarge, "run.exe"},
        {"only in its own section", kSettings, "Installation", "Command", kLarge, ""},
        {"blanks trimmed", kSettings, "Installation", "PrintDirectly", kLarge, "yes please"},
        {"tabs trimmed", "[ S ]\n\t k \t=\t v \t\n", "S", "k", kLarge, "v"},
        {"after the first '='", kSettings, "Parameters", "Arguments", kLarge, "a=b"},
        {"the first key wins", kSettings, "Parameters", "Command", kLarge, "run.exe"},
        {"the first section wins", "[A]\nx=1\n[B]\ny=2\n[a]\nx=3\nz=4\n", "A", "z", kLarge, ""},
        {"a missing key", kSettings, "Preferences", "Quillet_Pro", 15, ""},
        {"no text", "", "Parameters", "GNUGS", 10, ""},
        {"a key before any section", "x=1\n[S]\ny=2\n", "S", "x", kLarge, ""},
        {"comments skipped", "[S]\n;k=commented\n   ; k=indented comment\nk=real\n", "S", "k", kLarge, "real"},
        {"a comment is no key", "[S]\n;k=commented\n", "S", ";k", kLarge, ""},
        {"CR LF without a final line end", "[S]\r\nk=v", "S", "k", kLarge, "v"},
        {"text after the bracket", "[S] trailing\nk=1\n", "S", "k", kLarge, "1"},
        {"no closing bracket", "[Open\nk=2\n", "Open", "k", kLarge, "2"},
        {"a line without '=' is a key without value", "[S]\nflag\nflag=late\n", "S", "flag", kLarge, ""},
        {"zero bytes kept", std::string("[S]\nk=a\0b\n", 10), "S", "k", kLarge, std::string("a\0b", 3)},
        {"cut to capacity - 1", "[P]\nC=" + std::string(1200, 'c') + "\n", "P", "C", 1000, std::string(999, 'c')},
        {"exactly capacity - 1", "[S]\nk=123456789\n", "S", "k", 10, "123456789"},
        {"capacity 1", kSettings, "Installation", "AutoPaperSize", 1, ""},
        {"capacity 0", kSettings, "Installation", "AutoPaperSize", 0, ""},
    };
    for (const Case& c : cases) EXPECT_EQ(ReadProfileString(c.text, c.section, c.key, c.capacity), c.value) << c.what;
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

TEST(ProfileNumbers, LeadingDigitsOrZeroSaturatingAtTheLimits) {
    const std::vector<std::pair<std::string, int>> cases = {
        {"1", 1},      {" 1", 1},   {"\t 12abc", 12}, {"-7", -7},     {"+7x", 7},
        {"-0", 0},     {"", 0},     {"no", 0},        {"-", 0},       {"+ 5", 0},
        {"0x10", 0},   {"2147483647", 2147483647},    {"2147483648", 2147483647},
        {"-2147483648", -2147483647 - 1}};
    for (const auto& [text, number] : cases) EXPECT_EQ(ParseLeadingInt(text), number) << text;
    EXPECT_EQ(10, ParseLeadingLong("010"));
    EXPECT_EQ(0, ParseLeadingLong("   "));
    EXPECT_EQ(2147483647, ParseLeadingLong("99999999999999999999999999"));
    EXPECT_EQ(-2147483647 - 1, ParseLeadingLong("-99999999999999999999999999"));
}

}  // namespace
}  // namespace profile
