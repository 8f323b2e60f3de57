// One table of settings-file reads, run against the real GetPrivateProfileStringA under
// Wine (tests/windows) and against the in-memory Windows (tests/unit), so that the
// fake's reading rules stay what the real call does. Each case names a file's bytes,
// the section, key and capacity read, and the text the call gives back.
#pragma once

#include <cstddef>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace profile_cases {

enum class FileState {
    Present,        // the case's bytes are written to the file read
    Missing,        // no such file in an existing folder
    FolderMissing,  // not even the folder
};

struct Case {
    std::string name;  // letters, digits and underscores: the test's name
    std::string file;  // the file's bytes
    std::string section;
    std::string key;
    std::size_t capacity = 1000;
    std::string expected;  // what the call reads, as Wine reads it
    FileState state = FileState::Present;
    // Where Windows is known to read the case otherwise than Wine: what Windows reads.
    std::optional<std::string> onWindows;
    // The expected text holds Western European (code page 1252) characters, which only
    // a system with that ANSI code page gives back as they are.
    bool westernCodePage = false;
};

inline void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }

// ASCII text as UTF-16: little-endian unless told, with or without the byte order mark.
inline std::string Utf16(std::string_view ascii, bool withBom, bool bigEndian = false) {
    std::string bytes;
    const auto add = [&](char low, char high) {
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    };
    if (withBom) add('\xFF', '\xFE');
    for (const char c : ascii) add(c, '\0');
    return bytes;
}

// A section "[Other]" of comments and keys, at least `size` bytes long, ending with a
// line end: what a settings file of megabytes holds before the keys a test looks for.
inline std::string OtherLines(std::size_t size) {
    std::string lines = "[Other]\r\n";
    while (lines.size() < size) lines += "; " + std::string(100, '-') + "\r\nKey=" + std::string(60, 'v') + "\r\n";
    return lines;
}

inline constexpr std::size_t kMegabyte = 1024 * 1024;

// The capacities the installer reads with.
inline constexpr std::size_t kShortCapacity = 10;    // AutoPaperSize, GNUGS, PrintDirectly
inline constexpr std::size_t kEditionCapacity = 15;  // Quillet_Pro
inline constexpr std::size_t kPathCapacity = 1000;   // DestinationFolder, Command, Arguments

