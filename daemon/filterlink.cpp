// The two filter links: overlapped requests and one reader thread per link. A reader owns
// a duplicate of the link's handle, so a re-open hands it the new handle (it closes its
// old one itself) and a reader whose device went away backs off instead of spinning.
#include "daemon.h"
#include "links.h"

static const DWORD kFirstDelay = 10;
static const DWORD kLongestDelay = 1000;

BOOL FilterRequest(HANDLE link, HANDLE event, DWORD code, const void* in, DWORD inSize, void* out, DWORD outSize,
                   DWORD* bytes)
{
    *bytes = 0;
    HANDLE own = event ? NULL : CreateEventA(NULL, TRUE, FALSE, NULL);
    OVERLAPPED ov;
    ZeroMemory(&ov, sizeof(ov));
    // The request itself clears the event, so a kept event serves request after request.
    ov.hEvent = event ? event : own;
    if (!ov.hEvent)
        return FALSE;
    DWORD got = 0;
    BOOL ok = DeviceIoControl(link, code, (void*)in, inSize, out, outSize, &got, &ov);
    if (!ok && GetLastError() == ERROR_IO_PENDING) {
        WaitForSingleObject(ov.hEvent, INFINITE);
        ok = GetOverlappedResult(link, &ov, &got, FALSE);
    }
    if (own)
        CloseHandle(own);
    *bytes = ok ? got : 0;
    return ok;
}

HANDLE OpenDeviceLink(const char* path)
{
    HANDLE h = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, NULL, OPEN_EXISTING, FILE_FLAG_OVERLAPPED, NULL);
    return h == INVALID_HANDLE_VALUE ? NULL : h;
}

static BOOL SetActive(HANDLE h, DWORD active)
{
    DWORD got;
    return FilterRequest(h, NULL, IOCTL_FILTER_SET_ACTIVE, &active, sizeof(active), NULL, 0, &got);
}

// CancelIo is missing on Windows 95; there the reader can only close its own duplicate.
static void CancelOwnRequests(HANDLE h)
{
    typedef BOOL(WINAPI * CancelIoFunc)(HANDLE);
    CancelIoFunc cancel = (CancelIoFunc)GetProcAddress(GetModuleHandleA("KERNEL32.DLL"), "CancelIo");
    if (cancel)
        cancel(h);
}

enum ReadResult { READ_DONE, READ_FAILED, READ_WOKEN };

// One IOCTL_FILTER_READ_EVENT that also gives way to a handover or a stop request. A request
// given up on is cancelled and waited for, so the driver never writes into a dead record.
static ReadResult ReadEventOn(FilterLink* link, HANDLE* handle, HANDLE done, KeyEvent* event)
{
    HANDLE h = *handle;
    OVERLAPPED ov;
    ZeroMemory(&ov, sizeof(ov));
    ov.hEvent = done;
    DWORD got = 0;
    ReadResult result = READ_FAILED;
    BOOL ok = DeviceIoControl(h, IOCTL_FILTER_READ_EVENT, NULL, 0, event, sizeof(*event), &got, &ov);
    if (!ok && GetLastError() == ERROR_IO_PENDING) {
        HANDLE waits[2] = { ov.hEvent, link->wake };
        for (;;) {
            DWORD w = WaitForMultipleObjects(2, waits, FALSE, INFINITE);
            if (w != WAIT_OBJECT_0 + 1)
                break;
            if (link->stop || link->handover) {
                CancelOwnRequests(h);
                result = READ_WOKEN;
                break;
            }
        }
        if (result == READ_WOKEN && WaitForSingleObject(ov.hEvent, kLongestDelay) != WAIT_OBJECT_0) {
            // Not cancellable here: closing the reader's duplicate is all that is left, and
            // the record stays alive until the request ends.
            CloseHandle(h);
            *handle = NULL;
            WaitForSingleObject(ov.hEvent, INFINITE);
            return READ_WOKEN;
        }
        ok = GetOverlappedResult(h, &ov, &got, FALSE);
    }
    if (result == READ_WOKEN)
        return READ_WOKEN;
    return ok && got ? READ_DONE : READ_FAILED;
}

// The read completes on the reader's kept event, or on one of its own if the reader has none.
static ReadResult ReadEvent(FilterLink* link, HANDLE* handle, HANDLE done, KeyEvent* event)
{
    HANDLE own = done ? NULL : CreateEventA(NULL, TRUE, FALSE, NULL);
    if (!done && !own)
        return READ_FAILED;
    ReadResult result = ReadEventOn(link, handle, done ? done : own, event);
    if (own)
        CloseHandle(own);
    return result;
}

