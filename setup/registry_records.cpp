#include "setup/registry_records.h"

#include "common/product/product_files.h"
#include "common/product/registry_names.h"
#include "resources/setup/setup_strings.h"
#include "setup/setup_context.h"
#include "setup/ui/system_probes.h"

namespace setup {

platform::RegistryView MachineView(const InstallState& state) {
    return state.isWow64 ? platform::RegistryView::Force64 : platform::RegistryView::Native;
}

StepResult WriteProductKey(SetupContext& context) {
    const InstallState& state = context.state;
    auto opened = context.os.registry.CreateKey(platform::RegistryRoot::LocalMachine,
                                                product::kProductKeyPath, MachineView(state));
    if (!opened) return StepResult::Failed(IDS_NEED_ADMINISTRATOR, opened.error);
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
                                              product::kProductKeyPath, platform::RegistryAccess::AllAccess,
                                              MachineView(context.state));
    if (!opened) return;
    for (const char* name : product::kTransientValueNames) (void)opened.key->DeleteValue(name);
}

void CreateEditionKey(SetupContext& context) {
    // Created empty for the professional edition's programs; nothing is written in it.
    (void)context.os.registry.CreateKey(platform::RegistryRoot::LocalMachine, product::kEditionKeyPath,
                                        MachineView(context.state));
}

std::string UninstallCommand(const InstallState& state) {
    // The program path is quoted: unquoted, a path with spaces would let Windows try
    // "C:\Program.exe" first.
    const std::string program = "\"" + state.uninstallerPath + "\"";
    if (state.isWow64) return program + " /uninstall";
    return program + " " + state.destinationFolder;
}

bool RegisterUninstallEntry(SetupContext& context) {
    const InstallState& state = context.state;
    auto opened = context.os.registry.CreateKey(platform::RegistryRoot::LocalMachine,
                                                product::UninstallKeyPath(state.productName), MachineView(state));
    if (!opened) return false;
    // Unlike the product and port keys, these two are stored with their NUL.
    const bool named = static_cast<bool>(
        opened.key->SetValue("DisplayName", platform::kRegSz, platform::TextBytesWithNul(state.productName)));
    const bool command = static_cast<bool>(opened.key->SetValue(
        "UninstallString", platform::kRegSz, platform::TextBytesWithNul(UninstallCommand(state))));
    return named && command;
}

StepResult WritePortKey(SetupContext& context) {
    const InstallState& state = context.state;
    auto opened = context.os.registry.CreateKey(platform::RegistryRoot::LocalMachine,
                                                product::PortKeyPath(state.portName), MachineView(state));
    if (!opened) return StepResult::Failed(IDS_NEED_ADMINISTRATOR, opened.error);
    platform::RegistryKey& key = *opened.key;

    // Stored without their NUL; single write failures are passed over.
    if (state.programmaticAccess) {
        (void)key.SetValue("", platform::kRegSz, platform::TextBytes(state.portName + state.printerName));
    }
    (void)key.SetValue("Destination Folder", platform::kRegSz,
                       platform::TextBytes(state.destinationFolder));
    const bool nimbExtOnMedium = FileExists(context.os.files, state.sourceFolder + "NimbExt.exe");
    if (state.extensionComponents && nimbExtOnMedium) {
        (void)key.SetValue("NimbExt", platform::kRegSz,
                           platform::TextBytes(state.destinationFolder + "\\NimbExt.exe"));
    }
    if (state.ghostscriptDeployed) {
        (void)key.SetValue("Converter", platform::kRegSz,
                           platform::TextBytes(state.destinationFolder + "\\" + product::kGhostscriptFolder));
    }
    return StepResult::Done();
}

}  // namespace setup
