// A printer's device settings: the bytes of a DEVMODEA, its public part followed by the
// driver's private part. The installer changes only the fields below; everything else
// travels unchanged between the spooler calls.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

inline constexpr std::uint32_t kDmPaperSize = 0x2;      // DM_PAPERSIZE
inline constexpr std::uint32_t kDmFormName = 0x10000;   // DM_FORMNAME

class DevMode {
public:
    // Offsets into DEVMODEA, the same in 32- and 64-bit programs (checked against the
    // Windows headers in the Windows build).
    static constexpr std::size_t kSizeOffset = 36;         // dmSize
    static constexpr std::size_t kDriverExtraOffset = 38;  // dmDriverExtra
    static constexpr std::size_t kFieldsOffset = 40;       // dmFields
    static constexpr std::size_t kPaperSizeOffset = 46;    // dmPaperSize
    static constexpr std::size_t kFormNameOffset = 70;     // dmFormName
    static constexpr std::size_t kFormNameCapacity = 32;   // with its NUL
    static constexpr std::size_t kPublicSize = 156;        // sizeof(DEVMODEA)

    DevMode() = default;
    explicit DevMode(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}
    // A zero-filled buffer of `size` bytes for the spooler to fill.
    static DevMode Blank(std::size_t size) { return DevMode(std::vector<std::uint8_t>(size, 0)); }
    // A filled-in public part of `driverExtra` private bytes more: what a driver hands out.
    static DevMode WithSizes(std::uint16_t publicSize, std::uint16_t driverExtra);

    std::vector<std::uint8_t>& bytes() { return bytes_; }
    const std::vector<std::uint8_t>& bytes() const { return bytes_; }

    // dmSize + dmDriverExtra: how many bytes the record says it has.
    std::size_t DeclaredSize() const;
    std::uint32_t Fields() const;
    void SetFields(std::uint32_t fields);
    std::int16_t PaperSize() const;
    void SetPaperSize(std::int16_t paperSize);
    std::string FormName() const;
    // Copies at most 31 characters and a NUL.
    void SetFormName(const std::string& formName);

private:
    std::uint32_t Read(std::size_t offset, std::size_t width) const;
    void Write(std::size_t offset, std::size_t width, std::uint32_t value);
    std::vector<std::uint8_t> bytes_;
};

}  // namespace platform
