// Facts about the running system and process: version, WOW64, locale, folders,
// the command line, system error texts and one system-wide setting.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/result.h"

namespace platform {

// One range of lead bytes of a double-byte code page: its first and last byte.
using LeadByteRange = std::pair<std::uint8_t, std::uint8_t>;

// A moment of the local clock, to the second.
struct LocalTime {
    std::uint16_t year = 0;
    std::uint16_t month = 0;
    std::uint16_t day = 0;
    std::uint16_t hour = 0;
    std::uint16_t minute = 0;
    std::uint16_t second = 0;
};

// IMAGE_FILE_MACHINE_* values: what a process's code is built for, what Windows runs on.
inline constexpr std::uint16_t kMachineUnknown = 0;
inline constexpr std::uint16_t kMachineI386 = 0x014C;
inline constexpr std::uint16_t kMachineAmd64 = 0x8664;
inline constexpr std::uint16_t kMachineArm64 = 0xAA64;

struct ProcessMachines {
    std::uint16_t process = kMachineUnknown;  // kMachineUnknown when not under WOW64
    std::uint16_t native = kMachineUnknown;
};

// What the service control manager says of a service (SERVICE_STATUS.dwCurrentState,
// QUERY_SERVICE_CONFIG.dwStartType).
inline constexpr std::uint32_t kServiceStopped = 1;
inline constexpr std::uint32_t kServiceRunning = 4;
inline constexpr std::uint32_t kServiceDisabled = 4;
inline constexpr std::uint32_t kErrorServiceDoesNotExist = 1060;
inline constexpr std::uint32_t kErrorNoUnicodeTranslation = 1113;

struct ServiceState {
    std::uint32_t currentState = 0;
    std::uint32_t startType = 0;
};

struct OsVersion {
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
};

class SystemInfo {
public:
    virtual ~SystemInfo() = default;

    // GetVersionExA with an OSVERSIONINFOA.
    virtual Win32Value<OsVersion> GetVersionEx() = 0;
    // Whether kernel32 exports IsWow64Process; resolved once when the process starts.
    virtual bool HasIsWow64Process() = 0;
    // IsWow64Process on the current process; value is the output flag.
    virtual Win32Value<bool> IsWow64Process() = 0;
    // IsWow64Process2 on the current process, looked up at run time: Windows 10 1709 and
    // later only, where it is the one call that tells an ARM machine. Fails with
    // ERROR_CALL_NOT_IMPLEMENTED where kernel32 does not export it.
    virtual Win32Value<ProcessMachines> IsWow64Process2() = 0;
    // GetUserDefaultLCID.
    virtual std::uint32_t GetUserDefaultLcid() = 0;
    // GetLocalTime.
    virtual LocalTime GetLocalTime() = 0;
    // GetSystemDirectoryA into `capacity` characters; fails when it does not fit.
    virtual Win32Value<std::string> GetSystemDirectory(std::size_t capacity) = 0;
    // GetWindowsDirectoryA into `capacity` characters; fails when it does not fit.
    virtual Win32Value<std::string> GetWindowsDirectory(std::size_t capacity) = 0;
    // GetCPInfo of the ANSI code page: its lead-byte ranges (none for a single-byte one).
    virtual Win32Value<std::vector<LeadByteRange>> GetAnsiLeadByteRanges() = 0;
    // GetCurrentProcessId.
    virtual std::uint32_t GetCurrentProcessId() = 0;
    // GetModuleFileNameA of the running program into `capacity` characters.
    virtual Win32Value<std::string> GetModuleFileName(std::size_t capacity) = 0;
    // The program's arguments after its name, split as the C runtime splits them.
    virtual std::vector<std::string> GetCommandLineArguments() = 0;
    // FormatMessageA from the system's table in the user's default language;
    // empty when the system has no text for the code.
    virtual std::string FormatSystemMessage(std::uint32_t error) = 0;
    // SystemParametersInfoA(SPI_SETFOREGROUNDLOCKTIMEOUT), written to the user
    // profile and broadcast.
    virtual Win32Result SetForegroundLockTimeout(std::uint32_t milliseconds) = 0;
    // The state and start type of the service `name`, asked read-only of the service
    // control manager (looked up at run time: Windows 98/Me have none and answer
    // ERROR_CALL_NOT_IMPLEMENTED). A missing service fails with 1060.
    virtual Win32Value<ServiceState> QueryServiceState(const std::string& name) = 0;
    // `text` of the ANSI code page in the OEM code page, as the command interpreter reads
    // a batch file (MultiByteToWideChar, then WideCharToMultiByte without best-fit
    // characters). Fails with ERROR_NO_UNICODE_TRANSLATION when a character has no OEM
    // form.
    virtual Win32Value<std::string> AnsiToOem(const std::string& text) = 0;
};

}  // namespace platform
