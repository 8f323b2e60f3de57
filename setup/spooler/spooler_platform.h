// Which spooler platform Setup installs for, and the names every spooler step shares.
#pragma once

#include <string>

#include "setup/step_result.h"

namespace setup {

struct SetupContext;

inline constexpr char kMonitorName[] = "NIMBRAX Writer Monitor x86";  // on every platform
inline constexpr char kDriverName[] = "NIMBRAX Writer";
inline constexpr char kPrintProcessor[] = "WinPrint";
inline constexpr char kDatatype[] = "RAW";

inline constexpr char kEnvironment4x[] = "Windows 4.0";
inline constexpr char kEnvironmentNtX86[] = "Windows NT x86";
inline constexpr char kEnvironmentX64[] = "Windows x64";

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
