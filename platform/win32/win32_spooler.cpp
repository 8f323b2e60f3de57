#include "platform/win32/windows_api.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/unique_handles.h"
#include "platform/win32/winspool_library.h"

#include <cstddef>
#include <cstring>

namespace platform::win32 {
namespace {

static_assert(offsetof(DEVMODEA, dmSize) == DevMode::kSizeOffset);
static_assert(offsetof(DEVMODEA, dmDriverExtra) == DevMode::kDriverExtraOffset);
static_assert(offsetof(DEVMODEA, dmFields) == DevMode::kFieldsOffset);
static_assert(offsetof(DEVMODEA, dmPaperSize) == DevMode::kPaperSizeOffset);
static_assert(offsetof(DEVMODEA, dmFormName) == DevMode::kFormNameOffset);
static_assert(sizeof(DEVMODEA::dmFormName) == DevMode::kFormNameCapacity);
static_assert(sizeof(DEVMODEA) == DevMode::kPublicSize);

// A printer handle exists only where the spooler's library was loaded.
struct PrinterTraits {
    using Type = HANDLE;
    static HANDLE Invalid() { return nullptr; }
    static void Close(HANDLE printer) { WinspoolLibrary::Get()->ClosePrinter(printer); }
};

// What every spooler call answers when winspool.drv cannot be loaded from the system folder.
constexpr DWORD kNoSpooler = ERROR_MOD_NOT_FOUND;

// The spooler's structures take writable pointers but only read through them on the
// calls made here. An empty text is passed as null.
LPSTR Text(const std::string& text) { return text.empty() ? nullptr : const_cast<LPSTR>(text.c_str()); }

std::string FromText(const char* text) { return text != nullptr ? std::string(text) : std::string(); }

// The answer of a spooler call that reports failure by returning FALSE. The last error is
// cleared first and a failure without one counts as ERROR_GEN_FAILURE: Wine's
// DeletePrinterDriver refuses an unknown driver without setting any, and neither a code
// left over from an earlier call nor a zero may pass for its answer.
template <class Call>
Win32Result SpoolerCall(Call call) {
    SetLastError(NO_ERROR);
    if (call()) return {};
    return Win32Result::Failed(GetLastError());
}

// "a\0b\0\0": each name with its NUL, closed by one more.
std::vector<char> NameList(const std::vector<std::string>& names) {
    std::vector<char> list;
    for (const auto& name : names) {
        list.insert(list.end(), name.begin(), name.end());
        list.push_back('\0');
    }
    list.push_back('\0');
    return list;
}

std::vector<std::string> FromNameList(const char* list) {
    std::vector<std::string> names;
    if (list == nullptr) return names;
    while (*list != '\0') {
        names.emplace_back(list);
        list += names.back().size() + 1;
    }
    return names;
}

// The bytes GetPrinterA returned, in which the record's device settings lie.
struct FetchedBytes {
    const BYTE* begin;
    const BYTE* end;
};

// The device settings a fetched record points to, as many bytes as they declare. Settings
// that claim to reach past the returned bytes (a driver's wrong dmDriverExtra) are not
// read beyond them; the record is taken as having none.
std::optional<DevMode> FromDevMode(const DEVMODEA* mode, FetchedBytes fetched) {
    if (mode == nullptr) return std::nullopt;
    const auto* bytes = reinterpret_cast<const BYTE*>(mode);
    if (bytes < fetched.begin || bytes >= fetched.end) return std::nullopt;
    const std::size_t available = static_cast<std::size_t>(fetched.end - bytes);
    if (available < DevMode::kDriverExtraOffset + 2) return std::nullopt;
    const std::size_t size = std::size_t{mode->dmSize} + mode->dmDriverExtra;
    if (size > available) return std::nullopt;
    return DevMode(std::vector<std::uint8_t>(bytes, bytes + size));
}

// The spooler reads dmSize + dmDriverExtra bytes of a record it is given; a buffer that
// holds fewer is never handed over.
bool Readable(const DevMode* mode) { return mode == nullptr || mode->bytes().empty() || mode->IsWhole(); }

LPDEVMODEA ToDevMode(DevMode* mode) {
    return mode == nullptr || mode->bytes().empty() ? nullptr : reinterpret_cast<LPDEVMODEA>(mode->bytes().data());
}

PrinterInfo2 FromPrinterInfo2(const PRINTER_INFO_2A& record, FetchedBytes fetched) {
    PrinterInfo2 info;
    info.serverName = FromText(record.pServerName);
    info.printerName = FromText(record.pPrinterName);
    info.shareName = FromText(record.pShareName);
    info.portName = FromText(record.pPortName);
    info.driverName = FromText(record.pDriverName);
    info.comment = FromText(record.pComment);
    info.location = FromText(record.pLocation);
    info.devMode = FromDevMode(record.pDevMode, fetched);
    info.sepFile = FromText(record.pSepFile);
    info.printProcessor = FromText(record.pPrintProcessor);
    info.datatype = FromText(record.pDatatype);
    info.parameters = FromText(record.pParameters);
    info.attributes = record.Attributes;
    info.priority = record.Priority;
    info.defaultPriority = record.DefaultPriority;
    info.startTime = record.StartTime;
    info.untilTime = record.UntilTime;
    info.status = record.Status;
    info.jobs = record.cJobs;
    info.averagePpm = record.AveragePPM;
    return info;
}

// `devMode` is a copy the record points into; it must outlive the record.
PRINTER_INFO_2A ToPrinterInfo2(const PrinterInfo2& info, std::optional<DevMode>& devMode) {
    PRINTER_INFO_2A record{};
    record.pServerName = Text(info.serverName);
    record.pPrinterName = Text(info.printerName);
    record.pShareName = Text(info.shareName);
    record.pPortName = Text(info.portName);
    record.pDriverName = Text(info.driverName);
    record.pComment = Text(info.comment);
    record.pLocation = Text(info.location);
    record.pDevMode = devMode ? ToDevMode(&*devMode) : nullptr;
    record.pSepFile = Text(info.sepFile);
    record.pPrintProcessor = Text(info.printProcessor);
    record.pDatatype = Text(info.datatype);
    record.pParameters = Text(info.parameters);
    record.pSecurityDescriptor = nullptr;  // leaves the printer's security as it is
    record.Attributes = info.attributes;
    record.Priority = info.priority;
    record.DefaultPriority = info.defaultPriority;
    record.StartTime = info.startTime;
    record.UntilTime = info.untilTime;
    record.Status = info.status;
    record.cJobs = info.jobs;
    record.AveragePPM = info.averagePpm;
    return record;
}

DriverInfo3 FromDriverInfo3(const DRIVER_INFO_3A& record) {
    DriverInfo3 info;
    info.version = record.cVersion;
    info.name = FromText(record.pName);
    info.environment = FromText(record.pEnvironment);
    info.driverPath = FromText(record.pDriverPath);
    info.dataFile = FromText(record.pDataFile);
    info.configFile = FromText(record.pConfigFile);
    info.helpFile = FromText(record.pHelpFile);
    info.dependentFiles = FromNameList(record.pDependentFiles);
    info.monitorName = FromText(record.pMonitorName);
    info.defaultDataType = FromText(record.pDefaultDataType);
    return info;
}

class Win32Printer : public Printer {
public:
    Win32Printer(const WinspoolLibrary& api, HANDLE printer) : api_(api), printer_(printer) {}

