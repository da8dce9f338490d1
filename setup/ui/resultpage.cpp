// The result page: the installation's outcome through the result step's own logic, Finish
// as the only way on, and the restart that Finish may ask for.
#include "pages.h"

#include "resource.h"
#include "result.h"
#include "setup.h"

#include <commctrl.h>

namespace {

SetupPage g_table;

void Show(void* context, int id, int visible) { ShowWindow(GetDlgItem((HWND)context, id), visible ? SW_SHOW : SW_HIDE); }
void SetText(void* context, int id, const char* text) { SetDlgItemTextA((HWND)context, id, text); }
void Check(void* context, int id, int checked) { CheckDlgButton((HWND)context, id, checked ? BST_CHECKED : BST_UNCHECKED); }
void GetText(void* context, int id, char* text, int size) { GetDlgItemTextA((HWND)context, id, text, size); }

void OnSetActive(HWND page)
{
    HWND frame = GetParent(page);
    PropSheet_CancelToClose(frame);
    EnableWindow(GetDlgItem(frame, IDCANCEL), FALSE);
    PageSetButtons(frame, PSWIZB_FINISH);
    if (g_setup.silent && g_progress.installResult == SETUP_RESULT_OK)
        PagePressLater(page, PSBTN_FINISH);
}

} // namespace

INT_PTR CALLBACK ResultPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        g_table.context = page;
        g_table.show = Show;
        g_table.setText = SetText;
        g_table.check = Check;
        g_table.getText = GetText;
        SetupShowResult(&g_table);
    }
    if (message == WM_NOTIFY) {
        switch (((const NMHDR*)lParam)->code) {
        case PSN_SETACTIVE:
            OnSetActive(page);
            return PageAnswer(page, 0);
        case PSN_WIZFINISH:
            SetupFinishResult(IsDlgButtonChecked(page, RESULT_RESTART_LATER) == BST_CHECKED);
            return PageAnswer(page, FALSE);
        case PSN_QUERYCANCEL:
            // The installation is over; closing the frame is Finish without the restart.
            return PageAnswer(page, FALSE);
        }
    }
    INT_PTR result;
    if (PageSharedMessage(page, message, wParam, lParam, &result))
        return result;
    return message == WM_INITDIALOG;
}
