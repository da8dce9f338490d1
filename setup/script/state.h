// The installer's state: one record for the whole run, filled by start-up from the
// system, the script and the command line, and read by every later step.
#ifndef QV_SETUP_STATE_H
#define QV_SETUP_STATE_H

#include <windows.h>

#include "textparse.h"

enum { SETUP_TYPE_USB = 1, SETUP_TYPE_PS2 = 2 };

struct SetupState {
    // Operating system.
    int is9x, isWin95, is98plus, isMe, isNT, isNT5plus, isXP;

    // Directories (no trailing backslash) and the chosen script.
    char setupDir[QV_TEXT_SIZE];
    char windowsDir[QV_TEXT_SIZE];
    char systemDir[QV_TEXT_SIZE];
    char scriptPath[QV_TEXT_SIZE];  // empty: no script for this system

    // Section "Setup".
    char productName[QV_TEXT_SIZE];
    char uninstallDisplayName[QV_TEXT_SIZE];
    char setupTitle[QV_TEXT_SIZE];  // with a blank and the word "Setup" appended
    char version[QV_TEXT_SIZE];
    char uninstallKey[QV_TEXT_SIZE];  // empty: nothing is recorded for uninstalling
    char bkgLogo[QV_TEXT_SIZE];
    int cabFile;
    char cabPath[QV_TEXT_SIZE];
    int askLicence;
    char licencePath[QV_TEXT_SIZE];
    DWORD licenceLength;
    int askType, askPath, askProgramFolder;
    int ps2Allowed, usbAllowed;
    int callConfigMg;
    char defaultType[QV_TEXT_SIZE];
    char ps2DriverName[QV_TEXT_SIZE];
    int deleteInfIndex;

    // Driver keys, read for the driver installation.
    char deviceClass[QV_TEXT_SIZE];
    char infFile[QV_TEXT_SIZE];
    char usbInf[QV_TEXT_SIZE];
    char usbInstallSection[QV_TEXT_SIZE];
    char usbDriverName[QV_TEXT_SIZE];
    char ps2PnpId[QV_TEXT_SIZE];
    char usbPnpId[QV_TEXT_SIZE];
    char provider[QV_TEXT_SIZE];
    char mfgName[QV_TEXT_SIZE];
    char drvSetupProgram[QV_TEXT_SIZE];
    char drvSetupAction[QV_TEXT_SIZE];
    int updateDriver;
    int infNoFileCopy;

    // Decisions.
    int interfaceType;  // SETUP_TYPE_USB or SETUP_TYPE_PS2
    int restartNeeded;

    // Command line.
    int silent, hidden, noRestart, preload;

    // Destination.
    char installDir[QV_TEXT_SIZE];
    char programFolder[QV_TEXT_SIZE];

    // The localised word "Setup" (string 18).
    char setupWord[QV_TEXT_SIZE];
};

extern SetupState g_setup;

// Back to the state before start-up: USB, restart needed, every text empty.
void SetupResetState(void);

// The effects of choosing an interface, shared by the script, the options and the type page.
void SetupChooseType(int type);

#endif
