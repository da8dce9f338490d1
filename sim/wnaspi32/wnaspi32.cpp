// Stand-in for an installed ASPI manager: a SCSI bus described by WNASPI32.ini beside the
// DLL, a CD-ROM whose play position moves by a set step per request (answered at once,
// later from a thread, or never until aborted), and WNASPI32.log with one line per call,
// so a test can see every request block it was sent.
#include "aspi.h"

#include <stdio.h>
#include <string.h>

namespace {

struct Address {
    int ha, target, lun;
};

struct Script {
    int support;
    int adapters;
    int targets;
    Address cdrom;
    Address disk;
    int pending;
    int subqStatus;
    DWORD subqAddress;
    DWORD subqStep;
    int subqFailFrom;
    DWORD mechLba;
    DWORD mechStep;
    int mechFailFrom;
};

char g_iniPath[MAX_PATH];
char g_logPath[MAX_PATH];
Script g_script;
int g_subqCalls;
int g_mechCalls;

int ReadInt(const char* section, const char* key, int fallback)
{
    return (int)GetPrivateProfileIntA(section, key, fallback, g_iniPath);
}

Address ReadAddress(const char* key)
{
    Address address = { -1, -1, -1 };
    char text[64];
    GetPrivateProfileStringA("bus", key, "", text, sizeof(text), g_iniPath);
    if (text[0])
        sscanf(text, "%d,%d,%d", &address.ha, &address.target, &address.lun);
    return address;
}

void LoadScript(HMODULE self)
{
    DWORD n = GetModuleFileNameA(self, g_iniPath, MAX_PATH - 4);
    char* dot = strrchr(g_iniPath, '.');
    if (n == 0 || !dot)
        return;
    strcpy(dot, ".ini");
    memcpy(g_logPath, g_iniPath, sizeof(g_logPath));
    strcpy(strrchr(g_logPath, '.'), ".log");
    g_script.support = ReadInt("bus", "support", SS_COMP);
    g_script.adapters = ReadInt("bus", "adapters", 1);
    g_script.targets = ReadInt("bus", "targets", 0);
    g_script.cdrom = ReadAddress("cdrom");
    g_script.disk = ReadAddress("disk");
    g_script.pending = ReadInt("bus", "pending", 0);
    g_script.subqStatus = ReadInt("subq", "status", 0x15);
    g_script.subqAddress = (DWORD)ReadInt("subq", "address", 0);
    g_script.subqStep = (DWORD)ReadInt("subq", "step", 0);
    g_script.subqFailFrom = ReadInt("subq", "failfrom", 0);
    g_script.mechLba = (DWORD)ReadInt("mech", "lba", 0);
    g_script.mechStep = (DWORD)ReadInt("mech", "step", 0);
    g_script.mechFailFrom = ReadInt("mech", "failfrom", 0);
}

void Log(const char* line)
{
    HANDLE file = CreateFileA(g_logPath, FILE_APPEND_DATA, FILE_SHARE_READ, NULL, OPEN_ALWAYS, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written;
    WriteFile(file, line, (DWORD)strlen(line), &written, NULL);
    WriteFile(file, "\r\n", 2, &written, NULL);
    CloseHandle(file);
}

bool Is(const Address& address, int ha, int target, int lun)
{
    return address.ha == ha && address.target == target && address.lun == lun;
}

void PutBigEndian(BYTE* out, DWORD value, int count)
{
    for (int i = count - 1; i >= 0; --i, value >>= 8)
        out[i] = (BYTE)value;
}

// The drive's answer to one command block; false for a command the drive rejects.
bool Answer(const BYTE* cdb, BYTE* data, DWORD* length)
{
    ZeroMemory(data, *length);
    switch (cdb[0]) {
    case 0x12: {  // INQUIRY
        data[0] = ASPI_DTYPE_CDROM;
        memcpy(data + 8, "QVSIM   CD-ROM STAND-IN 1.0 ", 28);
        *length = 36;
        return true;
    }
    case 0x42: {  // READ SUB-CHANNEL, current position
        ++g_subqCalls;
        if (g_script.subqFailFrom && g_subqCalls >= g_script.subqFailFrom)
            return false;
        data[1] = (BYTE)g_script.subqStatus;
        data[3] = 12;
        data[4] = 1;
        data[6] = 1;
        data[7] = 1;
        PutBigEndian(data + 8, g_script.subqAddress + g_script.subqStep * (DWORD)(g_subqCalls - 1), 4);
        *length = 16;
        return true;
    }
    case 0xBD: {  // MECHANISM STATUS
        ++g_mechCalls;
        if (g_script.mechFailFrom && g_mechCalls >= g_script.mechFailFrom)
            return false;
        data[1] = g_script.mechStep ? 0x20 : 0;
        PutBigEndian(data + 2, g_script.mechLba + g_script.mechStep * (DWORD)(g_mechCalls - 1), 3);
        *length = 8;
        return true;
    }
    }
    return false;
}

struct Completion {
    SRB_ExecSCSICmd* srb;
    BYTE status;
    HMODULE keep;
};

HMODULE g_self;
SRB_ExecSCSICmd* g_hung;

// Holds its own reference on the DLL, so a caller may free it as soon as the event is set.
DWORD WINAPI CompleteLater(LPVOID param)
{
    Completion* completion = (Completion*)param;
    HMODULE keep = completion->keep;
    Sleep(30);
    SRB_ExecSCSICmd* srb = completion->srb;
    BYTE status = completion->status;
    HeapFree(GetProcessHeap(), 0, completion);
    srb->SRB_Status = status;
    if (srb->SRB_Flags & SRB_EVENT_NOTIFY)
        SetEvent((HANDLE)srb->SRB_PostProc);
    FreeLibraryAndExitThread(keep, 0);
    return 0;
}

[[maybe_unused]] BYTE Execute(SRB_ExecSCSICmd* srb)
{
    BYTE status = SS_ERR;
    if (Is(g_script.cdrom, srb->SRB_HaId, srb->SRB_Target, srb->SRB_Lun) && srb->SRB_CDBLen <= 16) {
        BYTE data[64];
        DWORD length = sizeof(data);
        if (Answer(srb->CDBByte, data, &length)) {
            if (srb->SRB_BufPointer)
                memcpy(srb->SRB_BufPointer, data, length < srb->SRB_BufLen ? length : srb->SRB_BufLen);
            status = SS_COMP;
        } else {
            srb->SRB_TargStat = 2;  // check condition
        }
    }
    if (g_script.pending == 2) {
        // A request the drive never finishes: only an abort ends it.
        g_hung = srb;
        srb->SRB_Status = SS_PENDING;
        return SS_PENDING;
    }
    Completion* completion = NULL;
    if (g_script.pending)
        completion = (Completion*)HeapAlloc(GetProcessHeap(), 0, sizeof(Completion));
    if (completion) {
        srb->SRB_Status = SS_PENDING;
        completion->srb = srb;
        completion->status = status;
        char self[MAX_PATH];
        GetModuleFileNameA(g_self, self, sizeof(self));
        completion->keep = LoadLibraryA(self);
        HANDLE thread = CreateThread(NULL, 0, CompleteLater, completion, 0, NULL);
        if (thread) {
            CloseHandle(thread);
            return SS_PENDING;
        }
        FreeLibrary(completion->keep);
        HeapFree(GetProcessHeap(), 0, completion);
    }
    srb->SRB_Status = status;
    return status;
}

} // namespace

extern "C" __declspec(dllexport) DWORD __cdecl GetASPI32SupportInfo(void)
{
    DWORD result = ((DWORD)(BYTE)g_script.support << 8) | (BYTE)g_script.adapters;
    char line[64];
    sprintf(line, "info -> %04lx", (unsigned long)result);
    Log(line);
    return result;
}

#ifndef QV_ASPI_NO_SEND
extern "C" __declspec(dllexport) DWORD __cdecl SendASPI32Command(void* block)
{
    char line[256];
    if (!block) {
        Log("null -> 04");
        return SS_ERR;
    }
    SRB_Header* header = (SRB_Header*)block;
    BYTE ha = header->SRB_HaId;
    switch (header->SRB_Cmd) {
    case SC_HA_INQUIRY: {
        SRB_HAInquiry* srb = (SRB_HAInquiry*)block;
        srb->HA_Count = (BYTE)g_script.adapters;
        if (ha < g_script.adapters) {
            srb->HA_SCSI_ID = 7;
            memcpy(srb->HA_ManagerId, "QVSIM ASPI      ", 16);
            memcpy(srb->HA_Identifier, "QVSIM HOST      ", 16);
            srb->HA_Unique[3] = (BYTE)g_script.targets;
            srb->SRB_Status = SS_COMP;
        } else {
            srb->SRB_Status = SS_INVALID_HA;
        }
        sprintf(line, "inquiry ha=%u -> %02x", ha, srb->SRB_Status);
        break;
    }
    case SC_GET_DEV_TYPE: {
        SRB_GDEVBlock* srb = (SRB_GDEVBlock*)block;
        srb->SRB_Status = SS_COMP;
        if (Is(g_script.cdrom, ha, srb->SRB_Target, srb->SRB_Lun))
            srb->SRB_DeviceType = ASPI_DTYPE_CDROM;
        else if (Is(g_script.disk, ha, srb->SRB_Target, srb->SRB_Lun))
            srb->SRB_DeviceType = 0;
        else
            srb->SRB_Status = SS_NO_DEVICE;
        sprintf(line, "devtype ha=%u target=%u lun=%u -> %02x type=%02x", ha, srb->SRB_Target, srb->SRB_Lun,
                srb->SRB_Status, srb->SRB_DeviceType);
        break;
    }
    case SC_EXEC_SCSI_CMD: {
        SRB_ExecSCSICmd* srb = (SRB_ExecSCSICmd*)block;
        int n = sprintf(line, "exec ha=%u target=%u lun=%u flags=%02x buflen=%lu senselen=%u post=%d cdb=", ha,
                        srb->SRB_Target, srb->SRB_Lun, srb->SRB_Flags, (unsigned long)srb->SRB_BufLen,
                        srb->SRB_SenseLen, srb->SRB_PostProc != NULL);
        for (int i = 0; i < srb->SRB_CDBLen && i < 16; ++i)
            n += sprintf(line + n, "%s%02x", i ? " " : "", srb->CDBByte[i]);
        BYTE status = Execute(srb);
        sprintf(line + n, " -> %02x", status);
        Log(line);
        return status;
    }
    case SC_ABORT_SRB: {
        SRB_Abort* srb = (SRB_Abort*)block;
        int found = srb->SRB_ToAbort && srb->SRB_ToAbort == g_hung;
        if (found) {
            g_hung->SRB_Status = 0x02;  // SS_ABORTED
            g_hung = NULL;
        }
        srb->SRB_Status = SS_COMP;
        sprintf(line, "abort ha=%u found=%d", ha, found);
        break;
    }
    default:
        header->SRB_Status = SS_ERR;
        sprintf(line, "command %u -> 04", header->SRB_Cmd);
        break;
    }
    Log(line);
    return header->SRB_Status;
}
#endif

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        g_self = instance;
        LoadScript(instance);
    }
    return TRUE;
}
