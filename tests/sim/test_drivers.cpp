// The keyboard-driver stand-ins as the daemon and keysim see them under Wine: held reads,
// cancel, removal, the two filter names, hkport's received bytes and the legacy device of
// the win9x modes. Later daemon tests rely on each of these.
#include <doctest/doctest.h>

#include "drivers.h"
#include "simclient.h"
#include "wintest.h"

#include <string>
#include <vector>

using namespace qvtest;

namespace {

const DWORD kTimeout = 5000;

struct Standins {
    Standins()
    {
        REQUIRE(EnsureDriverStandIns());
        REQUIRE(SimReset());
        REQUIRE(SimPortReset());
    }
};

HANDLE OpenLink(const char* path)
{
    return CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, NULL, OPEN_EXISTING, FILE_FLAG_OVERLAPPED, NULL);
}

// One request as the daemon makes it: its own event, overlapped. Returns 0 when it
// completed at once, ERROR_IO_PENDING when held, else the error.
struct Request {
    OVERLAPPED ov;
    BYTE out[16];
    DWORD got;
    Request() : got(0)
    {
        ZeroMemory(&ov, sizeof(ov));
        ZeroMemory(out, sizeof(out));
        ov.hEvent = CreateEventA(NULL, TRUE, FALSE, NULL);
    }
    ~Request() { CloseHandle(ov.hEvent); }
    DWORD Issue(HANDLE h, DWORD code, const void* in, DWORD inSize, DWORD outSize)
    {
        SetLastError(0xdeadbeef);
        if (DeviceIoControl(h, code, (void*)in, inSize, out, outSize, &got, &ov))
            return 0;
        return GetLastError();
    }
    // 0 when done, the request's error, or WAIT_TIMEOUT while still held.
    DWORD Finish(HANDLE h, DWORD ms)
    {
        if (WaitForSingleObject(ov.hEvent, ms) != WAIT_OBJECT_0)
            return WAIT_TIMEOUT;
        SetLastError(0xdeadbeef);
        return GetOverlappedResult(h, &ov, &got, FALSE) ? 0 : GetLastError();
    }
    DWORD Call(HANDLE h, DWORD code, const void* in, DWORD inSize, DWORD outSize)
    {
        DWORD e = Issue(h, code, in, inSize, outSize);
        return e == ERROR_IO_PENDING ? Finish(h, kTimeout) : e;
    }
};

SIM_DEVICE_STATE State(ULONG device)
{
    SIM_DEVICE_STATE s;
    ZeroMemory(&s, sizeof(s));
    CHECK(SimState(device, &s));
    return s;
}

SIM_KEY_EVENT Record(const Request& r)
{
    SIM_KEY_EVENT e;
    CopyMemory(&e, r.out, sizeof(e));
    return e;
}

} // namespace

TEST_CASE("the stand-ins run as services and serve each device name")
{
    DWORD start = GetTickCount();
    REQUIRE(EnsureDriverStandIns());
    MESSAGE("installing and starting both stand-ins took " << GetTickCount() - start << " ms");
    CHECK(IsServiceRunning("qvfilter"));
    CHECK(IsServiceRunning("hkport"));
    const char* paths[] = { SIM_PATH_USB_FILTER, SIM_PATH_NT_FILTER, SIM_PATH_PORT };
    for (const char* path : paths) {
        HANDLE h = OpenLink(path);
        CHECK_MESSAGE(h != INVALID_HANDLE_VALUE, path << " error " << GetLastError());
        if (h != INVALID_HANDLE_VALUE)
            CloseHandle(h);
    }
    SetLastError(0xdeadbeef);
    CHECK(OpenLink("\\\\.\\QV_USB_3300_FilterX") == INVALID_HANDLE_VALUE);
    CHECK(GetLastError() == ERROR_FILE_NOT_FOUND);

    // What a request costs here, for the benchmark's reading (not a pass/fail figure).
    HANDLE h = OpenLink(SIM_PATH_USB_FILTER);
    REQUIRE(h != INVALID_HANDLE_VALUE);
    LARGE_INTEGER freq, t0, t1;
    QueryPerformanceFrequency(&freq);
    QueryPerformanceCounter(&t0);
    for (int i = 0; i < 200; i++) {
        Request count;
        CHECK(count.Call(h, IOCTL_FILTER_DEVICE_COUNT, NULL, 0, 4) == 0);
    }
    QueryPerformanceCounter(&t1);
    MESSAGE("IOCTL_FILTER_DEVICE_COUNT round trip: " << (t1.QuadPart - t0.QuadPart) * 1000000 / freq.QuadPart / 200
                                                     << " us");
    CloseHandle(h);
}

