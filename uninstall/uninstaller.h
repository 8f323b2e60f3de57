// unInstpm64's one job: read the command line and run the chosen mode to its end.
#pragma once

#include "platform/platform.h"

namespace uninstall {

// Runs copy mode when "/copy" is chosen. Register and uninstall mode are not part of
// this program yet and end at once, as does a command line without a switch. The
// exit status carries no result.
int RunUninstaller(platform::Platform& os);

}  // namespace uninstall
