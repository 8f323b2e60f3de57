#include "setup/spooler/port_monitor.h"

#include "common/product/product_files.h"
#include "setup/install_sequence.h"
#include "setup/setup_context.h"
#include "setup/ui/system_probes.h"

namespace setup {
namespace {

constexpr std::size_t kCopyPathCapacity = 256;  // 255 characters and a NUL
constexpr std::uint32_t kTerminatedExitCode = 0;

// 32-bit Windows: Setup writes the system folder itself.
void CopyMonitorDll(SetupContext& context) {
    const std::string& dll = context.spooler.monitorDll;
    const std::string from = context.state.sourceFolder + dll;
    const std::string to = context.state.systemFolder + dll;
    // A path that does not fit is not cut into another one; the copy is skipped.
    if (from.size() >= kCopyPathCapacity || to.size() >= kCopyPathCapacity) return;
    if (context.os.files.CopyFile(from, to, false)) (void)ClearReadOnlyAttribute(context.os.files, to);
}

// 64-bit Windows: the 64-bit system folder is written by the 64-bit helper. Setup waits
// for it without a time limit and learns nothing of how the copy went.
void RunCopyHelper(SetupContext& context) {
    const platform::StartedProcess helper = context.os.processes.CreateProcess(
        CopyHelperCommandLine(context.state.sourceFolder), platform::ShownAs(platform::WindowShow::Show));
    if (!helper) return;
    if (helper.process->WaitUntilEnded() != platform::kWaitObject0) {
        (void)helper.process->Terminate(kTerminatedExitCode);
    }
}

}  // namespace

std::string CopyHelperCommandLine(const std::string& sourceFolder) {
    return "\"" + sourceFolder + product::kUninstaller64 + "\" /copy";
}

void DeployPortMonitor(SetupContext& context) {
    if (context.spooler.isWow64) {
        RunCopyHelper(context);
    } else {
        CopyMonitorDll(context);
    }
}

platform::Win32Result RegisterPortMonitor(SetupContext& context) {
    const SpoolerPlatform& spooler = context.spooler;
    // While these run the product key's transient values name this installation's port,
    // which is how the monitor learns which port to add. A monitor already registered
    // by an earlier installation refuses to be added again; that is no failure.
    (void)context.os.spooler.AddMonitor({spooler.monitorName, spooler.environment, spooler.monitorDll});
    StepProgress(context);
    return context.os.spooler.AddPort(spooler.monitorName);
}

}  // namespace setup