TEST_CASE("a held read completes with the injected record, and keysim injects from outside")
{
    Standins s;
    HANDLE h = OpenLink(SIM_PATH_USB_FILTER);
    REQUIRE(h != INVALID_HANDLE_VALUE);
    Request begin;
    CHECK(begin.Call(h, IOCTL_FILTER_BEGIN, NULL, 0, 0) == 0);

    Request read;
    REQUIRE(read.Issue(h, IOCTL_FILTER_READ_EVENT, NULL, 0, 12) == ERROR_IO_PENDING);
    CHECK(read.Finish(h, 200) == WAIT_TIMEOUT);
    CHECK(State(SIM_DEV_USB).pendingReads == 1);
    std::string out;
    CHECK(RunKeysim("inject usb 0xABCDE13A 0x1000 2", &out) == 0);
    CHECK(out.find("seq=0") == 0);
    REQUIRE(read.Finish(h, kTimeout) == 0);
    CHECK(read.got == 12);
    SIM_KEY_EVENT e = Record(read);
    CHECK(e.code == 0xABCDE13A);
    CHECK(e.type == 0x1000);
    CHECK(e.flags == 2);

    // The same through the client, with the stamps the benchmark pairs.
    Request second;
    REQUIRE(second.Issue(h, IOCTL_FILTER_READ_EVENT, NULL, 0, 12) == ERROR_IO_PENDING);
    SIM_INJECT_OUT injected;
    REQUIRE(SimInject(SIM_DEV_USB, 0x13B, 0x1001, 1, &injected));
    REQUIRE(second.Finish(h, kTimeout) == 0);
    CHECK(Record(second).code == 0x13B);
    std::vector<SIM_DELIVERY> deliveries;
    ULONG total = 0;
    REQUIRE(SimReadDeliveries(0, &deliveries, &total));
    REQUIRE(deliveries.size() == 2);
    CHECK(deliveries[1].injected == injected.stamp);
    CHECK(deliveries[1].delivered >= deliveries[1].injected);
    CHECK(deliveries[1].event.flags == 1);
    CHECK(State(SIM_DEV_USB).begins == 1);
    CloseHandle(h);
}

TEST_CASE("a held read is ended by CancelIo with 995 and by closing its handle")
{
    Standins s;
    HANDLE h = OpenLink(SIM_PATH_USB_FILTER);
    REQUIRE(h != INVALID_HANDLE_VALUE);
    Request read;
    REQUIRE(read.Issue(h, IOCTL_FILTER_READ_EVENT, NULL, 0, 12) == ERROR_IO_PENDING);
    CHECK(CancelIo(h));
    CHECK(read.Finish(h, kTimeout) == ERROR_OPERATION_ABORTED);
    CHECK(State(SIM_DEV_USB).pendingReads == 0);

    // An event after the cancel is queued for the next read, not lost with the old one.
    REQUIRE(SimInject(SIM_DEV_USB, 0x20, 0x1000, 0, NULL));
    Request next;
    CHECK(next.Call(h, IOCTL_FILTER_READ_EVENT, NULL, 0, 12) == 0);
    CHECK(Record(next).code == 0x20);

    Request held;
    REQUIRE(held.Issue(h, IOCTL_FILTER_READ_EVENT, NULL, 0, 12) == ERROR_IO_PENDING);
    CHECK(State(SIM_DEV_USB).openHandles == 1);
    CloseHandle(h);
    CHECK(held.Finish(h, kTimeout) != WAIT_TIMEOUT);
    SIM_DEVICE_STATE after = State(SIM_DEV_USB);
    CHECK(after.pendingReads == 0);
    CHECK(after.openHandles == 0);
}

