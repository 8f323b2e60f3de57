#include "setup/registry_records.h"

#include "setup/setup_context.h"

namespace setup {

platform::RegistryView MachineView(const InstallState& state) {
    return state.isWow64 ? platform::RegistryView::Force64 : platform::RegistryView::Native;
}

std::string UninstallKeyPath(const std::string& productName) {
    return kUninstallKeyRoot + productName;
}

StepResult WriteProductKey(SetupContext& context) {
    const InstallState& state = context.state;
    auto opened = context.os.registry.CreateKey(platform::RegistryRoot::LocalMachine,
                                                kProductKeyPath, MachineView(state));
    if (!opened) return StepResult::Failed(113, opened.error);
    platform::RegistryKey& key = *opened.key;

    // The printing side reads these while the spooler steps run. Texts are stored
    // without their terminating NUL; single write failures are passed over.
    (void)key.SetValue("Port Name", platform::kRegSz, platform::TextBytes(state.portName));
    (void)key.SetValue("Printer Name", platform::kRegSz, platform::TextBytes(state.printerName));
    (void)key.SetValue("Destination Folder", platform::kRegSz,
                       platform::TextBytes(state.destinationFolder));
    (void)key.SetValue("Programmatic Access", platform::kRegDword,
                       platform::DwordBytes(state.programmaticAccess ? 1u : 0u));

    const std::string command = ReadSetting(context.settings, settings_keys::kCommand);
    if (!command.empty()) {
        (void)key.SetValue("Command", platform::kRegSz, platform::TextBytes(command));
    }
    const std::string arguments = ReadSetting(context.settings, settings_keys::kArguments);
    if (!arguments.empty()) {
        (void)key.SetValue("Arguments", platform::kRegSz, platform::TextBytes(arguments));
    }
    return StepResult::Done();
}

void ClearTransientValues(SetupContext& context) {
    auto opened = context.os.registry.OpenKey(platform::RegistryRoot::LocalMachine,
                                              kProductKeyPath, platform::RegistryAccess::AllAccess,
                                              MachineView(context.state));
    if (!opened) return;
    for (const char* name : kTransientValueNames) (void)opened.key->DeleteValue(name);
}

void CreateEditionKey(SetupContext& /*context*/) {}

void RegisterUninstallEntry(SetupContext& /*context*/) {}

StepResult WritePortKey(SetupContext& /*context*/) { return StepResult::Done(); }

}  // namespace setup
