#include "uninstall/uninstaller.h"

#include "uninstall/copy_mode.h"
#include "uninstall/exit_codes.h"
#include "uninstall/register_mode.h"
#include "uninstall/uninstall_command_line.h"
#include "uninstall/uninstall_mode.h"

namespace uninstall {

namespace {

int RunMode(platform::Platform& os, const UninstallerCommandLine& commandLine, runlog::RunLog& log) {
    switch (SelectMode(commandLine)) {
        case UninstallerMode::Copy: {
            const int status = RunCopyMode(os);
            log.Step(1, "monitor DLL into the system folder", status == 0 ? "copied" : "failed",
                     static_cast<std::uint32_t>(status));
            return status;
        }
        case UninstallerMode::Register: {
            const int status = RunRegisterMode(os, commandLine.uninstallCommand, commandLine.displayName);
            log.Step(1, "uninstall entry " + commandLine.displayName, status == kExitDone ? "written" : "not written");
            return status;
        }
        case UninstallerMode::Uninstall:
            return RunUninstallMode(os, commandLine.silent, log);
        case UninstallerMode::None:
            break;
    }
    // A mistyped command line does nothing, and says so to whoever started it.
    log.Step(1, "mode", "none given: nothing done");
    return kExitInvalidParameter;
}

}  // namespace

int RunUninstaller(platform::Platform& os) {
    const std::vector<std::string> arguments = os.system.GetCommandLineArguments();
    const UninstallerCommandLine commandLine = ParseUninstallerCommandLine(arguments);
    runlog::RunLog log;
    if (!commandLine.runLogPath.empty()) {
        log = runlog::RunLog(os, commandLine.runLogPath);
        log.Start("unInstpm64", arguments);
    }
    const int status = RunMode(os, commandLine, log);
    log.Exit(status);
    return status;
}

}  // namespace uninstall
