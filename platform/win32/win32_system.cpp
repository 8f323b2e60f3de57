#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/win32/system_function.h"
#include "platform/win32/unique_handles.h"
#include "platform/win32/windows_api.h"

#include <winsvc.h>

#include "platform/win32/win32_platform.h"

namespace platform::win32 {
namespace {

using IsWow64ProcessFunction = BOOL(WINAPI*)(HANDLE, PBOOL);

// Looked up once before the program starts its work; older systems do not export it.
const IsWow64ProcessFunction gIsWow64Process =
    FindSystemFunction<IsWow64ProcessFunction>("kernel32", "IsWow64Process");

using IsWow64Process2Function = BOOL(WINAPI*)(HANDLE, USHORT*, USHORT*);
const IsWow64Process2Function gIsWow64Process2 =
    FindSystemFunction<IsWow64Process2Function>("kernel32", "IsWow64Process2");

// A system folder asked for with one of the calls that fill a buffer of `capacity`
// characters; a folder that does not fit is a failure, not a cut path.
Win32Value<std::string> FolderInto(UINT(WINAPI* get)(LPSTR, UINT), std::size_t capacity) {
    std::string buffer(capacity, '\0');
    const UINT length = get(buffer.data(), static_cast<UINT>(capacity));
    if (length == 0) return Win32Value<std::string>::Failed(GetLastError());
    if (length >= capacity) return Win32Value<std::string>::Failed(kErrorInsufficientBuffer);
    buffer.resize(length);
    return Win32Value<std::string>::Ok(buffer);
}

}  // namespace

#if defined(_MSC_VER)
#pragma warning(push)
#pragma warning(disable : 4996)  // GetVersionExA is deprecated but is the call the installer relies on
#endif
Win32Value<OsVersion> Win32SystemInfo::GetVersionEx() {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof(info);
    if (!GetVersionExA(&info)) return Win32Value<OsVersion>::Failed(GetLastError());
    return Win32Value<OsVersion>::Ok(OsVersion{info.dwMajorVersion, info.dwMinorVersion});
}
#if defined(_MSC_VER)
#pragma warning(pop)
#endif

bool Win32SystemInfo::HasIsWow64Process() { return gIsWow64Process != nullptr; }

Win32Value<bool> Win32SystemInfo::IsWow64Process() {
    BOOL isWow64 = FALSE;
    if (gIsWow64Process == nullptr || !gIsWow64Process(GetCurrentProcess(), &isWow64)) {
        return Win32Value<bool>::Failed(gIsWow64Process == nullptr ? ERROR_CALL_NOT_IMPLEMENTED : GetLastError());
    }
    return Win32Value<bool>::Ok(isWow64 != FALSE);
}

Win32Value<ProcessMachines> Win32SystemInfo::IsWow64Process2() {
    if (gIsWow64Process2 == nullptr) return Win32Value<ProcessMachines>::Failed(ERROR_CALL_NOT_IMPLEMENTED);
    USHORT process = 0;
    USHORT native = 0;
    if (!gIsWow64Process2(GetCurrentProcess(), &process, &native)) {
        return Win32Value<ProcessMachines>::Failed(GetLastError());
    }
    return Win32Value<ProcessMachines>::Ok(ProcessMachines{process, native});
}

std::uint32_t Win32SystemInfo::GetUserDefaultLcid() { return GetUserDefaultLCID(); }

LocalTime Win32SystemInfo::GetLocalTime() {
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    return LocalTime{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

Win32Value<std::string> Win32SystemInfo::GetSystemDirectory(std::size_t capacity) {
    return FolderInto(GetSystemDirectoryA, capacity);
}

Win32Value<std::string> Win32SystemInfo::GetWindowsDirectory(std::size_t capacity) {
    return FolderInto(GetWindowsDirectoryA, capacity);
}

Win32Value<std::vector<LeadByteRange>> Win32SystemInfo::GetAnsiLeadByteRanges() {
    CPINFO info{};
    if (!GetCPInfo(CP_ACP, &info)) return Win32Value<std::vector<LeadByteRange>>::Failed(GetLastError());
    // Pairs of first and last byte, closed by a pair of zeros.
    std::vector<LeadByteRange> ranges;
    for (std::size_t i = 0; i + 1 < MAX_LEADBYTES && info.LeadByte[i] != 0; i += 2) {
        ranges.push_back({info.LeadByte[i], info.LeadByte[i + 1]});
    }
    return Win32Value<std::vector<LeadByteRange>>::Ok(std::move(ranges));
}

std::uint32_t Win32SystemInfo::GetCurrentProcessId() { return ::GetCurrentProcessId(); }

Win32Value<std::string> Win32SystemInfo::AnsiToOem(const std::string& text) {
    using Answer = Win32Value<std::string>;
    if (text.empty()) return Answer::Ok({});
    const int wideLength = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (wideLength == 0) return Answer::Failed(GetLastError());
    std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
    if (MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), wideLength) == 0) {
        return Answer::Failed(GetLastError());
    }
    BOOL usedDefault = FALSE;
    const int oemLength =
        WideCharToMultiByte(CP_OEMCP, WC_NO_BEST_FIT_CHARS, wide.data(), wideLength, nullptr, 0, nullptr, &usedDefault);
    if (oemLength == 0) return Answer::Failed(GetLastError());
    std::string oem(static_cast<std::size_t>(oemLength), '\0');
    if (WideCharToMultiByte(CP_OEMCP, WC_NO_BEST_FIT_CHARS, wide.data(), wideLength, oem.data(), oemLength, nullptr,
                            &usedDefault) == 0) {
        return Answer::Failed(GetLastError());
    }
    if (usedDefault) return Answer::Failed(kErrorNoUnicodeTranslation);
    return Answer::Ok(oem);
}

Win32Value<std::string> Win32SystemInfo::GetModuleFileName(std::size_t capacity) {
    std::string buffer(capacity, '\0');
    const DWORD length = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(capacity));
    if (length == 0) return Win32Value<std::string>::Failed(GetLastError());
    if (length >= capacity) return Win32Value<std::string>::Failed(kErrorInsufficientBuffer);
    buffer.resize(length);
    return Win32Value<std::string>::Ok(buffer);
}

