// unInstpm64's one job: read the command line and run the chosen mode to its end.
#pragma once

#include "platform/platform.h"

namespace uninstall {

// Runs the mode the command line chooses (copy, register or uninstall) and gives its
// exit status; a command line without a switch ends at once with 87 (invalid
// parameter), doing nothing.
int RunUninstaller(platform::Platform& os);

}  // namespace uninstall
