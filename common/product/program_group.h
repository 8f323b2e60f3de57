// The Start-menu folder of the product's shortcuts: where the installer makes them and
// the uninstaller looks for them, by the same rule.
#pragma once

#include <string>

#include "common/text/ansi_path.h"

namespace product {

// The folder below the Programs folder: the install log's program group, or the
// product name when the log has none.
std::string ShortcutGroup(const std::string& programGroup, const std::string& productName);

// Whether a group names a folder inside the Programs folder: not absolute, not climbing
// out with "..", not the Programs folder itself. The uninstaller deletes the group's
// shortcuts and folder by this name, so no other group may be used.
bool IsGroupInsidePrograms(const std::string& group, const text::LeadBytes& leadBytes);

}  // namespace product
