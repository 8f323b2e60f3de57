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
};

}  // namespace platform
