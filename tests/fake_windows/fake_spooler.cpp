#include "tests/fake_windows/fake_spooler.h"

#include <algorithm>

namespace fake {

using platform::DevMode;
using platform::Win32Result;
using platform::Win32Value;

namespace {

constexpr std::int16_t kDmPaperLetter = 1;

bool SameName(const std::string& a, const std::string& b) { return Normalize(a) == Normalize(b); }

std::size_t TextBytes(const std::string& text) { return text.empty() ? 0 : text.size() + 1; }

std::uint32_t DriverEntryBytes(const platform::DriverInfo3& driver) {
    std::size_t bytes = 4 + 9 * sizeof(std::uint64_t);
    for (const auto* text : {&driver.name, &driver.environment, &driver.driverPath, &driver.dataFile,
                             &driver.configFile, &driver.helpFile, &driver.monitorName,
                             &driver.defaultDataType}) {
        bytes += TextBytes(*text);
    }
    for (const auto& file : driver.dependentFiles) bytes += file.size() + 1;
    return static_cast<std::uint32_t>(bytes + 1);
}

std::uint32_t PrinterRecordBytes(const FakePrinter& printer) {
    const platform::PrinterInfo2& info = printer.info;
    std::size_t bytes = 13 * sizeof(std::uint64_t) + 9 * 4;
    for (const auto* text : {&info.printerName, &info.shareName, &info.portName, &info.driverName,
                             &info.comment, &info.location, &info.sepFile, &info.printProcessor,
                             &info.datatype, &info.parameters}) {
        bytes += TextBytes(*text);
    }
    if (info.devMode) bytes += info.devMode->bytes().size();
    return static_cast<std::uint32_t>(bytes);
}

// The device settings of `input` named by its fields go into `target`, as a driver
// merges them; the driver's own part of a record of the same size comes along.
void MergeDevMode(DevMode& target, const DevMode& input) {
    if (input.bytes().size() == target.bytes().size() && input.bytes().size() > DevMode::kPublicSize) {
        std::copy(input.bytes().begin() + static_cast<std::ptrdiff_t>(DevMode::kPublicSize), input.bytes().end(),
                  target.bytes().begin() + static_cast<std::ptrdiff_t>(DevMode::kPublicSize));
    }
    const std::uint32_t fields = input.Fields();
    if ((fields & platform::kDmFormName) != 0) target.SetFormName(input.FormName());
    if ((fields & platform::kDmPaperSize) != 0) target.SetPaperSize(input.PaperSize());
    target.SetFields(target.Fields() | fields);
}

// Device settings the spooler may be handed: none, or a record holding every byte it
// declares. Windows refuses the others rather than read past them.
bool Readable(const std::optional<DevMode>& mode) { return !mode || mode->bytes().empty() || mode->IsWhole(); }

// An open printer of the fake spooler. It finds its printer again by name on every call,
// so a printer deleted meanwhile makes the calls fail.
class FakePrinterHandle : public platform::Printer {
public:
    FakePrinterHandle(FakeSpooler& spooler, std::string name) : spooler_(spooler), name_(std::move(name)) {}
    ~FakePrinterHandle() override { spooler_.journal().Add("ClosePrinter " + name_); }
    FakePrinterHandle(const FakePrinterHandle&) = delete;
    FakePrinterHandle& operator=(const FakePrinterHandle&) = delete;

    platform::SizedValue<platform::PrinterInfo2> GetPrinter2(std::uint32_t bufferBytes) override {
        return Fetch<platform::PrinterInfo2>(Op::GetPrinter2, bufferBytes, [](const FakePrinter& printer) {
            return printer.info;
        });
    }

    platform::SizedValue<platform::PrinterInfo8> GetPrinter8(std::uint32_t bufferBytes) override {
        return Fetch<platform::PrinterInfo8>(Op::GetPrinter8, bufferBytes, [](const FakePrinter& printer) {
            return platform::PrinterInfo8{printer.globalDevMode};
        });
    }

    Win32Result SetPrinter2(const platform::PrinterInfo2& info) override {
        spooler_.journal().Add("SetPrinter2 " + name_);
        if (auto error = spooler_.failures().Check(Op::SetPrinter2, name_)) return Win32Result::Failed(*error);
        if (!Readable(info.devMode)) return Win32Result::Failed(platform::kErrorInvalidParameter);
        FakePrinter* printer = spooler_.FindPrinter(name_);
        if (printer == nullptr) return Win32Result::Failed(platform::kErrorInvalidPrinterName);
        printer->info = info;
        return {};
    }

