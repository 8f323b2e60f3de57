// The registry keys and values the installer writes under HKEY_LOCAL_MACHINE and the
// uninstaller removes: one place for both programs, so that they name the same keys.
#pragma once

#include <array>
#include <cstddef>
#include <string>

#include "platform/registry.h"

namespace product {

inline constexpr char kProductKeyPath[] = "SOFTWARE\\NIMBRAX Writer";
inline constexpr char kUninstallKeyParent[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
inline constexpr char kEditionKeyPath[] = "SOFTWARE\\Brindle Software Inc\\Quillet Writer";

// The product's uninstall entry: the Uninstall key's subkey named after the product.
std::string UninstallKeyPath(const std::string& productName);
// The port's settings: the product key's subkey named after the port.
std::string PortKeyPath(const std::string& portName);

// The longest product name whose uninstall entry Windows accepts: a key path counts at
// most 255 characters, and the entry's path begins with the Uninstall key's.
inline constexpr std::size_t kLongestProductNameForKey = 255 - (sizeof(kUninstallKeyParent) - 1) - 1;

// The keys the installer records values in.
enum class RecordedKey {
    Product,         // kProductKeyPath
    Port,            // PortKeyPath(port name)
    UninstallEntry,  // UninstallKeyPath(product name)
};

// One value the installer writes: where, under which name, of which type and with how
// many bytes (a text with or without its NUL; a DWORD always its four), and whether it
// lives only while the installer's spooler steps run.
struct RegistryRecord {
    RecordedKey key;
    const char* name;
    std::uint32_t type;
    platform::TextCount textCount;  // texts only: whether the NUL is counted
    bool transient;
};

namespace detail {
using platform::TextCount;
// The product key's values live only while the spooler steps run; the port key's and
// the uninstall entry's stay.
constexpr RegistryRecord TransientText(const char* name) {
    return {RecordedKey::Product, name, platform::kRegSz, TextCount::WithoutNul, true};
}
constexpr RegistryRecord TransientDword(const char* name) {
    return {RecordedKey::Product, name, platform::kRegDword, TextCount::WithoutNul, true};
}
constexpr RegistryRecord PortText(const char* name) {
    return {RecordedKey::Port, name, platform::kRegSz, TextCount::WithoutNul, false};
}
constexpr RegistryRecord EntryText(const char* name) {
    return {RecordedKey::UninstallEntry, name, platform::kRegSz, TextCount::WithNul, false};
}
constexpr RegistryRecord EntryDword(const char* name) {
    return {RecordedKey::UninstallEntry, name, platform::kRegDword, TextCount::WithoutNul, false};
}
inline constexpr char kDestinationFolderName[] = "Destination Folder";
}  // namespace detail

// The product key's values, read by the printing side while the spooler steps run.
inline constexpr RegistryRecord kPortNameRecord = detail::TransientText("Port Name");
inline constexpr RegistryRecord kPrinterNameRecord = detail::TransientText("Printer Name");
inline constexpr RegistryRecord kDestinationFolderRecord = detail::TransientText(detail::kDestinationFolderName);
inline constexpr RegistryRecord kProgrammaticAccessRecord = detail::TransientDword("Programmatic Access");
inline constexpr RegistryRecord kCommandRecord = detail::TransientText("Command");
inline constexpr RegistryRecord kArgumentsRecord = detail::TransientText("Arguments");

// The port key's values; "" is the key's default value.
inline constexpr RegistryRecord kPortDefaultRecord = detail::PortText("");
inline constexpr RegistryRecord kPortDestinationFolderRecord = detail::PortText(detail::kDestinationFolderName);
inline constexpr RegistryRecord kPortExtensionRecord = detail::PortText("NimbExt");
inline constexpr RegistryRecord kPortConverterRecord = detail::PortText("Converter");

// The uninstall entry's values, as the system's list of installed programs reads them.
inline constexpr RegistryRecord kDisplayNameRecord = detail::EntryText("DisplayName");
inline constexpr RegistryRecord kUninstallStringRecord = detail::EntryText("UninstallString");
inline constexpr RegistryRecord kDisplayIconRecord = detail::EntryText("DisplayIcon");
inline constexpr RegistryRecord kInstallLocationRecord = detail::EntryText("InstallLocation");
inline constexpr RegistryRecord kQuietUninstallStringRecord = detail::EntryText("QuietUninstallString");
inline constexpr RegistryRecord kNoModifyRecord = detail::EntryDword("NoModify");
inline constexpr RegistryRecord kNoRepairRecord = detail::EntryDword("NoRepair");
inline constexpr RegistryRecord kEstimatedSizeRecord = detail::EntryDword("EstimatedSize");
inline constexpr RegistryRecord kDisplayVersionRecord = detail::EntryText("DisplayVersion");
inline constexpr RegistryRecord kPublisherRecord = detail::EntryText("Publisher");

// Every value the installer writes, key by key.
inline constexpr std::array<RegistryRecord, 20> kRegistryRecords = {
    kPortNameRecord,        kPrinterNameRecord,     kDestinationFolderRecord, kProgrammaticAccessRecord,
    kCommandRecord,         kArgumentsRecord,       kPortDefaultRecord,       kPortDestinationFolderRecord,
    kPortExtensionRecord,   kPortConverterRecord,   kDisplayNameRecord,       kUninstallStringRecord,
    kDisplayIconRecord,     kInstallLocationRecord, kQuietUninstallStringRecord, kNoModifyRecord,
    kNoRepairRecord,        kEstimatedSizeRecord,   kDisplayVersionRecord,    kPublisherRecord};

namespace detail {
constexpr std::size_t CountTransient() {
    std::size_t count = 0;
    for (const RegistryRecord& record : kRegistryRecords) count += record.transient ? 1 : 0;
    return count;
}
// The installer deletes the transient values from the product key alone.
constexpr bool TransientOnlyInTheProductKey() {
    for (const RegistryRecord& record : kRegistryRecords) {
        if (record.transient && record.key != RecordedKey::Product) return false;
    }
    return true;
}
static_assert(TransientOnlyInTheProductKey(), "a transient value elsewhere would never be deleted");
constexpr std::array<const char*, CountTransient()> TransientNames() {
    std::array<const char*, CountTransient()> names{};
    std::size_t at = 0;
    for (const RegistryRecord& record : kRegistryRecords) {
        if (record.transient) names[at++] = record.name;
    }
    return names;
}
}  // namespace detail

// The values of the product key that live only while the installer's spooler steps run;
// the installer deletes them again in this order.
inline constexpr std::array<const char*, detail::CountTransient()> kTransientValueNames = detail::TransientNames();

}  // namespace product
