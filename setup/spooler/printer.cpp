#include "setup/spooler/printer.h"

namespace setup {

void InstallPrinter(SetupContext& /*context*/) {}

void WriteLegacyDefaultDevMode(SetupContext& /*context*/) {}

}  // namespace setup
