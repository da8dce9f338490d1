/* The hkport driver as Wine can load it: \\.\IoctlTest takes IOCTL_PORT_SEND_CODE and keeps
   every code it received with its arrival stamp, for tests and the key-path benchmark. */
#include "simlog.h"

static DEVICE_OBJECT *g_device;
static SIM_LOG g_received;
static SIM_LOG g_calls;
static KSPIN_LOCK g_lock;
static SIM_PORT_STATE_OUT g_state;
static const WCHAR kDeviceName[] = L"\\Device\\QvSimHkPort";
static const WCHAR kLinkName[] = L"\\DosDevices\\IoctlTest";

static NTSTATUS Complete(IRP *irp, NTSTATUS status, ULONG_PTR information)
{
    irp->IoStatus.Status = status;
    irp->IoStatus.Information = NT_SUCCESS(status) ? information : 0;
    IoCompleteRequest(irp, IO_NO_INCREMENT);
    return status;
}

static void LogCall(ULONG major, ULONG code, ULONG arg, NTSTATUS status)
{
    SIM_CALL call;
    RtlZeroMemory(&call, sizeof(call));
    call.stamp = SimNow();
    call.device = SIM_DEV_PORT;
    call.major = major;
    call.code = code;
    call.arg = arg;
    call.status = status;
    SimLogAppend(&g_calls, &call);
}

static NTSTATUS NTAPI OnCreate(DEVICE_OBJECT *device, IRP *irp)
{
    KIRQL irql;
    KeAcquireSpinLock(&g_lock, &irql);
    g_state.openHandles++;
    g_state.opens++;
    KeReleaseSpinLock(&g_lock, irql);
    LogCall(SIM_MJ_CREATE, 0, 0, STATUS_SUCCESS);
    return Complete(irp, STATUS_SUCCESS, 0);
}

static NTSTATUS NTAPI OnClose(DEVICE_OBJECT *device, IRP *irp)
{
    KIRQL irql;
    KeAcquireSpinLock(&g_lock, &irql);
    if (g_state.openHandles)
        g_state.openHandles--;
    KeReleaseSpinLock(&g_lock, irql);
    LogCall(SIM_MJ_CLOSE, 0, 0, STATUS_SUCCESS);
    return Complete(irp, STATUS_SUCCESS, 0);
}

static NTSTATUS NTAPI OnCleanup(DEVICE_OBJECT *device, IRP *irp)
{
    return Complete(irp, STATUS_SUCCESS, 0);
}

static NTSTATUS Receive(const UCHAR *in, ULONG length)
{
    SIM_RECEIVED received;
    KIRQL irql;
    if (length < 1)
        return STATUS_INVALID_PARAMETER;
    RtlZeroMemory(&received, sizeof(received));
    received.stamp = SimNow();
    received.length = length;
    RtlCopyMemory(received.bytes, in, length < sizeof(received.bytes) ? length : sizeof(received.bytes));
    SimLogAppend(&g_received, &received);
    KeAcquireSpinLock(&g_lock, &irql);
    g_state.received++;
    KeReleaseSpinLock(&g_lock, irql);
    return STATUS_SUCCESS;
}

static NTSTATUS NTAPI OnControl(DEVICE_OBJECT *device, IRP *irp)
{
    IO_STACK_LOCATION *stack = IoGetCurrentIrpStackLocation(irp);
    ULONG code = stack->Parameters.DeviceIoControl.IoControlCode;
    ULONG inLength = stack->Parameters.DeviceIoControl.InputBufferLength;
    ULONG outLength = stack->Parameters.DeviceIoControl.OutputBufferLength;
    UCHAR *buffer = irp->AssociatedIrp.SystemBuffer;
    NTSTATUS status = STATUS_SUCCESS;
    ULONG_PTR info = 0;
    ULONG first = 0;
    KIRQL irql;

    if (inLength >= sizeof(ULONG))
        RtlCopyMemory(&first, buffer, sizeof(ULONG));
    switch (code) {
    case IOCTL_PORT_SEND_CODE:
        status = Receive(buffer, inLength);
        LogCall(SIM_MJ_CONTROL, code, inLength ? buffer[0] : 0, status);
        break;
    case SIM_PORT_RECEIVED:
        info = SimLogRead(&g_received, first, buffer, outLength);
        if (!info)
            status = STATUS_BUFFER_TOO_SMALL;
        break;
    case SIM_CALLS:
        info = SimLogRead(&g_calls, first, buffer, outLength);
        if (!info)
            status = STATUS_BUFFER_TOO_SMALL;
        break;
    case SIM_PORT_STATE:
        if (outLength < sizeof(g_state)) {
            status = STATUS_BUFFER_TOO_SMALL;
            break;
        }
        KeAcquireSpinLock(&g_lock, &irql);
        RtlCopyMemory(buffer, &g_state, sizeof(g_state));
        KeReleaseSpinLock(&g_lock, irql);
        info = sizeof(g_state);
        break;
    case SIM_PORT_RESET:
        SimLogReset(&g_received);
        SimLogReset(&g_calls);
        KeAcquireSpinLock(&g_lock, &irql);
        g_state.opens = 0;
        g_state.received = 0;
        KeReleaseSpinLock(&g_lock, irql);
        break;
    default:
        status = STATUS_INVALID_DEVICE_REQUEST;
        LogCall(SIM_MJ_CONTROL, code, first, status);
        break;
    }
    return Complete(irp, status, info);
}

static void NTAPI OnUnload(DRIVER_OBJECT *driver)
{
    UNICODE_STRING link;
    if (g_device) {
        RtlInitUnicodeString(&link, kLinkName);
        IoDeleteSymbolicLink(&link);
        IoDeleteDevice(g_device);
        g_device = NULL;
    }
    SimLogFree(&g_received);
    SimLogFree(&g_calls);
}

NTSTATUS NTAPI DriverEntry(DRIVER_OBJECT *driver, UNICODE_STRING *registryPath)
{
    UNICODE_STRING name, link;
    NTSTATUS status;

    KeInitializeSpinLock(&g_lock);
    driver->DriverUnload = OnUnload;
    driver->MajorFunction[IRP_MJ_CREATE] = OnCreate;
    driver->MajorFunction[IRP_MJ_CLOSE] = OnClose;
    driver->MajorFunction[IRP_MJ_CLEANUP] = OnCleanup;
    driver->MajorFunction[IRP_MJ_DEVICE_CONTROL] = OnControl;

    status = SimLogInit(&g_received, sizeof(SIM_RECEIVED), 16384);
    if (NT_SUCCESS(status))
        status = SimLogInit(&g_calls, sizeof(SIM_CALL), 4096);
    if (NT_SUCCESS(status)) {
        RtlInitUnicodeString(&name, kDeviceName);
        status = IoCreateDevice(driver, 0, &name, FILE_DEVICE_UNKNOWN, 0, FALSE, &g_device);
    }
    if (NT_SUCCESS(status)) {
        g_device->Flags |= DO_BUFFERED_IO;
        RtlInitUnicodeString(&link, kLinkName);
        status = IoCreateSymbolicLink(&link, &name);
        if (!NT_SUCCESS(status)) {
            IoDeleteDevice(g_device);
            g_device = NULL;
        }
    }
    if (!NT_SUCCESS(status)) {
        OnUnload(driver);
        return status;
    }
    /* Wine fails the start on any non-zero status, also an informational one such as
       STATUS_OBJECT_NAME_EXISTS from a link that outlived an earlier driver. */
    return STATUS_SUCCESS;
}