inline std::vector<Case> AllCases() {
    using namespace std::string_literals;  // byte strings with NULs in them
    const std::string params = "[Parameters]\r\n";
    const std::string install = "[Installation]\r\n";
    const std::string digits = "12345678901234567890";
    auto read = [](std::string name, std::string file, std::string section, std::string key,
                   std::size_t capacity, std::string expected) {
        Case c;
        c.name = std::move(name);
        c.file = std::move(file);
        c.section = std::move(section);
        c.key = std::move(key);
        c.capacity = capacity;
        c.expected = std::move(expected);
        return c;
    };
    auto command = [&](std::string name, std::string file, std::string expected) {
        return read(std::move(name), std::move(file), "Parameters", "Command", kPathCapacity,
                    std::move(expected));
    };
    auto paper = [&](std::string name, std::string value, std::string expected) {
        return read(std::move(name), install + "AutoPaperSize=" + value + "\r\n", "Installation",
                    "AutoPaperSize", kShortCapacity, std::move(expected));
    };

    std::vector<Case> cases = {
        // ---- quotes: a matching pair around the whole value is dropped -----------------
        // (Windows is reported to drop single or double quotes around a value and keep
        // those inside it, as Wine does.)
        read("DoubleQuotesAroundAPath", params + "DestinationFolder=\"C:\\Quoted Dir\"\r\n",
             "Parameters", "DestinationFolder", kPathCapacity, "C:\\Quoted Dir"),
        command("SingleQuotesAroundTheValue", params + "Command='run me.exe'\r\n", "run me.exe"),
        command("OnlyAnOpeningQuoteStays", params + "Command=\"C:\\Dir\r\n", "\"C:\\Dir"),
        command("OnlyAClosingQuoteStays", params + "Command=C:\\Dir\"\r\n", "C:\\Dir\""),
        command("QuotesInsideStay", params + "Command=run \"a b\" c\r\n", "run \"a b\" c"),
        command("MismatchedQuotesStay", params + "Command=\"run'\r\n", "\"run'"),
        command("QuoteInsideAQuotedValueStays", params + "Command=\"a\"b\"\r\n", "a\"b"),
        command("ALoneQuoteStays", params + "Command=\"\r\n", "\""),
        command("TwoQuotesReadEmpty", params + "Command=\"\"\r\n", ""),
        command("BlanksInsideQuotesStay", params + "Command=\" run \"\r\n", " run "),
        command("BlanksOutsideQuotesGo", params + "Command =   \"run\"   \r\n", "run"),
        paper("QuotedValueLongerThanTheCapacityIsCut", "\"" + digits + "\"", "123456789"),
        paper("QuotedValueOfCapacityLessTwo", "\"12345678\"", "12345678"),
        // Wine loses the last character here: its buffer keeps the nine characters, and
        // the closing quote it then drops is not among them.
        paper("QuotedValueOfCapacityLessOne", "\"123456789\"", "12345678"),
        paper("QuotedValueOfCapacity", "\"1234567890\"", "123456789"),

        // ---- blanks -----------------------------------------------------------------------
        command("BlanksAroundNameEqualsAndValueGo", params + "  Command \t=\t run.exe \t\r\n", "run.exe"),
        command("BlanksInsideTheValueStay", params + "Command=run  now.exe\r\n", "run  now.exe"),
        command("BlanksInsideSectionBracketsGo", "[ Parameters ]\r\nCommand=x\r\n", "x"),
        command("IndentedSectionLine", "  [Parameters]  \r\nCommand=x\r\n", "x"),
        command("TextAfterTheClosingBracketIsIgnored", "[Parameters] old\r\nCommand=x\r\n", "x"),
        command("SectionLineWithoutClosingBracketIsNoSection", "[Parameters\r\nCommand=x\r\n", ""),
        command("ValueKeepsLaterEqualsSigns", params + "Command=a=b\r\n", "a=b"),
        command("EmptyValue", params + "Command=\r\n", ""),
        command("KeyWithoutEqualsSignHidesALaterOne", params + "Command\r\nCommand=late\r\n", ""),
        command("NulEndsTheValue", params + "Command=a\0b\r\n"s, "a"),

        // ---- line ends --------------------------------------------------------------------
        command("UnixLineEnds", "[Parameters]\nCommand=x\n", "x"),
        command("CarriageReturnsAlone", "[Parameters]\rCommand=x\r", "x"),
        command("NoFinalLineEnd", "[Parameters]\r\nCommand=x", "x"),
        command("DosEndOfFileMarkIsABlank", "[Parameters]\r\nCommand=x\x1A", "x"),
        command("EmptyFile", "", ""),

        // ---- encodings --------------------------------------------------------------------
        // (Windows 2000 and later are reported to read UTF-16 little-endian files with
        // their mark through the ANSI call too; big-endian ones were not confirmed on
        // Windows 10.)
        command("Utf16LittleEndianWithMark", Utf16("[Parameters]\r\nCommand=run.exe\r\n", true),
                "run.exe"),
        read("Utf16QuotedPath", Utf16("[Parameters]\r\nDestinationFolder=\"C:\\Quoted Dir\"\r\n", true),
             "Parameters", "DestinationFolder", kPathCapacity, "C:\\Quoted Dir"),
        read("Utf16ValueCutToCapacity", Utf16("[Installation]\r\nAutoPaperSize=" + digits + "\r\n", true),
             "Installation", "AutoPaperSize", kShortCapacity, "123456789"),
        // Without its mark the file is taken for ANSI text full of NULs.
        command("Utf16WithoutMarkReadsEmpty", Utf16("[Parameters]\r\nCommand=run.exe\r\n", false), ""),
        command("Utf16BigEndianWithMark", Utf16("[Parameters]\r\nCommand=run.exe\r\n", true, true),
                "run.exe"),

        // ---- values longer than the capacity ------------------------------------------------
        // (Documented for Windows: a value too long for the buffer is cut and followed by
        // a NUL, and the call returns the buffer size minus one.)
        paper("CapacityTenKeepsNine", digits, "123456789"),
        paper("CapacityTenValueOfNine", "123456789", "123456789"),
        paper("CapacityTenValueOfTen", "1234567890", "123456789"),
        read("CapacityFifteenKeepsFourteen", "[Preferences]\r\nQuillet_Pro=" + digits + "\r\n", "Preferences",
             "Quillet_Pro", kEditionCapacity, "12345678901234"),
        command("CapacityThousandKeeps999", params + "Command=" + std::string(1200, 'c') + "\r\n",
                std::string(999, 'c')),
        command("CapacityThousandValueOf999", params + "Command=" + std::string(999, 'c') + "\r\n",
                std::string(999, 'c')),
        command("CapacityThousandValueOf1000", params + "Command=" + std::string(1000, 'c') + "\r\n",
                std::string(999, 'c')),
        read("CapacityOneReadsEmpty", params + "Command=x\r\n", "Parameters", "Command", 1, ""),
        read("TwoQuotesWithCapacityOne", params + "Command=\"\"\r\n", "Parameters", "Command", 1, ""),

        // ---- duplicates, comments, names ------------------------------------------------
        command("FirstOfTwoKeysWins", params + "Command=first\r\nCommand=second\r\n", "first"),
        command("FirstOfTwoSectionsIsRead", params + "Command=a\r\n[Other]\r\n[parameters]\r\nCommand=b\r\n", "a"),
        read("SecondSectionOfTheSameNameIsNotSearched",
             params + "Command=a\r\n[Other]\r\n[parameters]\r\nArguments=b\r\n", "Parameters", "Arguments",
             kPathCapacity, ""),
        command("CommentLineIsNoKey", params + ";Command=old\r\nCommand=new\r\n", "new"),
        command("CommentedKeyReadsEmpty", params + "; Command=old\r\n", ""),
        command("SemicolonInAValueStays", params + "Command=run.exe ; note\r\n", "run.exe ; note"),
        command("NamesInAnyCase", "[PARAMETERS]\r\ncommand=x\r\n", "x"),
        command("KeyOfAnotherSection", "[Installation]\r\nCommand=x\r\n", ""),
        command("KeyBeforeAnySection", "Command=x\r\n[Parameters]\r\n", ""),

        // ---- missing pieces ---------------------------------------------------------------
        command("MissingSection", "[Installation]\r\nAutoPaperSize=1\r\n", ""),
        command("MissingKey", params + "Arguments=x\r\n", ""),
    };

    // ---- files of megabytes: the key at the end is found, a value of megabytes is cut,
    // a line of megabytes without a line end is no key ------------------------------------
    const std::string found = params + "Command=found\r\n";
    cases.push_back(command("KeyAfterFourMegabytes", OtherLines(4 * kMegabyte) + found, "found"));
    cases.push_back(command("Utf16KeyAfterTwoMegabytes", Utf16(OtherLines(kMegabyte) + found, true), "found"));
    cases.push_back(command("ValueOfTwoMegabytesCutTo999",
                            params + "Command=" + std::string(2 * kMegabyte, 'c') + "\r\n", std::string(999, 'c')));
    cases.push_back(command("LineOfThreeMegabytesWithoutLineEnd", params + std::string(3 * kMegabyte, 'C'), ""));

    // A UTF-8 mark: Wine decodes the file as UTF-8. Windows, as reported, reads the mark
    // as part of the first line, so a section named on that line is lost.
    Case utf8 = command("Utf8WithMark", "\xEF\xBB\xBF[Parameters]\r\nCommand=run.exe\r\n", "run.exe");
    utf8.onWindows = "";
    cases.push_back(utf8);

    // Non-ASCII text comes back in the ANSI code page, whatever the file's encoding.
    Case utf8Accent = command("Utf8WithMarkAndNonAsciiValue",
                              "\xEF\xBB\xBF[Parameters]\r\nCommand=caf\xC3\xA9.exe\r\n", "caf\xE9.exe");
    utf8Accent.onWindows = "";
    Case ansiAccent = command("AnsiNonAsciiValue", params + "Command=caf\xE9.exe\r\n", "caf\xE9.exe");
    Case utf16Accent = command("Utf16NonAsciiValue",
                               Utf16("[Parameters]\r\nCommand=caf", true) + "\xE9\0"s +
                                   Utf16(".exe\r\n", false),
                               "caf\xE9.exe");
    for (Case* accented : {&utf8Accent, &ansiAccent, &utf16Accent}) {
        accented->westernCodePage = true;
        cases.push_back(*accented);
    }

    Case missingFile = command("MissingFile", "", "");
    missingFile.state = FileState::Missing;
    cases.push_back(missingFile);
    Case missingFolder = command("MissingFolder", "", "");
    missingFolder.state = FileState::FolderMissing;
    cases.push_back(missingFolder);
    return cases;
}

}  // namespace profile_cases
