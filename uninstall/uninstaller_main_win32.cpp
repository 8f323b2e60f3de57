// unInstpm64's entry: read the command line and run the chosen mode.
#include "platform/win32/windows_api.h"

#include "platform/win32/win32_platform.h"
#include "uninstall/uninstall_command_line.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    platform::win32::Win32Platform windows;
    const auto commandLine =
        uninstall::ParseUninstallerCommandLine(windows.platform().system.GetCommandLineArguments());
    // The modes are not built yet; each ends at once. The exit status carries no result.
    (void)uninstall::SelectMode(commandLine);
    return 0;
}
