// Where the programs' later DLL loads may come from.
#pragma once

namespace platform::win32 {

// From now on a DLL loaded by name comes from the system folder only (where Windows
// has SetDefaultDllDirectories, from Windows 8 and Windows 7 with its update on); older
// systems at least stop searching the current folder (SetDllDirectory with an empty
// folder, from Windows XP SP1 on). Both are looked up at run time, so the programs still
// start where neither exists. The programs run with administrator rights, often from a
// downloads folder: a DLL planted beside them must not be loaded. Call it first thing.
void RestrictDllSearchToSystemFolder();

}  // namespace platform::win32
