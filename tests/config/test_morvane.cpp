// Morvane as a user sees it: the program run from outside (it ends by itself, leaves no
// window, runs again independently), and its main dialog hosted here and kept open to
// look at the system menu, the About box, the icons and the minimised painting.
#include <doctest/doctest.h>

#include "modalhost.h"
#include "morvane.h"
#include "resource.h"
#include "wintest.h"

#include <algorithm>
#include <string>
#include <vector>

using namespace qvtest;

namespace {

HICON ProgramIcon()
{
    return LoadIconA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDR_MAINFRAME));
}

struct CreatedWindow {
    DWORD thread;
    std::string className;
    std::string title;
};
std::vector<CreatedWindow> g_created;

void CALLBACK OnWindowCreated(HWINEVENTHOOK, DWORD, HWND wnd, LONG object, LONG, DWORD thread, DWORD)
{
    if (object != OBJID_WINDOW)
        return;
    char name[64] = "";
    GetClassNameA(wnd, name, sizeof(name));
    g_created.push_back(CreatedWindow{ thread, name, WindowText(wnd) });
}

struct Run {
    PROCESS_INFORMATION process;
    DWORD exitCode;
};

std::string MorvanePath()
{
    char path[MAX_PATH] = "";
    SearchPathA(NULL, "Morvane.exe", NULL, sizeof(path), path, NULL);
    return path;
}

bool Start(Run* run)
{
    STARTUPINFOA si;
    ZeroMemory(&si, sizeof(si));
    si.cb = sizeof(si);
    std::string line = "\"" + MorvanePath() + "\"";
    run->exitCode = kNoExit;
    return CreateProcessA(NULL, &line[0], NULL, NULL, FALSE, 0, NULL, NULL, &si, &run->process) != FALSE;
}

// Pumps (window events arrive as messages) until every run has ended or 10 s passed.
void Finish(Run* runs, int count)
{
    std::vector<HANDLE> handles;
    for (int i = 0; i < count; ++i)
        handles.push_back(runs[i].process.hProcess);
    DWORD start = GetTickCount();
    while (GetTickCount() - start < 10000) {
        bool allEnded = WaitForMultipleObjects((DWORD)handles.size(), handles.data(), TRUE, 0) == WAIT_OBJECT_0;
        if (allEnded)
            break;
        PumpFor(20);
    }
    PumpFor(50);
    for (int i = 0; i < count; ++i) {
        if (WaitForSingleObject(runs[i].process.hProcess, 0) == WAIT_OBJECT_0)
            GetExitCodeProcess(runs[i].process.hProcess, &runs[i].exitCode);
        else
            TerminateProcess(runs[i].process.hProcess, kNoExit);
        CloseHandle(runs[i].process.hThread);
        CloseHandle(runs[i].process.hProcess);
    }
}

int MainDialogsMadeBy(DWORD thread)
{
    int n = 0;
    for (const CreatedWindow& w : g_created)
        n += w.thread == thread && w.className == "#32770" && w.title == "Morvane";
    return n;
}

struct ProcessWindows {
    DWORD process;
    int count;
};

BOOL CALLBACK CountProcessWindow(HWND wnd, LPARAM param)
{
    ProcessWindows* search = (ProcessWindows*)param;
    DWORD owner = 0;
    GetWindowThreadProcessId(wnd, &owner);
    search->count += owner == search->process;
    return TRUE;
}

int WindowsLeftBy(DWORD process)
{
    ProcessWindows search = { process, 0 };
    EnumWindows(CountProcessWindow, (LPARAM)&search);
    return search.count;
}

struct WindowEvents {
    HWINEVENTHOOK hook;
    WindowEvents()
    {
        g_created.clear();
        hook = SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_CREATE, NULL, OnWindowCreated, 0, 0,
                               WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS);
    }
    ~WindowEvents() { UnhookWinEvent(hook); }
};

} // namespace

TEST_CASE("the program shows its dialog, closes it and ends by itself with no window left")
{
    REQUIRE(MorvanePath() != "");
    WindowEvents events;
    REQUIRE(events.hook != NULL);
    Run run;
    REQUIRE(Start(&run));
    Finish(&run, 1);
    CHECK(run.exitCode == 0);
    CHECK(MainDialogsMadeBy(run.process.dwThreadId) == 1);
    CHECK(WindowsLeftBy(run.process.dwProcessId) == 0);
    CHECK(FindWindowA("#32770", "Morvane") == NULL);
}