// Leaves a read held and ends without closing anything, as a killed daemon would.
QV_CHILD(holdread)
{
    HANDLE h = OpenLink(SIM_PATH_USB_FILTER);
    if (h == INVALID_HANDLE_VALUE)
        return 1;
    static Request read;
    if (read.Issue(h, IOCTL_FILTER_READ_EVENT, NULL, 0, 12) != ERROR_IO_PENDING)
        return 2;
    SIM_DEVICE_STATE st;
    if (!SimState(SIM_DEV_USB, &st) || st.pendingReads != 1)
        return 3;
    TerminateProcess(GetCurrentProcess(), 0);
    return 4;
}

TEST_CASE("a reader that dies leaves no held read or open handle behind")
{
    Standins s;
    CHECK(RunProgram("\"" + SelfPath() + "\" --child holdread", 20000) == 0);
    SIM_DEVICE_STATE st = State(SIM_DEV_USB);
    for (int i = 0; i < 50 && (st.pendingReads || st.openHandles); i++) {
        Sleep(100);
        st = State(SIM_DEV_USB);
    }
    CHECK(st.pendingReads == 0);
    CHECK(st.openHandles == 0);
    // The next key is not swallowed by the dead reader's request.
    REQUIRE(SimInject(SIM_DEV_USB, 0x77, 0x1000, 0, NULL));
    CHECK(State(SIM_DEV_USB).queued == 1);
}

TEST_CASE("queued events come out in order and a short buffer is refused without losing one")
{
    Standins s;
    HANDLE h = OpenLink(SIM_PATH_NT_FILTER);
    REQUIRE(h != INVALID_HANDLE_VALUE);
    for (ULONG code = 1; code <= 3; code++)
        REQUIRE(SimInject(SIM_DEV_NT, code, 0x1000, 0, NULL));
    Request shortRead;
    CHECK(shortRead.Call(h, IOCTL_FILTER_READ_EVENT, NULL, 0, 4) == ERROR_INSUFFICIENT_BUFFER);
    for (ULONG code = 1; code <= 3; code++) {
        Request read;
        CHECK(read.Call(h, IOCTL_FILTER_READ_EVENT, NULL, 0, 12) == 0);
        CHECK(read.got == 12);
        CHECK(Record(read).code == code);
    }
    CHECK(State(SIM_DEV_NT).queued == 0);

    // A full queue refuses the next key instead of dropping an older one.
    ULONG accepted = 0;
    while (accepted < 1000 && SimInject(SIM_DEV_NT, 0x100 + accepted, 0x1000, 0, NULL))
        accepted++;
    CHECK(accepted == 256);
    CHECK(GetLastError() == ERROR_BUSY);
    Request oldest;
    CHECK(oldest.Call(h, IOCTL_FILTER_READ_EVENT, NULL, 0, 12) == 0);
    CHECK(Record(oldest).code == 0x100);
    CloseHandle(h);
}

