// The test dialog of the progress page: an in-memory template with the page's control ids
// and a binding that really shows, hides, writes and animates them.
#include "progresspage.h"

#include <commctrl.h>

#include <string>
#include <vector>

namespace setuptest {

namespace {

void Align(std::vector<WORD>& t)
{
    if (t.size() % 2)
        t.push_back(0);
}

void AddText(std::vector<WORD>& t, const char* text)
{
    for (const char* p = text; *p; ++p)
        t.push_back((WORD)(unsigned char)*p);
    t.push_back(0);
}

void AddItem(std::vector<WORD>& t, int id, const char* cls, DWORD style, short x, short y, short cx, short cy,
             const char* text)
{
    Align(t);
    DWORD s = style | WS_CHILD;
    t.push_back(LOWORD(s));
    t.push_back(HIWORD(s));
    t.push_back(0);
    t.push_back(0);
    t.push_back((WORD)x);
    t.push_back((WORD)y);
    t.push_back((WORD)cx);
    t.push_back((WORD)cy);
    t.push_back((WORD)id);
    if (cls) {
        AddText(t, cls);
    } else {
        t.push_back(0xFFFF);
        t.push_back(0x0082);  // static
    }
    AddText(t, text);
    t.push_back(0);
}

std::vector<WORD> Template(void)
{
    std::vector<WORD> t;
    DWORD style = WS_POPUP | WS_CAPTION | WS_VISIBLE;
    t.push_back(LOWORD(style));
    t.push_back(HIWORD(style));
    t.push_back(0);
    t.push_back(0);
    t.push_back(9);  // items
    t.push_back(0);
    t.push_back(0);
    t.push_back(310);
    t.push_back(162);
    t.push_back(0);  // menu
    t.push_back(0);  // class
    AddText(t, "Installation Procedures");
    AddItem(t, PROGRESS_COPY_TEXT, NULL, WS_VISIBLE, 10, 10, 280, 10, "Please wait while Setup is copying the files to your system.");
    AddItem(t, PROGRESS_DRIVER_TEXT, NULL, 0, 10, 10, 280, 10, "Setup is updating the registry and driver. Please wait...");
    AddItem(t, PROGRESS_FROM_LABEL, NULL, 0, 10, 30, 30, 10, "From: ");
    AddItem(t, PROGRESS_TO_LABEL, NULL, 0, 10, 45, 30, 10, "To: ");
    AddItem(t, PROGRESS_SOURCE, NULL, 0, 45, 30, 250, 10, "");
    AddItem(t, PROGRESS_DESTINATION, NULL, 0, 45, 45, 250, 10, "");
    AddItem(t, PROGRESS_PERCENT, NULL, 0, 10, 60, 280, 12, "");
    AddItem(t, PROGRESS_COPY_ANIMATION, ANIMATE_CLASSA, WS_VISIBLE | ACS_TRANSPARENT, 10, 80, 280, 60, "");
    AddItem(t, PROGRESS_DRIVER_ANIMATION, ANIMATE_CLASSA, ACS_TRANSPARENT, 10, 80, 280, 60, "");
    return t;
}

TestPage* Of(void* context) { return (TestPage*)context; }

void Show(void* context, int id, int visible) { ShowWindow(GetDlgItem(Of(context)->dialog, id), visible ? SW_SHOW : SW_HIDE); }

void SetText(void* context, int id, const char* text) { SetDlgItemTextA(Of(context)->dialog, id, text); }

void Play(void* context, int id, int resource)
{
    HWND control = GetDlgItem(Of(context)->dialog, id);
    int opened = (int)SendMessageA(control, ACM_OPENA, (WPARAM)GetModuleHandleA(NULL), (LPARAM)MAKEINTRESOURCEA(resource));
    Of(context)->opened[id == PROGRESS_COPY_ANIMATION ? 0 : 1] = opened;
    SendMessageA(control, ACM_PLAY, (WPARAM)-1, MAKELONG(0, 0xFFFF));
}

void Stop(void* context, int id)
{
    HWND control = GetDlgItem(Of(context)->dialog, id);
    SendMessageA(control, ACM_STOP, 0, 0);
    SendMessageA(control, ACM_OPENA, 0, 0);
}

void Repaint(void* context)
{
    TestPage* page = Of(context);
    InvalidateRect(GetDlgItem(page->dialog, PROGRESS_PERCENT), NULL, TRUE);
    LONG count = InterlockedIncrement(&page->repaints);
    if (page->onRepaint)
        page->onRepaint(page, count);
}

void DisableCancel(void* context) { InterlockedExchange(&Of(context)->cancelDisabled, 1); }

void PressNext(void* context) { InterlockedIncrement(&Of(context)->nextPressed); }

INT_PTR CALLBACK DialogProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

} // namespace

bool OpenTestPage(TestPage* page)
{
    INITCOMMONCONTROLSEX init = { sizeof(init), ICC_ANIMATE_CLASS };
    InitCommonControlsEx(&init);
    std::vector<WORD> t = Template();
    page->dialog = CreateDialogIndirectParamA(GetModuleHandleA(NULL), (LPCDLGTEMPLATEA)t.data(), NULL, DialogProc, 0);
    page->table.context = page;
    page->table.show = Show;
    page->table.setText = SetText;
    page->table.playAnimation = Play;
    page->table.stopAnimation = Stop;
    page->table.repaint = Repaint;
    page->table.disableCancel = DisableCancel;
    page->table.pressNext = PressNext;
    page->signal = CreateEventA(NULL, FALSE, FALSE, NULL);
    return page->dialog != NULL;
}

void CloseTestPage(TestPage* page)
{
    if (page->dialog)
        DestroyWindow(page->dialog);
    page->dialog = NULL;
    if (page->signal)
        CloseHandle(page->signal);
    page->signal = NULL;
}

bool Visible(const TestPage& page, int id)
{
    return (GetWindowLongA(GetDlgItem(page.dialog, id), GWL_STYLE) & WS_VISIBLE) != 0;
}

std::string ControlText(const TestPage& page, int id)
{
    char text[300];
    GetDlgItemTextA(page.dialog, id, text, sizeof(text));
    return text;
}

bool PumpUntilSignalled(HANDLE event, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        DWORD left = GetTickCount() - start;
        if (left >= timeoutMs)
            return false;
        DWORD r = MsgWaitForMultipleObjects(1, &event, FALSE, timeoutMs - left, QS_ALLINPUT);
        if (r == WAIT_OBJECT_0)
            return true;
        MSG msg;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}

bool PumpUntilEnded(HANDLE thread, DWORD timeoutMs) { return PumpUntilSignalled(thread, timeoutMs); }

} // namespace setuptest
