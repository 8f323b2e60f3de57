// The port monitor DLL in the system folder, and the monitor and its port registered
// with the spooler.
#pragma once

namespace setup {

struct SetupContext;

// Still to be built: deploys nothing yet.
void DeployPortMonitor(SetupContext& context);
// Adds the monitor, steps the progress, adds the port. Still to be built: only the
// progress step is taken yet.
void RegisterPortMonitor(SetupContext& context);

}  // namespace setup
