#include "setup/protected_print.h"

#include <array>

namespace setup {
namespace {

constexpr char kPolicyKey[] = "SOFTWARE\\Policies\\Microsoft\\Windows NT\\Printers\\WPP";
// The group policy's value, and the one the Settings switch is reported to write beside it.
constexpr std::array<const char*, 2> kModeValues = {"WindowsProtectedPrintGroupPolicyState",
                                                    "WindowsProtectedPrintMode"};
constexpr std::size_t kDwordBytes = 4;

bool IsDwordOne(const platform::RegistryValue& value) {
    if (value.type != platform::kRegDword || value.data.size() != kDwordBytes) return false;
    return value.data[0] == 1 && value.data[1] == 0 && value.data[2] == 0 && value.data[3] == 0;
}

}  // namespace

bool ProtectedPrintModeIsOn(platform::Registry& registry, const product::PlatformRow& row) {
    // A policy key that cannot be read is taken for the mode being off, as on every
    // Windows older than 11 24H2, which has no such mode.
    const auto key = registry.OpenKey(platform::RegistryRoot::LocalMachine, kPolicyKey,
                                      platform::RegistryAccess::Read, row.machineView);
    if (!key) return false;
    for (const char* name : kModeValues) {
        const auto value = key.key->QueryValue(name, kDwordBytes);
        if (value && IsDwordOne(value.value())) return true;
    }
    return false;
}

std::string ProtectedPrintRefusalText(const std::string& productName) {
    return productName +
           " cannot be installed while Windows protected print mode is on: the mode blocks printers "
           "with their own drivers and port monitors. Switch it off (Settings > Bluetooth & devices > "
           "Printers & scanners > Windows protected print mode, or the group policy \"Configure Windows "
           "protected print\" set to Disabled), then run Setup again.";
}

}  // namespace setup
