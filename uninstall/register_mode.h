// unInstpm64 /register COMMAND NAME: an uninstall entry named NAME that runs COMMAND
// with " /uninstall".
#pragma once

#include <string>

#include "platform/platform.h"

namespace uninstall {

// Writes the entry in the uninstaller's own (64-bit) view. Nothing is written for a
// name that cannot name a registry key (empty, or holding a backslash). Gives 0 when
// the entry and both its values were written, else 1603. Nothing is shown.
int RunRegisterMode(platform::Platform& os, const std::string& uninstallCommand, const std::string& displayName);

}  // namespace uninstall
