// The hidden main window: the address of driver notices, device changes and requests from
// other copies and programs. The procedure only dispatches; each handler is one message.
#include "daemon.h"

#include <dbt.h>

#include "QVOSD.h"
#include "QVUtil.h"

static LRESULT OnCreate(HWND window)
{
    DaemonInit(window);
    return 0;
}

// WM_DESTROY and WM_ENDSESSION, also when the log-off was cancelled (wParam FALSE): the
// daemon ends either way.
static LRESULT OnShutdown(void)
{
    DaemonShutdown();
    return 0;
}

static LRESULT OnPaint(HWND window)
{
    PAINTSTRUCT ps;
    if (BeginPaint(window, &ps))
        EndPaint(window, &ps);
    return 0;
}

static LRESULT OnDeviceChange(WPARAM change)
{
    if (change == DBT_DEVICEARRIVAL || change == DBT_DEVNODES_CHANGED)
        OpenDriverLinks();
    if (change == DBT_DEVICEARRIVAL || change == DBT_DEVICEREMOVECOMPLETE || change == DBT_DEVNODES_CHANGED)
        UpdateTrayIcon();
    return 0;
}

static LRESULT OnUser(void)
{
    OnBeepRequest();
    return 0;
}

// The icon has no menu and no click does anything.
static LRESULT OnTrayNotify(void)
{
    return 1;
}

static LRESULT OnVxdNotice(void)
{
    OnVxdEvent();
    return 1;
}

static LRESULT OnFilterEvent(WPARAM code, LPARAM type)
{
    ForwardKeyCode((DWORD)code, (DWORD)type);
    return 1;
}

static LRESULT OnReload(void)
{
    UpdateTrayIcon();
    OSD_LoadSettings();
    return 1;
}

static LRESULT OnShowIcon(void)
{
    UpdateTrayIcon();
    return 1;
}

static LRESULT OnPostRunExit(HWND window)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, DAEMON_POSTRUN_KEY, 0, KEY_READ | KEY_SET_VALUE | KEY_CREATE_SUB_KEY,
                      &key) == ERROR_SUCCESS) {
        char self[DAEMON_TEXT_SIZE];
        DWORD n = GetModuleFileNameA(NULL, self, sizeof(self));
        if (n > 0 && n < sizeof(self))
            RegSetValueExA(key, self, 0, REG_SZ, (const BYTE*)"", 1);
        RegCloseKey(key);
    }
    PostMessageA(window, WM_DESTROY, 0, 0);
    return 0;
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:       return OnCreate(window);
    case WM_DESTROY:      return OnShutdown();
    case WM_ENDSESSION:   return OnShutdown();
    case WM_PAINT:        return OnPaint(window);
    case WM_DEVICECHANGE: return OnDeviceChange(wParam);
    case WM_USER:         return OnUser();
    case DM_VXDEVENT:     return OnVxdNotice();
    case DM_TRAYNOTIFY:   return OnTrayNotify();
    case DM_FILTEREVENT:  return OnFilterEvent(wParam, lParam);
    case DM_RELOAD:       return OnReload();
    case DM_SHOWICON:     return OnShowIcon();
    case DM_POSTRUNEXIT:  return OnPostRunExit(window);
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
