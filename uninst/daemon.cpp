// A running daemon holds its own files and the libraries it loaded: it is asked to end
// before anything is removed, and given a bounded time to do so.
#include "uninst.h"

#include "daemon.h"

void UninstEndDaemon(void)
{
    // One window per copy; a second copy is not expected, but each one found is asked.
    for (int copies = 0; copies < 4; ++copies) {
        HWND window = FindWindowA(DAEMON_CLASS, NULL);
        if (!window)
            return;
        DWORD processId = 0;
        GetWindowThreadProcessId(window, &processId);
        HANDLE process = processId ? OpenProcess(SYNCHRONIZE, FALSE, processId) : NULL;
        // WM_CLOSE takes the daemon down through WM_DESTROY, its own orderly shut-down.
        PostMessageA(window, WM_CLOSE, 0, 0);
        if (process) {
            WaitForSingleObject(process, UNINST_DAEMON_WAIT_MS);
            CloseHandle(process);
        } else {
            DWORD start = GetTickCount();
            while (IsWindow(window) && GetTickCount() - start < UNINST_DAEMON_WAIT_MS)
                Sleep(50);
        }
        // One that did not end keeps its files; they are deleted at restart instead.
        if (IsWindow(window))
            return;
    }
}
