// What the daemon's files share: the process-wide state of the main thread, the private
// message numbers other programs and drivers send, and the operations of each file.
#ifndef QV_DAEMON_H
#define QV_DAEMON_H

#include <windows.h>

#define DM_VXDEVENT 0x0524
#define DM_TRAYNOTIFY 0x0615
#define DM_FILTEREVENT 0x0825
#define DM_RELOAD 0x0C06
#define DM_SHOWICON 0x0C24
#define DM_POSTRUNEXIT 0x8469

#define DAEMON_CLASS "QV5120DM"
#define DAEMON_PROFILE_KEY "Software\\Qelvano\\5125"
#define DAEMON_POSTRUN_KEY "Software\\Qelvano\\PostRun"
#define DAEMON_TEXT_SIZE 260

#define IDI_DAEMON 101
#define IDI_TRAY 108
#define IDS_TRAY_TIP 1

// Main thread only, except g_mainWindow, which the reader threads read after it is set.
extern char g_profileKey[DAEMON_TEXT_SIZE];
extern BOOL g_runOnce;
extern BOOL g_showIcon;
extern HWND g_mainWindow;
extern HINSTANCE g_instance;
extern BOOL g_iconShown;

// cmdline.cpp
void ParseCommandLine(LPCSTR text);

// main.cpp
int DaemonMain(HINSTANCE instance, LPCSTR commandLine);

// mainwindow.cpp
LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// lifecycle.cpp
void DaemonInit(HWND window);
void DaemonShutdown(void);

// trayicon.cpp
void UpdateTrayIcon(void);
void DeleteTrayIcon(void);

// driverlink.cpp
BOOL OpenDriverLinks(void);
void CloseDriverLinks(void);
BOOL IsKeyboardPresent(void);
void ForwardKeyCode(DWORD code, DWORD type);
void OnVxdEvent(void);
void OnBeepRequest(void);

#endif
