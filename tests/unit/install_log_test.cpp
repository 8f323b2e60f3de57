#include "common/installlog/install_log.h"

#include "tests/fake_windows/fake_windows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <map>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace installlog {
namespace {

using Bytes = std::vector<std::uint8_t>;

// --- Files assembled byte by byte, independently of EncodeInstallLog, so that tests
// --- can state the exact layout and shapes the encoder never produces.

Bytes Le32(std::int32_t value) {
    const auto word = static_cast<std::uint32_t>(value);
    return {static_cast<std::uint8_t>(word), static_cast<std::uint8_t>(word >> 8),
            static_cast<std::uint8_t>(word >> 16), static_cast<std::uint8_t>(word >> 24)};
}

Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

Bytes Raw(const std::string& text) { return Bytes(text.begin(), text.end()); }

Bytes Text(const std::string& text) {
    return Cat({Le32(static_cast<std::int32_t>(text.size())), Raw(text)});
}

// Header bytes that differ from each other, so that their order shows.
Bytes Header() {
    Bytes header(kHeaderSize);
    for (std::size_t i = 0; i < kHeaderSize; ++i) header[i] = static_cast<std::uint8_t>(i * 25);
    return header;
}

// The outer layer around a plain payload.
Bytes Scrambled(const Bytes& payload, const Bytes& key) {
    Bytes stored = payload;
    for (std::size_t i = 0; i < stored.size(); ++i) {
        stored[i] = static_cast<std::uint8_t>(stored[i] ^ key[i % key.size()]);
    }
    return Cat({Le32(static_cast<std::int32_t>(key.size())), key,
                Le32(static_cast<std::int32_t>(stored.size())), stored});
}

const Bytes kKey = {0x5A, 0x00, 0xC3};

// The sample log, once as values and once as the bytes of its payload: every text and
// flag word differs from the others, so that a layout that swaps two of them shows.
InstallLog Sample() {
    InstallLog log;
    std::copy_n(Header().begin(), kHeaderSize, log.Header.begin());
    log.PrinterName = "Doc Printer";
    log.PortName = "DOCPORT:";
    log.PaperSizeName = "A4";
    log.ProductName = "Doc Writer 5";
    log.DestinationSubfolder = "DocWriter";
    log.ProgramGroup = "Doc Writer\\Tools";
    log.SpareText = "spare";
    log.ProgrammaticAccess = 1;
    log.CreateShortcuts = 0;
    log.ExtensionComponents = 7;
    return log;
}

// Header and the first six texts, as far as the uninstaller reads.
Bytes PayloadThroughProgramGroup() {
    return Cat({Header(), Text("Doc Printer"), Text("DOCPORT:"), Text("A4"), Text("Doc Writer 5"), Text("DocWriter"),
                Text("Doc Writer\\Tools")});
}

Bytes FullPayload() { return Cat({PayloadThroughProgramGroup(), Text("spare"), Le32(1), Le32(0), Le32(7)}); }

// Field by field, by name rather than through the reader's own field tables.
void ExpectSameLog(const InstallLog& expected, const InstallLog& actual) {
    EXPECT_EQ(expected.Header, actual.Header);
    EXPECT_EQ(expected.PrinterName, actual.PrinterName);
    EXPECT_EQ(expected.PortName, actual.PortName);
    EXPECT_EQ(expected.PaperSizeName, actual.PaperSizeName);
    EXPECT_EQ(expected.ProductName, actual.ProductName);
    EXPECT_EQ(expected.DestinationSubfolder, actual.DestinationSubfolder);
    EXPECT_EQ(expected.ProgramGroup, actual.ProgramGroup);
    EXPECT_EQ(expected.SpareText, actual.SpareText);
    EXPECT_EQ(expected.ProgrammaticAccess, actual.ProgrammaticAccess);
    EXPECT_EQ(expected.CreateShortcuts, actual.CreateShortcuts);
    EXPECT_EQ(expected.ExtensionComponents, actual.ExtensionComponents);
}

InstallLog RoundTrip(const InstallLog& log, const Bytes& key) {
    const ParseResult parsed = ParseInstallLog(EncodeInstallLog(log, key), ReadScope::Installer);
    EXPECT_TRUE(parsed.log.has_value()) << parsed.problem;
    return parsed.log.value_or(InstallLog{});
}

const TextField& FieldNamed(const std::string& name) {
    return *std::find_if(kTextFields.begin(), kTextFields.end(), [&](const TextField& f) { return f.name == name; });
}

std::string ProblemOf(const Bytes& file, ReadScope scope = ReadScope::Installer) {
    const ParseResult parsed = ParseInstallLog(file, scope);
    EXPECT_FALSE(parsed.log.has_value());
    return parsed.problem;
}

// --- Layout and round trips ---

// The encoder writes the layout of the hand-built file, and the reader takes it back.
TEST(InstallLogLayout, EncoderWritesTheDocumentedLayoutAndTheReaderReadsIt) {
    const Bytes file = Scrambled(FullPayload(), kKey);
    EXPECT_EQ(file, EncodeInstallLog(Sample(), kKey));
    const ParseResult parsed = ParseInstallLog(file, ReadScope::Installer);
    ASSERT_TRUE(parsed.log) << parsed.problem;
    ExpectSameLog(Sample(), *parsed.log);
}

TEST(InstallLogRoundTrip, SixteenByteKey) {
    const Bytes key = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    ExpectSameLog(Sample(), RoundTrip(Sample(), key));
}

TEST(InstallLogRoundTrip, OneByteKeyCombinesEveryByteWithTheSameValue) {
    const Bytes file = EncodeInstallLog(Sample(), {0xA5});
    for (std::size_t i = 0; i < kHeaderSize; ++i) {
        EXPECT_EQ(Sample().Header[i] ^ 0xA5, file[9 + i]) << "header byte " << i;
    }
    ExpectSameLog(Sample(), RoundTrip(Sample(), {0xA5}));
}

TEST(InstallLogRoundTrip, KeyLongerThanThePayloadIsUsedOnlyInPart) {
    Bytes key(500);
    for (std::size_t i = 0; i < key.size(); ++i) key[i] = static_cast<std::uint8_t>(i * 7 + 3);
    const Bytes file = EncodeInstallLog(Sample(), key);
    const Bytes plain = EncodeInstallLog(Sample(), {0x00});
    const std::size_t payloadSize = plain.size() - 9;
    ASSERT_LT(payloadSize, key.size());
    EXPECT_EQ(4 + key.size() + 4 + payloadSize, file.size());
    ExpectSameLog(Sample(), RoundTrip(Sample(), key));
}

TEST(InstallLogRoundTrip, ZeroBytesInTheKeyAndStoredBytesAreOrdinaryData) {
    InstallLog log = Sample();
    log.PrinterName = "ABC";
    log.ProductName = "AAAA";
    const Bytes key = {0x00, 'A'};
    const Bytes file = EncodeInstallLog(log, key);
    // ProductName's text starts at payload offset 10 + (4 + 3) + (4 + 8) + (4 + 2) + 4 = 39;
    // its bytes at odd offsets meet the key byte 'A' and are stored as zero.
    const std::size_t productText = 4 + key.size() + 4 + 39;
    EXPECT_EQ(0, file[productText]);
    EXPECT_EQ(0, file[productText + 2]);
    ExpectSameLog(log, RoundTrip(log, key));
}

TEST(InstallLogRoundTrip, ATextEndsAtItsFirstZeroByte) {
    InstallLog log = Sample();
    log.ProductName = std::string("Quil\0X", 6);
    log.SpareText = std::string("\0\0", 2);
    const InstallLog back = RoundTrip(log, kKey);
    EXPECT_EQ("Quil", back.ProductName);
    EXPECT_EQ("", back.SpareText);
}

TEST(InstallLogRoundTrip, OptionalTextsMayBeEmptyAndFlagWordsNegative) {
    InstallLog log = Sample();
    for (const TextField& field : kTextFields) {
        if (!field.required) (log.*field.member).clear();
    }
    log.ProgrammaticAccess = -1;
    log.CreateShortcuts = std::numeric_limits<std::int32_t>::min();
    log.ExtensionComponents = std::numeric_limits<std::int32_t>::max();
    ExpectSameLog(log, RoundTrip(log, {0x80, 0xFF}));
}

TEST(InstallLogRoundTrip, BytesAfterThePayloadAreIgnored) {
    Bytes file = Scrambled(Cat({FullPayload(), Raw("ignored tail in payload")}), kKey);
    const Bytes tail = Raw("and after the file's payload");
    file.insert(file.end(), tail.begin(), tail.end());
    const ParseResult parsed = ParseInstallLog(file, ReadScope::Installer);
    ASSERT_TRUE(parsed.log) << parsed.problem;
    EXPECT_EQ(7, parsed.log->ExtensionComponents);
}

TEST(InstallLogEncode, EmptyKeyIsRefused) {
    EXPECT_THROW((void)EncodeInstallLog(Sample(), {}), std::invalid_argument);
}

// --- Malformed files ---

// Each problem the reader names, for a file that has it, in the scope read.
TEST(InstallLogMalformed, EveryProblemIsNamed) {
    struct Case {
        std::string problem;
        Bytes file;
        ReadScope scope = ReadScope::Installer;
    };
    const auto payload = [](std::initializer_list<Bytes> parts) { return Scrambled(Cat(parts), kKey); };
    const Bytes spare = Cat({PayloadThroughProgramGroup(), Text("spare")});
    Bytes cutProgramGroup = PayloadThroughProgramGroup();
    cutProgramGroup.pop_back();
    const std::vector<Case> cases = {
        // ---- the outer layer ----
        {"file ends inside the key length", {}},
        {"file ends inside the key length", {0x01, 0x00}},
        {"key length is 0", Cat({Le32(0), Le32(10), Header()})},
        {"key length is -5", Cat({Le32(-5), Raw("abcde")})},
        {"file ends inside the key", Cat({Le32(100), Raw("abc")})},
        {"file ends inside the payload length", Cat({Le32(2), Raw("ab"), Bytes{0x05}})},
        {"payload length is 0", Cat({Le32(1), Raw("a"), Le32(0)})},
        {"payload length is -2147483648", Cat({Le32(1), Raw("a"), Le32(std::numeric_limits<std::int32_t>::min())})},
        {"file ends inside the payload", Cat({Le32(1), Raw("a"), Le32(100), Header()})},
        {"file ends inside the payload",
         Cat({Le32(1), Raw("a"), Le32(std::numeric_limits<std::int32_t>::max()), Header()})},
        // ---- the payload ----
        {"payload ends inside the header", payload({Bytes(9, 0)})},
        {"payload ends inside PrinterName (length word)", payload({Header()})},
        {"payload ends inside ProductName (length word)",
         payload({Header(), Text("P"), Text("Q"), Text("A4"), Bytes{3, 0}})},
        {"PortName length -1 is negative", payload({Header(), Text("P"), Le32(-1), Raw("xxxx")})},
        {"ProductName length 300 exceeds its limit of 263",
         payload({Header(), Text("P"), Text("Q"), Text("A4"), Le32(300), Bytes(300, 'x')})},
        {"payload ends inside ProductName (text)",
         payload({Header(), Text("P"), Text("Q"), Text("A4"), Le32(10), Raw("abc")})},
        {"payload ends inside SpareText (length word)", payload({PayloadThroughProgramGroup()})},
        {"payload ends inside SpareText (text)",
         payload({PayloadThroughProgramGroup(), Le32(std::numeric_limits<std::int32_t>::max()), Raw("abc")})},
        {"payload ends inside the flags (ProgrammaticAccess)", payload({spare})},
        {"payload ends inside the flags (CreateShortcuts)", payload({spare, Le32(1), Bytes{0, 0}})},
        {"payload ends inside the flags (ExtensionComponents)", payload({spare, Le32(1), Le32(1), Bytes{0, 0, 0}})},
        // ---- what the uninstaller still refuses: damage before ProgramGroup ends ----
        {"payload ends inside ProgramGroup (text)", payload({cutProgramGroup}), ReadScope::Uninstaller},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.problem, ProblemOf(c.file, c.scope)) << "file of " << c.file.size() << " bytes";
    }
}

