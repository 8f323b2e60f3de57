// The in-memory Windows' GetPrivateProfileStringA: reads a settings file's bytes with the
// rules the real call shows under Wine (tests/shared/private_profile_cases.h holds them,
// and both the real call and this reader are tested against that one table):
// - a file starting with a UTF-8 or UTF-16 (little- or big-endian) byte order mark is
//   decoded and read as ANSI text; any other file is ANSI text as it is;
// - lines end at any run of CR and LF; blanks (space, tab, VT, FF, CR, LF and the DOS
//   end-of-file mark) around lines, names and values go;
// - "[name]" starts a section, up to the last ']' of the line; a line with no ']' is a
//   key line; keys before the first section belong to none that has a name;
// - "name=value" is a key, the value after the first '='; a line without '=' is a key
//   without a value, which reads as empty and hides later keys of its name;
// - names match without regard to ASCII case; only the first section of a name is
//   searched and the first key of a name in it wins; text ends at a NUL;
// - a value enclosed in a matching pair of '"' or '\'' loses the pair;
// - the text is cut to capacity - 1 characters. When a quoted value's text is exactly
//   capacity - 1 characters long, its last character goes too, as in Wine.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace fake {

std::string ReadPrivateProfileString(const std::vector<std::uint8_t>& fileBytes, const std::string& section,
                                     const std::string& key, std::size_t capacity);

}  // namespace fake