std::vector<std::string> Win32SystemInfo::GetCommandLineArguments() {
    std::vector<std::string> arguments;
    for (int i = 1; i < __argc; ++i) arguments.emplace_back(__argv[i]);
    return arguments;
}

namespace {

struct ServiceHandleTraits {
    using Type = SC_HANDLE;
    static SC_HANDLE Invalid() { return nullptr; }
    static void Close(SC_HANDLE handle);
};

// The service control manager's calls, looked up at run time: Windows 98/Me have none.
struct ServiceManagerCalls {
    using OpenManager = SC_HANDLE(WINAPI*)(LPCSTR, LPCSTR, DWORD);
    using OpenService = SC_HANDLE(WINAPI*)(SC_HANDLE, LPCSTR, DWORD);
    using QueryStatus = BOOL(WINAPI*)(SC_HANDLE, LPSERVICE_STATUS);
    using QueryConfig = BOOL(WINAPI*)(SC_HANDLE, LPQUERY_SERVICE_CONFIGA, DWORD, LPDWORD);
    using Close = BOOL(WINAPI*)(SC_HANDLE);
    OpenManager openManager = FindSystemFunction<OpenManager>("advapi32", "OpenSCManagerA");
    OpenService openService = FindSystemFunction<OpenService>("advapi32", "OpenServiceA");
    QueryStatus queryStatus = FindSystemFunction<QueryStatus>("advapi32", "QueryServiceStatus");
    QueryConfig queryConfig = FindSystemFunction<QueryConfig>("advapi32", "QueryServiceConfigA");
    Close close = FindSystemFunction<Close>("advapi32", "CloseServiceHandle");
    bool Complete() const {
        return openManager != nullptr && openService != nullptr && queryStatus != nullptr && queryConfig != nullptr &&
               close != nullptr;
    }
};

const ServiceManagerCalls& ServiceCalls() {
    static const ServiceManagerCalls calls;
    return calls;
}

void ServiceHandleTraits::Close(SC_HANDLE handle) { ServiceCalls().close(handle); }

using UniqueServiceHandle = UniqueResource<ServiceHandleTraits>;

}  // namespace

Win32Value<ServiceState> Win32SystemInfo::QueryServiceState(const std::string& name) {
    using Answer = Win32Value<ServiceState>;
    const ServiceManagerCalls& calls = ServiceCalls();
    if (!calls.Complete()) return Answer::Failed(ERROR_CALL_NOT_IMPLEMENTED);
    const UniqueServiceHandle manager(calls.openManager(nullptr, nullptr, SC_MANAGER_CONNECT));
    if (!manager) return Answer::Failed(GetLastError());
    const UniqueServiceHandle service(
        calls.openService(manager.get(), name.c_str(), SERVICE_QUERY_STATUS | SERVICE_QUERY_CONFIG));
    if (!service) return Answer::Failed(GetLastError());
    SERVICE_STATUS status{};
    if (!calls.queryStatus(service.get(), &status)) return Answer::Failed(GetLastError());
    // The configuration's strings follow the record; 8 KiB is the documented maximum.
    std::vector<std::uint8_t> buffer(8 * 1024);
    DWORD needed = 0;
    auto* config = reinterpret_cast<LPQUERY_SERVICE_CONFIGA>(buffer.data());
    if (!calls.queryConfig(service.get(), config, static_cast<DWORD>(buffer.size()), &needed)) {
        return Answer::Failed(GetLastError());
    }
    return Answer::Ok(ServiceState{status.dwCurrentState, config->dwStartType});
}

std::string Win32SystemInfo::FormatSystemMessage(std::uint32_t error) {
    char* text = nullptr;
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER, nullptr,
                                        error, 0x400, reinterpret_cast<LPSTR>(&text), 0, nullptr);
    const UniqueLocalMemory owned(text);
    if (length == 0 || text == nullptr) return {};
    return std::string(text, length);
}

Win32Result Win32SystemInfo::SetForegroundLockTimeout(std::uint32_t milliseconds) {
    if (!SystemParametersInfoA(SPI_SETFOREGROUNDLOCKTIMEOUT, 0,
                               reinterpret_cast<PVOID>(static_cast<UINT_PTR>(milliseconds)),
                               SPIF_UPDATEINIFILE | SPIF_SENDCHANGE)) {
        return Win32Result::Failed(GetLastError());
    }
    return {};
}

}  // namespace platform::win32
