#include "setup/file_deployment.h"

namespace setup {

StepResult CreateDestinationFolder(SetupContext& /*context*/) { return StepResult::Done(); }

StepResult DeployProductFiles(SetupContext& /*context*/) { return StepResult::Done(); }

}  // namespace setup
