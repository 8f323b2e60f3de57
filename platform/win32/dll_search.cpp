#include "platform/win32/dll_search.h"

#include "platform/win32/system_function.h"

namespace platform::win32 {
namespace {

constexpr DWORD kSearchSystem32 = 0x00000800;  // LOAD_LIBRARY_SEARCH_SYSTEM32

using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
using SetDllDirectoryAFunction = BOOL(WINAPI*)(LPCSTR);

}  // namespace

void RestrictDllSearchToSystemFolder() {
    const auto setDefault = FindSystemFunction<SetDefaultDllDirectoriesFunction>("kernel32", "SetDefaultDllDirectories");
    if (setDefault != nullptr && setDefault(kSearchSystem32)) return;
    const auto setDirectory = FindSystemFunction<SetDllDirectoryAFunction>("kernel32", "SetDllDirectoryA");
    if (setDirectory != nullptr) (void)setDirectory("");
}

}  // namespace platform::win32
