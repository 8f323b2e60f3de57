// Whether the folder the uninstaller runs from is the installation's folder. The same
// program lies on every medium beside its Setup.inf (Setup starts it there with
// "/copy"); run there with "/uninstall" it would empty the medium and leave the
// installation as it is.
#pragma once

#include <optional>
#include <string>

#include "uninstall/uninstall_context.h"

namespace uninstall {

// Nothing when the install folder may be emptied; otherwise why not, for the run log.
// A folder holding "Setup.exe" or a "Driver" folder is a medium. Once the install log is
// read, the installation's own records name its folder: the uninstall entry's
// "InstallLocation" and the port key's "Destination Folder"; a record that names another
// folder wins. Without either record (a run that was stopped after removing them) the
// folder is taken as the installation's.
std::optional<std::string> WhyNotTheInstallFolder(UninstallContext& context);

}  // namespace uninstall
