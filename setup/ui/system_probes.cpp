#include "setup/ui/system_probes.h"

namespace setup {
namespace {

constexpr std::size_t kMaxPath = 260;

// Saves the link through IPersistFile under the shortcut's UTF-16 name.
platform::HResult SaveLink(platform::Shell& shell, platform::ShellLink& link,
                           const std::string& shortcutPath) {
    auto persist = link.QueryPersistFile();
    if (!platform::Succeeded(persist.result) || !persist.file) return persist.result;
    // A path that does not fit MAX_PATH is refused rather than cut into another name.
    const auto wide = shell.AnsiToWide(shortcutPath, kMaxPath);
    if (!wide) return platform::HResultFromWin32(wide.error);
    return persist.file->Save(wide.value(), true);
}

}  // namespace

int IsRunningUnderWow64(platform::SystemInfo& system) {
    if (!system.HasIsWow64Process()) return 0;
    // A failing call leaves the answer at "no", as the flag starts out cleared.
    const auto answer = system.IsWow64Process();
    return answer && answer.value() ? 1 : 0;
}

int ClearReadOnlyAttribute(platform::FileSystem& files, std::string path) {
    const auto attributes = files.GetFileAttributes(path);
    if (!attributes) return 0;
    if ((attributes.value() & platform::kFileAttributeReadOnly) != 0) {
        (void)files.SetFileAttributes(path, platform::kFileAttributeNormal);
    }
    return 1;
}

bool FileExists(platform::FileSystem& files, const std::string& path) {
    return static_cast<bool>(files.GetFileAttributes(path));
}

int DirectoryExists(platform::FileSystem& files, const std::string& path) {
    const auto current = files.GetCurrentDirectory();
    if (!current) return 0;
    if (!files.SearchPath(current.value(), path, kMaxPath)) return 0;
    const auto attributes = files.GetFileAttributes(path);
    return attributes && (attributes.value() & platform::kFileAttributeDirectory) != 0 ? 1 : 0;
}

int IsFileEntry(std::uint32_t entryAttributes) {
    return (entryAttributes & platform::kFileAttributeDirectory) == 0 ? 1 : 0;
}

platform::HResult CreateShellShortcut(platform::Shell& shell, const std::string& target,
                                      const std::string& shortcutPath,
                                      const std::string& description, const char* arguments) {
    const platform::HResult initialised = shell.CoInitialize();
    if (!platform::Succeeded(initialised)) return initialised;

    platform::HResult result = platform::kS_OK;
    {
        auto created = shell.CreateShellLink();
        if (!platform::Succeeded(created.result) || !created.link) {
            result = platform::Succeeded(created.result) ? platform::kE_FAIL : created.result;
        } else {
            (void)created.link->SetPath(target);
            (void)created.link->SetDescription(description);
            if (arguments != nullptr) (void)created.link->SetArguments(arguments);
            result = SaveLink(shell, *created.link, shortcutPath);
        }
    }  // the link is released before COM goes away
    shell.CoUninitialize();
    return result;
}

}  // namespace setup
