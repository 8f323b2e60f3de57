// The machine-wide lock that lets one installation or removal of the product run at a
// time. Named after the port monitor, which every edition shares, so that two editions
// exclude each other too.
#pragma once

#include <string>

#include "common/product/spooler_names.h"

namespace product {

// In the "Global\" namespace, seen from every session.
inline std::string RunLockName() { return std::string("Global\\") + kMonitorName + " installation"; }
// For systems without session namespaces (Windows 98/Me), which refuse the prefix.
inline std::string LocalRunLockName() { return std::string(kMonitorName) + " installation"; }

}  // namespace product
