// The daemon as a program: one copy per desktop and what a second copy sends, /RunOnce,
// DM_POSTRUNEXIT and the "PostRun" key, and the end of a session.
#include <doctest/doctest.h>

#include "daemontest.h"
#include "drivers.h"
#include "wintest.h"

#include <vector>

using namespace qvtest;

namespace {

const char kPostRun[] = "Software\\Qelvano\\PostRun";

// A stand-in "first copy": a window of the daemon's class on a thread of its own, noting
// the private messages it receives.
std::vector<UINT> g_received;

LRESULT CALLBACK FirstCopyProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg >= WM_USER && msg < 0xC000) {
        g_received.push_back(msg);
        return 1;
    }
    return DefWindowProcA(wnd, msg, wParam, lParam);
}

struct FirstCopy {
    HANDLE thread;
    HANDLE ready;
    HWND window;
    DWORD threadId;

    static DWORD WINAPI Run(LPVOID param)
    {
        FirstCopy* self = (FirstCopy*)param;
        WNDCLASSA wc;
        ZeroMemory(&wc, sizeof(wc));
        wc.lpfnWndProc = FirstCopyProc;
        wc.hInstance = GetModuleHandleA(NULL);
        wc.lpszClassName = "QV5120DM";
        RegisterClassA(&wc);
        self->window = CreateWindowA("QV5120DM", "QV5120DM", WS_OVERLAPPEDWINDOW, 0, 0, 10, 10, NULL, NULL,
                                     wc.hInstance, NULL);
        SetEvent(self->ready);
        MSG msg;
        while (GetMessageA(&msg, NULL, 0, 0) > 0)
            DispatchMessageA(&msg);
        DestroyWindow(self->window);
        UnregisterClassA("QV5120DM", wc.hInstance);
        return 0;
    }
    FirstCopy() : window(NULL)
    {
        g_received.clear();
        ready = CreateEventA(NULL, TRUE, FALSE, NULL);
        thread = CreateThread(NULL, 0, Run, this, 0, &threadId);
        WaitForSingleObject(ready, 10000);
    }
    ~FirstCopy()
    {
        PostThreadMessageA(threadId, WM_QUIT, 0, 0);
        WaitForSingleObject(thread, 10000);
        CloseHandle(thread);
        CloseHandle(ready);
    }
};

struct Daemon : DaemonRun {
    Daemon() { process = NULL; }
    ~Daemon()
    {
        if (process)
            StopDaemon(this);
    }
};

int CountDaemonWindows()
{
    int n = 0;
    for (HWND w = FindWindowExA(NULL, NULL, "QV5120DM", NULL); w; w = FindWindowExA(NULL, w, "QV5120DM", NULL))
        n++;
    return n;
}

} // namespace

TEST_CASE("a second copy signals the running one, DM_SHOWICON before DM_RELOAD, and ends with 0")
{
    REQUIRE(EnsureDriverStandIns());
    std::string exe = DaemonPath();
    REQUIRE(!exe.empty());
    FirstCopy first;
    REQUIRE(first.window != NULL);

    CHECK(RunProgram("\"" + exe + "\"", 20000) == 0);
    REQUIRE(g_received.size() == 1);
    CHECK(g_received[0] == 0x0C06);

    g_received.clear();
    CHECK(RunProgram("\"" + exe + "\" /ShowIcon", 20000) == 0);
    REQUIRE(g_received.size() == 2);
    CHECK(g_received[0] == 0x0C24);
    CHECK(g_received[1] == 0x0C06);

    // With a copy running, /RunOnce only signals it: no fresh copy is started.
    g_received.clear();
    CHECK(RunProgram("\"" + exe + "\" /RunOnce /ShowIcon", 20000) == 0);
    CHECK(g_received.size() == 2);
    PumpFor(300);
    CHECK(CountDaemonWindows() == 1);
}

TEST_CASE("/RunOnce with no copy running starts a fresh copy and ends")
{
    REQUIRE(EnsureDriverStandIns());
    REQUIRE(CountDaemonWindows() == 0);
    std::string exe = DaemonPath();
    CHECK(RunProgram("\"" + exe + "\" /RunOnce", 20000) == 0);
    HWND fresh = NULL;
    for (int i = 0; i < 500 && !fresh; i++) {
        fresh = FindWindowA("QV5120DM", NULL);
        if (!fresh)
            PumpFor(20);
    }
    REQUIRE(fresh != NULL);
    // The fresh copy runs without switches: another /RunOnce start would loop, so it must be
    // the running daemon, answering a second copy like any other.
    DWORD pid = 0;
    GetWindowThreadProcessId(fresh, &pid);
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, pid);
    REQUIRE(process != NULL);
    CHECK(WaitForSingleObject(process, 300) == WAIT_TIMEOUT);
    DWORD_PTR result;
    SendMessageTimeoutA(fresh, WM_ENDSESSION, FALSE, 0, SMTO_ABORTIFHUNG, 5000, &result);
    CHECK(WaitForSingleObject(process, 10000) == WAIT_OBJECT_0);
    DWORD code = 1;
    GetExitCodeProcess(process, &code);
    CHECK(code == 0);
    CloseHandle(process);
    CHECK(CountDaemonWindows() == 0);
}

