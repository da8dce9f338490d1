// The daemon's driver links seen from the stand-ins: what reaches hkport or goes back to the
// legacy driver in each Windows mode, reader threads across device arrival and removal,
// and the open and close order of the links.
#include <doctest/doctest.h>

#include "daemontest.h"

#include <dbt.h>

#include <algorithm>

#include "drivers.h"
#include "hostproc.h"
#include "wintest.h"

using namespace qvtest;

namespace {

const DWORD kWait = 10000;

struct Standins {
    Standins()
    {
        REQUIRE(EnsureDriverStandIns());
        REQUIRE(SimReset());
        REQUIRE(SimPortReset());
    }
};

// A daemon that is stopped at the end of the test case whatever happened.
struct Daemon : DaemonRun {
    Daemon() { process = NULL; }
    ~Daemon()
    {
        if (process)
            StopDaemon(this);
    }
};

void Inject(ULONG device, ULONG code, ULONG type, ULONG flags = 0)
{
    SIM_INJECT_OUT out;
    CHECK_MESSAGE(SimInject(device, code, type, flags, &out), "inject error " << GetLastError());
}

std::string Hex(const std::vector<UCHAR>& bytes)
{
    std::string s;
    char b[4];
    for (UCHAR c : bytes) {
        wsprintfA(b, "%02X ", c);
        s += b;
    }
    return s;
}

// The calls that tell the order of the sequences: opens, closes, SET_ACTIVE, DEVICE_COUNT and
// the legacy service codes; reads and BEGIN run on the reader threads, in their own time.
// Wine hands IRP_MJ_CLOSE to a driver after CloseHandle has returned, and the two stand-ins
// run in step only per driver, so the order is read per driver and closes are left out.
std::string SequenceOf(const std::vector<SIM_CALL>& calls, LONGLONG from, LONGLONG to, bool port,
                       bool stamps = false)
{
    static const char* const kDevices[] = { "usb", "nt", "vxd", "control", "port" };
    std::string s;
    for (const SIM_CALL& c : calls) {
        if (c.device == SIM_DEV_CONTROL || c.device > SIM_DEV_PORT || c.stamp < from || c.stamp > to)
            continue;
        if ((c.device == SIM_DEV_PORT) != port || (!port && c.major == SIM_MJ_CLOSE && !stamps))
            continue;
        if (c.major == SIM_MJ_CONTROL && (c.code == 0x22000C || c.code == 0x220008))
            continue;
        char item[80];
        if (stamps) {
            wsprintfA(item, "%lu ", (ULONG)(c.stamp - from));
            s += item;
        }
        if (c.major == SIM_MJ_CREATE)
            wsprintfA(item, "%s:open ", kDevices[c.device]);
        else if (c.major == SIM_MJ_CLOSE)
            wsprintfA(item, "%s:close ", kDevices[c.device]);
        else
            wsprintfA(item, "%s:%lx(%lu) ", kDevices[c.device], c.code, c.arg);
        s += item;
    }
    return s;
}

LONGLONG Now()
{
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return t.QuadPart;
}

} // namespace

TEST_CASE("on XP the low byte of each forwarded record reaches hkport; other types and flagged records do not")
{
    Standins s;
    Daemon d;
    REQUIRE(StartDaemon(&d, "winxp"));
    REQUIRE(WaitForPendingReads(SIM_DEV_USB, 1, kWait));
    REQUIRE(WaitForPendingReads(SIM_DEV_NT, 1, kWait));

    Inject(SIM_DEV_USB, 0x13A, 0x1000);
    REQUIRE(WaitForPortBytes(1, kWait));
    Inject(SIM_DEV_USB, 0x140, 0x1001);
    Inject(SIM_DEV_USB, 0x141, 0);
    Inject(SIM_DEV_USB, 0x142, 0x1000, 1);
    Inject(SIM_DEV_USB, 0x143, 0x1000, 3);
    Inject(SIM_DEV_USB, 0xABCDE144, 0x1000, 2);
    Inject(SIM_DEV_NT, 0x145, 0x1000);
    Inject(SIM_DEV_USB, 0x1FF, 0x1000);
    REQUIRE(WaitForPortBytes(4, kWait));
    std::vector<UCHAR> got = PortBytes();
    // The two readers run side by side: the NT filter's byte may come anywhere after the first.
    CHECK_MESSAGE(got.size() == 4, Hex(got));
    CHECK(got[0] == 0x3A);
    std::vector<UCHAR> usbOnly;
    for (UCHAR b : got)
        if (b != 0x45)
            usbOnly.push_back(b);
    CHECK_MESSAGE(Hex(usbOnly) == "3A 44 FF ", Hex(got));
    CHECK(std::count(got.begin(), got.end(), (UCHAR)0x45) == 1);
    CHECK(DeviceState(SIM_DEV_USB).delivered == 7);

    // No legacy driver on XP: a WM_USER beep request reads nothing.
    SIM_INJECT_OUT beep;
    REQUIRE(SimBeep(&beep));
    PostMessageA(d.window, WM_USER, 0, 0);
    CHECK(DeviceState(SIM_DEV_VXD).window == 0);
    CHECK(StopDaemon(&d) == 0);
    CHECK(DeviceState(SIM_DEV_VXD).beeps == 1);
    CHECK(PortBytes().size() == 4);
}

