// What one uninstall run works with: the platform, the silent flag, the install folder
// and the names the install log gives.
#pragma once

#include <string>

#include "common/text/ansi_path.h"
#include "platform/platform.h"

namespace uninstall {

struct UninstallContext {
    UninstallContext(platform::Platform& platformIn, bool silentIn) : os(platformIn), silent(silentIn) {}

    platform::Platform& os;
    const bool silent;
    text::LeadBytes leadBytes;  // of the ANSI code page, for splitting paths

    std::string ownPath;        // the running uninstaller
    std::string installFolder;  // its folder, with a trailing backslash
    std::string systemFolder;   // no trailing backslash; empty until asked for

    // From the install log; the product name is empty until the log is read.
    std::string printerName;
    std::string portName;
    std::string productName;
    std::string programGroup;
};

}  // namespace uninstall
