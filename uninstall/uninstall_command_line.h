// unInstpm64's command line: "/uninstall", "/copy", "/register" with two plain
// arguments, and "/s".
#pragma once

#include <string>
#include <vector>

namespace uninstall {

enum class UninstallerMode { None, Copy, Register, Uninstall };

struct UninstallerCommandLine {
    bool copy = false;
    bool registerEntry = false;
    bool uninstall = false;
    bool silent = false;
    std::string uninstallCommand;  // register mode: first plain argument
    std::string displayName;       // register mode: the last plain argument after it
    std::string runLogPath;        // "/log=PATH"; empty: no run log
};

// Looks at every argument after the program name, left to right.
UninstallerCommandLine ParseUninstallerCommandLine(const std::vector<std::string>& arguments);

// Copy wins over register, register over uninstall; with no switch nothing runs.
UninstallerMode SelectMode(const UninstallerCommandLine& commandLine);

}  // namespace uninstall