TEST_CASE("device count, SET_ACTIVE and the call log, per device")
{
    Standins s;
    HANDLE usb = OpenLink(SIM_PATH_USB_FILTER);
    HANDLE nt = OpenLink(SIM_PATH_NT_FILTER);
    REQUIRE(usb != INVALID_HANDLE_VALUE);
    REQUIRE(nt != INVALID_HANDLE_VALUE);
    Request count;
    CHECK(count.Call(usb, IOCTL_FILTER_DEVICE_COUNT, NULL, 0, 4) == 0);
    CHECK(count.got == 4);
    CHECK(*(ULONG*)count.out == 0);
    CHECK(RunKeysim("count 2", NULL) == 0);
    Request again;
    CHECK(again.Call(usb, IOCTL_FILTER_DEVICE_COUNT, NULL, 0, 4) == 0);
    CHECK(*(ULONG*)again.out == 2);
    Request other;
    CHECK(other.Call(nt, IOCTL_FILTER_DEVICE_COUNT, NULL, 0, 4) == 0);
    CHECK(*(ULONG*)other.out == 0);

    ULONG one = 1;
    Request active;
    CHECK(active.Call(usb, IOCTL_FILTER_SET_ACTIVE, &one, 4, 0) == 0);
    Request noInput;
    CHECK(noInput.Call(usb, IOCTL_FILTER_SET_ACTIVE, NULL, 0, 0) == ERROR_INVALID_PARAMETER);
    Request unknown;
    CHECK(unknown.Call(usb, 0x220010, NULL, 0, 0) != 0);
    SIM_DEVICE_STATE st = State(SIM_DEV_USB);
    CHECK(st.active == 1);
    CHECK(st.setActiveCalls == 1);
    CHECK(State(SIM_DEV_NT).setActiveCalls == 0);
    CloseHandle(usb);
    CloseHandle(nt);

    std::vector<SIM_CALL> calls;
    REQUIRE(SimReadCalls(SIM_PATH_CONTROL, 0, &calls, NULL));
    std::vector<std::string> seen;
    for (const SIM_CALL& c : calls) {
        if (c.device != SIM_DEV_USB)
            continue;
        char line[64];
        wsprintfA(line, "%lu %lx %lu", c.major, c.code, c.arg);
        seen.push_back(line);
    }
    std::vector<std::string> expected = { "0 0 0", "14 220018 0", "14 220018 0", "14 220014 1", "14 220014 0",
                                          "14 220010 0", "2 0 0" };
    CHECK(seen == expected);
}

TEST_CASE("the two filter names are separate devices")
{
    Standins s;
    HANDLE usb = OpenLink(SIM_PATH_USB_FILTER);
    HANDLE nt = OpenLink(SIM_PATH_NT_FILTER);
    REQUIRE(usb != INVALID_HANDLE_VALUE);
    REQUIRE(nt != INVALID_HANDLE_VALUE);
    Request usbRead, ntRead;
    REQUIRE(usbRead.Issue(usb, IOCTL_FILTER_READ_EVENT, NULL, 0, 12) == ERROR_IO_PENDING);
    REQUIRE(ntRead.Issue(nt, IOCTL_FILTER_READ_EVENT, NULL, 0, 12) == ERROR_IO_PENDING);
    REQUIRE(SimInject(SIM_DEV_NT, 0x55, 0x1000, 0, NULL));
    CHECK(ntRead.Finish(nt, kTimeout) == 0);
    CHECK(Record(ntRead).code == 0x55);
    CHECK(usbRead.Finish(usb, 200) == WAIT_TIMEOUT);
    // A second handle on the same name is the same device: it shares the queue.
    HANDLE usb2 = OpenLink(SIM_PATH_USB_FILTER);
    REQUIRE(usb2 != INVALID_HANDLE_VALUE);
    CHECK(State(SIM_DEV_USB).openHandles == 2);
    REQUIRE(SimInject(SIM_DEV_USB, 0x66, 0x1000, 0, NULL));
    CHECK(usbRead.Finish(usb, kTimeout) == 0);
    CHECK(Record(usbRead).code == 0x66);
    CloseHandle(usb2);
    CloseHandle(usb);
    CloseHandle(nt);
}

