#include "uninstall/uninstaller.h"

#include "uninstall/copy_mode.h"
#include "uninstall/exit_codes.h"
#include "uninstall/register_mode.h"
#include "uninstall/uninstall_command_line.h"
#include "uninstall/uninstall_mode.h"

namespace uninstall {

int RunUninstaller(platform::Platform& os) {
    const UninstallerCommandLine commandLine = ParseUninstallerCommandLine(os.system.GetCommandLineArguments());
    switch (SelectMode(commandLine)) {
        case UninstallerMode::Copy:
            return RunCopyMode(os);
        case UninstallerMode::Register:
            return RunRegisterMode(os, commandLine.uninstallCommand, commandLine.displayName);
        case UninstallerMode::Uninstall:
            return RunUninstallMode(os, commandLine.silent);
        case UninstallerMode::None:
            break;
    }
    return kExitDone;
}

}  // namespace uninstall