TEST_CASE("DM_POSTRUNEXIT records the daemon under PostRun when the key exists, and the daemon ends")
{
    REQUIRE(EnsureDriverStandIns());
    DeleteTree(HKEY_LOCAL_MACHINE, kPostRun);
    {
        Daemon d;
        REQUIRE(StartDaemon(&d, "winxp"));
        PostMessageA(d.window, 0x8469, 0, 0);
        CHECK(WaitDaemonExit(&d, 10000) == 0);
        CHECK_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kPostRun));
    }
    REQUIRE(WriteString(HKEY_LOCAL_MACHINE, kPostRun, "Other", "kept"));
    {
        Daemon d;
        REQUIRE(StartDaemon(&d, "winxp"));
        std::string exe = d.exe;
        PostMessageA(d.window, 0x8469, 0, 0);
        CHECK(WaitDaemonExit(&d, 10000) == 0);
        DWORD type = 0;
        std::string data;
        REQUIRE(ReadValue(HKEY_LOCAL_MACHINE, kPostRun, exe.c_str(), &type, &data));
        CHECK(type == REG_SZ);
        CHECK(data == std::string(1, '\0'));
        CHECK(ReadValue(HKEY_LOCAL_MACHINE, kPostRun, "Other", &type, &data));
        // The links were closed on the way out.
        SIM_DEVICE_STATE usb;
        REQUIRE(SimState(SIM_DEV_USB, &usb));
        CHECK(usb.active == 0);
    }
    DeleteTree(HKEY_LOCAL_MACHINE, kPostRun);
}

TEST_CASE("WM_ENDSESSION ends the daemon also when the log-off was cancelled; /AddStartMenu starts it normally")
{
    REQUIRE(EnsureDriverStandIns());
    REQUIRE(SimReset());
    Daemon d;
    REQUIRE(StartDaemon(&d, "winxp", "/AddStartMenu"));
    SIM_DEVICE_STATE usb;
    REQUIRE(SimState(SIM_DEV_USB, &usb));
    CHECK(usb.active == 1);
    DWORD_PTR result;
    CHECK(SendMessageTimeoutA(d.window, WM_ENDSESSION, FALSE, 0, SMTO_ABORTIFHUNG, 5000, &result));
    CHECK(WaitDaemonExit(&d, 10000) == 0);
    REQUIRE(SimState(SIM_DEV_USB, &usb));
    CHECK(usb.active == 0);
    CHECK(usb.pendingReads == 0);
    SIM_PORT_STATE_OUT port;
    REQUIRE(SimPortState(&port));
    CHECK(port.openHandles == 1); // the query's own handle
}

TEST_CASE("the /RegKey: path and the logged-on user are the profile the display saves into at shut-down")
{
    REQUIRE(EnsureDriverStandIns());
    char user[256];
    DWORD size = sizeof(user);
    REQUIRE(GetUserNameA(user, &size));
    const char* base = "Software\\QvDaemonTest";
    DeleteTree(HKEY_CURRENT_USER, base);
    DeleteTree(HKEY_CURRENT_USER, "Software\\Qelvano\\5125");
    Daemon d;
    REQUIRE(StartDaemon(&d, "winxp", "/regkey:Software\\QvDaemonTest\\Profile"));
    std::string osd = std::string(base) + "\\Profile\\users\\" + user + "\\OSD";
    CHECK_FALSE(KeyExists(HKEY_CURRENT_USER, osd.c_str()));
    CHECK(StopDaemon(&d) == 0);
    DWORD type = 0;
    std::string data;
    CHECK_MESSAGE(ReadValue(HKEY_CURRENT_USER, osd.c_str(), "Duration", &type, &data), osd);
    CHECK_FALSE(KeyExists(HKEY_CURRENT_USER, "Software\\Qelvano\\5125"));
    DeleteTree(HKEY_CURRENT_USER, base);
}
