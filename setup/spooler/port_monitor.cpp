#include "setup/spooler/port_monitor.h"

#include "setup/install_sequence.h"

namespace setup {

void DeployPortMonitor(SetupContext& /*context*/) {}

void RegisterPortMonitor(SetupContext& context) {
    // The monitor is added here, then the port, with one step of the progress between.
    StepProgress(context);
}

}  // namespace setup
