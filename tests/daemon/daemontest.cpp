// Daemon runs for the tests; see daemontest.h.
#include "daemontest.h"

#include <dbt.h>
#include <shellapi.h>

#include <algorithm>

#include "wintest.h"

namespace qvtest {

std::string DaemonPath()
{
    char path[MAX_PATH];
    if (!SearchPathA(NULL, "QV5120DM.exe", NULL, sizeof(path), path, NULL))
        return std::string();
    return path;
}

static BOOL CALLBACK MatchMainWindow(HWND wnd, LPARAM param)
{
    char name[64];
    if (GetClassNameA(wnd, name, sizeof(name)) && lstrcmpA(name, "QV5120DM") == 0) {
        *(HWND*)param = wnd;
        return FALSE;
    }
    return TRUE;
}

// The main window is never shown, so the visible-window helpers do not find it.
static HWND WaitForMainWindow(HANDLE process, DWORD threadId, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    do {
        HWND found = NULL;
        EnumThreadWindows(threadId, MatchMainWindow, (LPARAM)&found);
        if (found)
            return found;
        if (WaitForSingleObject(process, 10) == WAIT_OBJECT_0)
            return NULL;
    } while (GetTickCount() - start < timeoutMs);
    return NULL;
}

bool StartDaemon(DaemonRun* run, const char* mode, const std::string& args)
{
    return StartDaemonIn(run, mode, DirOf(SelfPath()), args);
}

bool StartDaemonIn(DaemonRun* run, const char* mode, const std::string& folder, const std::string& args)
{
    run->process = NULL;
    run->window = NULL;
    run->copied = false;
    std::string source = DaemonPath();
    if (source.empty())
        return false;
    // A copy per mode: Wine keys the reported version by the file name.
    std::string name = std::string("qvdm-") + mode + ".exe";
    std::string exe = folder + "\\" + name;
    if (!CopyFileA(source.c_str(), exe.c_str(), FALSE) || !SetProgramMode(name, mode))
        return false;
    bool started = LaunchDaemon(run, exe, args);
    run->copied = true;
    return started;
}

bool LaunchDaemon(DaemonRun* run, const std::string& exe, const std::string& args)
{
    run->process = NULL;
    run->window = NULL;
    run->copied = false;
    run->exe = exe;
    STARTUPINFOA si;
    PROCESS_INFORMATION pi;
    ZeroMemory(&si, sizeof(si));
    si.cb = sizeof(si);
    std::string line = "\"" + run->exe + "\"" + (args.empty() ? "" : " " + args);
    if (!CreateProcessA(NULL, &line[0], NULL, NULL, FALSE, 0, NULL, NULL, &si, &pi))
        return false;
    CloseHandle(pi.hThread);
    run->process = pi.hProcess;
    run->processId = pi.dwProcessId;
    run->threadId = pi.dwThreadId;
    run->window = WaitForMainWindow(pi.hProcess, pi.dwThreadId, 15000);
    // The window is listed while WM_CREATE still runs the start-up; a sent message is taken
    // only by the message loop, so its answer means the start-up is over.
    DWORD_PTR result;
    return run->window != NULL &&
           SendMessageTimeoutA(run->window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 15000, &result) != 0;
}

bool AttachDaemon(DaemonRun* run, DWORD timeoutMs)
{
    run->process = NULL;
    run->window = NULL;
    run->copied = false;
    run->exe.clear();
    DWORD start = GetTickCount();
    HWND window;
    while (!(window = FindWindowA("QV5120DM", NULL)) && GetTickCount() - start < timeoutMs)
        Sleep(50);
    if (!window)
        return false;
    run->threadId = GetWindowThreadProcessId(window, &run->processId);
    run->process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_TERMINATE, FALSE, run->processId);
    if (!run->process)
        return false;
    typedef BOOL(WINAPI * ImageNameFn)(HANDLE, DWORD, LPSTR, PDWORD);
    ImageNameFn imageName =
        (ImageNameFn)GetProcAddress(GetModuleHandleA("kernel32.dll"), "QueryFullProcessImageNameA");
    char path[MAX_PATH];
    DWORD size = sizeof(path);
    if (imageName && imageName(run->process, 0, path, &size))
        run->exe.assign(path, size);
    run->window = window;
    DWORD_PTR result;
    return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 15000, &result) != 0;
}

