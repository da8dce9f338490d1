// Renamed copies of a test program with per-copy Wine settings (see copyrun.h).
#include "copyrun.h"

#include "wintest.h"

namespace qvtest {

DWORD RunCopy(const CopyRun& run, const std::string& args, DWORD timeoutMs)
{
    std::string copy = run.dir + "\\" + run.name;
    std::string key = "Software\\Wine\\AppDefaults\\" + run.name;
    if (!CopyFileA(SelfPath().c_str(), copy.c_str(), FALSE))
        return kNoExit;
    bool ready = true;
    if (run.mode)
        ready = SetProgramMode(run.name, run.mode);
    if (ready && run.dll)
        ready = WriteString(HKEY_CURRENT_USER, (key + "\\DllOverrides").c_str(), run.dll, run.loadOrder);
    DWORD code = ready ? RunProgram("\"" + copy + "\" " + args, timeoutMs) : kNoExit;
    DeleteFileA(copy.c_str());
    DeleteTree(HKEY_CURRENT_USER, key.c_str());
    return code;
}

bool RunningOnWine()
{
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version") != NULL;
}

} // namespace qvtest
