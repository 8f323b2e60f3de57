#include "uninstall/register_mode.h"

#include "common/product/registry_names.h"
#include "uninstall/exit_codes.h"

namespace uninstall {
namespace {

using platform::RegistryRoot;
using platform::RegistryView;

bool NamesAKey(const std::string& name) { return !name.empty() && name.find('\\') == std::string::npos; }

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
    const auto named = entry.key->SetTextValue("DisplayName", displayName, platform::TextCount::WithNul);
    const auto command = entry.key->SetTextValue("UninstallString", uninstallCommand + " /uninstall",
                                                 platform::TextCount::WithNul);
    return named && command ? kExitDone : kExitFailed;
}

}  // namespace uninstall