DWORD WaitDaemonExit(DaemonRun* run, DWORD timeoutMs)
{
    if (!run->process)
        return kNoExit;
    DWORD code = kNoExit;
    if (WaitForSingleObject(run->process, timeoutMs) == WAIT_OBJECT_0)
        GetExitCodeProcess(run->process, &code);
    else
        TerminateProcess(run->process, kNoExit);
    ForgetDaemon(run);
    return code;
}

DWORD StopDaemon(DaemonRun* run)
{
    if (!run->process)
        return kNoExit;
    if (run->window) {
        DWORD_PTR result;
        SendMessageTimeoutA(run->window, WM_ENDSESSION, FALSE, 0, SMTO_ABORTIFHUNG, 5000, &result);
    }
    return WaitDaemonExit(run, 10000);
}

void ForgetDaemon(DaemonRun* run)
{
    if (run->process) {
        WaitForSingleObject(run->process, 5000);
        CloseHandle(run->process);
    }
    run->process = NULL;
    run->window = NULL;
    if (run->copied && !run->exe.empty())
        DeleteFileA(run->exe.c_str());
    run->copied = false;
}

SIM_DEVICE_STATE DeviceState(ULONG device)
{
    SIM_DEVICE_STATE s;
    ZeroMemory(&s, sizeof(s));
    SimState(device, &s);
    return s;
}

bool WaitForPendingReads(ULONG device, ULONG reads, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    do {
        if (DeviceState(device).pendingReads == reads)
            return true;
        PumpFor(5);
    } while (GetTickCount() - start < timeoutMs);
    return false;
}

static std::vector<UCHAR> Bytes(const std::vector<SIM_RECEIVED>& entries)
{
    std::vector<UCHAR> out;
    for (const SIM_RECEIVED& r : entries)
        out.push_back(r.length == 1 ? r.bytes[0] : (UCHAR)0xFF);
    return out;
}

std::vector<UCHAR> PortBytes()
{
    std::vector<SIM_RECEIVED> entries;
    ULONG total = 0;
    SimReadReceived(0, &entries, &total);
    return Bytes(entries);
}

std::vector<UCHAR> ReturnedBytes()
{
    std::vector<SIM_RECEIVED> entries;
    ULONG total = 0;
    SimReadReturned(0, &entries, &total);
    return Bytes(entries);
}

static bool WaitForCount(bool port, size_t count, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    do {
        SIM_PORT_STATE_OUT ps;
        size_t have = port ? (SimPortState(&ps) ? ps.received : 0) : ReturnedBytes().size();
        if (have >= count)
            return true;
        PumpFor(2);
    } while (GetTickCount() - start < timeoutMs);
    return false;
}

bool WaitForPortBytes(size_t count, DWORD timeoutMs)
{
    return WaitForCount(true, count, timeoutMs);
}

bool WaitForReturnedBytes(size_t count, DWORD timeoutMs)
{
    return WaitForCount(false, count, timeoutMs);
}

bool TrayIconRequest(HWND daemon, DWORD message, const char* tip)
{
    NOTIFYICONDATAA nid;
    ZeroMemory(&nid, sizeof(nid));
    nid.cbSize = NOTIFYICONDATAA_V1_SIZE;
    nid.hWnd = daemon;
    nid.uID = 108;
    nid.uFlags = NIF_TIP;
    lstrcpynA(nid.szTip, tip, sizeof(nid.szTip));
    return Shell_NotifyIconA(message, &nid) != FALSE;
}

bool TrayIconShown(HWND daemon)
{
    return TrayIconRequest(daemon, NIM_MODIFY, "Tavimon (Lumeno Keyboard)");
}

std::vector<SIM_CALL> AllCalls()
{
    std::vector<SIM_CALL> calls, port;
    ULONG total = 0;
    SimReadCalls(SIM_PATH_CONTROL, 0, &calls, &total);
    SimReadCalls(SIM_PATH_PORT, 0, &port, &total);
    calls.insert(calls.end(), port.begin(), port.end());
    std::stable_sort(calls.begin(), calls.end(), [](const SIM_CALL& a, const SIM_CALL& b) { return a.stamp < b.stamp; });
    return calls;
}

void SendDeviceChange(HWND window, WPARAM change)
{
    DEV_BROADCAST_HDR header;
    ZeroMemory(&header, sizeof(header));
    header.dbch_size = sizeof(header);
    header.dbch_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    LPARAM data = (change & 0x8000) ? (LPARAM)&header : 0;
    DWORD_PTR result;
    SendMessageTimeoutA(window, WM_DEVICECHANGE, change, data, SMTO_ABORTIFHUNG, 5000, &result);
}

} // namespace qvtest
