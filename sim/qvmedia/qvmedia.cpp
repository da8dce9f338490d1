// Stand-in for the outside media library QVMEDIA.DLL: the five entry points the disc
// functions look up by name, each logging its call and answering what the test scripted.
// Answers: QVSIM_QVMEDIA="Play=3;Stop=0" in the environment, else [results] of
// QVMEDIA.ini beside the DLL, else 1. Log: QVSIM_QVMEDIA_LOG, else [qvmedia] log= of the
// .ini, else QVMEDIA.log beside the DLL. Exports are stdcall with plain names.
#include "../common/simlog.h"

#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static HMODULE g_module;

static void BesideDll(const char* name, char* path, DWORD size)
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

static void LogPath(char* path, DWORD size)
{
    char ini[MAX_PATH];
    char fallback[MAX_PATH];
    BesideDll("QVMEDIA.ini", ini, sizeof(ini));
    BesideDll("QVMEDIA.log", fallback, sizeof(fallback));
    if (ini[0])
        GetPrivateProfileStringA("qvmedia", "log", fallback, fallback, sizeof(fallback), ini);
    SimLogPath("QVSIM_QVMEDIA_LOG", fallback, path, size);
}

static int ScriptedResult(const char* name)
{
    char script[512];
    DWORD n = GetEnvironmentVariableA("QVSIM_QVMEDIA", script, sizeof(script));
    if (n > 0 && n < sizeof(script)) {
        size_t length = strlen(name);
        for (const char* p = script; *p;) {
            if (_strnicmp(p, name, length) == 0 && p[length] == '=')
                return atoi(p + length + 1);
            const char* next = strchr(p, ';');
            if (!next)
                break;
            p = next + 1;
        }
    }
    char ini[MAX_PATH];
    BesideDll("QVMEDIA.ini", ini, sizeof(ini));
    return ini[0] ? (int)GetPrivateProfileIntA("results", name, 1, ini) : 1;
}

static int Called(const char* name, const char* arguments)
{
    int result = ScriptedResult(name);
    char path[MAX_PATH];
    LogPath(path, sizeof(path));
    char line[160];
    _snprintf(line, sizeof(line) - 1, "pid=%lu Qvmedia_%s%s%s -> %d", GetCurrentProcessId(), name,
              arguments[0] ? " " : "", arguments, result);
    line[sizeof(line) - 1] = '\0';
    SimLogLine(path, line);
    return result;
}

extern "C" {

__declspec(dllexport) int WINAPI Qvmedia_Play(int first, int second)
{
    char arguments[32];
    wsprintfA(arguments, "%d %d", first, second);
    return Called("Play", arguments);
}

__declspec(dllexport) int WINAPI Qvmedia_Pause(void) { return Called("Pause", ""); }
__declspec(dllexport) int WINAPI Qvmedia_NextTrack(void) { return Called("NextTrack", ""); }
__declspec(dllexport) int WINAPI Qvmedia_PrevTrack(void) { return Called("PrevTrack", ""); }
__declspec(dllexport) int WINAPI Qvmedia_Stop(void) { return Called("Stop", ""); }

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        DisableThreadLibraryCalls(instance);
    }
    // Load and unload are logged: the library is held from attach to detach of its user.
    if (reason == DLL_PROCESS_ATTACH || reason == DLL_PROCESS_DETACH) {
        char path[MAX_PATH];
        LogPath(path, sizeof(path));
        char line[64];
        wsprintfA(line, "pid=%lu %s", GetCurrentProcessId(), reason == DLL_PROCESS_ATTACH ? "LOAD" : "UNLOAD");
        SimLogLine(path, line);
    }
    return TRUE;
}

} // extern "C"
