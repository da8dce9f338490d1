/* The filter devices' control codes as the daemon's reader threads use them: a read is held
   pending until keysim injects an event, and ends early only by cancel, close or removal. */
#include "qvfilter.h"

BOOLEAN SimDequeue(SIM_DEVICE *d, SIM_QUEUED *item)
{
    KIRQL irql;
    BOOLEAN got = FALSE;
    KeAcquireSpinLock(&g_lock, &irql);
    if (d->queued) {
        *item = d->queue[d->head];
        d->head = (d->head + 1) % SIM_QUEUE_SIZE;
        d->queued--;
        got = TRUE;
    }
    KeReleaseSpinLock(&g_lock, irql);
    return got;
}

static NTSTATUS Deliver(ULONG index, IRP *irp, const SIM_QUEUED *item)
{
    SIM_DELIVERY delivery;
    KIRQL irql;

    RtlCopyMemory(irp->AssociatedIrp.SystemBuffer, &item->event, sizeof(item->event));
    delivery.injected = item->stamp;
    delivery.delivered = SimNow();
    delivery.device = index;
    delivery.event = item->event;
    SimLogAppend(&g_deliveries, &delivery);
    KeAcquireSpinLock(&g_lock, &irql);
    g_devices[index].state.delivered++;
    KeReleaseSpinLock(&g_lock, irql);
    return SimComplete(irp, STATUS_SUCCESS, sizeof(item->event));
}

static void NTAPI CancelRead(DEVICE_OBJECT *device, IRP *irp)
{
    KIRQL irql;
    IoReleaseCancelSpinLock(irp->CancelIrql);
    KeAcquireSpinLock(&g_lock, &irql);
    RemoveEntryList(&irp->Tail.Overlay.ListEntry);
    InitializeListHead(&irp->Tail.Overlay.ListEntry);
    KeReleaseSpinLock(&g_lock, irql);
    SimComplete(irp, STATUS_CANCELLED, 0);
}

/* Takes the oldest held read (of `file`, if given) off the list. One whose cancel routine
   has already been claimed stays for that routine to finish. Called with g_lock held. */
static IRP *TakePending(SIM_DEVICE *d, FILE_OBJECT *file)
{
    LIST_ENTRY *entry;
    for (entry = d->pending.Flink; entry != &d->pending; entry = entry->Flink) {
        IRP *irp = CONTAINING_RECORD(entry, IRP, Tail.Overlay.ListEntry);
        if (file && IoGetCurrentIrpStackLocation(irp)->FileObject != file)
            continue;
        if (!IoSetCancelRoutine(irp, NULL))
            continue;
        RemoveEntryList(entry);
        InitializeListHead(entry);
        return irp;
    }
    return NULL;
}

void SimFilterFailPending(SIM_DEVICE *d, FILE_OBJECT *file, NTSTATUS status)
{
    for (;;) {
        KIRQL irql;
        IRP *irp;
        KeAcquireSpinLock(&g_lock, &irql);
        irp = TakePending(d, file);
        KeReleaseSpinLock(&g_lock, irql);
        if (!irp)
            return;
        SimComplete(irp, status, 0);
    }
}

static NTSTATUS ReadEvent(SIM_DEVICE *d, ULONG index, IRP *irp, ULONG outLength)
{
    SIM_QUEUED item;
    KIRQL irql;

    if (outLength < sizeof(SIM_KEY_EVENT))
        return SimComplete(irp, STATUS_BUFFER_TOO_SMALL, 0);
    KeAcquireSpinLock(&g_lock, &irql);
    if (d->queued) {
        item = d->queue[d->head];
        d->head = (d->head + 1) % SIM_QUEUE_SIZE;
        d->queued--;
        KeReleaseSpinLock(&g_lock, irql);
        return Deliver(index, irp, &item);
    }
    IoSetCancelRoutine(irp, CancelRead);
    if (irp->Cancel && IoSetCancelRoutine(irp, NULL)) {
        KeReleaseSpinLock(&g_lock, irql);
        return SimComplete(irp, STATUS_CANCELLED, 0);
    }
    IoMarkIrpPending(irp);
    InsertTailList(&d->pending, &irp->Tail.Overlay.ListEntry);
    KeReleaseSpinLock(&g_lock, irql);
    return STATUS_PENDING;
}

