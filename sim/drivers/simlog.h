/* Stamped ring logs of the driver stand-ins: what they received and handed out, read back
   by keysim. Stamps come from KeQueryPerformanceCounter, the clock user mode reads with
   QueryPerformanceCounter, so times can be compared across drivers and programs. */
#ifndef QV_SIMLOG_H
#define QV_SIMLOG_H

#include <ntddk.h>
#include "simioctl.h"

typedef struct {
    UCHAR *entries;
    ULONG entrySize;
    ULONG capacity;
    ULONG total;
    KSPIN_LOCK lock;
} SIM_LOG;

LONGLONG SimNow(void);
NTSTATUS SimLogInit(SIM_LOG *log, ULONG entrySize, ULONG capacity);
void SimLogFree(SIM_LOG *log);
void SimLogAppend(SIM_LOG *log, const void *entry);
void SimLogReset(SIM_LOG *log);
/* Copies entries from index `first` on into `out` (a SIM_LOG_HEADER, then entries);
   returns the bytes written, 0 when `outSize` cannot hold the header. */
ULONG SimLogRead(SIM_LOG *log, ULONG first, void *out, ULONG outSize);

#endif
