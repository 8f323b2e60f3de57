// The process exit status of Setup. A silent deployment reads it to tell a completed
// installation from every way the run can end early; docs/deployment.md has the table.
#pragma once

namespace setup {

inline constexpr int kExitInstalled = 0;
inline constexpr int kExitUserCancelled = 1602;    // welcome, licence or destination declined
// This Windows is not supported, or the run reached its end without a usable, removable
// printer: no driver, no printer, or no uninstall entry.
inline constexpr int kExitInstallFailed = 1603;
inline constexpr int kExitAlreadyInstalled = 1638;
// Another installation or removal of the product is running; nothing was changed.
inline constexpr int kExitAnotherRunInProgress = 1618;
// Windows protected print mode is on; nothing was changed.
inline constexpr int kExitBlockedByPolicy = 1625;
// The install log's printer or port belongs to another edition of the product; nothing
// was changed (ERROR_ALREADY_EXISTS).
inline constexpr int kExitOwnedByAnotherEdition = 183;
// Every other early end exits with the id of the message that names the failure
// (106, 107, 108, 110, 113, 114, 403, 404), or 109 for the "(Err-109)" text.
inline constexpr int kExitPagemillFailed = 109;

}  // namespace setup
