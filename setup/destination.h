// The destination folder: where programs go on this machine, and which folders the
// product may not be installed into.
#pragma once

#include <string>

#include "common/product/platform_rows.h"
#include "common/text/ansi_path.h"
#include "platform/platform.h"

namespace setup {

// What a destination is judged against: the machine's own folders, asked of Windows,
// and the medium the installer runs from.
struct DestinationJudge {
    platform::FileSystem& files;  // for the long form of short (8.3) names
    platform::Shell& shell;
    platform::Registry& registry;
    platform::SystemInfo& system;
    const product::PlatformRow& row;
    const text::LeadBytes& leadBytes;
    const std::string& mediumFolder;
};

// The folder programs go into, with a trailing backslash: on the NT family the shell's
// Program Files folder, on Windows 98/Me the registry's "ProgramFilesDir", else
// "C:\Program Files\".
std::string ProgramFilesBase(platform::Shell& shell, platform::Registry& registry, const product::PlatformRow& row,
                             const text::LeadBytes& leadBytes);

// Judges `destinationFolder` by what the uninstaller will do with it (delete files by
// name in it and remove it): it must be an absolute path with at least one folder below
// a drive root or share, and must not be, once "." and ".." are applied, a Program
// Files folder itself, the Windows folder or anything inside it, or the medium folder.
// The parts of the destination and of the medium folder that exist are judged by their
// long names: "C:\PROGRA~1" is Program Files.
// Gives ERROR_BAD_PATHNAME for a refused folder.
platform::Win32Result CheckDestinationFolder(const DestinationJudge& judge, const std::string& destinationFolder);

}  // namespace setup
