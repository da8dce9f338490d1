// keysim's side of the driver stand-ins' private control codes, shared with the tests that
// play the keyboard without starting a process per key.
#ifndef QV_SIMCLIENT_H
#define QV_SIMCLIENT_H

#include <windows.h>

#include <vector>

#include "simioctl.h"

// Every call opens the device, sends one request and closes it again. False (with the
// last error of the failing step) when the stand-in is not there or refuses the request.
bool SimInject(ULONG device, ULONG code, ULONG type, ULONG flags, SIM_INJECT_OUT* out);
bool SimSetCount(ULONG device, ULONG count);
bool SimRemove(ULONG device);
bool SimAdd(ULONG device);
bool SimState(ULONG device, SIM_DEVICE_STATE* state);
bool SimBeep(SIM_INJECT_OUT* out);
bool SimReset();
bool SimPortState(SIM_PORT_STATE_OUT* state);
bool SimPortReset();

// The same requests on a handle kept open (SimOpen), for callers that time them: an open
// and a close per request would load the drivers in between.
HANDLE SimOpen(const char* path);
bool SimInjectOn(HANDLE control, ULONG device, ULONG code, ULONG type, ULONG flags, SIM_INJECT_OUT* out);
bool SimPortSendOn(HANDLE port, UCHAR code, LONGLONG* sent);

// Sends one code byte to \\.\IoctlTest the way the daemon does; `sent` gets the stamp
// taken just before the request (the floor of the key-path benchmark).
bool SimPortSend(UCHAR code, LONGLONG* sent);

// Whole logs from index `first` on (SIM_CALLS, SIM_DELIVERIES, SIM_RETURNED on the control
// device; SIM_PORT_RECEIVED, SIM_CALLS on hkport). `total` gets the number ever logged.
bool SimReadCalls(const char* path, ULONG first, std::vector<SIM_CALL>* out, ULONG* total);
bool SimReadDeliveries(ULONG first, std::vector<SIM_DELIVERY>* out, ULONG* total);
bool SimReadReturned(ULONG first, std::vector<SIM_RECEIVED>* out, ULONG* total);
bool SimReadReceived(ULONG first, std::vector<SIM_RECEIVED>* out, ULONG* total);

// Device names keysim takes: "usb", "nt", "vxd". ~0u when unknown.
ULONG SimDeviceByName(const char* name);
const char* SimDeviceName(ULONG device);

#endif
