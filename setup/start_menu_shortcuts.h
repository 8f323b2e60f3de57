// The Start-menu program group and its shortcuts.
#pragma once

#include <optional>
#include <string>

#include "common/product/platform_rows.h"
#include "common/text/ansi_path.h"
#include "platform/platform.h"
#include "setup/install_state.h"
#include "setup/step_feedback.h"

namespace setup {

// What the shortcut step reads: the shell, the folders it makes, the platform, the
// install state and the code page's lead bytes; it writes to the error log.
struct ShortcutSetup {
    platform::Shell& shell;
    platform::FileSystem& files;
    const product::PlatformRow& row;
    const InstallState& state;
    const text::LeadBytes& leadBytes;
};

// The folder the shortcuts go into: the programs folder of the Start menu (all users'
// on the NT family, the user's on Windows 98/Me) + the program group, or + the product
// name when there is no group. Makes the group's parent (one level) and the folder
// itself when they are missing. Nothing when the shell gives no programs folder, or when
// the group is not a folder inside it (absolute, or climbing out with ".."): that is
// written to the error log and the shortcuts are passed over.
std::optional<std::string> PrepareShortcutFolder(const ShortcutSetup& setup, StepFeedback& feedback);

// Preferences, readme, security and (before Windows Vista) uninstall shortcuts, each
// under its own condition. Never fails the run: a shortcut that cannot be made is
// passed over.
void CreateStartMenuShortcuts(const ShortcutSetup& setup, StepFeedback& feedback);

}  // namespace setup
