#include "setup/spooler/port_monitor.h"

#include "common/product/product_files.h"
#include "common/product/spooler_names.h"
#include "common/spooler/port_monitors.h"
#include "common/text/text.h"
#include "resources/setup/setup_strings.h"
#include "setup/file_probes.h"

namespace setup {
namespace {

constexpr std::size_t kCopyPathCapacity = 256;  // 255 characters and a NUL
constexpr std::uint32_t kTerminatedExitCode = 0;

// 32-bit Windows: Setup writes the system folder itself.
void CopyMonitorDll(platform::FileSystem& files, const product::PlatformRow& row, const InstallState& state) {
    const std::string dll = row.monitorDll;
    const std::string from = state.sourceFolder + dll;
    const std::string to = state.systemFolder + dll;
    // A path that does not fit is not cut into another one; the copy is skipped.
    if (from.size() >= kCopyPathCapacity || to.size() >= kCopyPathCapacity) return;
    if (files.CopyFile(from, to, false)) (void)ClearReadOnlyAttribute(files, to);
}

// 64-bit Windows: the 64-bit system folder is written by the 64-bit helper. Setup waits
// for it without a time limit and learns nothing of how the copy went.
void RunCopyHelper(platform::Processes& processes, const std::string& sourceFolder) {
    const platform::StartedProcess helper = processes.CreateProcess(
        CopyHelperCommandLine(sourceFolder), platform::ShownAs(platform::WindowShow::Show));
    if (!helper) return;
    if (helper.process->WaitUntilEnded() != platform::kWaitObject0) {
        (void)helper.process->Terminate(kTerminatedExitCode);
    }
}

}  // namespace

StepResult CheckPortMonitors(platform::Spooler& spooler) {
    const platform::Win32Result listed = spooler::ListPortMonitors(spooler);
    if (!listed) return StepResult::Failed(IDS_ENUM_MONITORS_FAILED, listed.error);
    return StepResult::Done();
}

namespace {

bool Lists(const std::vector<std::string>& names, const std::string& name) {
    for (const std::string& listed : names) {
        if (text::EqualsNoCase(listed, name)) return true;
    }
    return false;
}

}  // namespace

PortCheck CheckMonitorAndPort(platform::Spooler& spooler, const std::string& portName) {
    PortCheck check;
    const auto monitors = spooler::PortMonitorNames(spooler);
    if (!monitors) {
        check.error = monitors.error;
        return check;
    }
    check.monitorListed = Lists(monitors.value(), product::kMonitorName);
    const auto ports = spooler::PortNames(spooler);
    if (!ports) {
        check.error = ports.error;
        return check;
    }
    check.portListed = Lists(ports.value(), portName);
    return check;
}

const char* PortCheck::Describe() const {
    if (ok()) return "monitor and port registered";
    if (error != 0) return "the spooler's lists could not be read";
    return monitorListed ? "the port is missing" : "the monitor is not registered";
}

std::string CopyHelperCommandLine(const std::string& sourceFolder) {
    return "\"" + sourceFolder + product::kUninstaller64 + "\" /copy";
}

void DeployPortMonitor(platform::FileSystem& files, platform::Processes& processes, const product::PlatformRow& row,
                       const InstallState& state) {
    if (row.monitorByHelper) {
        RunCopyHelper(processes, state.sourceFolder);
    } else {
        CopyMonitorDll(files, row, state);
    }
}

platform::Win32Result RegisterPortMonitor(platform::Spooler& spooler, const product::PlatformRow& row,
                                          StepFeedback& feedback) {
    // While these run the product key's transient values name this installation's port,
    // which is how the monitor learns which port to add. A monitor already registered
    // by an earlier installation refuses to be added again; that is no failure.
    (void)spooler.AddMonitor({product::kMonitorName, row.environment, row.monitorDll});
    feedback.Step();
    return spooler.AddPort(product::kMonitorName);
}

}  // namespace setup
