/* The keyboard's filter drivers as Wine can load them: one kernel driver serving both filter
   device names, the legacy driver's name for the win9x modes (Wine opens \\.\NAME.VXD through
   the NT namespace, so a symbolic link reaches it) and a control device for keysim. */
#include "qvfilter.h"

SIM_DEVICE g_devices[SIM_DEV_COUNT] = {
    { .deviceName = L"\\Device\\QvSimUsbFilter", .linkName = L"\\DosDevices\\QV_USB_3300_Filter" },
    { .deviceName = L"\\Device\\QvSimNtFilter", .linkName = L"\\DosDevices\\QV_3355_NT_USB_Filter_Driver" },
    { .deviceName = L"\\Device\\QvSimLegacy", .linkName = L"\\DosDevices\\QV3300.VXD" },
};
KSPIN_LOCK g_lock;
SIM_LOG g_calls;
SIM_LOG g_deliveries;
SIM_LOG g_returned;

static DEVICE_OBJECT *g_control;
static const WCHAR kControlName[] = L"\\Device\\QvSimFilter";
static const WCHAR kControlLink[] = L"\\DosDevices\\QvSimFilter";

NTSTATUS SimComplete(IRP *irp, NTSTATUS status, ULONG_PTR information)
{
    irp->IoStatus.Status = status;
    irp->IoStatus.Information = NT_SUCCESS(status) ? information : 0;
    IoCompleteRequest(irp, IO_NO_INCREMENT);
    return status;
}

/* The legacy device's service codes use every transfer method, so find both buffers. */
void SimBuffers(IRP *irp, void **in, void **out)
{
    IO_STACK_LOCATION *stack = IoGetCurrentIrpStackLocation(irp);
    switch (stack->Parameters.DeviceIoControl.IoControlCode & 3) {
    case METHOD_BUFFERED:
        *in = *out = irp->AssociatedIrp.SystemBuffer;
        break;
    case METHOD_IN_DIRECT:
    case METHOD_OUT_DIRECT:
        *in = irp->AssociatedIrp.SystemBuffer;
        *out = irp->MdlAddress ? MmGetSystemAddressForMdlSafe(irp->MdlAddress, NormalPagePriority) : NULL;
        break;
    default:
        *in = stack->Parameters.DeviceIoControl.Type3InputBuffer;
        *out = irp->UserBuffer;
        break;
    }
}

void SimLogCall(ULONG device, ULONG major, ULONG code, IRP *irp, NTSTATUS status)
{
    SIM_CALL call;
    RtlZeroMemory(&call, sizeof(call));
    call.stamp = SimNow();
    call.device = device;
    call.major = major;
    call.code = code;
    call.status = status;
    if (irp && major == SIM_MJ_CONTROL) {
        IO_STACK_LOCATION *stack = IoGetCurrentIrpStackLocation(irp);
        ULONG length = stack->Parameters.DeviceIoControl.InputBufferLength;
        void *in, *out;
        SimBuffers(irp, &in, &out);
        if (in && length >= sizeof(ULONG))
            RtlCopyMemory(&call.arg, in, sizeof(ULONG));
        else if (in && length >= 1)
            call.arg = *(UCHAR *)in;
    }
    SimLogAppend(&g_calls, &call);
}

/* A handle keeps the generation of the device it was opened on: after a removal it stays
   bad, as a handle to an unplugged device does, even once the device is back. */
BOOLEAN SimFileIsCurrent(SIM_DEVICE *d, FILE_OBJECT *file)
{
    return d->state.present && file && (ULONG_PTR)file->FsContext == (ULONG_PTR)d->state.generation + 1;
}

static ULONG IndexOf(DEVICE_OBJECT *device)
{
    return ((SIM_EXTENSION *)device->DeviceExtension)->index;
}

