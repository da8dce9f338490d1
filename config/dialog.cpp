// Modal dialogs of the framework: the dialog manager runs the modal loop, and one
// dialog procedure hands each message to the object that made the dialog.
#include "dialog.h"

QvDialog::QvDialog(UINT templateId, HWND owner) : m_templateId(templateId), m_owner(owner), m_wnd(NULL) {}

INT_PTR QvDialog::DoModal()
{
    // Templates come from the program's own module, never from a DLL that hosts us.
    return DialogBoxParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(m_templateId), m_owner, DialogProc,
                           (LPARAM)this);
}

void QvDialog::EndDialog(INT_PTR result)
{
    ::EndDialog(m_wnd, result);
}

INT_PTR CALLBACK QvDialog::DialogProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    QvDialog* self;
    if (message == WM_INITDIALOG) {
        self = (QvDialog*)lParam;
        self->m_wnd = wnd;
        SetWindowLongPtrA(wnd, DWLP_USER, (LONG_PTR)self);
    } else {
        self = (QvDialog*)GetWindowLongPtrA(wnd, DWLP_USER);
    }
    // WM_SETFONT and the like arrive before WM_INITDIALOG, with no object yet.
    if (!self)
        return FALSE;
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(wnd, DWLP_USER, 0);
        self->m_wnd = NULL;
        return FALSE;
    }
    return self->Dispatch(message, wParam, lParam);
}

INT_PTR QvDialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog();
    case WM_SYSCOMMAND:
        return OnSysCommand((UINT)wParam, lParam);
    case WM_PAINT:
        return OnPaint();
    case WM_QUERYDRAGICON:
        // One of the few messages whose answer is the dialog procedure's result itself.
        return (INT_PTR)OnQueryDragIcon();
    case WM_COMMAND:
        // A click or Enter/Esc; the system's WM_CLOSE handling also ends up as IDCANCEL.
        if (LOWORD(wParam) == IDOK && HIWORD(wParam) == BN_CLICKED) {
            OnOK();
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL && HIWORD(wParam) == BN_CLICKED) {
            OnCancel();
            return TRUE;
        }
        return FALSE;
    }
    return FALSE;
}

BOOL QvDialog::OnInitDialog()
{
    return TRUE;
}

BOOL QvDialog::OnSysCommand(UINT, LPARAM)
{
    return FALSE;
}

BOOL QvDialog::OnPaint()
{
    return FALSE;
}

HICON QvDialog::OnQueryDragIcon()
{
    return NULL;
}

void QvDialog::OnOK()
{
    EndDialog(IDOK);
}

void QvDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}