    SizedValue<PrinterInfo2> GetPrinter2(std::uint32_t bufferBytes) override {
        return Fetch<PrinterInfo2>(2, sizeof(PRINTER_INFO_2A), bufferBytes, [](FetchedBytes fetched) {
            return FromPrinterInfo2(*reinterpret_cast<const PRINTER_INFO_2A*>(fetched.begin), fetched);
        });
    }

    SizedValue<PrinterInfo8> GetPrinter8(std::uint32_t bufferBytes) override {
        return Fetch<PrinterInfo8>(8, sizeof(PRINTER_INFO_8A), bufferBytes, [](FetchedBytes fetched) {
            return PrinterInfo8{FromDevMode(reinterpret_cast<const PRINTER_INFO_8A*>(fetched.begin)->pDevMode, fetched)};
        });
    }

    Win32Result SetPrinter2(const PrinterInfo2& info) override {
        if (info.devMode && !Readable(&*info.devMode)) return Win32Result::Failed(ERROR_INVALID_PARAMETER);
        std::optional<DevMode> devMode = info.devMode;
        PRINTER_INFO_2A record = ToPrinterInfo2(info, devMode);
        if (!api_.SetPrinterA(printer_.get(), 2, reinterpret_cast<LPBYTE>(&record), 0)) return Win32Result::Failed(GetLastError());
        return {};
    }

    Win32Result SetPrinter8(const PrinterInfo8& info) override {
        if (info.devMode && !Readable(&*info.devMode)) return Win32Result::Failed(ERROR_INVALID_PARAMETER);
        std::optional<DevMode> devMode = info.devMode;
        PRINTER_INFO_8A record{};
        record.pDevMode = devMode ? ToDevMode(&*devMode) : nullptr;
        if (!api_.SetPrinterA(printer_.get(), 8, reinterpret_cast<LPBYTE>(&record), 0)) return Win32Result::Failed(GetLastError());
        return {};
    }

    Win32Result DeletePrinter() override {
        return SpoolerCall([&] { return api_.DeletePrinter(printer_.get()); });
    }

