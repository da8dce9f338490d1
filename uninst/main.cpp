// QVUninst.exe: removes what an installation's uninstall record lists. Its exit code
// says how that went (uninst.h).
#include "uninst.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int)
{
    return UninstRun(commandLine ? commandLine : "");
}
