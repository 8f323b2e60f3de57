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
        if (!listed.WantsLargerBuffer() || listed.bytesNeeded() <= bufferBytes) return platform::Win32Result::Failed(listed.error);
        bufferBytes = listed.bytesNeeded();
    }
    return platform::Win32Result::Failed(platform::kErrorInsufficientBuffer);
}

}  // namespace spooler
