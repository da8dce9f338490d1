// The daemon's side of the keyboard's drivers: the open and close sequences over all four
// links, device presence for the tray icon, and forwarding of code bytes to hkport (2000
// and later) or back to the legacy driver.
#include "daemon.h"
#include "links.h"

#include "QVUtil.h"

static FilterLink g_usbFilter = { "\\\\.\\QV_USB_3300_Filter", NULL, NULL, NULL, NULL, 0 };
static FilterLink g_ntFilter = { "\\\\.\\QV_3355_NT_USB_Filter_Driver", NULL, NULL, NULL, NULL, 0 };
static HANDLE g_portLink = NULL;
static HANDLE g_portDone = NULL; // the forwarding requests' completion event

BOOL OpenDriverLinks(void)
{
    OpenLegacyLink(g_mainWindow);
    OpenFilterLink(&g_usbFilter);
    OpenFilterLink(&g_ntFilter);
    if (!g_portLink)
        g_portLink = OpenDeviceLink("\\\\.\\IoctlTest");
    if (g_portLink && !g_portDone)
        g_portDone = CreateEventA(NULL, TRUE, FALSE, NULL);
    return g_portLink != NULL;
}

void CloseDriverLinks(void)
{
    CloseLegacyLink();
    StopReader(&g_usbFilter);
    StopReader(&g_ntFilter);
    CloseFilterLink(&g_usbFilter);
    CloseFilterLink(&g_ntFilter);
    if (g_portLink) {
        CloseHandle(g_portLink);
        g_portLink = NULL;
    }
    if (g_portDone) {
        CloseHandle(g_portDone);
        g_portDone = NULL;
    }
}

BOOL IsKeyboardPresent(void)
{
    DWORD count = 0;
    if (g_usbFilter.handle) {
        DWORD got;
        if (!FilterRequest(g_usbFilter.handle, NULL, IOCTL_FILTER_DEVICE_COUNT, NULL, 0, &count, sizeof(count), &got) ||
            got < sizeof(count))
            count = 0;
    }
    // Counted apart: a count of 0xFFFFFFFF plus one must not read as no keyboard.
    return count != 0 || g_ntFilter.handle || g_legacyLink;
}

void ForwardKeyCode(DWORD code, DWORD type)
{
    if (type != EVENT_TYPE_FORWARD)
        return;
    BYTE byte = (BYTE)(code & 0xFF);
    if (IsWin2000()) {
        DWORD got;
        if (g_portLink)
            FilterRequest(g_portLink, g_portDone, IOCTL_PORT_SEND_CODE, &byte, 1, NULL, 0, &got);
    } else {
        SendLegacyCode(byte);
    }
}
