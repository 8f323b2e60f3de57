#include "setup/spooler/printer_driver.h"

#include <array>
#include <optional>
#include <string>

#include "common/spooler/product_records.h"
#include "setup/setup_context.h"
#include "setup/ui/error_report.h"
#include "setup/ui/system_probes.h"

namespace setup {
namespace {

// The driver files in copy order. Position 0 is the product's own printer description,
// replaced on every run; the others are the PostScript driver's, never overwritten.
constexpr std::array<const char*, 8> kDriverFiles4x = {
    "NIMBRAXW.SPD", "PSCRIPT.DRV", "PSCRIPT.HLP", "PSCRIPT.INI",
    "TESTPS.TXT",   "FONTS.MFM",   "ICONLIB.DLL", "PSMON.DLL"};
constexpr std::array<const char*, 5> kDriverFilesNt = {"NIMBRAXW.PPD", "PSCRIPT5.DLL", "PS5UI.DLL",
                                                       "PSCRIPT.HLP", "PSCRIPT.NTF"};

constexpr std::uint32_t kDriverVersion4x = 0x400;
constexpr std::uint32_t kDriverDirectoryBytes = 1024;
constexpr std::size_t kReferencePathCapacity = 261;  // 260 characters and a NUL
constexpr std::size_t kCopyPathCapacity = 256;       // 255 characters and a NUL

// Files of an installed reference driver that stand in for NT positions 1 to 4. A path
// too long for its buffer is left out: that file is then skipped like a failed copy.
using ReferenceFiles = std::array<std::optional<std::string>, kDriverFilesNt.size()>;

enum class DriverListAnswer { NotFound, AlreadyInstalled, ReferenceFound };

std::optional<std::string> Remembered(const std::string& path) {
    if (path.empty() || path.size() >= kReferencePathCapacity) return std::nullopt;
    return path;
}

ReferenceFiles RememberReferenceFiles(const platform::DriverInfo3& reference) {
    ReferenceFiles files;
    files[1] = Remembered(reference.driverPath);
    files[2] = Remembered(reference.configFile);
    files[3] = Remembered(reference.helpFile);
    if (!reference.dependentFiles.empty()) files[4] = Remembered(reference.dependentFiles.front());
    return files;
}

// Looks through the drivers installed for the environment. The first entry that is
// either the reference driver or ours decides.
DriverListAnswer ScanInstalledDrivers(SetupContext& context, ReferenceFiles& reference) {
    platform::Spooler& spooler = context.os.spooler;
    const std::string& environment = context.spooler.environment;
    const auto size = spooler.EnumPrinterDrivers(environment, 0);
    if (!size.WantsLargerBuffer()) return DriverListAnswer::NotFound;
    const auto listed = spooler.EnumPrinterDrivers(environment, size.bytesNeeded());
    if (!listed) return DriverListAnswer::NotFound;
    for (const platform::DriverInfo3& driver : listed.value()) {
        if (driver.name == kReferenceDriverName) {
            reference = RememberReferenceFiles(driver);
            return DriverListAnswer::ReferenceFound;
        }
        if (driver.name == product::kDriverName) return DriverListAnswer::AlreadyInstalled;
    }
    return DriverListAnswer::NotFound;
}

// One file into place; an existing file is never copied over. A path that does not fit
// its field is not copied at all rather than cut into another path. The printer
// description is replaced on every run: the old one is deleted first (copying over it
// would fail on a hidden file, and the old description would stay).
void CopyDriverFile(SetupContext& context, const std::string& from, const std::string& to, bool replace) {
    if (from.size() >= kCopyPathCapacity || to.size() >= kCopyPathCapacity) return;
    if (replace) (void)context.os.files.DeleteFile(to);
    if (context.os.files.CopyFile(from, to, true)) (void)ClearReadOnlyAttribute(context.os.files, to);
}

std::string DriverFolder(const InstallState& state) { return state.sourceFolder + "Driver\\"; }

// ---- Windows 4.x family ----------------------------------------------------------------

bool InstallDriverFor4x(SetupContext& context) {
    const InstallState& state = context.state;
    for (std::size_t position = 0; position < kDriverFiles4x.size(); ++position) {
        const std::string name = kDriverFiles4x[position];
        CopyDriverFile(context, DriverFolder(state) + name, state.systemFolder + name, position == 0);
    }
    platform::DriverInfo3 info = spooler::ProductDriverRecord(context.spooler.environment, kDriverVersion4x);
    info.driverPath = state.systemFolder + "PSCRIPT.DRV";
    info.dataFile = state.systemFolder + "NIMBRAXW.SPD";
    info.configFile = state.systemFolder + "PSCRIPT.DRV";
    info.dependentFiles.assign(kDriverFiles4x.begin(), kDriverFiles4x.end());
    if (!context.os.spooler.AddPrinterDriver(info)) {
        ReportComposedFailure(context, "Install Printer Driver failed.");
        return false;
    }
    return true;
}

// ---- Windows NT family, 32- and 64-bit ------------------------------------------------

std::optional<std::string> NtSource(const SetupContext& context, std::size_t position,
                                    const std::optional<ReferenceFiles>& reference) {
    const std::string name = kDriverFilesNt[position];
    if (position == 0) return DriverFolder(context.state) + name;
    if (reference) return (*reference)[position];
    // On 64-bit Windows the driver program files sit one level deeper.
    const char* subfolder = context.spooler.isWow64 ? "x64\\" : "";
    return DriverFolder(context.state) + subfolder + name;
}

platform::DriverInfo3 NtDriverRecord(const SpoolerPlatform& spooler, const std::string& driverDirectory) {
    // The 64-bit spooler takes the files by their bare names from its driver directory.
    return spooler::ProductNtDriverRecord(spooler.environment, spooler.isWow64 ? std::string() : driverDirectory);
}

bool InstallDriverForNt(SetupContext& context) {
    ReferenceFiles referenceFiles;
    const DriverListAnswer answer = ScanInstalledDrivers(context, referenceFiles);
    if (answer == DriverListAnswer::AlreadyInstalled) return true;
    std::optional<ReferenceFiles> reference;
    if (answer == DriverListAnswer::ReferenceFound) reference = referenceFiles;

    const auto directory =
        context.os.spooler.GetPrinterDriverDirectory(context.spooler.environment, kDriverDirectoryBytes);
    if (!directory || directory.bytesNeeded() >= kDriverDirectoryBytes) {
        ReportComposedFailure(context, "Get Printer Driver Directory Failed - (Error " +
                                           std::to_string(directory.error) + ")");
        return false;
    }
    const std::string driverDirectory = directory.value() + "\\";

    for (std::size_t position = 0; position < kDriverFilesNt.size(); ++position) {
        const auto source = NtSource(context, position, reference);
        if (!source) continue;
        CopyDriverFile(context, *source, driverDirectory + kDriverFilesNt[position], position == 0);
    }
    const platform::Win32Result added =
        context.os.spooler.AddPrinterDriver(NtDriverRecord(context.spooler, driverDirectory));
    if (!added) {
        ReportComposedFailure(context, "Install Printer Driver failed. - (Error " + std::to_string(added.error) + ")");
        return false;
    }
    return true;
}

}  // namespace

bool InstallPrinterDriver(SetupContext& context) {
    return context.spooler.isNtFamily ? InstallDriverForNt(context) : InstallDriverFor4x(context);
}

}  // namespace setup
