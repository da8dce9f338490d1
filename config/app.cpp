// Start-up of a framework program: the start-up routine, then (only if it asks for
// one) a plain message loop.
#include "app.h"

QvApp::QvApp() : m_instance(NULL) {}

int QvApp::Run(HINSTANCE instance)
{
    m_instance = instance;
    if (!InitInstance())
        return 0;
    MSG msg;
    for (;;) {
        BOOL got = GetMessageA(&msg, NULL, 0, 0);
        if (got == 0)
            return (int)msg.wParam;
        if (got == -1)
            return -1;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

BOOL QvApp::EnableControlContainer()
{
    return TRUE;
}

BOOL QvApp::Enable3dControls()
{
    return TRUE;
}
