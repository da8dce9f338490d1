// The progress page: it runs the worker, answers the worker's calls on its own thread,
// paints the percentage bar, and on Cancel holds the worker at its next file, asks, and
// either lets it go on or stops it and undoes the copy.
#include "pages.h"

#include "copy.h"
#include "percentlayout.h"
#include "resource.h"
#include "setup.h"
#include "worker.h"

#include <commctrl.h>

namespace {

// The worker's calls, carried to this page's thread: the controls belong to it.
enum {
    MSG_SHOW = WM_APP + 10,
    MSG_SET_TEXT,
    MSG_PLAY,
    MSG_STOP,
    MSG_DISABLE_CANCEL,
    MSG_WORKER_DONE,
};

// A file being copied when Exit Setup is chosen is let finish; only a worker that is stuck
// elsewhere this long is terminated.
const DWORD kStopTimeoutMs = 15000;

HFONT g_bold;
WNDPROC g_percentProc;
SetupPage g_table;
bool g_asking;       // the exit confirmation is open
bool g_donePending;  // the worker finished while it was
bool g_workerDone;   // Next may leave the page

void Show(void* context, int id, int visible) { SendMessageA((HWND)context, MSG_SHOW, (WPARAM)id, visible); }
void SetText(void* context, int id, const char* text) { SendMessageA((HWND)context, MSG_SET_TEXT, (WPARAM)id, (LPARAM)text); }
void Play(void* context, int id, int resource) { SendMessageA((HWND)context, MSG_PLAY, (WPARAM)id, resource); }
void Stop(void* context, int id) { SendMessageA((HWND)context, MSG_STOP, (WPARAM)id, 0); }
void DisableCancel(void* context) { SendMessageA((HWND)context, MSG_DISABLE_CANCEL, 0, 0); }
// Posted: the worker ends without waiting for the page change it causes.
void PressNext(void* context) { PostMessageA((HWND)context, MSG_WORKER_DONE, 0, 0); }
// Marking the bar invalid needs no message; the page's thread paints it when it is free.
void Repaint(void* context) { InvalidateRect(GetDlgItem((HWND)context, PROGRESS_PERCENT), NULL, FALSE); }

void PaintPercent(HWND control, HDC dc)
{
    RECT rect;
    GetClientRect(control, &rect);
    int width = rect.right, height = rect.bottom;
    int percent = (int)g_progress.percent;
    FillRect(dc, &rect, (HBRUSH)GetStockObject(WHITE_BRUSH));
    HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
    if (blue) {
        RECT bar = { 0, 0, PercentBarEnd(percent, width), height };
        FillRect(dc, &bar, blue);
        DeleteObject(blue);
    }
    HGDIOBJ oldFont = SelectObject(dc, g_bold ? (HGDIOBJ)g_bold : GetStockObject(DEFAULT_GUI_FONT));
    PercentGlyph glyphs[4];
    char digits[4];
    int count = PercentLayout(percent, width, 0, glyphs, 4);
    for (int i = 0; i + 1 < count; ++i)
        digits[i] = glyphs[i].ch;
    SIZE size = { 0, 0 };
    if (count > 1 && GetTextExtentPoint32A(dc, digits, count - 1, &size)) {
        count = PercentLayout(percent, width, size.cx, glyphs, 4);
        int oldMode = SetBkMode(dc, TRANSPARENT);
        COLORREF oldColour = GetTextColor(dc);
        int y = (height - size.cy) / 2;
        for (int i = 0; i < count; ++i) {
            SetTextColor(dc, glyphs[i].white ? RGB(255, 255, 255) : RGB(0, 0, 0));
            TextOutA(dc, glyphs[i].left, y, &glyphs[i].ch, 1);
        }
        SetTextColor(dc, oldColour);
        SetBkMode(dc, oldMode);
    }
    SelectObject(dc, oldFont);
}

LRESULT CALLBACK PercentProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(control, &paint);
        if (dc)
            PaintPercent(control, dc);
        EndPaint(control, &paint);
        return 0;
    }
    case WM_PRINTCLIENT:
        PaintPercent(control, (HDC)wParam);
        return 0;
    }
    return CallWindowProcA(g_percentProc, control, message, wParam, lParam);
}

void OnInit(HWND page)
{
    g_asking = g_donePending = g_workerDone = false;
    HFONT font = (HFONT)SendDlgItemMessageA(page, PROGRESS_COPY_TEXT, WM_GETFONT, 0, 0);
    LOGFONTA face;
    if (GetObjectA(font ? (HGDIOBJ)font : GetStockObject(DEFAULT_GUI_FONT), sizeof(face), &face)) {
        face.lfWeight = FW_BOLD;
        g_bold = CreateFontIndirectA(&face);
    }
    static const int kHidden[] = { PROGRESS_FROM_LABEL, PROGRESS_TO_LABEL, PROGRESS_PERCENT, PROGRESS_SOURCE,
                                   PROGRESS_DESTINATION };
    for (int id : kHidden)
        ShowWindow(GetDlgItem(page, id), SW_HIDE);
    HWND percent = GetDlgItem(page, PROGRESS_PERCENT);
    if (percent)
        g_percentProc = (WNDPROC)SetWindowLongPtrA(percent, GWLP_WNDPROC, (LONG_PTR)PercentProc);
}

