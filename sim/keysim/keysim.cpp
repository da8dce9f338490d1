// keysim: plays the keyboard against the driver stand-ins (inject key events, plug and unplug
// devices, set the device count) and prints what hkport and the legacy device received.
// Stamps are QueryPerformanceCounter ticks, the clock both drivers stamp with.
#include <windows.h>
#include <dbt.h>
#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <vector>

#include "simclient.h"

static int Usage()
{
    fprintf(stderr,
            "usage: keysim inject usb|nt|vxd CODE TYPE [FLAGS]\n"
            "       keysim count [usb|nt] N\n"
            "       keysim remove|add usb|nt|vxd [notify]\n"
            "       keysim state usb|nt|vxd | port\n"
            "       keysim beep | reset | clock\n"
            "       keysim send BYTE [TIMES]\n"
            "       keysim received|returned|deliveries|calls [FIRST]\n");
    return 2;
}

static int Fail(const char* what)
{
    fprintf(stderr, "keysim: %s failed (error %lu)\n", what, GetLastError());
    return 1;
}

static bool ParseNumber(const char* text, ULONG* value)
{
    char* end = NULL;
    unsigned long n = strtoul(text, &end, 0);
    if (!*text || *end)
        return false;
    *value = (ULONG)n;
    return true;
}

static bool ParseDevice(const char* text, ULONG* device)
{
    *device = SimDeviceByName(text);
    return *device != ~0u;
}

// What the legacy driver does when a key is waiting: post its message to the window it was
// given. Only keysim can do it for the stand-in.
static bool PostForDriver(const SIM_INJECT_OUT& where, UINT message)
{
    if (!where.window || !message)
        return false;
    return PostMessageA((HWND)(ULONG_PTR)where.window, message, 0, 0) != FALSE;
}

static BOOL CALLBACK NotifyWindow(HWND window, LPARAM lParam)
{
    const WPARAM* change = (const WPARAM*)lParam;
    DEV_BROADCAST_HDR header;
    ZeroMemory(&header, sizeof(header));
    header.dbch_size = sizeof(header);
    header.dbch_devicetype = DBT_DEVTYP_DEVNODE;
    DWORD_PTR result;
    SendMessageTimeoutA(window, WM_DEVICECHANGE, *change, (LPARAM)&header, SMTO_ABORTIFHUNG, 2000, &result);
    return TRUE;
}

static int Inject(int argc, char** argv)
{
    ULONG device, code, type, flags = 0;
    if (argc < 5 || !ParseDevice(argv[2], &device) || !ParseNumber(argv[3], &code) || !ParseNumber(argv[4], &type) ||
        (argc > 5 && !ParseNumber(argv[5], &flags)))
        return Usage();
    SIM_INJECT_OUT out;
    if (!SimInject(device, code, type, flags, &out))
        return Fail("inject");
    printf("seq=%lu stamp=%lld", out.seq, out.stamp);
    if (device == SIM_DEV_VXD)
        printf(" posted=%d", PostForDriver(out, out.message) ? 1 : 0);
    printf("\n");
    return 0;
}

static int Plug(int argc, char** argv, bool add)
{
    ULONG device;
    if (argc < 3 || !ParseDevice(argv[2], &device))
        return Usage();
    bool notify = argc > 3 && lstrcmpiA(argv[3], "notify") == 0;
    if (!(add ? SimAdd(device) : SimRemove(device)))
        return Fail(add ? "add" : "remove");
    if (notify) {
        WPARAM change = add ? DBT_DEVICEARRIVAL : DBT_DEVICEREMOVECOMPLETE;
        EnumWindows(NotifyWindow, (LPARAM)&change);
    }
    return 0;
}

static int State(int argc, char** argv)
{
    if (argc > 2 && lstrcmpiA(argv[2], "port") == 0) {
        SIM_PORT_STATE_OUT port;
        if (!SimPortState(&port))
            return Fail("port state");
        printf("open=%lu opens=%lu received=%lu\n", port.openHandles, port.opens, port.received);
        return 0;
    }
    ULONG device;
    if (argc < 3 || !ParseDevice(argv[2], &device))
        return Usage();
    SIM_DEVICE_STATE s;
    if (!SimState(device, &s))
        return Fail("state");
    printf("present=%lu generation=%lu count=%lu active=%lu setactive=%lu begins=%lu open=%lu opens=%lu "
           "pending=%lu queued=%lu injected=%lu delivered=%lu window=0x%lx message=0x%lx enabled=%lu beeps=%lu\n",
           s.present, s.generation, s.count, s.active, s.setActiveCalls, s.begins, s.openHandles, s.opens,
           s.pendingReads, s.queued, s.injected, s.delivered, s.window, s.message, s.enabled, s.beeps);
    return 0;
}

static int Send(int argc, char** argv)
{
    ULONG code, times = 1;
    if (argc < 3 || !ParseNumber(argv[2], &code) || code > 0xFF || (argc > 3 && !ParseNumber(argv[3], &times)))
        return Usage();
    for (ULONG i = 0; i < times; i++) {
        LONGLONG sent;
        if (!SimPortSend((UCHAR)code, &sent))
            return Fail("send");
        printf("sent=%lld\n", sent);
    }
    return 0;
}

