// A media player stand-in: one program that plays any role of roles.cpp. It shows the
// role's window (at once or after a delay) and logs every command, private message and
// keystroke it receives, so tests can see what a media function sent to a player.
//   qvplayer.exe [--role KEY] [--delay MS] [--log PATH] [--children N] [other arguments]
// Settings can also come from an .ini beside the exe ([player] role, delay, log,
// children), since products start players without our options.
#include "roles.h"

#include "../common/simlog.h"

#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#ifndef WM_APPCOMMAND
#define WM_APPCOMMAND 0x0319
#endif

namespace {

struct Settings {
    char role[32];
    char log[MAX_PATH];
    DWORD delay;
    int children;
};

char g_log[MAX_PATH];

void Log(const char* format, ...)
{
    char line[512];
    va_list args;
    va_start(args, format);
    _vsnprintf(line, sizeof(line) - 1, format, args);
    va_end(args);
    line[sizeof(line) - 1] = '\0';
    char full[600];
    _snprintf(full, sizeof(full) - 1, "pid=%lu %s", GetCurrentProcessId(), line);
    full[sizeof(full) - 1] = '\0';
    SimLogLine(g_log, full);
}

void ReadIni(const char* exePath, Settings* s)
{
    char ini[MAX_PATH];
    lstrcpynA(ini, exePath, sizeof(ini));
    char* dot = strrchr(ini, '.');
    char* slash = strrchr(ini, '\\');
    if (!dot || (slash && dot < slash) || (size_t)(dot - ini) + 5 > sizeof(ini))
        return;
    lstrcpyA(dot, ".ini");
    GetPrivateProfileStringA("player", "role", s->role, s->role, sizeof(s->role), ini);
    GetPrivateProfileStringA("player", "log", s->log, s->log, sizeof(s->log), ini);
    s->delay = GetPrivateProfileIntA("player", "delay", (INT)s->delay, ini);
    s->children = GetPrivateProfileIntA("player", "children", s->children, ini);
}

// Takes our options out of the command line; the rest is logged as the program's arguments.
void ReadOptions(int argc, char** argv, Settings* s, char* rest, size_t restSize)
{
    rest[0] = '\0';
    for (int i = 1; i < argc; ++i) {
        bool value = i + 1 < argc;
        if (value && strcmp(argv[i], "--role") == 0) {
            lstrcpynA(s->role, argv[++i], sizeof(s->role));
        } else if (value && strcmp(argv[i], "--delay") == 0) {
            s->delay = (DWORD)strtoul(argv[++i], NULL, 10);
        } else if (value && strcmp(argv[i], "--log") == 0) {
            lstrcpynA(s->log, argv[++i], sizeof(s->log));
        } else if (value && strcmp(argv[i], "--children") == 0) {
            s->children = atoi(argv[++i]);
        } else {
            size_t used = strlen(rest);
            _snprintf(rest + used, restSize - used - 1, "%s%s", used ? " " : "", argv[i]);
            rest[restSize - 1] = '\0';
        }
    }
}

// The real Mediamatics player tells others its window through these values.
void PublishWindow(const PlayerRole* role)
{
    HKEY key;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, MEDIAMATICS_PUBLISH_KEY, 0, NULL, 0, KEY_WRITE, NULL, &key, NULL) != ERROR_SUCCESS)
        return;
    RegSetValueExA(key, "ClassName", 0, REG_SZ, (const BYTE*)role->className, (DWORD)strlen(role->className) + 1);
    RegSetValueExA(key, "WindowName", 0, REG_SZ, (const BYTE*)role->title, (DWORD)strlen(role->title) + 1);
    RegCloseKey(key);
}

LRESULT OnAppCommand(HWND wnd, WPARAM wParam, LPARAM lParam)
{
    WORD high = HIWORD(lParam);
    char source[32];
    if ((HWND)wParam == wnd)
        lstrcpyA(source, "self");
    else if (!wParam)
        lstrcpyA(source, "none");
    else
        _snprintf(source, sizeof(source), "%p", (void*)wParam);
    source[sizeof(source) - 1] = '\0';
    Log("APPCOMMAND cmd=%u device=0x%x keys=0x%x source=%s", high & 0x0FFF, high & 0xF000, LOWORD(lParam), source);
    return TRUE;
}

