#include "platform/win32/common_controls.h"

#include <commctrl.h>

#include "platform/win32/dll_search.h"
#include "platform/win32/system_function.h"

namespace platform::win32 {

bool InitCommonControlsAtRunTime(DWORD classes) {
    using InitFunction = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    // Loaded once and kept: the controls' windows need the library as long as they live.
    static const HMODULE library = LoadSystemLibrary("comctl32.dll");
    if (library == nullptr) return false;
    const auto init = ExportedFunction<InitFunction>(library, "InitCommonControlsEx");
    if (init == nullptr) return false;
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof(controls);
    controls.dwICC = classes;
    return init(&controls) != FALSE;
}

}  // namespace platform::win32
