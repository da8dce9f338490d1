// The dialog framework on a dialog of the test's own: what DoModal returns for each
// way of ending, the owner's state, and how handler answers reach the system.
#include <doctest/doctest.h>

#include "app.h"
#include "dialog.h"
#include "modalhost.h"
#include "wintest.h"

using namespace qvtest;

namespace {

const UINT kTestDialog = 500;

// Posts the messages it is given once it is set up; what ends it is up to them.
class ScriptedDialog : public QvDialog {
public:
    ScriptedDialog(HWND owner, UINT templateId = kTestDialog) : QvDialog(templateId, owner) {}

    struct Post {
        UINT message;
        WPARAM wParam;
    };
    const Post* posts = nullptr;
    int postCount = 0;

    HWND windowAtInit = NULL;
    bool hadOkButtonAtInit = false;

protected:
    BOOL OnInitDialog() override
    {
        windowAtInit = Window();
        hadOkButtonAtInit = GetDlgItem(Window(), IDOK) != NULL;
        for (int i = 0; i < postCount; ++i)
            PostMessageA(Window(), posts[i].message, posts[i].wParam, 0);
        return QvDialog::OnInitDialog();
    }
};

// Runs `dialog` once more with the messages it is to post; one object serves every run.
INT_PTR RunScripted(ScriptedDialog& dialog, const ScriptedDialog::Post* posts, int count)
{
    dialog.posts = posts;
    dialog.postCount = count;
    dialog.windowAtInit = NULL;
    INT_PTR result = dialog.DoModal();
    CHECK(dialog.windowAtInit != NULL);
    CHECK(dialog.hadOkButtonAtInit);
    CHECK(dialog.Window() == NULL);
    CHECK_FALSE(IsWindow(dialog.windowAtInit));
    return result;
}

} // namespace

TEST_CASE("a modal dialog answers the way it was ended, run after run")
{
    ScriptedDialog dialog(NULL);
    const ScriptedDialog::Post ok[] = { { WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED) } };
    CHECK(RunScripted(dialog, ok, 1) == IDOK);

    const ScriptedDialog::Post cancel[] = { { WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED) } };
    CHECK(RunScripted(dialog, cancel, 1) == IDCANCEL);

    // The close box and Alt+F4 end it as Cancel does.
    const ScriptedDialog::Post close[] = { { WM_CLOSE, 0 } };
    CHECK(RunScripted(dialog, close, 1) == IDCANCEL);

    // A button's other notifications (focus, double click) are not a click.
    const ScriptedDialog::Post notClicks[] = {
        { WM_COMMAND, MAKEWPARAM(IDOK, BN_SETFOCUS) },
        { WM_COMMAND, MAKEWPARAM(IDOK, BN_DOUBLECLICKED) },
        { WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_KILLFOCUS) },
        { WM_CLOSE, 0 },
    };
    CHECK(RunScripted(dialog, notClicks, 4) == IDCANCEL);
}

TEST_CASE("a missing dialog template gives -1 and no window")
{
    ScriptedDialog dialog(NULL, 4711);
    CHECK(dialog.DoModal() == -1);
    CHECK(dialog.windowAtInit == NULL);
    CHECK(FindWindowA("#32770", "Framework test") == NULL);
}

