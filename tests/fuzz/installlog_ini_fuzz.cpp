// The install log tool's INI side and the portable profile reader under it. The input is
// an INI text:
// - a record the tool reads from it, written out again (as "installlog decode" writes
//   it), reads back the same, unless a text holds a line break or blanks at its ends,
//   which the tool refuses or warns about;
// - a flag value that parses writes back (in decimal and as "0x" and eight hex digits)
//   to the same number; hex bytes that parse format back to the same text;
// - the profile reader's text fits its capacity and grows with it;
// - the installer's number reading (atoi, atol) is the C library's strtoll held to the
//   32-bit range.
#include <cerrno>
#include <cinttypes>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "common/profile/private_profile.h"
#include "tests/fuzz/fuzz_check.h"
#include "tools/installlog/install_log_ini.h"

namespace {

using installlog::InstallLog;
using installlog::tool::IniReadResult;

constexpr std::size_t kUnlimited = static_cast<std::size_t>(-1);

bool SameLog(const InstallLog& a, const InstallLog& b) {
    for (const auto& field : installlog::kTextFields) {
        if (a.*field.member != b.*field.member) return false;
    }
    for (const auto& flag : installlog::kFlagFields) {
        if (a.*flag.member != b.*flag.member) return false;
    }
    return a.Header == b.Header;
}

void ExpectRecordWritesBackTheSame(const std::string& ini) {
    const IniReadResult read = installlog::tool::ReadInstallLogIni(ini);
    FUZZ_EXPECT(read.log.has_value() != !read.problem.empty());
    if (!read.log) return;
    if (installlog::tool::FindTextWithLineBreak(*read.log)) return;
    if (!installlog::tool::FindTextsWithEdgeBlanks(*read.log).empty()) return;
    const IniReadResult again =
        installlog::tool::ReadInstallLogIni(installlog::tool::WriteInstallLogIni(*read.log, {0x5A}));
    FUZZ_EXPECT(again.log.has_value());
    FUZZ_EXPECT(SameLog(*read.log, *again.log));
}

void ExpectNumbersWriteBackTheSame(const std::string& text) {
    const auto number = installlog::tool::ParseNumber(text);
    if (number) {
        FUZZ_EXPECT(installlog::tool::ParseNumber(std::to_string(*number)) == number);
        char hex[16];
        std::snprintf(hex, sizeof hex, "0x%08" PRIX32, static_cast<std::uint32_t>(*number));
        FUZZ_EXPECT(installlog::tool::ParseNumber(hex) == number);
    }
    if (const auto bytes = installlog::tool::ParseHexBytes(text)) {
        FUZZ_EXPECT(bytes->size() * 2 == text.size());
        FUZZ_EXPECT(installlog::tool::ParseHexBytes(installlog::tool::FormatHexBytes(*bytes)) == bytes);
    }
}

// The C library's conversion, where it is defined for every input: long long saturates.
std::int32_t ReferenceAtoi(const std::string& text) {
    errno = 0;
    const long long value = std::strtoll(text.c_str(), nullptr, 10);
    if (value > INT32_MAX) return INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return static_cast<std::int32_t>(value);
}

void ExpectLeadingNumbersAsTheCLibraryReadsThem(const std::string& text) {
    const std::string upToNul = text.substr(0, text.find('\0'));
    FUZZ_EXPECT(profile::ParseLeadingInt(upToNul) == ReferenceAtoi(upToNul));
    FUZZ_EXPECT(profile::ParseLeadingLong(upToNul) == profile::ParseLeadingInt(upToNul));
}

void ExpectProfileReadsFitTheirBuffers(const std::string& ini) {
    for (const auto& field : installlog::kTextFields) {
        const std::string whole = profile::ReadProfileString(ini, "InstallLog", field.name, kUnlimited);
        FUZZ_EXPECT(profile::ReadProfileString(ini, "installlog", field.name, kUnlimited) == whole);
        for (const std::size_t capacity : {std::size_t{0}, std::size_t{1}, std::size_t{10}, std::size_t{64}}) {
            const std::string read = profile::ReadProfileString(ini, "InstallLog", field.name, capacity);
            FUZZ_EXPECT(capacity == 0 ? read.empty() : read == whole.substr(0, capacity - 1));
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text = fuzzing::Text(data, size);
    ExpectRecordWritesBackTheSame(text);
    ExpectProfileReadsFitTheirBuffers(text);
    // Short inputs double as numbers and hex bytes.
    if (size <= 40) {
        ExpectNumbersWriteBackTheSame(text);
        ExpectLeadingNumbersAsTheCLibraryReadsThem(text);
    }
    return 0;
}
