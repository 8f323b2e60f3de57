#include "platform/win32/unique_handles.h"
#include "platform/win32/windows_api.h"
#include "platform/win32/win32_platform.h"

namespace platform::win32 {
namespace {

class Win32Process : public Process {
public:
    Win32Process(UniqueHandle process, UniqueHandle thread)
        : process_(std::move(process)), thread_(std::move(thread)) {}

    std::uint32_t WaitUntilEnded() override { return WaitForSingleObject(process_.get(), INFINITE); }

    std::uint32_t WaitFor(std::uint32_t milliseconds) override {
        return WaitForSingleObject(process_.get(), milliseconds);
    }

    Win32Result SetMainThreadIdle() override {
        if (!SetThreadPriority(thread_.get(), THREAD_PRIORITY_IDLE)) return Win32Result::Failed(GetLastError());
        return {};
    }

    Win32Result Resume() override {
        if (ResumeThread(thread_.get()) == static_cast<DWORD>(-1)) return Win32Result::Failed(GetLastError());
        return {};
    }

    Win32Result Terminate(std::uint32_t exitCode) override {
        if (!TerminateProcess(process_.get(), exitCode)) return Win32Result::Failed(GetLastError());
        return {};
    }

    Win32Value<std::uint32_t> GetExitCode() override {
        DWORD code = 0;
        if (!GetExitCodeProcess(process_.get(), &code)) return Win32Value<std::uint32_t>::Failed(GetLastError());
        return Win32Value<std::uint32_t>::Ok(code);
    }

private:
    UniqueHandle process_;
    UniqueHandle thread_;
};

}  // namespace

StartedProcess Win32Processes::CreateProcess(const std::string& commandLine, const ProcessStart& start) {
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(start.show);
    PROCESS_INFORMATION info{};
    std::string mutableCommandLine = commandLine;  // CreateProcessA may write into it
    const DWORD flags = start.suspendedAtIdlePriority ? CREATE_SUSPENDED | IDLE_PRIORITY_CLASS : 0;
    const char* folder = start.currentDirectory.empty() ? nullptr : start.currentDirectory.c_str();
    if (!CreateProcessA(nullptr, mutableCommandLine.data(), nullptr, nullptr, start.inheritHandles ? TRUE : FALSE,
                        flags, nullptr, folder, &startup, &info)) {
        return {nullptr, GetLastError()};
    }
    UniqueHandle process(info.hProcess);
    UniqueHandle thread(info.hThread);
    if (!process) return {nullptr, ERROR_INVALID_HANDLE};
    return {std::make_unique<Win32Process>(std::move(process), std::move(thread)), kErrorSuccess};
}

Win32Result Win32Processes::SetOwnThreadTimeCritical() {
    if (!SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL)) return Win32Result::Failed(GetLastError());
    return {};
}

namespace {

class Win32NamedMutex : public NamedMutex {
public:
    explicit Win32NamedMutex(UniqueHandle handle) : handle_(std::move(handle)) {}

private:
    UniqueHandle handle_;
};

}  // namespace

CreatedMutex Win32Processes::CreateNamedMutex(const std::string& name) {
    UniqueHandle handle(CreateMutexA(nullptr, FALSE, name.c_str()));
    // Read at once: the "already exists" answer comes with a valid handle.
    const DWORD error = GetLastError();
    if (!handle) return {nullptr, false, error == ERROR_SUCCESS ? ERROR_GEN_FAILURE : error};
    return {std::make_unique<Win32NamedMutex>(std::move(handle)), error == ERROR_ALREADY_EXISTS, kErrorSuccess};
}

Win32Result Win32Processes::SetOwnProcessHighPriority() {
    if (!SetPriorityClass(GetCurrentProcess(), HIGH_PRIORITY_CLASS)) return Win32Result::Failed(GetLastError());
    return {};
}

}  // namespace platform::win32
