// The framework's application message box, for Windows code that has a window to own it.
#pragma once

#include <string>

#include "platform/user_interface.h"
#include "platform/win32/windows_api.h"

namespace platform::win32 {

// An OK box with the exclamation icon, captioned with the program's title (its file name
// without the extension), owned by `owner` (none: no owner).
MessageBoxAnswer ShowApplicationMessageBox(HWND owner, const std::string& text);

}  // namespace platform::win32