static void PrintReceived(const std::vector<SIM_RECEIVED>& entries, ULONG first)
{
    for (size_t i = 0; i < entries.size(); i++) {
        const SIM_RECEIVED& r = entries[i];
        printf("%lu %lld %lu", (ULONG)(first + i), r.stamp, r.length);
        for (ULONG b = 0; b < r.length && b < sizeof(r.bytes); b++)
            printf(" %02X", r.bytes[b]);
        printf("\n");
    }
}

static int Logs(int argc, char** argv)
{
    ULONG first = 0, total = 0;
    if (argc > 2 && !ParseNumber(argv[2], &first))
        return Usage();
    const char* what = argv[1];
    if (lstrcmpiA(what, "received") == 0 || lstrcmpiA(what, "returned") == 0) {
        std::vector<SIM_RECEIVED> entries;
        bool port = lstrcmpiA(what, "received") == 0;
        if (!(port ? SimReadReceived(first, &entries, &total) : SimReadReturned(first, &entries, &total)))
            return Fail(what);
        PrintReceived(entries, total - (ULONG)entries.size());
        return 0;
    }
    if (lstrcmpiA(what, "deliveries") == 0) {
        std::vector<SIM_DELIVERY> entries;
        if (!SimReadDeliveries(first, &entries, &total))
            return Fail(what);
        for (size_t i = 0; i < entries.size(); i++) {
            const SIM_DELIVERY& d = entries[i];
            printf("%lu %s 0x%lx 0x%lx 0x%lx %lld %lld\n", (ULONG)(total - entries.size() + i), SimDeviceName(d.device),
                   d.event.code, d.event.type, d.event.flags, d.injected, d.delivered);
        }
        return 0;
    }
    // Both drivers' call logs, merged by stamp: the order the daemon's calls arrived in.
    std::vector<SIM_CALL> calls, port;
    if (!SimReadCalls(SIM_PATH_CONTROL, first, &calls, &total))
        return Fail("calls");
    if (SimReadCalls(SIM_PATH_PORT, first, &port, &total))
        calls.insert(calls.end(), port.begin(), port.end());
    std::stable_sort(calls.begin(), calls.end(),
                     [](const SIM_CALL& a, const SIM_CALL& b) { return a.stamp < b.stamp; });
    static const char* const kDevices[] = { "usb", "nt", "vxd", "control", "port" };
    for (const SIM_CALL& c : calls) {
        const char* major = c.major == SIM_MJ_CREATE ? "open" : c.major == SIM_MJ_CLOSE ? "close" : "ioctl";
        printf("%lld %s %s 0x%lx 0x%lx 0x%lx\n", c.stamp, c.device < 5 ? kDevices[c.device] : "?", major, c.code,
               c.arg, (ULONG)c.status);
    }
    return 0;
}

int main(int argc, char** argv)
{
    if (argc < 2)
        return Usage();
    const char* cmd = argv[1];
    if (lstrcmpiA(cmd, "inject") == 0)
        return Inject(argc, argv);
    if (lstrcmpiA(cmd, "count") == 0) {
        ULONG device = SIM_DEV_USB, count;
        if (argc == 3 && ParseNumber(argv[2], &count))
            return SimSetCount(device, count) ? 0 : Fail("count");
        if (argc == 4 && ParseDevice(argv[2], &device) && ParseNumber(argv[3], &count))
            return SimSetCount(device, count) ? 0 : Fail("count");
        return Usage();
    }
    if (lstrcmpiA(cmd, "remove") == 0 || lstrcmpiA(cmd, "add") == 0)
        return Plug(argc, argv, lstrcmpiA(cmd, "add") == 0);
    if (lstrcmpiA(cmd, "state") == 0)
        return State(argc, argv);
    if (lstrcmpiA(cmd, "beep") == 0) {
        SIM_INJECT_OUT out;
        if (!SimBeep(&out))
            return Fail("beep");
        printf("posted=%d\n", PostForDriver(out, WM_USER) ? 1 : 0);
        return 0;
    }
    if (lstrcmpiA(cmd, "reset") == 0)
        return SimReset() && SimPortReset() ? 0 : Fail("reset");
    if (lstrcmpiA(cmd, "clock") == 0) {
        LARGE_INTEGER freq, now;
        QueryPerformanceFrequency(&freq);
        QueryPerformanceCounter(&now);
        printf("freq=%lld now=%lld\n", freq.QuadPart, now.QuadPart);
        return 0;
    }
    if (lstrcmpiA(cmd, "send") == 0)
        return Send(argc, argv);
    if (lstrcmpiA(cmd, "received") == 0 || lstrcmpiA(cmd, "returned") == 0 || lstrcmpiA(cmd, "deliveries") == 0 ||
        lstrcmpiA(cmd, "calls") == 0)
        return Logs(argc, argv);
    return Usage();
}
