// Resource identifiers of Morvane.exe, shared by its code and res/Morvane.rc.
#ifndef MORVANE_RESOURCE_H
#define MORVANE_RESOURCE_H

#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_MORVANE_DIALOG 102
#define IDR_MAINFRAME 128

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// System-menu command of the About entry; the system keeps the low 4 bits of
// WM_SYSCOMMAND for itself, so the id is a multiple of 16 below 0xF000.
#define IDM_ABOUTBOX 0x0010

#endif