TEST_CASE("on Windows 98 the code goes back to the legacy driver, which also answers beep requests")
{
    Standins s;
    Daemon d;
    LONGLONG from = Now();
    REQUIRE(StartDaemon(&d, "win98"));
    SIM_DEVICE_STATE vxd = DeviceState(SIM_DEV_VXD);
    CHECK(vxd.window == (ULONG)(ULONG_PTR)d.window);
    CHECK(vxd.message == 0x0524);
    CHECK(vxd.enabled == 1);
    CHECK(vxd.openHandles == 1);

    // keysim posts 0x0524 to the window the driver was given, as the driver would. The legacy
    // path does not look at the flags.
    std::string out;
    CHECK(RunKeysim("inject vxd 0x13A 0x1000 1", &out) == 0);
    CHECK(out.find("posted=1") != std::string::npos);
    REQUIRE(WaitForReturnedBytes(1, kWait));
    CHECK(RunKeysim("inject vxd 0x150 0x1001", &out) == 0);
    // Filter events also go back to the legacy driver before Windows 2000.
    REQUIRE(WaitForPendingReads(SIM_DEV_USB, 1, kWait));
    Inject(SIM_DEV_USB, 0x155, 0x1000);
    REQUIRE(WaitForReturnedBytes(2, kWait));
    CHECK(Hex(ReturnedBytes()) == "3A 55 ");
    CHECK(PortBytes().empty());

    CHECK(RunKeysim("beep", &out) == 0);
    for (int i = 0; i < 200 && DeviceState(SIM_DEV_VXD).beeps; i++)
        PumpFor(10);
    CHECK(DeviceState(SIM_DEV_VXD).beeps == 0);

    ULONG window = (ULONG)(ULONG_PTR)d.window;
    // A device change repeats the window, message and enable calls on the open driver.
    SendDeviceChange(d.window, DBT_DEVNODES_CHANGED);
    CHECK(DeviceState(SIM_DEV_VXD).opens == 1);
    CHECK(StopDaemon(&d) == 0);
    CHECK(DeviceState(SIM_DEV_VXD).openHandles == 0);
    // The legacy driver first on the way up, and first, without a disable call, on the way down.
    std::string seq = SequenceOf(AllCalls(), from, Now(), false);
    char start[128];
    wsprintfA(start, "vxd:open vxd:1(%lu) vxd:2(1316) vxd:a(1) usb:open usb:220014(1) nt:open nt:220014(1) usb:220018(0) ",
              window);
    CHECK_MESSAGE(seq.find(start) == 0, seq);
    size_t again = seq.find("vxd:1(", 1);
    CHECK_MESSAGE(again != std::string::npos, seq);
    CHECK_MESSAGE(seq.find("vxd:a(0)") == std::string::npos, seq);
    const std::string end = "usb:220014(0) nt:220014(0) ";
    CHECK_MESSAGE((seq.size() > end.size() && seq.compare(seq.size() - end.size(), end.size(), end) == 0), seq);
}

