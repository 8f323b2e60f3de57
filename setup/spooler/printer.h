// The printer on its port, and its default device settings.
#pragma once

#include "common/product/platform_rows.h"
#include "platform/platform.h"
#include "setup/install_state.h"
#include "setup/settings.h"
#include "setup/step_feedback.h"

namespace setup {

// What the printer steps read: the spooler, the platform, the install log's names and
// the settings file; their boxes go through the run's feedback.
struct PrinterSetup {
    platform::Spooler& spooler;
    StepFeedback& feedback;
    const product::PlatformRow& row;
    const InstallState& state;
    const SetupSettings& settings;
};

// Creates the printer named by the install log on its port with the product's driver,
// then applies the default settings (also to a printer that already existed). True
// when the printer exists afterwards; false after a reported failure.
bool InstallPrinter(const PrinterSetup& setup);

// The install log's paper size (a global default form on the NT family, a paper code on
// the 4.x family) and the printer attributes. Only its two boxes tell about failures.
void ApplyDefaultDeviceSettings(const PrinterSetup& setup);

// Windows 98/Me: the medium's prepared device settings "Driver\<printer>.bin" become the
// printer's "Default DevMode". Does nothing when the file or the printer's key is absent.
void WriteLegacyDefaultDevMode(platform::FileSystem& files, platform::Registry& registry, const InstallState& state);

}  // namespace setup
