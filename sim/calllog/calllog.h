// Logging stand-ins for the utility and display libraries. Placed beside a copy of the
// daemon, they are what it loads; each logs the calls that mark its start-up and shut-down
// and passes every call on to the real library, copied beside them under another name.
// Lines carry QueryPerformanceCounter stamps, the clock the driver stand-ins stamp with.
#ifndef QV_SIM_CALLLOG_H
#define QV_SIM_CALLLOG_H

#include <windows.h>

// Appends "stamp name detail" to the file named by QV_CALL_LOG.
void CallLog(const char* name, const char* detail);
// The real library's entry `name`; it ends the process when missing, since a call that
// silently did nothing would make the logged order a lie.
FARPROC RealEntry(const char* library, const char* name);

#endif