TEST_CASE("NT 4 forwards nothing, and Windows 2000 without hkport reads and drops events")
{
    Standins s;
    {
        Daemon d;
        REQUIRE(StartDaemon(&d, "nt40"));
        REQUIRE(WaitForPendingReads(SIM_DEV_USB, 1, kWait));
        Inject(SIM_DEV_USB, 0x13A, 0x1000);
        REQUIRE(WaitForPendingReads(SIM_DEV_USB, 1, kWait));
        CHECK(DeviceState(SIM_DEV_USB).delivered == 1);
        PumpFor(200);
        CHECK(StopDaemon(&d) == 0);
        CHECK(PortBytes().empty());
        CHECK(ReturnedBytes().empty());
    }
    REQUIRE(StopDriverService("hkport"));
    struct Restart {
        ~Restart() { NetCommand("start", "hkport"); }
    } restart;
    {
        Daemon d;
        REQUIRE(StartDaemon(&d, "win2k"));
        REQUIRE(WaitForPendingReads(SIM_DEV_USB, 1, kWait));
        ULONG before = DeviceState(SIM_DEV_USB).delivered;
        for (ULONG i = 0; i < 20; i++)
            Inject(SIM_DEV_USB, 0x100 + i, 0x1000);
        for (int i = 0; i < 500 && DeviceState(SIM_DEV_USB).delivered < before + 20; i++)
            PumpFor(10);
        CHECK(DeviceState(SIM_DEV_USB).delivered == before + 20);
        CHECK(WaitForPendingReads(SIM_DEV_USB, 1, kWait));
        CHECK(StopDaemon(&d) == 0);
    }
}

TEST_CASE("open and close sequences reach the drivers in their order")
{
    Standins s;
    Daemon d;
    LONGLONG from = Now();
    REQUIRE(StartDaemon(&d, "winxp"));
    REQUIRE(WaitForPendingReads(SIM_DEV_USB, 1, kWait));
    REQUIRE(WaitForPendingReads(SIM_DEV_NT, 1, kWait));
    CHECK(StopDaemon(&d) == 0);
    LONGLONG to = Now();
    std::vector<SIM_CALL> calls = AllCalls();
    CHECK_MESSAGE(SequenceOf(calls, from, to, false) ==
                      "usb:open usb:220014(1) nt:open nt:220014(1) usb:220018(0) usb:220014(0) nt:220014(0) ",
                  SequenceOf(calls, from, to, false, true));
    // A close from the test's own reset of hkport may still arrive after `from`.
    std::string port = SequenceOf(calls, from, to, true);
    CHECK_MESSAGE(port.find("port:open port:close ") != std::string::npos, port);
    CHECK(port.find("port:open") == port.rfind("port:open"));
    SIM_DEVICE_STATE usb = DeviceState(SIM_DEV_USB);
    CHECK(usb.begins == 1);
    CHECK(DeviceState(SIM_DEV_NT).begins == 1);
    CHECK(usb.openHandles == 0);
    CHECK(usb.pendingReads == 0);
    CHECK(usb.active == 0);
}

TEST_CASE("device arrival again hands the new handle to the one reader and leaks no handle")
{
    Standins s;
    Daemon d;
    REQUIRE(StartDaemon(&d, "winxp"));
    REQUIRE(WaitForPendingReads(SIM_DEV_USB, 1, kWait));
    for (int i = 0; i < 3; i++)
        SendDeviceChange(d.window, DBT_DEVICEARRIVAL);
    SendDeviceChange(d.window, DBT_DEVNODES_CHANGED);
    REQUIRE(WaitForPendingReads(SIM_DEV_USB, 1, kWait));
    SIM_DEVICE_STATE usb = DeviceState(SIM_DEV_USB);
    for (int i = 0; i < 100 && usb.openHandles != 1; i++) {
        PumpFor(10);
        usb = DeviceState(SIM_DEV_USB);
    }
    CHECK(usb.opens == 5);
    CHECK(usb.openHandles == 1);
    CHECK(usb.pendingReads == 1);
    CHECK(usb.active == 1);
    Inject(SIM_DEV_USB, 0x161, 0x1000);
    REQUIRE(WaitForPortBytes(1, kWait));
    CHECK(Hex(PortBytes()) == "61 ");
    CHECK(StopDaemon(&d) == 0);
    CHECK(DeviceState(SIM_DEV_USB).openHandles == 0);
}

