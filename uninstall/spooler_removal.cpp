#include "uninstall/spooler_removal.h"

#include "common/product/platform_rows.h"
#include "common/product/spooler_names.h"
#include "common/spooler/product_records.h"
#include "common/text/text.h"

#include <algorithm>
#include <vector>
#include "uninstall/file_removal.h"
#include "uninstall/uninstall_messages.h"

namespace uninstall {
namespace {

constexpr std::size_t kSystemFolderCapacity = 513;  // 512 characters
constexpr std::uint32_t kDriverFolderBytes = 1024;

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

// The driver with the files of it that no other driver uses, where the spooler can do
// that; where it cannot (no such call, or a spooler that refuses it: Wine's), the driver
// alone, as before. Refused while a printer uses the driver either way.
bool RemoveDriver(platform::Spooler& spooler) {
    const std::string environment = product::kUninstallerRow.environment;
    if (spooler.DeletePrinterDriverEx(environment, product::kDriverName, platform::kDpdDeleteUnusedFiles)) return true;
    return static_cast<bool>(spooler.DeletePrinterDriver(environment, product::kDriverName));
}

std::string BaseName(const std::string& path) {
    const std::size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The installer stages the driver's files in the root of the spooler's driver folder
// before it adds the driver, which copies them into its version folder; the staged
// copies go once no driver of the environment names a file of theirs.
void RemoveStagedDriverFiles(UninstallContext& context) {
    platform::Spooler& spooler = context.os.spooler;
    const std::string environment = product::kUninstallerRow.environment;
    const auto folder = spooler.GetPrinterDriverDirectory(environment, kDriverFolderBytes);
    if (!folder || folder.bytesNeeded() >= kDriverFolderBytes) return;
    std::vector<std::string> used;
    const auto size = spooler.EnumPrinterDrivers(environment, 0);
    if (size.WantsLargerBuffer()) {
        const auto listed = spooler.EnumPrinterDrivers(environment, size.bytesNeeded());
        if (!listed) return;  // without the list nothing is known to be unused
        for (const platform::DriverInfo3& driver : listed.value()) {
            for (const std::string& file : {driver.driverPath, driver.dataFile, driver.configFile, driver.helpFile}) {
                used.push_back(BaseName(file));
            }
            for (const std::string& file : driver.dependentFiles) used.push_back(BaseName(file));
        }
    } else if (!size) {
        return;
    }
    const platform::DriverInfo3 staged = spooler::ProductNtDriverRecord(environment, "");
    std::vector<std::string> names = {staged.driverPath, staged.dataFile, staged.configFile, staged.helpFile};
    names.insert(names.end(), staged.dependentFiles.begin(), staged.dependentFiles.end());
    for (const std::string& name : names) {
        const bool inUse = std::any_of(used.begin(), used.end(), [&](const std::string& u) { return text::EqualsNoCase(u, name); });
        if (!name.empty() && !inUse) (void)context.os.files.DeleteFile(folder.value() + "\\" + name);
    }
}

}  // namespace

bool RemoveSpoolerObjects(UninstallContext& context) {
    platform::Spooler& spooler = context.os.spooler;
    RemovePrinter(context);
    // Refused while another printer uses the driver or the port; that is as it should be.
    if (RemoveDriver(spooler)) RemoveStagedDriverFiles(context);
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
