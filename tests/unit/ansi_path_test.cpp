// Paths split and judged as Windows reads them, double-byte code pages included.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/text/ansi_path.h"
#include "common/text/resolved_path.h"

namespace {

using text::LeadBytes;

// Shift-JIS: the second byte of U+8868 (0x95 0x5C) has the value of a backslash.
const LeadBytes kShiftJis({{0x81, 0x9F}, {0xE0, 0xFC}});
const std::string kTable = "\x95\x5C";  // one character

TEST(AnsiPath, FolderOfCutsAfterTheLastBackslashThatIsACharacter) {
    struct Case {
        std::string path;
        std::string folder;
        const LeadBytes& leadBytes;
    };
    const LeadBytes singleByte;
    const std::vector<Case> cases = {
        {"C:\\Medium\\Setup.exe", "C:\\Medium\\", singleByte},
        {"Setup.exe", "", singleByte},
        {"C:/gs/bin/gsdll32.dll", "", singleByte},  // a slash does not split
        {"C:\\gs/bin\\gsdll32.dll", "C:\\gs/bin\\", singleByte},
        {"C:\\" + kTable + "\\Setup.exe", "C:\\" + kTable + "\\", kShiftJis},
        {"C:\\A" + kTable, "C:\\", kShiftJis},            // the trail byte is not a separator
        {"C:\\A" + kTable, "C:\\A\x95\\", singleByte},    // as a single-byte page reads it
    };
    for (const Case& c : cases) EXPECT_EQ(text::FolderOf(c.path, c.leadBytes), c.folder) << c.path;
}

// A path ending in a lead byte without its trail names another place once "\name" is
// added: the backslash becomes the character's second byte. Found by fuzzing (a share
// root "\\v\xE5\x8A/\x8A", read again with a backslash after it, was another share).
TEST(AnsiPath, TheLastCharacterStaysWholeAndABackslashMustBeOneOfItsOwn) {
    struct Case {
        std::string path;
        bool endsInside;
        std::string withoutBackslash;
    };
    const std::vector<Case> cases = {
        {"C:\\Quillet\\", false, "C:\\Quillet"},
        {"C:\\Quillet\\\\", false, "C:\\Quillet\\"},  // one backslash only
        {"C:\\Quillet", false, "C:\\Quillet"},
        {"C:\\" + kTable, false, "C:\\" + kTable},  // the trail byte is no backslash
        {"C:\\" + kTable + "\\", false, "C:\\" + kTable},
        {"C:\\\x95", true, "C:\\\x95"},
        {"C:\\" + kTable + "\x95", true, "C:\\" + kTable + "\x95"},
        {"\x95\x95", false, "\x95\x95"},  // a lead byte as a trail byte
        {"", false, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(text::EndsInsideCharacter(c.path, kShiftJis), c.endsInside) << c.path;
        EXPECT_EQ(text::WithoutTrailingBackslash(c.path, kShiftJis), c.withoutBackslash) << c.path;
    }
    // A single-byte code page has no lead bytes.
    EXPECT_FALSE(text::EndsInsideCharacter("C:\\\x95", LeadBytes()));
    EXPECT_EQ(text::WithoutTrailingBackslash("C:\\" + kTable, LeadBytes()), "C:\\\x95");
}

TEST(ResolvedPath, APathEndingInsideACharacterIsNoPath) {
    EXPECT_FALSE(text::ResolveAbsolutePath("C:\\Quillet\x95", kShiftJis));
    EXPECT_FALSE(text::ResolveAbsolutePath("//v\xE5\x8A/\x8A", kShiftJis));
    EXPECT_FALSE(text::ResolveRelativePath("Brindle\\\x95", kShiftJis));
    EXPECT_TRUE(text::ResolveAbsolutePath("C:\\Quillet\x95", LeadBytes()));
    EXPECT_TRUE(text::ResolveRelativePath("Brindle\\" + kTable, kShiftJis));
}

std::string Joined(const text::ResolvedPath& path) {
    std::string joined = path.root;
    for (const std::string& folder : path.folders) joined += "|" + folder;
    return joined;
}

TEST(ResolvedPath, AbsolutePathsAsWindowsReadsThem) {
    struct Case {
        std::string path;
        std::string resolved;  // root|folder|...; empty: not an absolute path
    };
    const std::vector<Case> cases = {
        {"C:\\Program Files\\Quillet", "C:|Program Files|Quillet"},
        {"c:/program files//quillet/", "c:|program files|quillet"},
        {"C:\\", "C:"},
        {"C:\\Program Files\\..\\..\\windows\\Evil", "C:|windows|Evil"},
        {"C:\\A\\.\\B\\..", "C:|A"},
        {"C:\\Windows.\\Evil ", "C:|Windows|Evil"},  // trailing dots and blanks are ignored
        {"C:\\...", "C:"},
        {"\\\\server\\share\\Quillet", "\\\\server\\share|Quillet"},
        {"//server/share", "\\\\server\\share"},
        {"\\\\server", ""},
        {"\\\\?\\C:\\Quillet", ""},
        {"\\\\.\\C:\\Quillet", ""},
        {"C:", ""},
        {"C:Quillet", ""},
        {"\\Quillet", ""},
        {"Quillet", ""},
        {"..\\Quillet", ""},
        {"%ProgramFiles%\\Quillet", ""},
        {"", ""},
    };
    for (const Case& c : cases) {
        const auto resolved = text::ResolveAbsolutePath(c.path, LeadBytes());
        EXPECT_EQ(resolved ? Joined(*resolved) : "", c.resolved) << c.path;
    }
}

TEST(ResolvedPath, RelativeGroupsStayInsideTheirFolder) {
    struct Case {
        std::string path;
        bool inside;
        std::size_t depth;
    };
    const std::vector<Case> cases = {
        {"Brindle\\Quillet Writer", true, 2}, {"A\\..\\B", true, 1},  {".", true, 0},
        {"A\\..", true, 0},                   {"..\\X", false, 0},    {"A\\..\\..\\X", false, 0},
        {"\\Start Menu", false, 0},           {"C:\\Evil", false, 0}, {"C:Evil", false, 0},
    };
    for (const Case& c : cases) {
        const auto folders = text::ResolveRelativePath(c.path, LeadBytes());
        EXPECT_EQ(folders.has_value(), c.inside) << c.path;
        if (folders) {
            EXPECT_EQ(folders->size(), c.depth) << c.path;
        }
    }
}

TEST(ResolvedPath, ComparedWithoutRegardToCaseButDoubleByteCharactersAsTheyAre) {
    const auto resolve = [](const std::string& path) { return *text::ResolveAbsolutePath(path, kShiftJis); };
    EXPECT_TRUE(text::SamePath(resolve("C:\\WINDOWS"), resolve("c:\\windows\\"), kShiftJis));
    EXPECT_TRUE(text::IsSameOrInside(resolve("C:\\Windows\\System32\\x"), resolve("C:\\windows"), kShiftJis));
    EXPECT_FALSE(text::IsSameOrInside(resolve("C:\\WindowsApps"), resolve("C:\\Windows"), kShiftJis));
    EXPECT_FALSE(text::SamePath(resolve("D:\\Windows"), resolve("C:\\Windows"), kShiftJis));
    // 0x82 0x60 and 0x82 0x81 are two different characters; folding the trail byte as an
    // ASCII letter would take them for one.
    EXPECT_FALSE(text::SamePath(resolve("C:\\\x82\x60"), resolve("C:\\\x82\x81"), kShiftJis));
    // A trail byte 0x5C inside a name does not split it.
    EXPECT_EQ(resolve("C:\\" + kTable + "\\x").folders.size(), 2u);
}

}  // namespace
