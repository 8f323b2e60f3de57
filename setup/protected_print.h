// Windows protected print mode: while it is on, Windows removes and blocks printers with
// drivers and port monitors of their own, so the product cannot work.
#pragma once

#include <string>

#include "common/product/platform_rows.h"
#include "platform/platform.h"

namespace setup {

// True when the group policy "Configure Windows protected print" or the Settings switch
// has turned the mode on: either value under
// HKLM\SOFTWARE\Policies\Microsoft\Windows NT\Printers\WPP holds the DWORD 1.
bool ProtectedPrintModeIsOn(platform::Registry& registry, const product::PlatformRow& row);

// The refusal's text: what is on and how to switch it off.
std::string ProtectedPrintRefusalText(const std::string& productName);

}  // namespace setup
