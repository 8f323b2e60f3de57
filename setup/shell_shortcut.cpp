#include "setup/shell_shortcut.h"

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
