// Taking the product's objects out of the print spooler: the printer, the driver, the
// port, the monitor and the monitor's DLL, in that order.
#pragma once

#include "uninstall/uninstall_context.h"

namespace uninstall {

// Removes what it can; a driver or port still used by another printer, or a monitor
// still serving a port, stays. A printer that is there but cannot be deleted is shown
// ("Delete Printer failed. (Err-201)"), also when silent. Gives false when the system
// folder cannot be found (after showing the failure): the monitor and everything after
// it then stay. Sets context.systemFolder.
bool RemoveSpoolerObjects(UninstallContext& context);

}  // namespace uninstall
