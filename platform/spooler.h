// The print spooler.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/result.h"

namespace platform {

struct MonitorEnumeration {
    std::uint32_t bytesNeeded = 0;
    std::vector<std::string> names;  // level-1 entries returned
};

class Spooler {
public:
    virtual ~Spooler() = default;
    // EnumMonitorsA, no server, level 1, into a buffer of `bufferBytes` bytes. On
    // ERROR_INSUFFICIENT_BUFFER, value.bytesNeeded tells the size the spooler wants.
    virtual Win32Value<MonitorEnumeration> EnumMonitors(std::uint32_t bufferBytes) = 0;
};

}  // namespace platform
