// Stand-in for the system's "net" command, copied as net.exe beside a program that runs
// "net start ...": logs its arguments and, when asked, holds its caller. It opens no
// window and reads no messages, so a WinExec caller waits on it for up to 30 seconds.
//   QV_SIM_LOG   file that gets "net ARGS" (appended)
//   QV_NET_HOLD  name of an event to wait for (at most 60 s) before ending
#include <windows.h>
#include <string.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int)
{
    char path[MAX_PATH];
    DWORD n = GetEnvironmentVariableA("QV_SIM_LOG", path, sizeof(path));
    if (n > 0 && n < sizeof(path)) {
        HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, NULL);
        if (file != INVALID_HANDLE_VALUE) {
            char line[1024];
            lstrcpynA(line, "net ", sizeof(line) - 2);
            lstrcpynA(line + 4, commandLine ? commandLine : "", sizeof(line) - 6);
            lstrcatA(line, "\r\n");
            DWORD written;
            WriteFile(file, line, (DWORD)lstrlenA(line), &written, NULL);
            CloseHandle(file);
        }
    }
    char name[MAX_PATH];
    n = GetEnvironmentVariableA("QV_NET_HOLD", name, sizeof(name));
    if (n > 0 && n < sizeof(name)) {
        HANDLE hold = OpenEventA(SYNCHRONIZE, FALSE, name);
        if (hold) {
            WaitForSingleObject(hold, 60000);
            CloseHandle(hold);
        }
    }
    return 0;
}
