#include "setup/spooler/spooler_platform.h"

#include "common/spooler/port_monitors.h"
#include "resources/setup/setup_strings.h"
#include "setup/setup_context.h"
#include "setup/ui/error_report.h"
#include "setup/ui/system_probes.h"

namespace setup {
namespace {

bool IsSupportedVersion(const platform::OsVersion& v) {
    return v.major > 4 || (v.major == 4 && v.minor >= 10);
}

// IsWow64Process exists from Windows XP (5.1) on; Windows 2000 and 98/Me are not asked.
bool MayProbeWow64(const platform::OsVersion& v) {
    return v.major >= 6 || (v.major == 5 && v.minor >= 1);
}

void ShowUnsupportedWindows(SetupContext& context) {
    (void)context.os.ui.MessageBox(context.state.productName + " does not support Windows95/NT.",
                                   SetupCaption(context.state), platform::MessageBoxButtons::Ok);
}

void FillPlatformRow(SpoolerPlatform& spooler) {
    spooler.environment = spooler.isNtFamily ? product::kEnvironmentNtX86 : product::kEnvironment4x;
    spooler.monitorDll = spooler.isNtFamily ? product::kMonitorDllNtX86 : product::kMonitorDll4x;
    if (spooler.isWow64) {
        spooler.environment = product::kEnvironmentX64;
        spooler.monitorDll = product::kMonitorDllX64;
    }
}

}  // namespace

bool SelectSpoolerPlatform(SetupContext& context) {
    InstallState& state = context.state;
    SpoolerPlatform& spooler = context.spooler;
    spooler.monitorName = product::kMonitorName;

    // A system that cannot tell its version cannot be told apart from the ones refused.
    const auto queried = context.os.system.GetVersionEx();
    if (!queried || !IsSupportedVersion(queried.value())) {
        ShowUnsupportedWindows(context);
        return false;
    }
    const platform::OsVersion& version = queried.value();
    state.osMajor = version.major;
    state.osMinor = version.minor;

    spooler.isNtFamily = version.major >= 5;
    if (spooler.isNtFamily) {
        const bool probed = MayProbeWow64(version) && IsRunningUnderWow64(context.os.system) != 0;
        spooler.isWow64 = context.programIs64Bit || probed;
    }
    FillPlatformRow(spooler);

    state.isNtFamily = spooler.isNtFamily;
    state.isWow64 = spooler.isWow64;
    return true;
}

StepResult CheckPortMonitors(SetupContext& context) {
    const platform::Win32Result listed = spooler::ListPortMonitors(context.os.spooler);
    if (!listed) return StepResult::Failed(IDS_ENUM_MONITORS_FAILED, listed.error);
    return StepResult::Done();
}

}  // namespace setup
