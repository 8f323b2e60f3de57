// The in-memory Windows' settings-file reader (the host's GetPrivateProfileStringA).
// Input: byte 0 picks the capacity, byte 1 the section, byte 2 the key; the rest is the
// file. Whatever the file:
// - the text read fits the capacity with its NUL and holds no NUL;
// - section and key names match without regard to ASCII case;
// - a larger buffer never reads a different text, only more of it (a quoted value that
//   exactly fills a buffer loses one character, as under Wine, and no more);
// - a section and key put in front of the file are found with their value, cut as the
//   capacity says;
// - ASCII text reads the same as ANSI, as UTF-8 with its mark and as UTF-16 with its
//   mark.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "tests/fake_windows/fake_private_profile.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

constexpr std::size_t kSelectorBytes = 3;
constexpr std::size_t kUnlimited = static_cast<std::size_t>(-1);
constexpr std::size_t kSmallBuffers = 64;

const std::vector<std::size_t> kCapacities = {0, 1, 2, 3, 10, 15, 1000, kUnlimited};
const std::vector<std::string> kNames = {"Parameters", "Installation", "Preferences", "Command", "AutoPaperSize",
                                         "GNUGS", "", " Parameters ", "a"};

std::string Read(const std::string& file, const std::string& section, const std::string& key, std::size_t capacity) {
    return fake::ReadPrivateProfileString(std::vector<std::uint8_t>(file.begin(), file.end()), section, key, capacity);
}

std::string Upper(std::string text) {
    for (char& c : text) c = fuzzing::UpperAscii(c);
    return text;
}

bool IsBlank(char c) { return (c >= '\t' && c <= '\r') || c == '\x1A' || c == ' '; }

// A name or value as a line can carry it: no line break or NUL, no blanks at its ends.
std::string AsLineText(std::string text) {
    std::string kept;
    for (const char c : text) {
        if (c != '\r' && c != '\n' && c != '\0') kept += c;
    }
    while (!kept.empty() && IsBlank(kept.front())) kept.erase(0, 1);
    while (!kept.empty() && IsBlank(kept.back())) kept.pop_back();
    return kept;
}

bool IsPrefixOf(const std::string& prefix, const std::string& text) {
    return prefix.size() <= text.size() && text.compare(0, prefix.size(), prefix) == 0;
}

void ExpectGrowingBuffersReadMoreOfTheSame(const std::string& file, const std::string& section,
                                           const std::string& key) {
    const std::string whole = Read(file, section, key, kUnlimited);
    // Every small buffer, and those around the value's own length.
    std::vector<std::size_t> capacities;
    for (std::size_t capacity = 1; capacity <= std::min<std::size_t>(whole.size() + 3, kSmallBuffers); ++capacity) {
        capacities.push_back(capacity);
    }
    for (std::size_t capacity = std::max(whole.size(), kSmallBuffers + 1); capacity <= whole.size() + 3; ++capacity) {
        capacities.push_back(capacity);
    }
    std::string previous;
    for (const std::size_t capacity : capacities) {
        const std::string read = Read(file, section, key, capacity);
        FUZZ_EXPECT(IsPrefixOf(previous, read));
        FUZZ_EXPECT(IsPrefixOf(read, whole));
        // At most the one character of a quoted value that exactly fills the buffer is lost.
        FUZZ_EXPECT(read.size() + 2 >= std::min(whole.size() + 1, capacity));
        previous = read;
    }
    FUZZ_EXPECT(previous == whole);
}

// A section line and a key line in front of the file: the key is the first of its name
// in the first section of its name.
void ExpectPlantedKeyIsFound(const std::string& file, const std::string& rawSection, const std::string& rawKey,
                             const std::string& rawValue, std::size_t capacity) {
    const std::string section = AsLineText(rawSection);
    std::string key = AsLineText(rawKey);
    std::string value = AsLineText(rawValue);
    // A key name ends at its '=', and one starting with '[' or ';' is another kind of line.
    key = AsLineText(key.substr(0, key.find('=')));
    if (section.empty() || key.empty() || key.front() == '[' || key.front() == ';') return;
    const std::string planted = "[" + section + "]\r\n" + key + "=" + value + "\r\n" + file;
    if (capacity == 0) {
        FUZZ_EXPECT(Read(planted, section, key, capacity).empty());
        return;
    }
    const bool quoted = value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                        value.back() == value.front();
    std::string expected = quoted ? value.substr(1, value.size() - 2) : value;
    if (quoted && !expected.empty() && expected.size() == capacity - 1) expected.pop_back();
    FUZZ_EXPECT(Read(planted, section, key, capacity) == expected.substr(0, capacity - 1));
}

std::string Utf16WithMark(const std::string& ascii) {
    std::string bytes = "\xFF\xFE";
    for (const char c : ascii) {
        bytes += c;
        bytes += '\0';
    }
    return bytes;
}

void ExpectEncodingsOfAsciiReadAlike(const std::string& file, const std::string& section, const std::string& key,
                                     std::size_t capacity) {
    std::string ascii;
    for (const char c : file) ascii += static_cast<char>(c & 0x7F);
    const std::string ansi = Read(ascii, section, key, capacity);
    FUZZ_EXPECT(Read("\xEF\xBB\xBF" + ascii, section, key, capacity) == ansi);
    FUZZ_EXPECT(Read(Utf16WithMark(ascii), section, key, capacity) == ansi);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < kSelectorBytes) return 0;
    const std::size_t capacity = kCapacities[data[0] % kCapacities.size()];
    const std::string section = kNames[data[1] % kNames.size()];
    const std::string key = kNames[data[2] % kNames.size()];
    const std::string file = fuzzing::Text(data + kSelectorBytes, size - kSelectorBytes);

    const std::string read = Read(file, section, key, capacity);
    FUZZ_EXPECT(capacity == 0 ? read.empty() : read.size() < capacity);
    FUZZ_EXPECT(read.find('\0') == std::string::npos);
    FUZZ_EXPECT(Read(file, Upper(section), Upper(key), capacity) == read);

    ExpectGrowingBuffersReadMoreOfTheSame(file, section, key);
    ExpectEncodingsOfAsciiReadAlike(file, section, key, capacity);

    // The file's first three lines, taken apart, as a section, a key and a value.
    const std::vector<std::string> pieces = fuzzing::SplitAtNul(file);
    if (pieces.size() >= 3) ExpectPlantedKeyIsFound(file, pieces[0], pieces[1], pieces[2], capacity);
    return 0;
}
