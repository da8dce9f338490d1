// The interface page: PS/2 or USB, with the same effects as the script's own choice.
#include "pages.h"

#include "resource.h"
#include "setup.h"

#include <commctrl.h>

INT_PTR CALLBACK TypePageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG)
        CheckRadioButton(page, IDC_TYPE_PS2, IDC_TYPE_USB,
                         g_setup.interfaceType == SETUP_TYPE_PS2 ? IDC_TYPE_PS2 : IDC_TYPE_USB);
    if (message == WM_NOTIFY && ((const NMHDR*)lParam)->code == PSN_WIZNEXT) {
        SetupChooseType(IsDlgButtonChecked(page, IDC_TYPE_PS2) == BST_CHECKED ? SETUP_TYPE_PS2 : SETUP_TYPE_USB);
        return PageAnswer(page, 0);
    }
    INT_PTR result;
    if (PageSharedMessage(page, message, wParam, lParam, &result))
        return result;
    return message == WM_INITDIALOG;
}
