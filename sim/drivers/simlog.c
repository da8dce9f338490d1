/* Stamped ring logs shared by both driver stand-ins; see simlog.h. */
#include "simlog.h"

#define SIM_POOL_TAG 0x674C6953 /* "SiLg" */

LONGLONG SimNow(void)
{
    return KeQueryPerformanceCounter(NULL).QuadPart;
}

NTSTATUS SimLogInit(SIM_LOG *log, ULONG entrySize, ULONG capacity)
{
    RtlZeroMemory(log, sizeof(*log));
    KeInitializeSpinLock(&log->lock);
    log->entries = ExAllocatePoolWithTag(NonPagedPool, (SIZE_T)entrySize * capacity, SIM_POOL_TAG);
    if (!log->entries)
        return STATUS_INSUFFICIENT_RESOURCES;
    log->entrySize = entrySize;
    log->capacity = capacity;
    return STATUS_SUCCESS;
}

void SimLogFree(SIM_LOG *log)
{
    if (log->entries)
        ExFreePoolWithTag(log->entries, SIM_POOL_TAG);
    log->entries = NULL;
}

void SimLogAppend(SIM_LOG *log, const void *entry)
{
    KIRQL irql;
    KeAcquireSpinLock(&log->lock, &irql);
    RtlCopyMemory(log->entries + (SIZE_T)(log->total % log->capacity) * log->entrySize, entry, log->entrySize);
    log->total++;
    KeReleaseSpinLock(&log->lock, irql);
}

void SimLogReset(SIM_LOG *log)
{
    KIRQL irql;
    KeAcquireSpinLock(&log->lock, &irql);
    log->total = 0;
    KeReleaseSpinLock(&log->lock, irql);
}

ULONG SimLogRead(SIM_LOG *log, ULONG first, void *out, ULONG outSize)
{
    SIM_LOG_HEADER *header = out;
    UCHAR *dest = (UCHAR *)(header + 1);
    ULONG room, i;
    KIRQL irql;

    if (outSize < sizeof(*header))
        return 0;
    room = (outSize - sizeof(*header)) / log->entrySize;
    KeAcquireSpinLock(&log->lock, &irql);
    /* What the ring has overwritten is gone: start at the oldest entry it still holds. */
    if (log->total > log->capacity && first < log->total - log->capacity)
        first = log->total - log->capacity;
    if (first > log->total)
        first = log->total;
    header->total = log->total;
    header->first = first;
    header->entrySize = log->entrySize;
    header->count = 0;
    for (i = first; i < log->total && header->count < room; i++, header->count++)
        RtlCopyMemory(dest + (SIZE_T)header->count * log->entrySize,
                      log->entries + (SIZE_T)(i % log->capacity) * log->entrySize, log->entrySize);
    KeReleaseSpinLock(&log->lock, irql);
    return sizeof(*header) + header->count * log->entrySize;
}
