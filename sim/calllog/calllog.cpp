// See calllog.h.
#include "calllog.h"

#include "simlog.h"

void CallLog(const char* name, const char* detail)
{
    char path[MAX_PATH];
    SimLogPath("QV_CALL_LOG", "", path, sizeof(path));
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    char line[600];
    wsprintfA(line, "%I64d %.60s %.400s", now.QuadPart, name, detail ? detail : "");
    SimLogLine(path, line);
}

FARPROC RealEntry(const char* library, const char* name)
{
    HMODULE module = LoadLibraryA(library);
    FARPROC entry = module ? GetProcAddress(module, name) : NULL;
    if (!entry) {
        CallLog("missing", name);
        ExitProcess(3);
    }
    return entry;
}
