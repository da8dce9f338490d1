// Stand-in for the programs the launcher starts and the windows it brings forward: opens
// the top-level windows its command line asks for and logs what reaches them, so a test
// reads what a real program would have seen. Built a second time as the calculator.
//
//   testapp [log=FILE] [delay=MS] [exit=MS] [dde=SERVICE] [nowindow]
//           [window [title=TEXT] [hidden] [nomin] [disabled] [tool] [popup] [children=N]]...
//
// Without a "window" token one plain window opens (unless "nowindow"). The log (FILE, or
// the QV_SIM_LOG environment variable) gets one line per event: "start pid=N exe=PATH",
// "cwd PATH", "arg N=TEXT", "window N hwnd=H title=T", "popup N owner=M hwnd=H", "ready",
// "activate N on|off", "size N minimized|restored|maximized", "close N",
// "syscommand N 0xXXXX", "dde execute TEXT". The program ends when its last window is
// closed, or after exit=MS (60 s by default, so a failed test leaves nothing behind).
#include <windows.h>
#include <ddeml.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#ifdef SIM_CALCULATOR
static const char kClassName[] = "SciCalc";
static const char kDefaultTitle[] = "Calculator";
static const char kPlainWindowTitle[] = "Calculator";
#else
static const char kClassName[] = "QvTestApp";
static const char kDefaultTitle[] = "testapp";
static const char kPlainWindowTitle[] = "";
#endif

static char g_logPath[MAX_PATH];
static int g_openWindows;
static int g_nextIndex;
static DWORD g_ddeInstance;
static HSZ g_ddeService;

static void Log(const char* format, ...)
{
    if (!g_logPath[0])
        return;
    char line[1024];
    va_list args;
    va_start(args, format);
    int n = _vsnprintf(line, sizeof(line) - 2, format, args);
    va_end(args);
    if (n < 0 || n > (int)sizeof(line) - 3)
        n = (int)sizeof(line) - 3;
    line[n++] = '\r';
    line[n++] = '\n';
    // Opened per line so that several stand-ins and the test can share one file.
    for (int attempt = 0; attempt < 50; ++attempt) {
        HANDLE file = CreateFileA(g_logPath, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
        if (file != INVALID_HANDLE_VALUE) {
            DWORD written;
            WriteFile(file, line, (DWORD)n, &written, NULL);
            CloseHandle(file);
            return;
        }
        Sleep(10);
    }
}

static int IndexOf(HWND wnd)
{
    return (int)GetWindowLongPtrA(wnd, GWLP_USERDATA);
}

static void OnActivate(HWND wnd, WPARAM wParam)
{
    Log("activate %d %s", IndexOf(wnd), LOWORD(wParam) == WA_INACTIVE ? "off" : "on");
}

static void OnSize(HWND wnd, WPARAM wParam)
{
    const char* state = wParam == SIZE_MINIMIZED ? "minimized" : wParam == SIZE_MAXIMIZED ? "maximized" : "restored";
    if (wParam == SIZE_MINIMIZED || wParam == SIZE_MAXIMIZED || wParam == SIZE_RESTORED)
        Log("size %d %s", IndexOf(wnd), state);
}

static void OnClose(HWND wnd)
{
    Log("close %d", IndexOf(wnd));
    DestroyWindow(wnd);
}

static void OnDestroy(HWND wnd)
{
    if (GetWindow(wnd, GW_OWNER) == NULL && --g_openWindows <= 0)
        PostQuitMessage(0);
}

static void OnSysCommand(HWND wnd, WPARAM wParam)
{
    Log("syscommand %d 0x%04x", IndexOf(wnd), (unsigned)(wParam & 0xFFF0));
}

static LRESULT CALLBACK WindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_ACTIVATE: OnActivate(wnd, wParam); break;
    case WM_SIZE: OnSize(wnd, wParam); break;
    case WM_CLOSE: OnClose(wnd); return 0;
    case WM_DESTROY: OnDestroy(wnd); break;
    case WM_SYSCOMMAND: OnSysCommand(wnd, wParam); break;
    }
    return DefWindowProcA(wnd, msg, wParam, lParam);
}