TEST(InstallLogMalformed, EncodedFileCutAtEveryLengthIsRefused) {
    const Bytes file = EncodeInstallLog(Sample(), kKey);
    for (std::size_t size = 0; size < file.size(); ++size) {
        const Bytes cut(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(size));
        EXPECT_FALSE(ParseInstallLog(cut, ReadScope::Installer).log) << "cut at " << size;
    }
}

// --- Read scope ---

// The uninstaller reads no further than ProgramGroup: a file cut after it (which the
// installer refuses, see above) is complete for it, and of a full one it takes as much.
TEST(InstallLogScope, TheUninstallerReadsThroughProgramGroup) {
    InstallLog expected = Sample();
    expected.SpareText.clear();
    expected.ProgrammaticAccess = expected.CreateShortcuts = expected.ExtensionComponents = 0;
    for (const Bytes& file : {Scrambled(PayloadThroughProgramGroup(), kKey), EncodeInstallLog(Sample(), kKey)}) {
        const ParseResult parsed = ParseInstallLog(file, ReadScope::Uninstaller);
        ASSERT_TRUE(parsed.log) << parsed.problem;
        ExpectSameLog(expected, *parsed.log);
    }
}

// --- Field limits ---

// Every field's limit as the programs' buffers give it: at the limit the reader takes
// the text, one byte more and it refuses the file, naming the field.
TEST(InstallLogLimits, TextAtItsLimitIsAcceptedAndOneByteMoreRejected) {
    const std::map<std::string, std::size_t> limits = {
        {"PrinterName", 63}, {"PortName", 63}, {"PaperSizeName", 31}, {"ProductName", 263},
        {"DestinationSubfolder", 259}, {"ProgramGroup", 259}};
    for (const auto& [name, limit] : limits) {
        SCOPED_TRACE(name);
        const TextField& field = FieldNamed(name);
        InstallLog log = Sample();
        log.*field.member = std::string(limit, 'x');
        ExpectSameLog(log, RoundTrip(log, kKey));
        const ParseResult uninstaller = ParseInstallLog(EncodeInstallLog(log, kKey), ReadScope::Uninstaller);
        ASSERT_TRUE(uninstaller.log) << uninstaller.problem;
        EXPECT_EQ((*uninstaller.log).*field.member, log.*field.member);

        log.*field.member += 'y';
        EXPECT_EQ(name + " is " + std::to_string(limit + 1) + " bytes, over its limit of " + std::to_string(limit),
                  FindUnusableField(log).value_or(""));
        const std::string overLimit =
            name + " length " + std::to_string(limit + 1) + " exceeds its limit of " + std::to_string(limit);
        EXPECT_EQ(overLimit, ProblemOf(EncodeInstallLog(log, kKey)));
        EXPECT_EQ(overLimit, ProblemOf(EncodeInstallLog(log, kKey), ReadScope::Uninstaller));
    }
    InstallLog log = Sample();
    log.SpareText = std::string(100000, 's');  // the one text without a limit
    EXPECT_FALSE(FindUnusableField(log));
    ExpectSameLog(log, RoundTrip(log, kKey));
}

