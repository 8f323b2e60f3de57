#include "setup/destination.h"

#include <array>
#include <optional>
#include <vector>

#include "common/text/resolved_path.h"
#include "setup/registry_records.h"
#include "setup/setup_context.h"

namespace setup {
namespace {

constexpr char kDefaultProgramFiles[] = "C:\\Program Files\\";
constexpr char kCurrentVersionKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
constexpr std::size_t kProgramFilesValueBytes = 261;
constexpr std::size_t kWindowsFolderCapacity = 261;

// Every name Windows gives a Program Files folder; on 64-bit Windows there are two.
constexpr std::array<const char*, 3> kProgramFilesValues = {"ProgramFilesDir", "ProgramFilesDir (x86)",
                                                            "ProgramW6432Dir"};

std::string WithTrailingBackslash(const std::string& path, const text::LeadBytes& leadBytes) {
    return text::WithoutTrailingBackslash(path, leadBytes) + '\\';
}

// A text value of the CurrentVersion key, or nothing.
std::optional<std::string> CurrentVersionText(SetupContext& context, const char* name, platform::RegistryView view) {
    const auto key = context.os.registry.OpenKey(platform::RegistryRoot::LocalMachine, kCurrentVersionKey,
                                                 platform::RegistryAccess::Read, view);
    if (!key) return std::nullopt;
    const auto value = key.key->QueryValue(name, kProgramFilesValueBytes);
    if (!value) return std::nullopt;
    const std::vector<std::uint8_t>& data = value.value().data;
    std::string text(data.begin(), data.end());
    text = text.substr(0, text.find('\0'));
    if (text.empty()) return std::nullopt;
    return text;
}

// The folders the product must not be installed into, as given by Windows.
std::vector<std::string> ProgramFilesFolders(SetupContext& context) {
    std::vector<std::string> folders = {ProgramFilesBase(context)};
    for (const char* name : kProgramFilesValues) {
        if (const auto folder = CurrentVersionText(context, name, MachineView(context.state))) folders.push_back(*folder);
    }
    return folders;
}

}  // namespace

std::string ProgramFilesBase(SetupContext& context) {
    if (context.state.isNtFamily) {
        const auto folder = context.os.shell.GetSpecialFolderPath(platform::SpecialFolder::ProgramFiles, false);
        if (folder && !folder->empty()) return WithTrailingBackslash(*folder, context.leadBytes);
        return kDefaultProgramFiles;
    }
    const auto fromRegistry = CurrentVersionText(context, "ProgramFilesDir", platform::RegistryView::Native);
    return fromRegistry ? WithTrailingBackslash(*fromRegistry, context.leadBytes) : kDefaultProgramFiles;
}

platform::Win32Result CheckDestinationFolder(SetupContext& context) {
    const text::LeadBytes& leadBytes = context.leadBytes;
    const auto resolve = [&](const std::string& path) { return text::ResolveAbsolutePath(path, leadBytes); };
    constexpr auto kRefused = platform::Win32Result::Failed(platform::kErrorBadPathname);

    const auto destination = resolve(context.state.destinationFolder);
    if (!destination || destination->folders.empty()) return kRefused;

    for (const std::string& programFiles : ProgramFilesFolders(context)) {
        const auto folder = resolve(programFiles);
        if (folder && text::SamePath(*destination, *folder, leadBytes)) return kRefused;
    }
    const auto windowsFolder = context.os.system.GetWindowsDirectory(kWindowsFolderCapacity);
    if (!windowsFolder) return platform::Win32Result::Failed(windowsFolder.error);
    if (const auto windows = resolve(windowsFolder.value());
        windows && text::IsSameOrInside(*destination, *windows, leadBytes)) {
        return kRefused;
    }
    if (const auto medium = resolve(context.state.sourceFolder);
        medium && text::SamePath(*destination, *medium, leadBytes)) {
        return kRefused;
    }
    return {};
}

}  // namespace setup
