// What the service control manager says of the print spooler, for the run log of a run
// whose spooler did not answer.
#pragma once

#include <string>

#include "platform/platform.h"

namespace spooler {

// "running", "stopped", "stopped, disabled", "not installed", or "unknown, error <n>";
// any other state by its number ("state 3").
std::string DescribeSpoolerService(platform::SystemInfo& system);

}  // namespace spooler
