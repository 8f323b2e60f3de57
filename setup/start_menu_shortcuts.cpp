#include "setup/start_menu_shortcuts.h"

#include "common/product/product_files.h"
#include "common/product/program_group.h"
#include "common/text/ansi_path.h"
#include "setup/setup_context.h"
#include "setup/ui/error_report.h"
#include "setup/ui/system_probes.h"

namespace setup {
namespace {

void CreateFolderIfMissing(platform::FileSystem& files, const std::string& folder) {
    if (!DirectoryExists(files, folder)) (void)files.CreateDirectory(folder);
}

// Windows Vista and later have no uninstall shortcut; the uninstall entry leads there.
bool WantsUninstallShortcut(const InstallState& state) { return state.osMajor < 6; }

}  // namespace

std::optional<std::string> PrepareShortcutFolder(SetupContext& context) {
    const InstallState& state = context.state;
    platform::FileSystem& files = context.os.files;
    const std::string group = product::ShortcutGroup(state.programGroup, state.productName);
    if (!product::IsGroupInsidePrograms(group, context.leadBytes)) {
        AppendToErrorLog(files, context.errorLogPath,
                         "Start-menu shortcuts skipped: the program group \"" + group +
                             "\" is not a folder inside the Programs folder.");
        return std::nullopt;
    }
    const auto programsFolder = context.os.shell.GetSpecialFolderPath(
        state.isNtFamily ? platform::SpecialFolder::CommonPrograms : platform::SpecialFolder::UserPrograms,
        true);
    if (!programsFolder) return std::nullopt;
    const std::string programs = *programsFolder + "\\";

    std::string folder = programs + state.productName;
    if (!state.programGroup.empty()) {
        // A nested group gets its parent first; deeper levels are not made.
        const std::size_t lastSlash = text::FindLastBackslash(state.programGroup, context.leadBytes);
        if (lastSlash != std::string::npos && lastSlash > 0) {
            CreateFolderIfMissing(files, programs + state.programGroup.substr(0, lastSlash));
        }
        folder = programs + state.programGroup;
    }
    CreateFolderIfMissing(files, folder);
    return folder;
}

void CreateStartMenuShortcuts(SetupContext& context) {
    const InstallState& state = context.state;
    const auto folder = PrepareShortcutFolder(context);
    if (!folder) return;
    platform::Shell& shell = context.os.shell;
    const std::string& destination = state.destinationFolder;

    // The results are not looked at: a missing shortcut does not stop the installation.
    const std::string preferences = destination + "\\" + product::kPreferencesProgram;
    if (FileExists(context.os.files, preferences)) {
        (void)CreateShellShortcut(shell, preferences, *folder + "\\" + product::kPreferencesShortcut, "Shortcut to preferences",
                                  nullptr);
    }
    if (!state.readmeName.empty()) {
        (void)CreateShellShortcut(shell, destination + "\\" + state.readmeName, *folder + "\\" + product::kReadmeShortcut,
                                  "Shortcut to readme", nullptr);
    }
    if (state.extensionComponents) {
        (void)CreateShellShortcut(shell, destination + "\\" + product::kSecurityProgram,
                                  *folder + "\\" + product::kSecurityShortcut,
                                  "Shortcut to security", nullptr);
    }
    if (WantsUninstallShortcut(state)) {
        const std::string arguments = state.isWow64 ? " /uninstall" : destination;
        (void)CreateShellShortcut(shell, state.uninstallerPath,
                                  *folder + "\\" + product::UninstallShortcutName(state.productName), "Shortcut to uninstall",
                                  arguments.c_str());
    }
}

}  // namespace setup
