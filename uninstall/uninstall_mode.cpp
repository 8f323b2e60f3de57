#include "uninstall/uninstall_mode.h"

#include <optional>
#include <vector>

#include "common/installlog/install_log.h"
#include "common/product/product_files.h"
#include "common/product/run_lock.h"
#include "common/spooler/port_monitors.h"
#include "common/spooler/spooler_service.h"
#include "common/text/text.h"
#include "resources/uninstall/uninstall_strings.h"
#include "uninstall/exit_codes.h"
#include "uninstall/file_removal.h"
#include "uninstall/install_folder_check.h"
#include "uninstall/self_removal.h"
#include "uninstall/spooler_removal.h"
#include "uninstall/uninstall_messages.h"

namespace uninstall {
namespace {

constexpr std::size_t kOwnPathCapacity = 261;      // 260 characters
constexpr std::size_t kTempFolderCapacity = 261;   // a temporary folder of 1 to 260 characters
constexpr std::size_t kShortMessageCapacity = 256;
constexpr std::size_t kLogMessageCapacity = 500;

// Message 4, also when silent, with an empty caption: the product is not known yet.
int EndWithoutInstallLog(UninstallContext& context, int step) {
    const std::string text = context.os.ui.LoadString(IDS_NO_UNINSTALL_LOG, kLogMessageCapacity);
    (void)ShowBox(context, step, text, "", platform::MessageBoxButtons::Ok);
    return kExitFailed;
}

// An uninstaller outside the installation's folder (on the medium, say) removes nothing:
// it would delete that folder's files and leave the installation as it is.
int EndOutsideInstallFolder(UninstallContext& context, const std::string& why) {
    context.runLog.Step(4, "install folder " + context.installFolder, "not the installation's: " + why);
    const std::string text = text::FormatPlaceholders(
        "%s is not installed in the folder of this uninstaller. Uninstallation will not continue.",
        {context.productName});
    (void)ShowBox(context, 4, text, context.productName, platform::MessageBoxButtons::Ok);
    return kExitFailed;
}

// Before anything else: the machine-wide lock of installations and removals, held until
// the run ends. Another run holds it when the name exists already, or when it may not be
// opened (made by a run of another user); the run then ends at once. A lock that cannot
// be made for another reason does not stop the removal.
std::optional<platform::CreatedMutex> TakeRunLock(UninstallContext& context) {
    platform::CreatedMutex lock = context.os.processes.CreateNamedMutex(product::RunLockName());
    if (lock && !lock.alreadyExisted) return lock;
    if (!lock && lock.error != platform::kErrorAccessDenied) {
        context.runLog.Step(0, "run lock", "not taken", lock.error);
        return lock;
    }
    context.runLog.Step(0, "run lock", "held by another installation or removal");
    if (!context.silent) {
        (void)context.os.ui.MessageBox(
            "Another installation or removal of the printer is in progress. Uninstallation will not continue; "
            "try again when it has finished.",
            "", platform::MessageBoxButtons::Ok);
    }
    return std::nullopt;
}

// Step 1: the uninstaller's own path and the install folder that holds it.
bool LocateInstallFolder(UninstallContext& context) {
    context.leadBytes = text::LeadBytes(context.os.system.GetAnsiLeadByteRanges().ValueOr({}));
    const auto ownPath = context.os.system.GetModuleFileName(kOwnPathCapacity);
    if (!ownPath) return false;
    context.ownPath = ownPath.value();
    context.installFolder = text::FolderOf(context.ownPath, context.leadBytes);
    return !context.installFolder.empty();
}

// Step 3: the decoded log goes through a new file in the temporary folder, or through
// "temp.tmp" in the install folder when Windows names no usable temporary folder.
std::string ChooseTemporaryFile(UninstallContext& context) {
    const auto tempFolder = context.os.files.GetTempPath(kTempFolderCapacity);
    if (tempFolder && !tempFolder.value().empty()) {
        const auto made = context.os.files.GetTempFileName(tempFolder.value(), "PMT");
        if (made) return made.value();
    }
    return context.installFolder + "temp.tmp";
}

struct ReadLog {
    std::optional<installlog::InstallLog> log;
    std::uint32_t error = platform::kErrorSuccess;  // of the temporary file
};

// Steps 4 and 5: the unscrambled payload is written to the temporary file, read back
// and parsed; the file is deleted again whatever happened (the temporary name is a
// file already, made empty by Windows).
ReadLog ParseThroughTemporaryFile(UninstallContext& context, const std::vector<std::uint8_t>& payload) {
    const std::string temporary = ChooseTemporaryFile(context);
    const auto written = context.os.files.WriteWholeFile(temporary, payload);
    const auto readBack = written ? context.os.files.ReadWholeFile(temporary)
                                  : platform::Win32Value<std::vector<std::uint8_t>>::Failed(written.error);
    (void)DeleteMatchingFiles(context.os.files, temporary, context.leadBytes);  // what stays is passed over
    if (!readBack) return {std::nullopt, readBack.error};
    return {installlog::ParseInstallLogPayload(readBack.value(), installlog::ReadScope::Uninstaller).log,
            platform::kErrorSuccess};
}

void TakeNames(UninstallContext& context, const installlog::InstallLog& log) {
    context.printerName = log.PrinterName;
    context.portName = log.PortName;
    context.productName = log.ProductName;
    context.programGroup = log.ProgramGroup;
}

}  // namespace

int RunUninstallMode(platform::Platform& os, bool silent, runlog::RunLog runLog) {
    UninstallContext context(os, silent, std::move(runLog));
    runlog::RunLog& log = context.runLog;
    const auto lock = TakeRunLock(context);
    if (!lock) return kExitAnotherRunInProgress;
    if (!LocateInstallFolder(context)) {
        log.Step(1, "own folder", "not found");
        return EndWithoutInstallLog(context, 1);
    }

    // Step 2: the install log beside the uninstaller; a malformed one counts as missing.
    const auto file = os.files.ReadWholeFile(context.installFolder + product::kInstallLogName);
    if (!file) {
        log.Step(2, "install log " + context.installFolder + product::kInstallLogName, "not readable", file.error);
        return EndWithoutInstallLog(context, 2);
    }
    const installlog::UnscrambleResult unscrambled = installlog::UnscrambleInstallLog(file.value());
    if (!unscrambled.payload) {
        log.Step(2, "install log", "malformed: " + unscrambled.problem);
        return EndWithoutInstallLog(context, 2);
    }

    const ReadLog read = ParseThroughTemporaryFile(context, *unscrambled.payload);
    if (read.error != platform::kErrorSuccess) {
        log.Step(4, "temporary file", "failed", read.error);
        ShowUninstallFailure(context, read.error);
        return kExitFailed;
    }
    if (!read.log) {
        log.Step(4, "install log", "malformed");
        return EndWithoutInstallLog(context, 4);
    }
    TakeNames(context, *read.log);
    log.Step(4, "install log of " + context.productName, "read");
    if (const auto why = WhyNotTheInstallFolder(context)) return EndOutsideInstallFolder(context, *why);

    // Step 6: a spooler that cannot list its monitors cannot remove anything either.
    if (const auto listed = spooler::ListPortMonitors(os.spooler); !listed) {
        log.Step(6, "port monitors", "failed", listed.error);
        log.Step(6, "port monitors", "Spooler service: " + spooler::DescribeSpoolerService(os.system));
        ShowUninstallFailure(context, listed.error);
        return kExitFailed;
    }
    if (!silent && ShowProductMessage(context, IDS_CONFIRM_REMOVAL, kShortMessageCapacity,
                                      platform::MessageBoxButtons::YesNo) != platform::MessageBoxAnswer::Yes) {
        log.Step(7, "question", "answered No");
        return kExitUserCancelled;
    }

    if (!RemoveSpoolerObjects(context)) {
        log.Step(8, "spooler objects", "stopped: no system folder");
        return kExitFailed;
    }
    log.Step(8, "spooler objects", "removed");
    RemoveRegistryEntries(context);
    RemoveShortcuts(context);
    RemoveGhostscriptFolder(context);
    RemoveProductFiles(context);
    log.Step(9, "keys, shortcuts and files", "removed");

    if (!silent) {
        (void)ShowProductMessage(context, IDS_REMOVED, kShortMessageCapacity, platform::MessageBoxButtons::Ok);
    }
    RemoveInstallLogAndFolder(context);
    StartSelfRemoval(context);
    log.Step(11, "self-removal", "started");
    if (context.printerLeft) return kExitFailed;
    return context.restartNeeded ? kExitRestartNeeded : kExitDone;
}

}  // namespace uninstall
