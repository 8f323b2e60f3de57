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

bool DevMode::IsWhole() const {
    return bytes_.size() >= kDriverExtraOffset + 2 && bytes_.size() >= DeclaredSize();
}

void DevMode::GrowTo(std::size_t size) {
    if (bytes_.size() < size) bytes_.resize(size, 0);
}

std::uint32_t DevMode::Fields() const {
    return HasPublicField(kFieldsOffset, 4) ? Read(kFieldsOffset, 4) : 0;
}

bool DevMode::SetFields(std::uint32_t fields) {
    if (!HasPublicField(kFieldsOffset, 4)) return false;
    Write(kFieldsOffset, 4, fields);
    return true;
}

std::int16_t DevMode::PaperSize() const {
    if (!HasPublicField(kPaperSizeOffset, 2)) return 0;
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(Read(kPaperSizeOffset, 2)));
}

bool DevMode::SetPaperSize(std::int16_t paperSize) {
    if (!HasPublicField(kPaperSizeOffset, 2)) return false;
    Write(kPaperSizeOffset, 2, static_cast<std::uint16_t>(paperSize));
    return true;
}

std::string DevMode::FormName() const {
    if (!HasPublicField(kFormNameOffset, kFormNameCapacity)) return {};
    const auto begin = bytes_.begin() + static_cast<std::ptrdiff_t>(kFormNameOffset);
    const auto end = begin + static_cast<std::ptrdiff_t>(kFormNameCapacity);
    return std::string(begin, std::find(begin, end, std::uint8_t{0}));
}

bool DevMode::SetFormName(const std::string& formName) {
    if (!HasPublicField(kFormNameOffset, kFormNameCapacity)) return false;
    const std::size_t length = std::min(formName.size(), kFormNameCapacity - 1);
    auto field = bytes_.begin() + static_cast<std::ptrdiff_t>(kFormNameOffset);
    std::fill(field, field + static_cast<std::ptrdiff_t>(kFormNameCapacity), std::uint8_t{0});
    std::copy(formName.begin(), formName.begin() + static_cast<std::ptrdiff_t>(length), field);
    return true;
}

bool DevMode::HasPublicField(std::size_t offset, std::size_t width) const {
    const std::size_t publicSize = std::min<std::size_t>(Read(kSizeOffset, 2), bytes_.size());
    return offset + width <= publicSize;
}

// Little-endian, as Windows stores them; a buffer too short for the field reads as 0
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
