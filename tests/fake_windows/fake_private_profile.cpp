#include "tests/fake_windows/fake_private_profile.h"

#include <algorithm>
#include <initializer_list>
#include <optional>
#include <string_view>

#include "tests/fake_windows/fake_windows.h"

namespace fake {
namespace {

// ---- decoding ---------------------------------------------------------------------------

// One character in the ANSI code page. Latin-1 stands in for Western European code page
// 1252, which it matches for every letter the tests use; anything else has no ANSI form.
char ToAnsi(std::uint32_t codePoint) {
    return codePoint < 0x100 ? static_cast<char>(codePoint) : '?';
}

std::string Utf16ToAnsi(const std::vector<std::uint8_t>& bytes, bool bigEndian) {
    std::string text;
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
        const std::uint32_t high = bigEndian ? bytes[i] : bytes[i + 1];
        const std::uint32_t low = bigEndian ? bytes[i + 1] : bytes[i];
        text += ToAnsi(high << 8 | low);
    }
    return text;
}

// The length of the UTF-8 sequence that starts with `lead`, 0 for a byte no sequence
// starts with.
std::size_t Utf8Length(std::uint8_t lead) {
    if (lead < 0x80) return 1;
    if ((lead & 0xE0) == 0xC0) return 2;
    if ((lead & 0xF0) == 0xE0) return 3;
    if ((lead & 0xF8) == 0xF0) return 4;
    return 0;
}

std::string Utf8ToAnsi(const std::vector<std::uint8_t>& bytes) {
    std::string text;
    std::size_t i = 3;  // after the byte order mark
    while (i < bytes.size()) {
        const std::size_t length = Utf8Length(bytes[i]);
        if (length == 0 || i + length > bytes.size()) {
            text += '?';
            ++i;
            continue;
        }
        std::uint32_t codePoint = length == 1 ? bytes[i] : bytes[i] & (0x7Fu >> length);
        for (std::size_t k = 1; k < length; ++k) codePoint = codePoint << 6 | (bytes[i + k] & 0x3Fu);
        text += ToAnsi(codePoint);
        i += length;
    }
    return text;
}

bool StartsWith(const std::vector<std::uint8_t>& bytes, std::initializer_list<std::uint8_t> mark) {
    return bytes.size() >= mark.size() && std::equal(mark.begin(), mark.end(), bytes.begin());
}

std::string DecodeToAnsi(const std::vector<std::uint8_t>& bytes) {
    if (StartsWith(bytes, {0xEF, 0xBB, 0xBF})) return Utf8ToAnsi(bytes);
    if (StartsWith(bytes, {0xFF, 0xFE})) return Utf16ToAnsi(bytes, false);
    if (StartsWith(bytes, {0xFE, 0xFF})) return Utf16ToAnsi(bytes, true);
    return std::string(bytes.begin(), bytes.end());
}

// ---- lines ------------------------------------------------------------------------------

bool IsBlank(char c) { return (c >= '\t' && c <= '\r') || c == '\x1A' || c == ' '; }

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

// Names and values are C strings to the reader: a NUL ends them.
std::string_view UpToNul(std::string_view text) { return text.substr(0, text.find('\0')); }

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b) {
    a = UpToNul(a);
    b = UpToNul(b);
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}

struct Line {
    std::optional<std::string_view> section;  // the name of a section line
    std::string_view name;                     // a key line's name
    std::optional<std::string_view> value;     // absent on a line without '='
};

// A trimmed, non-empty line.
Line Classify(std::string_view line) {
    if (line.front() == '[') {
        const auto close = line.rfind(']');
        if (close != std::string_view::npos) return Line{Trim(line.substr(1, close - 1)), {}, {}};
    }
    const auto equals = line.find('=');
    if (equals == std::string_view::npos) return Line{{}, line, {}};
    return Line{{}, Trim(line.substr(0, equals)), Trim(line.substr(equals + 1))};
}

// The first key named `key` in the first section named `section`: its value, or nothing
// when there is no such key or it has no '='.
std::optional<std::string_view> FindValue(std::string_view text, std::string_view section, std::string_view key) {
    // Keys before the first section line belong to a section without a name.
    bool inWanted = SameName({}, section);
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = Trim(text.substr(start, end - start));
        start = std::min(text.find_first_not_of("\r\n", end), text.size());
        if (line.empty()) continue;

        const Line parsed = Classify(line);
        if (parsed.section) {
            if (inWanted) return std::nullopt;  // a later section of the same name is not searched
            inWanted = SameName(*parsed.section, section);
        } else if (inWanted && SameName(parsed.name, key)) {
            return parsed.value;
        }
    }
    return std::nullopt;
}

// The value as the caller's buffer receives it: a matching pair of quotes dropped, cut to
// capacity - 1 characters.
std::string CopyOut(std::string_view value, std::size_t capacity) {
    if (capacity == 0) return {};
    value = UpToNul(value);
    const bool quoted = value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                        value.back() == value.front();
    if (quoted) value.remove_prefix(1);  // the closing quote is still there
    std::string copied(value.substr(0, capacity - 1));
    // Dropping the closing quote only once the buffer held the whole rest: when it held
    // one character less, the quote was already cut and a character of the text goes.
    if (quoted && capacity >= value.size() && !copied.empty()) copied.pop_back();
    return copied;
}

}  // namespace

std::string ReadPrivateProfileString(const std::vector<std::uint8_t>& fileBytes, const std::string& section,
                                     const std::string& key, std::size_t capacity) {
    const std::string text = DecodeToAnsi(fileBytes);
    const auto value = FindValue(text, Trim(section), Trim(key));
    return value ? CopyOut(*value, capacity) : std::string();
}

// The fake file system's side of the call: the file's bytes through the reader above.
std::string FakeFileSystem::GetPrivateProfileString(const std::string& section, const std::string& key,
                                                    std::size_t capacity, const std::string& path) {
    journal_.Add("GetPrivateProfileString " + path + " [" + section + "] " + key);
    // A file the call cannot open reads as the default; the error is not reported.
    if (failures_.Check(Op::GetPrivateProfileString, path)) return {};
    const auto entry = Entry(path);
    if (!entry || (entry->attributes & platform::kFileAttributeDirectory) != 0) return {};
    return ReadPrivateProfileString(entry->bytes, section, key, capacity);
}

}  // namespace fake
