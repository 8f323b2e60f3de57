// Setup's entry: build the real platform, run the install sequence, end with its status.
#include "platform/win32/windows_api.h"

#include "platform/win32/dll_search.h"
#include "platform/win32/win32_platform.h"
#include "setup/install_sequence.h"
#include "setup/ui/setup_dialogs_win32.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    platform::win32::RestrictDllSearchToSystemFolder();
    platform::win32::Win32Platform windows;
    setup::Win32SetupDialogs dialogs;
    setup::SetupContext context(windows.platform(), dialogs, sizeof(void*) == 8);
    return setup::RunInstallSequence(context);
}
