#include "setup/spooler/ghostscript.h"

#include <array>
#include <optional>
#include <string>

#include "common/product/product_files.h"
#include "common/text/ansi_path.h"
#include "resources/setup/setup_strings.h"
#include "setup/file_deployment.h"
#include "setup/setup_context.h"
#include "setup/ui/system_probes.h"

namespace setup {
namespace {

constexpr std::array<const char*, 3> kGhostscriptRoots = {
    "SOFTWARE\\GPL Ghostscript", "SOFTWARE\\AFPL Ghostscript", "SOFTWARE\\GNU Ghostscript"};
constexpr std::size_t kVersionNameCapacity = 261;  // a version subkey name: 260 characters
constexpr std::size_t kDllValueCapacity = 261;     // "GS_DLL": 261 bytes, a longer value is not read

// The view a 32-bit program sees, where the 32-bit Ghostscript registers itself: the
// native one for the 32-bit installer, the forced 32-bit one for the 64-bit build.
platform::RegistryView GhostscriptView(const SetupContext& context) {
    return context.programIs64Bit ? platform::RegistryView::Force32 : platform::RegistryView::Native;
}

// The folder part of the "GS_DLL" text, ending in its backslash; empty without one.
std::string FolderOfDll(const std::vector<std::uint8_t>& data, const text::LeadBytes& leadBytes) {
    std::string path(data.begin(), data.end());
    return text::FolderOf(path.substr(0, path.find('\0')), leadBytes);
}

// Does the version key name a DLL with the console program "gswin32c.exe" beside it?
bool VersionHasConsoleProgram(SetupContext& context, const std::string& versionKeyPath) {
    const auto version = context.os.registry.OpenKey(platform::RegistryRoot::LocalMachine, versionKeyPath,
                                                     platform::RegistryAccess::Read, GhostscriptView(context));
    if (!version) return false;
    const auto dll = version.key->QueryValue("GS_DLL", kDllValueCapacity);
    if (!dll) return false;
    return FileExists(context.os.files, FolderOfDll(dll.value().data, context.leadBytes) + "gswin32c.exe");
}

bool RootHasUsableVersion(SetupContext& context, const std::string& root) {
    const auto rootKey = context.os.registry.OpenKey(platform::RegistryRoot::LocalMachine, root,
                                                     platform::RegistryAccess::Read, GhostscriptView(context));
    if (!rootKey) return false;
    for (std::uint32_t index = 0;; ++index) {
        const auto name = rootKey.key->EnumKey(index, kVersionNameCapacity);
        if (!name) return false;
        if (VersionHasConsoleProgram(context, root + "\\" + name.value())) return true;
    }
}

// "converter.exe" in the medium folder, else in the folder above it.
std::optional<std::string> FindConverter(SetupContext& context) {
    const std::string& sourceFolder = context.state.sourceFolder;
    std::string candidate = sourceFolder + "converter.exe";
    if (!FileExists(context.os.files, candidate)) {
        std::string folder = sourceFolder;
        if (!folder.empty() && folder.back() == '\\') folder.pop_back();
        candidate = text::FolderOf(folder, context.leadBytes) + "converter.exe";
        if (!FileExists(context.os.files, candidate)) return std::nullopt;
    }
    return candidate;
}

// Starts the converter hidden and does not wait for it. The path is quoted so that a
// medium folder with spaces cannot start another program.
bool StartConverter(SetupContext& context, const std::string& converter) {
    const auto started =
        context.os.processes.CreateProcess("\"" + converter + "\" /auto", platform::ShownAs(platform::WindowShow::Hide));
    return static_cast<bool>(started);
}

// The medium's "GNUGS\GSDLL32.DLL" is there and of the one size that is accepted.
StepResult CheckMediumGhostscript(SetupContext& context) {
    const std::string dll = context.state.sourceFolder + product::kGhostscriptFolder + "\\GSDLL32.DLL";
    const auto size = context.os.files.GetFileSize(dll);
    if (!size) return StepResult::Failed(IDS_COPY_DLL_FAILED, size.error);
    if (size.value() != kGhostscriptDllSize) return StepResult::Failed(IDS_COPY_DLL_FAILED, 0);
    return StepResult::Done();
}

}  // namespace

bool FindInstalledGhostscript(SetupContext& context) {
    for (const char* root : kGhostscriptRoots) {
        if (RootHasUsableVersion(context, root)) return true;
    }
    return false;
}

StepResult PrepareGhostscript(SetupContext& context) {
    InstallState& state = context.state;
    state.ghostscriptDeployed = false;
    const bool mediumCopyRequired = SettingIsOn(context.settings, settings_keys::kGnuGs);

    if (mediumCopyRequired) {
        if (const StepResult checked = CheckMediumGhostscript(context); !checked.ok()) return checked;
    } else if (FindInstalledGhostscript(context)) {
        return StepResult::Done();
    }

    if (const auto converter = FindConverter(context); converter && StartConverter(context, *converter)) {
        state.ghostscriptDeployed = true;
    } else {
        state.ghostscriptDeployed = CopyFolderFiles(context, product::kGhostscriptFolder);
    }
    if (mediumCopyRequired && !state.ghostscriptDeployed) return StepResult::Failed(IDS_COPY_DLL_FAILED, 0);
    return StepResult::Done();
}

}  // namespace setup
