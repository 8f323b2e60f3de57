#include "setup/registry_records.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "common/product/product_files.h"
#include "common/product/registry_names.h"
#include "resources/setup/setup_strings.h"
#include "setup/file_probes.h"

namespace setup {

// The product and port keys' texts are counted without their NUL, the uninstall entry's
// with it. The text handed over always ends in its NUL, so Windows NT stores the NUL in
// both cases (length + 1 bytes) and Windows 98/Me read nothing past the text.
namespace {

// Writes one value of the product's records with the type and byte count its row gives.
void WriteText(platform::RegistryKey& key, const product::RegistryRecord& record, const std::string& text) {
    (void)key.SetTextValue(record.name, text, record.textCount);
}
void WriteNumber(platform::RegistryKey& key, const product::RegistryRecord& record, std::uint32_t number) {
    (void)key.SetValue(record.name, record.type, platform::DwordBytes(number));
}

}  // namespace

StepResult WriteProductKey(platform::Registry& registry, const product::PlatformRow& row,
                           const InstallState& state, const SetupSettings& settings) {
    auto opened = registry.CreateKey(platform::RegistryRoot::LocalMachine, product::kProductKeyPath, row.machineView);
    if (!opened) return StepResult::Failed(IDS_NEED_ADMINISTRATOR, opened.error);
    platform::RegistryKey& key = *opened.key;

    // The printing side reads these while the spooler steps run. Texts are counted
    // without their terminating NUL; single write failures are passed over.
    WriteText(key, product::kPortNameRecord, state.portName);
    WriteText(key, product::kPrinterNameRecord, state.printerName);
    WriteText(key, product::kDestinationFolderRecord, state.destinationFolder);
    WriteNumber(key, product::kProgrammaticAccessRecord, state.programmaticAccess ? 1u : 0u);

    const std::string command = ReadSetting(settings, settings_keys::kCommand);
    if (!command.empty()) {
        WriteText(key, product::kCommandRecord, command);
    }
    const std::string arguments = ReadSetting(settings, settings_keys::kArguments);
    if (!arguments.empty()) {
        WriteText(key, product::kArgumentsRecord, arguments);
    }
    return StepResult::Done();
}

void ClearTransientValues(platform::Registry& registry, const product::PlatformRow& row) {
    auto opened = registry.OpenKey(platform::RegistryRoot::LocalMachine, product::kProductKeyPath,
                                   platform::RegistryAccess::AllAccess, row.machineView);
    if (!opened) return;
    for (const char* name : product::kTransientValueNames) (void)opened.key->DeleteValue(name);
}

void CreateEditionKey(platform::Registry& registry, const product::PlatformRow& row) {
    // Created empty for the professional edition's programs; nothing is written in it.
    (void)registry.CreateKey(platform::RegistryRoot::LocalMachine, product::kEditionKeyPath, row.machineView);
}

namespace {

// KiB of the files in `folder` and the folders below it.
std::uint64_t FolderKibibytes(platform::FileSystem& files, const std::string& folder) {
    std::uint64_t bytes = 0;
    std::vector<std::string> pending = {folder};
    while (!pending.empty()) {
        const std::string current = pending.back();
        pending.pop_back();
        const platform::StartedSearch listing = files.FindFirstFile(current + "\\*.*");
        if (!listing) continue;
        do {
            const platform::FindData& entry = listing.search->Current();
            if (!IsFileEntry(entry.attributes)) {
                if (entry.fileName != "." && entry.fileName != "..") pending.push_back(current + "\\" + entry.fileName);
            } else {
                bytes += entry.size;
            }
        } while (listing.search->FindNext());
    }
    return (bytes + 1023) / 1024;
}

}  // namespace

void DescribeInstallation(platform::FileSystem& files, const product::PlatformRow& row, const InstallState& state,
                          const SetupSettings& settings, platform::RegistryKey& entry) {
    // What the system's list of installed programs shows; a value that cannot be written
    // is passed over, it does not make the product less removable.
    WriteText(entry, product::kDisplayIconRecord, state.uninstallerPath);
    WriteText(entry, product::kInstallLocationRecord, state.destinationFolder);
    if (row.uninstallerTakesSilent) {
        WriteText(entry, product::kQuietUninstallStringRecord, UninstallCommand(row, state) + " /s");
    }
    WriteNumber(entry, product::kNoModifyRecord, 1);
    WriteNumber(entry, product::kNoRepairRecord, 1);
    const std::uint64_t kibibytes = FolderKibibytes(files, state.destinationFolder);
    WriteNumber(entry, product::kEstimatedSizeRecord,
                static_cast<std::uint32_t>(std::min<std::uint64_t>(kibibytes, 0xFFFFFFFFu)));
    const std::pair<settings_keys::Key, product::RegistryRecord> fromSettings[] = {
        {settings_keys::kDisplayVersion, product::kDisplayVersionRecord},
        {settings_keys::kPublisher, product::kPublisherRecord}};
    for (const auto& [key, record] : fromSettings) {
        const std::string value = ReadSetting(settings, key);
        if (!value.empty()) WriteText(entry, record, value);
    }
}

std::string UninstallCommand(const product::PlatformRow& row, const InstallState& state) {
    // The program path is quoted: unquoted, a path with spaces would let Windows try
    // "C:\Program.exe" first.
    const std::string program = "\"" + state.uninstallerPath + "\"";
    if (row.uninstallArguments == product::UninstallArguments::UninstallSwitch) return program + " /uninstall";
    return program + " " + state.destinationFolder;
}

platform::Win32Result RegisterUninstallEntry(platform::Registry& registry, platform::FileSystem& files,
                                             const product::PlatformRow& row, const InstallState& state,
                                             const SetupSettings& settings) {
    auto opened = registry.CreateKey(platform::RegistryRoot::LocalMachine, product::UninstallKeyPath(state.productName),
                                     row.machineView);
    if (!opened) return platform::Win32Result::Failed(opened.error);
    // Unlike the product and port keys, these two are counted with their NUL. A failed
    // value does not keep the other one from being written.
    const platform::Win32Result name =
        opened.key->SetTextValue(product::kDisplayNameRecord.name, state.productName,
                                 product::kDisplayNameRecord.textCount);
    const platform::Win32Result command =
        opened.key->SetTextValue(product::kUninstallStringRecord.name, UninstallCommand(row, state),
                                 product::kUninstallStringRecord.textCount);
    DescribeInstallation(files, row, state, settings, *opened.key);
    return name ? command : name;
}

StepResult WritePortKey(platform::Registry& registry, platform::FileSystem& files, const product::PlatformRow& row,
                        const InstallState& state) {
    auto opened = registry.CreateKey(platform::RegistryRoot::LocalMachine, product::PortKeyPath(state.portName),
                                     row.machineView);
    if (!opened) return StepResult::Failed(IDS_NEED_ADMINISTRATOR, opened.error);
    platform::RegistryKey& key = *opened.key;

    // Counted without their NUL; single write failures are passed over.
    if (state.programmaticAccess) {
        WriteText(key, product::kPortDefaultRecord, state.portName + state.printerName);
    }
    WriteText(key, product::kPortDestinationFolderRecord, state.destinationFolder);
    const bool extensionOnMedium = FileExists(files, state.sourceFolder + product::kExtensionProgram);
    if (state.extensionComponents && extensionOnMedium) {
        WriteText(key, product::kPortExtensionRecord, state.destinationFolder + "\\" + product::kExtensionProgram);
    }
    if (state.ghostscriptDeployed) {
        WriteText(key, product::kPortConverterRecord, state.destinationFolder + "\\" + product::kGhostscriptFolder);
    }
    return StepResult::Done();
}

}  // namespace setup
