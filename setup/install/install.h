// The worker's steps that stop and start programs, and the replacement of files in use at
// the next restart. Each reads the installer state and the chosen script.
#ifndef QV_SETUP_INSTALL_H
#define QV_SETUP_INSTALL_H

#include <windows.h>

// "Kill Programs" (killprograms.cpp): every listed window's program is ended (NT) or asked
// to close (95 family).
void SetupKillPrograms(void);
// Ends the process of `wnd` from inside it, with exit code 0, and waits for it to end.
// 1 when done; otherwise 0 with the reason as the thread's last error (1067: the process
// had already ended).
int SetupEndWindowProcess(HWND wnd);

// "Run Programs" and the driver service (runprograms.cpp); nothing waits for them.
void SetupRunPrograms(void);
// "net start hkport" on NT 5 and later; 1 when started.
int SetupStartDriverService(void);

// Replacement at restart (restart.cpp): every rename-list entry, through wininit.ini on
// Windows 95 and delayed moves elsewhere. How many were scheduled.
int SetupScheduleRenames(void);
// One entry through wininit.ini in the Windows directory; 1 when written.
int SetupScheduleWininit(const char* target, const char* substitute);

#endif
