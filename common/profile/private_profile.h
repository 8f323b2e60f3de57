// A portable reader for sectioned key=value text ("[section]" lines followed by
// "key=value" lines): the install log tool reads its medium.ini with it. (The installer
// reads its settings file with the system's own reader, through the platform.) Its rules:
// - section and key names match without regard to ASCII case;
// - blanks around names and values are trimmed;
// - the first section with a matching name is the one searched, and within it the
//   first matching key wins;
// - anything missing reads as the empty text;
// - lines may end in "\r\n" or "\n"; lines whose first non-blank character is ';'
//   are comments.
// Quotes around values are not stripped, the text is taken as it is (no UTF-16), and
// nothing is ever written.
//
// Also here: the C library's number conversions, as the installer reads numbers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace profile {

// The value of `key` in `section`, cut to capacity - 1 characters as the platform
// reader cuts it to its buffer (capacity 0 gives the empty text).
std::string ReadProfileString(const std::string& text, const std::string& section,
                              const std::string& key, std::size_t capacity);

// The key names of `section` in the order they appear, duplicates included.
std::vector<std::string> ListProfileKeys(const std::string& text, const std::string& section);

// Whether two section or key names are the same name: equal apart from ASCII case.
bool NamesMatch(std::string_view a, std::string_view b);

// Whether the text has a "[section]" line with this name.
bool HasProfileSection(const std::string& text, const std::string& section);

// The C library's atoi: leading white space, an optional sign, then decimal digits up
// to the first non-digit; no digits gives 0. Out-of-range values saturate to the
// 32-bit range instead of being undefined.
std::int32_t ParseLeadingInt(const std::string& text);

// The C library's atol on Windows, where long is 32 bits: the same as ParseLeadingInt.
std::int32_t ParseLeadingLong(const std::string& text);

}  // namespace profile
