// Shows one display state and holds it on screen for a while, so tools/screenshots can
// photograph it: osd_screens.exe volume|mute|unmute|text MILLISECONDS
#include "QVOSD.h"
#include "QVUtil.h"

#include <stdlib.h>
#include <string.h>

int main(int argc, char** argv)
{
    if (argc < 3)
        return 2;
    Reg_InitProfile("Software\\TavimonScreens", "demo");
    OSD_Init();
    OSD_KeepShowing(1);
    const char* what = argv[1];
    if (strcmp(what, "volume") == 0) {
        OSD_ShowVolume(0x8000, 24);
    } else if (strcmp(what, "mute") == 0) {
        OSD_ShowMuteIcon(1);
    } else if (strcmp(what, "unmute") == 0) {
        OSD_ShowMuteIcon(0);
    } else {
        RECT r = {0, 0, GetSystemMetrics(SM_CXSCREEN) - 40, GetSystemMetrics(SM_CYSCREEN) - 40};
        OSD_ShowString("Track 7  03:41", &r, DT_RIGHT | DT_BOTTOM | DT_SINGLELINE);
    }
    DWORD end = GetTickCount() + (DWORD)atoi(argv[2]);
    while ((LONG)(end - GetTickCount()) > 0) {
        MSG msg;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        MsgWaitForMultipleObjects(0, NULL, FALSE, 50, QS_ALLINPUT);
    }
    OSD_KeepShowing(0);
    OSD_Destroy();
    return 0;
}
