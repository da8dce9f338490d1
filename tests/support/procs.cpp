// Implementation of the stand-in and process helpers.
#include "procs.h"
#include "wintest.h"

#include <tlhelp32.h>

namespace qvtest {

std::string SimProgram(const char* name)
{
    return SimDir() + "\\" + name;
}

std::string NewLogPath(const char* tag)
{
    char base[MAX_PATH];
    GetTempPathA(sizeof(base), base);
    static LONG counter;
    char name[MAX_PATH];
    wsprintfA(name, "%sqv-%s-%lu-%ld.log", base, tag, GetCurrentProcessId(), InterlockedIncrement(&counter));
    DeleteFileA(name);
    return name;
}

std::string ReadTextFile(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return std::string();
    std::string text;
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof(chunk), &got, NULL) && got > 0)
        text.append(chunk, got);
    CloseHandle(file);
    return text;
}

bool WaitForText(const std::string& path, const std::string& text, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        if (ReadTextFile(path).find(text) != std::string::npos)
            return true;
        if (GetTickCount() - start >= timeoutMs)
            return false;
        PumpFor(20);
    }
}

DWORD StartSim(const std::string& exe, const std::string& args, const std::string& log)
{
    std::string line = "\"" + exe + "\" log=\"" + log + "\" " + args;
    std::vector<char> buffer(line.begin(), line.end());
    buffer.push_back('\0');
    STARTUPINFOA si;
    PROCESS_INFORMATION pi;
    ZeroMemory(&si, sizeof(si));
    si.cb = sizeof(si);
    if (!CreateProcessA(NULL, buffer.data(), NULL, NULL, FALSE, 0, NULL, NULL, &si, &pi))
        return 0;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    if (!WaitForText(log, "ready", 10000)) {
        EndProcess(pi.dwProcessId);
        return 0;
    }
    return pi.dwProcessId;
}

DWORD LoggedProcessId(const std::string& log)
{
    std::string text = ReadTextFile(log);
    size_t at = text.find("start pid=");
    return at == std::string::npos ? 0 : (DWORD)strtoul(text.c_str() + at + 10, NULL, 10);
}

DWORD WindowProcess(HWND wnd)
{
    DWORD processId = 0;
    GetWindowThreadProcessId(wnd, &processId);
    return processId;
}

std::vector<HWND> VisibleWindows(DWORD processId)
{
    std::vector<HWND> windows;
    for (HWND wnd = GetWindow(GetDesktopWindow(), GW_CHILD); wnd; wnd = GetWindow(wnd, GW_HWNDNEXT)) {
        if (IsWindowVisible(wnd) && WindowProcess(wnd) == processId)
            windows.push_back(wnd);
    }
    return windows;
}

std::vector<DWORD> ChildProcesses(DWORD parent, const char* exeName)
{
    std::vector<DWORD> children;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return children;
    PROCESSENTRY32 entry;
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
        if (entry.th32ParentProcessID == parent && (!exeName || lstrcmpiA(entry.szExeFile, exeName) == 0))
            children.push_back(entry.th32ProcessID);
    }
    CloseHandle(snapshot);
    return children;
}

void EndProcess(DWORD processId)
{
    HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId);
    if (!process)
        return;
    TerminateProcess(process, 1);
    WaitForSingleObject(process, 5000);
    CloseHandle(process);
}

// No visible window above `wnd` but topmost ones and those it owns.
static bool AtTop(HWND wnd)
{
    for (HWND above = GetWindow(wnd, GW_HWNDPREV); above; above = GetWindow(above, GW_HWNDPREV)) {
        if (!IsWindowVisible(above) || (GetWindowLongA(above, GWL_EXSTYLE) & WS_EX_TOPMOST))
            continue;
        HWND owner = GetWindow(above, GW_OWNER);
        while (owner && owner != wnd)
            owner = GetWindow(owner, GW_OWNER);
        if (!owner)
            return false;
    }
    return true;
}

bool BringToFront(HWND wnd)
{
    if (IsIconic(wnd))
        ShowWindow(wnd, SW_RESTORE);
    for (int i = 0; i < 50; ++i) {
        // Without a window manager, activation alone leaves the Z order as it was.
        SetWindowPos(wnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        SetForegroundWindow(wnd);
        // The server hands out the new foreground at once, but the window's thread learns of
        // its activation from a message of its own; until it has handled that, a slow thread
        // may still restack its windows. A message sent after it waits for it.
        DWORD_PTR result;
        SendMessageTimeoutA(wnd, WM_NULL, 0, 0, SMTO_NORMAL, 2000, &result);
        if (GetForegroundWindow() == wnd && AtTop(wnd))
            return true;
        PumpFor(10);
    }
    return false;
}

} // namespace qvtest
