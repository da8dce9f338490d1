// Runs the hotkey daemon under a chosen Windows mode for the daemon tests and stops it the
// way the session does (WM_ENDSESSION), with the stand-ins' state at hand.
#ifndef QV_DAEMONTEST_H
#define QV_DAEMONTEST_H

#include <windows.h>

#include <string>
#include <vector>

#include "simclient.h"

namespace qvtest {

struct DaemonRun {
    std::string exe;     // the copy that runs
    HANDLE process;
    DWORD processId;
    DWORD threadId;
    HWND window;
    bool copied; // `exe` is a copy made for the run, removed with it
};

// The built QV5120DM.exe (found through the run's WINEPATH).
std::string DaemonPath();
// Starts a copy of the daemon named for `mode` and waits for its main window.
bool StartDaemon(DaemonRun* run, const char* mode, const std::string& args = std::string());
// The same with the copy in `folder`, where libraries beside it are the ones it loads.
bool StartDaemonIn(DaemonRun* run, const char* mode, const std::string& folder,
                   const std::string& args = std::string());
// Starts `exe` as it is and waits for its main window.
bool LaunchDaemon(DaemonRun* run, const std::string& exe, const std::string& args = std::string());
// A daemon some other program started: its main window, process and program file, once
// the start-up is over. False when none came within `timeoutMs`.
bool AttachDaemon(DaemonRun* run, DWORD timeoutMs);
// WM_ENDSESSION (wParam FALSE), then waits for the exit; the exit code or kNoExit.
DWORD StopDaemon(DaemonRun* run);
// Waits for the process to end by itself; the exit code or kNoExit (then it is killed).
DWORD WaitDaemonExit(DaemonRun* run, DWORD timeoutMs);
void ForgetDaemon(DaemonRun* run);

SIM_DEVICE_STATE DeviceState(ULONG device);
// Waits until `device` holds `reads` pending reads (the reader is waiting for a key).
bool WaitForPendingReads(ULONG device, ULONG reads, DWORD timeoutMs);
// The code bytes hkport has received since its reset.
std::vector<UCHAR> PortBytes();
std::vector<UCHAR> ReturnedBytes();
// Waits until hkport (or the legacy device) holds `count` bytes.
bool WaitForPortBytes(size_t count, DWORD timeoutMs);
bool WaitForReturnedBytes(size_t count, DWORD timeoutMs);
// Shell_NotifyIconA on the daemon's icon slot (its window, id 108) with a tip only.
bool TrayIconRequest(HWND daemon, DWORD message, const char* tip);
// Whether the shell holds the daemon's tray icon: NIM_MODIFY succeeds only for an icon it holds.
bool TrayIconShown(HWND daemon);
// Calls of the stand-ins (filter and hkport), merged by stamp.
std::vector<SIM_CALL> AllCalls();
// WM_DEVICECHANGE as the system sends it: the event codes with bit 0x8000 carry a
// DEV_BROADCAST_HDR, which Wine copies across processes (and drops the message without).
void SendDeviceChange(HWND window, WPARAM change);

} // namespace qvtest

#endif
