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

#endif
