// The daemon's key path: 10,000 key events injected through the filter stand-in, each timed
// from its injection to its byte's arrival at hkport (both stamped in the drivers with one
// clock); next to it the floor, a program writing straight to hkport. Then the CPU time an
// idle daemon takes over 10 s, read from the host's /proc (Wine reports no other process's
// times). Exit 1 when an event is lost.
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <string>
#include <vector>

#include "daemontest.h"
#include "drivers.h"
#include "hostproc.h"
#include "wintest.h"

using namespace qvtest;

namespace {

const int kEvents = 10000;
double g_ticksPerUs = 1.0;

void Report(const char* what, std::vector<LONGLONG> ticks)
{
    std::sort(ticks.begin(), ticks.end());
    size_t n = ticks.size();
    if (n == 0) {
        printf("%-34s no samples\n", what);
        return;
    }
    printf("%-34s p50 %7.1f us   p99 %7.1f us   max %8.1f us   (%u events)\n", what, ticks[n / 2] / g_ticksPerUs,
           ticks[(n * 99) / 100] / g_ticksPerUs, ticks[n - 1] / g_ticksPerUs, (unsigned)n);
}

// Arrivals at hkport from index `first` on, in order.
std::vector<SIM_RECEIVED> Arrivals(ULONG first)
{
    std::vector<SIM_RECEIVED> got;
    ULONG total = 0;
    SimReadReceived(first, &got, &total);
    return got;
}

} // namespace

int main()
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    g_ticksPerUs = (double)frequency.QuadPart / 1e6;
    if (!EnsureDriverStandIns() || !SimReset() || !SimPortReset()) {
        printf("bench_keypath: the driver stand-ins did not come up\n");
        return 1;
    }
    SimRemove(SIM_DEV_NT);
    SimSetCount(SIM_DEV_USB, 1);
    SetProgramMode("QV5120DM.exe", "winxp");
    DaemonRun daemon;
    if (!LaunchDaemon(&daemon, DaemonPath()) || !WaitForPendingReads(SIM_DEV_USB, 1, 10000)) {
        printf("bench_keypath: the daemon did not start reading\n");
        return 1;
    }

    // Paced so that each event travels alone: the time is the path's, not a queue's.
    HANDLE control = SimOpen(SIM_PATH_CONTROL);
    HANDLE port = SimOpen(SIM_PATH_PORT);
    std::vector<LONGLONG> injected;
    for (int i = 0; control && i < kEvents; i++) {
        SIM_INJECT_OUT out;
        if (!SimInjectOn(control, SIM_DEV_USB, 0x100 | (i & 0xFF), 0x1000, 0, &out))
            break;
        injected.push_back(out.stamp);
        Sleep(1);
    }
    WaitForPortBytes(injected.size(), 10000);
    std::vector<SIM_RECEIVED> arrived = Arrivals(0);
    std::vector<LONGLONG> path;
    size_t lost = 0;
    for (size_t i = 0; i < injected.size(); i++) {
        if (i < arrived.size() && arrived[i].length == 1 && arrived[i].bytes[0] == (UCHAR)(i & 0xFF))
            path.push_back(arrived[i].stamp - injected[i]);
        else
            lost++;
    }
    lost += kEvents - injected.size();

    // The floor: one program's request straight to hkport, paced the same way.
    SimPortReset();
    std::vector<LONGLONG> sent;
    for (int i = 0; port && i < kEvents; i++) {
        LONGLONG stamp;
        if (!SimPortSendOn(port, (UCHAR)(i & 0xFF), &stamp))
            break;
        sent.push_back(stamp);
        Sleep(1);
    }
    std::vector<SIM_RECEIVED> direct = Arrivals(0);
    std::vector<LONGLONG> floor;
    for (size_t i = 0; i < sent.size() && i < direct.size(); i++)
        floor.push_back(direct[i].stamp - sent[i]);

    if (control)
        CloseHandle(control);
    if (port)
        CloseHandle(port);
    Report("injection -> hkport via the daemon", path);
    Report("floor: a program -> hkport", floor);
    if (!path.empty() && !floor.empty()) {
        std::sort(path.begin(), path.end());
        std::sort(floor.begin(), floor.end());
        size_t p = (path.size() * 99) / 100, f = (floor.size() * 99) / 100;
        printf("%-34s p99 %.2fx the floor's p99, p50 %.2fx\n", "ratio", (double)path[p] / (double)floor[f],
               (double)path[path.size() / 2] / (double)floor[floor.size() / 2]);
    }
    printf("%-34s %u\n", "events lost", (unsigned)lost);

    std::string host = HostProcessDir("QV5120DM.exe");
    if (host.empty()) {
        printf("%-34s the daemon's host process was not found under /proc\n", "idle CPU");
    } else {
        Sleep(1000);
        long long before = HostCpuTicks(host);
        Sleep(10000);
        long long after = HostCpuTicks(host);
        if (before < 0 || after < 0)
            printf("%-34s /proc stat unreadable\n", "idle CPU");
        else
            printf("%-34s %lld clock ticks (1/100 s) over 10 s\n", "idle CPU of the daemon", after - before);
    }
    DWORD code = StopDaemon(&daemon);
    return lost || code != 0 ? 1 : 0;
}
