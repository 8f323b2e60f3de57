// Small text helpers for narrow ANSI strings.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

namespace text {

char ToLowerAscii(char c);
bool EqualsNoCase(const std::string& a, const std::string& b);
bool StartsWithNoCase(const std::string& text, const std::string& prefix);

// Text cut to at most `capacity` - 1 characters: what fits a buffer of `capacity`
// characters with its terminating NUL.
std::string FitToCapacity(const std::string& text, std::size_t capacity);

// Fills "%s" and "%d" placeholders in order with the given texts (numbers are passed
// already converted). The arguments are never read as formats themselves, so a
// product name holding '%' is shown as it is. "%%" gives '%'.
std::string FormatPlaceholders(const std::string& format,
                               std::initializer_list<std::string> arguments);

}  // namespace text
