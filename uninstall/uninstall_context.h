// What one uninstall run works with: the platform, the silent flag, the install folder
// and the names the install log gives.
#pragma once

#include <string>

#include "common/runlog/run_log.h"
#include "common/text/ansi_path.h"
#include "platform/platform.h"

namespace uninstall {

struct UninstallContext {
    UninstallContext(platform::Platform& platformIn, bool silentIn, runlog::RunLog runLogIn = {})
        : os(platformIn), silent(silentIn), runLog(std::move(runLogIn)) {}

    platform::Platform& os;
    const bool silent;
    runlog::RunLog runLog;  // writes nothing unless "/log=PATH" was given
    text::LeadBytes leadBytes;  // of the ANSI code page, for splitting paths

    std::string ownPath;        // the running uninstaller
    std::string installFolder;  // its folder, with a trailing backslash
    std::string systemFolder;   // no trailing backslash; empty until asked for

    // From the install log; the product name is empty until the log is read.
    std::string printerName;
    std::string portName;
    std::string productName;
    std::string programGroup;

    // What the exit status reports besides the removal itself.
    bool printerLeft = false;    // the printer was there and could not be deleted
    bool restartNeeded = false;  // files wait for their deletion at the next restart
};

}  // namespace uninstall
