#include "setup/spooler/spooler_steps.h"

#include "setup/install_sequence.h"
#include "setup/setup_context.h"

namespace setup {

bool InstallPrinterDriver(SetupContext& /*context*/) { return true; }

void DeployPortMonitor(SetupContext& /*context*/) {}

void RegisterPortMonitor(SetupContext& context) {
    // The monitor is added here, then the port, with one step of the progress between.
    StepProgress(context);
}

void InstallPrinter(SetupContext& /*context*/) {}

void WriteLegacyDefaultDevMode(SetupContext& /*context*/) {}

StepResult PrepareGhostscript(SetupContext& /*context*/) { return StepResult::Done(); }

}  // namespace setup
