// Deleting (or renaming) a file or folder at the next restart, when it cannot be done
// now: through Windows' delayed move, or, where that is refused, through the
// "[Rename]" section of "WinInit.Ini" in the Windows folder.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace uninstall {

// The line "WinInit.Ini" gets for `path`: the new name ("NUL" to delete), "=", the path,
// CR LF.
std::string RenameLine(const std::string& path, const std::optional<std::string>& newName);

// Puts `line` into the text `bytes` of the first `size` bytes: directly under the first
// "[Rename]\r\n" header (matched with its case), before the lines already there, or,
// without such a header, the header and the line at the end. `bytes` holds at least
// size + line + 10 bytes. Gives the new size.
std::size_t InsertRenameLine(std::uint8_t* bytes, std::size_t size, const std::string& line);

// Asks Windows to delete `path` (or rename it to `newName`) at the next restart; when
// Windows refuses the delayed move, writes the request into "WinInit.Ini" of the
// Windows folder. False when neither worked.
bool DeleteAtRestart(platform::Platform& os, const std::string& path,
                     const std::optional<std::string>& newName = std::nullopt);

}  // namespace uninstall
