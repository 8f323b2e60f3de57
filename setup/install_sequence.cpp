#include "setup/install_sequence.h"

#include <array>

#include "common/installlog/install_log.h"
#include "common/product/product_files.h"
#include "common/product/registry_names.h"
#include "common/product/run_lock.h"
#include "common/runlog/run_log.h"
#include "common/spooler/spooler_service.h"
#include "common/profile/private_profile.h"
#include "common/text/ansi_path.h"
#include "common/text/text.h"
#include "resources/setup/setup_strings.h"
#include "setup/command_line.h"
#include "setup/destination.h"
#include "setup/exit_codes.h"
#include "setup/file_deployment.h"
#include "setup/file_probes.h"
#include "setup/other_editions.h"
#include "setup/platform_selection.h"
#include "setup/protected_print.h"
#include "setup/registry_records.h"
#include "setup/start_menu_shortcuts.h"
#include "setup/spooler/ghostscript.h"
#include "setup/spooler/port_monitor.h"
#include "setup/spooler/printer.h"
#include "setup/spooler/printer_driver.h"
#include "setup/ui/error_report.h"

namespace setup {
namespace {

constexpr std::size_t kOwnPathCapacity = 501;     // the installer's own path: 500 characters
constexpr std::size_t kSystemFolderCapacity = 257;
constexpr std::size_t kShortMessageCapacity = 256;
constexpr std::size_t kLongMessageCapacity = 1024;

// Ends the run through the generic error box.
// Ends the run through the generic error box; the status is the message id that names
// the failed step, whatever the box shows.
int EndWithReport(SetupContext& context, const StepResult& failure) {
    context.feedback.CloseProgress();
    if (!failure.alreadyReported) context.feedback.ReportError(failure.error);
    return static_cast<int>(failure.messageId);
}

int EndQuietly(SetupContext& context, int exitCode) {
    context.feedback.CloseProgress();
    return exitCode;
}

// A step's result, written to the run log.
StepResult Logged(SetupContext& context, int number, const char* name, StepResult result) {
    context.runLog.Step(number, name, result.ok() ? "done" : "failed", result.error);
    return result;
}

void LogStep(SetupContext& context, int number, const char* name, const char* outcome, std::uint32_t error = 0) {
    context.runLog.Step(number, name, outcome, error);
}

const char* DoneOrFailed(bool done) { return done ? "done" : "failed"; }

void ShowProductMessage(SetupContext& context, std::uint32_t id, std::size_t capacity) {
    (void)context.os.ui.MessageBox(LoadMessage(context.os.ui, id, capacity, context.state.productName),
                                   SetupCaption(context.state), platform::MessageBoxButtons::Ok);
}

// The medium folder and the settings file beside the installer. Without its own
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

// The install log's names and flags.
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

// The licence and the first readme of the medium.
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

// The paper size of the user's locale when the settings ask for it, and the caption.
void ApplyAutoPaperSize(SetupContext& context) {
    if (SettingIsOn(context.settings, settings_keys::kAutoPaperSize)) {
        context.state.paperSizeName = PaperSizeForLocale(context.os.system.GetUserDefaultLcid());
    }
    context.state.captionSuffix = context.state.programmaticAccess ? " -" : "";
}

// The platform row, or the box that refuses the platform (shown also when silent);
// `refused` is then the refused row, if there is one.
bool ChoosePlatform(SetupContext& context, const product::PlatformRow*& refused) {
    const SelectedPlatform selected = SelectPlatformRow(context.os.system, context.programIs64Bit);
    if (selected.row == nullptr || !selected.row->supported) {
        refused = selected.row;
        context.feedback.ShowEvenWhenSilent(RefusalText(selected.row, context.state.productName),
                                            SetupCaption(context.state));
        return false;
    }
    context.state.platformRow = selected.row;
    context.state.osMajor = selected.version.major;
    context.state.osMinor = selected.version.minor;
    return true;
}

// One installation or removal of the product at a time, machine-wide: a second run ends
// before it changes anything. A system that has no "Global\" namespace takes the name
// without it; one that cannot make the lock at all runs without it, as before.
int TakeRunLock(SetupContext& context) {
    platform::Processes& processes = context.os.processes;
    platform::CreatedMutex lock = processes.CreateNamedMutex(product::RunLockName());
    // Denied: another run, as another user, holds the lock.
    if (!lock && lock.error != platform::kErrorAccessDenied) lock = processes.CreateNamedMutex(product::LocalRunLockName());
    if (lock && !lock.alreadyExisted) {
        context.runLock = std::move(lock.mutex);
        return kExitInstalled;
    }
    if (!lock && lock.error != platform::kErrorAccessDenied) {
        LogStep(context, 4, "run lock", "not available, run without it", lock.error);
        return kExitInstalled;
    }
    LogStep(context, 4, "run lock", "another installation or removal is running");
    context.feedback.TellRefusal("Another installation or removal of " + context.state.productName +
                                     " is in progress. Wait until it has finished, then run Setup again.",
                                 SetupCaption(context.state));
    return kExitAnotherRunInProgress;
}

// What cannot work is refused here, before anything is written: a Windows the product
// has no row for, Windows on ARM, and Windows protected print mode. Gives the exit
// status of the refusal, or 0 to go on.
int RefuseWhatCannotWork(SetupContext& context) {
    const product::PlatformRow* refused = nullptr;
    if (!ChoosePlatform(context, refused)) {
        LogStep(context, 7, refused != nullptr ? refused->name : "Windows version", "not supported");
        return kExitInstallFailed;
    }
    if (ProtectedPrintModeIsOn(context.os.registry, *context.state.platformRow)) {
        LogStep(context, 7, "Windows protected print mode", "on, not supported");
        context.feedback.TellRefusal(ProtectedPrintRefusalText(context.state.productName), SetupCaption(context.state));
        return kExitBlockedByPolicy;
    }
    return kExitInstalled;
}

enum class EarlierInstallation { None, Complete, Interrupted, Broken };

// An earlier installation of the product left its uninstall entry. It is complete once its
// port key, written last, is there too; without it the run was interrupted. One whose
// registered uninstaller is gone (its folder deleted by hand) can never be removed.
// Both are installed over, which makes the uninstaller work again.
EarlierInstallation FindEarlierInstallation(platform::Registry& registry, platform::FileSystem& files,
                                            const product::PlatformRow& row, const InstallState& state) {
    const auto entry = registry.OpenKey(platform::RegistryRoot::LocalMachine, product::UninstallKeyPath(state.productName),
                                        platform::RegistryAccess::Read, row.machineView);
    if (!entry) return EarlierInstallation::None;
    const auto portKey = registry.OpenKey(platform::RegistryRoot::LocalMachine, product::PortKeyPath(state.portName),
                                          platform::RegistryAccess::Read, row.machineView);
    if (!portKey) return EarlierInstallation::Interrupted;
    const auto command = entry.key->QueryValue(product::kUninstallStringRecord.name, kLongMessageCapacity);
    if (!command || command.value().data.empty()) return EarlierInstallation::Complete;
    // The command is the quoted program and its arguments.
    std::string program(command.value().data.begin(), command.value().data.end());
    program = program.substr(0, program.find('\0'));
    if (program.empty()) return EarlierInstallation::Complete;
    program = program[0] == '"' ? program.substr(1, program.find('"', 1) - 1) : program.substr(0, program.find(' '));
    const auto found = files.GetFileAttributes(program);
    const bool missing = !found && (found.error == platform::kErrorFileNotFound || found.error == platform::kErrorPathNotFound);
    return missing ? EarlierInstallation::Broken : EarlierInstallation::Complete;
}

// The welcome box and, when the medium has one, the licence.
LicenceAnswer AskWelcomeAndLicence(SetupContext& context) {
    const InstallState& state = context.state;
    const auto answer = context.os.ui.MessageBox(
        LoadMessage(context.os.ui, IDS_WELCOME, kShortMessageCapacity, state.productName),
        SetupCaption(state), platform::MessageBoxButtons::YesNo);
    if (answer != platform::MessageBoxAnswer::Yes) return LicenceAnswer::Refused;
    if (!state.licensePresent) return LicenceAnswer::Accepted;
    const std::string prompt = text::FormatPlaceholders(
        "Do you accept all the terms of the preceding License Agreement? If you choose No, "
        "Setup will close. To install %s, you must accept this agreement.",
        {state.productName});
    return context.dialogs.RunLicenceAgreement(prompt, state.sourceFolder + product::kLicenceName);
}

// The proposed destination, the edition key and the destination dialog.
bool ChooseDestination(SetupContext& context, const product::PlatformRow& row) {
    InstallState& state = context.state;
    std::string destination =
        ProgramFilesBase(context.os.shell, context.os.registry, row, context.leadBytes) + state.destinationSubfolder;
    const std::string fromSettings = ReadSetting(context.settings, settings_keys::kDestinationFolder);
    if (!fromSettings.empty()) destination = fromSettings;

    const std::string edition = ReadSetting(context.settings, settings_keys::kQuilletPro);
    if (!edition.empty() && profile::ParseLeadingLong(edition) != 0) CreateEditionKey(context.os.registry, row);

    if (!state.silent) {
        // OK refuses what the folder step would refuse, while another folder can be chosen.
        const DestinationJudge judge{context.os.files, context.os.shell, context.os.registry, context.os.system,
                                     row, context.leadBytes, state.sourceFolder};
        const auto refusal = [&](const std::string& folder) {
            return CheckDestinationFolder(judge, text::WithoutTrailingBackslash(folder, context.leadBytes)).reason;
        };
        const auto chosen = context.dialogs.RunDestinationFolder(destination, refusal);
        if (!chosen) return false;
        destination = *chosen;
    }
    state.destinationFolder = text::WithoutTrailingBackslash(destination, context.leadBytes);
    return true;
}

// The system folder, where the 32-bit port monitor and the 4.x driver go.
StepResult FindSystemFolder(SetupContext& context) {
    const auto folder = context.os.system.GetSystemDirectory(kSystemFolderCapacity);
    if (!folder) return StepResult::Failed(IDS_NO_SYSTEM_DIRECTORY, folder.error);
    context.state.systemFolder = folder.value() + "\\";
    return StepResult::Done();
}

// The readme, opened for the person who installed interactively.
void OpenReadme(SetupContext& context) {
    const InstallState& state = context.state;
    if (state.silent || state.readmeName.empty()) return;
    (void)context.os.shell.OpenDocument(state.destinationFolder + "\\" + state.readmeName);
}

bool IsWindows98OrMe(const InstallState& state) {
    return state.osMajor == 4 && state.osMinor <= 90;
}



// The steps after the command line, in their order; gives the exit status.
int RunSteps(SetupContext& context) {
    InstallState& state = context.state;
    platform::Platform& os = context.os;
    StepFeedback& feedback = context.feedback;
    if (const StepResult medium = Logged(context, 3, "medium folder", LocateMedium(context)); !medium.ok()) {
        return EndWithReport(context, medium);
    }
    if (const StepResult log = Logged(context, 4, "install log", ReadInstallLog(context)); !log.ok()) {
        return EndWithReport(context, log);
    }
    if (const int locked = TakeRunLock(context); locked != kExitInstalled) return EndQuietly(context, locked);
    LookForLicenceAndReadme(context);
    ApplyAutoPaperSize(context);

    if (const int refused = RefuseWhatCannotWork(context); refused != kExitInstalled) {
        return EndQuietly(context, refused);
    }
    const product::PlatformRow& row = *state.platformRow;
    switch (FindEarlierInstallation(os.registry, os.files, row, state)) {
        case EarlierInstallation::Complete:
            LogStep(context, 8, "already installed", "the uninstall entry exists");
            if (!state.silent) ShowProductMessage(context, IDS_ALREADY_INSTALLED, kShortMessageCapacity);
            return EndQuietly(context, kExitAlreadyInstalled);
        case EarlierInstallation::Interrupted:
            LogStep(context, 8, "already installed", "interrupted, without its port key: installing over it");
            break;
        case EarlierInstallation::Broken:
            LogStep(context, 8, "already installed", "the uninstall entry's uninstaller is missing: installing over it");
            break;
        case EarlierInstallation::None: break;
    }
    if (const auto owner = FindForeignOwner(os.registry, os.files, os.spooler, row, state)) {
        LogStep(context, 8, ("printer and port: " + owner->what + " belongs to " + owner->productName).c_str(),
                "not installed");
        feedback.TellRefusal(ForeignOwnerText(state.productName, *owner), SetupCaption(state));
        return EndQuietly(context, kExitOwnedByAnotherEdition);
    }
    if (const StepResult monitors = Logged(context, 9, "port monitors", CheckPortMonitors(os.spooler)); !monitors.ok()) {
        // The likely cause, for the administrator who reads the log.
        LogStep(context, 9, "Spooler service", spooler::DescribeSpoolerService(os.system).c_str());
        return EndWithReport(context, monitors);
    }
    if (!state.silent) {
        const LicenceAnswer asked = AskWelcomeAndLicence(context);
        if (asked == LicenceAnswer::Refused) {
            LogStep(context, 10, "welcome and licence", "declined");
            return EndQuietly(context, kExitUserCancelled);
        }
        // A licence that was never seen was not accepted.
        if (asked == LicenceAnswer::NotShown) {
            LogStep(context, 10, "licence", "the dialog could not be shown");
            feedback.ReportError(0);
            return EndQuietly(context, kExitInstallFailed);
        }
    }
    if (!state.destinationGiven && !ChooseDestination(context, row)) {
        LogStep(context, 11, "destination", "cancelled");
        return EndQuietly(context, kExitUserCancelled);
    }
    LogStep(context, 11, ("destination " + state.destinationFolder).c_str(), "chosen");
    const StepResult key = WriteProductKey(os.registry, row, state, context.settings);
    if (!Logged(context, 12, "product key", key).ok()) return EndWithReport(context, key);

    if (!state.silent) feedback.ShowProgress(context.dialogs.OpenProgress("Setup is preparing..."));

    if (const StepResult system = Logged(context, 14, "system folder", FindSystemFolder(context)); !system.ok()) {
        return EndWithReport(context, system);
    }
    const DestinationJudge judge{os.files, os.shell, os.registry, os.system, row, context.leadBytes, state.sourceFolder};
    const StepResult folder = CreateDestinationFolder(os.files, judge, state.destinationFolder);
    if (!Logged(context, 16, "destination folder", folder).ok()) return EndWithReport(context, folder);
    feedback.PointErrorLogAt(state.destinationFolder);

    const DeployedFiles files = DeployProductFiles(os.files, os.processes, row, state, feedback);
    state.uninstallerPath = files.uninstallerPath;
    if (!Logged(context, 18, "product files", files.result).ok()) return EndWithReport(context, files.result);
    const PreparedGhostscript ghostscript =
        PrepareGhostscript(os.registry, os.files, os.processes, state, context.settings,
                           GhostscriptView(context.programIs64Bit), context.leadBytes);
    state.ghostscriptDeployed = ghostscript.deployed;
    if (!Logged(context, 19, "Ghostscript", ghostscript.result).ok()) return EndWithReport(context, ghostscript.result);
    feedback.Step();

    state.driverInstalled = InstallPrinterDriver({os.spooler, os.files, row, state}, feedback);
    LogStep(context, 20, "printer driver", DoneOrFailed(state.driverInstalled));
    feedback.Step();
    DeployPortMonitor(os.files, os.processes, row, state);
    LogStep(context, 21, "port monitor DLL", "done");
    feedback.Step();
    const platform::Win32Result port = RegisterPortMonitor(os.spooler, row, feedback);
    LogStep(context, 22, "port monitor and port", port ? "done" : "passed over", port.error);
    const PortCheck portCheck = CheckMonitorAndPort(os.spooler, state.portName);
    if (!portCheck.ok()) LogStep(context, 22, "port check", portCheck.Describe(), portCheck.error);
    feedback.Step();
    const PrinterSetup printer{os.spooler, feedback, row, state, context.settings};
    const bool printerInstalled = state.driverInstalled && InstallPrinter(printer);
    LogStep(context, 23, "printer", state.driverInstalled ? DoneOrFailed(printerInstalled) : "skipped: no driver");
    feedback.Step();
    const platform::Win32Result entry = RegisterUninstallEntry(os.registry, os.files, row, state, context.settings);
    LogStep(context, 24, "uninstall entry", DoneOrFailed(static_cast<bool>(entry)), entry.error);
    feedback.Step();
    if (state.createShortcuts) CreateStartMenuShortcuts({os.shell, os.files, row, state, context.leadBytes}, feedback);
    LogStep(context, 25, "shortcuts", state.createShortcuts ? "done" : "skipped");
    feedback.Step();

    if (state.osMajor == 5) (void)os.system.SetForegroundLockTimeout(0);
    if (IsWindows98OrMe(state)) WriteLegacyDefaultDevMode(os.files, os.registry, state);
    ClearTransientValues(os.registry, row);
    LogStep(context, 28, "transient values", "cleared");
    feedback.Step();
    feedback.CloseProgress();

    if (!state.silent) ShowProductMessage(context, IDS_FINISHED, kLongMessageCapacity);
    const StepResult portKey = WritePortKey(os.registry, os.files, row, state);
    if (!Logged(context, 31, "port key", portKey).ok()) return EndWithReport(context, portKey);
    OpenReadme(context);
    // The run goes to its end as it always has, but a machine without a printer, without
    // the port it prints to, or without the entry that removes it is not a finished
    // installation.
    return printerInstalled && portCheck.ok() && entry ? kExitInstalled : kExitInstallFailed;
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
    context.runLock.reset();
    return status;
}

}  // namespace setup
