#include "setup/platform_selection.h"

namespace setup {
namespace {

using product::PlatformId;

bool IsSupportedVersion(const platform::OsVersion& v) {
    return v.major > 4 || (v.major == 4 && v.minor >= 10);
}

// IsWow64Process exists from Windows XP (5.1) on; Windows 2000 and 98/Me are not asked.
bool MayProbeWow64(const platform::OsVersion& v) {
    return v.major >= 6 || (v.major == 5 && v.minor >= 1);
}

// The NT row for the machine. Windows 10 1709 and later say what the machine is; a
// 32-bit program on an ARM machine is also told it runs under WOW64, so before them
// only the x86/x64 question can be asked.
PlatformId NtRowFor(platform::SystemInfo& system, const platform::OsVersion& version, bool programIs64Bit) {
    if (!MayProbeWow64(version)) return PlatformId::WindowsNtX86;
    if (const auto machines = system.IsWow64Process2()) {
        if (machines.value().native == platform::kMachineArm64) return PlatformId::WindowsOnArm;
        const bool underWow64 = machines.value().process != platform::kMachineUnknown;
        return programIs64Bit || underWow64 ? PlatformId::WindowsX64 : PlatformId::WindowsNtX86;
    }
    const bool probed = IsRunningUnderWow64(system) != 0;
    // A 64-bit Setup runs on 64-bit Windows by definition and installs for it.
    return programIs64Bit || probed ? PlatformId::WindowsX64 : PlatformId::WindowsNtX86;
}

}  // namespace

int IsRunningUnderWow64(platform::SystemInfo& system) {
    if (!system.HasIsWow64Process()) return 0;
    // A failing call leaves the answer at "no", as the flag starts out cleared.
    const auto answer = system.IsWow64Process();
    return answer && answer.value() ? 1 : 0;
}

SelectedPlatform SelectPlatformRow(platform::SystemInfo& system, bool programIs64Bit) {
    // A system that cannot tell its version cannot be told apart from the ones refused.
    const auto queried = system.GetVersionEx();
    if (!queried || !IsSupportedVersion(queried.value())) return {};
    const platform::OsVersion& version = queried.value();
    const PlatformId id = version.major >= 5 ? NtRowFor(system, version, programIs64Bit) : PlatformId::Windows4x;
    return {&product::Row(id), version};
}

std::string RefusalText(const product::PlatformRow* row, const std::string& productName) {
    if (row == nullptr) return productName + " does not support Windows95/NT.";
    return productName + " does not support " + row->name + ".";
}

}  // namespace setup
