// Resource ids of setup.exe: strings, the same in every language, and the progress animations.
#ifndef QV_SETUP_RESOURCE_H
#define QV_SETUP_RESOURCE_H

#define IDS_FLOPPY_REMINDER 3
#define IDS_WARNING 4
#define IDS_PRODUCT 5
#define IDS_VERSION 6
#define IDS_INTERFACE 7
#define IDS_PS2_INTERFACE 10
#define IDS_USB_INTERFACE 12
#define IDS_INSTALL_DIR 15
#define IDS_SETUP_WARNING 16
#define IDS_UNSUPPORTED_OS 17
#define IDS_SETUP 18
#define IDS_PROGRAM_FOLDER 20

#define IDR_AVI_COPY 111
#define IDR_AVI_DRIVER 112

// Wizard pages and their controls (res/setup.pages.rc).
#define IDB_SIDE 101
#define IDI_SETUP 102
#define IDD_PROGRAM_FOLDER 110
#define IDD_PROGRESS 109
#define IDD_LICENCE 114
#define IDD_DESTINATION 10201
#define IDD_INTERFACE 10203
#define IDD_EXIT_SETUP 10300
#define IDD_WELCOME 12006
#define IDD_SUMMARY 12030
#define IDD_RESULT 12032

#define IDC_PICTURE 1006
#define IDC_WELCOME_TEXT 710
#define IDC_WELCOME_ADVICE 720
#define IDC_LICENCE_TEXT 1010
#define IDC_TEXT_202 202
#define IDC_TEXT_203 203
#define IDC_TYPE_PS2 301
#define IDC_TYPE_USB 303
#define IDC_DESTINATION_PATH 201
#define IDC_BROWSE 31
#define IDC_FOLDER_TEXT 710
#define IDC_FOLDER_NAME 301
#define IDC_FOLDER_LIST 401
#define IDC_SUMMARY_TEXT 711
#define IDC_SUMMARY_LABEL 701
#define IDC_SUMMARY_EDIT 301

#endif
