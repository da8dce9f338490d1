// The installer's one state record and the interface choice, which the script, the
// command line and the type page all make the same way.
#include "state.h"

SetupState g_setup;

void SetupResetState(void)
{
    ZeroMemory(&g_setup, sizeof(g_setup));
    g_setup.interfaceType = SETUP_TYPE_USB;
    g_setup.restartNeeded = 1;
}

void SetupChooseType(int type)
{
    if (type == SETUP_TYPE_PS2) {
        g_setup.interfaceType = SETUP_TYPE_PS2;
        // A PS/2 keyboard is only re-detected on NT after a restart; 9x picks it up at once
        // through the configuration manager.
        g_setup.restartNeeded = g_setup.isNT ? 1 : 0;
        g_setup.callConfigMg = g_setup.isNT ? 0 : 1;
        return;
    }
    g_setup.interfaceType = SETUP_TYPE_USB;
    if (g_setup.usbInf[0])
        TextCopy(g_setup.infFile, sizeof(g_setup.infFile), g_setup.usbInf);
    g_setup.restartNeeded = 0;
    g_setup.callConfigMg = 1;
}
