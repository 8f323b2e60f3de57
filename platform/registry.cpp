#include "platform/registry.h"

namespace platform {

std::vector<std::uint8_t> TextBytes(const std::string& text) {
    return std::vector<std::uint8_t>(text.begin(), text.end());
}

std::vector<std::uint8_t> TextBytesWithNul(const std::string& text) {
    std::vector<std::uint8_t> bytes = TextBytes(text);
    bytes.push_back(0);
    return bytes;
}

std::vector<std::uint8_t> DwordBytes(std::uint32_t value) {
    return {static_cast<std::uint8_t>(value & 0xFFu), static_cast<std::uint8_t>((value >> 8) & 0xFFu),
            static_cast<std::uint8_t>((value >> 16) & 0xFFu),
            static_cast<std::uint8_t>((value >> 24) & 0xFFu)};
}

}  // namespace platform
