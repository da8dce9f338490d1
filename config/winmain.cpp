// Entry point of Morvane.exe: the one application object and its start-up.
#include "morvane.h"

static MorvaneApp theApp;

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    return theApp.Run(instance);
}
