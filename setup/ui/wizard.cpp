// The wizard frame: the eight pages in their fixed order as one property sheet in wizard
// mode, the side picture they share, and where the frame goes and how it comes forward.
#include "wizard.h"

#include "pages.h"
#include "resource.h"
#include "setup.h"
#include "wizardplace.h"

#include <commctrl.h>

volatile LONG g_titleBandHeight = 0;

namespace {

#ifndef SPI_GETFOREGROUNDLOCKTIMEOUT
#define SPI_GETFOREGROUNDLOCKTIMEOUT 0x2000
#define SPI_SETFOREGROUNDLOCKTIMEOUT 0x2001
#endif

HBITMAP g_side;
WNDPROC g_frameProc;

struct PageEntry {
    int templateId;
    DLGPROC proc;
};

const PageEntry kPages[PAGE_COUNT] = {
    { IDD_WELCOME, WelcomePageProc },         { IDD_LICENCE, LicencePageProc },
    { IDD_INTERFACE, TypePageProc },          { IDD_DESTINATION, DestinationPageProc },
    { IDD_PROGRAM_FOLDER, FolderPageProc },   { IDD_SUMMARY, SummaryPageProc },
    { IDD_PROGRESS, ProgressPageProc },       { IDD_RESULT, ResultPageProc },
};

// Hidden mode holds the frame hidden whoever tries to show it; display and setting changes
// reach top-level windows only, so the frame places itself for its pages.
LRESULT CALLBACK FrameProc(HWND frame, UINT message, WPARAM wParam, LPARAM lParam)
{
    WNDPROC next = g_frameProc;
    switch (message) {
    case WM_WINDOWPOSCHANGING:
        if (g_setup.hidden)
            ((WINDOWPOS*)lParam)->flags &= ~SWP_SHOWWINDOW;
        break;
    case WM_DISPLAYCHANGE:
    case WM_SETTINGCHANGE: {
        LRESULT answer = CallWindowProcA(next, frame, message, wParam, lParam);
        WizardPlaceFrame(frame);
        return answer;
    }
    case WM_NCDESTROY:
        SetWindowLongPtrA(frame, GWLP_WNDPROC, (LONG_PTR)next);
        g_frameProc = NULL;
        break;
    }
    return CallWindowProcA(next, frame, message, wParam, lParam);
}

void ClearVisible(LPARAM templ)
{
    // A DLGTEMPLATEEX starts with version 1 and 0xFFFF; its style is at byte 12.
    WORD* words = (WORD*)templ;
    DWORD* style = words[1] == 0xFFFF ? (DWORD*)(words + 6) : (DWORD*)words;
    *style &= ~WS_VISIBLE;
}

int CALLBACK SheetCallback(HWND frame, UINT message, LPARAM lParam)
{
    if (message == PSCB_PRECREATE && lParam && g_setup.hidden)
        ClearVisible(lParam);
    if (message == PSCB_INITIALIZED && frame && !g_frameProc)
        g_frameProc = (WNDPROC)SetWindowLongPtrA(frame, GWLP_WNDPROC, (LONG_PTR)FrameProc);
    return 0;
}

void AttachTo(DWORD thread, DWORD other, BOOL attach)
{
    if (thread && other && thread != other)
        AttachThreadInput(thread, other, attach);
}

} // namespace

HINSTANCE WizardInstance(void) { return GetModuleHandleA(NULL); }

HBITMAP WizardSideBitmap(void) { return g_side; }

void WizardPlaceFrame(HWND frame)
{
    RECT work, rect;
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0) || !GetWindowRect(frame, &rect))
        return;
    PlaceRect area = { work.left, work.top, work.right, work.bottom };
    int x, y;
    WizardPlace(&area, rect.right - rect.left, rect.bottom - rect.top, (int)g_titleBandHeight, &x, &y);
    SetWindowPos(frame, NULL, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void WizardBringForward(HWND frame)
{
    if (IsIconic(frame))
        ShowWindow(frame, SW_RESTORE);
    HWND target = frame;
    HWND popup = GetLastActivePopup(frame);
    if (popup && IsWindowVisible(popup))
        target = popup;
    if (g_setup.is98plus) {
        // 98 and Me refuse the foreground to a program the user is not typing into.
        DWORD timeout = 0;
        BOOL saved = SystemParametersInfoA(SPI_GETFOREGROUNDLOCKTIMEOUT, 0, &timeout, 0);
        SystemParametersInfoA(SPI_SETFOREGROUNDLOCKTIMEOUT, 0, (PVOID)0, 0);
        SetForegroundWindow(target);
        if (saved)
            SystemParametersInfoA(SPI_SETFOREGROUNDLOCKTIMEOUT, 0, (PVOID)(ULONG_PTR)timeout, 0);
    } else if (g_setup.isNT5plus) {
        // 2000 and XP grant it to a thread that shares the foreground thread's input.
        DWORD frameThread = GetWindowThreadProcessId(frame, NULL);
        DWORD foreground = GetWindowThreadProcessId(GetForegroundWindow(), NULL);
        DWORD self = GetCurrentThreadId();
        AttachTo(frameThread, foreground, TRUE);
        AttachTo(frameThread, self, TRUE);
        SetForegroundWindow(target);
        AttachTo(frameThread, self, FALSE);
        AttachTo(frameThread, foreground, FALSE);
    } else {
        SetForegroundWindow(target);
    }
}

void SetupRunWizard(HWND owner)
{
    InitCommonControls();
    HINSTANCE instance = WizardInstance();
    // Drawn by the artwork; a build without it shows the pages without their picture.
    g_side = LoadBitmapA(instance, MAKEINTRESOURCEA(IDB_SIDE));

    // The sheet steps through the array by each page's size: the first version's records, which
    // every comctl32 since 95 reads.
    PROPSHEETPAGEA_V1 pages[PAGE_COUNT];
    ZeroMemory(pages, sizeof(pages));
    for (int i = 0; i < PAGE_COUNT; ++i) {
        pages[i].dwSize = sizeof(pages[i]);
        pages[i].dwFlags = PSP_DEFAULT;
        pages[i].hInstance = instance;
        pages[i].pszTemplate = MAKEINTRESOURCEA(kPages[i].templateId);
        pages[i].pfnDlgProc = kPages[i].proc;
        pages[i].lParam = i;
    }
    PROPSHEETHEADERA header;
    ZeroMemory(&header, sizeof(header));
    header.dwSize = PROPSHEETHEADERA_V1_SIZE;
    header.dwFlags = PSH_WIZARD | PSH_PROPSHEETPAGE | PSH_NOAPPLYNOW | PSH_USECALLBACK;
    header.hwndParent = owner;
    header.hInstance = instance;
    header.nPages = PAGE_COUNT;
    header.nStartPage = 0;
    header.ppsp = (LPCPROPSHEETPAGEA)pages;
    header.pfnCallback = SheetCallback;
    PropertySheetA(&header);

    if (g_side)
        DeleteObject(g_side);
    g_side = NULL;
}
