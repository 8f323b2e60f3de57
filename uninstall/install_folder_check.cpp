#include "uninstall/install_folder_check.h"

#include "common/product/platform_rows.h"
#include "common/product/registry_names.h"
#include "common/text/text.h"

namespace uninstall {
namespace {

constexpr std::size_t kFolderValueCapacity = 1024;

std::string WithoutTrailingBackslash(std::string folder) {
    while (!folder.empty() && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
    return folder;
}

// The folder a record of the installation names, or nothing when the key or the value
// is not there.
std::optional<std::string> RecordedFolder(UninstallContext& context, const std::string& key, const char* value) {
    const auto opened = context.os.registry.OpenKey(platform::RegistryRoot::LocalMachine, key,
                                                    platform::RegistryAccess::Read, product::kUninstallerRow.machineView);
    if (!opened) return std::nullopt;
    const auto stored = opened.key->QueryValue(value, kFolderValueCapacity);
    if (!stored || stored.value().type != platform::kRegSz) return std::nullopt;
    const std::vector<std::uint8_t>& bytes = stored.value().data;
    std::string folder(bytes.begin(), bytes.end());
    folder = folder.substr(0, folder.find('\0'));
    if (folder.empty()) return std::nullopt;
    return folder;
}

}  // namespace

std::optional<std::string> WhyNotTheInstallFolder(UninstallContext& context) {
    platform::FileSystem& files = context.os.files;
    if (files.GetFileAttributes(context.installFolder + "Setup.exe")) return "it holds Setup.exe: a medium";
    if (const auto driver = files.GetFileAttributes(context.installFolder + "Driver");
        driver && (driver.value() & platform::kFileAttributeDirectory) != 0) {
        return "it holds a Driver folder: a medium";
    }
    const std::string own = WithoutTrailingBackslash(context.installFolder);
    const struct {
        std::string key;
        const char* value;
    } records[] = {{product::UninstallKeyPath(context.productName), product::kInstallLocationRecord.name},
                   {product::PortKeyPath(context.portName), product::kPortDestinationFolderRecord.name}};
    for (const auto& record : records) {
        const auto folder = RecordedFolder(context, record.key, record.value);
        if (folder && !text::EqualsNoCase(WithoutTrailingBackslash(*folder), own)) {
            return std::string("the installation's ") + record.value + " is " + *folder;
        }
    }
    return std::nullopt;
}

}  // namespace uninstall
