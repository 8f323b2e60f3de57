// Shared by the fuzz targets: checking a property of what the code under test gave, and
// turning fuzz bytes into the texts the targets feed it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "common/text/ansi_path.h"

namespace fuzzing {

// A property that does not hold is a finding like a crash: libFuzzer saves the input
// that led to it once the target aborts.
[[noreturn]] inline void PropertyFailed(const char* condition, const char* file, int line) {
    std::fprintf(stderr, "property failed at %s:%d: %s\n", file, line, condition);
    std::abort();
}

inline std::vector<std::uint8_t> Bytes(const std::uint8_t* data, std::size_t size) {
    return std::vector<std::uint8_t>(data, data + size);
}

inline std::string Text(const std::uint8_t* data, std::size_t size) {
    return std::string(reinterpret_cast<const char*>(data), size);
}

// The pieces of `text` between NULs: one argument each, as a command line's arguments.
inline std::vector<std::string> SplitAtNul(const std::string& text) {
    std::vector<std::string> pieces(1);
    for (const char c : text) {
        if (c == '\0') {
            pieces.emplace_back();
        } else {
            pieces.back() += c;
        }
    }
    return pieces;
}

// The lead bytes of Japanese code page 932, the widest double-byte case: their trail
// bytes include the values of the backslash and of ASCII letters.
inline const text::LeadBytes& DoubleByteCodePage() {
    static const text::LeadBytes leadBytes({{0x81, 0x9F}, {0xE0, 0xFC}});
    return leadBytes;
}

inline char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace fuzzing

// Checks a property of the code under test; the message names the condition.
#define FUZZ_EXPECT(condition) \
    ((condition) ? static_cast<void>(0) : ::fuzzing::PropertyFailed(#condition, __FILE__, __LINE__))
