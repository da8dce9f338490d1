// Pixels a test reads back: what a window paints into a memory bitmap, or what the screen
// shows, as 32-bit 0x00RRGGBB values with the top row first.
#ifndef QV_CAPTURE_H
#define QV_CAPTURE_H

#include <windows.h>

#include <vector>

namespace qvtest {

// `wnd` asked to print its client area (WM_PRINTCLIENT) into a bitmap of that size whose
// bytes all start as `fill`. False, and nothing read, when no bitmap could be made.
bool PrintClientPixels(HWND wnd, BYTE fill, int* width, int* height, std::vector<DWORD>* pixels);
// What the screen shows inside `r`.
bool ScreenPixels(RECT r, int* width, int* height, std::vector<DWORD>* pixels);

} // namespace qvtest

#endif
