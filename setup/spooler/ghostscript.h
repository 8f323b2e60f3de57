// Ghostscript for the PDF back-end: a registered installation, or the medium's copy.
#pragma once

#include "setup/step_result.h"

namespace setup {

struct SetupContext;

// Still to be built: succeeds without doing anything yet. Fails with 108.
StepResult PrepareGhostscript(SetupContext& context);

}  // namespace setup
