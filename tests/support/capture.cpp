// One top-down 32-bit bitmap for every pixel read-back of the tests.
#include "capture.h"

#include <string.h>

namespace qvtest {

namespace {

// Fills the bitmap by `draw` (given the memory DC) and reads it back.
template <typename Draw>
bool ReadBack(int width, int height, BYTE fill, std::vector<DWORD>* pixels, Draw draw)
{
    pixels->clear();
    if (width <= 0 || height <= 0)
        return false;
    BITMAPINFO info;
    ZeroMemory(&info, sizeof(info));
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = NULL;
    HDC screen = GetDC(NULL);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = dc ? CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, NULL, 0) : NULL;
    bool ok = bitmap != NULL;
    if (ok) {
        HGDIOBJ old = SelectObject(dc, bitmap);
        memset(bits, fill, (size_t)width * height * 4);
        draw(dc, screen);
        GdiFlush();
        const DWORD* p = (const DWORD*)bits;
        pixels->assign(p, p + (size_t)width * height);
        for (DWORD& pixel : *pixels)
            pixel &= 0xFFFFFF;
        SelectObject(dc, old);
        DeleteObject(bitmap);
    }
    if (dc)
        DeleteDC(dc);
    ReleaseDC(NULL, screen);
    return ok;
}

} // namespace

bool PrintClientPixels(HWND wnd, BYTE fill, int* width, int* height, std::vector<DWORD>* pixels)
{
    RECT client = { 0, 0, 0, 0 };
    GetClientRect(wnd, &client);
    *width = client.right;
    *height = client.bottom;
    return ReadBack(*width, *height, fill, pixels,
                    [wnd](HDC dc, HDC) { SendMessageA(wnd, WM_PRINTCLIENT, (WPARAM)dc, PRF_CLIENT); });
}

bool ScreenPixels(RECT r, int* width, int* height, std::vector<DWORD>* pixels)
{
    *width = r.right - r.left;
    *height = r.bottom - r.top;
    return ReadBack(*width, *height, 0, pixels, [&](HDC dc, HDC screen) {
        BitBlt(dc, 0, 0, *width, *height, screen, r.left, r.top, SRCCOPY);
    });
}

} // namespace qvtest
