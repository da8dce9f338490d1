// Inside the MCI CD audio stand-in: one open MCI device and the command handlers.
#ifndef QV_SIM_CDAUDIO_H
#define QV_SIM_CDAUDIO_H

#include <windows.h>
#include <mmsystem.h>
#include <mmddk.h>

// The MinGW headers leave out these winmm driver helpers.
extern "C" BOOL WINAPI mciDriverNotify(HANDLE callback, MCIDEVICEID device, UINT status);

// String resources of the driver, loaded by winmm for "type track" replies.
#define IDS_TRACK_AUDIO MCI_CDA_TRACK_AUDIO
#define IDS_TRACK_OTHER MCI_CDA_TRACK_OTHER

struct CdDevice {
    DWORD_PTR id;      // the MCI device ID winmm gave at DRV_OPEN; 0 = free slot
    int opened;        // MCI_OPEN_DRIVER succeeded
    int shareable;
    char letter;
    DWORD timeFormat;  // MCI_FORMAT_MSF, MCI_FORMAT_TMSF or MCI_FORMAT_MILLISECONDS
};

// Runs one MCI command on a device and writes a short description of it (verb and
// arguments as the driver received them) to `what`. Returns the DriverProc result.
LRESULT CdRunCommand(CdDevice* device, UINT message, DWORD_PTR flags, DWORD_PTR params, char* what, int size);

// True when another opened device of this process uses the drive without sharing it.
bool CdDriveBusy(const CdDevice* self, char letter, bool shareable);

#endif
