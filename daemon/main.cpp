// The program entry: command line, the one-copy-per-desktop rule, the hidden main window
// and its message loop.
#include "daemon.h"

#include "QVUtil.h"
#include "pathtext.h"

// On 95/98/Me the extended form is looked up at run time, with RegisterClassA behind it
// for a USER32 without it; NT registers with RegisterClassA.
static BOOL RegisterMainClass(HINSTANCE instance)
{
    HICON icon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_DAEMON));
    if (!IsNT()) {
        typedef ATOM(WINAPI * RegisterClassExFunc)(const WNDCLASSEXA*);
        RegisterClassExFunc registerEx =
            (RegisterClassExFunc)GetProcAddress(GetModuleHandleA("USER32.DLL"), "RegisterClassExA");
        if (registerEx) {
            WNDCLASSEXA wc;
            ZeroMemory(&wc, sizeof(wc));
            wc.cbSize = sizeof(wc);
            wc.style = CS_HREDRAW | CS_VREDRAW;
            wc.lpfnWndProc = MainWindowProc;
            wc.hInstance = instance;
            wc.hIcon = icon;
            wc.lpszClassName = DAEMON_CLASS;
            return registerEx(&wc) != 0;
        }
    }
    WNDCLASSA wc;
    ZeroMemory(&wc, sizeof(wc));
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = MainWindowProc;
    wc.hInstance = instance;
    wc.hIcon = icon;
    wc.lpszClassName = DAEMON_CLASS;
    return RegisterClassA(&wc) != 0;
}

static void EnterProgramFolder(void)
{
    char path[DAEMON_TEXT_SIZE];
    DWORD n = GetModuleFileNameA(NULL, path, sizeof(path));
    if (n == 0 || n >= sizeof(path))
        return;
    char* cut = LastBackslash(path);
    if (!cut)
        return;
    *cut = '\0';
    if (path[0])
        SetCurrentDirectoryA(path);
}

int DaemonMain(HINSTANCE instance, LPCSTR commandLine)
{
    g_instance = instance;
    if (IsNT())
        SetThreadResourceLocale();
    if (commandLine && commandLine[0])
        ParseCommandLine(commandLine);

    HWND running = FindWindowA(DAEMON_CLASS, NULL);
    if (running) {
        if (g_showIcon) {
            g_showIcon = FALSE;
            SendMessageA(running, DM_SHOWICON, 0, 0);
        }
        SendMessageA(running, DM_RELOAD, 0, 0);
        return 0;
    }
    if (!RegisterMainClass(instance))
        return 0;

    if (g_runOnce) {
        char self[DAEMON_TEXT_SIZE];
        DWORD n = GetModuleFileNameA(NULL, self, sizeof(self));
        // A cut path would start some other program.
        if (n > 0 && n < sizeof(self))
            LaunchProgram(self, NULL, NULL, NULL);
        return 0;
    }

    EnterProgramFolder();
    HWND window = CreateWindowExA(0, DAEMON_CLASS, DAEMON_CLASS, WS_OVERLAPPEDWINDOW, 0, 0,
                                  GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), NULL, NULL,
                                  instance, NULL);
    if (!window)
        return 0;
    ShowWindow(window, SW_HIDE);
    UpdateWindow(window);

    MSG msg;
    msg.wParam = 0;
    BOOL got;
    while ((got = GetMessageA(&msg, NULL, 0, 0)) != 0) {
        if (got == -1)
            return 0;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return (int)msg.wParam;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    return DaemonMain(instance, commandLine);
}
