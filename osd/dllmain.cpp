// Entry point of QVOSD.dll: remembers the module for the window class and resources.
#include "internal.h"

HINSTANCE g_osdInstance;

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        g_osdInstance = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}