TEST_CASE("two starts are two independent runs, one after the other or side by side")
{
    WindowEvents events;
    REQUIRE(events.hook != NULL);
    Run first, second;
    REQUIRE(Start(&first));
    Finish(&first, 1);
    REQUIRE(Start(&second));
    Finish(&second, 1);
    CHECK(first.exitCode == 0);
    CHECK(second.exitCode == 0);
    CHECK(first.process.dwProcessId != second.process.dwProcessId);
    CHECK(MainDialogsMadeBy(first.process.dwThreadId) == 1);
    CHECK(MainDialogsMadeBy(second.process.dwThreadId) == 1);

    // Started together, neither gives way to the other: no single-instance rule.
    Run both[2];
    REQUIRE(Start(&both[0]));
    REQUIRE(Start(&both[1]));
    Finish(both, 2);
    for (Run& run : both) {
        CHECK(run.exitCode == 0);
        CHECK(MainDialogsMadeBy(run.process.dwThreadId) == 1);
        CHECK(WindowsLeftBy(run.process.dwProcessId) == 0);
    }
}

namespace {

// Ends a main dialog that failed to close itself, so the test fails instead of hanging.
void CALLBACK CloseLeftOpen(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(NULL, timer);
    HWND left = FindWindowA("#32770", "Morvane");
    if (left)
        EndDialog(left, IDABORT);
}

} // namespace

TEST_CASE("hosted as it is, the main dialog closes itself with Cancel")
{
    UINT_PTR watchdog = SetTimer(NULL, 0, 5000, CloseLeftOpen);
    MorvaneDialog dialog(NULL);
    CHECK(dialog.DoModal() == IDCANCEL);
    KillTimer(NULL, watchdog);
    CHECK(dialog.Window() == NULL);
    CHECK(FindWindowA("#32770", "Morvane") == NULL);
}

namespace {

// The main dialog with Cancel turned into a note, so it stays open after its own
// WM_CLOSE; it also paints the erased background of a minimised window in magenta.
class KeptOpenDialog : public MorvaneDialog {
public:
    explicit KeptOpenDialog(HWND owner) : MorvaneDialog(owner) {}
    volatile LONG cancels = 0;

protected:
    BOOL OnInitDialog() override
    {
        BOOL result = MorvaneDialog::OnInitDialog();
        SetPropA(Window(), "KeptOpenDialog", (HANDLE)this);
        m_next = (WNDPROC)SetWindowLongPtrA(Window(), GWLP_WNDPROC, (LONG_PTR)EraseWithMagenta);
        return result;
    }
    void OnCancel() override
    {
        InterlockedIncrement(&cancels);
    }

public:
    volatile LONG iconErases = 0;

private:
    WNDPROC m_next = NULL;
    static LRESULT CALLBACK EraseWithMagenta(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        KeptOpenDialog* self = (KeptOpenDialog*)GetPropA(wnd, "KeptOpenDialog");
        if (message == WM_ICONERASEBKGND && wParam) {
            InterlockedIncrement(&self->iconErases);
            RECT box;
            GetClipBox((HDC)wParam, &box);
            HBRUSH magenta = CreateSolidBrush(RGB(255, 0, 255));
            FillRect((HDC)wParam, &box, magenta);
            DeleteObject(magenta);
            return 1;
        }
        if (message == WM_NCDESTROY) {
            SetWindowLongPtrA(wnd, GWLP_WNDPROC, (LONG_PTR)self->m_next);
            RemovePropA(wnd, "KeptOpenDialog");
        }
        return CallWindowProcA(self->m_next, wnd, message, wParam, lParam);
    }
};

INT_PTR RunKeptOpen(HWND owner, void* param)
{
    KeptOpenDialog dialog(owner);
    *(KeptOpenDialog**)param = &dialog;
    return dialog.DoModal();
}

// The main dialog, open on a thread of its own until Close.
struct Hosted {
    KeptOpenDialog* dialog = NULL;
    HWND wnd = NULL;
    ModalHost host;
    bool started;

