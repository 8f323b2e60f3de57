// Where the programs' later DLL loads may come from.
#pragma once

#include "platform/win32/windows_api.h"

namespace platform::win32 {

// From now on a DLL loaded by name comes from the system folder only (where Windows
// has SetDefaultDllDirectories, from Windows 8 and Windows 7 with its update on); older
// systems at least stop searching the current folder (SetDllDirectory with an empty
// folder, from Windows XP SP1 on). Both are looked up at run time, so the programs still
// start where neither exists. The programs run with administrator rights, often from a
// downloads folder: a DLL planted beside them must not be loaded. Call it first thing.
void RestrictDllSearchToSystemFolder();

// Loads a DLL of the system folder and keeps it loaded; null when it cannot be loaded.
// Once RestrictDllSearchToSystemFolder has limited the search to the system folder the
// DLL is loaded by name, so that a side-by-side version named in the program's manifest
// (Common Controls 6) is still the one found; otherwise by its full path in the system
// folder, where no other folder is searched.
HMODULE LoadSystemLibrary(const char* fileName);

}  // namespace platform::win32