NTSTATUS SimFilterControl(SIM_DEVICE *d, ULONG index, IRP *irp)
{
    IO_STACK_LOCATION *stack = IoGetCurrentIrpStackLocation(irp);
    ULONG code = stack->Parameters.DeviceIoControl.IoControlCode;
    ULONG inLength = stack->Parameters.DeviceIoControl.InputBufferLength;
    ULONG outLength = stack->Parameters.DeviceIoControl.OutputBufferLength;
    ULONG *buffer = irp->AssociatedIrp.SystemBuffer;
    NTSTATUS status = STATUS_SUCCESS;
    ULONG_PTR info = 0;
    KIRQL irql;

    switch (code) {
    case IOCTL_FILTER_BEGIN:
        KeAcquireSpinLock(&g_lock, &irql);
        d->state.begins++;
        KeReleaseSpinLock(&g_lock, irql);
        break;
    case IOCTL_FILTER_READ_EVENT:
        /* Logged without the request: once held, another thread may complete it. */
        status = ReadEvent(d, index, irp, outLength);
        SimLogCall(index, SIM_MJ_CONTROL, code, NULL, status);
        return status;
    case IOCTL_FILTER_SET_ACTIVE:
        if (inLength < sizeof(ULONG)) {
            status = STATUS_INVALID_PARAMETER;
            break;
        }
        KeAcquireSpinLock(&g_lock, &irql);
        d->state.active = buffer[0];
        d->state.setActiveCalls++;
        KeReleaseSpinLock(&g_lock, irql);
        break;
    case IOCTL_FILTER_DEVICE_COUNT:
        if (outLength < sizeof(ULONG)) {
            status = STATUS_BUFFER_TOO_SMALL;
            break;
        }
        KeAcquireSpinLock(&g_lock, &irql);
        buffer[0] = d->state.count;
        KeReleaseSpinLock(&g_lock, irql);
        info = sizeof(ULONG);
        break;
    default:
        status = STATUS_INVALID_DEVICE_REQUEST;
        break;
    }
    SimLogCall(index, SIM_MJ_CONTROL, code, irp, status);
    return SimComplete(irp, status, info);
}

/* A key event: straight into a held read if there is one, else queued. */
NTSTATUS SimFilterInject(ULONG index, const SIM_KEY_EVENT *event, SIM_INJECT_OUT *out)
{
    SIM_DEVICE *d = &g_devices[index];
    SIM_QUEUED item;
    IRP *irp = NULL;
    KIRQL irql;

    item.event = *event;
    item.stamp = SimNow();
    KeAcquireSpinLock(&g_lock, &irql);
    if (!d->state.present) {
        KeReleaseSpinLock(&g_lock, irql);
        return STATUS_NO_SUCH_DEVICE;
    }
    if (index != SIM_DEV_VXD)
        irp = TakePending(d, NULL);
    if (!irp) {
        if (d->queued == SIM_QUEUE_SIZE) {
            KeReleaseSpinLock(&g_lock, irql);
            return STATUS_DEVICE_BUSY;
        }
        d->queue[(d->head + d->queued) % SIM_QUEUE_SIZE] = item;
        d->queued++;
    }
    out->stamp = item.stamp;
    out->seq = d->state.injected++;
    out->window = d->state.window;
    out->message = d->state.message;
    out->enabled = d->state.enabled;
    KeReleaseSpinLock(&g_lock, irql);
    if (irp)
        Deliver(index, irp, &item);
    return STATUS_SUCCESS;
}
