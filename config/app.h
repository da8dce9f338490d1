// The application object of our small dialog framework: one per program, whose
// start-up routine decides whether the program runs a message loop at all.
#ifndef CONFIG_APP_H
#define CONFIG_APP_H

#include <windows.h>

class QvApp {
public:
    QvApp();
    virtual ~QvApp() {}

    // Runs the start-up routine; when it returns FALSE the program ends at once with
    // exit code 0, otherwise messages are pumped until WM_QUIT, whose code is returned.
    int Run(HINSTANCE instance);

    HINSTANCE Instance() const { return m_instance; }

protected:
    virtual BOOL InitInstance() = 0;

    // Switches kept for programs written against the platform's framework. Every
    // Windows we run on hosts no OLE controls in our dialogs and draws them 3-D itself,
    // so both only answer that the feature is there.
    BOOL EnableControlContainer();
    BOOL Enable3dControls();

private:
    HINSTANCE m_instance;
};

#endif
