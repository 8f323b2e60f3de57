// The process exit status of unInstpm64; docs/deployment.md has the table.
#pragma once

namespace uninstall {

inline constexpr int kExitDone = 0;
inline constexpr int kExitUserCancelled = 1602;  // uninstall mode: the question answered No
// Uninstall mode stopped early (no install log, no temporary file, the spooler refused
// its monitor list, no system directory); register mode wrote nothing.
inline constexpr int kExitFailed = 1603;

}  // namespace uninstall
