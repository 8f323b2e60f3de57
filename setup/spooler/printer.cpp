#include "setup/spooler/printer.h"

#include "common/spooler/product_records.h"
#include "setup/spooler/paper_sizes.h"

namespace setup {
namespace {

using platform::DevMode;
using platform::Printer;

constexpr std::uint32_t kMergeMode = platform::kDmInBuffer | platform::kDmOutBuffer;
constexpr char kPrintersKey[] = "System\\CurrentControlSet\\Control\\Print\\Printers\\";

void ShowErrorBox(StepFeedback& feedback, const char* text) {
    // Shown in silent mode too: the printer exists but lacks its settings.
    feedback.ShowEvenWhenSilent(text, "Error");
}

// How many bytes the printer's driver writes as its device settings.
std::int32_t DriverDevModeSize(Printer& printer, const std::string& printerName) {
    return printer.DocumentProperties(printerName, nullptr, nullptr, 0);
}

// The device settings the printer would hand out now, for a global default it lacks.
std::optional<DevMode> CurrentDevMode(Printer& printer, const std::string& printerName, std::int32_t driverSize) {
    DevMode current = DevMode::Blank(static_cast<std::size_t>(driverSize));
    if (printer.DocumentProperties(printerName, &current, nullptr, platform::kDmOutBuffer) != platform::kIdOk) {
        return std::nullopt;
    }
    return current;
}

// Has the driver merge the changed fields into its settings, in place. The driver writes
// its whole record, which can be larger than one stored earlier (by an older driver, say):
// the buffer is first grown to the driver's size so that the write stays inside it.
bool MergeInPlace(Printer& printer, const std::string& printerName, DevMode& devMode, std::int32_t driverSize) {
    devMode.GrowTo(static_cast<std::size_t>(driverSize));
    return printer.DocumentProperties(printerName, &devMode, &devMode, kMergeMode) == platform::kIdOk;
}

// NT family: the printer's global default form (level 8). False when a step failed and
// nothing more may be changed.
bool SetGlobalDefaultForm(const PrinterSetup& setup, Printer& printer) {
    const std::string& printerName = setup.state.printerName;
    const auto size = printer.GetPrinter8(0);
    if (!size && !size.WantsLargerBuffer()) return false;
    if (size.bytesNeeded() == 0) return false;
    const auto fetched = printer.GetPrinter8(size.bytesNeeded());
    if (!fetched) return false;

    const std::int32_t driverSize = DriverDevModeSize(printer, printerName);
    if (driverSize <= 0) return false;
    platform::PrinterInfo8 info = fetched.value();
    if (!info.devMode) info.devMode = CurrentDevMode(printer, printerName, driverSize);
    if (!info.devMode) return false;
    DevMode& devMode = *info.devMode;
    // A record whose public part ends before the form name has no room for one.
    if (!devMode.SetFields(platform::kDmFormName)) return false;
    if (!devMode.SetFormName(GlobalDefaultFormName(setup.state.paperSizeName))) return false;
    if (!MergeInPlace(printer, printerName, devMode, driverSize)) return false;
    return static_cast<bool>(printer.SetPrinter8(info));
}

// 4.x family: the paper code in the printer record's device settings. False when there
// is no paper to set or the driver refused it, and nothing more may be changed.
bool SetPaperCode(const PrinterSetup& setup, Printer& printer, std::optional<DevMode>& devMode) {
    const std::string& printerName = setup.state.printerName;
    if (!devMode) return false;
    if (!devMode->SetFields(platform::kDmPaperSize)) return false;
    if (!devMode->SetPaperSize(PaperCode(setup.state.paperSizeName))) return false;
    const std::int32_t driverSize = DriverDevModeSize(printer, printerName);
    if (driverSize <= 0) return false;
    return MergeInPlace(printer, printerName, *devMode, driverSize);
}

// "PrintDirectly" counts only in a programmatic-access build.
bool PrintsDirectly(const PrinterSetup& setup) {
    return setup.state.programmaticAccess && SettingIsOn(setup.settings, settings_keys::kPrintDirectly);
}

// Both families: the printer record (level 2) with the paper code on the 4.x family and
// the two attributes.
void SetPrinterRecord(const PrinterSetup& setup, Printer& printer) {
    // Only a size query that succeeded or asked for a larger buffer tells a size.
    const auto size = printer.GetPrinter2(0);
    if (!size && !size.WantsLargerBuffer()) return;
    if (size.bytesNeeded() == 0) return;
    const auto fetched = printer.GetPrinter2(size.bytesNeeded());
    if (!fetched) return;

    platform::PrinterInfo2 info = fetched.value();
    if (!setup.row.isNtFamily && !SetPaperCode(setup, printer, info.devMode)) return;
    if (PrintsDirectly(setup)) info.attributes |= platform::kPrinterAttributeDirect;
    info.attributes |= platform::kPrinterAttributeDoCompleteFirst;
    if (!printer.SetPrinter2(info)) ShowErrorBox(setup.feedback, "SetPrinter failed");
}

}  // namespace

bool InstallPrinter(const PrinterSetup& setup) {
    const InstallState& state = setup.state;
    platform::OpenedPrinter added = setup.spooler.AddPrinter(spooler::ProductPrinterRecord(state.printerName, state.portName));
    if (!added) {
        if (added.error != platform::kErrorPrinterAlreadyExists) {
            setup.feedback.ReportFailure("Install Printer failed. - (Error " + std::to_string(added.error) + ")");
            return false;
        }
    } else if (!setup.row.isNtFamily) {
        // The 4.x driver sets up its own default settings when first asked for them.
        (void)added.printer->DocumentProperties(state.printerName, nullptr, nullptr, kMergeMode);
    }
    added.printer.reset();
    ApplyDefaultDeviceSettings(setup);
    return true;
}

void ApplyDefaultDeviceSettings(const PrinterSetup& setup) {
    const platform::OpenedPrinter opened = setup.spooler.OpenPrinter(setup.state.printerName, platform::kPrinterAllAccess);
    if (!opened) {
        ShowErrorBox(setup.feedback, "OpenPrinter failed");
        return;
    }
    const bool changesForm = setup.row.isNtFamily && !KeepsGlobalDefaultForm(setup.state.paperSizeName);
    if (changesForm && !SetGlobalDefaultForm(setup, *opened.printer)) return;
    SetPrinterRecord(setup, *opened.printer);
}

void WriteLegacyDefaultDevMode(platform::FileSystem& files, platform::Registry& registry, const InstallState& state) {
    const auto image = files.ReadWholeFile(state.sourceFolder + "Driver\\" + state.printerName + ".bin");
    if (!image) return;
    const auto key = registry.OpenKey(platform::RegistryRoot::LocalMachine,
                                                 kPrintersKey + state.printerName,
                                                 platform::RegistryAccess::AllAccess,
                                                 platform::RegistryView::Native);
    if (!key) return;
    (void)key.key->SetValue("Default DevMode", platform::kRegBinary, image.value());
}

}  // namespace setup
