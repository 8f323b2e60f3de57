#include "setup/destination.h"

#include <array>
#include <optional>
#include <vector>

#include "common/text/resolved_path.h"

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
std::optional<std::string> CurrentVersionText(platform::Registry& registry, const char* name,
                                              platform::RegistryView view) {
    const auto key = registry.OpenKey(platform::RegistryRoot::LocalMachine, kCurrentVersionKey,
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
std::vector<std::string> ProgramFilesFolders(const DestinationJudge& judge) {
    std::vector<std::string> folders = {ProgramFilesBase(judge.shell, judge.registry, judge.row, judge.leadBytes)};
    for (const char* name : kProgramFilesValues) {
        if (const auto folder = CurrentVersionText(judge.registry, name, judge.row.machineView)) folders.push_back(*folder);
    }
    return folders;
}

}  // namespace

std::string ProgramFilesBase(platform::Shell& shell, platform::Registry& registry, const product::PlatformRow& row,
                             const text::LeadBytes& leadBytes) {
    if (row.isNtFamily) {
        const auto folder = shell.GetSpecialFolderPath(platform::SpecialFolder::ProgramFiles, false);
        if (folder && !folder->empty()) return WithTrailingBackslash(*folder, leadBytes);
        return kDefaultProgramFiles;
    }
    const auto fromRegistry = CurrentVersionText(registry, "ProgramFilesDir", platform::RegistryView::Native);
    return fromRegistry ? WithTrailingBackslash(*fromRegistry, leadBytes) : kDefaultProgramFiles;
}

namespace {

// `path` with its longest existing leading part in its long form, as Windows gives it,
// and the rest as it was. Unchanged when no part exists or Windows cannot tell.
text::ResolvedPath InLongForm(platform::FileSystem& files, const text::ResolvedPath& path,
                              const text::LeadBytes& leadBytes) {
    for (std::size_t existing = path.folders.size(); existing > 0; --existing) {
        std::string head = path.root;
        for (std::size_t i = 0; i < existing; ++i) head += "\\" + path.folders[i];
        const auto longName = files.GetLongPathName(head);
        if (!longName) continue;
        auto resolved = text::ResolveAbsolutePath(longName.value(), leadBytes);
        if (!resolved) return path;
        resolved->folders.insert(resolved->folders.end(), path.folders.begin() + static_cast<std::ptrdiff_t>(existing),
                                 path.folders.end());
        return *resolved;
    }
    return path;
}

}  // namespace

platform::Win32Result CheckDestinationFolder(const DestinationJudge& judge, const std::string& destinationFolder) {
    const text::LeadBytes& leadBytes = judge.leadBytes;
    const auto resolve = [&](const std::string& path) { return text::ResolveAbsolutePath(path, leadBytes); };
    constexpr auto kRefused = platform::Win32Result::Failed(platform::kErrorBadPathname);

    const auto given = resolve(destinationFolder);
    if (!given || given->folders.empty()) return kRefused;
    const std::optional<text::ResolvedPath> destination = InLongForm(judge.files, *given, leadBytes);

    for (const std::string& programFiles : ProgramFilesFolders(judge)) {
        const auto folder = resolve(programFiles);
        if (folder && text::SamePath(*destination, *folder, leadBytes)) return kRefused;
    }
    const auto windowsFolder = judge.system.GetWindowsDirectory(kWindowsFolderCapacity);
    if (!windowsFolder) return platform::Win32Result::Failed(windowsFolder.error);
    if (const auto windows = resolve(windowsFolder.value());
        windows && text::IsSameOrInside(*destination, *windows, leadBytes)) {
        return kRefused;
    }
    if (const auto medium = resolve(judge.mediumFolder);
        medium && text::SamePath(*destination, InLongForm(judge.files, *medium, leadBytes), leadBytes)) {
        return kRefused;
    }
    return {};
}

}  // namespace setup
