// The port monitor DLL in the system folder, and the monitor and its port registered
// with the spooler.
#pragma once

#include <string>

#include "platform/result.h"

namespace setup {

struct SetupContext;

// The command that has unInstpm64 copy the 64-bit monitor DLL: the copy beside Setup,
// named by its full path and quoted, so that no other "unInstpm64.exe" along the search
// path can be started in its place.
std::string CopyHelperCommandLine(const std::string& sourceFolder);

// 32-bit Windows: copies the monitor DLL into the system folder. 64-bit Windows: starts
// unInstpm64 /copy and waits for it. Failures are passed over.
void DeployPortMonitor(SetupContext& context);
// Adds the monitor, steps the progress, has the monitor add its port. Failures are
// passed over (a repeated installation finds the monitor already there); the port's
// answer is given back for the run log.
platform::Win32Result RegisterPortMonitor(SetupContext& context);

}  // namespace setup