void OnDestroy(HWND page)
{
    HWND percent = GetDlgItem(page, PROGRESS_PERCENT);
    if (percent && g_percentProc)
        SetWindowLongPtrA(percent, GWLP_WNDPROC, (LONG_PTR)g_percentProc);
    g_percentProc = NULL;
    if (g_bold)
        DeleteObject(g_bold);
    g_bold = NULL;
}

void OnSetActive(HWND page)
{
    PageSetButtons(GetParent(page), 0);
    g_workerDone = false;
    g_table.context = page;
    g_table.show = Show;
    g_table.setText = SetText;
    g_table.playAnimation = Play;
    g_table.stopAnimation = Stop;
    g_table.repaint = Repaint;
    g_table.disableCancel = DisableCancel;
    g_table.pressNext = PressNext;
    if (!SetupStartWorker(&g_table)) {
        // No worker, no installation: the result page says it failed.
        InterlockedExchange(&g_progress.installResult, SETUP_RESULT_CABINET);
        PostMessageA(page, MSG_WORKER_DONE, 0, 0);
    }
}

// TRUE refuses the cancel.
LONG_PTR OnQueryCancel(HWND page)
{
    // The driver phase has switched Cancel off; the frame's close box is refused as well.
    if (g_progress.driverBusy)
        return TRUE;
    if (g_progress.pauseEvent)
        ResetEvent(g_progress.pauseEvent);
    g_asking = true;
    int exit = PageConfirmExit(page);
    g_asking = false;
    if (!exit) {
        if (g_progress.pauseEvent)
            SetEvent(g_progress.pauseEvent);
        if (g_donePending) {
            g_donePending = false;
            PostMessageA(page, MSG_WORKER_DONE, 0, 0);
        }
        return TRUE;
    }
    HCURSOR old = SetCursor(LoadCursorA(NULL, (LPCSTR)IDC_WAIT));
    SetupStopWorker(kStopTimeoutMs);
    // A worker that ran to its end while the user was asked leaves an installation whose
    // driver and registry steps are done: taking its files back would break it.
    if (!g_donePending)
        SetupUndoCopy();
    SetCursor(old);
    return FALSE;
}

void OnWorkerCall(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND control = GetDlgItem(page, (int)wParam);
    switch (message) {
    case MSG_SHOW:
        ShowWindow(control, lParam ? SW_SHOW : SW_HIDE);
        break;
    case MSG_SET_TEXT:
        SetWindowTextA(control, (const char*)lParam);
        break;
    case MSG_PLAY:
        SendMessageA(control, ACM_OPENA, (WPARAM)WizardInstance(), (LPARAM)MAKEINTRESOURCEA(lParam));
        SendMessageA(control, ACM_PLAY, (WPARAM)-1, MAKELONG(0, 0xFFFF));
        break;
    case MSG_STOP:
        SendMessageA(control, ACM_STOP, 0, 0);
        SendMessageA(control, ACM_OPENA, 0, 0);
        break;
    case MSG_DISABLE_CANCEL:
        EnableWindow(GetDlgItem(GetParent(page), IDCANCEL), FALSE);
        break;
    }
}

} // namespace

INT_PTR CALLBACK ProgressPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        OnInit(page);
        break;
    case WM_DESTROY:
        OnDestroy(page);
        break;
    case MSG_SHOW:
    case MSG_SET_TEXT:
    case MSG_PLAY:
    case MSG_STOP:
    case MSG_DISABLE_CANCEL:
        OnWorkerCall(page, message, wParam, lParam);
        return TRUE;
    case MSG_WORKER_DONE:
        if (g_asking) {
            g_donePending = true;
        } else {
            g_workerDone = true;
            PagePressLater(page, PSBTN_NEXT);
        }
        return TRUE;
    case WM_SETCURSOR:
        if (g_progress.cabinetBusy || g_progress.driverBusy) {
            SetCursor(LoadCursorA(NULL, (LPCSTR)IDC_WAIT));
            return PageAnswer(page, TRUE);
        }
        break;
    case WM_NOTIFY:
        switch (((const NMHDR*)lParam)->code) {
        case PSN_SETACTIVE:
            OnSetActive(page);
            return PageAnswer(page, 0);
        case PSN_QUERYCANCEL:
            return PageAnswer(page, OnQueryCancel(page));
        case PSN_WIZNEXT:
            // Only the worker's own press leaves: a click that slipped past the disabled
            // button (a click queued before, Enter, a program's BM_CLICK) would end the copy.
            if (!g_workerDone)
                return PageAnswer(page, -1);
            SetupCloseWorker();
            return PageAnswer(page, 0);
        }
        break;
    }
    INT_PTR result;
    if (PageSharedMessage(page, message, wParam, lParam, &result))
        return result;
    return message == WM_INITDIALOG;
}
