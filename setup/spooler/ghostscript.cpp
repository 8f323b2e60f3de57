#include "setup/spooler/ghostscript.h"

namespace setup {

StepResult PrepareGhostscript(SetupContext& /*context*/) { return StepResult::Done(); }

}  // namespace setup
