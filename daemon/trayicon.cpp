// The notification-area icon, shown while a keyboard is present. The 88-byte record is
// the form every shell from Windows 95 on takes.
#include "daemon.h"

#include <shellapi.h>

static_assert(sizeof(void*) != 4 || NOTIFYICONDATAA_V1_SIZE == 88, "the 88-byte record");

static const char kTip[] = "Tavimon (Lumeno Keyboard)";

static void FillRecord(NOTIFYICONDATAA* nid)
{
    ZeroMemory(nid, sizeof(*nid));
    nid->cbSize = NOTIFYICONDATAA_V1_SIZE;
    nid->hWnd = g_mainWindow;
    nid->uID = IDI_TRAY;
    nid->uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    nid->uCallbackMessage = DM_TRAYNOTIFY;
    nid->hIcon = (HICON)LoadImageA(g_instance, MAKEINTRESOURCEA(IDI_TRAY), IMAGE_ICON, 16, 16, 0);
    char tip[64];
    if (LoadStringA(g_instance, IDS_TRAY_TIP, tip, sizeof(tip)) <= 0)
        lstrcpynA(tip, kTip, sizeof(tip));
    lstrcpynA(nid->szTip, tip, sizeof(nid->szTip));
}

static void ReleaseRecord(NOTIFYICONDATAA* nid)
{
    if (nid->hIcon)
        DestroyIcon(nid->hIcon);
}

void DeleteTrayIcon(void)
{
    if (!g_iconShown)
        return;
    NOTIFYICONDATAA nid;
    FillRecord(&nid);
    if (Shell_NotifyIconA(NIM_DELETE, &nid))
        g_iconShown = FALSE;
    ReleaseRecord(&nid);
}

void UpdateTrayIcon(void)
{
    BOOL present = IsKeyboardPresent();
    if (g_iconShown && !present) {
        DeleteTrayIcon();
    } else if (!g_iconShown && present) {
        NOTIFYICONDATAA nid;
        FillRecord(&nid);
        if (Shell_NotifyIconA(NIM_ADD, &nid))
            g_iconShown = TRUE;
        ReleaseRecord(&nid);
    }
}