TEST_CASE("removing a device fails held reads and refuses opens; re-added, old handles stay bad")
{
    Standins s;
    // Other tests in the same Wine world may have unplugged the device before.
    const ULONG generation = State(SIM_DEV_USB).generation;
    HANDLE old = OpenLink(SIM_PATH_USB_FILTER);
    REQUIRE(old != INVALID_HANDLE_VALUE);
    Request held;
    REQUIRE(held.Issue(old, IOCTL_FILTER_READ_EVENT, NULL, 0, 12) == ERROR_IO_PENDING);
    REQUIRE(SimInject(SIM_DEV_USB, 0x01, 0x1000, 0, NULL));
    CHECK(held.Finish(old, kTimeout) == 0);
    REQUIRE(SimInject(SIM_DEV_USB, 0x02, 0x1000, 0, NULL)); // queued, lost with the device

    Request pending;
    REQUIRE(pending.Issue(old, IOCTL_FILTER_READ_EVENT, NULL, 0, 12) == 0); // takes 0x02
    Request waiting;
    REQUIRE(waiting.Issue(old, IOCTL_FILTER_READ_EVENT, NULL, 0, 12) == ERROR_IO_PENDING);
    REQUIRE(SimInject(SIM_DEV_USB, 0x03, 0x1000, 0, NULL) == true);
    CHECK(waiting.Finish(old, kTimeout) == 0);
    REQUIRE(SimInject(SIM_DEV_USB, 0x04, 0x1000, 0, NULL)); // stays queued

    Request dying;
    CHECK(RunKeysim("remove usb", NULL) == 0);
    CHECK(State(SIM_DEV_USB).queued == 0);
    CHECK(dying.Call(old, IOCTL_FILTER_READ_EVENT, NULL, 0, 12) == ERROR_DEVICE_NOT_CONNECTED);
    SetLastError(0xdeadbeef);
    CHECK(OpenLink(SIM_PATH_USB_FILTER) == INVALID_HANDLE_VALUE);
    CHECK(GetLastError() == ERROR_FILE_NOT_FOUND);
    CHECK(!SimInject(SIM_DEV_USB, 0x05, 0x1000, 0, NULL));
    CHECK(RunKeysim("remove usb", NULL) == 1);
    // The other devices are not touched.
    HANDLE nt = OpenLink(SIM_PATH_NT_FILTER);
    CHECK(nt != INVALID_HANDLE_VALUE);
    if (nt != INVALID_HANDLE_VALUE)
        CloseHandle(nt);

    CHECK(RunKeysim("add usb", NULL) == 0);
    Request stale;
    CHECK(stale.Call(old, IOCTL_FILTER_DEVICE_COUNT, NULL, 0, 4) == ERROR_DEVICE_NOT_CONNECTED);
    HANDLE fresh = OpenLink(SIM_PATH_USB_FILTER);
    REQUIRE(fresh != INVALID_HANDLE_VALUE);
    Request read;
    REQUIRE(read.Issue(fresh, IOCTL_FILTER_READ_EVENT, NULL, 0, 12) == ERROR_IO_PENDING);
    REQUIRE(SimInject(SIM_DEV_USB, 0x06, 0x1000, 0, NULL));
    CHECK(read.Finish(fresh, kTimeout) == 0);
    CHECK(Record(read).code == 0x06);
    CHECK(State(SIM_DEV_USB).generation == generation + 1);
    CloseHandle(fresh);
    CloseHandle(old);
    CHECK(State(SIM_DEV_USB).openHandles == 0);
}

TEST_CASE("hkport keeps each code it receives, with its length and arrival stamp")
{
    Standins s;
    HANDLE port = OpenLink(SIM_PATH_PORT);
    REQUIRE(port != INVALID_HANDLE_VALUE);
    BYTE code = 0x3A;
    Request one;
    CHECK(one.Call(port, IOCTL_PORT_SEND_CODE, &code, 1, 0) == 0);
    BYTE four[4] = { 1, 2, 3, 4 };
    Request wide;
    CHECK(wide.Call(port, IOCTL_PORT_SEND_CODE, four, 4, 0) == 0);
    Request empty;
    CHECK(empty.Call(port, IOCTL_PORT_SEND_CODE, NULL, 0, 0) == ERROR_INVALID_PARAMETER);
    CloseHandle(port);

    LONGLONG sent = 0;
    REQUIRE(SimPortSend(0x41, &sent));
    std::vector<SIM_RECEIVED> received;
    ULONG total = 0;
    REQUIRE(SimReadReceived(0, &received, &total));
    REQUIRE(received.size() == 3);
    CHECK(total == 3);
    CHECK(received[0].length == 1);
    CHECK(received[0].bytes[0] == 0x3A);
    CHECK(received[1].length == 4);
    CHECK(received[1].bytes[3] == 4);
    CHECK(received[2].bytes[0] == 0x41);
    CHECK(received[2].stamp >= sent);
    CHECK(received[1].stamp >= received[0].stamp);

    std::string out;
    CHECK(RunKeysim("send 0x7F", &out) == 0);
    CHECK(out.find("sent=") == 0);
    CHECK(RunKeysim("received 3", &out) == 0);
    CHECK(out.find("3 ") == 0);
    CHECK(out.find(" 1 7F") != std::string::npos);
    SIM_PORT_STATE_OUT st;
    REQUIRE(SimPortState(&st));
    CHECK(st.received == 4);
}

