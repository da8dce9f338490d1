// Runs a renamed copy of the test program from a folder of the test's choosing, with its
// own Wine settings: a Windows mode and a DLL load order (so a DLL beside the copy, or
// Wine's built-in one, is used or kept out). Lets one test program play "library
// installed" and "library missing" in separate processes.
#ifndef QV_COPYRUN_H
#define QV_COPYRUN_H

#include <windows.h>

#include <string>

namespace qvtest {

struct CopyRun {
    std::string dir;        // the folder the copy runs from (must exist)
    std::string name;       // the copy's file name, unique per test ("aspi-lib.exe")
    const char* mode;       // Windows mode or NULL
    const char* dll;        // DLL whose load order is set, or NULL
    const char* loadOrder;  // "native", "builtin", "" (disabled)
};

// Exit code of the copy (kNoExit when it did not start or end). The copy, its Wine
// settings and nothing else are removed afterwards.
DWORD RunCopy(const CopyRun& run, const std::string& args, DWORD timeoutMs);

// True under Wine, where a test states Wine's known differences from Windows.
bool RunningOnWine();

} // namespace qvtest

#endif
