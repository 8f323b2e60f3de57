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
    // Whether the buffer holds every byte the record declares: only then may the spooler
    // be given it to read.
    bool IsWhole() const;
    // Zero-fills the buffer up to `size` bytes: room for a driver that writes a larger
    // record than the one held. The record's own sizes do not change.
    void GrowTo(std::size_t size);

    // The public fields exist only inside the record's public part (dmSize), which older
    // records keep shorter than DEVMODEA; a field outside it reads as 0, and writing it
    // changes nothing and gives false, so that the driver's own bytes behind a short
    // public part are never overwritten.
    std::uint32_t Fields() const;
    bool SetFields(std::uint32_t fields);
    std::int16_t PaperSize() const;
    bool SetPaperSize(std::int16_t paperSize);
    std::string FormName() const;
    // Copies at most 31 characters and a NUL.
    bool SetFormName(const std::string& formName);

private:
    bool HasPublicField(std::size_t offset, std::size_t width) const;
    std::uint32_t Read(std::size_t offset, std::size_t width) const;
    void Write(std::size_t offset, std::size_t width, std::uint32_t value);
    std::vector<std::uint8_t> bytes_;
};

}  // namespace platform
