// The uninstaller's message boxes: its own messages with the product name, and the
// failure box with the system's text for an error.
#pragma once

#include <cstdint>

#include "uninstall/uninstall_context.h"

namespace uninstall {

// A box of uninstall mode. A silent run whose window station is not visible writes its
// text to the run log (as step `step`) instead, and the answer is Ok.
platform::MessageBoxAnswer ShowBox(UninstallContext& context, int step, const std::string& text,
                                   const std::string& caption, platform::MessageBoxButtons buttons);

// Message `id` of the uninstaller's string table (at most `capacity` - 1 characters)
// with "%s" filled by the product name, in a box captioned with the product name.
platform::MessageBoxAnswer ShowProductMessage(UninstallContext& context, std::uint32_t id, std::size_t capacity,
                                              platform::MessageBoxButtons buttons);

// "UnInstall <product> failed." and, for a non-zero error the system has a text for, a
// line break and that text; captioned with the product name (empty before the install
// log is read). Nothing when silent.
void ShowUninstallFailure(UninstallContext& context, std::uint32_t error);

}  // namespace uninstall
