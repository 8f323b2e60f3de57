// Which platform row the installer installs for, read off the running Windows.
#pragma once

#include <string>

#include "common/product/platform_rows.h"
#include "platform/platform.h"

namespace setup {

struct SelectedPlatform {
    const product::PlatformRow* row = nullptr;  // null: a Windows version refused outright
    platform::OsVersion version;
};

// Reads the Windows version and picks the row: Windows 98/Me (4.10 to 4.90), 32-bit
// Windows NT (5.0 and later), 64-bit Windows (5.1 and later under WOW64, and always for
// the 64-bit build of the installer), or Windows on ARM. Versions below 4.10, and a
// system that cannot tell its version, get no row.
SelectedPlatform SelectPlatformRow(platform::SystemInfo& system, bool programIs64Bit);

// The text of the box that refuses the platform: productName + " does not support
// Windows95/NT." without a row, or the row's own text.
std::string RefusalText(const product::PlatformRow* row, const std::string& productName);

// 1 when the installer runs as a 32-bit process on 64-bit Windows, else 0.
int IsRunningUnderWow64(platform::SystemInfo& system);

}  // namespace setup
