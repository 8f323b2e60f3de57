// Removing the uninstaller itself once it has ended: a hidden batch file deletes the
// program file, removes the install folder and deletes itself.
#pragma once

#include <string>

#include "uninstall/uninstall_context.h"

namespace uninstall {

// Where the batch is written and what it needs to know.
struct SelfRemovalPaths {
    std::string program;        // the uninstaller's full path
    std::string installFolder;  // without its trailing backslash
    std::string batch;          // the batch file's full path
    std::string systemFolder;   // for ping.exe, by its full path
    int tries = 60;             // of the deletion, about a second apart
};

// The batch's text: it deletes the program file, trying again once a second while the
// program still runs, and gives up after about a minute; then it removes the install
// folder (only an empty folder goes) and deletes itself. Every path is quoted, and a
// "%" in a path is doubled so that the command interpreter reads it as itself.
std::string SelfRemovalBatch(const SelfRemovalPaths& paths);

// Writes the batch under a new unique name in the uninstaller's own temporary folder
// (not the drive root, where other users may change it; without a temporary folder, in
// the install folder's parent), its paths as the command interpreter reads them (the
// OEM code page, or short names), and starts it hidden through
// the command interpreter, suspended at idle priority, from the temporary folder; the
// uninstaller raises its own priority so that it ends before the batch runs. Any
// failure leaves the program file where it is.
void StartSelfRemoval(UninstallContext& context);

}  // namespace uninstall
