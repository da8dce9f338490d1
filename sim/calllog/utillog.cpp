// QVUtil.dll that logs: the daemon's calls into the utility library, in the order made.
#include "calllog.h"

#define REAL "qvutil-real.dll"
#define CALL(type, name) ((type)RealEntry(REAL, name))

extern "C" {

__declspec(dllexport) void WINAPI Reg_InitProfile(LPCSTR basePath, LPCSTR userName)
{
    char detail[400];
    wsprintfA(detail, "%.190s|%.190s", basePath ? basePath : "(null)", userName ? userName : "(null)");
    CallLog("Reg_InitProfile", detail);
    CALL(void(WINAPI*)(LPCSTR, LPCSTR), "Reg_InitProfile")(basePath, userName);
}

__declspec(dllexport) int WINAPI InitAspi(void)
{
    CallLog("InitAspi", NULL);
    return CALL(int(WINAPI*)(void), "InitAspi")();
}

__declspec(dllexport) int WINAPI DestroyAspi(void)
{
    CallLog("DestroyAspi", NULL);
    return CALL(int(WINAPI*)(void), "DestroyAspi")();
}

__declspec(dllexport) int WINAPI AudioCD_OpenCDAudio(LPCSTR drive)
{
    CallLog("AudioCD_OpenCDAudio", drive ? drive : "(null)");
    return CALL(int(WINAPI*)(LPCSTR), "AudioCD_OpenCDAudio")(drive);
}

__declspec(dllexport) UINT WINAPI AudioCD_CloseCDAudio(void)
{
    CallLog("AudioCD_CloseCDAudio", NULL);
    return CALL(UINT(WINAPI*)(void), "AudioCD_CloseCDAudio")();
}

__declspec(dllexport) int WINAPI Mixer_Init(HWND owner)
{
    char detail[32];
    wsprintfA(detail, "%p", owner);
    CallLog("Mixer_Init", detail);
    return CALL(int(WINAPI*)(HWND), "Mixer_Init")(owner);
}

__declspec(dllexport) int WINAPI LaunchProgram(LPCSTR file, LPCSTR parameters, LPCSTR directory, DWORD* processId)
{
    CallLog("LaunchProgram", file ? file : "(null)");
    return CALL(int(WINAPI*)(LPCSTR, LPCSTR, LPCSTR, DWORD*), "LaunchProgram")(file, parameters, directory,
                                                                                processId);
}

__declspec(dllexport) void WINAPI SetThreadResourceLocale(void)
{
    CallLog("SetThreadResourceLocale", NULL);
    CALL(void(WINAPI*)(void), "SetThreadResourceLocale")();
}

} // extern "C"
