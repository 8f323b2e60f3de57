// The common controls (the progress bar's window class), loaded at run time: the
// library is not a KnownDLL, so importing it would let a planted copy beside the
// program be loaded first.
#pragma once

#include "platform/win32/windows_api.h"

namespace platform::win32 {

// InitCommonControlsEx for the classes in `classes` (ICC_* flags), from the system's
// Common Controls library; false when the library or the function is missing or the
// classes could not be registered.
bool InitCommonControlsAtRunTime(DWORD classes);

}  // namespace platform::win32
