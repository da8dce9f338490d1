// Morvane, the configuration program: its application object, main dialog and About
// box. The main dialog is a placeholder that closes itself once it is set up.
#ifndef CONFIG_MORVANE_H
#define CONFIG_MORVANE_H

#include "app.h"
#include "dialog.h"

class MorvaneApp : public QvApp {
protected:
    BOOL InitInstance() override;
};

class MorvaneDialog : public QvDialog {
public:
    explicit MorvaneDialog(HWND owner);

protected:
    BOOL OnInitDialog() override;
    BOOL OnSysCommand(UINT command, LPARAM lParam) override;
    BOOL OnPaint() override;
    HICON OnQueryDragIcon() override;

private:
    HICON m_icon;  // shared icon from LoadIcon: the system frees it with the module
};

class AboutDialog : public QvDialog {
public:
    explicit AboutDialog(HWND owner);
};

#endif
