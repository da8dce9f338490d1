// The wizard on its own thread and the outside view of it.
#include "wizardrun.h"

#include "wizard.h"

#include <commctrl.h>

namespace setuptest {

namespace {

CRITICAL_SECTION* Lock()
{
    static CRITICAL_SECTION section;
    static LONG once;
    if (InterlockedExchange(&once, 1) == 0)
        InitializeCriticalSection(&section);
    return &section;
}

std::vector<std::string> g_created;

// Pages are child dialogs made with their caption as the window name.
LRESULT CALLBACK CreateHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND) {
        const CBT_CREATEWNDA* create = (const CBT_CREATEWNDA*)lParam;
        const CREATESTRUCTA* cs = create->lpcs;
        bool dialog = cs->lpszClass && !IS_INTRESOURCE(cs->lpszClass) ? lstrcmpiA(cs->lpszClass, "#32770") == 0
                                                                      : cs->lpszClass == MAKEINTRESOURCEA(0x8002);
        if (dialog && (cs->style & WS_CHILD) && cs->lpszName && !IS_INTRESOURCE(cs->lpszName)) {
            EnterCriticalSection(Lock());
            g_created.push_back(cs->lpszName);
            LeaveCriticalSection(Lock());
        }
    }
    return CallNextHookEx(NULL, code, wParam, lParam);
}

DWORD WINAPI WizardThread(LPVOID)
{
    HWND owner = CreateWindowExA(0, "STATIC", "wizard owner", WS_POPUP, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
    SetupRunWizard(owner);
    DestroyWindow(owner);
    return 0;
}

struct FrameSearch {
    HWND found;
    const char* caption;  // null: the property sheet frame
};

BOOL CALLBACK MatchWindow(HWND wnd, LPARAM lParam)
{
    FrameSearch* search = (FrameSearch*)lParam;
    char cls[64];
    GetClassNameA(wnd, cls, sizeof(cls));
    if (lstrcmpA(cls, "#32770") != 0)
        return TRUE;
    bool match = search->caption ? WindowTextOf(wnd) == search->caption
                                 : SendMessageA(wnd, PSM_GETCURRENTPAGEHWND, 0, 0) != 0;
    if (match) {
        search->found = wnd;
        return FALSE;
    }
    return TRUE;
}

HWND WaitForThreadDialog(DWORD threadId, const char* caption, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        FrameSearch search = { NULL, caption };
        EnumThreadWindows(threadId, MatchWindow, (LPARAM)&search);
        if (search.found)
            return search.found;
        if (GetTickCount() - start >= timeoutMs)
            return NULL;
        Sleep(10);
    }
}

} // namespace

std::string WindowTextOf(HWND wnd)
{
    char text[2048];
    int n = GetWindowTextA(wnd, text, sizeof(text));
    return std::string(text, n > 0 ? n : 0);
}

bool StartWizard(WizardRun* run)
{
    EnterCriticalSection(Lock());
    g_created.clear();
    LeaveCriticalSection(Lock());
    run->thread = CreateThread(NULL, 0, WizardThread, NULL, CREATE_SUSPENDED, &run->threadId);
    if (!run->thread)
        return false;
    run->hook = SetWindowsHookExA(WH_CBT, CreateHook, NULL, run->threadId);
    ResumeThread(run->thread);
    return run->hook != NULL;
}

HWND WaitForFrame(const WizardRun& run, DWORD timeoutMs) { return WaitForThreadDialog(run.threadId, NULL, timeoutMs); }

HWND CurrentPage(HWND frame) { return (HWND)SendMessageA(frame, PSM_GETCURRENTPAGEHWND, 0, 0); }

std::string PageTitle(HWND page) { return page ? WindowTextOf(page) : ""; }

bool WaitForPage(HWND frame, const char* title, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        if (PageTitle(CurrentPage(frame)) == title)
            return true;
        if (GetTickCount() - start >= timeoutMs)
            return false;
        Sleep(10);
    }
}

std::vector<std::string> CreatedPages()
{
    EnterCriticalSection(Lock());
    std::vector<std::string> pages = g_created;
    LeaveCriticalSection(Lock());
    return pages;
}

void Click(HWND window, int id) { PostMessageA(GetDlgItem(window, id), BM_CLICK, 0, 0); }

bool Enabled(HWND window, int id)
{
    HWND item = GetDlgItem(window, id);
    return item && IsWindowEnabled(item);
}

bool Shown(HWND window, int id)
{
    HWND item = GetDlgItem(window, id);
    return item && (GetWindowLongA(item, GWL_STYLE) & WS_VISIBLE);
}

std::string ItemText(HWND window, int id) { return WindowTextOf(GetDlgItem(window, id)); }

HWND WaitForConfirmation(const WizardRun& run, DWORD timeoutMs)
{
    return WaitForThreadDialog(run.threadId, "Exit Setup", timeoutMs);
}

bool WaitForEnd(WizardRun* run, DWORD timeoutMs)
{
    if (!run->thread)
        return true;
    bool ended = WaitForSingleObject(run->thread, timeoutMs) == WAIT_OBJECT_0;
    if (!ended)
        return false;
    if (run->hook)
        UnhookWindowsHookEx(run->hook);
    run->hook = NULL;
    CloseHandle(run->thread);
    run->thread = NULL;
    return true;
}

} // namespace setuptest
