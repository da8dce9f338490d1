// The worker's order of steps and its stop. The page asks it to stop rather than killing
// it, so that a cancel lands between two files and the undo sees every file whole.
#include "worker.h"

#include "copy.h"
#include "drivers.h"
#include "filetable.h"
#include "install.h"
#include "resource.h"
#include "setup.h"

#include <string.h>

namespace {

HANDLE g_worker;

// Waits for `thread` while answering the messages it sends to this thread's windows: the
// worker writes to the page with sent messages, and a plain wait would hold it there.
bool WaitAnswering(HANDLE thread, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        DWORD spent = GetTickCount() - start;
        if (spent >= timeoutMs)
            return WaitForSingleObject(thread, 0) == WAIT_OBJECT_0;
        DWORD r = MsgWaitForMultipleObjects(1, &thread, FALSE, timeoutMs - spent, QS_SENDMESSAGE);
        if (r == WAIT_OBJECT_0)
            return true;
        if (r != WAIT_OBJECT_0 + 1)
            return WaitForSingleObject(thread, 0) == WAIT_OBJECT_0;
        MSG msg;
        PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE);
    }
}

void DriverPhase(const SetupPage* page)
{
    InterlockedExchange(&g_progress.driverBusy, 1);
    static const int kHidden[] = { PROGRESS_COPY_TEXT, PROGRESS_FROM_LABEL, PROGRESS_TO_LABEL, PROGRESS_PERCENT,
                                   PROGRESS_SOURCE, PROGRESS_DESTINATION };
    for (int id : kHidden)
        PageShow(page, id, 0);
    PageShow(page, PROGRESS_DRIVER_TEXT, 1);
    if (page && page->disableCancel)
        page->disableCancel(page->context);
    PageShow(page, PROGRESS_DRIVER_ANIMATION, 1);
    PagePlay(page, PROGRESS_DRIVER_ANIMATION, IDR_AVI_DRIVER);
    if (g_setup.preload)
        g_setup.callConfigMg = 0;
    SetupInstallDrivers(g_setup.scriptPath);
    SetupAddRegistry();
    SetupAddRegistryFiles();
    if (!g_setup.preload)
        SetupRunPrograms();
    InterlockedExchange(&g_progress.driverBusy, 0);
    PageStop(page, PROGRESS_DRIVER_ANIMATION);
    PageShow(page, PROGRESS_DRIVER_ANIMATION, 0);
}

} // namespace

void SetupCreateInstallDir(void)
{
    if (!g_setup.askPath || !g_setup.installDir[0])
        return;
    char path[QV_TEXT_SIZE];
    TextCopy(path, sizeof(path), g_setup.installDir);
    size_t length = strlen(path);
    if (length > 0 && path[length - 1] == '\\')
        path[--length] = '\0';
    if (GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES)
        return;
    SetupRecordDirectory(path, "0");
    // "C:\a\b\c": C:\a, then C:\a\b, then the whole path.
    int slashes = 0;
    for (size_t i = 0; i < length; ++i) {
        if (path[i] != '\\' || ++slashes < 2)
            continue;
        path[i] = '\0';
        CreateDirectoryA(path, NULL);
        path[i] = '\\';
    }
    CreateDirectoryA(path, NULL);
}

DWORD WINAPI SetupWorkerThread(LPVOID param)
{
    const SetupPage* page = (const SetupPage*)param;
    SetupKillPrograms();
    SetupCreateInstallDir();
    // A section not taken whole installs nothing; the result page says so.
    int copied = SetupReadCopyFiles() >= 0 && SetupCopyStep(page);
    // Held here too while the page asks, so that an Exit Setup chosen during the last file
    // finds nothing installed beyond the copy the undo takes back.
    if (copied)
        SetupWaitToGoOn();
    // A cancelled run goes no further: the page is closing and runs the undo.
    if (g_progress.cancel)
        return 0;
    if (copied)
        DriverPhase(page);
    if (page && page->pressNext)
        page->pressNext(page->context);
    return 0;
}

int SetupStartWorker(const SetupPage* page)
{
    if (g_worker)
        return 0;
    SetupResetProgress();
    if (!SetupCreatePauseEvent())
        return 0;
    SetEvent(g_progress.pauseEvent);
    DWORD id;
    g_worker = CreateThread(NULL, 0, SetupWorkerThread, (LPVOID)page, 0, &id);
    return g_worker != NULL;
}

int SetupStopWorker(DWORD timeoutMs)
{
    InterlockedExchange(&g_progress.cancel, 1);
    if (g_progress.pauseEvent)
        SetEvent(g_progress.pauseEvent);
    int ended = 1;
    if (g_worker && !WaitAnswering(g_worker, timeoutMs)) {
        // Stuck outside any wait (a hung driver library): the last resort.
        TerminateThread(g_worker, 1);
        WaitForSingleObject(g_worker, 1000);
        ended = 0;
    }
    SetupCloseWorker();
    return ended;
}

void SetupCloseWorker(void)
{
    if (g_worker)
        CloseHandle(g_worker);
    g_worker = NULL;
    if (g_progress.pauseEvent)
        CloseHandle(g_progress.pauseEvent);
    g_progress.pauseEvent = NULL;
}