    Hosted() : started(StartModal(&host, RunKeptOpen, &dialog))
    {
        if (started)
            wnd = dialog->Window();
    }
    // Ends the dialog with OK and answers DoModal's result.
    DWORD Close()
    {
        if (!started)
            return kNoExit;
        started = false;
        SendMessageA(wnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        return FinishModal(&host);
    }
    ~Hosted() { Close(); }
};

std::string MenuText(HMENU menu, int position)
{
    char text[128] = "";
    GetMenuStringA(menu, position, text, sizeof(text), MF_BYPOSITION);
    return text;
}

BOOL CALLBACK CollectText(HWND wnd, LPARAM param)
{
    ((std::vector<std::string>*)param)->push_back(WindowText(wnd));
    return TRUE;
}

// The About box once it is up: shown, and its owner disabled. It may be NULL, or not
// yet up, after 5 s.
HWND WaitForAbout(HWND owner)
{
    DWORD start = GetTickCount();
    for (;;) {
        HWND about = FindWindowA("#32770", "About Morvane");
        bool up = about && IsWindowVisible(about) && !IsWindowEnabled(owner);
        if (up || GetTickCount() - start > 5000)
            return about;
        Sleep(10);
    }
}

bool WaitGone(const char* title)
{
    DWORD start = GetTickCount();
    while (FindWindowA("#32770", title)) {
        if (GetTickCount() - start > 5000)
            return false;
        Sleep(10);
    }
    return true;
}

// A square of `size` pixels at (left, top) of `source`, as 0xRRGGBB, top row first.
std::vector<DWORD> Pixels(HDC source, int left, int top, int size)
{
    BITMAPINFO info;
    ZeroMemory(&info, sizeof(info));
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = size;
    info.bmiHeader.biHeight = -size;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = NULL;
    HBITMAP bitmap = CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    std::vector<DWORD> pixels;
    if (!bitmap)
        return pixels;
    HDC memory = CreateCompatibleDC(source);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, size, size, source, left, top, SRCCOPY);
    GdiFlush();
    pixels.assign((DWORD*)bits, (DWORD*)bits + size * size);
    for (DWORD& p : pixels)
        p &= 0xFFFFFF;
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(bitmap);
    return pixels;
}

// A magenta square of `size` pixels with the program icon drawn at (x, y) in it.
std::vector<DWORD> IconOnMagenta(HDC screen, int size, int x, int y)
{
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, size, size);
    HGDIOBJ old = SelectObject(memory, bitmap);
    RECT all = { 0, 0, size, size };
    HBRUSH magenta = CreateSolidBrush(RGB(255, 0, 255));
    FillRect(memory, &all, magenta);
    DeleteObject(magenta);
    DrawIcon(memory, x, y, ProgramIcon());
    std::vector<DWORD> pixels = Pixels(memory, 0, 0, size);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    return pixels;
}

} // namespace

TEST_CASE("set-up of the main dialog: About entry, icons, caption, its own WM_CLOSE")
{
    Hosted hosted;
    REQUIRE(hosted.wnd != NULL);
    CHECK(hosted.dialog->cancels == 1);

    HMENU menu = GetSystemMenu(hosted.wnd, FALSE);
    REQUIRE(menu != NULL);
    int count = GetMenuItemCount(menu);
    REQUIRE(count >= 2);
    CHECK(GetMenuItemID(menu, count - 1) == IDM_ABOUTBOX);
    CHECK(MenuText(menu, count - 1) == "&About Morvane...");
    CHECK((GetMenuState(menu, count - 2, MF_BYPOSITION) & MF_SEPARATOR) != 0);

    // Icon 128 everywhere: caption (both sizes) and the drag icon.
    HICON icon = ProgramIcon();
    REQUIRE(icon != NULL);
    CHECK(SendMessageA(hosted.wnd, WM_GETICON, ICON_BIG, 0) == (LRESULT)icon);
    CHECK(SendMessageA(hosted.wnd, WM_GETICON, ICON_SMALL, 0) == (LRESULT)icon);
    CHECK(SendMessageA(hosted.wnd, WM_QUERYDRAGICON, 0, 0) == (LRESULT)icon);

    CHECK(WindowText(hosted.wnd) == "Morvane");
    CHECK((GetWindowLongA(hosted.wnd, GWL_EXSTYLE) & WS_EX_APPWINDOW) != 0);

    CHECK(hosted.dialog->cancels == 1);
    CHECK(hosted.Close() == IDOK);
}