    std::int32_t DocumentProperties(const std::string& deviceName, DevMode* output, const DevMode* input,
                                    std::uint32_t mode) override {
        // The spooler reads the input record only; with both the same it merges in place.
        if (!Readable(input)) return -1;
        LPDEVMODEA in = input == output ? ToDevMode(output) : ToDevMode(const_cast<DevMode*>(input));
        return api_.DocumentPropertiesA(nullptr, printer_.get(), Text(deviceName), ToDevMode(output), in, mode);
    }

private:
    template <class Info, class Take>
    SizedValue<Info> Fetch(DWORD level, std::size_t recordBytes, std::uint32_t bufferBytes, Take take) {
        std::vector<BYTE> buffer(bufferBytes, 0);
        DWORD needed = 0;
        SetLastError(ERROR_SUCCESS);
        const BOOL fetched = api_.GetPrinterA(printer_.get(), level, buffer.empty() ? nullptr : buffer.data(),
                                              bufferBytes, &needed);
        if (!fetched) return SizedValue<Info>::Failed(GetLastError(), needed);
        // A size query that succeeds carries no record. A record has at least its fixed
        // part; an answer shorter than that is not read.
        if (buffer.empty()) return SizedValue<Info>::Ok(Info{}, needed);
        if (buffer.size() < recordBytes) return SizedValue<Info>::Failed(ERROR_INVALID_DATA, needed);
        return SizedValue<Info>::Ok(take(FetchedBytes{buffer.data(), buffer.data() + buffer.size()}), needed);
    }

