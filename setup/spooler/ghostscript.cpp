#include "setup/spooler/ghostscript.h"

#include <array>
#include <optional>
#include <string>

#include "common/product/product_files.h"
#include "common/text/ansi_path.h"
#include "resources/setup/setup_strings.h"
#include "setup/file_deployment.h"
#include "setup/file_probes.h"

namespace setup {
namespace {

constexpr std::array<const char*, 3> kGhostscriptRoots = {
    "SOFTWARE\\GPL Ghostscript", "SOFTWARE\\AFPL Ghostscript", "SOFTWARE\\GNU Ghostscript"};
constexpr std::size_t kVersionNameCapacity = 261;  // a version subkey name: 260 characters
constexpr std::size_t kDllValueCapacity = 261;     // "GS_DLL": 261 bytes, a longer value is not read

// The folder part of the "GS_DLL" text, ending in its backslash; empty without one.
std::string FolderOfDll(const std::vector<std::uint8_t>& data, const text::LeadBytes& leadBytes) {
    std::string path(data.begin(), data.end());
    return text::FolderOf(path.substr(0, path.find('\0')), leadBytes);
}

// Does the version key name a DLL with the console program "gswin32c.exe" beside it?
// Where the installed Ghostscript is looked for.
struct GhostscriptSearch {
    platform::Registry& registry;
    platform::FileSystem& files;
    platform::RegistryView view;
    const text::LeadBytes& leadBytes;
};

bool VersionHasConsoleProgram(const GhostscriptSearch& search, const std::string& versionKeyPath) {
    const auto version = search.registry.OpenKey(platform::RegistryRoot::LocalMachine, versionKeyPath,
                                                 platform::RegistryAccess::Read, search.view);
    if (!version) return false;
    const auto dll = version.key->QueryValue("GS_DLL", kDllValueCapacity);
    if (!dll) return false;
    return FileExists(search.files, FolderOfDll(dll.value().data, search.leadBytes) + "gswin32c.exe");
}

bool RootHasUsableVersion(const GhostscriptSearch& search, const std::string& root) {
    const auto rootKey = search.registry.OpenKey(platform::RegistryRoot::LocalMachine, root,
                                                 platform::RegistryAccess::Read, search.view);
    if (!rootKey) return false;
    for (std::uint32_t index = 0;; ++index) {
        const auto name = rootKey.key->EnumKey(index, kVersionNameCapacity);
        if (!name) return false;
        if (VersionHasConsoleProgram(search, root + "\\" + name.value())) return true;
    }
}

// "converter.exe" in the medium folder, else in the folder above it.
std::optional<std::string> FindConverter(platform::FileSystem& files, const std::string& sourceFolder,
                                         const text::LeadBytes& leadBytes) {
    std::string candidate = sourceFolder + "converter.exe";
    if (!FileExists(files, candidate)) {
        std::string folder = sourceFolder;
        if (!folder.empty() && folder.back() == '\\') folder.pop_back();
        candidate = text::FolderOf(folder, leadBytes) + "converter.exe";
        if (!FileExists(files, candidate)) return std::nullopt;
    }
    return candidate;
}

// Starts the converter hidden and does not wait for it. The path is quoted so that a
// medium folder with spaces cannot start another program.
bool StartConverter(platform::Processes& processes, const std::string& converter) {
    const auto started =
        processes.CreateProcess("\"" + converter + "\" /auto", platform::ShownAs(platform::WindowShow::Hide));
    return static_cast<bool>(started);
}

// The medium's "GNUGS\GSDLL32.DLL" is there and of the one size that is accepted.
StepResult CheckMediumGhostscript(platform::FileSystem& files, const std::string& sourceFolder) {
    const std::string dll = sourceFolder + product::kGhostscriptFolder + "\\GSDLL32.DLL";
    const auto size = files.GetFileSize(dll);
    if (!size) return StepResult::Failed(IDS_COPY_DLL_FAILED, size.error);
    if (size.value() != kGhostscriptDllSize) return StepResult::Failed(IDS_COPY_DLL_FAILED, 0);
    return StepResult::Done();
}

}  // namespace

platform::RegistryView GhostscriptView(bool programIs64Bit) {
    return programIs64Bit ? platform::RegistryView::Force32 : platform::RegistryView::Native;
}

bool FindInstalledGhostscript(platform::Registry& registry, platform::FileSystem& files, platform::RegistryView view,
                              const text::LeadBytes& leadBytes) {
    const GhostscriptSearch search{registry, files, view, leadBytes};
    for (const char* root : kGhostscriptRoots) {
        if (RootHasUsableVersion(search, root)) return true;
    }
    return false;
}

PreparedGhostscript PrepareGhostscript(platform::Registry& registry, platform::FileSystem& files,
                                       platform::Processes& processes, const InstallState& state,
                                       const SetupSettings& settings, platform::RegistryView view,
                                       const text::LeadBytes& leadBytes) {
    const bool mediumCopyRequired = SettingIsOn(settings, settings_keys::kGnuGs);
    if (mediumCopyRequired) {
        if (const StepResult checked = CheckMediumGhostscript(files, state.sourceFolder); !checked.ok()) {
            return {checked, false};
        }
    } else if (FindInstalledGhostscript(registry, files, view, leadBytes)) {
        return {StepResult::Done(), false};
    }

    bool deployed = false;
    if (const auto converter = FindConverter(files, state.sourceFolder, leadBytes);
        converter && StartConverter(processes, *converter)) {
        deployed = true;
    } else {
        deployed = CopyFolderFiles(files, state, product::kGhostscriptFolder);
    }
    if (mediumCopyRequired && !deployed) return {StepResult::Failed(IDS_COPY_DLL_FAILED, 0), false};
    return {StepResult::Done(), deployed};
}

}  // namespace setup
