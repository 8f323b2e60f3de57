// The installer's whole run: the command line, then the install steps once, in order.
#pragma once

#include "setup/setup_context.h"

namespace setup {

// Runs the install sequence and gives the process exit status: 0 after a completed
// installation, otherwise the code of the way the run ended (see exit_codes.h).
int RunInstallSequence(SetupContext& context);

}  // namespace setup
