// The installer's driver step: the keyboard's devices of the script's "Update Driver"
// section, installed the way each system allows.
#ifndef QV_SETUP_DRIVERS_H
#define QV_SETUP_DRIVERS_H

// Runs after a successful copy step, with the chosen script; reports nothing. In preload
// mode the caller clears the call-configuration-manager flag first.
void SetupInstallDrivers(const char* scriptPath);

#endif
