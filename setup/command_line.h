// Setup's command line: "/s" silent, "/c" no shortcuts, "-d<folder>" destination.
#pragma once

#include <string>
#include <vector>

#include "setup/install_state.h"

namespace setup {

// Applies each argument (after the program name) to the install state.
void ParseSetupCommandLine(const std::vector<std::string>& arguments, InstallState& state);

}  // namespace setup
