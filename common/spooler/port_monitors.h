// The check both programs make before they touch the spooler: can it list its port
// monitors at all.
#pragma once

#include <string>
#include <vector>

#include "platform/spooler.h"

namespace spooler {

// Asks the spooler for its port monitors (level 1), first into 4096 bytes and then,
// as often as the spooler asks for more (its list may grow between two calls), into the
// size it wants; a few rounds settle it. Gives the spooler's error when it refuses.
platform::Win32Result ListPortMonitors(platform::Spooler& spooler);

// The names of the spooler's port monitors, or of its ports, asked for in the same way.
platform::Win32Value<std::vector<std::string>> PortMonitorNames(platform::Spooler& spooler);
platform::Win32Value<std::vector<std::string>> PortNames(platform::Spooler& spooler);

}  // namespace spooler
