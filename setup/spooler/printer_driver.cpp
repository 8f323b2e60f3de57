#include "setup/spooler/printer_driver.h"

#include <array>
#include <optional>
#include <string>

#include "common/spooler/product_records.h"
#include "common/product/spooler_names.h"
#include "setup/file_probes.h"

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
DriverListAnswer ScanInstalledDrivers(platform::Spooler& spooler, const std::string& environment,
                                      ReferenceFiles& reference) {
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
void CopyDriverFile(platform::FileSystem& files, const std::string& from, const std::string& to, bool replace) {
    if (from.size() >= kCopyPathCapacity || to.size() >= kCopyPathCapacity) return;
    if (replace) (void)files.DeleteFile(to);
    if (files.CopyFile(from, to, true)) (void)ClearReadOnlyAttribute(files, to);
}

std::string DriverFolder(const InstallState& state) { return state.sourceFolder + "Driver\\"; }

// ---- Windows 4.x family ----------------------------------------------------------------

bool InstallDriverFor4x(const DriverSetup& setup, StepFeedback& feedback) {
    const InstallState& state = setup.state;
    for (std::size_t position = 0; position < kDriverFiles4x.size(); ++position) {
        const std::string name = kDriverFiles4x[position];
        CopyDriverFile(setup.files, DriverFolder(state) + name, state.systemFolder + name, position == 0);
    }
    platform::DriverInfo3 info = spooler::ProductDriverRecord(setup.row.environment, kDriverVersion4x);
    info.driverPath = state.systemFolder + "PSCRIPT.DRV";
    info.dataFile = state.systemFolder + "NIMBRAXW.SPD";
    info.configFile = state.systemFolder + "PSCRIPT.DRV";
    info.dependentFiles.assign(kDriverFiles4x.begin(), kDriverFiles4x.end());
    if (!setup.spooler.AddPrinterDriver(info)) {
        feedback.ReportFailure("Install Printer Driver failed.");
        return false;
    }
    return true;
}

// ---- Windows NT family, 32- and 64-bit ------------------------------------------------

std::optional<std::string> NtSource(const DriverSetup& setup, std::size_t position,
                                    const std::optional<ReferenceFiles>& reference) {
    const std::string name = kDriverFilesNt[position];
    if (position == 0) return DriverFolder(setup.state) + name;
    if (reference) return (*reference)[position];
    // On 64-bit Windows the driver program files sit one level deeper.
    return DriverFolder(setup.state) + setup.row.driverSubfolder + name;
}

platform::DriverInfo3 NtDriverRecord(const product::PlatformRow& row, const std::string& driverDirectory) {
    // The 64-bit spooler takes the files by their bare names from its driver directory.
    return spooler::ProductNtDriverRecord(row.environment, row.bareDriverFileNames ? std::string() : driverDirectory);
}

bool InstallDriverForNt(const DriverSetup& setup, StepFeedback& feedback) {
    ReferenceFiles referenceFiles;
    const DriverListAnswer answer = ScanInstalledDrivers(setup.spooler, setup.row.environment, referenceFiles);
    if (answer == DriverListAnswer::AlreadyInstalled) return true;
    std::optional<ReferenceFiles> reference;
    if (answer == DriverListAnswer::ReferenceFound) reference = referenceFiles;

    const auto directory =
        setup.spooler.GetPrinterDriverDirectory(setup.row.environment, kDriverDirectoryBytes);
    if (!directory || directory.bytesNeeded() >= kDriverDirectoryBytes) {
        feedback.ReportFailure("Get Printer Driver Directory Failed - (Error " +
                                           std::to_string(directory.error) + ")");
        return false;
    }
    const std::string driverDirectory = directory.value() + "\\";

    for (std::size_t position = 0; position < kDriverFilesNt.size(); ++position) {
        const auto source = NtSource(setup, position, reference);
        if (!source) continue;
        CopyDriverFile(setup.files, *source, driverDirectory + kDriverFilesNt[position], position == 0);
    }
    const platform::Win32Result added =
        setup.spooler.AddPrinterDriver(NtDriverRecord(setup.row, driverDirectory));
    if (!added) {
        feedback.ReportFailure("Install Printer Driver failed. - (Error " + std::to_string(added.error) + ")");
        return false;
    }
    return true;
}

}  // namespace

bool InstallPrinterDriver(const DriverSetup& setup, StepFeedback& feedback) {
    return setup.row.isNtFamily ? InstallDriverForNt(setup, feedback) : InstallDriverFor4x(setup, feedback);
}

}  // namespace setup
