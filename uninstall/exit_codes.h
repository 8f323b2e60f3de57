// The process exit status of unInstpm64; docs/deployment.md has the table.
#pragma once

namespace uninstall {

inline constexpr int kExitDone = 0;
inline constexpr int kExitUserCancelled = 1602;  // uninstall mode: the question answered No
// Uninstall mode stopped early (no install log, no temporary file, the spooler refused
// its monitor list, no system directory); register mode wrote nothing.
// Uninstall mode also ends so when the printer could not be deleted, and when the
// uninstaller is not in the installation's folder (nothing removed).
inline constexpr int kExitFailed = 1603;
// Uninstall mode ran to its end but left files for the next restart to delete.
inline constexpr int kExitRestartNeeded = 3010;
// Another installation or removal of the product holds the run lock: nothing was done.
inline constexpr int kExitAnotherRunInProgress = 1618;
// No mode on the command line: nothing was done.
inline constexpr int kExitInvalidParameter = 87;

}  // namespace uninstall
