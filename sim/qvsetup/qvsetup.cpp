// Stand-in for the keyboard maker's device-installation library qvsetup.dll. Each entry
// point logs its call with every argument to qvsetup.log beside the DLL and answers what
// qvsetup.ini beside it scripts for that call: [EntryPoint] 1=, 2=, ... per call, else
// default=, else 0. The log is also the call counter, since the installer loads and
// frees the library for every use. Built stdcall, cdecl, and without
// GetConnectedDeviceNumber, since the real library's convention is not known.
#include "../common/simlog.h"

#include <windows.h>

#include <stdio.h>
#include <string.h>

#ifdef QVSIM_CDECL
#define QVSIM_CALL __cdecl
#else
#define QVSIM_CALL __stdcall
#endif

namespace {

HMODULE g_module;

void BesideDll(const char* name, char* path, DWORD size)
{
    path[0] = '\0';
    DWORD n = GetModuleFileNameA(g_module, path, size);
    if (n == 0 || n >= size)
        return;
    char* slash = strrchr(path, '\\');
    if (!slash || (DWORD)(slash + 1 - path) + (DWORD)strlen(name) + 1 > size) {
        path[0] = '\0';
        return;
    }
    lstrcpyA(slash + 1, name);
}

// Earlier calls of `name`, counted from the log's lines that begin with it.
int EarlierCalls(const char* log, const char* name)
{
    HANDLE file = CreateFileA(log, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    int calls = 0;
    size_t length = strlen(name);
    char buffer[4096];
    char line[64];
    size_t used = 0;
    bool lineStart = true;
    DWORD got;
    while (ReadFile(file, buffer, sizeof(buffer), &got, NULL) && got > 0) {
        for (DWORD i = 0; i < got; ++i) {
            char c = buffer[i];
            if (c == '\n') {
                lineStart = true;
                used = 0;
                continue;
            }
            if (!lineStart)
                continue;
            if (used < sizeof(line))
                line[used++] = c;
            if (used == length + 1) {
                if (memcmp(line, name, length) == 0 && line[length] == '|')
                    ++calls;
                lineStart = false;
            }
        }
    }
    CloseHandle(file);
    return calls;
}

// Logs "Name|arg|arg|... -> result" and returns the scripted result of this call.
int Call(const char* name, const char* arguments)
{
    char ini[MAX_PATH];
    char log[MAX_PATH];
    BesideDll("qvsetup.ini", ini, sizeof(ini));
    BesideDll("qvsetup.log", log, sizeof(log));
    int number = EarlierCalls(log, name) + 1;
    char key[16];
    wsprintfA(key, "%d", number);
    int fallback = (int)GetPrivateProfileIntA(name, "default", 0, ini);
    int result = (int)GetPrivateProfileIntA(name, key, fallback, ini);
    char line[1100];
    _snprintf(line, sizeof(line) - 1, "%s|%s -> %d", name, arguments, result);
    line[sizeof(line) - 1] = '\0';
    SimLogLine(log, line);
    return result;
}

const char* Text(const char* text)
{
    return text ? text : "(null)";
}

} // namespace

extern "C" {

int QVSIM_CALL InstallPnPDeviceDriver(const char* deviceClass, const char* infPath, const char* arg5,
                                                            const char* arg3, const char* arg4, int flag, int callConfigMg)
{
    char arguments[1024];
    _snprintf(arguments, sizeof(arguments) - 1, "%s|%s|%s|%s|%s|%d|%d", Text(deviceClass), Text(infPath), Text(arg5),
              Text(arg3), Text(arg4), flag, callConfigMg);
    arguments[sizeof(arguments) - 1] = '\0';
    return Call("InstallPnPDeviceDriver", arguments);
}

#ifndef QVSIM_NO_CONNECTED
int QVSIM_CALL GetConnectedDeviceNumber(const char* deviceClass, const char* arg5, const char* arg3)
{
    char arguments[1024];
    _snprintf(arguments, sizeof(arguments) - 1, "%s|%s|%s", Text(deviceClass), Text(arg5), Text(arg3));
    arguments[sizeof(arguments) - 1] = '\0';
    return Call("GetConnectedDeviceNumber", arguments);
}
#endif

int QVSIM_CALL RemoveAndReenumerateDevice(const char* empty, const char* hardwareId)
{
    char arguments[1024];
    _snprintf(arguments, sizeof(arguments) - 1, "%s|%s", Text(empty), Text(hardwareId));
    arguments[sizeof(arguments) - 1] = '\0';
    return Call("RemoveAndReenumerateDevice", arguments);
}

int QVSIM_CALL FindExistingDevice(const char* empty, const char* hardwareId)
{
    char arguments[1024];
    _snprintf(arguments, sizeof(arguments) - 1, "%s|%s", Text(empty), Text(hardwareId));
    arguments[sizeof(arguments) - 1] = '\0';
    return Call("FindExistingDevice", arguments);
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        g_module = instance;
    return TRUE;
}

} // extern "C"
