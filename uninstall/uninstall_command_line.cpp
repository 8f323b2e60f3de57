#include "uninstall/uninstall_command_line.h"

#include "common/runlog/run_log.h"

namespace uninstall {
namespace {

bool Contains(const std::string& argument, const char* switchText) {
    return argument.find(switchText) != std::string::npos;  // case-sensitive, anywhere
}

void TakePlainArgument(UninstallerCommandLine& commandLine, const std::string& argument) {
    if (commandLine.registerEntry) {
        if (commandLine.uninstallCommand.empty()) {
            commandLine.uninstallCommand = argument;
        } else {
            commandLine.displayName = argument;
        }
    }
    if (argument == "/s") commandLine.silent = true;
}

}  // namespace

UninstallerCommandLine ParseUninstallerCommandLine(const std::vector<std::string>& arguments) {
    UninstallerCommandLine commandLine;
    for (const std::string& argument : arguments) {
        // The run log's path is only that, whatever it contains ("/log=C:/copy/x.log").
        if (const auto logPath = runlog::RunLogPath(argument)) {
            commandLine.runLogPath = *logPath;
        } else if (Contains(argument, "/copy")) {
            commandLine.copy = true;
        } else if (Contains(argument, "/register")) {
            commandLine.registerEntry = true;
        } else if (Contains(argument, "/uninstall")) {
            commandLine.uninstall = true;
            commandLine.copy = false;
            commandLine.registerEntry = false;
        } else {
            TakePlainArgument(commandLine, argument);
        }
    }
    return commandLine;
}

UninstallerMode SelectMode(const UninstallerCommandLine& commandLine) {
    if (commandLine.copy) return UninstallerMode::Copy;
    if (commandLine.registerEntry) return UninstallerMode::Register;
    if (commandLine.uninstall) return UninstallerMode::Uninstall;
    return UninstallerMode::None;
}

}  // namespace uninstall
