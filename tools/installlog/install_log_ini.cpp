#include "tools/installlog/install_log_ini.h"

#include <algorithm>
#include <limits>

#include "common/profile/private_profile.h"

namespace installlog::tool {
namespace {

// Values are read whole: nothing is cut.
constexpr std::size_t kUncut = std::numeric_limits<std::size_t>::max();

std::optional<unsigned> HexDigitValue(char c) {
    if (c >= '0' && c <= '9') return static_cast<unsigned>(c - '0');
    if (c >= 'a' && c <= 'f') return static_cast<unsigned>(c - 'a' + 10);
    if (c >= 'A' && c <= 'F') return static_cast<unsigned>(c - 'A' + 10);
    return std::nullopt;
}

// "0x" and one to eight hex digits.
std::optional<std::uint32_t> ParseHexWord(const std::string& digits) {
    if (digits.empty() || digits.size() > 8) return std::nullopt;
    std::uint32_t word = 0;
    for (const char c : digits) {
        const auto digit = HexDigitValue(c);
        if (!digit) return std::nullopt;
        word = (word << 4) | *digit;
    }
    return word;
}

// An unsigned decimal up to `limit`.
std::optional<std::uint64_t> ParseDecimal(const std::string& digits, std::uint64_t limit) {
    if (digits.empty()) return std::nullopt;
    std::uint64_t value = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
        if (value > limit) return std::nullopt;
    }
    return value;
}

bool IsKnownKey(const std::string& key) {
    const auto named = [&](const char* name) { return profile::NamesMatch(key, name); };
    return named(kHeaderKey) ||
           std::any_of(kTextFields.begin(), kTextFields.end(),
                       [&](const TextField& f) { return named(f.name); }) ||
           std::any_of(kFlagFields.begin(), kFlagFields.end(),
                       [&](const FlagField& f) { return named(f.name); });
}

std::optional<std::string> FindUnknownKey(const std::string& iniText) {
    for (const std::string& key : profile::ListProfileKeys(iniText, kSectionName)) {
        if (!IsKnownKey(key)) return key;
    }
    return std::nullopt;
}

bool ReadHeader(const std::string& value, InstallLog& log) {
    if (value.empty()) return true;
    const auto bytes = ParseHexBytes(value);
    if (!bytes || bytes->size() != kHeaderSize) return false;
    std::copy(bytes->begin(), bytes->end(), log.Header.begin());
    return true;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

IniReadResult ReadInstallLogIni(const std::string& iniText) {
    const std::string section = kSectionName;
    if (!profile::HasProfileSection(iniText, section)) {
        return {std::nullopt, "no [" + section + "] section"};
    }
    if (const auto unknown = FindUnknownKey(iniText)) {
        return {std::nullopt, "unknown key \"" + *unknown + "\" in [" + section + "]"};
    }

    InstallLog log;
    const auto read = [&](const char* key) {
        return profile::ReadProfileString(iniText, section, key, kUncut);
    };
    if (!ReadHeader(read(kHeaderKey), log)) {
        return {std::nullopt, std::string(kHeaderKey) + " is not " +
                                  std::to_string(2 * kHeaderSize) + " hex digits"};
    }
    for (const TextField& field : kTextFields) log.*field.member = read(field.name);
    for (const FlagField& flag : kFlagFields) {
        const std::string value = read(flag.name);
        if (value.empty()) continue;
        const auto number = ParseNumber(value);
        if (!number) {
            return {std::nullopt, std::string(flag.name) + " \"" + value +
                                      "\" is not a 32-bit number"};
        }
        log.*flag.member = *number;
    }
    return {std::move(log), {}};
}

std::string WriteInstallLogIni(const InstallLog& log, const std::vector<std::uint8_t>& key) {
    // Built with append() alone: GCC 12 warns falsely (-Wrestrict) on chains of operator+.
    std::string text;
    const auto line = [&text](const std::string& name, const std::string& value) {
        text.append(name).append("=").append(value).append("\n");
    };
    text.append("; key: ").append(FormatHexBytes(key)).append("\n");
    text.append("[").append(kSectionName).append("]\n");
    line(kHeaderKey, FormatHexBytes(log.Header));
    for (const TextField& field : kTextFields) line(field.name, log.*field.member);
    for (const FlagField& flag : kFlagFields) line(flag.name, std::to_string(log.*flag.member));
    return text;
}

std::optional<std::string> FindTextWithLineBreak(const InstallLog& log) {
    for (const TextField& field : kTextFields) {
        if ((log.*field.member).find_first_of("\r\n") != std::string::npos) return field.name;
    }
    return std::nullopt;
}

std::vector<std::string> FindTextsWithEdgeBlanks(const InstallLog& log) {
    std::vector<std::string> names;
    for (const TextField& field : kTextFields) {
        const std::string& text = log.*field.member;
        if (!text.empty() && (IsBlank(text.front()) || IsBlank(text.back()))) {
            names.emplace_back(field.name);
        }
    }
    return names;
}

std::optional<std::int32_t> ParseNumber(const std::string& text) {
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        const auto word = ParseHexWord(text.substr(2));
        if (!word) return std::nullopt;
        return static_cast<std::int32_t>(*word);
    }
    const bool negative = !text.empty() && text[0] == '-';
    const bool signedText = !text.empty() && (text[0] == '-' || text[0] == '+');
    const std::uint64_t limit = negative ? 2147483648u : 4294967295u;
    const auto magnitude = ParseDecimal(signedText ? text.substr(1) : text, limit);
    if (!magnitude) return std::nullopt;
    // Both branches stay within 32 bits; the conversion keeps them modulo 2^32.
    const auto word = static_cast<std::uint32_t>(negative ? 0u - *magnitude : *magnitude);
    return static_cast<std::int32_t>(word);
}

std::optional<std::vector<std::uint8_t>> ParseHexBytes(const std::string& text) {
    if (text.size() < 2 || text.size() % 2 != 0) return std::nullopt;
    std::vector<std::uint8_t> bytes;
    bytes.reserve(text.size() / 2);
    for (std::size_t i = 0; i < text.size(); i += 2) {
        const auto high = HexDigitValue(text[i]);
        const auto low = HexDigitValue(text[i + 1]);
        if (!high || !low) return std::nullopt;
        bytes.push_back(static_cast<std::uint8_t>((*high << 4) | *low));
    }
    return bytes;
}

std::string FormatHexBytes(std::span<const std::uint8_t> bytes) {
    constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(bytes.size() * 2);
    for (const std::uint8_t byte : bytes) {
        text += kDigits[byte >> 4];
        text += kDigits[byte & 0x0F];
    }
    return text;
}

}  // namespace installlog::tool