static volatile LONG g_lastChange = -1;

static DWORD WINAPI NotifiedWindowThread(LPVOID stop)
{
    HWND wnd = CreateWindowA("QvNotified", "notified", WS_POPUP, 0, 0, 1, 1, NULL, NULL, NULL, NULL);
    MSG msg;
    while (WaitForSingleObject((HANDLE)stop, 0) == WAIT_TIMEOUT) {
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        MsgWaitForMultipleObjects(1, (HANDLE*)&stop, FALSE, 50, QS_ALLINPUT);
    }
    DestroyWindow(wnd);
    return 0;
}

static LRESULT CALLBACK RecordChange(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DEVICECHANGE)
        InterlockedExchange(&g_lastChange, (LONG)wParam);
    return DefWindowProcA(wnd, message, wParam, lParam);
}

TEST_CASE("keysim tells top-level windows of a removal and an arrival when asked")
{
    Standins s;
    WNDCLASSA wc;
    ZeroMemory(&wc, sizeof(wc));
    wc.lpfnWndProc = RecordChange;
    wc.lpszClassName = "QvNotified";
    wc.hInstance = GetModuleHandleA(NULL);
    REQUIRE(RegisterClassA(&wc));
    HANDLE stop = CreateEventA(NULL, TRUE, FALSE, NULL);
    HANDLE thread = CreateThread(NULL, 0, NotifiedWindowThread, stop, 0, NULL);
    REQUIRE(thread != NULL);
    CHECK(WaitForWindow("QvNotified", "notified", kTimeout) != NULL);
    CHECK(RunKeysim("remove nt notify", NULL) == 0);
    CHECK(g_lastChange == 0x8004);
    CHECK(RunKeysim("add nt notify", NULL) == 0);
    CHECK(g_lastChange == 0x8000);
    CHECK(RunKeysim("remove nt", NULL) == 0);
    CHECK(g_lastChange == 0x8000);
    CHECK(SimAdd(SIM_DEV_NT));
    SetEvent(stop);
    WaitForSingleObject(thread, kTimeout);
    CloseHandle(thread);
    CloseHandle(stop);
    UnregisterClassA("QvNotified", GetModuleHandleA(NULL));
}

TEST_CASE("stopping the hkport service takes \\\\.\\IoctlTest away until it is started again")
{
    Standins s;
    REQUIRE(StopDriverService("hkport"));
    SetLastError(0xdeadbeef);
    CHECK(OpenLink(SIM_PATH_PORT) == INVALID_HANDLE_VALUE);
    CHECK(GetLastError() == ERROR_FILE_NOT_FOUND);
    CHECK(NetCommand("start", "hkport") == 0);
    HANDLE port = OpenLink(SIM_PATH_PORT);
    CHECK(port != INVALID_HANDLE_VALUE);
    if (port != INVALID_HANDLE_VALUE)
        CloseHandle(port);
}

