// Small probes of the system the installer asks many times.
#pragma once

#include <cstdint>
#include <string>

#include "platform/platform.h"

namespace setup {

// 1 when the installer runs as a 32-bit process on 64-bit Windows, else 0.
int IsRunningUnderWow64(platform::SystemInfo& system);

// Makes a read-only file writable (its attributes become "normal"). 0 when the file
// does not exist, else 1.
int ClearReadOnlyAttribute(platform::FileSystem& files, std::string path);

// A plain existence test: the path names a file or a folder.
bool FileExists(platform::FileSystem& files, const std::string& path);

// 1 when the path exists and is a folder. A relative path is looked up in the current
// folder only.
int DirectoryExists(platform::FileSystem& files, const std::string& path);

// 1 for a directory-listing entry that is not a folder.
int IsFileEntry(std::uint32_t entryAttributes);

// Saves a shell shortcut to `target` at `shortcutPath`. `arguments` may be null.
// Gives the result of the last step attempted.
platform::HResult CreateShellShortcut(platform::Shell& shell, const std::string& target,
                                      const std::string& shortcutPath,
                                      const std::string& description, const char* arguments);

}  // namespace setup
