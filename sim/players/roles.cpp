// Table of the player roles. Classes and titles the media functions match exactly are
// those of the real programs; the others (found by program path) are our own.
#include "roles.h"

#include <windows.h>

static const PlayerRole kRoles[] = {
    { "wmp", "wmplayer.exe", "WMPlayerApp", "Windows Media Player" },
    { "mmframe", "cdplayer.exe", "MMFRAME_MAIN", "CD Player" },
    { "sje", "cdplayer.exe", "SJE_CdPlayerClass", "CD Player" },
    { "dvdplayer", "DVDPlayer.exe", "QvSimDVDPlayer", "DVD Player" },
    { "mediamatics", "DVDExpress.exe", "QvSimMediamaticsPlayer", "Mediamatics DVD Player" },
    { "windvd", "WinDVD.exe", "QvSimWinDVD", "InterVideo WinDVD" },
    { "powerdvd", "PowerDVD.exe", "Class of CyberLink Universal Player", "CyberLink Universal Player" },
    { "mplayer2", "mplayer2.exe", "Media Player 2", "Windows Media Player" },
};

const PlayerRole* FindRoleByKey(const char* key)
{
    for (unsigned i = 0; i < sizeof(kRoles) / sizeof(kRoles[0]); ++i) {
        if (lstrcmpiA(kRoles[i].key, key) == 0)
            return &kRoles[i];
    }
    return 0;
}

const PlayerRole* FindRoleByExe(const char* exeName)
{
    for (unsigned i = 0; i < sizeof(kRoles) / sizeof(kRoles[0]); ++i) {
        if (lstrcmpiA(kRoles[i].exeName, exeName) == 0)
            return &kRoles[i];
    }
    return 0;
}
