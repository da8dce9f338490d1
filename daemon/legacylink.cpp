// The Windows 95/98/Me keyboard driver: opened (and so loaded) by name, told where to post
// its notice, asked for the waiting record, and given the code back. Synchronous calls.
#include "daemon.h"
#include "links.h"

HANDLE g_legacyLink = NULL;

static DWORD LegacyCall(DWORD code, const void* in, DWORD inSize, void* out, DWORD outSize)
{
    DWORD got = 0;
    if (!DeviceIoControl(g_legacyLink, code, (void*)in, inSize, out, outSize, &got, NULL))
        return 0;
    return got;
}

void OpenLegacyLink(HWND window)
{
    if (!g_legacyLink) {
        HANDLE h = CreateFileA("\\\\.\\QV3300.VXD", 0, 0, NULL, 0, FILE_FLAG_DELETE_ON_CLOSE, NULL);
        if (h != INVALID_HANDLE_VALUE)
            g_legacyLink = h;
    }
    if (!g_legacyLink)
        return;
    // The driver takes 32-bit values; window handles fit in them on every Windows.
    DWORD value = (DWORD)(ULONG_PTR)window;
    LegacyCall(VXD_SET_WINDOW, &value, sizeof(value), NULL, 0);
    value = DM_VXDEVENT;
    LegacyCall(VXD_SET_MESSAGE, &value, sizeof(value), NULL, 0);
    value = 1;
    LegacyCall(VXD_ENABLE, &value, sizeof(value), NULL, 0);
}

void CloseLegacyLink(void)
{
    if (g_legacyLink) {
        CloseHandle(g_legacyLink);
        g_legacyLink = NULL;
    }
}

void SendLegacyCode(BYTE code)
{
    if (g_legacyLink)
        LegacyCall(VXD_SEND_CODE, &code, 1, NULL, 0);
}

void OnVxdEvent(void)
{
    if (!g_legacyLink)
        return;
    KeyEvent event = { 0, 0, 0 };
    if (LegacyCall(VXD_READ_EVENT, NULL, 0, &event, sizeof(event)))
        ForwardKeyCode(event.code, event.type);
}

void OnBeepRequest(void)
{
    if (!g_legacyLink)
        return;
    BYTE answer = 0;
    if (LegacyCall(VXD_READ_BEEP, NULL, 0, &answer, 1))
        MessageBeep(0);
}
