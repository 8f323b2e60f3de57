// The print spooler of the fake machine: environments with their driver directories,
// drivers with their files, monitors with their DLLs, ports, and printers with their
// attributes and device settings. Every operation can be made to fail through the
// failure switches, by operation name and subject (a name or an environment).
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/spooler.h"
#include "tests/fake_windows/failure_switches.h"
#include "tests/fake_windows/journal.h"

namespace fake {

struct FakePrinter {
    platform::PrinterInfo2 info;                   // its level-2 record, device mode included
    std::optional<platform::DevMode> globalDevMode;  // level 8; none until one is set
};

class FakeSpooler : public platform::Spooler {
public:
    FakeSpooler(Journal& journal, FailureSwitches& failures) : journal_(journal), failures_(failures) {}

    std::vector<std::string> monitors = {"Local Port", "Standard TCP/IP Port", "USB Monitor"};
    std::map<std::string, std::string> monitorDlls;  // by monitor name, for monitors added
    std::vector<std::uint32_t> enumMonitorBufferSizes;  // what each call offered
    // The driver directory of each environment the spooler knows.
    std::map<std::string, std::string> driverDirectories = {
        {"Windows 4.0", "C:\\WINDOWS\\SYSTEM"},
        {"Windows NT x86", "C:\\Windows\\system32\\spool\\drivers\\W32X86"},
        {"Windows x64", "C:\\Windows\\system32\\spool\\drivers\\x64"}};
    std::vector<platform::DriverInfo3> drivers;  // in the order they are listed
    std::vector<std::string> ports = {"LPT1:", "COM1:", "FILE:"};
    std::map<std::string, std::string> portMonitors;  // by port, for ports a monitor added
    // The port a monitor added by the program creates when asked to add one (a real
    // monitor picks its own); empty: the monitor refuses.
    std::string portAddedByMonitor;
    std::vector<FakePrinter> printers;
    // The device settings a new printer's driver hands out: 156 public bytes and 64 of
    // its own, Letter, no form name set yet.
    std::uint16_t driverExtraBytes = 64;
    // DocumentProperties calls whose buffers a real driver would read or write past: an
    // input holding fewer bytes than it declares, an output smaller than the driver's
    // record. The fake refuses them instead.
    int devModeBufferFaults = 0;
    // The fields of every device mode handed to a driver to merge, in order.
    std::vector<std::uint32_t> mergedFields;

    // The size of a level-1 list as a 64-bit spooler packs it: a pointer per entry and
    // the names with their NULs.
    std::uint32_t MonitorListBytes() const;
    std::uint32_t DriverListBytes(const std::string& environment) const;
    // Test set-up and checks.
    void AddDriver(const std::string& name, const std::string& environment,
                   const std::string& driverPath = "", const std::string& configFile = "",
                   const std::string& helpFile = "", std::vector<std::string> dependentFiles = {});
    const platform::DriverInfo3* FindDriver(const std::string& name, const std::string& environment) const;
    FakePrinter* FindPrinter(const std::string& name);
    FakePrinter& AddExistingPrinter(const std::string& name, const std::string& port,
                                    const std::string& driver);
    bool HasPort(const std::string& name) const;
    bool HasMonitor(const std::string& name) const;

    platform::SizedValue<std::vector<std::string>> EnumMonitors(std::uint32_t bufferBytes) override;
    platform::SizedValue<std::vector<std::string>> EnumPorts(std::uint32_t bufferBytes) override;
    platform::Win32Result AddMonitor(const platform::MonitorInfo2& info) override;
    platform::Win32Result AddPort(const std::string& monitorName) override;
    platform::SizedValue<std::vector<platform::DriverInfo3>> EnumPrinterDrivers(const std::string& environment,
                                                                                std::uint32_t bufferBytes) override;
    platform::SizedValue<std::string> GetPrinterDriverDirectory(const std::string& environment,
                                                                std::uint32_t bufferBytes) override;
    platform::Win32Result AddPrinterDriver(const platform::DriverInfo3& info) override;
    platform::OpenedPrinter AddPrinter(const platform::PrinterInfo2& info) override;
    platform::OpenedPrinter OpenPrinter(const std::string& name, std::uint32_t desiredAccess) override;
    platform::Win32Result DeletePrinterDriver(const std::string& environment, const std::string& driverName) override;
    // Removes the record as DeletePrinterDriver does; the driver's copies in the
    // version folders are not modelled. False: a winspool without the call.
    bool hasDeletePrinterDriverEx = true;
    platform::Win32Result DeletePrinterDriverEx(const std::string& environment, const std::string& driverName,
                                                std::uint32_t deleteFlags) override;
    platform::Win32Result DeletePort(const std::string& portName) override;
    platform::Win32Result DeleteMonitor(const std::string& monitorName) override;
    // Used by the printer handles.
    platform::Win32Result DeletePrinter(const std::string& name);

    Journal& journal() { return journal_; }
    FailureSwitches& failures() { return failures_; }
    platform::DevMode DriverDefaultDevMode() const;

private:
    platform::Win32Result RemoveDriver(const std::string& environment, const std::string& driverName);
    Journal& journal_;
    FailureSwitches& failures_;
};

}  // namespace fake
