// Installs the keyboard-driver stand-ins into the run's prefix the way an installation
// does: the .sys copied to system32\drivers, a kernel-driver service (type 1, demand start,
// error control 1, absolute ImagePath) created with CreateServiceA, and started.
#ifndef QV_DRIVERS_H
#define QV_DRIVERS_H

#include <windows.h>

#include <string>

namespace qvtest {

// Copies `sysPath` into system32\drivers and creates the service NAME, or leaves an
// existing one as it is. True when the service exists afterwards.
bool InstallDriverService(const char* name, const std::string& sysPath);
// StartServiceA; true also when the service was running already.
bool StartDriverService(const char* name);
bool IsServiceRunning(const char* name);
// Stops the service (the driver unloads and its devices go) and waits up to 10 s for it.
bool StopDriverService(const char* name);
// Runs "net start NAME" / "net stop NAME" and returns net's exit code.
DWORD NetCommand(const char* verb, const char* name);
// Both stand-ins installed and running: "qvfilter" started with StartServiceA, "hkport"
// with "net start hkport". Safe to call from several test programs at once.
bool EnsureDriverStandIns();
// Runs sim\keysim.exe with `args`; its standard output goes to `output`. Exit code, or
// kNoExit when it could not run or did not end within 20 s.
DWORD RunKeysim(const std::string& args, std::string* output);

} // namespace qvtest

#endif
