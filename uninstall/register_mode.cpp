#include "uninstall/register_mode.h"

#include "common/product/registry_names.h"
#include "uninstall/exit_codes.h"

namespace uninstall {
namespace {

using platform::RegistryRoot;
using platform::RegistryView;

// A name the entry's key can have: one name, not a path, and short enough for the whole
// key path to stay within the registry's limit (as the install log tool holds product
// names to it), so that Windows and Wine, which allows a few characters more, agree.
bool NamesAKey(const std::string& name) {
    return !name.empty() && name.size() <= product::kLongestProductNameForKey &&
           name.find('\\') == std::string::npos;
}

}  // namespace

int RunRegisterMode(platform::Platform& os, const std::string& uninstallCommand, const std::string& displayName) {
    if (!NamesAKey(displayName)) return kExitFailed;
    platform::Registry& registry = os.registry;
    auto parent = registry.OpenKey(RegistryRoot::LocalMachine, product::kUninstallKeyParent,
                                   platform::RegistryAccess::AllAccess, RegistryView::Native);
    if (!parent) parent = registry.CreateKey(RegistryRoot::LocalMachine, product::kUninstallKeyParent, RegistryView::Native);
    if (!parent) return kExitFailed;

    auto entry = registry.CreateKey(RegistryRoot::LocalMachine, product::UninstallKeyPath(displayName), RegistryView::Native);
    if (!entry) return kExitFailed;
    const auto named = entry.key->SetTextValue(product::kDisplayNameRecord.name, displayName,
                                                product::kDisplayNameRecord.textCount);
    const auto command = entry.key->SetTextValue(product::kUninstallStringRecord.name, uninstallCommand + " /uninstall",
                                                  product::kUninstallStringRecord.textCount);
    return named && command ? kExitDone : kExitFailed;
}

}  // namespace uninstall
