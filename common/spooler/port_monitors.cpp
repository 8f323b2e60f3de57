#include "common/spooler/port_monitors.h"

namespace spooler {
namespace {

constexpr std::uint32_t kInitialBufferBytes = 4096;
constexpr int kRounds = 4;

using Names = platform::Win32Value<std::vector<std::string>>;
using Listing = platform::SizedValue<std::vector<std::string>> (platform::Spooler::*)(std::uint32_t);

Names ListNames(platform::Spooler& spooler, Listing list) {
    std::uint32_t bufferBytes = kInitialBufferBytes;
    for (int round = 0; round < kRounds; ++round) {
        auto listed = (spooler.*list)(bufferBytes);
        if (listed) return Names::Ok(std::move(listed).value());
        if (!listed.WantsLargerBuffer() || listed.bytesNeeded() <= bufferBytes) return Names::Failed(listed.error);
        bufferBytes = listed.bytesNeeded();
    }
    return Names::Failed(platform::kErrorInsufficientBuffer);
}

}  // namespace

platform::Win32Result ListPortMonitors(platform::Spooler& spooler) {
    const Names names = PortMonitorNames(spooler);
    return names ? platform::Win32Result::Ok() : platform::Win32Result::Failed(names.error);
}

Names PortMonitorNames(platform::Spooler& spooler) { return ListNames(spooler, &platform::Spooler::EnumMonitors); }

Names PortNames(platform::Spooler& spooler) { return ListNames(spooler, &platform::Spooler::EnumPorts); }

}  // namespace spooler
