// "Kill Programs": programs whose files are about to be replaced are stopped first. On NT
// the process is made to call ExitProcess itself, so it ends as cleanly as it would on its
// own; the 95 family has no remote threads and is asked to close its window.
#include "install.h"

#include <string.h>

#include "setup.h"

int SetupEndWindowProcess(HWND wnd)
{
    DWORD processId = 0;
    GetWindowThreadProcessId(wnd, &processId);
    HANDLE process = OpenProcess(PROCESS_ALL_ACCESS, FALSE, processId);
    if (!process)
        return 0;
    HANDLE duplicate = NULL;
    if (!DuplicateHandle(GetCurrentProcess(), process, GetCurrentProcess(), &duplicate, PROCESS_ALL_ACCESS, FALSE, 0))
        duplicate = NULL;
    HANDLE target = duplicate ? duplicate : process;

    int done = 0;
    DWORD error = ERROR_PROCESS_ABORTED;
    DWORD code = 0;
    if (!GetExitCodeProcess(target, &code)) {
        error = GetLastError();
    } else if (code == STILL_ACTIVE) {
        // Kernel32 lies at the same address in every process of a session.
        HMODULE kernel = GetModuleHandleA("Kernel32");
        FARPROC exitProcess = kernel ? GetProcAddress(kernel, "ExitProcess") : NULL;
        DWORD threadId;
        HANDLE thread = exitProcess ? CreateRemoteThread(target, NULL, 0, (LPTHREAD_START_ROUTINE)exitProcess, 0, 0,
                                                         &threadId)
                                    : NULL;
        if (thread) {
            WaitForSingleObject(target, INFINITE);
            CloseHandle(thread);
            done = 1;
        } else {
            error = GetLastError();
        }
    }
    if (duplicate)
        CloseHandle(duplicate);
    CloseHandle(process);
    if (!done)
        SetLastError(error);
    return done;
}

void SetupKillPrograms(void)
{
    ScriptForEachLine("Kill Programs", [](const char* key, const char* value, const ScriptMacros* macros) {
        char className[QV_TEXT_SIZE], title[QV_TEXT_SIZE];
        ScriptField(value, 1, className, sizeof(className), macros);
        ScriptField(value, 2, title, sizeof(title), macros);
        HWND wnd = FindWindowA(className, title);
        if (!wnd)
            return;
        if (g_setup.isNT) {
            SetupEndWindowProcess(wnd);
        } else {
            SendMessageA(wnd, WM_CLOSE, 0, 0);
            Sleep(1000);
        }
    });
}
