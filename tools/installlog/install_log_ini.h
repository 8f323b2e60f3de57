// The readable form of an install log used by the medium preparer's tool: an INI file
// with one section [InstallLog] holding the ten values and, optionally, the header.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "common/installlog/install_log.h"

namespace installlog::tool {

inline constexpr const char* kSectionName = "InstallLog";
inline constexpr const char* kHeaderKey = "Header";

struct IniReadResult {
    std::optional<InstallLog> log;
    std::string problem;  // what is wrong, when log is empty
};

// Reads the [InstallLog] section. Missing or empty texts are empty, missing or empty
// numbers are 0, a missing header is all zero. Refuses a missing section, an unknown
// key, a number or header that does not parse. Values are never cut, so an overlong
// text stays overlong for FindUnusableField to find.
IniReadResult ReadInstallLogIni(const std::string& iniText);

// The INI text for `log`: a comment line naming the key, the section line, then the
// header, the seven texts and the three flags (as signed decimal), one per line.
std::string WriteInstallLogIni(const InstallLog& log, const std::vector<std::uint8_t>& key);

// The name of the first text holding a CR or LF, which an INI line cannot carry.
std::optional<std::string> FindTextWithLineBreak(const InstallLog& log);

// The names of the texts with leading or trailing blanks, which an INI value loses.
std::vector<std::string> FindTextsWithEdgeBlanks(const InstallLog& log);

// A 32-bit number: decimal with an optional sign from -2147483648 to 4294967295, or
// "0x" and one to eight hex digits. Values above 2147483647 keep their 32 bits, so
// 4294967295 and 0xFFFFFFFF are both -1.
std::optional<std::int32_t> ParseNumber(const std::string& text);

// Bytes written as an even number of hex digits, at least two; nothing otherwise.
std::optional<std::vector<std::uint8_t>> ParseHexBytes(const std::string& text);

// Bytes as upper-case hex digits, two per byte.
std::string FormatHexBytes(std::span<const std::uint8_t> bytes);

}  // namespace installlog::tool
