// unInstpm64's entry: build the real platform and run the chosen mode.
#include "platform/win32/windows_api.h"

#include "platform/win32/dll_search.h"
#include "platform/win32/win32_platform.h"
#include "uninstall/uninstaller.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    platform::win32::RestrictDllSearchToSystemFolder();
    platform::win32::Win32Platform windows;
    return uninstall::RunUninstaller(windows.platform());
}