TEST_CASE("the About entry opens the About box over the main dialog")
{
    Hosted hosted;
    REQUIRE(hosted.wnd != NULL);

    // The system keeps the low 4 bits of the command for itself.
    const WPARAM commands[] = { IDM_ABOUTBOX, IDM_ABOUTBOX | 0x000F };
    for (WPARAM command : commands) {
        CAPTURE(command);
        PostMessageA(hosted.wnd, WM_SYSCOMMAND, command, 0);
        HWND about = WaitForAbout(hosted.wnd);
        REQUIRE(about != NULL);
        CHECK(GetWindow(about, GW_OWNER) == hosted.wnd);
        CHECK_FALSE(IsWindowEnabled(hosted.wnd));

        std::vector<std::string> texts;
        EnumChildWindows(about, CollectText, (LPARAM)&texts);
        CHECK(std::find(texts.begin(), texts.end(), "Morvane Version 1.0") != texts.end());
        CHECK(std::find(texts.begin(), texts.end(), "OK") != texts.end());

        if (command == IDM_ABOUTBOX)
            PostMessageA(about, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        else
            PostMessageA(about, WM_CLOSE, 0, 0);
        CHECK(WaitGone("About Morvane"));
        CHECK(IsWindowEnabled(hosted.wnd));
    }

    // The next command id is not the About entry; the system ignores it.
    SendMessageA(hosted.wnd, WM_SYSCOMMAND, IDM_ABOUTBOX + 0x10, 0);
    CHECK(FindWindowA("#32770", "About Morvane") == NULL);
    // And the system's own commands still work.
    SendMessageA(hosted.wnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    CHECK(IsIconic(hosted.wnd));
    SendMessageA(hosted.wnd, WM_SYSCOMMAND, SC_RESTORE, 0);
    CHECK_FALSE(IsIconic(hosted.wnd));

    CHECK(hosted.dialog->cancels == 1);
    CHECK(hosted.Close() == IDOK);
}

TEST_CASE("minimised, the dialog erases as an icon and draws icon 128 centred")
{
    Hosted hosted;
    REQUIRE(hosted.wnd != NULL);
    // Odd sizes, where rounding shows.
    RECT window, client;
    GetWindowRect(hosted.wnd, &window);
    GetClientRect(hosted.wnd, &client);
    int width = window.right - window.left + (client.right % 2 ? 0 : 1);
    int height = window.bottom - window.top + (client.bottom % 2 ? 0 : 1);
    SetWindowPos(hosted.wnd, NULL, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    GetClientRect(hosted.wnd, &client);
    REQUIRE(client.right % 2 == 1);
    REQUIRE(client.bottom % 2 == 1);
    int x = (client.right - GetSystemMetrics(SM_CXICON) + 1) / 2;
    int y = (client.bottom - GetSystemMetrics(SM_CYICON) + 1) / 2;
    REQUIRE(x > 4);
    REQUIRE(y > 4);

    // Restored: the ordinary dialog painting, no icon.
    RedrawWindow(hosted.wnd, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    CHECK(hosted.dialog->iconErases == 0);

    // Windows 95 and later (and Wine) leave a minimised window no client area to paint
    // in, so the minimised state is set on the window as it stands: IsIconic reads only
    // this style bit, and the client area keeps its size.
    SetWindowLongA(hosted.wnd, GWL_STYLE, GetWindowLongA(hosted.wnd, GWL_STYLE) | WS_MINIMIZE);
    REQUIRE(IsIconic(hosted.wnd));
    LONG erases = hosted.dialog->iconErases;
    RedrawWindow(hosted.wnd, NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
    CHECK(hosted.dialog->iconErases > erases);
    RECT update;
    CHECK_FALSE(GetUpdateRect(hosted.wnd, &update, FALSE));

    // Wine hands a minimised window's BeginPaint its window DC, so the place counts
    // from the window's corner. A 4-pixel margin must show the erased background.
    HDC dc = GetWindowDC(hosted.wnd);
    const int margin = 4, size = GetSystemMetrics(SM_CXICON) + 2 * margin;
    std::vector<DWORD> seen = Pixels(dc, x - margin, y - margin, size);
    CHECK(seen == IconOnMagenta(dc, size, margin, margin));
    // One pixel off is seen: the comparison can tell the formula's place.
    CHECK(seen != IconOnMagenta(dc, size, margin + 1, margin));
    CHECK(seen != IconOnMagenta(dc, size, margin, margin - 1));
    ReleaseDC(hosted.wnd, dc);

    CHECK(hosted.Close() == IDOK);
}
