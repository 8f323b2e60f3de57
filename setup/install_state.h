// The installer's one record for the run. The install sequence fills it in from each
// step's result; the steps read what they are handed of it and keep no copy.
#pragma once

#include <cstdint>
#include <string>

#include "common/product/platform_rows.h"

namespace setup {

// Fixed fields the names are copied into: 64 bytes for printer and port, 264 for the
// product name, each including its terminating NUL.
inline constexpr std::size_t kPrinterNameCapacity = 64;
inline constexpr std::size_t kPortNameCapacity = 64;
inline constexpr std::size_t kProductNameCapacity = 264;

struct InstallState {
    bool silent = false;
    bool createShortcuts = true;
    bool destinationGiven = false;
    std::string runLogPath;  // "/log=PATH"; empty: no run log

    std::string sourceFolder;   // medium folder, ends in a backslash
    std::string settingsPath;   // sourceFolder + "Setup.Ini"

    std::string printerName;
    std::string portName;
    std::string paperSizeName;
    std::string productName;
    std::string destinationSubfolder;  // below Program Files, from the install log
    std::string destinationFolder;     // no trailing backslash
    std::string programGroup;
    bool programmaticAccess = false;
    bool extensionComponents = false;
    std::string captionSuffix;  // " -" in a programmatic-access build

    bool licensePresent = false;
    std::string readmeName;

    std::uint32_t osMajor = 0;
    std::uint32_t osMinor = 0;
    const product::PlatformRow* platformRow = nullptr;  // chosen before anything is written

    std::string systemFolder;  // ends in a backslash
    std::string uninstallerPath;
    bool driverInstalled = false;
    bool ghostscriptDeployed = false;
};

// productName + captionSuffix + " Setup": the caption of the installer's own boxes.
inline std::string SetupCaption(const InstallState& state) {
    return state.productName + state.captionSuffix + " Setup";
}

}  // namespace setup
