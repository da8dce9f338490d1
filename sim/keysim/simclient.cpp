// Requests to the driver stand-ins' private control codes; see simclient.h.
#include "simclient.h"

HANDLE SimOpen(const char* path)
{
    HANDLE device = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, NULL, OPEN_EXISTING, 0, NULL);
    return device == INVALID_HANDLE_VALUE ? NULL : device;
}

static bool Request(const char* path, DWORD code, const void* in, DWORD inSize, void* out, DWORD outSize,
                    DWORD* got)
{
    HANDLE device = SimOpen(path);
    if (!device)
        return false;
    DWORD bytes = 0;
    BOOL ok = DeviceIoControl(device, code, (void*)in, inSize, out, outSize, &bytes, NULL);
    DWORD error = GetLastError();
    CloseHandle(device);
    if (got)
        *got = bytes;
    SetLastError(error);
    return ok != FALSE;
}

bool SimInjectOn(HANDLE control, ULONG device, ULONG code, ULONG type, ULONG flags, SIM_INJECT_OUT* out)
{
    SIM_INJECT_IN in = { device, { code, type, flags } };
    SIM_INJECT_OUT result;
    ZeroMemory(&result, sizeof(result));
    DWORD got = 0;
    if (!DeviceIoControl(control, SIM_INJECT, &in, sizeof(in), &result, sizeof(result), &got, NULL) ||
        got != sizeof(result))
        return false;
    if (out)
        *out = result;
    return true;
}

bool SimInject(ULONG device, ULONG code, ULONG type, ULONG flags, SIM_INJECT_OUT* out)
{
    HANDLE control = SimOpen(SIM_PATH_CONTROL);
    if (!control)
        return false;
    bool ok = SimInjectOn(control, device, code, type, flags, out);
    DWORD error = GetLastError();
    CloseHandle(control);
    SetLastError(error);
    return ok;
}

static bool DeviceRequest(DWORD code, ULONG device, ULONG value)
{
    SIM_DEVICE_ARG arg = { device, value };
    return Request(SIM_PATH_CONTROL, code, &arg, sizeof(arg), NULL, 0, NULL);
}

bool SimSetCount(ULONG device, ULONG count)
{
    return DeviceRequest(SIM_SET_COUNT, device, count);
}

bool SimRemove(ULONG device)
{
    return DeviceRequest(SIM_REMOVE, device, 0);
}

bool SimAdd(ULONG device)
{
    return DeviceRequest(SIM_ADD, device, 0);
}

bool SimState(ULONG device, SIM_DEVICE_STATE* state)
{
    SIM_DEVICE_ARG arg = { device, 0 };
    DWORD got = 0;
    return Request(SIM_PATH_CONTROL, SIM_STATE, &arg, sizeof(arg), state, sizeof(*state), &got) &&
           got == sizeof(*state);
}

bool SimBeep(SIM_INJECT_OUT* out)
{
    DWORD got = 0;
    return Request(SIM_PATH_CONTROL, SIM_BEEP, NULL, 0, out, sizeof(*out), &got) && got == sizeof(*out);
}

bool SimReset()
{
    return Request(SIM_PATH_CONTROL, SIM_RESET, NULL, 0, NULL, 0, NULL);
}

bool SimPortState(SIM_PORT_STATE_OUT* state)
{
    DWORD got = 0;
    return Request(SIM_PATH_PORT, SIM_PORT_STATE, NULL, 0, state, sizeof(*state), &got) && got == sizeof(*state);
}

bool SimPortReset()
{
    return Request(SIM_PATH_PORT, SIM_PORT_RESET, NULL, 0, NULL, 0, NULL);
}

bool SimPortSendOn(HANDLE port, UCHAR code, LONGLONG* sent)
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    DWORD got = 0;
    BOOL ok = DeviceIoControl(port, IOCTL_PORT_SEND_CODE, &code, 1, NULL, 0, &got, NULL);
    if (sent)
        *sent = now.QuadPart;
    return ok != FALSE;
}

bool SimPortSend(UCHAR code, LONGLONG* sent)
{
    HANDLE port = SimOpen(SIM_PATH_PORT);
    if (!port)
        return false;
    bool ok = SimPortSendOn(port, code, sent);
    DWORD error = GetLastError();
    CloseHandle(port);
    SetLastError(error);
    return ok;
}

// Reads a log in chunks until it has everything appended so far.
template <typename T>
static bool ReadLog(const char* path, DWORD code, ULONG first, std::vector<T>* out, ULONG* total)
{
    const DWORD kChunk = 64 * 1024;
    std::vector<BYTE> buffer(kChunk);
    out->clear();
    for (;;) {
        DWORD got = 0;
        if (!Request(path, code, &first, sizeof(first), buffer.data(), kChunk, &got) || got < sizeof(SIM_LOG_HEADER))
            return false;
        SIM_LOG_HEADER header;
        CopyMemory(&header, buffer.data(), sizeof(header));
        if (header.entrySize != sizeof(T) || got < sizeof(header) + (DWORD)header.count * sizeof(T)) {
            SetLastError(ERROR_INVALID_DATA);
            return false;
        }
        for (ULONG i = 0; i < header.count; i++) {
            T entry;
            CopyMemory(&entry, buffer.data() + sizeof(header) + i * sizeof(T), sizeof(T));
            out->push_back(entry);
        }
        if (total)
            *total = header.total;
        first = header.first + header.count;
        if (header.count == 0 || first >= header.total)
            return true;
    }
}

bool SimReadCalls(const char* path, ULONG first, std::vector<SIM_CALL>* out, ULONG* total)
{
    return ReadLog(path, SIM_CALLS, first, out, total);
}

bool SimReadDeliveries(ULONG first, std::vector<SIM_DELIVERY>* out, ULONG* total)
{
    return ReadLog(SIM_PATH_CONTROL, SIM_DELIVERIES, first, out, total);
}

bool SimReadReturned(ULONG first, std::vector<SIM_RECEIVED>* out, ULONG* total)
{
    return ReadLog(SIM_PATH_CONTROL, SIM_RETURNED, first, out, total);
}

bool SimReadReceived(ULONG first, std::vector<SIM_RECEIVED>* out, ULONG* total)
{
    return ReadLog(SIM_PATH_PORT, SIM_PORT_RECEIVED, first, out, total);
}

static const char* const kDeviceNames[SIM_DEV_COUNT] = { "usb", "nt", "vxd" };

ULONG SimDeviceByName(const char* name)
{
    for (ULONG i = 0; i < SIM_DEV_COUNT; i++)
        if (lstrcmpiA(name, kDeviceNames[i]) == 0)
            return i;
    return ~0u;
}

const char* SimDeviceName(ULONG device)
{
    return device < SIM_DEV_COUNT ? kDeviceNames[device] : "?";
}
