/* keysim's private control codes on the filter stand-in's control device: play the keyboard
   (inject, plug, unplug, device count, beep) and read back what the daemon did. */
#include "qvfilter.h"

static void FillState(SIM_DEVICE *d, SIM_DEVICE_STATE *state)
{
    LIST_ENTRY *entry;
    KIRQL irql;
    KeAcquireSpinLock(&g_lock, &irql);
    *state = d->state;
    state->queued = d->queued;
    state->pendingReads = 0;
    for (entry = d->pending.Flink; entry != &d->pending; entry = entry->Flink)
        state->pendingReads++;
    KeReleaseSpinLock(&g_lock, irql);
}

static void Reset(void)
{
    SIM_QUEUED dropped;
    ULONG i;
    KIRQL irql;
    for (i = 0; i < SIM_DEV_COUNT; i++) {
        SIM_DEVICE *d = &g_devices[i];
        if (!d->state.present)
            SimAddDevice(i);
        while (SimDequeue(d, &dropped))
            ;
        /* Handles open now stay usable; only the tallies start again. */
        KeAcquireSpinLock(&g_lock, &irql);
        d->state.count = 0;
        d->state.active = 0;
        d->state.setActiveCalls = 0;
        d->state.begins = 0;
        d->state.opens = 0;
        d->state.injected = 0;
        d->state.delivered = 0;
        d->state.window = 0;
        d->state.message = 0;
        d->state.enabled = 0;
        d->state.beeps = 0;
        KeReleaseSpinLock(&g_lock, irql);
    }
    SimLogReset(&g_calls);
    SimLogReset(&g_deliveries);
    SimLogReset(&g_returned);
}

NTSTATUS SimControl(IRP *irp)
{
    IO_STACK_LOCATION *stack = IoGetCurrentIrpStackLocation(irp);
    ULONG code = stack->Parameters.DeviceIoControl.IoControlCode;
    ULONG inLength = stack->Parameters.DeviceIoControl.InputBufferLength;
    ULONG outLength = stack->Parameters.DeviceIoControl.OutputBufferLength;
    void *buffer = irp->AssociatedIrp.SystemBuffer;
    SIM_DEVICE_ARG arg = { 0, 0 };
    SIM_INJECT_IN inject;
    SIM_INJECT_OUT injected;
    NTSTATUS status = STATUS_SUCCESS;
    ULONG_PTR info = 0;
    ULONG first = 0;
    KIRQL irql;

    if (inLength >= sizeof(ULONG))
        RtlCopyMemory(&first, buffer, sizeof(ULONG));
    if (inLength >= sizeof(arg))
        RtlCopyMemory(&arg, buffer, sizeof(arg));
    switch (code) {
    case SIM_INJECT:
        if (inLength < sizeof(inject) || outLength < sizeof(injected)) {
            status = STATUS_INVALID_PARAMETER;
            break;
        }
        RtlCopyMemory(&inject, buffer, sizeof(inject));
        if (inject.device >= SIM_DEV_COUNT) {
            status = STATUS_INVALID_PARAMETER;
            break;
        }
        status = SimFilterInject(inject.device, &inject.event, &injected);
        if (NT_SUCCESS(status)) {
            RtlCopyMemory(buffer, &injected, sizeof(injected));
            info = sizeof(injected);
        }
        break;
    case SIM_SET_COUNT:
    case SIM_REMOVE:
    case SIM_ADD:
    case SIM_STATE:
        if (inLength < sizeof(arg) || arg.device >= SIM_DEV_COUNT) {
            status = STATUS_INVALID_PARAMETER;
            break;
        }
        if (code == SIM_SET_COUNT) {
            KeAcquireSpinLock(&g_lock, &irql);
            g_devices[arg.device].state.count = arg.value;
            KeReleaseSpinLock(&g_lock, irql);
        } else if (code == SIM_REMOVE) {
            status = SimRemoveDevice(arg.device);
        } else if (code == SIM_ADD) {
            status = SimAddDevice(arg.device);
        } else if (outLength < sizeof(SIM_DEVICE_STATE)) {
            status = STATUS_BUFFER_TOO_SMALL;
        } else {
            FillState(&g_devices[arg.device], buffer);
            info = sizeof(SIM_DEVICE_STATE);
        }
        break;
    case SIM_BEEP:
        if (outLength < sizeof(injected)) {
            status = STATUS_BUFFER_TOO_SMALL;
            break;
        }
        RtlZeroMemory(&injected, sizeof(injected));
        KeAcquireSpinLock(&g_lock, &irql);
        g_devices[SIM_DEV_VXD].state.beeps++;
        injected.window = g_devices[SIM_DEV_VXD].state.window;
        injected.message = g_devices[SIM_DEV_VXD].state.message;
        injected.enabled = g_devices[SIM_DEV_VXD].state.enabled;
        KeReleaseSpinLock(&g_lock, irql);
        injected.stamp = SimNow();
        RtlCopyMemory(buffer, &injected, sizeof(injected));
        info = sizeof(injected);
        break;
    case SIM_RESET:
        Reset();
        break;
    case SIM_CALLS:
        info = SimLogRead(&g_calls, first, buffer, outLength);
        break;
    case SIM_DELIVERIES:
        info = SimLogRead(&g_deliveries, first, buffer, outLength);
        break;
    case SIM_RETURNED:
        info = SimLogRead(&g_returned, first, buffer, outLength);
        break;
    default:
        status = STATUS_INVALID_DEVICE_REQUEST;
        break;
    }
    if (code == SIM_CALLS || code == SIM_DELIVERIES || code == SIM_RETURNED) {
        if (!info)
            status = STATUS_BUFFER_TOO_SMALL;
    }
    return SimComplete(irp, status, info);
}