static HDDEDATA CALLBACK DdeCallback(UINT type, UINT, HCONV, HSZ, HSZ, HDDEDATA data, ULONG_PTR, ULONG_PTR)
{
    switch (type) {
    case XTYP_CONNECT:
        return (HDDEDATA)TRUE;
    case XTYP_EXECUTE: {
        char text[512];
        DWORD n = DdeGetData(data, (LPBYTE)text, sizeof(text) - 1, 0);
        text[n < sizeof(text) ? n : sizeof(text) - 1] = '\0';
        Log("dde execute %s", text);
        return (HDDEDATA)DDE_FACK;
    }
    }
    return NULL;
}

static void StartDde(const char* service)
{
    if (DdeInitializeA(&g_ddeInstance, DdeCallback, APPCLASS_STANDARD | CBF_FAIL_ADVISES | CBF_FAIL_POKES |
                                                        CBF_FAIL_REQUESTS | CBF_SKIP_ALLNOTIFICATIONS, 0) != DMLERR_NO_ERROR) {
        g_ddeInstance = 0;
        Log("dde failed");
        return;
    }
    g_ddeService = DdeCreateStringHandleA(g_ddeInstance, service, CP_WINANSI);
    DdeNameService(g_ddeInstance, g_ddeService, 0, DNS_REGISTER);
}

struct WindowSpec {
    char title[128];
    bool hidden;
    bool noMinimize;
    bool disabled;
    bool tool;
    bool popup;
    int children;
};

static HWND OpenWindow(const WindowSpec& want)
{
    DWORD style = WS_OVERLAPPEDWINDOW;
    if (want.noMinimize)
        style &= ~WS_MINIMIZEBOX;
    if (want.disabled)
        style |= WS_DISABLED;
    DWORD exStyle = want.tool ? WS_EX_TOOLWINDOW : 0;
    int index = ++g_nextIndex;
    char title[160];
    if (want.title[0])
        lstrcpynA(title, want.title, sizeof(title));
    else
        wsprintfA(title, "%s %lu %d", kDefaultTitle, GetCurrentProcessId(), index);
    HWND wnd = CreateWindowExA(exStyle, kClassName, title, style, 40 * index, 30 * index, 320, 200, NULL, NULL,
                               GetModuleHandleA(NULL), NULL);
    if (!wnd) {
        Log("window %d failed %lu", index, GetLastError());
        return NULL;
    }
    ++g_openWindows;
    SetWindowLongPtrA(wnd, GWLP_USERDATA, index);
    for (int i = 0; i < want.children; ++i)
        CreateWindowExA(0, "STATIC", "child", WS_CHILD | WS_VISIBLE, 4, 4 + 12 * i, 80, 10, wnd, NULL, NULL, NULL);
    Log("window %d hwnd=%p title=%s", index, (void*)wnd, title);
    if (!want.hidden)
        ShowWindow(wnd, SW_SHOWNORMAL);
    if (want.popup) {
        int popupIndex = ++g_nextIndex;
        wsprintfA(title, "%s %lu %d popup", kDefaultTitle, GetCurrentProcessId(), popupIndex);
        HWND popup = CreateWindowExA(0, kClassName, title, WS_POPUP | WS_CAPTION | WS_VISIBLE, 60, 60, 160, 100, wnd,
                                     NULL, GetModuleHandleA(NULL), NULL);
        if (popup) {
            SetWindowLongPtrA(popup, GWLP_USERDATA, popupIndex);
            Log("popup %d owner=%d hwnd=%p", popupIndex, index, (void*)popup);
        }
    }
    return wnd;
}