namespace {

// Looks at the dialog from inside its own modal loop, through a thread timer.
struct OwnerProbe {
    HWND owner;
    HWND dialogOwner;
    BOOL ownerEnabled;
    bool ran;
} g_probe;

void CALLBACK ProbeOwner(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(NULL, timer);
    HWND dialog = FindWindowA("#32770", "Framework test");
    g_probe.dialogOwner = dialog ? GetWindow(dialog, GW_OWNER) : NULL;
    g_probe.ownerEnabled = IsWindowEnabled(g_probe.owner);
    g_probe.ran = true;
    if (dialog)
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

} // namespace

TEST_CASE("the owner is disabled while its dialog runs and enabled after")
{
    HWND owner = CreateWindowA("STATIC", "owner", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, NULL, NULL, NULL, NULL);
    REQUIRE(owner != NULL);
    g_probe = OwnerProbe{ owner, NULL, TRUE, false };
    UINT_PTR timer = SetTimer(NULL, 0, 50, ProbeOwner);
    REQUIRE(timer != 0);
    ScriptedDialog dialog(owner);
    CHECK(dialog.DoModal() == IDOK);
    KillTimer(NULL, timer);
    CHECK(g_probe.ran);
    CHECK(g_probe.dialogOwner == owner);
    CHECK_FALSE(g_probe.ownerEnabled);
    CHECK(IsWindowEnabled(owner));
    DestroyWindow(owner);
}

namespace {

// Answers what the test tells it to, and counts what reached it.
class AnsweringDialog : public QvDialog {
public:
    explicit AnsweringDialog(HWND owner) : QvDialog(kTestDialog, owner) {}
    volatile LONG sysCommands = 0;
    volatile LONG paints = 0;
    HICON dragIcon = LoadIconA(NULL, (LPCSTR)IDI_QUESTION);

protected:
    BOOL OnSysCommand(UINT command, LPARAM) override
    {
        InterlockedIncrement(&sysCommands);
        return (command & 0xFFF0) == 0x0100;  // a command of its own; the rest to the system
    }
    BOOL OnPaint() override
    {
        InterlockedIncrement(&paints);
        return FALSE;
    }
    HICON OnQueryDragIcon() override { return dragIcon; }
};

INT_PTR RunAnswering(HWND owner, void* param)
{
    AnsweringDialog dialog(owner);
    *(AnsweringDialog**)param = &dialog;
    return dialog.DoModal();
}

} // namespace

TEST_CASE("handler answers reach the system")
{
    AnsweringDialog* dialog = NULL;
    ModalHost host;
    REQUIRE(StartModal(&host, RunAnswering, &dialog));
    HWND wnd = dialog->Window();
    REQUIRE(wnd != NULL);

    // The drag icon is the dialog procedure's own result, not DWLP_MSGRESULT.
    CHECK(SendMessageA(wnd, WM_QUERYDRAGICON, 0, 0) == (LRESULT)dialog->dragIcon);

    // A command the handler leaves alone is the system's: minimise and restore.
    SendMessageA(wnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    CHECK(IsIconic(wnd));
    SendMessageA(wnd, WM_SYSCOMMAND, SC_RESTORE, 0);
    CHECK_FALSE(IsIconic(wnd));
    SendMessageA(wnd, WM_SYSCOMMAND, 0x0100, 0);
    CHECK(dialog->sysCommands == 3);

    // Painting left to the system validates the window: no endless WM_PAINT.
    LONG before = dialog->paints;
    RedrawWindow(wnd, NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
    CHECK(dialog->paints > before);
    RECT update;
    CHECK_FALSE(GetUpdateRect(wnd, &update, FALSE));

    SendMessageA(wnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    CHECK(FinishModal(&host) == IDOK);
}

namespace {

class ScriptedApp : public QvApp {
public:
    BOOL answer = FALSE;
    int quitCode = 0;
    int starts = 0;

protected:
    BOOL InitInstance() override
    {
        ++starts;
        if (answer)
            PostQuitMessage(quitCode);
        return answer;
    }
};

} // namespace

TEST_CASE("the start-up routine decides whether a message loop runs")
{
    ScriptedApp once;
    HINSTANCE self = GetModuleHandleA(NULL);
    CHECK(once.Run(self) == 0);
    CHECK(once.starts == 1);
    CHECK(once.Instance() == self);
    MSG msg;
    CHECK_FALSE(PeekMessageA(&msg, NULL, WM_QUIT, WM_QUIT, PM_NOREMOVE));

    ScriptedApp looping;
    looping.answer = TRUE;
    looping.quitCode = 7;
    CHECK(looping.Run(self) == 7);
    CHECK(looping.starts == 1);
}
