// The result page's logic: failure or success texts, the replacements of files in use
// scheduled as the page appears (so they happen even without a restart now), and the
// restart on Finish with its floppy reminder.
#include "result.h"

#include "install.h"
#include "resource.h"
#include "resultfill.h"
#include "setup.h"

namespace {

const int kRestartControls[] = { RESULT_RESTART_TEXT, RESULT_RESTART_NOW, RESULT_RESTART_LATER, RESULT_FLOPPY_TEXT };

void HideRestartChoice(const SetupPage* page)
{
    for (int id : kRestartControls)
        PageShow(page, id, 0);
}

// The control's own text is the language's format; it gets the product name.
void FillWithProduct(const SetupPage* page, int id)
{
    char format[1024], text[1024];
    PageGetText(page, id, format, sizeof(format));
    ResultFillName(text, sizeof(text), format, g_setup.productName);
    PageSetText(page, id, text);
}

typedef BOOL(WINAPI* OpenTokenFunc)(HANDLE, DWORD, PHANDLE);
typedef BOOL(WINAPI* LookupPrivilegeFunc)(LPCSTR, LPCSTR, PLUID);
typedef BOOL(WINAPI* AdjustFunc)(HANDLE, BOOL, PTOKEN_PRIVILEGES, DWORD, PTOKEN_PRIVILEGES, PDWORD);

// Without the shutdown privilege NT refuses the restart. Looked up at run time: the 95
// family has no tokens. Any failure is left to the restart call to report.
void EnableShutdownPrivilege(void)
{
    HMODULE advapi = LoadLibraryA("advapi32.dll");
    if (!advapi)
        return;
    OpenTokenFunc openToken = (OpenTokenFunc)GetProcAddress(advapi, "OpenProcessToken");
    LookupPrivilegeFunc lookup = (LookupPrivilegeFunc)GetProcAddress(advapi, "LookupPrivilegeValueA");
    AdjustFunc adjust = (AdjustFunc)GetProcAddress(advapi, "AdjustTokenPrivileges");
    HANDLE token = NULL;
    if (openToken && lookup && adjust &&
        openToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) {
        TOKEN_PRIVILEGES privileges;
        privileges.PrivilegeCount = 1;
        privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
        if (lookup(NULL, "SeShutdownPrivilege", &privileges.Privileges[0].Luid))
            adjust(token, FALSE, &privileges, 0, NULL, NULL);
        CloseHandle(token);
    }
    FreeLibrary(advapi);
}

} // namespace

void SetupShowResult(const SetupPage* page)
{
    LONG code = g_progress.installResult;
    if (code != SETUP_RESULT_OK) {
        HideRestartChoice(page);
        PageShow(page, RESULT_FAILED_TEXT, 1);
        PageShow(page, code == SETUP_RESULT_NO_PRIVILEGE ? RESULT_NO_PRIVILEGE_TEXT : RESULT_README_TEXT, 1);
        return;
    }
    if (SetupScheduleRenames() > 0)
        g_setup.restartNeeded = 1;
    if (!g_setup.restartNeeded || g_setup.noRestart) {
        HideRestartChoice(page);
        FillWithProduct(page, RESULT_DONE_TEXT);
        PageShow(page, RESULT_DONE_TEXT, 1);
        return;
    }
    FillWithProduct(page, RESULT_RESTART_TEXT);
    PageCheck(page, RESULT_RESTART_NOW, 1);
    PageCheck(page, RESULT_RESTART_LATER, 0);
}

int SetupFloppyPresent(void)
{
    UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS);
    SetLastError(0xFFFFFFFF);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA("A:\\*.*", &found);
    // Read before FindClose, which may set it.
    DWORD error = GetLastError();
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);
    SetErrorMode(oldMode);
    // A file found leaves the error untouched; an empty disk answers "file not found".
    return error == 0xFFFFFFFF || error == ERROR_FILE_NOT_FOUND;
}

int SetupFinishResult(int laterSelected)
{
    if (g_progress.installResult != SETUP_RESULT_OK || !g_setup.restartNeeded || g_setup.noRestart || laterSelected)
        return 0;
    if (!g_setup.silent && SetupFloppyPresent()) {
        char text[260], caption[260];
        SetupLoadString(IDS_FLOPPY_REMINDER, text, sizeof(text));
        SetupLoadString(IDS_WARNING, caption, sizeof(caption));
        MessageBoxA(NULL, text, caption, MB_ICONWARNING | MB_OK);
    }
    if (g_setup.isNT)
        EnableShutdownPrivilege();
    ExitWindowsEx(EWX_REBOOT, 0);
    return 1;
}