static bool TakeValue(const char* arg, const char* name, const char** value)
{
    size_t n = strlen(name);
    if (strncmp(arg, name, n) != 0 || arg[n] != '=')
        return false;
    *value = arg + n + 1;
    return true;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    int argc = __argc;
    char** argv = __argv;
    const char* value;
    DWORD delay = 0, lifetime = 60000;
    const char* ddeService = NULL;
    bool noWindow = false;

    if (!GetEnvironmentVariableA("QV_SIM_LOG", g_logPath, sizeof(g_logPath)) ||
        lstrlenA(g_logPath) >= (int)sizeof(g_logPath))
        g_logPath[0] = '\0';
    for (int i = 1; i < argc; ++i) {
        if (TakeValue(argv[i], "log", &value))
            lstrcpynA(g_logPath, value, sizeof(g_logPath));
    }

    char exe[MAX_PATH];
    DWORD exeLength = GetModuleFileNameA(NULL, exe, sizeof(exe));
    exe[exeLength < sizeof(exe) ? exeLength : sizeof(exe) - 1] = '\0';
    char cwd[MAX_PATH];
    DWORD cwdLength = GetCurrentDirectoryA(sizeof(cwd), cwd);
    if (cwdLength == 0 || cwdLength >= sizeof(cwd))
        cwd[0] = '\0';
    Log("start pid=%lu exe=%s", GetCurrentProcessId(), exe);
    Log("cwd %s", cwd);
    for (int i = 1; i < argc; ++i)
        Log("arg %d=%s", i, argv[i]);

    WNDCLASSA wc;
    ZeroMemory(&wc, sizeof(wc));
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(NULL, IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
    wc.lpszClassName = kClassName;
    RegisterClassA(&wc);

    int windowsAsked = 0;
    for (int i = 1; i < argc; ++i) {
        if (TakeValue(argv[i], "delay", &value))
            delay = (DWORD)atoi(value);
        else if (TakeValue(argv[i], "exit", &value))
            lifetime = (DWORD)atoi(value);
        else if (TakeValue(argv[i], "dde", &value))
            ddeService = value;
        else if (strcmp(argv[i], "nowindow") == 0)
            noWindow = true;
        else if (strcmp(argv[i], "window") == 0)
            ++windowsAsked;
    }
    // A thread timer: it needs no window, so it also ends a "nowindow" run.
    UINT_PTR exitTimer = SetTimer(NULL, 0, lifetime, NULL);
    if (ddeService)
        StartDde(ddeService);

    if (delay) {
        DWORD end = GetTickCount() + delay;
        MSG msg;
        for (LONG left; (left = (LONG)(end - GetTickCount())) > 0;) {
            MsgWaitForMultipleObjects(0, NULL, FALSE, (DWORD)left, QS_ALLINPUT);
            while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
                if (msg.hwnd)
                    DispatchMessageA(&msg);
            }
        }
    }

    if (!noWindow && windowsAsked == 0) {
        WindowSpec want;
        ZeroMemory(&want, sizeof(want));
        lstrcpynA(want.title, kPlainWindowTitle, sizeof(want.title));
        OpenWindow(want);
    }
    for (int i = 1; i < argc && !noWindow; ++i) {
        if (strcmp(argv[i], "window") != 0)
            continue;
        WindowSpec want;
        ZeroMemory(&want, sizeof(want));
        int j = i + 1;
        for (; j < argc && strcmp(argv[j], "window") != 0; ++j) {
            if (TakeValue(argv[j], "title", &value))
                lstrcpynA(want.title, value, sizeof(want.title));
            else if (TakeValue(argv[j], "children", &value))
                want.children = atoi(value);
            else if (strcmp(argv[j], "hidden") == 0)
                want.hidden = true;
            else if (strcmp(argv[j], "nomin") == 0)
                want.noMinimize = true;
            else if (strcmp(argv[j], "disabled") == 0)
                want.disabled = true;
            else if (strcmp(argv[j], "tool") == 0)
                want.tool = true;
            else if (strcmp(argv[j], "popup") == 0)
                want.popup = true;
        }
        OpenWindow(want);
        i = j - 1;
    }
    Log("ready");

    MSG msg;
    while (GetMessageA(&msg, NULL, 0, 0) > 0) {
        if (msg.message == WM_TIMER && msg.hwnd == NULL && msg.wParam == exitTimer)
            break;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    if (g_ddeInstance) {
        DdeNameService(g_ddeInstance, g_ddeService, 0, DNS_UNREGISTER);
        DdeFreeStringHandle(g_ddeInstance, g_ddeService);
        DdeUninitialize(g_ddeInstance);
    }
    Log("exit");
    return 0;
}
