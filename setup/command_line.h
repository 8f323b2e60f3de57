// Setup's command line: "/s" silent, "/c" no shortcuts, "-d<folder>" destination.
#pragma once

#include <string>
#include <vector>

#include "common/text/ansi_path.h"
#include "setup/install_state.h"

namespace setup {

// Applies each argument (after the program name) to the install state. The lead bytes
// of the ANSI code page tell a trailing backslash from the trail byte of a double-byte
// character that ends the destination.
void ParseSetupCommandLine(const std::vector<std::string>& arguments, const text::LeadBytes& leadBytes,
                           InstallState& state);

}  // namespace setup
