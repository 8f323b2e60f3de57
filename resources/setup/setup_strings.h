/* The installer's string table: ids and texts. Included by setup.rc (through the
   resource compiler's preprocessor) and by C++ code, so both read the same texts. */
#ifndef SETUP_STRINGS_H
#define SETUP_STRINGS_H

#define IDS_WELCOME 104
#define IDS_ALREADY_INSTALLED 105
#define IDS_ENUM_MONITORS_FAILED 106
#define IDS_NO_SYSTEM_DIRECTORY 107
#define IDS_COPY_DLL_FAILED 108
#define IDS_COPY_HELP_FAILED 109
#define IDS_COPY_UNINSTALLER_FAILED 110
#define IDS_ADD_FAILED 111
#define IDS_FINISHED 112
#define IDS_NEED_ADMINISTRATOR 113
#define IDS_NO_INSTALL_LOG 114
#define IDS_PROGRESS_CAPTION 136
#define IDS_INSTALL_FAILED 402
#define IDS_COPY_FILES_FAILED 403
#define IDS_CREATE_DESTINATION_FAILED 404

#define TEXT_WELCOME "Welcome to the %s Setup program. This program will install %s on your computer.\n\nDo you wish to continue?\n"
#define TEXT_ALREADY_INSTALLED "%s is already installed. \nYou need to uninstall the %s BEFORE re-installing."
#define TEXT_ENUM_MONITORS_FAILED "EnumMonitors() failed. Error = %d."
#define TEXT_NO_SYSTEM_DIRECTORY "Can't find system directory. Error = %d."
#define TEXT_COPY_DLL_FAILED "Error copying DLL. Error = %d."
#define TEXT_COPY_HELP_FAILED "Error copying help file. Error = %d."
#define TEXT_COPY_UNINSTALLER_FAILED "Error copying uninstall program. Error = %d."
#define TEXT_ADD_FAILED "Add %s failed. Error = %d. "
#define TEXT_FINISHED "Setup has finished installing %s on your computer. Please restart your system. \n\nTo create PDF document, just print to the %s printer from any Windows application."
#define TEXT_NEED_ADMINISTRATOR "Please use an administrator account to install the application."
#define TEXT_NO_INSTALL_LOG "Unable to locate the installation log file 'setup.inf'. Setup will not continue."
#define TEXT_PROGRESS_CAPTION "Pagemill Setup"
#define TEXT_INSTALL_FAILED "Install %s failed."
#define TEXT_COPY_FILES_FAILED "Error copying files"
#define TEXT_CREATE_DESTINATION_FAILED "Error creating destination folder"

#endif
