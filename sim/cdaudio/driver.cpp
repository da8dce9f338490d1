// Entry point of the CD audio MCI driver stand-in. winmm loads it for the "cdaudio"
// device type and sends it installable-driver messages; MCI commands go on to
// commands.cpp and every one is logged for the tests.
#include "cdaudio.h"

#include "../common/simlog.h"

#include <stdio.h>

static CdDevice g_devices[16];
// The first DRV_OPEN of a module is winmm's session instance; it gets an id that can
// never be an MCI device ID, which fits in 16 bits.
static const DWORD_PTR kSessionId = 0x10000;

static CdDevice* FindDevice(DWORD_PTR id)
{
    for (int i = 0; i < (int)(sizeof(g_devices) / sizeof(g_devices[0])); ++i) {
        if (g_devices[i].id && g_devices[i].id == id)
            return &g_devices[i];
    }
    return NULL;
}

bool CdDriveBusy(const CdDevice* self, char letter, bool shareable)
{
    for (int i = 0; i < (int)(sizeof(g_devices) / sizeof(g_devices[0])); ++i) {
        const CdDevice* d = &g_devices[i];
        if (d != self && d->id && d->opened && d->letter == letter && (!d->shareable || !shareable))
            return true;
    }
    return false;
}

static void LogCommand(DWORD_PTR id, const char* what, LRESULT result)
{
    char path[MAX_PATH];
    char temp[MAX_PATH];
    DWORD n = GetTempPathA(sizeof(temp), temp);
    if (n == 0 || n >= sizeof(temp) - 16)
        temp[0] = '\0';
    else
        lstrcatA(temp, "qvcdaudio.log");
    SimLogPath("QVSIM_CDAUDIO_LOG", temp, path, sizeof(path));
    char line[400];
    _snprintf(line, sizeof(line), "dev=%u %s -> %u", (unsigned)id, what, (unsigned)LOWORD(result));
    line[sizeof(line) - 1] = '\0';
    SimLogLine(path, line);
}

static LRESULT OnDriverOpen(MCI_OPEN_DRIVER_PARMS* params)
{
    if (!params)
        return kSessionId;
    for (int i = 0; i < (int)(sizeof(g_devices) / sizeof(g_devices[0])); ++i) {
        if (!g_devices[i].id) {
            ZeroMemory(&g_devices[i], sizeof(g_devices[i]));
            g_devices[i].id = params->wDeviceID;
            g_devices[i].timeFormat = MCI_FORMAT_MSF;
            // No command table of our own: winmm parses with its built-in cdaudio table.
            params->wCustomCommandTable = MCI_NO_COMMAND_TABLE;
            params->wType = MCI_DEVTYPE_CD_AUDIO;
            return params->wDeviceID;
        }
    }
    return 0;
}

static LRESULT OnDriverClose(DWORD_PTR id)
{
    CdDevice* device = FindDevice(id);
    if (device)
        ZeroMemory(device, sizeof(*device));
    return 1;
}

static LRESULT OnMciCommand(DWORD_PTR id, UINT message, DWORD_PTR flags, DWORD_PTR params)
{
    char what[300];
    LRESULT result;
    CdDevice* device = FindDevice(id);
    if (!device) {
        lstrcpyA(what, "command to a device that is not open");
        result = MCIERR_INVALID_DEVICE_ID;
    } else {
        what[0] = '\0';
        result = CdRunCommand(device, message, flags, params, what, sizeof(what));
    }
    LogCommand(id, what, result);
    return result;
}

extern "C" LRESULT CALLBACK DriverProc(DWORD_PTR id, HDRVR driver, UINT message, LPARAM param1, LPARAM param2)
{
    switch (message) {
    case DRV_LOAD:
    case DRV_FREE:
    case DRV_ENABLE:
    case DRV_DISABLE:
        return 1;
    case DRV_OPEN:
        return OnDriverOpen((MCI_OPEN_DRIVER_PARMS*)param2);
    case DRV_CLOSE:
        return OnDriverClose(id);
    case DRV_QUERYCONFIGURE:
        return 0;
    case DRV_INSTALL:
    case DRV_REMOVE:
        return 1;  // DRV_SUCCESS
    }
    if (message >= DRV_MCI_FIRST && message <= DRV_MCI_LAST)
        return OnMciCommand(id, message, (DWORD_PTR)param1, (DWORD_PTR)param2);
    return DefDriverProc(id, driver, message, param1, param2);
}
