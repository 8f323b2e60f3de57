#include "platform/device_mode.h"

#include <algorithm>

namespace platform {

DevMode DevMode::WithSizes(std::uint16_t publicSize, std::uint16_t driverExtra) {
    DevMode mode = Blank(std::size_t{publicSize} + driverExtra);
    mode.Write(kSizeOffset, 2, publicSize);
    mode.Write(kDriverExtraOffset, 2, driverExtra);
    return mode;
}

std::size_t DevMode::DeclaredSize() const {
    return std::size_t{Read(kSizeOffset, 2)} + Read(kDriverExtraOffset, 2);
}

std::uint32_t DevMode::Fields() const { return Read(kFieldsOffset, 4); }
void DevMode::SetFields(std::uint32_t fields) { Write(kFieldsOffset, 4, fields); }

std::int16_t DevMode::PaperSize() const {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(Read(kPaperSizeOffset, 2)));
}
void DevMode::SetPaperSize(std::int16_t paperSize) {
    Write(kPaperSizeOffset, 2, static_cast<std::uint16_t>(paperSize));
}

std::string DevMode::FormName() const {
    if (bytes_.size() < kFormNameOffset + kFormNameCapacity) return {};
    const auto begin = bytes_.begin() + static_cast<std::ptrdiff_t>(kFormNameOffset);
    const auto end = begin + static_cast<std::ptrdiff_t>(kFormNameCapacity);
    return std::string(begin, std::find(begin, end, std::uint8_t{0}));
}

void DevMode::SetFormName(const std::string& formName) {
    if (bytes_.size() < kFormNameOffset + kFormNameCapacity) return;
    const std::size_t length = std::min(formName.size(), kFormNameCapacity - 1);
    auto field = bytes_.begin() + static_cast<std::ptrdiff_t>(kFormNameOffset);
    std::fill(field, field + static_cast<std::ptrdiff_t>(kFormNameCapacity), std::uint8_t{0});
    std::copy(formName.begin(), formName.begin() + static_cast<std::ptrdiff_t>(length), field);
}

// Little-endian, as Windows stores them; a record too short for the field reads as 0
// and is not written.
std::uint32_t DevMode::Read(std::size_t offset, std::size_t width) const {
    if (bytes_.size() < offset + width) return 0;
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < width; ++i) value |= std::uint32_t{bytes_[offset + i]} << (8 * i);
    return value;
}

void DevMode::Write(std::size_t offset, std::size_t width, std::uint32_t value) {
    if (bytes_.size() < offset + width) return;
    for (std::size_t i = 0; i < width; ++i) bytes_[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

}  // namespace platform
