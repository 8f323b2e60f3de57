// The uninstaller's insertion into "WinInit.Ini", on a buffer of exactly the size its
// contract names (the text, the line and a header's ten bytes), as the mapped file
// gives it. The input up to its first zero byte is the path to delete; the rest is the
// file's text. The text afterwards is the old text with the line directly under the
// first "[Rename]\r\n" (with its case), or with the header and the line at its end; not
// one byte is written outside the buffer or past the new end.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tests/fuzz/fuzz_check.h"
#include "uninstall/deferred_delete.h"

namespace {

constexpr char kHeader[] = "[Rename]\r\n";
constexpr std::size_t kHeaderLength = sizeof(kHeader) - 1;
constexpr std::uint8_t kUntouched = 0xA5;

std::string Expected(const std::string& text, const std::string& line) {
    const std::size_t header = text.find(kHeader);
    if (header == std::string::npos) return text + kHeader + line;
    const std::size_t under = header + kHeaderLength;
    return text.substr(0, under) + line + text.substr(under);
}

void ExpectInsertion(const std::string& text, const std::string& line) {
    // A buffer of its own on the heap, so that a byte written past it is caught.
    const std::size_t capacity = text.size() + line.size() + kHeaderLength;
    std::vector<std::uint8_t> buffer(capacity, kUntouched);
    std::copy(text.begin(), text.end(), buffer.begin());
    const std::size_t newSize = uninstall::InsertRenameLine(buffer.data(), text.size(), line);

    const std::string expected = Expected(text, line);
    FUZZ_EXPECT(newSize == expected.size());
    FUZZ_EXPECT(newSize <= capacity);
    FUZZ_EXPECT(std::string(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(newSize)) == expected);
    FUZZ_EXPECT(std::all_of(buffer.begin() + static_cast<std::ptrdiff_t>(newSize), buffer.end(),
                            [](std::uint8_t byte) { return byte == kUntouched; }));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input = fuzzing::Text(data, size);
    const std::size_t nul = input.find('\0');
    const std::string path = input.substr(0, nul);
    const std::string text = nul == std::string::npos ? std::string() : input.substr(nul + 1);
    ExpectInsertion(text, uninstall::RenameLine(path, std::nullopt));
    ExpectInsertion(text, uninstall::RenameLine(path, path + ".old"));
    return 0;
}
