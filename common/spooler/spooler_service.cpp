#include "common/spooler/spooler_service.h"

namespace spooler {

std::string DescribeSpoolerService(platform::SystemInfo& system) {
    const auto state = system.QueryServiceState("Spooler");
    if (!state) {
        if (state.error == platform::kErrorServiceDoesNotExist) return "not installed";
        return "unknown, error " + std::to_string(state.error);
    }
    const platform::ServiceState& service = state.value();
    std::string text;
    switch (service.currentState) {
        case platform::kServiceRunning: text = "running"; break;
        case platform::kServiceStopped: text = "stopped"; break;
        default: text = "state " + std::to_string(service.currentState); break;
    }
    if (service.startType == platform::kServiceDisabled) text += ", disabled";
    return text;
}

}  // namespace spooler
