#include "setup/start_menu_shortcuts.h"

namespace setup {

void CreateStartMenuShortcuts(SetupContext& /*context*/) {}

}  // namespace setup
