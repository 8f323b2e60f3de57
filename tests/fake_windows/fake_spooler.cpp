#include "tests/fake_windows/fake_spooler.h"

namespace fake {

using platform::Win32Value;

std::uint32_t FakeSpooler::MonitorListBytes() const {
    std::size_t bytes = 0;
    for (const auto& name : monitors) bytes += sizeof(std::uint64_t) + name.size() + 1;
    return static_cast<std::uint32_t>(bytes);
}

Win32Value<platform::MonitorEnumeration> FakeSpooler::EnumMonitors(std::uint32_t bufferBytes) {
    using Result = Win32Value<platform::MonitorEnumeration>;
    journal_.Add("EnumMonitors");
    enumMonitorBufferSizes.push_back(bufferBytes);
    if (auto error = failures_.Check("EnumMonitors")) return Result::Failed(*error);
    platform::MonitorEnumeration listed;
    listed.bytesNeeded = MonitorListBytes();
    if (listed.bytesNeeded > bufferBytes) return Result{listed, platform::kErrorInsufficientBuffer};
    listed.names = monitors;
    return Result::Ok(listed);
}

}  // namespace fake
