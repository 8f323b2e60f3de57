// The printer driver: the system's PostScript driver with the product's printer
// description, copied and registered for the spooler platform.
#pragma once

namespace setup {

struct SetupContext;

// Still to be built: installs nothing yet and reports success.
bool InstallPrinterDriver(SetupContext& context);

}  // namespace setup