TEST_CASE("a reader whose device went away backs off, and keys flow again after the device returns")
{
    Standins s;
    Daemon d;
    REQUIRE(StartDaemon(&d, "winxp"));
    REQUIRE(WaitForPendingReads(SIM_DEV_USB, 1, kWait));
    // Wine reports no CPU time for another process; the host's /proc does.
    std::string host = HostProcessDir("qvdm-winxp.exe");
    REQUIRE_FALSE(host.empty());
    long long ticks0 = HostCpuTicks(host);
    ULONG callsBefore = 0;
    {
        std::vector<SIM_CALL> calls;
        SimReadCalls(SIM_PATH_CONTROL, 0, &calls, &callsBefore);
    }
    REQUIRE(SimRemove(SIM_DEV_USB));
    PumpFor(5000);
    long long ticks1 = HostCpuTicks(host);
    REQUIRE(ticks0 >= 0);
    REQUIRE(ticks1 >= 0);
    MESSAGE("daemon CPU over 5 s with the device gone: " << (ticks1 - ticks0) * 10 << " ms");
    CHECK(ticks1 - ticks0 < 5); // under 1% of 5 s
    std::vector<SIM_CALL> calls;
    ULONG total = 0;
    REQUIRE(SimReadCalls(SIM_PATH_CONTROL, callsBefore, &calls, &total));
    size_t reads = 0;
    for (const SIM_CALL& c : calls)
        if (c.device == SIM_DEV_USB && c.code == 0x22000C)
            reads++;
    MESSAGE("reads on the bad handle in 5 s: " << reads);
    CHECK(reads < 40);

    REQUIRE(SimAdd(SIM_DEV_USB));
    SendDeviceChange(d.window, DBT_DEVICEARRIVAL);
    REQUIRE(WaitForPendingReads(SIM_DEV_USB, 1, kWait));
    Inject(SIM_DEV_USB, 0x17A, 0x1000);
    REQUIRE(WaitForPortBytes(1, kWait));
    CHECK(Hex(PortBytes()) == "7A ");
    CHECK(DeviceState(SIM_DEV_USB).openHandles == 1);
    CHECK(StopDaemon(&d) == 0);
}

// Wine answers GetProcessHandleCount for another process with 0, so the probe is the handle
// value a new handle gets in the daemon: handles are handed out lowest free first, so every
// leaked one pushes it up.
ULONG_PTR NextHandleValue(HANDLE process)
{
    HANDLE event = CreateEventA(NULL, TRUE, FALSE, NULL);
    HANDLE remote = NULL;
    BOOL ok = DuplicateHandle(GetCurrentProcess(), event, process, &remote, 0, FALSE, DUPLICATE_SAME_ACCESS);
    CloseHandle(event);
    if (!ok)
        return 0;
    DuplicateHandle(process, remote, NULL, NULL, 0, FALSE, DUPLICATE_CLOSE_SOURCE);
    return (ULONG_PTR)remote;
}

// Requests in flight hold an event each for a moment: the lowest of a few probes is the settled value.
ULONG_PTR SettledHandleValue(HANDLE process)
{
    ULONG_PTR lowest = 0;
    for (int i = 0; i < 5; i++) {
        ULONG_PTR v = NextHandleValue(process);
        if (v && (!lowest || v < lowest))
            lowest = v;
        PumpFor(20);
    }
    return lowest;
}

TEST_CASE("the daemon's handle count stays put over 10,000 forwarded events")
{
    Standins s;
    Daemon d;
    REQUIRE(StartDaemon(&d, "winxp"));
    REQUIRE(WaitForPendingReads(SIM_DEV_USB, 1, kWait));
    for (ULONG i = 0; i < 100; i++)
        Inject(SIM_DEV_USB, i, 0x1000);
    REQUIRE(WaitForPortBytes(100, kWait));
    ULONG_PTR before = SettledHandleValue(d.process);
    REQUIRE(before != 0);

    const ULONG kEvents = 10000;
    ULONG sent = 0;
    DWORD start = GetTickCount();
    while (sent < kEvents && GetTickCount() - start < 60000) {
        SIM_INJECT_OUT out;
        if (SimInject(SIM_DEV_USB, sent & 0xFF, 0x1000, 0, &out))
            sent++;
        else
            Sleep(1); // the stand-in's queue is full: let the reader catch up
    }
    CHECK(sent == kEvents);
    CHECK(WaitForPortBytes(100 + kEvents, 30000));
    REQUIRE(WaitForPendingReads(SIM_DEV_USB, 1, kWait));
    ULONG_PTR after = SettledHandleValue(d.process);
    MESSAGE("next handle value before " << before << ", after " << after << "; " << kEvents << " events in "
                                        << GetTickCount() - start << " ms");
    CHECK(after != 0);
    // A leak per event would move it by 10,000 handles; under a loaded Wine a few handles of
    // its own come and go, so the bound is 100 handles (one leaked per 100 events would fail).
    CHECK(after < before + 100 * 4);
    std::vector<UCHAR> bytes = PortBytes();
    bool inOrder = bytes.size() >= 100 + kEvents;
    for (size_t i = 0; inOrder && i < kEvents; i++)
        inOrder = bytes[bytes.size() - kEvents + i] == (UCHAR)(i & 0xFF);
    CHECK(inOrder);
    CHECK(StopDaemon(&d) == 0);
}
