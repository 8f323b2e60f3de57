#include "setup/install_sequence.h"

#include <array>

#include "common/installlog/install_log.h"
#include "common/product/product_files.h"
#include "common/product/registry_names.h"
#include "common/runlog/run_log.h"
#include "common/profile/private_profile.h"
#include "common/text/ansi_path.h"
#include "common/text/text.h"
#include "resources/setup/setup_strings.h"
#include "setup/command_line.h"
#include "setup/destination.h"
#include "setup/exit_codes.h"
#include "setup/file_deployment.h"
#include "setup/registry_records.h"
#include "setup/start_menu_shortcuts.h"
#include "setup/spooler/ghostscript.h"
#include "setup/spooler/port_monitor.h"
#include "setup/spooler/printer.h"
#include "setup/spooler/printer_driver.h"
#include "setup/ui/error_report.h"
#include "setup/ui/system_probes.h"

namespace setup {
namespace {

constexpr std::size_t kOwnPathCapacity = 501;     // the installer's own path: 500 characters
constexpr std::size_t kSystemFolderCapacity = 257;
constexpr std::size_t kShortMessageCapacity = 256;
constexpr std::size_t kLongMessageCapacity = 1024;

// Ends the run through the generic error box.
int EndWithReport(SetupContext& context, const StepResult& failure) {
    CloseProgress(context);
    if (!failure.alreadyReported) (void)ReportSetupError(context, failure.messageId, failure.error);
    return static_cast<int>(failure.messageId);
}

int EndQuietly(SetupContext& context, int exitCode) {
    CloseProgress(context);
    return exitCode;
}

void ShowProductMessage(SetupContext& context, std::uint32_t id, std::size_t capacity) {
    (void)context.os.ui.MessageBox(LoadMessage(context.os.ui, id, capacity, context.state.productName),
                                   SetupCaption(context.state), platform::MessageBoxButtons::Ok);
}

// Step 3: the medium folder and the settings file beside the installer. Without its own
// path the installer does not know its medium: reading "Setup.inf" from the working
// folder instead could install whatever lies there, so the run ends as for a missing
// install log.
StepResult LocateMedium(SetupContext& context) {
    const auto ownPath = context.os.system.GetModuleFileName(kOwnPathCapacity);
    if (!ownPath) return StepResult::Failed(IDS_NO_INSTALL_LOG, ownPath.error);
    context.state.sourceFolder = text::FolderOf(ownPath.value(), context.leadBytes);
    if (context.state.sourceFolder.empty()) return StepResult::Failed(IDS_NO_INSTALL_LOG, platform::kErrorBadPathname);
    context.state.settingsPath = context.state.sourceFolder + product::kSettingsName;
    context.settings.Bind(context.os.files, context.state.settingsPath);
    return StepResult::Done();
}

// Step 4.
StepResult ReadInstallLog(SetupContext& context) {
    const auto loaded = installlog::LoadInstallLog(context.os.files, context.state.sourceFolder,
                                                   installlog::ReadScope::Installer);
    if (!loaded.log) return StepResult::Failed(IDS_NO_INSTALL_LOG, loaded.error);
    const installlog::InstallLog& log = *loaded.log;
    InstallState& state = context.state;
    // The reader refuses names longer than their fields, so these copies are whole.
    state.printerName = log.PrinterName;
    state.portName = log.PortName;
    state.paperSizeName = log.PaperSizeName;
    state.productName = log.ProductName;
    // With "-d" on the command line the log's folder is read and dropped.
    state.destinationSubfolder = state.destinationGiven ? std::string() : log.DestinationSubfolder;
    state.programGroup = log.ProgramGroup;
    state.programmaticAccess = log.ProgrammaticAccess != 0;
    if (log.CreateShortcuts == 0) state.createShortcuts = false;
    state.extensionComponents = log.ExtensionComponents != 0;
    return StepResult::Done();
}

// Step 5.
void LookForLicenceAndReadme(SetupContext& context) {
    InstallState& state = context.state;
    state.licensePresent = FileExists(context.os.files, state.sourceFolder + product::kLicenceName);
    state.readmeName.clear();
    for (const char* name : product::kReadmeNames) {
        if (FileExists(context.os.files, state.sourceFolder + name)) {
            state.readmeName = name;
            break;
        }
    }
}

// Step 6.
void ApplyAutoPaperSize(SetupContext& context) {
    if (SettingIsOn(context.settings, settings_keys::kAutoPaperSize)) {
        context.state.paperSizeName = PaperSizeForLocale(context.os.system.GetUserDefaultLcid());
    }
    context.state.captionSuffix = context.state.programmaticAccess ? " -" : "";
}

// Step 8.
bool IsAlreadyInstalled(SetupContext& context) {
    const auto entry = context.os.registry.OpenKey(
        platform::RegistryRoot::LocalMachine, product::UninstallKeyPath(context.state.productName),
        platform::RegistryAccess::Read, MachineView(context.state));
    return static_cast<bool>(entry);
}

// Step 10.
bool AskWelcomeAndLicence(SetupContext& context) {
    const InstallState& state = context.state;
    const auto answer = context.os.ui.MessageBox(
        LoadMessage(context.os.ui, IDS_WELCOME, kShortMessageCapacity, state.productName),
        SetupCaption(state), platform::MessageBoxButtons::YesNo);
    if (answer != platform::MessageBoxAnswer::Yes) return false;
    if (!state.licensePresent) return true;
    const std::string prompt = text::FormatPlaceholders(
        "Do you accept all the terms of the preceding License Agreement? If you choose No, "
        "Setup will close. To install %s, you must accept this agreement.",
        {state.productName});
    return context.dialogs.RunLicenceAgreement(prompt, state.sourceFolder + product::kLicenceName);
}

// Step 11: the proposed destination, the edition key and the destination dialog.
bool ChooseDestination(SetupContext& context) {
    InstallState& state = context.state;
    std::string destination = ProgramFilesBase(context) + state.destinationSubfolder;
    const std::string fromSettings = ReadSetting(context.settings, settings_keys::kDestinationFolder);
    if (!fromSettings.empty()) destination = fromSettings;

    const std::string edition = ReadSetting(context.settings, settings_keys::kQuilletPro);
    if (!edition.empty() && profile::ParseLeadingLong(edition) != 0) CreateEditionKey(context);

    if (!state.silent) {
        const auto chosen = context.dialogs.RunDestinationFolder(destination);
        if (!chosen) return false;
        destination = *chosen;
    }
    state.destinationFolder = text::WithoutTrailingBackslash(destination, context.leadBytes);
    return true;
}

// Step 14.
StepResult FindSystemFolder(SetupContext& context) {
    const auto folder = context.os.system.GetSystemDirectory(kSystemFolderCapacity);
    if (!folder) return StepResult::Failed(IDS_NO_SYSTEM_DIRECTORY, folder.error);
    context.state.systemFolder = folder.value() + "\\";
    return StepResult::Done();
}

// Step 32.
void OpenReadme(SetupContext& context) {
    const InstallState& state = context.state;
    if (state.silent || state.readmeName.empty()) return;
    (void)context.os.shell.OpenDocument(state.destinationFolder + "\\" + state.readmeName);
}

bool IsWindows98OrMe(const InstallState& state) {
    return state.osMajor == 4 && state.osMinor <= 90;
}

}  // namespace

void CloseProgress(SetupContext& context) {
    if (context.progress) {
        context.progress->Close();
        context.progress.reset();
    }
}

void PointErrorLogAtDestination(SetupContext& context) {
    context.errorLogPath = context.state.destinationFolder + "\\" + product::kErrorLogName;
}

void StepProgress(SetupContext& context) {
    if (!context.state.silent && context.progress) context.progress->StepIt();
}

namespace {

// A step's result, written to the run log.
StepResult Logged(SetupContext& context, int number, const char* name, StepResult result) {
    context.runLog.Step(number, name, result.ok() ? "done" : "failed", result.error);
    return result;
}

void LogStep(SetupContext& context, int number, const char* name, const char* outcome, std::uint32_t error = 0) {
    context.runLog.Step(number, name, outcome, error);
}

const char* DoneOrFailed(bool done) { return done ? "done" : "failed"; }

// Steps 3 to 33; gives the exit status.
int RunSteps(SetupContext& context) {
    InstallState& state = context.state;
    if (const StepResult medium = Logged(context, 3, "medium folder", LocateMedium(context)); !medium.ok()) {
        return EndWithReport(context, medium);
    }
    if (const StepResult log = Logged(context, 4, "install log", ReadInstallLog(context)); !log.ok()) {
        return EndWithReport(context, log);
    }
    LookForLicenceAndReadme(context);
    ApplyAutoPaperSize(context);

    if (!SelectSpoolerPlatform(context)) {
        LogStep(context, 7, "Windows version", "not supported");
        return EndQuietly(context, kExitInstallFailed);
    }
    if (IsAlreadyInstalled(context)) {
        LogStep(context, 8, "already installed", "the uninstall entry exists");
        if (!state.silent) ShowProductMessage(context, IDS_ALREADY_INSTALLED, kShortMessageCapacity);
        return EndQuietly(context, kExitAlreadyInstalled);
    }
    if (const StepResult monitors = Logged(context, 9, "port monitors", CheckPortMonitors(context)); !monitors.ok()) {
        return EndWithReport(context, monitors);
    }
    if (!state.silent && !AskWelcomeAndLicence(context)) {
        LogStep(context, 10, "welcome and licence", "declined");
        return EndQuietly(context, kExitUserCancelled);
    }
    if (!state.destinationGiven && !ChooseDestination(context)) {
        LogStep(context, 11, "destination", "cancelled");
        return EndQuietly(context, kExitUserCancelled);
    }
    LogStep(context, 11, ("destination " + state.destinationFolder).c_str(), "chosen");
    if (const StepResult key = Logged(context, 12, "product key", WriteProductKey(context)); !key.ok()) {
        return EndWithReport(context, key);
    }

    if (!state.silent) context.progress = context.dialogs.OpenProgress("Setup is preparing...");

    if (const StepResult system = Logged(context, 14, "system folder", FindSystemFolder(context)); !system.ok()) {
        return EndWithReport(context, system);
    }
    if (const StepResult folder = Logged(context, 16, "destination folder", CreateDestinationFolder(context));
        !folder.ok()) {
        return EndWithReport(context, folder);
    }
    PointErrorLogAtDestination(context);
    if (const StepResult files = Logged(context, 18, "product files", DeployProductFiles(context)); !files.ok()) {
        return EndWithReport(context, files);
    }
    if (const StepResult ghostscript = Logged(context, 19, "Ghostscript", PrepareGhostscript(context));
        !ghostscript.ok()) {
        return EndWithReport(context, ghostscript);
    }
    StepProgress(context);

    state.driverInstalled = InstallPrinterDriver(context);
    LogStep(context, 20, "printer driver", DoneOrFailed(state.driverInstalled));
    StepProgress(context);
    DeployPortMonitor(context);
    LogStep(context, 21, "port monitor DLL", "done");
    StepProgress(context);
    const platform::Win32Result port = RegisterPortMonitor(context);
    LogStep(context, 22, "port monitor and port", port ? "done" : "passed over", port.error);
    StepProgress(context);
    const bool printerInstalled = state.driverInstalled && InstallPrinter(context);
    LogStep(context, 23, "printer", state.driverInstalled ? DoneOrFailed(printerInstalled) : "skipped: no driver");
    StepProgress(context);
    const platform::Win32Result entry = RegisterUninstallEntry(context);
    LogStep(context, 24, "uninstall entry", DoneOrFailed(static_cast<bool>(entry)), entry.error);
    StepProgress(context);
    if (state.createShortcuts) CreateStartMenuShortcuts(context);
    LogStep(context, 25, "shortcuts", state.createShortcuts ? "done" : "skipped");
    StepProgress(context);

    if (state.osMajor == 5) (void)context.os.system.SetForegroundLockTimeout(0);
    if (IsWindows98OrMe(state)) WriteLegacyDefaultDevMode(context);
    ClearTransientValues(context);
    LogStep(context, 28, "transient values", "cleared");
    StepProgress(context);
    CloseProgress(context);

    if (!state.silent) ShowProductMessage(context, IDS_FINISHED, kLongMessageCapacity);
    if (const StepResult portKey = Logged(context, 31, "port key", WritePortKey(context)); !portKey.ok()) {
        return EndWithReport(context, portKey);
    }
    OpenReadme(context);
    // The run goes to its end as it always has, but a machine without a printer or
    // without the entry that removes it is not a finished installation.
    return printerInstalled && entry ? kExitInstalled : kExitInstallFailed;
}

}  // namespace

int RunInstallSequence(SetupContext& context) {
    // Steps 1 and 2: the command line, and with it the run log.
    // A code page that cannot be asked is taken for a single-byte one.
    context.leadBytes = text::LeadBytes(context.os.system.GetAnsiLeadByteRanges().ValueOr({}));
    const std::vector<std::string> arguments = context.os.system.GetCommandLineArguments();
    ParseSetupCommandLine(arguments, context.leadBytes, context.state);
    if (!context.state.runLogPath.empty()) {
        context.runLog = runlog::RunLog(context.os, context.state.runLogPath);
        context.runLog.Start("Setup", arguments);
    }
    const int status = RunSteps(context);
    context.runLog.Exit(status);
    return status;
}

}  // namespace setup