static DWORD WINAPI ReaderThread(LPVOID param)
{
    FilterLink* link = (FilterLink*)param;
    HANDLE h = NULL;
    BOOL begun = FALSE;
    DWORD delay = 0;
    // The reader's one completion event, kept off the key path's kernel calls.
    HANDLE done = CreateEventA(NULL, TRUE, FALSE, NULL);
    while (!link->stop) {
        HANDLE next = (HANDLE)InterlockedExchangePointer((PVOID volatile*)&link->handover, NULL);
        if (next) {
            if (h)
                CloseHandle(h);
            h = next;
            delay = 0;
            begun = FALSE;
        }
        if (!h) {
            WaitForSingleObject(link->wake, INFINITE);
            continue;
        }
        if (!begun) {
            // The driver sets up per handle, so a handed-over handle is begun again.
            DWORD got;
            FilterRequest(h, NULL, IOCTL_FILTER_BEGIN, NULL, 0, NULL, 0, &got);
            begun = TRUE;
        }
        KeyEvent event = { 0, 0, 0 };
        ReadResult r = ReadEvent(link, &h, done, &event);
        if (r == READ_WOKEN)
            continue;
        if (r == READ_DONE) {
            delay = 0;
            if (!(event.flags & 1))
                PostMessageA(g_mainWindow, DM_FILTEREVENT, (WPARAM)event.code, (LPARAM)event.type);
            continue;
        }
        // A bad handle fails every read at once: wait, longer each time, for a new handle.
        delay = delay ? (delay * 2 > kLongestDelay ? kLongestDelay : delay * 2) : kFirstDelay;
        WaitForSingleObject(link->wake, delay);
    }
    if (h)
        CloseHandle(h);
    if (done)
        CloseHandle(done);
    return 0;
}

static BOOL StartReader(FilterLink* link, HANDLE readerHandle)
{
    if (!link->wake)
        link->wake = CreateEventA(NULL, FALSE, FALSE, NULL);
    if (!link->wake)
        return FALSE;
    link->stop = 0;
    link->handover = readerHandle;
    DWORD id;
    link->thread = CreateThread(NULL, 0, ReaderThread, link, 0, &id);
    if (!link->thread) {
        link->handover = NULL;
        return FALSE;
    }
    return TRUE;
}

// A new handle replaces the stored one; the earlier one is closed here (the reader holds
// its own duplicate until it takes the new one), so re-opens leak nothing.
void OpenFilterLink(FilterLink* link)
{
    HANDLE h = OpenDeviceLink(link->path);
    HANDLE earlier = link->handle;
    link->handle = h;
    if (h)
        SetActive(h, 1);
    if (earlier)
        CloseHandle(earlier);
    if (!h)
        return;

    HANDLE readerHandle = NULL;
    if (!DuplicateHandle(GetCurrentProcess(), h, GetCurrentProcess(), &readerHandle, 0, FALSE,
                         DUPLICATE_SAME_ACCESS))
        return;
    if (!link->thread) {
        if (!StartReader(link, readerHandle))
            CloseHandle(readerHandle);
        return;
    }
    HANDLE untaken = (HANDLE)InterlockedExchangePointer((PVOID volatile*)&link->handover, readerHandle);
    if (untaken)
        CloseHandle(untaken);
    SetEvent(link->wake);
}

BOOL StopReader(FilterLink* link)
{
    BOOL ended = TRUE;
    if (link->thread) {
        InterlockedExchange(&link->stop, 1);
        SetEvent(link->wake);
        if (WaitForSingleObject(link->thread, 2 * kLongestDelay) != WAIT_OBJECT_0) {
            TerminateThread(link->thread, 0);
            ended = FALSE;
        }
        CloseHandle(link->thread);
        link->thread = NULL;
    }
    HANDLE untaken = (HANDLE)InterlockedExchangePointer((PVOID volatile*)&link->handover, NULL);
    if (untaken)
        CloseHandle(untaken);
    if (link->wake) {
        CloseHandle(link->wake);
        link->wake = NULL;
    }
    return ended;
}

void CloseFilterLink(FilterLink* link)
{
    if (!link->handle)
        return;
    SetActive(link->handle, 0);
    CloseHandle(link->handle);
    link->handle = NULL;
}
