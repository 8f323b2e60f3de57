#include "setup/start_menu_shortcuts.h"

#include "common/product/product_files.h"
#include "common/product/program_group.h"
#include "common/text/ansi_path.h"
#include "setup/file_probes.h"
#include "setup/shell_shortcut.h"

namespace setup {
namespace {

void CreateFolderIfMissing(platform::FileSystem& files, const std::string& folder) {
    if (!DirectoryExists(files, folder)) (void)files.CreateDirectory(folder);
}

// Windows Vista and later have no uninstall shortcut; the uninstall entry leads there.
bool WantsUninstallShortcut(const InstallState& state) { return state.osMajor < 6; }

}  // namespace

std::optional<std::string> PrepareShortcutFolder(const ShortcutSetup& setup, StepFeedback& feedback) {
    const InstallState& state = setup.state;
    platform::FileSystem& files = setup.files;
    const std::string group = product::ShortcutGroup(state.programGroup, state.productName);
    if (!product::IsGroupInsidePrograms(group, setup.leadBytes)) {
        feedback.AppendToErrorLog("Start-menu shortcuts skipped: the program group \"" + group +
                                  "\" is not a folder inside the Programs folder.");
        return std::nullopt;
    }
    const auto programsFolder = setup.shell.GetSpecialFolderPath(setup.row.programsFolder, true);
    if (!programsFolder) return std::nullopt;
    const std::string programs = *programsFolder + "\\";

    std::string folder = programs + state.productName;
    if (!state.programGroup.empty()) {
        // A nested group gets its parent first; deeper levels are not made.
        const std::size_t lastSlash = text::FindLastBackslash(state.programGroup, setup.leadBytes);
        if (lastSlash != std::string::npos && lastSlash > 0) {
            CreateFolderIfMissing(files, programs + state.programGroup.substr(0, lastSlash));
        }
        folder = programs + state.programGroup;
    }
    CreateFolderIfMissing(files, folder);
    return folder;
}

void CreateStartMenuShortcuts(const ShortcutSetup& setup, StepFeedback& feedback) {
    const InstallState& state = setup.state;
    const auto folder = PrepareShortcutFolder(setup, feedback);
    if (!folder) return;
    platform::Shell& shell = setup.shell;
    const std::string& destination = state.destinationFolder;

    // The results are not looked at: a missing shortcut does not stop the installation.
    const std::string preferences = destination + "\\" + product::kPreferencesProgram;
    if (FileExists(setup.files, preferences)) {
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
        const bool takesSwitch = setup.row.uninstallArguments == product::UninstallArguments::UninstallSwitch;
        const std::string arguments = takesSwitch ? " /uninstall" : destination;
        (void)CreateShellShortcut(shell, state.uninstallerPath,
                                  *folder + "\\" + product::UninstallShortcutName(state.productName), "Shortcut to uninstall",
                                  arguments.c_str());
    }
}

}  // namespace setup
