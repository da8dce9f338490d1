// What the wizard's pages share: their indexes, the behaviour every page has (side picture,
// placement, foreground, the exit confirmation, the buttons) and each page's dialog procedure.
#ifndef QV_SETUP_PAGES_H
#define QV_SETUP_PAGES_H

#include <windows.h>

// Index of each page in the wizard, in its fixed order.
enum {
    PAGE_WELCOME,
    PAGE_LICENCE,
    PAGE_TYPE,
    PAGE_DESTINATION,
    PAGE_FOLDER,
    PAGE_SUMMARY,
    PAGE_PROGRESS,
    PAGE_RESULT,
    PAGE_COUNT
};

// Shared behaviour (pageshared.cpp). Each page procedure handles its own messages first and
// then hands the message here; true when it was answered, with the answer in *result.
bool PageSharedMessage(HWND page, UINT message, WPARAM wParam, LPARAM lParam, INT_PTR* result);
// Stores `value` as a notification's answer; returns TRUE for the dialog procedure.
INT_PTR PageAnswer(HWND page, LONG_PTR value);
// The exit confirmation, modal over the wizard. 1 for "Exit Setup", 0 for "Resume".
int PageConfirmExit(HWND page);
// Puts the product name into every "%s" of the control's own text, however long it gets.
void PageFillProductName(HWND dialog, int id);
// Sets the frame's wizard buttons before returning. The header's macro posts, which leaves
// the previous page's buttons live until the queue gets there: a second click on Next
// would reach the progress page while it copies.
void PageSetButtons(HWND frame, DWORD buttons);
// Presses a wizard button once the current message is done (PSBTN_NEXT, PSBTN_FINISH).
void PagePressLater(HWND page, int button);

// The frame (wizard.cpp).
HINSTANCE WizardInstance(void);
HBITMAP WizardSideBitmap(void);
// Centred in the work area, below the background window's title band.
void WizardPlaceFrame(HWND frame);
// Raised to the foreground by the rule of the running system.
void WizardBringForward(HWND frame);

INT_PTR CALLBACK WelcomePageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK LicencePageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK TypePageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK DestinationPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK FolderPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK SummaryPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK ProgressPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK ResultPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

#endif
