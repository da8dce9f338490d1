// Entry point of QVUtil.dll: remembers the module so its string table can be loaded.
#include "internal.h"

HINSTANCE g_qvutilInstance;

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        g_qvutilInstance = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}
