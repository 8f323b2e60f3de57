// The printer on its port, and its default device settings.
#pragma once

namespace setup {

struct SetupContext;

// Still to be built: each does nothing yet.
void InstallPrinter(SetupContext& context);
void WriteLegacyDefaultDevMode(SetupContext& context);

}  // namespace setup
