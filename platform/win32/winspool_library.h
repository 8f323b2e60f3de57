// The print spooler's functions, taken from winspool.drv in the system folder at run
// time rather than imported: winspool.drv is not one of the DLLs Windows always loads
// from the system folder, so an imported one would be looked for beside the program
// first, where anyone who can write to a downloads folder could plant their own.
#pragma once

#include "platform/win32/windows_api.h"

namespace platform::win32 {

struct WinspoolLibrary {
    decltype(&::EnumMonitorsA) EnumMonitorsA = nullptr;
    decltype(&::EnumPortsA) EnumPortsA = nullptr;
    decltype(&::AddMonitorA) AddMonitorA = nullptr;
    decltype(&::AddPortA) AddPortA = nullptr;
    decltype(&::DeleteMonitorA) DeleteMonitorA = nullptr;
    decltype(&::DeletePortA) DeletePortA = nullptr;
    decltype(&::EnumPrinterDriversA) EnumPrinterDriversA = nullptr;
    decltype(&::GetPrinterDriverDirectoryA) GetPrinterDriverDirectoryA = nullptr;
    decltype(&::AddPrinterDriverA) AddPrinterDriverA = nullptr;
    decltype(&::DeletePrinterDriverA) DeletePrinterDriverA = nullptr;
    // Windows 2000 and later; null where winspool lacks it.
    decltype(&::DeletePrinterDriverExA) DeletePrinterDriverExA = nullptr;
    decltype(&::AddPrinterA) AddPrinterA = nullptr;
    decltype(&::OpenPrinterA) OpenPrinterA = nullptr;
    decltype(&::ClosePrinter) ClosePrinter = nullptr;
    decltype(&::GetPrinterA) GetPrinterA = nullptr;
    decltype(&::SetPrinterA) SetPrinterA = nullptr;
    decltype(&::DeletePrinter) DeletePrinter = nullptr;
    decltype(&::DocumentPropertiesA) DocumentPropertiesA = nullptr;

    // The functions of the system folder's winspool.drv, loaded once and kept for the
    // process's life; nothing when the library or one of its functions is missing.
    static const WinspoolLibrary* Get();
};

}  // namespace platform::win32
