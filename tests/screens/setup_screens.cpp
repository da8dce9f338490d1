// Photographs setup.exe as a user sees it: started from a folder holding its script, the
// wizard walked page by page from outside, the screen saved at each page as a BMP.
//   setup_screens.exe SETUPDIR OUTDIR TAG all|welcome
// "all" walks every page into an installation, the exit confirmation on the way; "welcome"
// photographs the first page and leaves by Exit Setup. Exit 1 if a page did not come, or
// the copy could not be caught under way.
#include <windows.h>
#include <prsht.h>
#include <stdio.h>

#include <string>

#include "setupdrive.h"

using namespace qvtest;

namespace {

const DWORD kPageWait = 30000;
const DWORD kPaintMs = 600;

std::string g_out, g_tag;
HANDLE g_process;

bool Shoot(const char* what, DWORD paintMs = kPaintMs)
{
    Sleep(paintMs);
    std::string path = g_out + "\\" + g_tag + "-" + what + ".bmp";
    bool ok = SaveScreenBmp(path);
    printf("  %s-%s: %s\n", g_tag.c_str(), what, ok ? "saved" : "NOT SAVED");
    return ok;
}

bool Page(HWND sheet, SetupPage kind)
{
    if (WaitForSetupPage(sheet, kind, g_process, kPageWait))
        return Shoot(SetupPageName(kind));
    printf("  %s-%s: the page did not come\n", g_tag.c_str(), SetupPageName(kind));
    return false;
}

bool Confirmation(DWORD pid, HWND sheet, int answer, bool photograph)
{
    PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    HWND confirm = WaitForExitConfirmation(pid, kPageWait);
    if (!confirm) {
        printf("  %s-exit: no confirmation\n", g_tag.c_str());
        return false;
    }
    bool ok = !photograph || Shoot("exit");
    PressButton(confirm, answer);
    DWORD start = GetTickCount();
    while (IsWindow(confirm) && GetTickCount() - start < kPageWait)
        Sleep(20);
    return ok && !IsWindow(confirm);
}

// The copy must still run when the shot is taken, or the picture shows no copy at all.
bool ProgressDuringCopy(HWND sheet)
{
    HWND page = WaitForSetupPage(sheet, PAGE_PROGRESS, g_process, kPageWait);
    DWORD start = GetTickCount();
    while (page && !IsWindowVisible(GetDlgItem(page, 1001)) && GetTickCount() - start < kPageWait)
        Sleep(10);
    if (!page || !IsWindowVisible(GetDlgItem(page, 1001))) {
        printf("  %s-progress: the copy was not seen under way\n", g_tag.c_str());
        return false;
    }
    DWORD seen = GetTickCount();
    bool ok = Shoot("progress", 40);
    HWND now = (HWND)SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0);
    bool caught = SetupPageKind(now) == PAGE_PROGRESS;
    while (SetupPageKind(now) == PAGE_PROGRESS && GetTickCount() - seen < 120000) {
        Sleep(20);
        now = (HWND)SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0);
    }
    printf("  %s-progress: the copy ran %lu ms after it showed\n", g_tag.c_str(), GetTickCount() - seen);
    if (!caught) {
        printf("  %s-progress: the copy ended before the shot; give it more to copy\n", g_tag.c_str());
        return false;
    }
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 5) {
        fprintf(stderr, "usage: setup_screens SETUPDIR OUTDIR TAG all|welcome\n");
        return 2;
    }
    std::string dir = argv[1];
    g_out = argv[2];
    g_tag = argv[3];
    bool all = lstrcmpA(argv[4], "all") == 0;

    std::string line = "\"" + dir + "\\setup.exe\"";
    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof(startup));
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process;
    if (!CreateProcessA(NULL, &line[0], NULL, NULL, FALSE, 0, NULL, dir.c_str(), &startup, &process)) {
        printf("setup_screens: %s did not start (error %lu)\n", line.c_str(), GetLastError());
        return 1;
    }
    g_process = process.hProcess;
    bool ok = true;
    HWND sheet = WaitForSheet(process.dwProcessId, kPageWait);
    if (!sheet) {
        printf("  %s: no wizard\n", g_tag.c_str());
        ok = false;
    } else if (!all) {
        ok = Page(sheet, PAGE_WELCOME) && Confirmation(process.dwProcessId, sheet, IDCANCEL, false);
    } else {
        const SetupPage before[] = { PAGE_WELCOME, PAGE_LICENCE, PAGE_INTERFACE, PAGE_DESTINATION, PAGE_FOLDER };
        for (SetupPage kind : before) {
            ok = ok && Page(sheet, kind);
            if (ok)
                PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_NEXT, 0);
        }
        ok = ok && Page(sheet, PAGE_SUMMARY) && Confirmation(process.dwProcessId, sheet, IDOK, true);
        if (ok)
            PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_NEXT, 0);
        ok = ok && ProgressDuringCopy(sheet);
        if (ok && WaitForSetupPage(sheet, PAGE_RESULT, g_process, 120000)) {
            ok = Shoot("result");
            PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_FINISH, 0);
        } else if (ok) {
            printf("  %s-result: the page did not come\n", g_tag.c_str());
            ok = false;
        }
    }
    DWORD code = ~0u;
    if (WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &code);
    else
        TerminateProcess(process.hProcess, 1);
    if (code != 0) {
        printf("  %s: setup.exe exit code %ld\n", g_tag.c_str(), (long)code);
        ok = false;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return ok ? 0 : 1;
}