// Runs in win98 mode: the daemon's legacy open, its service codes, and the notice keysim
// posts on the driver's behalf. Returns 0 or the number of the step that failed.
QV_CHILD(legacy)
{
    HANDLE vxd = CreateFileA(SIM_PATH_VXD, 0, 0, NULL, 0, FILE_FLAG_DELETE_ON_CLOSE, NULL);
    if (vxd == INVALID_HANDLE_VALUE)
        return 100 + (int)GetLastError() % 100;
    HWND wnd = CreateWindowA("STATIC", "legacy", WS_POPUP, 0, 0, 1, 1, NULL, NULL, NULL, NULL);
    ULONG window = (ULONG)(ULONG_PTR)wnd, message = 0x0524, one = 1;
    DWORD got = 0;
    int step = 0;
    if (!DeviceIoControl(vxd, VXD_SET_WINDOW, &window, 4, NULL, 0, &got, NULL) ||
        !DeviceIoControl(vxd, VXD_SET_MESSAGE, &message, 4, NULL, 0, &got, NULL) ||
        !DeviceIoControl(vxd, VXD_ENABLE, &one, 4, NULL, 0, &got, NULL))
        step = 1;
    SIM_KEY_EVENT e = { 0, 0, 0 };
    if (!step && (!DeviceIoControl(vxd, VXD_READ_EVENT, NULL, 0, &e, 12, &got, NULL) || got != 0))
        step = 2; // nothing waiting yet
    if (!step && RunKeysim("inject vxd 0x13A 0x1000 1", NULL) != 0)
        step = 3;
    MSG msg;
    DWORD start = GetTickCount();
    bool notified = false;
    while (!step && !notified && GetTickCount() - start < kTimeout) {
        if (PeekMessageA(&msg, wnd, 0x0524, 0x0524, PM_REMOVE))
            notified = true;
        else
            MsgWaitForMultipleObjects(0, NULL, FALSE, 50, QS_ALLPOSTMESSAGE);
    }
    if (!step && !notified)
        step = 4;
    if (!step && (!DeviceIoControl(vxd, VXD_READ_EVENT, NULL, 0, &e, 12, &got, NULL) || got != 12 ||
                  e.code != 0x13A || e.type != 0x1000 || e.flags != 1))
        step = 5;
    BYTE code = 0x3A;
    if (!step && !DeviceIoControl(vxd, VXD_SEND_CODE, &code, 1, NULL, 0, &got, NULL))
        step = 6;
    BYTE beep = 0;
    if (!step && (!DeviceIoControl(vxd, VXD_READ_BEEP, NULL, 0, &beep, 1, &got, NULL) || got != 0))
        step = 7;
    if (!step && RunKeysim("beep", NULL) != 0)
        step = 8;
    if (!step && !PeekMessageA(&msg, wnd, WM_USER, WM_USER, PM_REMOVE)) {
        MsgWaitForMultipleObjects(0, NULL, FALSE, kTimeout, QS_ALLPOSTMESSAGE);
        if (!PeekMessageA(&msg, wnd, WM_USER, WM_USER, PM_REMOVE))
            step = 9;
    }
    if (!step && (!DeviceIoControl(vxd, VXD_READ_BEEP, NULL, 0, &beep, 1, &got, NULL) || got != 1))
        step = 10;
    DestroyWindow(wnd);
    CloseHandle(vxd);
    return step;
}

QV_CHILD(legacyopen)
{
    HANDLE vxd = CreateFileA(SIM_PATH_VXD, 0, 0, NULL, 0, FILE_FLAG_DELETE_ON_CLOSE, NULL);
    if (vxd == INVALID_HANDLE_VALUE)
        return (int)GetLastError();
    CloseHandle(vxd);
    return 0;
}

TEST_CASE("win9x modes open \\\\.\\QV3300.VXD through the NT namespace and reach the stand-in")
{
    Standins s;
    CHECK(RunAsMode("win98", SelfPath(), "--child legacy", 30000) == 0);
    std::vector<SIM_RECEIVED> returned;
    REQUIRE(SimReadReturned(0, &returned, NULL));
    REQUIRE(returned.size() == 1);
    CHECK(returned[0].length == 1);
    CHECK(returned[0].bytes[0] == 0x3A);
    SIM_DEVICE_STATE st = State(SIM_DEV_VXD);
    CHECK(st.message == 0x0524);
    CHECK(st.enabled == 1);
    CHECK(st.openHandles == 0);
    CHECK(RunAsMode("win95", SelfPath(), "--child legacyopen", 30000) == 0);
    CHECK(RunAsMode("winme", SelfPath(), "--child legacyopen", 30000) == 0);
    // NT refuses creation disposition 0, so the daemon's legacy open fails there.
    CHECK(RunAsMode("nt40", SelfPath(), "--child legacyopen", 30000) == ERROR_INVALID_PARAMETER);
    CHECK(RunAsMode("winxp", SelfPath(), "--child legacyopen", 30000) == ERROR_INVALID_PARAMETER);
    // Unplugged, the legacy name is gone like any other.
    REQUIRE(SimRemove(SIM_DEV_VXD));
    CHECK(RunAsMode("win98", SelfPath(), "--child legacyopen", 30000) == ERROR_FILE_NOT_FOUND);
    REQUIRE(SimAdd(SIM_DEV_VXD));
}
