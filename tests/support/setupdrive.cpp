// Finding and pressing the installer's windows from outside its process.
#include "setupdrive.h"

#include <prsht.h>

namespace qvtest {

namespace {

DWORD ProcessOf(HWND wnd)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(wnd, &pid);
    return pid;
}

bool IsDialog(HWND wnd)
{
    char cls[16];
    return GetClassNameA(wnd, cls, sizeof(cls)) && lstrcmpA(cls, "#32770") == 0;
}

struct Search {
    DWORD pid;
    bool confirmation;
    HWND found;
};

BOOL CALLBACK Match(HWND wnd, LPARAM param)
{
    Search* s = (Search*)param;
    if (ProcessOf(wnd) != s->pid || !IsDialog(wnd) || !IsWindowVisible(wnd))
        return TRUE;
    bool confirmation = GetDlgItem(wnd, 1032) && GetDlgItem(wnd, 1033);
    bool sheet = SendMessageA(wnd, PSM_GETCURRENTPAGEHWND, 0, 0) != 0;
    if (s->confirmation ? confirmation : sheet && !confirmation) {
        s->found = wnd;
        return FALSE;
    }
    return TRUE;
}

HWND WaitFor(DWORD pid, bool confirmation, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        Search s = { pid, confirmation, NULL };
        EnumWindows(Match, (LPARAM)&s);
        if (s.found)
            return s.found;
        if (GetTickCount() - start >= timeoutMs)
            return NULL;
        Sleep(20);
    }
}

} // namespace

const char* SetupPageName(SetupPage page)
{
    static const char* const names[] = { "none", "welcome", "licence", "interface", "destination",
                                         "folder", "summary", "progress", "result", "other" };
    return page >= PAGE_NONE && page <= PAGE_OTHER ? names[page] : "other";
}

SetupPage SetupPageKind(HWND page)
{
    if (!page)
        return PAGE_NONE;
    // Most telling control first: the progress page has a 1010 too.
    if (GetDlgItem(page, 1450))
        return PAGE_PROGRESS;
    if (GetDlgItem(page, 502) && GetDlgItem(page, 503))
        return PAGE_RESULT;
    if (GetDlgItem(page, 701))
        return PAGE_SUMMARY;
    if (GetDlgItem(page, 401))
        return PAGE_FOLDER;
    if (GetDlgItem(page, 31))
        return PAGE_DESTINATION;
    if (GetDlgItem(page, 303))
        return PAGE_INTERFACE;
    if (GetDlgItem(page, 1010))
        return PAGE_LICENCE;
    if (GetDlgItem(page, 720))
        return PAGE_WELCOME;
    return PAGE_OTHER;
}

HWND WaitForSheet(DWORD pid, DWORD timeoutMs) { return WaitFor(pid, false, timeoutMs); }

HWND WaitForExitConfirmation(DWORD pid, DWORD timeoutMs) { return WaitFor(pid, true, timeoutMs); }

HWND WaitForSetupPage(HWND sheet, SetupPage kind, HANDLE process, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        HWND page = IsWindow(sheet) ? (HWND)SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0) : NULL;
        if (page && SetupPageKind(page) == kind && IsWindowVisible(page))
            return page;
        if (GetTickCount() - start >= timeoutMs || (process && WaitForSingleObject(process, 0) == WAIT_OBJECT_0))
            return NULL;
        Sleep(20);
    }
}

void PressButton(HWND window, int id) { PostMessageA(GetDlgItem(window, id), BM_CLICK, 0, 0); }

bool SaveScreenBmp(const std::string& path)
{
    HDC screen = GetDC(NULL);
    if (!screen)
        return false;
    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFOHEADER info;
    ZeroMemory(&info, sizeof(info));
    info.biSize = sizeof(info);
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    void* bits = NULL;
    HBITMAP bitmap = memory ? CreateDIBSection(screen, (BITMAPINFO*)&info, DIB_RGB_COLORS, &bits, NULL, 0) : NULL;
    bool ok = false;
    if (bitmap) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        ok = BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY) != FALSE;
        GdiFlush();
        SelectObject(memory, old);
        DWORD rowBytes = ((DWORD)width * 3 + 3) & ~3u;
        DWORD imageBytes = rowBytes * (DWORD)height;
        BITMAPFILEHEADER file;
        ZeroMemory(&file, sizeof(file));
        file.bfType = 0x4D42;
        file.bfOffBits = sizeof(file) + sizeof(info);
        file.bfSize = file.bfOffBits + imageBytes;
        HANDLE out = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
        DWORD written;
        ok = ok && out != INVALID_HANDLE_VALUE && WriteFile(out, &file, sizeof(file), &written, NULL) &&
             WriteFile(out, &info, sizeof(info), &written, NULL) && WriteFile(out, bits, imageBytes, &written, NULL);
        if (out != INVALID_HANDLE_VALUE)
            CloseHandle(out);
        DeleteObject(bitmap);
    }
    if (memory)
        DeleteDC(memory);
    ReleaseDC(NULL, screen);
    return ok;
}

} // namespace qvtest
