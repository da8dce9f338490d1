// The destination and program-folder pages. They only tell where things go: the folder
// stays the one start-up chose, so their controls show it and do nothing more.
#include "pages.h"

#include "resource.h"
#include "setup.h"

INT_PTR CALLBACK DestinationPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        PageFillProductName(page, IDC_TEXT_202);
        PageFillProductName(page, IDC_TEXT_203);
        SetDlgItemTextA(page, IDC_DESTINATION_PATH, g_setup.installDir);
        EnableWindow(GetDlgItem(page, IDC_BROWSE), FALSE);
    }
    INT_PTR result;
    if (PageSharedMessage(page, message, wParam, lParam, &result))
        return result;
    return message == WM_INITDIALOG;
}

INT_PTR CALLBACK FolderPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        PageFillProductName(page, IDC_FOLDER_TEXT);
        SetDlgItemTextA(page, IDC_FOLDER_NAME, g_setup.programFolder);
        SendDlgItemMessageA(page, IDC_FOLDER_NAME, EM_SETREADONLY, TRUE, 0);
    }
    INT_PTR result;
    if (PageSharedMessage(page, message, wParam, lParam, &result))
        return result;
    return message == WM_INITDIALOG;
}
