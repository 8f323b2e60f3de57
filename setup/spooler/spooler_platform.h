// Which spooler platform Setup installs for, and the names every spooler step shares.
#pragma once

#include <string>

#include "common/product/spooler_names.h"
#include "setup/step_result.h"

namespace setup {

struct SetupContext;

struct SpoolerPlatform {
    bool isNtFamily = false;
    bool isWow64 = false;  // 64-bit Windows
    std::string environment;
    std::string monitorDll;
    std::string monitorName;
};

// Reads the Windows version and fills SpoolerPlatform and the install state. On
// Windows 95, NT 4.0 and older it shows its own box (also when silent) and gives false.
bool SelectSpoolerPlatform(SetupContext& context);

// Asks the spooler for its port monitors. A failure is reported as 106.
StepResult CheckPortMonitors(SetupContext& context);

}  // namespace setup
