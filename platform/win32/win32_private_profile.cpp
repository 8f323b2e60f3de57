// The settings file is read with the system's own private-profile reader, so a medium
// behaves as its preparer sees it on Windows: quotes around values dropped, UTF-16 files
// with their byte order mark read as text.
#include <algorithm>
#include <vector>

#include "platform/win32/windows_api.h"
#include "platform/win32/win32_platform.h"

namespace platform::win32 {

std::string Win32FileSystem::GetPrivateProfileString(const std::string& section, const std::string& key,
                                                     std::size_t capacity, const std::string& path) {
    // No room even for the terminating NUL: nothing can be read.
    if (capacity == 0) return {};
    const DWORD size = static_cast<DWORD>(std::min<std::size_t>(capacity, MAXDWORD));
    std::vector<char> buffer(size, '\0');
    // The count excludes the NUL; a value cut to the buffer counts size - 1. A missing
    // file only sets the last error and gives the default, which the empty default
    // already says.
    const DWORD copied = GetPrivateProfileStringA(section.c_str(), key.c_str(), "", buffer.data(), size,
                                                  path.c_str());
    return std::string(buffer.data(), std::min<DWORD>(copied, size - 1));
}

}  // namespace platform::win32
