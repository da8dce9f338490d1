// The installer's user interface: the background window that owns everything, and the
// wizard it runs. The two meet only here.
#ifndef QV_SETUP_WIZARD_H
#define QV_SETUP_WIZARD_H

#include <windows.h>

// Runs the wizard modally over `owner`; returns when Finish or "Exit Setup" closed it.
void SetupRunWizard(HWND owner);

// Height of the background window's title band, which the wizard is never placed over.
// Written by the background window at each paint, read by the pages.
extern volatile LONG g_titleBandHeight;

#endif
