// The spooler's removal calls behind the boundary, on a printer set up as the installer
// sets one up: the project's test port monitor and its port, a driver, a printer on both.
// The answers asserted are the ones Wine gives; where the fake (an in-memory Windows that
// follows Microsoft's documentation) answers otherwise, the comment says so.
//
// The Windows-side tests share one Wine prefix, so every test removes what it added,
// and each starts by removing whatever an interrupted run may have left.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/win32/unique_handles.h"
#include "platform/win32/win32_platform.h"
#include "tests/windows/wine_only.h"

namespace {

using platform::win32::UniqueKey;

constexpr const char* kEnvironment = "Windows x64";
constexpr const char* kMonitor = "NIMBRAX Writer Monitor x86";
constexpr const char* kMonitorDll = "nimbmon64.dll";
constexpr const char* kPort = "WINTEST7:";
constexpr const char* kDriver = "Removal Test Driver";
constexpr const char* kPrinter = "Removal Test Printer";
// The test monitor makes the port named here (Setup writes it for its spooler steps).
constexpr const char* kProductKey = "SOFTWARE\\NIMBRAX Writer";
constexpr const char* kMonitorPortsKey =
    "SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\NIMBRAX Writer Monitor x86\\Ports";

std::string SystemFolder() {
    char folder[MAX_PATH] = {};
    GetSystemDirectoryA(folder, MAX_PATH);
    return folder;
}

// The test monitor DLL is built beside this program.
std::string OwnFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    return folder.substr(0, folder.rfind('\\'));
}

bool KeyExists(const char* path) {
    UniqueKey key;
    return RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_READ | KEY_WOW64_64KEY, key.put()) == ERROR_SUCCESS;
}

void SetRequestedPort(const char* port) {
    UniqueKey key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kProductKey, 0, nullptr, 0, KEY_SET_VALUE | KEY_WOW64_64KEY, nullptr,
                              key.put(), nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExA(key.get(), "Port Name", 0, REG_SZ, reinterpret_cast<const BYTE*>(port),
                             static_cast<DWORD>(std::string(port).size() + 1)),
              ERROR_SUCCESS);
}

