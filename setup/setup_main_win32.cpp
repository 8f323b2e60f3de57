// Setup's entry: build the real platform, run the install sequence, end with its status.
#include "platform/win32/windows_api.h"

#include <commctrl.h>

#include "platform/win32/common_controls.h"
#include "platform/win32/dll_search.h"
#include "platform/win32/win32_platform.h"
#include "setup/install_sequence.h"
#include "setup/ui/setup_dialogs_win32.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    platform::win32::RestrictDllSearchToSystemFolder();
    // The manifest asks for Common Controls 6, which holds the buttons, edits and statics
    // of every box and dialog as well as the common controls (Microsoft documents both, and
    // that under version 6 the classes are registered through InitCommonControlsEx).
    // Windows XP loads that library only when the program does: a program with such a
    // manifest that shows a box first is reported to show nothing at all, and the welcome
    // question then reads as No. So it is loaded and initialised here, before the first
    // box, at run time from the system folder as the progress window loads it. Only the
    // progress bar's flag is asked: a flag an older library does not know (the standard
    // classes are version 6 only) makes the call fail there. When it fails the boxes keep
    // the system's own controls where Windows has them, and the progress window tries again.
    (void)platform::win32::InitCommonControlsAtRunTime(ICC_PROGRESS_CLASS);
    platform::win32::Win32Platform windows;
    setup::Win32SetupDialogs dialogs;
    setup::SetupContext context(windows.platform(), dialogs, sizeof(void*) == 8);
    return setup::RunInstallSequence(context);
}
