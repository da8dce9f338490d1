// The first page: it drops the pages the script does not ask for before any is made, greets
// with the product name and puts the frame in its place.
#include "pages.h"

#include "resource.h"
#include "setup.h"

#include <commctrl.h>

namespace {

void OnInit(HWND page)
{
    HWND frame = GetParent(page);
    // Highest index first, so the indexes still to remove stay valid.
    if (!g_setup.askProgramFolder)
        PropSheet_RemovePage(frame, PAGE_FOLDER, NULL);
    if (!g_setup.askPath)
        PropSheet_RemovePage(frame, PAGE_DESTINATION, NULL);
    if (!g_setup.askType)
        PropSheet_RemovePage(frame, PAGE_TYPE, NULL);
    if (!g_setup.askLicence)
        PropSheet_RemovePage(frame, PAGE_LICENCE, NULL);
    PageFillProductName(page, IDC_WELCOME_TEXT);
    if (g_setup.hidden)
        SetWindowPos(frame, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    else
        WizardPlaceFrame(frame);
}

} // namespace

INT_PTR CALLBACK WelcomePageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    INT_PTR result;
    if (PageSharedMessage(page, message, wParam, lParam, &result))
        return result;
    if (message == WM_INITDIALOG) {
        OnInit(page);
        return TRUE;
    }
    return FALSE;
}
