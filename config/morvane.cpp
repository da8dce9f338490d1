// Morvane's start-up routine and dialogs: what runs between the program's start and
// its end, with nothing read or written on the way.
#include "morvane.h"

#include "resource.h"

BOOL MorvaneApp::InitInstance()
{
    EnableControlContainer();
    Enable3dControls();
    MorvaneDialog dialog(NULL);
    dialog.DoModal();
    // No message loop: the program ends once its dialog has.
    return FALSE;
}

MorvaneDialog::MorvaneDialog(HWND owner)
    : QvDialog(IDD_MORVANE_DIALOG, owner), m_icon(LoadIconA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDR_MAINFRAME)))
{
}

BOOL MorvaneDialog::OnInitDialog()
{
    QvDialog::OnInitDialog();
    HMENU systemMenu = GetSystemMenu(Window(), FALSE);
    if (systemMenu) {
        char about[260];
        if (LoadStringA(GetModuleHandleA(NULL), IDS_ABOUTBOX, about, sizeof(about)) > 0) {
            AppendMenuA(systemMenu, MF_SEPARATOR, 0, NULL);
            AppendMenuA(systemMenu, MF_STRING, IDM_ABOUTBOX, about);
        }
    }
    SendMessageA(Window(), WM_SETICON, ICON_BIG, (LPARAM)m_icon);
    SendMessageA(Window(), WM_SETICON, ICON_SMALL, (LPARAM)m_icon);
    // The dialog has nothing to configure yet: it closes as it would on Cancel.
    SendMessageA(Window(), WM_CLOSE, 0, 0);
    return TRUE;
}

BOOL MorvaneDialog::OnSysCommand(UINT command, LPARAM)
{
    if ((command & 0xFFF0) != IDM_ABOUTBOX)
        return FALSE;
    AboutDialog about(Window());
    about.DoModal();
    return TRUE;
}

// A minimised window that still has a client area must draw its icon by hand. The
// shells of Windows 95 and later leave minimised windows none, so there this is idle.
BOOL MorvaneDialog::OnPaint()
{
    if (!IsIconic(Window()))
        return FALSE;
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(Window(), &paint);
    SendMessageA(Window(), WM_ICONERASEBKGND, (WPARAM)dc, 0);
    RECT client;
    GetClientRect(Window(), &client);
    int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
    int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(dc, x, y, m_icon);
    EndPaint(Window(), &paint);
    return TRUE;
}

HICON MorvaneDialog::OnQueryDragIcon()
{
    return m_icon;
}

AboutDialog::AboutDialog(HWND owner) : QvDialog(IDD_ABOUTBOX, owner) {}
