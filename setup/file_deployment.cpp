#include "setup/file_deployment.h"

#include <optional>

#include "common/product/product_files.h"
#include "common/text/ansi_path.h"
#include "resources/setup/setup_strings.h"
#include "setup/destination.h"
#include "setup/file_probes.h"

namespace setup {
namespace {

using product::CopiedWhen;
using product::ProductFile;

// One row of the copy list as this run copies it: a file of the medium and its name in
// the destination.
struct CopyRow {
    std::string mediumName;
    std::string destinationName;
    const ProductFile& file;
};

bool IsCopied(const ProductFile& file, const product::PlatformRow& row, const InstallState& state) {
    switch (file.when) {
        case CopiedWhen::Always: return true;
        case CopiedWhen::NtFamily: return row.isNtFamily;
        case CopiedWhen::ExtensionsOrProgrammaticAccess: return state.extensionComponents || state.programmaticAccess;
        case CopiedWhen::ExtensionComponents: return state.extensionComponents;
        case CopiedWhen::ReadmeFound: return !state.readmeName.empty();
        case CopiedWhen::Never: return false;
    }
    return false;
}

// The row's names in this run: the converter comes from the file built for the
// platform, the readme row is the readme found on the medium.
CopyRow NamesFor(const ProductFile& file, const product::PlatformRow& row, const InstallState& state) {
    if (file.when == CopiedWhen::ReadmeFound) return CopyRow{state.readmeName, state.readmeName, file};
    if (std::string(file.name) == product::kConverterName) return CopyRow{row.converterOnMedium, file.name, file};
    return CopyRow{file.name, file.name, file};
}

std::string MediumPath(const InstallState& state, const std::string& name) {
    return state.sourceFolder + name;
}

std::string DestinationPath(const InstallState& state, const std::string& name) {
    return state.destinationFolder + "\\" + name;
}

// Copies, overwriting, from the medium into the destination folder.
platform::Win32Result CopyIntoDestination(platform::FileSystem& files, const InstallState& state,
                                          const std::string& mediumName, const std::string& destinationName) {
    return files.CopyFile(MediumPath(state, mediumName), DestinationPath(state, destinationName), false);
}

// Starts the system's registration tool, by its full path so that no program of the same
// name beside Setup can stand in for it. Neither waited for nor looked at.
void RegisterComServer(platform::Processes& processes, const InstallState& state, const std::string& serverPath) {
    const std::string commandLine = "\"" + state.systemFolder + "regsvr32.exe\" /s \"" + serverPath + "\"";
    (void)processes.CreateProcess(commandLine, platform::ShownAs(platform::WindowShow::Hide));
}

// Where the copy steps work: the file system, the process starter for regsvr32, and the
// run's folders and names.
struct Copier {
    platform::FileSystem& files;
    platform::Processes& processes;
    const InstallState& state;
};

StepResult CopyRowFile(const Copier& copier, const CopyRow& row) {
    const InstallState& state = copier.state;
    if (row.file.onlyWhenOnMedium && !FileExists(copier.files, MediumPath(state, row.mediumName))) {
        return StepResult::Done();
    }
    const auto copied = CopyIntoDestination(copier.files, state, row.mediumName, row.destinationName);
    if (!copied) {
        if (row.file.whenCopyFails == product::WhenCopyFails::PassedOver) return StepResult::Done();
        return StepResult::Failed(IDS_COPY_DLL_FAILED, copied.error);
    }
    const std::string copy = DestinationPath(state, row.destinationName);
    (void)ClearReadOnlyAttribute(copier.files, copy);
    if (row.file.registersComServer) RegisterComServer(copier.processes, state, copy);
    return StepResult::Done();
}

// The uninstaller that fits the platform: "unInstpm64.exe" on 64-bit Windows, else
// "uninstpm.exe", which Windows 98/Me can do without. Gives its path in the destination.
StepResult DeployUninstaller(const Copier& copier, const product::PlatformRow& row, StepFeedback& feedback) {
    const InstallState& state = copier.state;
    const auto copied = CopyIntoDestination(copier.files, state, row.uninstaller, row.uninstaller);
    switch (row.whenUninstallerCopyFails) {
        case product::UninstallerCopyFailure::EndsRunHelper:
            if (copied) break;
            feedback.CloseProgress();
            feedback.ReportFailure(kPagemillFailedText);
            return StepResult::FailedAndReported(IDS_COPY_HELP_FAILED);
        case product::UninstallerCopyFailure::EndsRun:
        case product::UninstallerCopyFailure::PassedOver: break;
    }
    if (copied) {
        // A read-only copy from a CD or an image could not be deleted by the uninstaller.
        (void)ClearReadOnlyAttribute(copier.files, DestinationPath(state, row.uninstaller));
        return StepResult::Done();
    }
    if (row.whenUninstallerCopyFails == product::UninstallerCopyFailure::EndsRun) {
        return StepResult::Failed(IDS_COPY_UNINSTALLER_FAILED, copied.error);
    }
    return StepResult::Done();
}

// A folder counts as there, or made, when DirectoryExists says so or CreateDirectory
// succeeds. Gives the error of the failed creation.
platform::Win32Result ExistsOrCreate(platform::FileSystem& files, const std::string& folder) {
    if (DirectoryExists(files, folder)) return {};
    return files.CreateDirectory(folder);
}

// The text before the last backslash, or nothing when there is none or it is the first
// character.
std::optional<std::string> ParentFolder(const std::string& folder, const text::LeadBytes& leadBytes) {
    const std::size_t slash = text::FindLastBackslash(folder, leadBytes);
    if (slash == std::string::npos || slash < 1) return std::nullopt;
    return folder.substr(0, slash);
}

}  // namespace

StepResult CreateDestinationFolder(platform::FileSystem& files, const DestinationJudge& judge,
                                   const std::string& destination) {
    // A folder the uninstaller could not safely empty and remove is refused before
    // anything is made in it.
    if (const auto checked = CheckDestinationFolder(judge, destination); !checked) {
        return StepResult::Failed(IDS_CREATE_DESTINATION_FAILED, checked.error);
    }
    // Refused rather than letting the copy paths be cut into other names.
    if (destination.size() > kLongestDestinationFolder) {
        return StepResult::Failed(IDS_CREATE_DESTINATION_FAILED, platform::kErrorFilenameExceedsRange);
    }
    if (ExistsOrCreate(files, destination)) return StepResult::Done();

    // At most two levels above the destination are made: its parent and grandparent.
    if (const auto parent = ParentFolder(destination, judge.leadBytes)) {
        if (const auto parentMade = ExistsOrCreate(files, *parent); !parentMade) {
            const auto grandparent = ParentFolder(*parent, judge.leadBytes);
            if (!grandparent) return StepResult::Failed(IDS_COPY_FILES_FAILED, parentMade.error);
            if (ExistsOrCreate(files, *grandparent)) (void)files.CreateDirectory(*parent);
        }
    }
    const auto created = ExistsOrCreate(files, destination);
    if (!created) return StepResult::Failed(IDS_CREATE_DESTINATION_FAILED, created.error);
    return StepResult::Done();
}

DeployedFiles DeployProductFiles(platform::FileSystem& files, platform::Processes& processes,
                                 const product::PlatformRow& row, const InstallState& state, StepFeedback& feedback) {
    const Copier copier{files, processes, state};
    for (const ProductFile& file : product::kProductFiles) {
        if (!IsCopied(file, row, state)) continue;
        if (const StepResult copied = CopyRowFile(copier, NamesFor(file, row, state)); !copied.ok()) {
            return {copied, std::string()};
        }
    }
    return {DeployUninstaller(copier, row, feedback), DestinationPath(state, row.uninstaller)};
}

bool CopyFolderFiles(platform::FileSystem& files, const InstallState& state, const std::string& folderName) {
    const std::string source = MediumPath(state, folderName);
    const std::string target = DestinationPath(state, folderName);

    const platform::StartedSearch listing = files.FindFirstFile(source + "\\*.*");
    if (!listing) return false;
    if (!ExistsOrCreate(files, target)) return false;

    bool everythingCopied = true;
    do {
        const platform::FindData& entry = listing.search->Current();
        if (!IsFileEntry(entry.attributes)) continue;  // subfolders, "." and ".."
        const std::string copy = target + "\\" + entry.fileName;
        if (files.CopyFile(source + "\\" + entry.fileName, copy, false)) {
            (void)ClearReadOnlyAttribute(files, copy);
        } else {
            everythingCopied = false;
        }
    } while (listing.search->FindNext());
    return everythingCopied;
}

}  // namespace setup
