// A shell shortcut saved through COM, as the Start-menu group holds them.
#pragma once

#include <string>

#include "platform/platform.h"

namespace setup {

// Saves a shell shortcut to `target` at `shortcutPath`. `arguments` may be null.
// Gives the result of the last step attempted.
platform::HResult CreateShellShortcut(platform::Shell& shell, const std::string& target,
                                      const std::string& shortcutPath,
                                      const std::string& description, const char* arguments);

}  // namespace setup
