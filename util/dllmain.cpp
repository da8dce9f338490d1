// Entry point of QVUtil.dll: remembers the module so its string table can be loaded, and
// holds the outside media library for as long as the library itself is loaded.
#include "internal.h"

HINSTANCE g_qvutilInstance;
HMODULE g_qvmedia;

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    if (reason == DLL_PROCESS_ATTACH) {
        g_qvutilInstance = instance;
        DisableThreadLibraryCalls(instance);
        g_qvmedia = LoadLibraryA("QVMEDIA.DLL");
    } else if (reason == DLL_PROCESS_DETACH && g_qvmedia) {
        // At process exit the system unloads it in its own order; freeing it then could
        // run its detach after it was already gone.
        if (!reserved)
            FreeLibrary(g_qvmedia);
        g_qvmedia = NULL;
    }
    return TRUE;
}
