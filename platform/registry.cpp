#include "platform/registry.h"

namespace platform {

std::uint32_t TextValueCount(const std::string& text, TextCount count) {
    return static_cast<std::uint32_t>(text.size() + (count == TextCount::WithNul ? 1 : 0));
}

std::vector<std::uint8_t> DwordBytes(std::uint32_t value) {
    return {static_cast<std::uint8_t>(value & 0xFFu), static_cast<std::uint8_t>((value >> 8) & 0xFFu),
            static_cast<std::uint8_t>((value >> 16) & 0xFFu),
            static_cast<std::uint8_t>((value >> 24) & 0xFFu)};
}

}  // namespace platform
