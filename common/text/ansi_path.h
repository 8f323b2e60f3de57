// Paths as narrow text in the system's ANSI code page. In the double-byte code pages
// (Japanese, Chinese, Korean) the second byte of a character may have the value of a
// backslash; only a backslash that is a character of its own separates folders.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace text {

// One range of lead bytes of a code page: its first and last byte.
using ByteRange = std::pair<std::uint8_t, std::uint8_t>;

// Which bytes of the ANSI code page begin a two-byte character.
class LeadBytes {
public:
    LeadBytes() = default;  // a single-byte code page
    explicit LeadBytes(const std::vector<ByteRange>& ranges);
    bool IsLead(char c) const { return lead_[static_cast<unsigned char>(c)]; }

private:
    std::array<bool, 256> lead_{};
};

// The position of every backslash that is a character of its own, in order.
std::vector<std::size_t> BackslashPositions(const std::string& path, const LeadBytes& leadBytes);

// The position of the last backslash that is a character of its own, or npos.
std::size_t FindLastBackslash(const std::string& path, const LeadBytes& leadBytes);

// The folder part of a path: everything up to and including its last backslash; empty
// when there is none. A forward slash does not count.
std::string FolderOf(const std::string& path, const LeadBytes& leadBytes);

// The path without its last character when that is a backslash of its own; a trail byte
// of the value of a backslash stays.
std::string WithoutTrailingBackslash(const std::string& path, const LeadBytes& leadBytes);

// The text ends with a lead byte whose trail byte is missing. A name appended after a
// backslash would become that character's trail, so such a path names another place
// once anything is added to it.
bool EndsInsideCharacter(const std::string& text, const LeadBytes& leadBytes);

}  // namespace text