static NTSTATUS NTAPI OnCreate(DEVICE_OBJECT *device, IRP *irp)
{
    ULONG index = IndexOf(device);
    FILE_OBJECT *file = IoGetCurrentIrpStackLocation(irp)->FileObject;
    NTSTATUS status = STATUS_SUCCESS;
    KIRQL irql;

    if (index < SIM_DEV_COUNT) {
        SIM_DEVICE *d = &g_devices[index];
        KeAcquireSpinLock(&g_lock, &irql);
        if (!d->state.present) {
            status = STATUS_NO_SUCH_DEVICE;
        } else if (file) {
            file->FsContext = (void *)((ULONG_PTR)d->state.generation + 1);
            d->state.openHandles++;
            d->state.opens++;
        }
        KeReleaseSpinLock(&g_lock, irql);
        SimLogCall(index, SIM_MJ_CREATE, 0, irp, status);
    }
    return SimComplete(irp, status, 0);
}

static NTSTATUS NTAPI OnClose(DEVICE_OBJECT *device, IRP *irp)
{
    ULONG index = IndexOf(device);
    FILE_OBJECT *file = IoGetCurrentIrpStackLocation(irp)->FileObject;
    KIRQL irql;

    if (index < SIM_DEV_COUNT) {
        SIM_DEVICE *d = &g_devices[index];
        SimFilterFailPending(d, file, STATUS_CANCELLED);
        KeAcquireSpinLock(&g_lock, &irql);
        if (file && file->FsContext && d->state.openHandles)
            d->state.openHandles--;
        if (file)
            file->FsContext = NULL;
        KeReleaseSpinLock(&g_lock, irql);
        SimLogCall(index, SIM_MJ_CLOSE, 0, irp, STATUS_SUCCESS);
    }
    return SimComplete(irp, STATUS_SUCCESS, 0);
}

/* Requests still held for a handle being closed end with it. */
static NTSTATUS NTAPI OnCleanup(DEVICE_OBJECT *device, IRP *irp)
{
    ULONG index = IndexOf(device);
    if (index < SIM_DEV_COUNT)
        SimFilterFailPending(&g_devices[index], IoGetCurrentIrpStackLocation(irp)->FileObject, STATUS_CANCELLED);
    return SimComplete(irp, STATUS_SUCCESS, 0);
}

static NTSTATUS NTAPI OnControl(DEVICE_OBJECT *device, IRP *irp)
{
    ULONG index = IndexOf(device);
    IO_STACK_LOCATION *stack = IoGetCurrentIrpStackLocation(irp);
    ULONG code = stack->Parameters.DeviceIoControl.IoControlCode;
    SIM_DEVICE *d;
    KIRQL irql;
    BOOLEAN current;
    NTSTATUS status;

    if (index >= SIM_DEV_COUNT)
        return SimControl(irp);
    d = &g_devices[index];
    KeAcquireSpinLock(&g_lock, &irql);
    current = SimFileIsCurrent(d, stack->FileObject);
    KeReleaseSpinLock(&g_lock, irql);
    if (!current) {
        SimLogCall(index, SIM_MJ_CONTROL, code, irp, STATUS_DEVICE_NOT_CONNECTED);
        return SimComplete(irp, STATUS_DEVICE_NOT_CONNECTED, 0);
    }
    if (index == SIM_DEV_VXD)
        return SimVxdControl(d, irp);
    status = SimFilterControl(d, index, irp);
    return status;
}

static NTSTATUS CreateLink(const WCHAR *linkName, const WCHAR *deviceName)
{
    UNICODE_STRING link, target;
    RtlInitUnicodeString(&link, linkName);
    RtlInitUnicodeString(&target, deviceName);
    return IoCreateSymbolicLink(&link, &target);
}

static void DeleteLink(const WCHAR *linkName)
{
    UNICODE_STRING link;
    RtlInitUnicodeString(&link, linkName);
    IoDeleteSymbolicLink(&link);
}

static NTSTATUS CreateDevice(const WCHAR *deviceName, ULONG index, DRIVER_OBJECT *driver, DEVICE_OBJECT **out)
{
    UNICODE_STRING name;
    NTSTATUS status;
    RtlInitUnicodeString(&name, deviceName);
    status = IoCreateDevice(driver, sizeof(SIM_EXTENSION), &name, FILE_DEVICE_UNKNOWN, 0, FALSE, out);
    if (NT_SUCCESS(status)) {
        ((SIM_EXTENSION *)(*out)->DeviceExtension)->index = index;
        (*out)->Flags |= DO_BUFFERED_IO;
    }
    return status;
}

