// Looking up a system function that older Windows versions do not export, so that the
// programs still start there instead of failing to load.
#pragma once

#include <cstring>

#include "platform/win32/windows_api.h"

namespace platform::win32 {

// The export `name` of `module` as a function pointer of its type, or null.
template <class Function>
Function ExportedFunction(HMODULE module, const char* name) {
    const FARPROC found = GetProcAddress(module, name);
    Function function = nullptr;
    static_assert(sizeof(function) == sizeof(found));
    std::memcpy(&function, &found, sizeof(function));
    return function;
}

// The function `name` of the already loaded `module`, or null.
template <class Function>
Function FindSystemFunction(const char* module, const char* name) {
    const HMODULE loaded = GetModuleHandleA(module);
    if (loaded == nullptr) return nullptr;
    return ExportedFunction<Function>(loaded, name);
}

}  // namespace platform::win32
