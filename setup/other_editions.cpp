#include "setup/other_editions.h"

#include "common/installlog/install_log.h"
#include "common/product/registry_names.h"
#include "common/text/text.h"

namespace setup {
namespace {

constexpr std::size_t kFolderValueBytes = 1024;
constexpr std::uint32_t kPrinterAccessUse = 0x8;  // PRINTER_ACCESS_USE: enough to read

// The product name in the install log of the installation that owns `port`.
std::optional<std::string> OwnerOfPort(platform::Registry& registry, platform::FileSystem& files,
                                       const product::PlatformRow& row, const std::string& port) {
    const auto key = registry.OpenKey(platform::RegistryRoot::LocalMachine, product::PortKeyPath(port),
                                      platform::RegistryAccess::Read, row.machineView);
    if (!key) return std::nullopt;
    const auto folder = key.key->QueryValue(product::kPortDestinationFolderRecord.name, kFolderValueBytes);
    if (!folder) return std::nullopt;
    std::string path(folder.value().data.begin(), folder.value().data.end());
    path = path.substr(0, path.find('\0'));
    if (path.empty()) return std::nullopt;
    const auto loaded = installlog::LoadInstallLog(files, path + "\\", installlog::ReadScope::Installer);
    if (!loaded.log) return std::nullopt;
    return loaded.log->ProductName;
}

// The port of the printer of that name, when there is one.
std::optional<std::string> PortOfPrinter(platform::Spooler& spooler, const std::string& printerName) {
    const platform::OpenedPrinter opened = spooler.OpenPrinter(printerName, kPrinterAccessUse);
    if (!opened) return std::nullopt;
    const auto size = opened.printer->GetPrinter2(0);
    if (!size.WantsLargerBuffer()) return std::nullopt;
    const auto fetched = opened.printer->GetPrinter2(size.bytesNeeded());
    if (!fetched) return std::nullopt;
    return fetched.value().portName;
}

}  // namespace

std::optional<ForeignOwner> FindForeignOwner(platform::Registry& registry, platform::FileSystem& files,
                                             platform::Spooler& spooler, const product::PlatformRow& row,
                                             const InstallState& state) {
    const auto foreign = [&](const std::string& port) -> std::optional<std::string> {
        const auto owner = OwnerOfPort(registry, files, row, port);
        if (!owner || text::EqualsNoCase(*owner, state.productName)) return std::nullopt;
        return owner;
    };
    if (const auto owner = foreign(state.portName)) return ForeignOwner{*owner, "the port \"" + state.portName + "\""};
    if (const auto port = PortOfPrinter(spooler, state.printerName); port && !text::EqualsNoCase(*port, state.portName)) {
        if (const auto owner = foreign(*port)) return ForeignOwner{*owner, "the printer \"" + state.printerName + "\""};
    }
    return std::nullopt;
}

std::string ForeignOwnerText(const std::string& productName, const ForeignOwner& owner) {
    return productName + " cannot be installed: " + owner.what + " belongs to " + owner.productName +
           ", which is installed on this computer. Uninstall " + owner.productName +
           " first, or install from a medium whose printer and port have names of their own.";
}

}  // namespace setup
