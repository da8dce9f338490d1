/* State shared by the files of the filter stand-in: the keyboard devices it serves (two
   filter devices and the legacy device), its control device and its logs. */
#ifndef QV_QVFILTER_H
#define QV_QVFILTER_H

#include "simlog.h"

#define SIM_QUEUE_SIZE 256

typedef struct {
    SIM_KEY_EVENT event;
    LONGLONG stamp;
} SIM_QUEUED;

typedef struct {
    const WCHAR *deviceName;
    const WCHAR *linkName;
    DEVICE_OBJECT *device;
    SIM_DEVICE_STATE state;   /* pendingReads and queued are filled in when asked */
    SIM_QUEUED queue[SIM_QUEUE_SIZE];
    ULONG head;
    ULONG queued;
    LIST_ENTRY pending;       /* held IOCTL_FILTER_READ_EVENT requests */
} SIM_DEVICE;

/* The device extension of every device object: which one it is. */
typedef struct {
    ULONG index;              /* SIM_DEV_* or SIM_DEV_CONTROL */
} SIM_EXTENSION;

extern SIM_DEVICE g_devices[SIM_DEV_COUNT];
extern KSPIN_LOCK g_lock;     /* guards g_devices */
extern SIM_LOG g_calls;
extern SIM_LOG g_deliveries;
extern SIM_LOG g_returned;

/* qvfilter.c */
NTSTATUS SimComplete(IRP *irp, NTSTATUS status, ULONG_PTR information);
void SimBuffers(IRP *irp, void **in, void **out);
void SimLogCall(ULONG device, ULONG major, ULONG code, IRP *irp, NTSTATUS status);
BOOLEAN SimFileIsCurrent(SIM_DEVICE *d, FILE_OBJECT *file);
NTSTATUS SimRemoveDevice(ULONG index);
NTSTATUS SimAddDevice(ULONG index);

/* filterio.c */
NTSTATUS SimFilterControl(SIM_DEVICE *d, ULONG index, IRP *irp);
NTSTATUS SimFilterInject(ULONG index, const SIM_KEY_EVENT *event, SIM_INJECT_OUT *out);
/* Completes held reads with `status`; only those of `file` unless it is NULL. */
void SimFilterFailPending(SIM_DEVICE *d, FILE_OBJECT *file, NTSTATUS status);
BOOLEAN SimDequeue(SIM_DEVICE *d, SIM_QUEUED *item);

/* legacyvxd.c */
NTSTATUS SimVxdControl(SIM_DEVICE *d, IRP *irp);

/* simcontrol.c */
NTSTATUS SimControl(IRP *irp);

#endif
