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
    platform::TextCount textCount;  // texts only
    bool transient;
};

namespace detail {
constexpr RegistryRecord Text(RecordedKey key, const char* name, platform::TextCount count, bool transient = false) {
    return {key, name, platform::kRegSz, count, transient};
}
constexpr RegistryRecord Dword(RecordedKey key, const char* name, bool transient = false) {
    return {key, name, platform::kRegDword, platform::TextCount::WithoutNul, transient};
}
inline constexpr char kDestinationFolderName[] = "Destination Folder";
inline constexpr auto kWithoutNul = platform::TextCount::WithoutNul;
inline constexpr auto kWithNul = platform::TextCount::WithNul;
}  // namespace detail

// The product key's values, read by the printing side while the spooler steps run.
inline constexpr RegistryRecord kPortNameRecord = detail::Text(RecordedKey::Product, "Port Name", detail::kWithoutNul, true);
inline constexpr RegistryRecord kPrinterNameRecord =
    detail::Text(RecordedKey::Product, "Printer Name", detail::kWithoutNul, true);
inline constexpr RegistryRecord kDestinationFolderRecord =
    detail::Text(RecordedKey::Product, detail::kDestinationFolderName, detail::kWithoutNul, true);
inline constexpr RegistryRecord kProgrammaticAccessRecord = detail::Dword(RecordedKey::Product, "Programmatic Access", true);
inline constexpr RegistryRecord kCommandRecord = detail::Text(RecordedKey::Product, "Command", detail::kWithoutNul, true);
inline constexpr RegistryRecord kArgumentsRecord = detail::Text(RecordedKey::Product, "Arguments", detail::kWithoutNul, true);

// The port key's values; "" is the key's default value.
inline constexpr RegistryRecord kPortDefaultRecord = detail::Text(RecordedKey::Port, "", detail::kWithoutNul);
inline constexpr RegistryRecord kPortDestinationFolderRecord =
    detail::Text(RecordedKey::Port, detail::kDestinationFolderName, detail::kWithoutNul);
inline constexpr RegistryRecord kPortExtensionRecord = detail::Text(RecordedKey::Port, "NimbExt", detail::kWithoutNul);
inline constexpr RegistryRecord kPortConverterRecord = detail::Text(RecordedKey::Port, "Converter", detail::kWithoutNul);

// The uninstall entry's values, as the system's list of installed programs reads them.
inline constexpr RegistryRecord kDisplayNameRecord = detail::Text(RecordedKey::UninstallEntry, "DisplayName", detail::kWithNul);
inline constexpr RegistryRecord kUninstallStringRecord =
    detail::Text(RecordedKey::UninstallEntry, "UninstallString", detail::kWithNul);
inline constexpr RegistryRecord kDisplayIconRecord = detail::Text(RecordedKey::UninstallEntry, "DisplayIcon", detail::kWithNul);
inline constexpr RegistryRecord kInstallLocationRecord =
    detail::Text(RecordedKey::UninstallEntry, "InstallLocation", detail::kWithNul);
inline constexpr RegistryRecord kQuietUninstallStringRecord =
    detail::Text(RecordedKey::UninstallEntry, "QuietUninstallString", detail::kWithNul);
inline constexpr RegistryRecord kNoModifyRecord = detail::Dword(RecordedKey::UninstallEntry, "NoModify");
inline constexpr RegistryRecord kNoRepairRecord = detail::Dword(RecordedKey::UninstallEntry, "NoRepair");
inline constexpr RegistryRecord kEstimatedSizeRecord = detail::Dword(RecordedKey::UninstallEntry, "EstimatedSize");
inline constexpr RegistryRecord kDisplayVersionRecord =
    detail::Text(RecordedKey::UninstallEntry, "DisplayVersion", detail::kWithNul);
inline constexpr RegistryRecord kPublisherRecord = detail::Text(RecordedKey::UninstallEntry, "Publisher", detail::kWithNul);

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
