#include "setup/spooler/printer_driver.h"

namespace setup {

bool InstallPrinterDriver(SetupContext& /*context*/) { return true; }

}  // namespace setup
