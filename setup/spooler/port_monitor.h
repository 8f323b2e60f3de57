// The port monitor DLL in the system folder, and the monitor and its port registered
// with the spooler.
#pragma once

#include <string>

#include "common/product/platform_rows.h"
#include "platform/platform.h"
#include "setup/install_state.h"
#include "setup/step_feedback.h"
#include "setup/step_result.h"

namespace setup {

// Asks the spooler for its port monitors. A failure is reported as 106.
StepResult CheckPortMonitors(platform::Spooler& spooler);

// The command that has unInstpm64 copy the 64-bit monitor DLL: the copy beside Setup,
// named by its full path and quoted, so that no other "unInstpm64.exe" along the search
// path can be started in its place.
std::string CopyHelperCommandLine(const std::string& sourceFolder);

// 32-bit Windows: copies the monitor DLL into the system folder. 64-bit Windows: starts
// unInstpm64 /copy and waits for it. Failures are passed over.
void DeployPortMonitor(platform::FileSystem& files, platform::Processes& processes, const product::PlatformRow& row,
                       const InstallState& state);
// Adds the monitor, steps the progress, has the monitor add its port. Failures are
// passed over (a repeated installation finds the monitor already there); the port's
// answer is given back for the run log.
// What the spooler lists after the monitor step: nothing is missing when the product's
// monitor and the install log's port are both there.
struct PortCheck {
    bool monitorListed = false;
    bool portListed = false;
    std::uint32_t error = 0;  // of a list the spooler would not give
    bool ok() const { return monitorListed && portListed; }
    const char* Describe() const;  // for the run log
};

// Asks the spooler whether the monitor and `portName` are registered. A printer on a port
// that does not exist prints nowhere, so a run without them is not a usable installation.
PortCheck CheckMonitorAndPort(platform::Spooler& spooler, const std::string& portName);

platform::Win32Result RegisterPortMonitor(platform::Spooler& spooler, const product::PlatformRow& row,
                                          StepFeedback& feedback);

}  // namespace setup
