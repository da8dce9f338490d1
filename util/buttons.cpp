// The catalogue of built-in functions a keyboard button can be bound to: names stored by
// button configuration, localized descriptions, the HID usage of the key that carries
// each one, and dispatch of button events to the handlers.
#include "QVUtil.h"
#include "internal.h"

#ifndef WM_APPCOMMAND
#define WM_APPCOMMAND 0x0319
#endif

QVUTIL_API LRESULT WINAPI SendAppCommand(HWND hwnd, int command)
{
    // Only the command byte is sent: no device or key-state bits.
    LPARAM packed = (LPARAM)((DWORD)(command & 0xFF) << 16);
    return SendMessageA(hwnd, WM_APPCOMMAND, (WPARAM)hwnd, packed);
}
