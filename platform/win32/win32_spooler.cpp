#include "platform/win32/windows_api.h"
#include "platform/win32/win32_platform.h"

namespace platform::win32 {

Win32Value<MonitorEnumeration> Win32Spooler::EnumMonitors(std::uint32_t bufferBytes) {
    std::vector<BYTE> buffer(bufferBytes);
    DWORD needed = 0;
    DWORD returned = 0;
    MonitorEnumeration listed;
    if (!EnumMonitorsA(nullptr, 1, buffer.empty() ? nullptr : buffer.data(), bufferBytes, &needed, &returned)) {
        const DWORD error = GetLastError();
        listed.bytesNeeded = needed;
        return Win32Value<MonitorEnumeration>{listed, error};
    }
    listed.bytesNeeded = needed;
    const auto* entries = reinterpret_cast<const MONITOR_INFO_1A*>(buffer.data());
    for (DWORD i = 0; i < returned; ++i) {
        listed.names.emplace_back(entries[i].pName != nullptr ? entries[i].pName : "");
    }
    return Win32Value<MonitorEnumeration>::Ok(std::move(listed));
}

}  // namespace platform::win32
