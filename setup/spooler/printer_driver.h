// The printer driver: the system's PostScript driver with the product's printer
// description, copied and registered for the spooler platform.
#pragma once

namespace setup {

struct SetupContext;

inline constexpr char kReferenceDriverName[] = "Apple Color LW 12/660 PS";

// Copies the driver files and registers "NIMBRAX Writer" for the platform's environment.
// True when the driver is registered now or was already; false after a reported failure.
bool InstallPrinterDriver(SetupContext& context);

}  // namespace setup