/* Unplugging: new opens fail, open handles go bad, held reads fail, queued keys are lost. */
NTSTATUS SimRemoveDevice(ULONG index)
{
    SIM_DEVICE *d = &g_devices[index];
    SIM_QUEUED dropped;
    KIRQL irql;
    BOOLEAN was;

    KeAcquireSpinLock(&g_lock, &irql);
    was = (BOOLEAN)d->state.present;
    if (was) {
        d->state.present = 0;
        d->state.generation++;
    }
    KeReleaseSpinLock(&g_lock, irql);
    if (!was)
        return STATUS_NO_SUCH_DEVICE;
    SimFilterFailPending(d, NULL, STATUS_DEVICE_NOT_CONNECTED);
    while (SimDequeue(d, &dropped))
        ;
    DeleteLink(d->linkName);
    return STATUS_SUCCESS;
}

NTSTATUS SimAddDevice(ULONG index)
{
    SIM_DEVICE *d = &g_devices[index];
    KIRQL irql;
    NTSTATUS status;

    KeAcquireSpinLock(&g_lock, &irql);
    if (d->state.present) {
        KeReleaseSpinLock(&g_lock, irql);
        return STATUS_OBJECT_NAME_EXISTS;
    }
    d->state.present = 1;
    KeReleaseSpinLock(&g_lock, irql);
    status = CreateLink(d->linkName, d->deviceName);
    if (!NT_SUCCESS(status)) {
        KeAcquireSpinLock(&g_lock, &irql);
        d->state.present = 0;
        KeReleaseSpinLock(&g_lock, irql);
    }
    return status;
}

static void NTAPI OnUnload(DRIVER_OBJECT *driver)
{
    ULONG i;
    for (i = 0; i < SIM_DEV_COUNT; i++) {
        if (g_devices[i].state.present)
            SimRemoveDevice(i);
        if (g_devices[i].device)
            IoDeleteDevice(g_devices[i].device);
        g_devices[i].device = NULL;
    }
    if (g_control) {
        DeleteLink(kControlLink);
        IoDeleteDevice(g_control);
        g_control = NULL;
    }
    SimLogFree(&g_calls);
    SimLogFree(&g_deliveries);
    SimLogFree(&g_returned);
}

NTSTATUS NTAPI DriverEntry(DRIVER_OBJECT *driver, UNICODE_STRING *registryPath)
{
    NTSTATUS status;
    ULONG i;

    KeInitializeSpinLock(&g_lock);
    driver->DriverUnload = OnUnload;
    driver->MajorFunction[IRP_MJ_CREATE] = OnCreate;
    driver->MajorFunction[IRP_MJ_CLOSE] = OnClose;
    driver->MajorFunction[IRP_MJ_CLEANUP] = OnCleanup;
    driver->MajorFunction[IRP_MJ_DEVICE_CONTROL] = OnControl;

    status = SimLogInit(&g_calls, sizeof(SIM_CALL), 4096);
    if (NT_SUCCESS(status))
        status = SimLogInit(&g_deliveries, sizeof(SIM_DELIVERY), 16384);
    if (NT_SUCCESS(status))
        status = SimLogInit(&g_returned, sizeof(SIM_RECEIVED), 4096);
    if (NT_SUCCESS(status))
        status = CreateDevice(kControlName, SIM_DEV_CONTROL, driver, &g_control);
    if (NT_SUCCESS(status)) {
        status = CreateLink(kControlLink, kControlName);
        if (!NT_SUCCESS(status)) {
            IoDeleteDevice(g_control);
            g_control = NULL;
        }
    }
    for (i = 0; i < SIM_DEV_COUNT && NT_SUCCESS(status); i++) {
        InitializeListHead(&g_devices[i].pending);
        status = CreateDevice(g_devices[i].deviceName, i, driver, &g_devices[i].device);
        if (NT_SUCCESS(status))
            status = SimAddDevice(i);
    }
    if (!NT_SUCCESS(status)) {
        OnUnload(driver);
        return status;
    }
    /* Wine fails the start on any non-zero status, also an informational one such as
       STATUS_OBJECT_NAME_EXISTS from a link that outlived an earlier driver. */
    return STATUS_SUCCESS;
}
