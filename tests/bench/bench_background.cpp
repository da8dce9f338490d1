// One full paint of the installer's background window with the sample logo: through
// WM_PAINT on the screen (the whole client invalidated, then painted at once) and into a
// memory bitmap through WM_PRINTCLIENT. The client is 1024 x 768 where the screen has
// room for it, else the maximised window on a smaller screen; the size is printed.
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <string>
#include <vector>

#include "background.h"
#include "setup.h"
#include "setuptest.h"
#include "wintest.h"

using namespace qvtest;
using namespace setuptest;

namespace {

const int kRounds = 200;

double Now()
{
    static LARGE_INTEGER frequency;
    if (!frequency.QuadPart)
        QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return (double)t.QuadPart * 1000.0 / (double)frequency.QuadPart;
}

void Report(const char* what, std::vector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    double sum = 0;
    for (double m : ms)
        sum += m;
    printf("%-34s median %.3f ms, mean %.3f ms, fastest %.3f ms, slowest %.3f ms (%d paints)\n", what,
           ms[ms.size() / 2], sum / ms.size(), ms.front(), ms.back(), (int)ms.size());
}

} // namespace

int main()
{
    std::string dir = MakeSetupDir("bkgbench");
    std::string logo = DirOf(SelfPath()) + "\\setup-logo.pcx";
    WriteScript(dir + "\\SETUP2K.INI", "[Setup]\nProductName=Tavimon Keyboard\nBkgLogo=" + logo + "\n");
    if (!StartIn(dir)) {
        printf("no script\n");
        return 1;
    }
    HINSTANCE instance = GetModuleHandleA(NULL);
    SetupRegisterBackground(instance);
    HWND wnd = SetupCreateBackground(instance);
    if (!wnd) {
        printf("no window\n");
        return 1;
    }
    MSG msg;
    PeekMessageA(&msg, wnd, WM_SETUP_START, WM_SETUP_START, PM_REMOVE);  // no wizard
    RECT want = { 0, 0, 1024, 768 };
    AdjustWindowRect(&want, WS_OVERLAPPEDWINDOW, FALSE);
    int wantWidth = want.right - want.left, wantHeight = want.bottom - want.top;
    if (GetSystemMetrics(SM_CXSCREEN) >= wantWidth && GetSystemMetrics(SM_CYSCREEN) >= wantHeight) {
        ShowWindow(wnd, SW_RESTORE);
        SetWindowPos(wnd, NULL, 0, 0, wantWidth, wantHeight, SWP_NOZORDER);
        SendMessageA(wnd, WM_SETTINGCHANGE, 0, 0);  // the picture to the new right edge
        SetWindowPos(wnd, NULL, 0, 0, wantWidth, wantHeight, SWP_NOZORDER);
    }
    PumpFor(200);
    RECT client;
    GetClientRect(wnd, &client);
    printf("screen %dx%d, client %ldx%ld, picture %s\n", GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
           client.right, client.bottom, logo.c_str());

    std::vector<double> screen, memory;
    for (int i = 0; i < kRounds; ++i) {
        InvalidateRect(wnd, NULL, TRUE);
        double t0 = Now();
        UpdateWindow(wnd);
        GdiFlush();
        screen.push_back(Now() - t0);
    }
    HDC screenDc = GetDC(NULL);
    HDC dc = CreateCompatibleDC(screenDc);
    HBITMAP bitmap = CreateCompatibleBitmap(screenDc, client.right, client.bottom);
    ReleaseDC(NULL, screenDc);
    HGDIOBJ old = SelectObject(dc, bitmap);
    for (int i = 0; i < kRounds; ++i) {
        double t0 = Now();
        SendMessageA(wnd, WM_PRINTCLIENT, (WPARAM)dc, PRF_CLIENT);
        GdiFlush();
        memory.push_back(Now() - t0);
    }
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    Report("WM_PAINT, erase and paint:", screen);
    Report("WM_PRINTCLIENT into a bitmap:", memory);
    DestroyWindow(wnd);
    PeekMessageA(&msg, NULL, WM_QUIT, WM_QUIT, PM_REMOVE);
    RemoveTree(dir);
    return 0;
}
