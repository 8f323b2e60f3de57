// Putting the product's files in place: the destination folder and the copy list.
#pragma once

#include "setup/step_result.h"

namespace setup {

struct SetupContext;

// Still to be built: each succeeds without doing anything yet.
StepResult CreateDestinationFolder(SetupContext& context);  // fails with 403 or 404
StepResult DeployProductFiles(SetupContext& context);       // fails with 108, 109 or 110

}  // namespace setup
