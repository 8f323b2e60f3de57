// unInstpm64 /copy: puts the 64-bit port-monitor DLL from the uninstaller's own folder
// into the 64-bit system directory, for the 32-bit Setup that cannot write there.
#pragma once

#include "platform/platform.h"

namespace uninstall {

// The copy's outcome is not shown; only a missing system directory is. Gives 0 when
// the DLL is in place, else the Windows error that prevented it.
int RunCopyMode(platform::Platform& os);

}  // namespace uninstall
