#include "uninstall/spooler_removal.h"

#include "common/product/platform_rows.h"
#include "common/product/spooler_names.h"
#include "uninstall/file_removal.h"
#include "uninstall/uninstall_messages.h"

namespace uninstall {
namespace {

constexpr std::size_t kSystemFolderCapacity = 513;  // 512 characters

// A printer that cannot be opened (gone, or not ours to touch) is passed over.
void RemovePrinter(UninstallContext& context) {
    const platform::OpenedPrinter opened =
        context.os.spooler.OpenPrinter(context.printerName, platform::kPrinterAllAccess);
    if (!opened) return;
    if (!opened.printer->DeletePrinter()) {
        context.printerLeft = true;
        (void)ShowBox(context, 8, "Delete Printer failed. (Err-201)", context.productName,
                      platform::MessageBoxButtons::Ok);
    }
}

// The monitor's DLL goes only with the monitor: a monitor that still serves another
// port keeps its DLL. A DLL still loaded goes at the next restart.
void RemoveMonitor(UninstallContext& context) {
    if (!context.os.spooler.DeleteMonitor(product::kMonitorName)) return;
    DeleteOrSchedule(context, context.systemFolder + "\\" + product::kUninstallerRow.monitorDll);
}

}  // namespace

bool RemoveSpoolerObjects(UninstallContext& context) {
    platform::Spooler& spooler = context.os.spooler;
    RemovePrinter(context);
    // Refused while another printer uses the driver or the port; that is as it should be.
    (void)spooler.DeletePrinterDriver(product::kUninstallerRow.environment, product::kDriverName);
    (void)spooler.DeletePort(context.portName);

    const auto systemFolder = context.os.system.GetSystemDirectory(kSystemFolderCapacity);
    if (!systemFolder) {
        ShowUninstallFailure(context, systemFolder.error);
        return false;
    }
    context.systemFolder = systemFolder.value();
    RemoveMonitor(context);
    return true;
}

}  // namespace uninstall