// An empty printer, port or product name would make the programs address the Uninstall
// key or the product key itself; a file with one is refused in both scopes, also when
// the name is empty only up to a zero byte.
TEST(InstallLogRequiredNames, EmptyOrZeroLedNameIsRefused) {
    for (const char* name : {"PrinterName", "PortName", "ProductName"}) {
        for (const std::string& stored : {std::string(), std::string("\0Q", 2)}) {
            SCOPED_TRACE(std::string(name) + " stored with " + std::to_string(stored.size()) + " bytes");
            const TextField& field = FieldNamed(name);
            InstallLog log = Sample();
            log.*field.member = stored;
            const Bytes file = EncodeInstallLog(log, kKey);
            EXPECT_EQ(std::string(name) + " is empty", ProblemOf(file, ReadScope::Installer));
            EXPECT_EQ(std::string(name) + " is empty", ProblemOf(file, ReadScope::Uninstaller));
            if (stored.empty()) {
                EXPECT_EQ(std::string(name) + " is empty", FindUnusableField(log).value_or(""));
            }
        }
    }
}

// A text holding a zero byte reads back cut at it, so the install log tool refuses it
// rather than write a file whose names differ from its INI file (or one both programs
// refuse, when a required name starts with it). Found by fuzzing the encoder.
TEST(InstallLogRequiredNames, ATextWithAZeroByteIsUnusable) {
    for (const TextField& field : kTextFields) {
        SCOPED_TRACE(field.name);
        InstallLog log = Sample();
        log.*field.member = std::string("Quil\0let", 8);
        EXPECT_EQ(std::string(field.name) + " holds a zero byte, where the programs' copy of it ends",
                  FindUnusableField(log).value_or(""));
    }
}

