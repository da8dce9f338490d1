// Runs a modal dialog on a thread of its own so a test can look at it and drive it
// while it is open.
#ifndef TESTS_CONFIG_MODALHOST_H
#define TESTS_CONFIG_MODALHOST_H

#include <windows.h>

// Called on the dialog's thread with a hidden owner window; answers DoModal's result.
typedef INT_PTR (*ModalRun)(HWND owner, void* param);

struct ModalHost {
    HANDLE thread;
    HANDLE idle;
    ModalRun run;
    void* param;
};

// Returns once the dialog's modal loop has first gone idle, which the owner hears as
// WM_ENTERIDLE: by then the dialog manager has shown the dialog with SW_SHOWNORMAL,
// which would undo a minimised state set earlier. False after 5 s without it.
bool StartModal(ModalHost* host, ModalRun run, void* param);
// Waits for the dialog's thread (5 s at most); DoModal's result, or ~0u.
DWORD FinishModal(ModalHost* host);

#endif
