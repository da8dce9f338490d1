// Start-up and shut-down in their fixed order: the libraries and driver links come up
// while the main window is created and go down on WM_DESTROY or WM_ENDSESSION, once.
#include "daemon.h"

#include "QVOSD.h"
#include "QVUtil.h"

static BOOL g_shutDown = FALSE;

void DaemonInit(HWND window)
{
    g_mainWindow = window;
    g_shutDown = FALSE;
    char user[256];
    DWORD size = sizeof(user);
    if (!GetUserNameA(user, &size))
        user[0] = '\0';
    user[sizeof(user) - 1] = '\0';
    Reg_InitProfile(g_profileKey, user);
    InitAspi();
    OpenDriverLinks();
    if (!IsWin2000() && !IsNT())
        AudioCD_OpenCDAudio(NULL);
    Mixer_Init(window);
    OSD_Init();
    UpdateTrayIcon();
}

// WM_ENDSESSION may be followed by WM_DESTROY: everything is taken down only once.
void DaemonShutdown(void)
{
    if (g_shutDown)
        return;
    g_shutDown = TRUE;
    DeleteTrayIcon();
    DestroyAspi();
    OSD_Destroy();
    CloseDriverLinks();
    // Closed on every system, though opened only on 95/98/Me.
    AudioCD_CloseCDAudio();
    PostQuitMessage(0);
}
