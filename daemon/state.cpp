// The daemon's process-wide state, apart from the entry so the switch table can be tested
// on its own.
#include "daemon.h"

char g_profileKey[DAEMON_TEXT_SIZE] = DAEMON_PROFILE_KEY;
BOOL g_runOnce = FALSE;
BOOL g_showIcon = FALSE;
HWND g_mainWindow = NULL;
HINSTANCE g_instance = NULL;
BOOL g_iconShown = FALSE;
