#include "platform/win32/winspool_library.h"

#include <cstring>
#include <optional>
#include <string>

namespace platform::win32 {
namespace {

// `function` set to the export `name` of `module`; false when there is none.
template <class Function>
bool Resolve(HMODULE module, const char* name, Function& function) {
    const FARPROC found = GetProcAddress(module, name);
    static_assert(sizeof(function) == sizeof(found));
    std::memcpy(&function, &found, sizeof(function));
    return function != nullptr;
}

std::optional<WinspoolLibrary> Load() {
    char systemFolder[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryA(systemFolder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return std::nullopt;
    // By its full path: no other folder is searched. The library stays loaded.
    const HMODULE module = LoadLibraryA((std::string(systemFolder) + "\\winspool.drv").c_str());
    if (module == nullptr) return std::nullopt;
    WinspoolLibrary library;
    const bool complete =
        Resolve(module, "EnumMonitorsA", library.EnumMonitorsA) && Resolve(module, "AddMonitorA", library.AddMonitorA) &&
        Resolve(module, "AddPortA", library.AddPortA) && Resolve(module, "DeleteMonitorA", library.DeleteMonitorA) &&
        Resolve(module, "DeletePortA", library.DeletePortA) &&
        Resolve(module, "EnumPrinterDriversA", library.EnumPrinterDriversA) &&
        Resolve(module, "GetPrinterDriverDirectoryA", library.GetPrinterDriverDirectoryA) &&
        Resolve(module, "AddPrinterDriverA", library.AddPrinterDriverA) &&
        Resolve(module, "DeletePrinterDriverA", library.DeletePrinterDriverA) &&
        Resolve(module, "AddPrinterA", library.AddPrinterA) && Resolve(module, "OpenPrinterA", library.OpenPrinterA) &&
        Resolve(module, "ClosePrinter", library.ClosePrinter) && Resolve(module, "GetPrinterA", library.GetPrinterA) &&
        Resolve(module, "SetPrinterA", library.SetPrinterA) && Resolve(module, "DeletePrinter", library.DeletePrinter) &&
        Resolve(module, "DocumentPropertiesA", library.DocumentPropertiesA);
    if (!complete) return std::nullopt;
    return library;
}

}  // namespace

const WinspoolLibrary* WinspoolLibrary::Get() {
    static const std::optional<WinspoolLibrary> library = Load();
    return library ? &*library : nullptr;
}

}  // namespace platform::win32
