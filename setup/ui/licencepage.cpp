// The licence page: the text file chosen at start-up, read afresh each time the page shows.
#include "pages.h"

#include "resource.h"
#include "setup.h"

#include <commctrl.h>

namespace {

// Far beyond any licence text; a length past it is no text this page should hold in memory.
const DWORD kMaxLicence = 4 * 1024 * 1024;

void ShowLicence(HWND page)
{
    SetDlgItemTextA(page, IDC_LICENCE_TEXT, "");
    DWORD length = g_setup.licenceLength;
    if (!g_setup.licencePath[0] || length == 0 || length > kMaxLicence)
        return;
    // The path is the licence folder itself when no file was found: that open fails.
    HANDLE file = CreateFileA(g_setup.licencePath, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return;
    HANDLE heap = GetProcessHeap();
    char* text = (char*)HeapAlloc(heap, 0, length + 1);
    if (text) {
        // A file cut since start-up shows what is left of it.
        DWORD done = 0, got = 0;
        while (done < length && ReadFile(file, text + done, length - done, &got, NULL) && got > 0)
            done += got;
        text[done] = '\0';
        SetDlgItemTextA(page, IDC_LICENCE_TEXT, text);
        HeapFree(heap, 0, text);
    }
    CloseHandle(file);
}

} // namespace

INT_PTR CALLBACK LicencePageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NOTIFY && ((const NMHDR*)lParam)->code == PSN_SETACTIVE)
        ShowLicence(page);
    INT_PTR result;
    if (PageSharedMessage(page, message, wParam, lParam, &result))
        return result;
    return message == WM_INITDIALOG;
}
