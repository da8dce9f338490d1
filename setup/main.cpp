// setup.exe: the installer's entry. Every step lives in the setup library.
#include "setup.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int)
{
    return SetupRun(commandLine);
}
