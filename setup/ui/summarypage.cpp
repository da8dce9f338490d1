// The summary page: the configuration about to be installed, rebuilt each time it shows,
// in a read-only box that passes the focus on to the wizard's default button.
#include "pages.h"

#include "resource.h"
#include "setup.h"
#include "summarytext.h"

#include <commctrl.h>

namespace {

void ShowSummary(HWND page)
{
    char labels[5][QV_TEXT_SIZE], interfaceName[QV_TEXT_SIZE];
    SetupLoadString(IDS_PRODUCT, labels[0], sizeof(labels[0]));
    SetupLoadString(IDS_VERSION, labels[1], sizeof(labels[1]));
    SetupLoadString(IDS_INTERFACE, labels[2], sizeof(labels[2]));
    SetupLoadString(IDS_INSTALL_DIR, labels[3], sizeof(labels[3]));
    SetupLoadString(IDS_PROGRAM_FOLDER, labels[4], sizeof(labels[4]));
    SetupLoadString(g_setup.interfaceType == SETUP_TYPE_PS2 ? IDS_PS2_INTERFACE : IDS_USB_INTERFACE, interfaceName,
                    sizeof(interfaceName));
    SummaryPair pairs[5] = { { labels[0], g_setup.productName }, { labels[1], g_setup.version },
                             { labels[2], interfaceName } };
    int count = 3;
    if (g_setup.askPath)
        pairs[count++] = { labels[3], g_setup.installDir };
    if (g_setup.askProgramFolder)
        pairs[count++] = { labels[4], g_setup.programFolder };
    // Five pairs of at most 259 + 259 characters and their separators.
    char text[5 * (2 * QV_TEXT_SIZE + 16)];
    SummaryBuild(text, sizeof(text), pairs, count);
    SetDlgItemTextA(page, IDC_SUMMARY_EDIT, text);
}

void FocusDefaultButton(HWND page)
{
    HWND frame = GetParent(page);
    LRESULT id = SendMessageA(frame, DM_GETDEFID, 0, 0);
    HWND button = HIWORD(id) == DC_HASDEFID ? GetDlgItem(frame, LOWORD(id)) : NULL;
    if (button)
        PostMessageA(frame, WM_NEXTDLGCTL, (WPARAM)button, TRUE);
}

} // namespace

INT_PTR CALLBACK SummaryPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NOTIFY && ((const NMHDR*)lParam)->code == PSN_SETACTIVE)
        ShowSummary(page);
    if (message == WM_COMMAND && LOWORD(wParam) == IDC_SUMMARY_EDIT && HIWORD(wParam) == EN_SETFOCUS) {
        FocusDefaultButton(page);
        return TRUE;
    }
    INT_PTR result;
    if (PageSharedMessage(page, message, wParam, lParam, &result))
        return result;
    return message == WM_INITDIALOG;
}
