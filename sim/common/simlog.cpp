// Appending log writer shared by the stand-ins.
#include "simlog.h"

void SimLogLine(const char* path, const char* line)
{
    if (!path || !path[0])
        return;
    char buffer[1024];
    lstrcpynA(buffer, line, 1001);
    lstrcatA(buffer, "\r\n");
    DWORD length = (DWORD)lstrlenA(buffer);
    // Another process may hold the file for its own line for a moment.
    for (int attempt = 0; attempt < 50; ++attempt) {
        HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  NULL, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
        if (file != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            WriteFile(file, buffer, length, &written, NULL);
            CloseHandle(file);
            return;
        }
        if (GetLastError() != ERROR_SHARING_VIOLATION)
            return;
        Sleep(10);
    }
}

void SimLogPath(const char* variable, const char* fallback, char* path, DWORD size)
{
    DWORD n = GetEnvironmentVariableA(variable, path, size);
    if (n > 0 && n < size)
        return;
    lstrcpynA(path, fallback ? fallback : "", (int)size);
}
