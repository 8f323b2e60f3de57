/* The installer's dialog templates, their controls and its icon. Included by setup.rc
   (through the resource compiler's preprocessor) and by the dialogs' C++ code. */
#ifndef SETUP_DIALOG_IDS_H
#define SETUP_DIALOG_IDS_H

#define IDI_SETUP 128

/* The licence agreement: the licence text and the question below it. */
#define IDD_LICENCE_AGREEMENT 102
#define IDC_LICENCE_TEXT 1000
#define IDC_LICENCE_QUESTION 1006

/* The destination folder: the folder field and its Browse button. */
#define IDD_DESTINATION_FOLDER 132
#define IDC_DESTINATION_FOLDER 1001
#define IDC_BROWSE 1002

/* The progress window: the bar and the status line. */
#define IDD_INSTALL_PROGRESS 135
#define IDC_PROGRESS_BAR 1003
#define IDC_PROGRESS_STATUS 1005

#endif
