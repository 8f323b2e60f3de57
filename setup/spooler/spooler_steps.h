// The spooler steps of the install sequence after the platform check: printer driver,
// port monitor and port, printer and its default settings, Ghostscript.
#pragma once

#include "setup/step_result.h"

namespace setup {

struct SetupContext;

// Still to be built: each does nothing yet and succeeds.
bool InstallPrinterDriver(SetupContext& context);
void DeployPortMonitor(SetupContext& context);
// Adds the monitor, steps the progress, adds the port.
void RegisterPortMonitor(SetupContext& context);
void InstallPrinter(SetupContext& context);
void WriteLegacyDefaultDevMode(SetupContext& context);
StepResult PrepareGhostscript(SetupContext& context);  // fails with 108

}  // namespace setup
