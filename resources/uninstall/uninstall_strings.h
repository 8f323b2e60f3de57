/* The uninstaller's string table: ids and texts. Included by uninstall.rc (through the
   resource compiler's preprocessor) and by C++ code, so both read the same texts. */
#ifndef UNINSTALL_STRINGS_H
#define UNINSTALL_STRINGS_H

#define IDS_CONFIRM_REMOVAL 1
#define IDS_REMOVED 3
#define IDS_NO_UNINSTALL_LOG 4
#define IDS_UNINSTALL_FAILED 7

#define TEXT_CONFIRM_REMOVAL "This will remove %s from your system. Do you wish to continue?"
#define TEXT_REMOVED "%s has been removed from your system.\nIt is recommended that you restart your machine to remove files that were in use during uninstall."
#define TEXT_NO_UNINSTALL_LOG "Unable to locate the installation log file 'setup.inf'. Uninstallation will not continue."
#define TEXT_UNINSTALL_FAILED "UnInstall %s failed."

#endif
