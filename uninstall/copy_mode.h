// unInstpm64 /copy: puts the 64-bit port-monitor DLL from the uninstaller's own folder
// into the 64-bit system directory, for the 32-bit Setup that cannot write there.
#pragma once

#include "platform/platform.h"

namespace uninstall {

// The copy's outcome is not reported; only a missing system directory is.
void RunCopyMode(platform::Platform& os);

}  // namespace uninstall
