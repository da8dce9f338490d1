/* The legacy driver's service codes (the win9x modes' \\.\QV3300.VXD). The codes are small
   numbers, so they arrive with every transfer method; all are answered at once. A driver
   cannot post window messages here, so SIM_INJECT hands keysim the window and message to
   post on the driver's behalf. */
#include "qvfilter.h"

static BOOLEAN ReadUlong(const void *in, ULONG length, ULONG *value)
{
    if (!in || length < sizeof(ULONG))
        return FALSE;
    RtlCopyMemory(value, in, sizeof(ULONG));
    return TRUE;
}

NTSTATUS SimVxdControl(SIM_DEVICE *d, IRP *irp)
{
    IO_STACK_LOCATION *stack = IoGetCurrentIrpStackLocation(irp);
    ULONG code = stack->Parameters.DeviceIoControl.IoControlCode;
    ULONG inLength = stack->Parameters.DeviceIoControl.InputBufferLength;
    ULONG outLength = stack->Parameters.DeviceIoControl.OutputBufferLength;
    NTSTATUS status = STATUS_SUCCESS;
    ULONG_PTR info = 0;
    SIM_QUEUED item;
    SIM_RECEIVED received;
    SIM_DELIVERY delivery;
    void *in, *out;
    ULONG value;
    KIRQL irql;

    SimBuffers(irp, &in, &out);
    switch (code) {
    case VXD_SET_WINDOW:
    case VXD_SET_MESSAGE:
    case VXD_ENABLE:
        if (!ReadUlong(in, inLength, &value)) {
            status = STATUS_INVALID_PARAMETER;
            break;
        }
        KeAcquireSpinLock(&g_lock, &irql);
        if (code == VXD_SET_WINDOW)
            d->state.window = value;
        else if (code == VXD_SET_MESSAGE)
            d->state.message = value;
        else
            d->state.enabled = value;
        KeReleaseSpinLock(&g_lock, irql);
        break;
    case VXD_READ_BEEP:
        if (!out || outLength < 1)
            break;
        KeAcquireSpinLock(&g_lock, &irql);
        if (d->state.beeps) {
            d->state.beeps--;
            *(UCHAR *)out = 1;
            info = 1;
        }
        KeReleaseSpinLock(&g_lock, irql);
        break;
    case VXD_READ_EVENT:
        /* Nothing waiting answers with no bytes, which the daemon skips. */
        if (!out || outLength < sizeof(SIM_KEY_EVENT))
            break;
        if (!SimDequeue(d, &item))
            break;
        RtlCopyMemory(out, &item.event, sizeof(item.event));
        info = sizeof(item.event);
        delivery.injected = item.stamp;
        delivery.delivered = SimNow();
        delivery.device = SIM_DEV_VXD;
        delivery.event = item.event;
        SimLogAppend(&g_deliveries, &delivery);
        KeAcquireSpinLock(&g_lock, &irql);
        d->state.delivered++;
        KeReleaseSpinLock(&g_lock, irql);
        break;
    case VXD_SEND_CODE:
        if (!in || inLength < 1) {
            status = STATUS_INVALID_PARAMETER;
            break;
        }
        RtlZeroMemory(&received, sizeof(received));
        received.stamp = SimNow();
        received.length = inLength;
        RtlCopyMemory(received.bytes, in, inLength < sizeof(received.bytes) ? inLength : sizeof(received.bytes));
        SimLogAppend(&g_returned, &received);
        break;
    default:
        status = STATUS_INVALID_DEVICE_REQUEST;
        break;
    }
    SimLogCall(SIM_DEV_VXD, SIM_MJ_CONTROL, code, irp, status);
    return SimComplete(irp, status, info);
}
