// The full-screen window behind the wizard: it owns the wizard, paints the product title
// and the script's picture, and ends the program when the wizard is over.
#ifndef QV_SETUP_BACKGROUND_H
#define QV_SETUP_BACKGROUND_H

#include <windows.h>

#define SETUP_BACKGROUND_CLASS "QelvanoSetup"
// Posted by the window to itself at creation; runs the wizard.
#define WM_SETUP_START (WM_APP + 100)

// The window class, with the program's icon 102; 0 when it cannot be registered.
ATOM SetupRegisterBackground(HINSTANCE instance);
// The window over the work area, shown maximised, or hidden with the option "H".
// Needs the registered class and the installer state; null on failure.
HWND SetupCreateBackground(HINSTANCE instance);
// Start-up's last step: class, window and message loop; the loop's exit code.
int SetupRunBackground(HINSTANCE instance);

#endif
