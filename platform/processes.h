// Starting other programs and waiting for them.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/result.h"

namespace platform {

inline constexpr std::uint32_t kWaitObject0 = 0;
inline constexpr std::uint32_t kWaitTimeout = 258;
inline constexpr std::uint32_t kWaitFailed = 0xFFFFFFFFu;

class Process {
public:
    virtual ~Process() = default;  // closes the process and thread handles
    // WaitForSingleObject(INFINITE): kWaitObject0 when the process ended.
    virtual std::uint32_t WaitUntilEnded() = 0;
    // WaitForSingleObject for at most `milliseconds`: kWaitObject0 when the process
    // ended, kWaitTimeout when it still runs.
    virtual std::uint32_t WaitFor(std::uint32_t milliseconds) = 0;
    virtual Win32Result Terminate(std::uint32_t exitCode) = 0;
    virtual Win32Value<std::uint32_t> GetExitCode() = 0;
    // SetThreadPriority(THREAD_PRIORITY_IDLE) on the process's main thread.
    virtual Win32Result SetMainThreadIdle() = 0;
    // ResumeThread on the main thread of a process started suspended.
    virtual Win32Result Resume() = 0;
};

struct [[nodiscard]] StartedProcess {
    std::unique_ptr<Process> process;
    std::uint32_t error = kErrorSuccess;
    explicit operator bool() const { return process != nullptr; }
};

enum class WindowShow { Hide = 0, Normal = 1, Show = 5 };

// How CreateProcessA starts a program besides its command line.
struct ProcessStart {
    WindowShow show = WindowShow::Normal;  // STARTF_USESHOWWINDOW with this
    bool inheritHandles = true;
    // CREATE_SUSPENDED | IDLE_PRIORITY_CLASS: it runs only once resumed, at the lowest
    // priority.
    bool suspendedAtIdlePriority = false;
    std::string currentDirectory;  // empty: the parent's
};

// An ordinary start of a program shown as `show`.
inline ProcessStart ShownAs(WindowShow show) {
    ProcessStart start;
    start.show = show;
    return start;
}

// A named mutex, held for as long as the object lives.
class NamedMutex {
public:
    virtual ~NamedMutex() = default;  // closes the handle
};

struct [[nodiscard]] CreatedMutex {
    std::unique_ptr<NamedMutex> mutex;  // null when the call failed
    bool alreadyExisted = false;        // another process has one of this name open
    std::uint32_t error = kErrorSuccess;
    explicit operator bool() const { return mutex != nullptr; }
};

class Processes {
public:
    virtual ~Processes() = default;
    // CreateProcessA with no application name and the parent's environment.
    virtual StartedProcess CreateProcess(const std::string& commandLine, const ProcessStart& start) = 0;
    // SetThreadPriority(THREAD_PRIORITY_TIME_CRITICAL) on the calling thread.
    virtual Win32Result SetOwnThreadTimeCritical() = 0;
    // SetPriorityClass(HIGH_PRIORITY_CLASS) on the running process.
    virtual Win32Result SetOwnProcessHighPriority() = 0;
    // CreateMutexA without an owner, named `name`.
    virtual CreatedMutex CreateNamedMutex(const std::string& name) = 0;
};

}  // namespace platform
