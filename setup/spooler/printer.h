// The printer on its port, and its default device settings.
#pragma once

namespace setup {

struct SetupContext;

// Creates the printer named by the install log on its port with the product's driver,
// then applies the default settings (also to a printer that already existed). True
// when the printer exists afterwards; false after a reported failure.
bool InstallPrinter(SetupContext& context);

// The install log's paper size (a global default form on the NT family, a paper code on
// the 4.x family) and the printer attributes. Only its two boxes tell about failures.
void ApplyDefaultDeviceSettings(SetupContext& context);

// Windows 98/Me: the medium's prepared device settings "Driver\<printer>.bin" become the
// printer's "Default DevMode". Does nothing when the file or the printer's key is absent.
void WriteLegacyDefaultDevMode(SetupContext& context);

}  // namespace setup
