// The real wizard run on a thread of the test process, and the ways a user reaches it from
// outside: its frame, its current page, its buttons and the exit confirmation.
#ifndef QV_WIZARDRUN_H
#define QV_WIZARDRUN_H

#include <windows.h>

#include <string>
#include <vector>

namespace setuptest {

// Wizard buttons by their ids in the frame.
enum { WIZARD_BACK = 0x3023, WIZARD_NEXT = 0x3024, WIZARD_FINISH = 0x3025, WIZARD_CANCEL = IDCANCEL };

struct WizardRun {
    HANDLE thread = NULL;
    DWORD threadId = 0;
    HHOOK hook = NULL;
};

// Starts SetupRunWizard over an owner window of its own thread, with the installer state as
// the test left it. Every page made is recorded by its title (CreatedPages).
bool StartWizard(WizardRun* run);
// The property sheet frame, once it exists.
HWND WaitForFrame(const WizardRun& run, DWORD timeoutMs);
HWND CurrentPage(HWND frame);
std::string PageTitle(HWND page);
// Waits until the current page has this title.
bool WaitForPage(HWND frame, const char* title, DWORD timeoutMs);
// Titles of the pages made so far, in the order they were made.
std::vector<std::string> CreatedPages();
// A click on a button of `window`, posted as a user's click arrives.
void Click(HWND window, int id);
bool Enabled(HWND window, int id);
bool Shown(HWND window, int id);
std::string ItemText(HWND window, int id);
std::string WindowTextOf(HWND wnd);
// The exit confirmation of the wizard's thread.
HWND WaitForConfirmation(const WizardRun& run, DWORD timeoutMs);
// Waits for SetupRunWizard to return; closes the thread. True when it did.
bool WaitForEnd(WizardRun* run, DWORD timeoutMs);

} // namespace setuptest

#endif
