// The check both programs make before they touch the spooler: can it list its port
// monitors at all.
#pragma once

#include <string>

#include "platform/spooler.h"
#include "platform/system.h"

namespace spooler {

// Asks the spooler for its port monitors (level 1), first into 4096 bytes and then,
// as often as the spooler asks for more (its list may grow between two calls), into the
// size it wants; a few rounds settle it. Gives the spooler's error when it refuses.
platform::Win32Result ListPortMonitors(platform::Spooler& spooler);

// What the service control manager says of the print spooler service, for the run log
// when the spooler cannot list its monitors: "Spooler service: does not exist",
// "...: disabled", "...: stopped", "...: running", another state by its number, or
// "...: not known" with the error of the query.
std::string DescribeSpoolerService(platform::SystemInfo& system);

}  // namespace spooler