    const WinspoolLibrary& api_;
    UniqueResource<PrinterTraits> printer_;
};

OpenedPrinter Opened(const WinspoolLibrary& api, HANDLE printer) {
    return {std::make_unique<Win32Printer>(api, printer), kErrorSuccess};
}

// The names of a level-1 list (monitors, ports): each entry's first field is its name.
template <class Info, class Enumerate>
SizedValue<std::vector<std::string>> EnumNames(Enumerate enumerate, std::uint32_t bufferBytes) {
    std::vector<BYTE> buffer(bufferBytes);
    DWORD needed = 0;
    DWORD returned = 0;
    if (!enumerate(nullptr, 1, buffer.empty() ? nullptr : buffer.data(), bufferBytes, &needed, &returned)) {
        return SizedValue<std::vector<std::string>>::Failed(GetLastError(), needed);
    }
    std::vector<std::string> names;
    const auto* entries = reinterpret_cast<const Info*>(buffer.data());
    for (DWORD i = 0; i < returned; ++i) names.emplace_back(entries[i].pName != nullptr ? entries[i].pName : "");
    return SizedValue<std::vector<std::string>>::Ok(std::move(names), needed);
}

}  // namespace

Win32Spooler::Win32Spooler() : api_(WinspoolLibrary::Get()) {}

SizedValue<std::vector<std::string>> Win32Spooler::EnumMonitors(std::uint32_t bufferBytes) {
    if (api_ == nullptr) return SizedValue<std::vector<std::string>>::Failed(kNoSpooler);
    return EnumNames<MONITOR_INFO_1A>(api_->EnumMonitorsA, bufferBytes);
}

SizedValue<std::vector<std::string>> Win32Spooler::EnumPorts(std::uint32_t bufferBytes) {
    if (api_ == nullptr) return SizedValue<std::vector<std::string>>::Failed(kNoSpooler);
    return EnumNames<PORT_INFO_1A>(api_->EnumPortsA, bufferBytes);
}

Win32Result Win32Spooler::AddMonitor(const MonitorInfo2& info) {
    MONITOR_INFO_2A record{};
    record.pName = Text(info.name);
    record.pEnvironment = Text(info.environment);
    record.pDLLName = Text(info.dllName);
    if (api_ == nullptr) return Win32Result::Failed(kNoSpooler);
    if (!api_->AddMonitorA(nullptr, 2, reinterpret_cast<LPBYTE>(&record))) return Win32Result::Failed(GetLastError());
    return {};
}

Win32Result Win32Spooler::AddPort(const std::string& monitorName) {
    if (api_ == nullptr) return Win32Result::Failed(kNoSpooler);
    if (!api_->AddPortA(nullptr, nullptr, Text(monitorName))) return Win32Result::Failed(GetLastError());
    return {};
}

SizedValue<std::vector<DriverInfo3>> Win32Spooler::EnumPrinterDrivers(const std::string& environment,
                                                                      std::uint32_t bufferBytes) {
    std::vector<BYTE> buffer(bufferBytes);
    DWORD needed = 0;
    DWORD returned = 0;
    if (api_ == nullptr) return SizedValue<std::vector<DriverInfo3>>::Failed(kNoSpooler);
    if (!api_->EnumPrinterDriversA(nullptr, Text(environment), 3, buffer.empty() ? nullptr : buffer.data(),
                                   bufferBytes, &needed, &returned)) {
        return SizedValue<std::vector<DriverInfo3>>::Failed(GetLastError(), needed);
    }
    std::vector<DriverInfo3> drivers;
    const auto* entries = reinterpret_cast<const DRIVER_INFO_3A*>(buffer.data());
    for (DWORD i = 0; i < returned; ++i) drivers.push_back(FromDriverInfo3(entries[i]));
    return SizedValue<std::vector<DriverInfo3>>::Ok(std::move(drivers), needed);
}

SizedValue<std::string> Win32Spooler::GetPrinterDriverDirectory(const std::string& environment,
                                                                std::uint32_t bufferBytes) {
    std::vector<BYTE> buffer(bufferBytes + 1, 0);  // one more byte keeps the text closed
    DWORD needed = 0;
    if (api_ == nullptr) return SizedValue<std::string>::Failed(kNoSpooler);
    if (!api_->GetPrinterDriverDirectoryA(nullptr, Text(environment), 1, buffer.data(), bufferBytes, &needed)) {
        return SizedValue<std::string>::Failed(GetLastError(), needed);
    }
    return SizedValue<std::string>::Ok(reinterpret_cast<const char*>(buffer.data()), needed);
}

Win32Result Win32Spooler::AddPrinterDriver(const DriverInfo3& info) {
    std::vector<char> dependentFiles = NameList(info.dependentFiles);
    DRIVER_INFO_3A record{};
    record.cVersion = info.version;
    record.pName = Text(info.name);
    record.pEnvironment = Text(info.environment);
    record.pDriverPath = Text(info.driverPath);
    record.pDataFile = Text(info.dataFile);
    record.pConfigFile = Text(info.configFile);
    record.pHelpFile = Text(info.helpFile);
    record.pDependentFiles = dependentFiles.data();
    record.pMonitorName = Text(info.monitorName);
    record.pDefaultDataType = Text(info.defaultDataType);
    if (api_ == nullptr) return Win32Result::Failed(kNoSpooler);
    if (!api_->AddPrinterDriverA(nullptr, 3, reinterpret_cast<LPBYTE>(&record))) return Win32Result::Failed(GetLastError());
    return {};
}

OpenedPrinter Win32Spooler::AddPrinter(const PrinterInfo2& info) {
    std::optional<DevMode> devMode = info.devMode;
    PRINTER_INFO_2A record = ToPrinterInfo2(info, devMode);
    if (api_ == nullptr) return {nullptr, kNoSpooler};
    HANDLE printer = api_->AddPrinterA(nullptr, 2, reinterpret_cast<LPBYTE>(&record));
    if (printer == nullptr) return {nullptr, GetLastError()};
    return Opened(*api_, printer);
}

OpenedPrinter Win32Spooler::OpenPrinter(const std::string& name, std::uint32_t desiredAccess) {
    PRINTER_DEFAULTSA defaults{};
    defaults.DesiredAccess = desiredAccess;
    HANDLE printer = nullptr;
    if (api_ == nullptr) return {nullptr, kNoSpooler};
    if (!api_->OpenPrinterA(Text(name), &printer, &defaults)) return {nullptr, GetLastError()};
    if (printer == nullptr) return {nullptr, ERROR_INVALID_HANDLE};
    return Opened(*api_, printer);
}

Win32Result Win32Spooler::DeletePrinterDriver(const std::string& environment, const std::string& driverName) {
    if (api_ == nullptr) return Win32Result::Failed(kNoSpooler);
    return SpoolerCall([&] { return api_->DeletePrinterDriverA(nullptr, Text(environment), Text(driverName)); });
}

Win32Result Win32Spooler::DeletePrinterDriverEx(const std::string& environment, const std::string& driverName,
                                                std::uint32_t deleteFlags) {
    if (api_ == nullptr) return Win32Result::Failed(kNoSpooler);
    if (api_->DeletePrinterDriverExA == nullptr) return Win32Result::Failed(ERROR_CALL_NOT_IMPLEMENTED);
    return SpoolerCall([&] {
        return api_->DeletePrinterDriverExA(nullptr, Text(environment), Text(driverName), deleteFlags, 0);
    });
}

Win32Result Win32Spooler::DeletePort(const std::string& portName) {
    if (api_ == nullptr) return Win32Result::Failed(kNoSpooler);
    return SpoolerCall([&] { return api_->DeletePortA(nullptr, nullptr, Text(portName)); });
}

Win32Result Win32Spooler::DeleteMonitor(const std::string& monitorName) {
    if (api_ == nullptr) return Win32Result::Failed(kNoSpooler);
    return SpoolerCall([&] { return api_->DeleteMonitorA(nullptr, nullptr, Text(monitorName)); });
}

}  // namespace platform::win32
