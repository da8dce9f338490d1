// QVOSD.dll that logs: the daemon's calls into the display library.
#include "calllog.h"

#define REAL "qvosd-real.dll"

extern "C" {

__declspec(dllexport) int WINAPI OSD_Init(void)
{
    CallLog("OSD_Init", NULL);
    return ((int(WINAPI*)(void))RealEntry(REAL, "OSD_Init"))();
}

__declspec(dllexport) int WINAPI OSD_Destroy(void)
{
    CallLog("OSD_Destroy", NULL);
    return ((int(WINAPI*)(void))RealEntry(REAL, "OSD_Destroy"))();
}

__declspec(dllexport) int WINAPI OSD_LoadSettings(void)
{
    CallLog("OSD_LoadSettings", NULL);
    return ((int(WINAPI*)(void))RealEntry(REAL, "OSD_LoadSettings"))();
}

} // extern "C"
