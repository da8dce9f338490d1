// The one display window: a borderless top-most tool window over the whole screen,
// cut to the shape of what it shows and filled with the display colour, and the hide
// timer that takes it off the screen again.
#include "QVOSD.h"
#include "geometry.h"
#include "internal.h"

HWND g_osdWindow;

namespace {

const UINT_PTR kHideTimer = 0;

bool g_shown;
bool g_hideTimerActive;
bool g_keepShowing;

void StopHideTimer()
{
    if (g_hideTimerActive) {
        KillTimer(g_osdWindow, kHideTimer);
        g_hideTimerActive = false;
    }
}

void StartHideTimer()
{
    g_hideTimerActive = SetTimer(g_osdWindow, kHideTimer, g_osd.duration, NULL) != 0;
}

LRESULT OnDisplayChange(HWND window, int width, int height)
{
    if (!OsdUserChangedStored())
        g_osd.font.lfHeight = ScaledFontHeight(height, g_osd.storedHeight);
    SetWindowPos(window, HWND_TOPMOST, 0, 0, width, height, 0);
    return 0;
}

LRESULT OnHideTimer(HWND window)
{
    KillTimer(window, kHideTimer);
    g_hideTimerActive = false;
    if (!g_keepShowing)
        OsdHide();
    return 0;
}

LRESULT CALLBACK DisplayWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_DISPLAYCHANGE:
        return OnDisplayChange(window, LOWORD(lParam), HIWORD(lParam));
    case WM_TIMER:
        if (wParam == kHideTimer)
            return OnHideTimer(window);
        break;
    case WM_NCDESTROY:
        if (window == g_osdWindow) {
            g_osdWindow = NULL;
            g_shown = g_hideTimerActive = false;
        }
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

HWND OsdEnsureWindow()
{
    if (g_osdWindow && IsWindow(g_osdWindow))
        return g_osdWindow;
    g_shown = g_hideTimerActive = false;
    g_osdWindow = CreateWindowExA(WS_EX_TOOLWINDOW, OSD_WINDOW_CLASS, "QV_OSD_WND", WS_POPUP, 0, 0,
                                  GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                                  NULL, NULL, g_osdInstance, NULL);
    if (!g_osdWindow)
        return NULL;
    // After OSD_Destroy the class's brush is gone; a window made again needs a live one.
    OsdEnsureBrush(g_osdWindow);
    ShowWindow(g_osdWindow, SW_HIDE);
    UpdateWindow(g_osdWindow);
    return g_osdWindow;
}

void OsdHide()
{
    if (g_shown) {
        ShowWindow(g_osdWindow, SW_HIDE);
        g_shown = false;
    }
}

void OsdShowRegion(HRGN region, OsdShowKind kind)
{
    if (kind == OSD_SHOW_TEXT)
        OsdHide();
    StopHideTimer();
    if (!g_osdWindow || !SetWindowRgn(g_osdWindow, region, TRUE)) {
        DeleteObject(region); // not handed over, so still ours
        if (!g_osdWindow)
            return;
    }
    SetWindowPos(g_osdWindow, HWND_TOPMOST, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
    // The new shape gets a moment on screen before the caller goes on.
    Sleep(kind == OSD_SHOW_TEXT ? 100 : 10);
    if (kind == OSD_SHOW_VOLUME || !g_keepShowing)
        StartHideTimer();
    g_shown = true;
}

int WINAPI OSD_Init(void)
{
    WNDCLASSA windowClass;
    if (!GetClassInfoA(g_osdInstance, OSD_WINDOW_CLASS, &windowClass)) {
        if (!g_osd.brush)
            g_osd.brush = CreateSolidBrush(g_osd.color);
        ZeroMemory(&windowClass, sizeof(windowClass));
        windowClass.lpfnWndProc = DisplayWindowProc;
        windowClass.hInstance = g_osdInstance;
        windowClass.hCursor = LoadCursorA(NULL, (LPCSTR)IDC_ARROW);
        windowClass.hbrBackground = g_osd.brush;
        windowClass.lpszClassName = OSD_WINDOW_CLASS;
        RegisterClassA(&windowClass);
    }
    OsdEnsureWindow();
    OSD_LoadSettings();
    return 1;
}

int WINAPI OSD_Destroy(void)
{
    if (g_osdWindow) {
        SendMessageA(g_osdWindow, WM_CLOSE, 0, 0);
        g_osdWindow = NULL;
    }
    if (g_osd.brush) {
        DeleteObject(g_osd.brush);
        g_osd.brush = NULL;
    }
    return OSD_SaveSettings();
}

int WINAPI OSD_KeepShowing(int keep)
{
    g_keepShowing = keep != 0;
    if (keep) {
        if (!g_hideTimerActive)
            return 0;
        BOOL killed = KillTimer(g_osdWindow, kHideTimer);
        g_hideTimerActive = false;
        return killed;
    }
    if (g_hideTimerActive)
        return 1;
    if (!g_osdWindow)
        return 0;
    StartHideTimer();
    return g_hideTimerActive ? 1 : 0;
}
