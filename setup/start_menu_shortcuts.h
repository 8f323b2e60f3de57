// The Start-menu program group and its shortcuts.
#pragma once

namespace setup {

struct SetupContext;

// Still to be built: does nothing yet.
void CreateStartMenuShortcuts(SetupContext& context);

}  // namespace setup
