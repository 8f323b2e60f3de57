// The print spooler: monitors, ports, printer drivers and their directory, printers and
// their device settings. Text fields that Windows takes as pointers are passed as null
// when they are empty.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/device_mode.h"
#include "platform/result.h"

namespace platform {

inline constexpr std::uint32_t kErrorUnknownPort = 1796;
inline constexpr std::uint32_t kErrorUnknownPrinterDriver = 1797;
inline constexpr std::uint32_t kErrorInvalidPrinterName = 1801;
inline constexpr std::uint32_t kErrorPrinterAlreadyExists = 1802;
inline constexpr std::uint32_t kErrorInvalidEnvironment = 1805;
inline constexpr std::uint32_t kErrorUnknownPrintMonitor = 3000;
inline constexpr std::uint32_t kErrorPrinterDriverInUse = 3001;
inline constexpr std::uint32_t kErrorPrintMonitorAlreadyInstalled = 3006;
inline constexpr std::uint32_t kErrorPrintMonitorInUse = 3008;

inline constexpr std::uint32_t kPrinterAllAccess = 0xF000C;  // PRINTER_ALL_ACCESS
inline constexpr std::uint32_t kDpdDeleteUnusedFiles = 0x1;   // DPD_DELETE_UNUSED_FILES

inline constexpr std::uint32_t kPrinterAttributeDirect = 0x2;
inline constexpr std::uint32_t kPrinterAttributeLocal = 0x40;
inline constexpr std::uint32_t kPrinterAttributeDoCompleteFirst = 0x200;

// DocumentPropertiesA modes and its success answer.
inline constexpr std::uint32_t kDmOutBuffer = 2;
inline constexpr std::uint32_t kDmInBuffer = 8;
inline constexpr std::int32_t kIdOk = 1;

// MONITOR_INFO_2.
struct MonitorInfo2 {
    std::string name;
    std::string environment;
    std::string dllName;
};

// DRIVER_INFO_3.
struct DriverInfo3 {
    std::uint32_t version = 0;
    std::string name;
    std::string environment;
    std::string driverPath;
    std::string dataFile;
    std::string configFile;
    std::string helpFile;
    std::vector<std::string> dependentFiles;  // passed as a NUL-separated, NUL-closed list
    std::string monitorName;
    std::string defaultDataType;
};

// PRINTER_INFO_2. The security descriptor is never carried: a record set back with
// SetPrinter leaves the printer's security as it is.
struct PrinterInfo2 {
    std::string serverName;
    std::string printerName;
    std::string shareName;
    std::string portName;
    std::string driverName;
    std::string comment;
    std::string location;
    std::optional<DevMode> devMode;
    std::string sepFile;
    std::string printProcessor;
    std::string datatype;
    std::string parameters;
    std::uint32_t attributes = 0;
    std::uint32_t priority = 0;
    std::uint32_t defaultPriority = 0;
    std::uint32_t startTime = 0;
    std::uint32_t untilTime = 0;
    std::uint32_t status = 0;
    std::uint32_t jobs = 0;
    std::uint32_t averagePpm = 0;
};

// PRINTER_INFO_8: the global default device settings.
struct PrinterInfo8 {
    std::optional<DevMode> devMode;
};

// An open printer; ClosePrinter when it goes away.
class Printer {
public:
    virtual ~Printer() = default;
    // GetPrinterA at level 2 / 8 into a zero-filled buffer of `bufferBytes` bytes (none
    // when 0), with the bytes the call wants.
    virtual SizedValue<PrinterInfo2> GetPrinter2(std::uint32_t bufferBytes) = 0;
    virtual SizedValue<PrinterInfo8> GetPrinter8(std::uint32_t bufferBytes) = 0;
    // SetPrinterA at level 2 / 8.
    virtual Win32Result SetPrinter2(const PrinterInfo2& info) = 0;
    virtual Win32Result SetPrinter8(const PrinterInfo8& info) = 0;
    // DeletePrinter: the printer goes once the last handle to it is closed.
    virtual Win32Result DeletePrinter() = 0;
    // DocumentPropertiesA without a window on this printer: the device-mode size for
    // mode 0, kIdOk or a negative value otherwise. `output` and `input` may be the same
    // record, or null; an output buffer is its whole byte size.
    virtual std::int32_t DocumentProperties(const std::string& deviceName, DevMode* output,
                                            const DevMode* input, std::uint32_t mode) = 0;
};

struct [[nodiscard]] OpenedPrinter {
    std::unique_ptr<Printer> printer;
    std::uint32_t error = kErrorSuccess;
    explicit operator bool() const { return printer != nullptr; }
};

class Spooler {
public:
    virtual ~Spooler() = default;
    // EnumMonitorsA, no server, level 1, into a buffer of `bufferBytes` bytes: the
    // names of the monitors, with the bytes the spooler wants.
    virtual SizedValue<std::vector<std::string>> EnumMonitors(std::uint32_t bufferBytes) = 0;
    // EnumPortsA, no server, level 1: the names of the ports, as EnumMonitors.
    virtual SizedValue<std::vector<std::string>> EnumPorts(std::uint32_t bufferBytes) = 0;
    // AddMonitorA, no server, level 2.
    virtual Win32Result AddMonitor(const MonitorInfo2& info) = 0;
    // AddPortA, no server, no window: the named monitor adds a port of its choosing.
    virtual Win32Result AddPort(const std::string& monitorName) = 0;

    // EnumPrinterDriversA, no server, level 3, into a buffer of `bufferBytes` bytes (none
    // when 0): the drivers in the spooler's order, with the bytes it wants.
    virtual SizedValue<std::vector<DriverInfo3>> EnumPrinterDrivers(const std::string& environment,
                                                                    std::uint32_t bufferBytes) = 0;
    // GetPrinterDriverDirectoryA, no server, level 1, into `bufferBytes` bytes: the
    // folder without a trailing backslash, with the bytes the spooler reported (the
    // terminating NUL included), also on success.
    virtual SizedValue<std::string> GetPrinterDriverDirectory(const std::string& environment,
                                                              std::uint32_t bufferBytes) = 0;
    // AddPrinterDriverA, no server, level 3.
    virtual Win32Result AddPrinterDriver(const DriverInfo3& info) = 0;

    // AddPrinterA, no server, level 2; the handle of the new printer.
    virtual OpenedPrinter AddPrinter(const PrinterInfo2& info) = 0;
    // OpenPrinterA with no datatype and no device mode.
    virtual OpenedPrinter OpenPrinter(const std::string& name, std::uint32_t desiredAccess) = 0;

    // DeletePrinterDriverA, no server: refused while a printer uses the driver.
    virtual Win32Result DeletePrinterDriver(const std::string& environment, const std::string& driverName) = 0;
    // DeletePrinterDriverExA, no server, every version of the driver, with
    // `deleteFlags` (kDpdDeleteUnusedFiles: the driver's files that no other driver uses go
    // too); looked up at run time, ERROR_CALL_NOT_IMPLEMENTED where winspool lacks it.
    virtual Win32Result DeletePrinterDriverEx(const std::string& environment, const std::string& driverName,
                                              std::uint32_t deleteFlags) = 0;
    // DeletePortA, no server, no window: the port's monitor deletes it; refused while a
    // printer uses the port.
    virtual Win32Result DeletePort(const std::string& portName) = 0;
    // DeleteMonitorA, no server, the default environment: refused while the monitor
    // serves a port.
    virtual Win32Result DeleteMonitor(const std::string& monitorName) = 0;
};

}  // namespace platform
