// What one run of the installer works with: the platform, the dialogs, the install
// state, the settings file, the run log and what the steps tell the user.
#pragma once

#include <memory>
#include <string>

#include "common/runlog/run_log.h"
#include "common/text/ansi_path.h"
#include "platform/platform.h"
#include "setup/install_state.h"
#include "setup/settings.h"
#include "setup/step_feedback.h"
#include "setup/ui/setup_dialogs.h"

namespace setup {

struct SetupContext {
    SetupContext(platform::Platform& platformIn, SetupDialogs& dialogsIn, bool is64BitProgram)
        : os(platformIn), dialogs(dialogsIn), programIs64Bit(is64BitProgram) {}

    platform::Platform& os;
    SetupDialogs& dialogs;
    const bool programIs64Bit;

    InstallState state;
    SetupSettings settings;
    text::LeadBytes leadBytes;  // of the ANSI code page, for splitting paths at backslashes
    runlog::RunLog runLog;      // writes nothing unless "/log=PATH" was given
    StepFeedback feedback{os, state, runLog};
    // Held from the install log's reading to the end: one installation or removal at a time.
    std::unique_ptr<platform::NamedMutex> runLock;
};

}  // namespace setup