    Win32Result SetPrinter8(const platform::PrinterInfo8& info) override {
        spooler_.journal().Add("SetPrinter8 " + name_);
        if (auto error = spooler_.failures().Check(Op::SetPrinter8, name_)) return Win32Result::Failed(*error);
        if (!Readable(info.devMode)) return Win32Result::Failed(platform::kErrorInvalidParameter);
        FakePrinter* printer = spooler_.FindPrinter(name_);
        if (printer == nullptr) return Win32Result::Failed(platform::kErrorInvalidPrinterName);
        printer->globalDevMode = info.devMode;
        return {};
    }

    Win32Result DeletePrinter() override { return spooler_.DeletePrinter(name_); }

    std::int32_t DocumentProperties(const std::string& deviceName, DevMode* output, const DevMode* input,
                                    std::uint32_t mode) override {
        spooler_.journal().Add("DocumentProperties " + std::to_string(mode) + " " + deviceName);
        if (spooler_.failures().Check(Op::DocumentProperties, std::to_string(mode) + " " + deviceName)) return -1;
        FakePrinter* printer = spooler_.FindPrinter(name_);
        if (printer == nullptr || !printer->info.devMode) return -1;
        const DevMode& current = *printer->info.devMode;
        if (mode == 0) return static_cast<std::int32_t>(current.bytes().size());
        if ((mode & platform::kDmOutBuffer) == 0 || output == nullptr) return -1;
        const bool readsInput = (mode & platform::kDmInBuffer) != 0 && input != nullptr;
        if (output->bytes().size() < current.bytes().size() || (readsInput && !input->IsWhole())) {
            ++spooler_.devModeBufferFaults;
            return -1;
        }
        DevMode merged = current;
        if (readsInput) {
            spooler_.mergedFields.push_back(input->Fields());
            MergeDevMode(merged, *input);
        }
        std::copy(merged.bytes().begin(), merged.bytes().end(), output->bytes().begin());
        return platform::kIdOk;
    }

private:
    template <class Info, class Take>
    platform::SizedValue<Info> Fetch(Op operation, std::uint32_t bufferBytes, Take take) {
        using Result = platform::SizedValue<Info>;
        spooler_.journal().Add(std::string(Name(operation)) + " " + name_);
        if (auto error = spooler_.failures().Check(operation, name_)) return Result::Failed(*error);
        FakePrinter* printer = spooler_.FindPrinter(name_);
        if (printer == nullptr) return Result::Failed(platform::kErrorInvalidPrinterName);
        const std::uint32_t needed = PrinterRecordBytes(*printer);
        if (bufferBytes < needed) return Result::Failed(platform::kErrorInsufficientBuffer, needed);
        return Result::Ok(take(*printer), needed);
    }

