// The dialog base class of our small dialog framework: a modal dialog from a template
// of the program's own resources, whose messages reach virtual OnXxx handlers.
#ifndef CONFIG_DIALOG_H
#define CONFIG_DIALOG_H

#include <windows.h>

class QvDialog {
public:
    // `owner` is disabled while the dialog runs; NULL runs it unowned.
    QvDialog(UINT templateId, HWND owner);
    virtual ~QvDialog() {}

    // The code given to EndDialog (IDOK, IDCANCEL, ...), or -1 when the dialog could
    // not be made.
    INT_PTR DoModal();

    HWND Window() const { return m_wnd; }

protected:
    void EndDialog(INT_PTR result);

    // Return TRUE to let the dialog manager set the focus.
    virtual BOOL OnInitDialog();
    // Handlers answer TRUE when they dealt with the message; FALSE leaves it to the
    // system's default dialog processing.
    virtual BOOL OnSysCommand(UINT command, LPARAM lParam);
    virtual BOOL OnPaint();
    // The icon shown while a minimised window is dragged; NULL for the default.
    virtual HICON OnQueryDragIcon();
    virtual void OnOK();
    virtual void OnCancel();

private:
    static INT_PTR CALLBACK DialogProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

    UINT m_templateId;
    HWND m_owner;
    HWND m_wnd;
};

#endif