// EnumPortsA / EnumMonitorsA / EnumPrinterDriversA at level 1: the names. Each level-1
// record is one name pointer.
template <class Enumerate>
std::vector<std::string> Names(Enumerate enumerate) {
    DWORD needed = 0;
    DWORD returned = 0;
    enumerate(nullptr, 0, &needed, &returned);
    std::vector<BYTE> buffer(needed + 1);
    std::vector<std::string> names;
    if (!enumerate(buffer.data(), needed, &needed, &returned)) return names;
    for (DWORD i = 0; i < returned; ++i) names.emplace_back(reinterpret_cast<const PORT_INFO_1A*>(buffer.data())[i].pName);
    return names;
}
std::vector<std::string> Ports() {
    return Names([](BYTE* b, DWORD n, DWORD* needed, DWORD* r) { return EnumPortsA(nullptr, 1, b, n, needed, r); });
}
std::vector<std::string> Monitors() {
    return Names([](BYTE* b, DWORD n, DWORD* needed, DWORD* r) { return EnumMonitorsA(nullptr, 1, b, n, needed, r); });
}
std::vector<std::string> Drivers() {
    return Names([](BYTE* b, DWORD n, DWORD* needed, DWORD* r) {
        return EnumPrinterDriversA(nullptr, const_cast<char*>(kEnvironment), 1, b, n, needed, r);
    });
}
bool Lists(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

class SpoolerRemovalTest : public ::testing::Test {
protected:
    void SetUp() override {
        // The driver is registered without files, which Wine accepts and Windows does not.
        if (!wintest::RunningUnderWine()) GTEST_SKIP() << "the test printer's driver has no files; Wine only";
        RemoveEverything();
        ASSERT_TRUE(CopyFileA((OwnFolder() + "\\" + kMonitorDll).c_str(), MonitorDllPath().c_str(), FALSE))
            << GetLastError();
        const auto monitor = spooler.AddMonitor({kMonitor, kEnvironment, kMonitorDll});
        ASSERT_TRUE(monitor) << monitor.error;
        SetRequestedPort(kPort);
        const auto port = spooler.AddPort(kMonitor);
        ASSERT_TRUE(port) << port.error;
        platform::DriverInfo3 driver;
        driver.version = 3;
        driver.name = kDriver;
        driver.environment = kEnvironment;
        driver.driverPath = "RTDRV.DLL";
        driver.dataFile = "RTDATA.PPD";
        driver.configFile = "RTUI.DLL";
        const auto added = spooler.AddPrinterDriver(driver);
        ASSERT_TRUE(added) << added.error;
        platform::PrinterInfo2 info;
        info.printerName = kPrinter;
        info.portName = kPort;
        info.driverName = kDriver;
        info.printProcessor = "WinPrint";
        info.datatype = "RAW";
        info.attributes = platform::kPrinterAttributeLocal;
        const auto printer = spooler.AddPrinter(info);
        ASSERT_TRUE(printer) << printer.error;
    }

    void TearDown() override {
        if (wintest::RunningUnderWine()) RemoveEverything();
    }

    static std::string MonitorDllPath() { return SystemFolder() + "\\" + kMonitorDll; }

    // Straight through winspool, whatever is there, answers unread.
    static void RemoveEverything() {
        HANDLE printer = nullptr;
        PRINTER_DEFAULTSA defaults{};
        defaults.DesiredAccess = PRINTER_ALL_ACCESS;
        if (OpenPrinterA(const_cast<char*>(kPrinter), &printer, &defaults)) {
            DeletePrinter(printer);
            ClosePrinter(printer);
        }
        DeletePrinterDriverA(nullptr, const_cast<char*>(kEnvironment), const_cast<char*>(kDriver));
        DeletePortA(nullptr, nullptr, const_cast<char*>(kPort));
        DeleteMonitorA(nullptr, nullptr, const_cast<char*>(kMonitor));
        DeleteFileA(MonitorDllPath().c_str());
        RegDeleteKeyExA(HKEY_LOCAL_MACHINE, kProductKey, KEY_WOW64_64KEY, 0);
    }

    platform::win32::Win32Spooler spooler;
};

TEST_F(SpoolerRemovalTest, RemovalInTheUninstallersOrderLeavesNothingBehind) {
    {
        const auto printer = spooler.OpenPrinter(kPrinter, platform::kPrinterAllAccess);
        ASSERT_TRUE(printer) << printer.error;
        const auto deleted = printer.printer->DeletePrinter();
        EXPECT_TRUE(deleted) << deleted.error;
    }
    // Gone once the handle is closed.
    EXPECT_EQ(spooler.OpenPrinter(kPrinter, platform::kPrinterAllAccess).error, platform::kErrorInvalidPrinterName);

    const auto driver = spooler.DeletePrinterDriver(kEnvironment, kDriver);
    EXPECT_TRUE(driver) << driver.error;
    EXPECT_FALSE(Lists(Drivers(), kDriver));

    // The spooler finds the port's monitor, and the monitor removes its own record of it.
    ASSERT_TRUE(Lists(Ports(), kPort));
    const auto port = spooler.DeletePort(kPort);
    EXPECT_TRUE(port) << port.error;
    EXPECT_FALSE(Lists(Ports(), kPort));
    EXPECT_FALSE(KeyExists((std::string(kMonitorPortsKey) + "\\" + kPort).c_str()));

    const auto monitor = spooler.DeleteMonitor(kMonitor);
    EXPECT_TRUE(monitor) << monitor.error;
    EXPECT_FALSE(Lists(Monitors(), kMonitor));
    // Nothing holds the DLL any more.
    platform::win32::Win32FileSystem files;
    EXPECT_TRUE(files.DeleteFile(MonitorDllPath()));
}

// What the names of objects that are not there get back. The fake answers
// ERROR_UNKNOWN_PRINTER_DRIVER for a driver and ERROR_UNKNOWN_PORT for a port, as
// Microsoft's print protocol documents; Wine's conformance tests record ERROR_NOT_SUPPORTED
// for a port on Windows XP, which is Wine's answer.
TEST_F(SpoolerRemovalTest, UnknownObjectsAreRefused) {
    // Wine's DeletePrinterDriver fails here without any error code.
    EXPECT_EQ(spooler.DeletePrinterDriver(kEnvironment, "No Such Driver").error, platform::kErrorGenFailure);
    EXPECT_EQ(spooler.DeletePrinterDriver("Windows Z80", kDriver).error, platform::kErrorInvalidEnvironment);
    // No monitor has the port: ERROR_NOT_SUPPORTED, as on Windows XP.
    EXPECT_EQ(spooler.DeletePort("NOPORT7:").error, static_cast<std::uint32_t>(ERROR_NOT_SUPPORTED));
    EXPECT_EQ(spooler.DeleteMonitor("No Such Monitor").error, platform::kErrorUnknownPrintMonitor);
    EXPECT_EQ(spooler.DeleteMonitor("").error, platform::kErrorInvalidParameter);

    // A port already deleted is no port of the monitor's any more.
    ASSERT_TRUE(spooler.DeletePort(kPort));
    EXPECT_EQ(spooler.DeletePort(kPort).error, static_cast<std::uint32_t>(ERROR_NOT_SUPPORTED));
    // Everything asked for is still there.
    EXPECT_TRUE(Lists(Drivers(), kDriver));
    EXPECT_TRUE(Lists(Monitors(), kMonitor));
}

// Windows is documented to refuse removing a driver, port or monitor that a printer still
// needs: a driver in use stays, a port a printer prints to gives ERROR_BUSY, a monitor with
// a port in use ERROR_PRINT_MONITOR_IN_USE (the fake answers these, and
// ERROR_PRINTER_DRIVER_IN_USE for the driver). Wine refuses none of them: each goes at once,
// under the printer that uses it, so an uninstaller run under Wine cannot meet the refusals.
TEST_F(SpoolerRemovalTest, WineRemovesWhatAPrinterStillUses) {
    const auto driver = spooler.DeletePrinterDriver(kEnvironment, kDriver);
    EXPECT_TRUE(driver) << driver.error;
    EXPECT_FALSE(Lists(Drivers(), kDriver));

    const auto port = spooler.DeletePort(kPort);
    EXPECT_TRUE(port) << port.error;
    EXPECT_FALSE(Lists(Ports(), kPort));

    // A monitor goes with the ports it serves.
    SetRequestedPort("WINTEST8:");
    ASSERT_TRUE(spooler.AddPort(kMonitor));
    ASSERT_TRUE(Lists(Ports(), "WINTEST8:"));
    const auto monitor = spooler.DeleteMonitor(kMonitor);
    EXPECT_TRUE(monitor) << monitor.error;
    EXPECT_FALSE(Lists(Monitors(), kMonitor));
    EXPECT_FALSE(Lists(Ports(), "WINTEST8:"));

    // The printer is still listed, on its port, with its driver.
    EXPECT_TRUE(spooler.OpenPrinter(kPrinter, platform::kPrinterAllAccess));
}

}  // namespace
