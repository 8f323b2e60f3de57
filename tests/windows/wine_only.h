// Whether the tests run under Wine, for the few checks that need Wine's own tools (a
// restart by wineboot) or where Wine is known to answer otherwise than Windows.
#pragma once

#include "platform/win32/windows_api.h"

namespace wintest {

// Wine's ntdll exports wine_get_version; Windows' does not.
inline bool RunningUnderWine() {
    const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

}  // namespace wintest
