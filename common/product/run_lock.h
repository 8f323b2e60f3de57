// The machine-wide lock that lets one installation or removal of the product run at a
// time: Setup and the uninstaller's uninstall mode hold it for their whole run. Named
// from the port monitor, which every edition of the product shares, so that two
// editions also wait for each other; "Global\" puts it in the namespace every session
// sees.
#pragma once

#include <string>

#include "common/product/spooler_names.h"

namespace product {

inline std::string RunLockName() { return std::string("Global\\") + kMonitorName + " installation"; }

// The status Windows Installer gives a run that finds another one in progress, and that
// deployment tools retry on.
inline constexpr int kExitAnotherRunInProgress = 1618;

}  // namespace product
