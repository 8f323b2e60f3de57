#include "common/text/text.h"

namespace text {

char ToLowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsNoCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (ToLowerAscii(a[i]) != ToLowerAscii(b[i])) return false;
    }
    return true;
}

bool StartsWithNoCase(const std::string& text, const std::string& prefix) {
    return text.size() >= prefix.size() && EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

std::string FitToCapacity(const std::string& text, std::size_t capacity) {
    if (capacity == 0) return {};
    return text.size() < capacity ? text : text.substr(0, capacity - 1);
}

std::string FormatPlaceholders(const std::string& format,
                               std::initializer_list<std::string> arguments) {
    std::string result;
    auto next = arguments.begin();
    for (std::size_t i = 0; i < format.size(); ++i) {
        const char c = format[i];
        if (c != '%' || i + 1 == format.size()) {
            result += c;
            continue;
        }
        const char kind = format[i + 1];
        if (kind == '%') {
            result += '%';
            ++i;
        } else if ((kind == 's' || kind == 'd') && next != arguments.end()) {
            result += *next++;
            ++i;
        } else {
            result += c;
        }
    }
    return result;
}

}  // namespace text
