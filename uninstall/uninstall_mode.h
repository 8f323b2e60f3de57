// unInstpm64 /uninstall: removes the printer and everything the installer recorded and
// copied, then the uninstaller itself.
#pragma once

#include "common/runlog/run_log.h"
#include "platform/platform.h"

namespace uninstall {

// Runs uninstall mode to its end. Gives 0 after a complete run, 1602 when the question
// was answered No, 1603 when it stopped early: no install log, no temporary file for
// it, a spooler that refuses its monitor list, no system folder.
// Each step is written to `runLog`.
int RunUninstallMode(platform::Platform& os, bool silent, runlog::RunLog runLog = {});

}  // namespace uninstall
