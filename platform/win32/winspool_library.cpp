#include "platform/win32/winspool_library.h"

#include <optional>

#include "platform/win32/dll_search.h"
#include "platform/win32/system_function.h"

namespace platform::win32 {
namespace {

// `function` set to the export `name` of `module`; false when there is none.
template <class Function>
bool Resolve(HMODULE module, const char* name, Function& function) {
    function = ExportedFunction<Function>(module, name);
    return function != nullptr;
}

std::optional<WinspoolLibrary> Load() {
    const HMODULE module = LoadSystemLibrary("winspool.drv");
    if (module == nullptr) return std::nullopt;
    WinspoolLibrary library;
    const bool complete =
        Resolve(module, "EnumMonitorsA", library.EnumMonitorsA) && Resolve(module, "AddMonitorA", library.AddMonitorA) &&
        Resolve(module, "EnumPortsA", library.EnumPortsA) &&
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
    (void)Resolve(module, "DeletePrinterDriverExA", library.DeletePrinterDriverExA);
    return library;
}

}  // namespace

const WinspoolLibrary* WinspoolLibrary::Get() {
    static const std::optional<WinspoolLibrary> library = Load();
    return library ? &*library : nullptr;
}

}  // namespace platform::win32
