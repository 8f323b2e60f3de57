// The installer's whole run: the command line, then the install steps once, in order.
#pragma once

#include "setup/setup_context.h"

namespace setup {

// Runs the install sequence and gives the process exit status: 0 after a completed
// installation, otherwise the code of the way the run ended (see exit_codes.h).
int RunInstallSequence(SetupContext& context);

// Advances the progress window by one step, handling pending messages first. Nothing
// when silent or when there is no window.
void StepProgress(SetupContext& context);

// Step 17: from now on the error log is "Error.log" in the destination folder.
void PointErrorLogAtDestination(SetupContext& context);

// Closes the progress window if it is shown; a step that reports its own failure text
// closes it first.
void CloseProgress(SetupContext& context);

}  // namespace setup
