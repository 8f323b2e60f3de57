// The real Windows behind the platform interfaces, with the ANSI (...A) calls.
#pragma once

#include "platform/platform.h"

namespace platform::win32 {

class Win32FileSystem : public FileSystem {
public:
    Win32Value<std::uint32_t> GetFileAttributes(const std::string& path) override;
    Win32Result SetFileAttributes(const std::string& path, std::uint32_t attributes) override;
    Win32Value<std::string> GetCurrentDirectory() override;
    Win32Value<std::string> GetLongPathName(const std::string& path) override;
    Win32Value<std::string> SearchPath(const std::string& searchPath, const std::string& fileName,
                                       std::size_t capacity) override;
    Win32Result CreateDirectory(const std::string& path) override;
    Win32Result CopyFile(const std::string& from, const std::string& to, bool failIfExists) override;
    Win32Result DeleteFile(const std::string& path) override;
    Win32Result RemoveDirectory(const std::string& path) override;
    Win32Result MoveFileAtRestart(const std::string& path, const std::optional<std::string>& newName) override;
    Win32Result WriteWholeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) override;
    Win32Result WriteNewFile(const std::string& path, const std::vector<std::uint8_t>& bytes) override;
    OpenedFile OpenFileForUpdate(const std::string& path) override;
    Win32Value<std::string> GetTempPath(std::size_t capacity) override;
    Win32Value<std::string> GetShortPathName(const std::string& path) override;
    Win32Value<std::string> GetTempFileName(const std::string& folder, const std::string& prefix) override;
    Win32Value<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path) override;
    Win32Result AppendToFile(const std::string& path, const std::vector<std::uint8_t>& bytes) override;
    StartedSearch FindFirstFile(const std::string& pattern) override;
    Win32Value<std::uint64_t> GetFileSize(const std::string& path) override;
    std::string GetPrivateProfileString(const std::string& section, const std::string& key,
                                        std::size_t capacity, const std::string& path) override;
};

class Win32Registry : public Registry {
public:
    OpenedKey OpenKey(RegistryRoot root, const std::string& path, RegistryAccess access,
                      RegistryView view) override;
    OpenedKey CreateKey(RegistryRoot root, const std::string& path, RegistryView view) override;
    Win32Result DeleteKey(RegistryRoot root, const std::string& path, RegistryView view) override;
};

class Win32SystemInfo : public SystemInfo {
public:
    Win32Value<OsVersion> GetVersionEx() override;
    bool HasIsWow64Process() override;
    Win32Value<bool> IsWow64Process() override;
    Win32Value<ProcessMachines> IsWow64Process2() override;
    std::uint32_t GetUserDefaultLcid() override;
    LocalTime GetLocalTime() override;
    Win32Value<std::string> GetSystemDirectory(std::size_t capacity) override;
    Win32Value<std::string> GetWindowsDirectory(std::size_t capacity) override;
    Win32Value<std::vector<LeadByteRange>> GetAnsiLeadByteRanges() override;
    std::uint32_t GetCurrentProcessId() override;
    Win32Value<std::string> GetModuleFileName(std::size_t capacity) override;
    Win32Value<std::string> AnsiToOem(const std::string& text) override;
    std::vector<std::string> GetCommandLineArguments() override;
    std::string FormatSystemMessage(std::uint32_t error) override;
    Win32Result SetForegroundLockTimeout(std::uint32_t milliseconds) override;
    Win32Value<ServiceState> QueryServiceState(const std::string& name) override;
};

class Win32UserInterface : public UserInterface {
public:
    MessageBoxAnswer MessageBox(const std::string& text, const std::string& caption,
                                MessageBoxButtons buttons) override;
    MessageBoxAnswer ApplicationMessageBox(const std::string& text) override;
    std::string LoadString(std::uint32_t id, std::size_t capacity) override;
    Win32Value<bool> IsWindowStationVisible() override;
};

class Win32Shell : public Shell {
public:
    std::optional<std::string> GetSpecialFolderPath(SpecialFolder folder, bool create) override;
    Win32Result OpenDocument(const std::string& path) override;
    HResult CoInitialize() override;
    void CoUninitialize() override;
    ShellLinkResult CreateShellLink() override;
    Win32Value<std::wstring> AnsiToWide(const std::string& text, std::size_t capacity) override;
};

class Win32Processes : public Processes {
public:
    StartedProcess CreateProcess(const std::string& commandLine, const ProcessStart& start) override;
    Win32Result SetOwnThreadTimeCritical() override;
    Win32Result SetOwnProcessHighPriority() override;
    CreatedMutex CreateNamedMutex(const std::string& name) override;
};

struct WinspoolLibrary;

// The spooler through winspool.drv of the system folder; when that cannot be loaded,
// every call fails with ERROR_MOD_NOT_FOUND.
class Win32Spooler : public Spooler {
public:
    Win32Spooler();
    SizedValue<std::vector<std::string>> EnumMonitors(std::uint32_t bufferBytes) override;
    SizedValue<std::vector<std::string>> EnumPorts(std::uint32_t bufferBytes) override;
    Win32Result AddMonitor(const MonitorInfo2& info) override;
    Win32Result AddPort(const std::string& monitorName) override;
    SizedValue<std::vector<DriverInfo3>> EnumPrinterDrivers(const std::string& environment,
                                                            std::uint32_t bufferBytes) override;
    SizedValue<std::string> GetPrinterDriverDirectory(const std::string& environment,
                                                      std::uint32_t bufferBytes) override;
    Win32Result AddPrinterDriver(const DriverInfo3& info) override;
    OpenedPrinter AddPrinter(const PrinterInfo2& info) override;
    OpenedPrinter OpenPrinter(const std::string& name, std::uint32_t desiredAccess) override;
    Win32Result DeletePrinterDriver(const std::string& environment, const std::string& driverName) override;
    Win32Result DeletePrinterDriverEx(const std::string& environment, const std::string& driverName,
                                      std::uint32_t deleteFlags) override;
    Win32Result DeletePort(const std::string& portName) override;
    Win32Result DeleteMonitor(const std::string& monitorName) override;

private:
    const WinspoolLibrary* api_;
};

// The whole machine, for the programs' entries and the Windows-side tests.
class Win32Platform {
public:
    Win32Platform()
        : platform_{files_, registry_, system_, ui_, shell_, processes_, spooler_} {}
    Win32Platform(const Win32Platform&) = delete;
    Win32Platform& operator=(const Win32Platform&) = delete;

    Platform& platform() { return platform_; }

private:
    Win32FileSystem files_;
    Win32Registry registry_;
    Win32SystemInfo system_;
    Win32UserInterface ui_;
    Win32Shell shell_;
    Win32Processes processes_;
    Win32Spooler spooler_;
    Platform platform_;
};

}  // namespace platform::win32