// The encoder's caller also refuses what the reader would take but Windows would not:
// a product name too long for the uninstall entry's key path, or one with a backslash.
TEST(InstallLogRequiredNames, ProductNameMustNameARegistryKey) {
    InstallLog log = Sample();
    log.ProductName = std::string(203, 'p');
    EXPECT_FALSE(FindUnusableField(log));
    log.ProductName += 'p';
    EXPECT_EQ("ProductName is 204 bytes, too long to name its uninstall entry in the registry (at most 203)",
              FindUnusableField(log).value_or(""));
    log.ProductName = "Brindle\\Quillet";
    EXPECT_NE(FindUnusableField(log).value_or("").find("backslash"), std::string::npos);
    log.ProgramGroup = std::string(300, 'g');
    log.PortName = std::string(64, 'p');
    EXPECT_EQ("PortName is 64 bytes, over its limit of 63", FindUnusableField(log).value_or(""))
        << "the first unusable field in stored order";
}

// --- Loading through the file system ---

// The loader reads folder + "Setup.inf", gives the read's error when it fails and
// ERROR_INVALID_DATA with the problem for a malformed file; the scope decides whether a
// file cut after ProgramGroup is complete.
TEST(InstallLogLoad, ReadsSetupInfFromTheFolderOrSaysWhyNot) {
    fake::FakeWindows windows;
    windows.files.AddFile("C:\\Medium\\Setup.inf", EncodeInstallLog(Sample(), kKey));
    const LoadResult loaded = LoadInstallLog(windows.files, "C:\\Medium\\", ReadScope::Installer);
    ASSERT_TRUE(loaded.log) << loaded.problem;
    ExpectSameLog(Sample(), *loaded.log);

    EXPECT_EQ(platform::kErrorFileNotFound, LoadInstallLog(windows.files, "C:\\Other\\", ReadScope::Installer).error);
    windows.failures.Fail(fake::Op::ReadWholeFile, platform::kErrorAccessDenied, "Setup.inf", 1);
    const LoadResult denied = LoadInstallLog(windows.files, "C:\\Medium\\", ReadScope::Installer);
    EXPECT_FALSE(denied.log);
    EXPECT_EQ(platform::kErrorAccessDenied, denied.error);

    windows.files.AddFile("C:\\App\\Setup.inf", Cat({Le32(0)}));
    const LoadResult malformed = LoadInstallLog(windows.files, "C:\\App\\", ReadScope::Uninstaller);
    EXPECT_FALSE(malformed.log);
    EXPECT_EQ(platform::kErrorInvalidData, malformed.error);
    EXPECT_EQ("key length is 0", malformed.problem);

    windows.files.AddFile("C:\\App\\Setup.inf", Scrambled(PayloadThroughProgramGroup(), kKey));
    EXPECT_TRUE(LoadInstallLog(windows.files, "C:\\App\\", ReadScope::Uninstaller).log);
    EXPECT_EQ(platform::kErrorInvalidData, LoadInstallLog(windows.files, "C:\\App\\", ReadScope::Installer).error);
}

}  // namespace
}  // namespace installlog
