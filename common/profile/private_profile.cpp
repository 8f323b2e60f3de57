#include "common/profile/private_profile.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <string_view>

namespace profile {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// One meaningful line of the text: a section header or a key line.
struct ProfileLine {
    bool isSection = false;
    std::string_view name;   // section or key name, trimmed
    std::string_view value;  // key lines only, trimmed; empty when the line has no '='
};

// The section name of a "[name]" line: up to the last ']', or the rest of the line
// when there is none.
std::string_view SectionName(std::string_view line) {
    line.remove_prefix(1);
    const auto close = line.rfind(']');
    if (close != std::string_view::npos) line = line.substr(0, close);
    return TrimBlanks(line);
}

// Classifies one line without its line ending; blank lines and comments give nothing.
std::optional<ProfileLine> ParseLine(std::string_view line) {
    line = TrimBlanks(line);
    if (line.empty() || line.front() == ';') return std::nullopt;
    if (line.front() == '[') return ProfileLine{true, SectionName(line), {}};
    const auto equals = line.find('=');
    if (equals == std::string_view::npos) return ProfileLine{false, line, {}};
    return ProfileLine{false, TrimBlanks(line.substr(0, equals)),
                       TrimBlanks(line.substr(equals + 1))};
}

// Calls visit(line) for every key line of the first section named `section`, in
// order, until visit returns false. Returns whether that section exists.
template <class Visit>
bool ForEachKeyLine(std::string_view text, std::string_view section, Visit visit) {
    bool found = false;
    std::size_t start = 0;
    while (start < text.size()) {
        auto end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);

        const auto parsed = ParseLine(line);
        if (!parsed) continue;
        if (parsed->isSection) {
            if (found) return true;  // the first matching section has ended
            found = NamesMatch(parsed->name, section);
        } else if (found && !visit(*parsed)) {
            return true;
        }
    }
    return found;
}

// Accumulates decimal digits, stopping at `limit`, which bounds the magnitude.
std::int64_t SaturatingDigits(std::string_view digits, std::int64_t limit) {
    std::int64_t magnitude = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9') break;
        magnitude = std::min(magnitude * 10 + (c - '0'), limit);
    }
    return magnitude;
}

bool IsCSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

}  // namespace

bool NamesMatch(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}

std::string ReadProfileString(const std::string& text, const std::string& section,
                              const std::string& key, std::size_t capacity) {
    std::string_view value;
    ForEachKeyLine(text, section, [&](const ProfileLine& line) {
        if (!NamesMatch(line.name, key)) return true;
        value = line.value;
        return false;
    });
    if (capacity == 0) return {};
    return std::string(value.substr(0, capacity - 1));
}

std::vector<std::string> ListProfileKeys(const std::string& text, const std::string& section) {
    std::vector<std::string> keys;
    ForEachKeyLine(text, section, [&](const ProfileLine& line) {
        keys.emplace_back(line.name);
        return true;
    });
    return keys;
}

bool HasProfileSection(const std::string& text, const std::string& section) {
    return ForEachKeyLine(text, section, [](const ProfileLine&) { return false; });
}

std::int32_t ParseLeadingInt(const std::string& text) {
    constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
    std::string_view rest = text;
    while (!rest.empty() && IsCSpace(rest.front())) rest.remove_prefix(1);

    bool negative = false;
    if (!rest.empty() && (rest.front() == '+' || rest.front() == '-')) {
        negative = rest.front() == '-';
        rest.remove_prefix(1);
    }
    // A negative value may reach one further than a positive one.
    const std::int64_t magnitude = SaturatingDigits(rest, negative ? kMax + 1 : kMax);
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

std::int32_t ParseLeadingLong(const std::string& text) { return ParseLeadingInt(text); }

}  // namespace profile