LRESULT OnCommand(WPARAM wParam, LPARAM lParam)
{
    Log("COMMAND wparam=0x%lx lparam=0x%lx", (unsigned long)wParam, (unsigned long)lParam);
    return 0;
}

void OnKey(UINT message, WPARAM wParam)
{
    const char* name = message == WM_KEYDOWN ? "KEYDOWN" : message == WM_KEYUP ? "KEYUP"
                     : message == WM_SYSKEYDOWN ? "SYSKEYDOWN" : message == WM_SYSKEYUP ? "SYSKEYUP" : "CHAR";
    Log("%s 0x%lx", name, (unsigned long)wParam);
}

LRESULT OnPrivate(UINT message, WPARAM wParam, LPARAM lParam)
{
    Log("MESSAGE 0x%x wparam=0x%lx lparam=0x%lx", message, (unsigned long)wParam, (unsigned long)lParam);
    return 0;
}

LRESULT CALLBACK PlayerProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_APPCOMMAND:
        return OnAppCommand(wnd, wParam, lParam);
    case WM_COMMAND:
        return OnCommand(wParam, lParam);
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
    case WM_CHAR:
        OnKey(message, wParam);
        break;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    // Registered messages (0xC000 and up) are the system's broadcasts, not a product's.
    if (message >= WM_USER && message < 0xC000)
        return OnPrivate(message, wParam, lParam);
    return DefWindowProcA(wnd, message, wParam, lParam);
}

} // namespace

int main(int argc, char** argv)
{
    Settings s;
    ZeroMemory(&s, sizeof(s));
    char exePath[MAX_PATH];
    DWORD n = GetModuleFileNameA(NULL, exePath, sizeof(exePath));
    if (n == 0 || n >= sizeof(exePath))
        return 2;
    ReadIni(exePath, &s);
    char rest[512];
    ReadOptions(argc, argv, &s, rest, sizeof(rest));
    char fallback[MAX_PATH + 8];
    _snprintf(fallback, sizeof(fallback) - 1, "%s.log", exePath);
    fallback[sizeof(fallback) - 1] = '\0';
    if (s.log[0])
        lstrcpynA(g_log, s.log, sizeof(g_log));
    else
        SimLogPath("QVSIM_PLAYER_LOG", fallback, g_log, sizeof(g_log));

    const char* exeName = strrchr(exePath, '\\') ? strrchr(exePath, '\\') + 1 : exePath;
    const PlayerRole* role = s.role[0] ? FindRoleByKey(s.role) : FindRoleByExe(exeName);
    if (!role) {
        Log("START role=? exe=%s args=%s -> no such role", exeName, rest);
        return 3;
    }
    Log("START role=%s args=%s", role->key, rest);
    if (s.delay)
        Sleep(s.delay);
    if (lstrcmpA(role->key, "mediamatics") == 0)
        PublishWindow(role);

    WNDCLASSA wc;
    ZeroMemory(&wc, sizeof(wc));
    wc.lpfnWndProc = PlayerProc;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.hCursor = LoadCursor(NULL, IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
    wc.lpszClassName = role->className;
    if (!RegisterClassA(&wc)) {
        Log("FAILED RegisterClass %lu", GetLastError());
        return 4;
    }
    HWND wnd = CreateWindowA(role->className, role->title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 320, 160,
                             NULL, NULL, wc.hInstance, NULL);
    if (!wnd) {
        Log("FAILED CreateWindow %lu", GetLastError());
        return 5;
    }
    for (int i = 0; i < s.children && i < 16; ++i)
        CreateWindowA("STATIC", "", WS_CHILD | WS_VISIBLE, 4, 4 + i * 8, 60, 6, wnd, NULL, wc.hInstance, NULL);
    Log("READY hwnd=%p class=%s title=%s", (void*)wnd, role->className, role->title);

    MSG msg;
    while (GetMessageA(&msg, NULL, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    Log("QUIT");
    return 0;
}
