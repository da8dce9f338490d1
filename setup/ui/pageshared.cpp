// The behaviour every wizard page has: the side picture in the placeholder's column, the
// frame hidden or raised as the page appears, the exit confirmation on Cancel and the
// buttons of set-active, which silent mode presses by itself.
#include "pages.h"

#include "resource.h"
#include "resultfill.h"
#include "setup.h"

#include <commctrl.h>

namespace {

// The placeholder of each page in page coordinates, measured as the page is created.
RECT g_placeholder[PAGE_COUNT];

int IndexOf(HWND page)
{
    LONG_PTR stored = GetWindowLongPtrA(page, DWLP_USER);
    return stored >= 1 && stored <= PAGE_COUNT ? (int)stored - 1 : -1;
}

void OnInit(HWND page, LPARAM lParam)
{
    const PROPSHEETPAGEA* sheet = (const PROPSHEETPAGEA*)lParam;
    int index = sheet ? (int)sheet->lParam : -1;
    if (index < 0 || index >= PAGE_COUNT)
        return;
    SetWindowLongPtrA(page, DWLP_USER, index + 1);
    HWND placeholder = GetDlgItem(page, IDC_PICTURE);
    SetRectEmpty(&g_placeholder[index]);
    if (placeholder) {
        GetWindowRect(placeholder, &g_placeholder[index]);
        MapWindowPoints(NULL, page, (POINT*)&g_placeholder[index], 2);
        ShowWindow(placeholder, SW_HIDE);
    }
    HWND frame = GetParent(page);
    if (g_setup.hidden)
        ShowWindow(frame, SW_HIDE);
    else if (!g_setup.silent)
        WizardBringForward(frame);
}

void DrawSide(HWND page, HDC dc)
{
    int index = IndexOf(page);
    HBITMAP bitmap = WizardSideBitmap();
    if (index < 0 || !bitmap)
        return;
    const RECT& place = g_placeholder[index];
    int placeWidth = place.right - place.left, placeHeight = place.bottom - place.top;
    RECT client;
    GetClientRect(page, &client);
    int height = client.bottom - 2 * place.top;
    BITMAP info;
    if (placeWidth <= 0 || placeHeight <= 0 || height <= 0 || !GetObjectA(bitmap, sizeof(info), &info))
        return;
    int width = MulDiv(height, placeWidth, placeHeight);
    // A page laid out larger than its template (the frame's font is bigger in some
    // languages) would widen the column over the texts beside it.
    if (width > placeWidth) {
        width = placeWidth;
        height = MulDiv(width, placeHeight, placeWidth);
    }
    // A picture smaller than the placeholder is stretched whole rather than read past its edge.
    int sourceWidth = placeWidth < info.bmWidth ? placeWidth : info.bmWidth;
    int sourceHeight = placeHeight < info.bmHeight ? placeHeight : info.bmHeight;
    HDC memory = CreateCompatibleDC(dc);
    if (!memory)
        return;
    HGDIOBJ old = SelectObject(memory, bitmap);
    int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, place.left, place.top, width, height, memory, 0, 0, sourceWidth, sourceHeight, SRCCOPY);
    SetStretchBltMode(dc, oldMode);
    SelectObject(memory, old);
    DeleteDC(memory);
}

bool OnNotify(HWND page, const NMHDR* header, INT_PTR* result)
{
    switch (header->code) {
    case PSN_SETACTIVE: {
        int index = IndexOf(page);
        HWND frame = GetParent(page);
        PageSetButtons(frame, index == PAGE_WELCOME ? PSWIZB_NEXT : PSWIZB_BACK | PSWIZB_NEXT);
        if (g_setup.silent)
            PagePressLater(page, PSBTN_NEXT);
        *result = PageAnswer(page, 0);
        return true;
    }
    case PSN_KILLACTIVE:
    case PSN_RESET:
        *result = PageAnswer(page, FALSE);
        return true;
    case PSN_QUERYCANCEL:
        *result = PageAnswer(page, PageConfirmExit(page) ? FALSE : TRUE);
        return true;
    }
    return false;
}

INT_PTR CALLBACK ExitProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        PageFillProductName(dialog, 1032);
        PageFillProductName(dialog, 1033);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        }
        break;
    }
    return FALSE;
}

} // namespace

INT_PTR PageAnswer(HWND page, LONG_PTR value)
{
    SetWindowLongPtrA(page, DWLP_MSGRESULT, value);
    return TRUE;
}

int PageConfirmExit(HWND page)
{
    HWND frame = GetParent(page);
    INT_PTR answer = DialogBoxParamA(WizardInstance(), MAKEINTRESOURCEA(IDD_EXIT_SETUP), frame, ExitProc, 0);
    // A confirmation that cannot be shown leaves the user's Cancel standing.
    return answer != IDOK;
}

void PageFillProductName(HWND dialog, int id)
{
    HWND control = GetDlgItem(dialog, id);
    if (!control)
        return;
    int length = GetWindowTextLengthA(control);
    HANDLE heap = GetProcessHeap();
    char* format = (char*)HeapAlloc(heap, 0, (SIZE_T)length + 1);
    if (!format)
        return;
    GetWindowTextA(control, format, length + 1);
    format[length] = '\0';
    size_t size = ResultFillSize(format, g_setup.productName);
    char* text = (char*)HeapAlloc(heap, 0, size);
    if (text) {
        ResultFillName(text, size, format, g_setup.productName);
        SetWindowTextA(control, text);
        HeapFree(heap, 0, text);
    }
    HeapFree(heap, 0, format);
}

void PageSetButtons(HWND frame, DWORD buttons)
{
    SendMessageA(frame, PSM_SETWIZBUTTONS, 0, (LPARAM)buttons);
}

void PagePressLater(HWND page, int button)
{
    PostMessageA(GetParent(page), PSM_PRESSBUTTON, (WPARAM)button, 0);
}

bool PageSharedMessage(HWND page, UINT message, WPARAM wParam, LPARAM lParam, INT_PTR* result)
{
    switch (message) {
    case WM_INITDIALOG:
        OnInit(page, lParam);
        return false;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(page, &paint);
        if (dc)
            DrawSide(page, dc);
        EndPaint(page, &paint);
        *result = TRUE;
        return true;
    }
    case WM_PRINTCLIENT:
        DefWindowProcA(page, message, wParam, lParam);
        DrawSide(page, (HDC)wParam);
        *result = TRUE;
        return true;
    case WM_NOTIFY:
        return OnNotify(page, (const NMHDR*)lParam, result);
    }
    return false;
}
