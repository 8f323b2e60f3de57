#include "uninstall/uninstaller.h"

#include "uninstall/copy_mode.h"
#include "uninstall/uninstall_command_line.h"

namespace uninstall {

int RunUninstaller(platform::Platform& os) {
    const UninstallerCommandLine commandLine = ParseUninstallerCommandLine(os.system.GetCommandLineArguments());
    switch (SelectMode(commandLine)) {
        case UninstallerMode::Copy:
            RunCopyMode(os);
            break;
        case UninstallerMode::Register:
        case UninstallerMode::Uninstall:
        case UninstallerMode::None:
            break;
    }
    return 0;
}

}  // namespace uninstall
