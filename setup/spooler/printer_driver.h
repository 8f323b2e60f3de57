// The printer driver: the system's PostScript driver with the product's printer
// description, copied and registered for the spooler platform.
#pragma once

#include "common/product/platform_rows.h"
#include "platform/platform.h"
#include "setup/install_state.h"
#include "setup/step_feedback.h"

namespace setup {

// What the driver step reads: the spooler, the files it copies, the platform and the
// medium and system folders.
struct DriverSetup {
    platform::Spooler& spooler;
    platform::FileSystem& files;
    const product::PlatformRow& row;
    const InstallState& state;
};

inline constexpr char kReferenceDriverName[] = "Apple Color LW 12/660 PS";

// Copies the driver files and registers "NIMBRAX Writer" for the platform's environment.
// True when the driver is registered now or was already; false after a reported failure.
bool InstallPrinterDriver(const DriverSetup& setup, StepFeedback& feedback);

}  // namespace setup
