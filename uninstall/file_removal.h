// Removing what the installer left outside the spooler: the uninstall entry and the
// port key, the Start-menu shortcuts and their group, the Ghostscript folder, the
// product files and the install folder. Every step is best effort: what cannot be
// removed stays, without a message; the install folder gets a second chance at the next
// restart.
#pragma once

#include <string>
#include <vector>

#include "uninstall/uninstall_context.h"

namespace uninstall {

// Deletes every file (never a folder) that `pattern` matches; the pattern is a path
// whose last part may hold * and ?. Gives the files it matched but could not delete.
std::vector<std::string> DeleteMatchingFiles(platform::FileSystem& files, const std::string& pattern,
                                             const text::LeadBytes& leadBytes);

// As DeleteMatchingFiles; a file that stays (in use) is scheduled for deletion at the next
// restart, and the run then ends asking for one. A read-only file stays as it is: it
// was made so on purpose, and the restart would not delete it either.
void DeleteOrSchedule(UninstallContext& context, const std::string& pattern);

// The product's uninstall entry and its port key, in the 64-bit view; a key that has
// subkeys of its own stays.
void RemoveRegistryEntries(UninstallContext& context);

// The four shortcuts in the product's program group of the common Programs folder, and
// the group's folder when nothing else is left in it.
void RemoveShortcuts(UninstallContext& context);

// The files of the install folder's "GNUGS" folder and the folder itself.
void RemoveGhostscriptFolder(UninstallContext& context);

// The product files and the COM server once it is unregistered; the install log stays
// for RemoveInstallLogAndFolder.
void RemoveProductFiles(UninstallContext& context);

// The install log, last of all the files, so that a run stopped before this point can
// be run again to its end; then the install folder, which is scheduled for the next
// restart when it cannot go now (the uninstaller itself is still in it).
void RemoveInstallLogAndFolder(UninstallContext& context);

}  // namespace uninstall
