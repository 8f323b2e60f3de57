#include "platform/win32/dll_search.h"

#include <string>

#include "platform/win32/system_function.h"

namespace platform::win32 {
namespace {

constexpr DWORD kSearchSystem32 = 0x00000800;  // LOAD_LIBRARY_SEARCH_SYSTEM32

using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
using SetDllDirectoryAFunction = BOOL(WINAPI*)(LPCSTR);

// Whether a DLL loaded by name can come from the system folder only.
bool searchIsSystemFolderOnly = false;

}  // namespace

void RestrictDllSearchToSystemFolder() {
    const auto setDefault = FindSystemFunction<SetDefaultDllDirectoriesFunction>("kernel32", "SetDefaultDllDirectories");
    if (setDefault != nullptr && setDefault(kSearchSystem32)) {
        searchIsSystemFolderOnly = true;
        return;
    }
    const auto setDirectory = FindSystemFunction<SetDllDirectoryAFunction>("kernel32", "SetDllDirectoryA");
    if (setDirectory != nullptr) (void)setDirectory("");
}

HMODULE LoadSystemLibrary(const char* fileName) {
    if (searchIsSystemFolderOnly) return LoadLibraryA(fileName);
    char systemFolder[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryA(systemFolder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    return LoadLibraryA((std::string(systemFolder) + "\\" + fileName).c_str());
}

}  // namespace platform::win32
