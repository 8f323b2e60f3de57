// What one run of the installer works with: the platform, the dialogs, the install
// state, the spooler platform, the settings file and the error log.
#pragma once

#include <memory>
#include <string>

#include "common/runlog/run_log.h"
#include "common/text/ansi_path.h"
#include "platform/platform.h"
#include "setup/install_state.h"
#include "setup/settings.h"
#include "setup/spooler/spooler_platform.h"
#include "setup/ui/setup_dialogs.h"

namespace setup {

struct SetupContext {
    SetupContext(platform::Platform& platformIn, SetupDialogs& dialogsIn, bool is64BitProgram)
        : os(platformIn), dialogs(dialogsIn), programIs64Bit(is64BitProgram) {}

    platform::Platform& os;
    SetupDialogs& dialogs;
    // A 64-bit Setup runs on 64-bit Windows by definition and installs for it.
    const bool programIs64Bit;

    InstallState state;
    SpoolerPlatform spooler;
    SetupSettings settings;
    std::string errorLogPath;  // empty until the destination folder exists
    text::LeadBytes leadBytes;  // of the ANSI code page, for splitting paths at backslashes
    runlog::RunLog runLog;      // writes nothing unless "/log=PATH" was given
    std::unique_ptr<InstallProgress> progress;
};

}  // namespace setup