    FakeSpooler& spooler_;
    std::string name_;
};

}  // namespace

std::uint32_t FakeSpooler::MonitorListBytes() const {
    std::size_t bytes = 0;
    for (const auto& name : monitors) bytes += sizeof(std::uint64_t) + name.size() + 1;
    return static_cast<std::uint32_t>(bytes);
}

std::uint32_t FakeSpooler::DriverListBytes(const std::string& environment) const {
    std::uint32_t bytes = 0;
    for (const auto& driver : drivers) {
        if (SameName(driver.environment, environment)) bytes += DriverEntryBytes(driver);
    }
    return bytes;
}

void FakeSpooler::AddDriver(const std::string& name, const std::string& environment,
                            const std::string& driverPath, const std::string& configFile,
                            const std::string& helpFile, std::vector<std::string> dependentFiles) {
    platform::DriverInfo3 driver;
    driver.version = 3;
    driver.name = name;
    driver.environment = environment;
    driver.driverPath = driverPath;
    driver.configFile = configFile;
    driver.helpFile = helpFile;
    driver.dependentFiles = std::move(dependentFiles);
    driver.defaultDataType = "RAW";
    drivers.push_back(driver);
}

const platform::DriverInfo3* FakeSpooler::FindDriver(const std::string& name, const std::string& environment) const {
    for (const auto& driver : drivers) {
        if (driver.name == name && SameName(driver.environment, environment)) return &driver;
    }
    return nullptr;
}

FakePrinter* FakeSpooler::FindPrinter(const std::string& name) {
    for (auto& printer : printers) {
        if (SameName(printer.info.printerName, name)) return &printer;
    }
    return nullptr;
}

FakePrinter& FakeSpooler::AddExistingPrinter(const std::string& name, const std::string& port,
                                             const std::string& driver) {
    FakePrinter printer;
    printer.info.printerName = name;
    printer.info.portName = port;
    printer.info.driverName = driver;
    printer.info.printProcessor = "WinPrint";
    printer.info.datatype = "RAW";
    printer.info.attributes = platform::kPrinterAttributeLocal;
    printer.info.devMode = DriverDefaultDevMode();
    printers.push_back(printer);
    return printers.back();
}

bool FakeSpooler::HasPort(const std::string& name) const {
    return std::any_of(ports.begin(), ports.end(), [&](const std::string& port) { return SameName(port, name); });
}

bool FakeSpooler::HasMonitor(const std::string& name) const {
    return std::any_of(monitors.begin(), monitors.end(),
                       [&](const std::string& monitor) { return SameName(monitor, name); });
}

DevMode FakeSpooler::DriverDefaultDevMode() const {
    DevMode mode = DevMode::WithSizes(static_cast<std::uint16_t>(DevMode::kPublicSize), driverExtraBytes);
    // As a real driver's defaults, more than the paper is set: orientation, copies, print
    // quality and colour (DM_ORIENTATION, DM_COPIES, DM_PRINTQUALITY, DM_COLOR).
    constexpr std::uint32_t kDriverFields = 0x1 | 0x100 | 0x400 | 0x800;
    mode.SetFields(kDriverFields | platform::kDmPaperSize);
    mode.SetPaperSize(kDmPaperLetter);
    return mode;
}

platform::SizedValue<std::vector<std::string>> FakeSpooler::EnumMonitors(std::uint32_t bufferBytes) {
    using Result = platform::SizedValue<std::vector<std::string>>;
    journal_.Add("EnumMonitors");
    enumMonitorBufferSizes.push_back(bufferBytes);
    if (auto error = failures_.Check(Op::EnumMonitors)) return Result::Failed(*error);
    const std::uint32_t needed = MonitorListBytes();
    if (needed > bufferBytes) return Result::Failed(platform::kErrorInsufficientBuffer, needed);
    return Result::Ok(monitors, needed);
}

platform::SizedValue<std::vector<std::string>> FakeSpooler::EnumPorts(std::uint32_t bufferBytes) {
    using Result = platform::SizedValue<std::vector<std::string>>;
    journal_.Add("EnumPorts");
    if (auto error = failures_.Check(Op::EnumPorts)) return Result::Failed(*error);
    std::size_t bytes = 0;
    for (const auto& name : ports) bytes += sizeof(std::uint64_t) + name.size() + 1;
    const auto needed = static_cast<std::uint32_t>(bytes);
    if (needed > bufferBytes) return Result::Failed(platform::kErrorInsufficientBuffer, needed);
    return Result::Ok(ports, needed);
}

Win32Result FakeSpooler::AddMonitor(const platform::MonitorInfo2& info) {
    journal_.Add("AddMonitor " + info.name + " | " + info.environment + " | " + info.dllName);
    if (auto error = failures_.Check(Op::AddMonitor, info.name)) return Win32Result::Failed(*error);
    if (driverDirectories.count(info.environment) == 0) return Win32Result::Failed(platform::kErrorInvalidEnvironment);
    if (HasMonitor(info.name)) return Win32Result::Failed(platform::kErrorPrintMonitorAlreadyInstalled);
    monitors.push_back(info.name);
    monitorDlls[info.name] = info.dllName;
    return {};
}

Win32Result FakeSpooler::AddPort(const std::string& monitorName) {
    journal_.Add("AddPort " + monitorName);
    if (auto error = failures_.Check(Op::AddPort, monitorName)) return Win32Result::Failed(*error);
    if (!HasMonitor(monitorName)) return Win32Result::Failed(platform::kErrorInvalidParameter);
    if (monitorDlls.count(monitorName) == 0 || portAddedByMonitor.empty()) return Win32Result::Failed(platform::kErrorInvalidParameter);
    if (HasPort(portAddedByMonitor)) return Win32Result::Failed(platform::kErrorAlreadyExists);
    ports.push_back(portAddedByMonitor);
    portMonitors[portAddedByMonitor] = monitorName;
    return {};
}

platform::SizedValue<std::vector<platform::DriverInfo3>> FakeSpooler::EnumPrinterDrivers(
    const std::string& environment, std::uint32_t bufferBytes) {
    using Result = platform::SizedValue<std::vector<platform::DriverInfo3>>;
    journal_.Add("EnumPrinterDrivers " + environment + " " + std::to_string(bufferBytes));
    if (auto error = failures_.Check(Op::EnumPrinterDrivers, environment)) return Result::Failed(*error);
    if (driverDirectories.count(environment) == 0) return Result::Failed(platform::kErrorInvalidEnvironment);
    const std::uint32_t needed = DriverListBytes(environment);
    if (needed > bufferBytes) return Result::Failed(platform::kErrorInsufficientBuffer, needed);
    std::vector<platform::DriverInfo3> listed;
    for (const auto& driver : drivers) {
        if (SameName(driver.environment, environment)) listed.push_back(driver);
    }
    return Result::Ok(listed, needed);
}

platform::SizedValue<std::string> FakeSpooler::GetPrinterDriverDirectory(const std::string& environment,
                                                                         std::uint32_t bufferBytes) {
    using Result = platform::SizedValue<std::string>;
    journal_.Add("GetPrinterDriverDirectory " + environment);
    if (auto error = failures_.Check(Op::GetPrinterDriverDirectory, environment)) return Result::Failed(*error);
    const auto found = driverDirectories.find(environment);
    if (found == driverDirectories.end()) return Result::Failed(platform::kErrorInvalidEnvironment);
    const auto needed = static_cast<std::uint32_t>(found->second.size() + 1);
    if (needed > bufferBytes) return Result::Failed(platform::kErrorInsufficientBuffer, needed);
    return Result::Ok(found->second, needed);
}

Win32Result FakeSpooler::AddPrinterDriver(const platform::DriverInfo3& info) {
    journal_.Add("AddPrinterDriver " + info.name + " | " + info.environment);
    if (auto error = failures_.Check(Op::AddPrinterDriver, info.environment)) return Win32Result::Failed(*error);
    if (driverDirectories.count(info.environment) == 0) return Win32Result::Failed(platform::kErrorInvalidEnvironment);
    // Adding a driver again replaces its record, as the spooler does.
    drivers.erase(std::remove_if(drivers.begin(), drivers.end(),
                                 [&](const platform::DriverInfo3& driver) {
                                     return driver.name == info.name && SameName(driver.environment, info.environment);
                                 }),
                  drivers.end());
    drivers.push_back(info);
    return {};
}

platform::OpenedPrinter FakeSpooler::AddPrinter(const platform::PrinterInfo2& info) {
    journal_.Add("AddPrinter " + info.printerName + " | " + info.portName + " | " + info.driverName);
    if (auto error = failures_.Check(Op::AddPrinter, info.printerName)) return {nullptr, *error};
    if (FindPrinter(info.printerName) != nullptr) return {nullptr, platform::kErrorPrinterAlreadyExists};
    const bool driverKnown = std::any_of(drivers.begin(), drivers.end(), [&](const platform::DriverInfo3& driver) {
        return driver.name == info.driverName;
    });
    if (!driverKnown) return {nullptr, platform::kErrorUnknownPrinterDriver};
    if (!HasPort(info.portName)) return {nullptr, platform::kErrorUnknownPort};
    FakePrinter printer;
    printer.info = info;
    printer.info.devMode = DriverDefaultDevMode();
    printers.push_back(printer);
    return {std::make_unique<FakePrinterHandle>(*this, info.printerName), platform::kErrorSuccess};
}

platform::OpenedPrinter FakeSpooler::OpenPrinter(const std::string& name, std::uint32_t desiredAccess) {
    journal_.Add("OpenPrinter " + name + " " + std::to_string(desiredAccess));
    if (auto error = failures_.Check(Op::OpenPrinter, name)) return {nullptr, *error};
    if (FindPrinter(name) == nullptr) return {nullptr, platform::kErrorInvalidPrinterName};
    return {std::make_unique<FakePrinterHandle>(*this, name), platform::kErrorSuccess};
}

Win32Result FakeSpooler::DeletePrinter(const std::string& name) {
    journal_.Add("DeletePrinter " + name);
    if (auto error = failures_.Check(Op::DeletePrinter, name)) return Win32Result::Failed(*error);
    const auto printer = std::find_if(printers.begin(), printers.end(),
                                      [&](const FakePrinter& p) { return SameName(p.info.printerName, name); });
    if (printer == printers.end()) return Win32Result::Failed(platform::kErrorInvalidPrinterName);
    printers.erase(printer);
    return {};
}

Win32Result FakeSpooler::DeletePrinterDriverEx(const std::string& environment, const std::string& driverName,
                                               std::uint32_t deleteFlags) {
    journal_.Add("DeletePrinterDriverEx " + environment + " | " + driverName + " | " + std::to_string(deleteFlags));
    if (!hasDeletePrinterDriverEx) return Win32Result::Failed(platform::kErrorCallNotImplemented);
    if (auto error = failures_.Check(Op::DeletePrinterDriverEx, driverName)) return Win32Result::Failed(*error);
    return RemoveDriver(environment, driverName);
}

Win32Result FakeSpooler::DeletePrinterDriver(const std::string& environment, const std::string& driverName) {
    journal_.Add("DeletePrinterDriver " + environment + " | " + driverName);
    return RemoveDriver(environment, driverName);
}

Win32Result FakeSpooler::RemoveDriver(const std::string& environment, const std::string& driverName) {
    if (auto error = failures_.Check(Op::DeletePrinterDriver, driverName)) return Win32Result::Failed(*error);
    if (driverDirectories.count(environment) == 0) return Win32Result::Failed(platform::kErrorInvalidEnvironment);
    const auto driver = std::find_if(drivers.begin(), drivers.end(), [&](const platform::DriverInfo3& d) {
        return d.name == driverName && SameName(d.environment, environment);
    });
    if (driver == drivers.end()) return Win32Result::Failed(platform::kErrorUnknownPrinterDriver);
    // Windows keeps a driver that a printer still uses.
    const bool used = std::any_of(printers.begin(), printers.end(),
                                  [&](const FakePrinter& p) { return p.info.driverName == driverName; });
    if (used) return Win32Result::Failed(platform::kErrorPrinterDriverInUse);
    drivers.erase(driver);
    return {};
}

Win32Result FakeSpooler::DeletePort(const std::string& portName) {
    journal_.Add("DeletePort " + portName);
    if (auto error = failures_.Check(Op::DeletePort, portName)) return Win32Result::Failed(*error);
    const auto port = std::find_if(ports.begin(), ports.end(), [&](const std::string& p) { return SameName(p, portName); });
    if (port == ports.end()) return Win32Result::Failed(platform::kErrorUnknownPort);
    // Windows keeps a port that a printer still prints to.
    const bool used = std::any_of(printers.begin(), printers.end(),
                                  [&](const FakePrinter& p) { return SameName(p.info.portName, portName); });
    if (used) return Win32Result::Failed(platform::kErrorBusy);
    portMonitors.erase(*port);
    ports.erase(port);
    return {};
}

Win32Result FakeSpooler::DeleteMonitor(const std::string& monitorName) {
    journal_.Add("DeleteMonitor " + monitorName);
    if (auto error = failures_.Check(Op::DeleteMonitor, monitorName)) return Win32Result::Failed(*error);
    const auto monitor = std::find_if(monitors.begin(), monitors.end(),
                                      [&](const std::string& m) { return SameName(m, monitorName); });
    if (monitor == monitors.end()) return Win32Result::Failed(platform::kErrorUnknownPrintMonitor);
    // Windows keeps a monitor that still serves a port.
    const bool serving = std::any_of(portMonitors.begin(), portMonitors.end(),
                                     [&](const auto& entry) { return SameName(entry.second, monitorName); });
    if (serving) return Win32Result::Failed(platform::kErrorPrintMonitorInUse);
    monitorDlls.erase(*monitor);
    monitors.erase(monitor);
    return {};
}

}  // namespace fake
