// The disc in a drive as the stand-in sees it: its description, read afresh for every
// command, and its play state, kept in the registry because a disc keeps playing while
// the MCI device is closed, reopened, or opened by another process.
#ifndef QV_SIM_DISCSTATE_H
#define QV_SIM_DISCSTATE_H

#include <windows.h>

#include "discfile.h"

struct DiscView {
    char letter;
    int present;       // a usable description was found
    DiscInfo disc;
    DWORD stamp;       // hash of the description: a new disc starts a new state
    int mode;          // DiscMode, advanced to now
    long frame;        // current position
    long until;        // where a play stops
};

// Root of the per-drive state, under HKEY_CURRENT_USER.
#define DISC_STATE_KEY "Software\\TavimonSim\\cdaudio"

// 0, MCIERR_DEVICE_NOT_READY when the drive holds no description (`present` 0), or
// MCIERR_INVALID_FILE when the description is empty or malformed.
DWORD DiscLoad(char letter, DiscView* view);
void DiscSave(const DiscView* view);

#endif
