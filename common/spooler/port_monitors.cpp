#include "common/spooler/port_monitors.h"

namespace spooler {
namespace {

constexpr std::uint32_t kInitialBufferBytes = 4096;
constexpr int kRounds = 4;

}  // namespace

platform::Win32Result ListPortMonitors(platform::Spooler& spooler) {
    std::uint32_t bufferBytes = kInitialBufferBytes;
    for (int round = 0; round < kRounds; ++round) {
        const auto listed = spooler.EnumMonitors(bufferBytes);
        if (listed) return {};
        if (!listed.WantsLargerBuffer() || listed.bytesNeeded() <= bufferBytes) return {listed.error};
        bufferBytes = listed.bytesNeeded();
    }
    return {platform::kErrorInsufficientBuffer};
}

std::string DescribeSpoolerService(platform::SystemInfo& system) {
    const std::string prefix = "Spooler service: ";
    const auto state = system.QueryServiceState("Spooler");
    if (!state) {
        if (state.error == platform::kErrorServiceDoesNotExist) return prefix + "does not exist";
        return prefix + "not known, error " + std::to_string(state.error);
    }
    if (state.value().startType == platform::kServiceDisabled) return prefix + "disabled";
    if (state.value().currentState == platform::kServiceStopped) return prefix + "stopped";
    if (state.value().currentState == platform::kServiceRunning) return prefix + "running";
    return prefix + "state " + std::to_string(state.value().currentState);
}

}  // namespace spooler
