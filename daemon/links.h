// The driver links' pieces shared by driverlink.cpp (the sequences, forwarding, presence),
// filterlink.cpp (overlapped requests and reader threads) and legacylink.cpp (the VxD).
#ifndef QV_LINKS_H
#define QV_LINKS_H

#include <windows.h>

#define IOCTL_FILTER_BEGIN 0x00220008
#define IOCTL_FILTER_READ_EVENT 0x0022000C
#define IOCTL_FILTER_SET_ACTIVE 0x00220014
#define IOCTL_FILTER_DEVICE_COUNT 0x00220018
#define IOCTL_PORT_SEND_CODE 0x9C402414
#define VXD_SET_WINDOW 1
#define VXD_SET_MESSAGE 2
#define VXD_READ_BEEP 3
#define VXD_ENABLE 10
#define VXD_READ_EVENT 11
#define VXD_SEND_CODE 12
#define EVENT_TYPE_FORWARD 0x1000

struct KeyEvent {
    DWORD code;
    DWORD type;
    DWORD flags;
};

// One filter link. The main thread owns `handle`; the reader owns a duplicate of it, so
// either side can close its own without pulling the handle from under the other.
struct FilterLink {
    const char* path;
    HANDLE handle;
    HANDLE thread;
    HANDLE wake;              // auto-reset: a new handle or the stop request is waiting
    HANDLE volatile handover; // reader's next handle, taken with an interlocked exchange
    LONG volatile stop;
};

// filterlink.cpp
// An overlapped request completing on `event` (kept by the caller for the requests on the
// key path), or on an event of its own when `event` is NULL; waited for without time-out.
// FALSE when the request failed; `bytes` gets what it transferred.
BOOL FilterRequest(HANDLE link, HANDLE event, DWORD code, const void* in, DWORD inSize, void* out, DWORD outSize,
                   DWORD* bytes);
HANDLE OpenDeviceLink(const char* path);
void OpenFilterLink(FilterLink* link);
void CloseFilterLink(FilterLink* link);
// Stops the link's reader, waiting for it to end; FALSE if it had to be terminated.
BOOL StopReader(FilterLink* link);

// legacylink.cpp
extern HANDLE g_legacyLink;
void OpenLegacyLink(HWND window);
void CloseLegacyLink(void);
void SendLegacyCode(BYTE code);

#endif
