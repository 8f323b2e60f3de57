// Starting other programs and waiting for them.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/result.h"

namespace platform {

inline constexpr std::uint32_t kWaitObject0 = 0;
inline constexpr std::uint32_t kWaitFailed = 0xFFFFFFFFu;

class Process {
public:
    virtual ~Process() = default;  // closes the process and thread handles
    // WaitForSingleObject(INFINITE): kWaitObject0 when the process ended.
    virtual std::uint32_t WaitUntilEnded() = 0;
    virtual Win32Result Terminate(std::uint32_t exitCode) = 0;
    virtual Win32Value<std::uint32_t> GetExitCode() = 0;
};

struct [[nodiscard]] StartedProcess {
    std::unique_ptr<Process> process;
    std::uint32_t error = kErrorSuccess;
    explicit operator bool() const { return process != nullptr; }
};

enum class WindowShow { Hide = 0, Normal = 1, Show = 5 };

class Processes {
public:
    virtual ~Processes() = default;
    // CreateProcessA with no application name, inheriting handles, the parent's
    // environment and current directory, and STARTF_USESHOWWINDOW with `show`.
    virtual StartedProcess CreateProcess(const std::string& commandLine, WindowShow show) = 0;
};

}  // namespace platform
