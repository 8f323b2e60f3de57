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

    Win32Result Terminate(std::uint32_t exitCode) override {
        if (!TerminateProcess(process_.get(), exitCode)) return {GetLastError()};
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

StartedProcess Win32Processes::CreateProcess(const std::string& commandLine, WindowShow show) {
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(show);
    PROCESS_INFORMATION info{};
    std::string mutableCommandLine = commandLine;  // CreateProcessA may write into it
    if (!CreateProcessA(nullptr, mutableCommandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &startup, &info)) {
        return {nullptr, GetLastError()};
    }
    UniqueHandle process(info.hProcess);
    UniqueHandle thread(info.hThread);
    if (!process) return {nullptr, ERROR_INVALID_HANDLE};
    return {std::make_unique<Win32Process>(std::move(process), std::move(thread)), kErrorSuccess};
}

}  // namespace platform::win32
