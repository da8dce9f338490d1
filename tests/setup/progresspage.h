// A plain dialog with the progress page's controls (two real animation controls among
// them) and a page table bound to it, so a test sees what the worker showed and did.
#ifndef QV_PROGRESSPAGE_H
#define QV_PROGRESSPAGE_H

#include <windows.h>

#include "progress.h"

#include <string>

namespace setuptest {

struct TestPage {
    HWND dialog = NULL;
    SetupPage table = {};
    volatile LONG repaints = 0;
    volatile LONG nextPressed = 0;
    volatile LONG cancelDisabled = 0;
    int opened[2] = { 0, 0 };  // ACM_OPEN's answer for 1009 and 1010
    // Called after each repaint request with the count so far (on the worker's thread).
    void (*onRepaint)(TestPage* page, LONG count) = NULL;
    HANDLE signal = NULL;  // free for the test's own use (auto-reset event)
};

// Creates the dialog (visible, hidden controls as the page has them) and binds the table.
bool OpenTestPage(TestPage* page);
void CloseTestPage(TestPage* page);
bool Visible(const TestPage& page, int id);
std::string ControlText(const TestPage& page, int id);
// Pumps messages until `thread` ends or `timeoutMs` passes; true when it ended.
bool PumpUntilEnded(HANDLE thread, DWORD timeoutMs);
// Pumps until `event` is signalled or `timeoutMs` passes.
bool PumpUntilSignalled(HANDLE event, DWORD timeoutMs);

} // namespace setuptest

#endif
