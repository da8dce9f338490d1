// ASPI served by the library itself where no ASPI library is installed: the two entry
// points answer from a table of CD-ROM drives probed once through SCSI pass-through.
#include "aspiemu.h"

#include "aspi.h"

#include <ntddscsi.h>
#include <stddef.h>

AspiPlatform g_aspiPlatform = { GetDriveTypeA, CreateFileA, DeviceIoControl, CloseHandle };

namespace {

const int kDriveCount = 26;
const int kInquiryLength = 36;
const BYTE kInquiryCommand = 0x12;

struct EmuDrive {
    BYTE pathId;
    BYTE targetId;
    BYTE lun;
    BYTE driveIndex;
    BOOL valid;
    HANDLE device;
    BYTE inquiry[kInquiryLength];
};

// The pass-through block and its sense area share one buffer, in and out.
struct PassThroughRequest {
    SCSI_PASS_THROUGH_DIRECT spt;
    ULONG filler;
    BYTE sense[32];
};
#ifndef _WIN64
static_assert(sizeof(SCSI_PASS_THROUGH_DIRECT) == 44 && offsetof(PassThroughRequest, sense) == 48 &&
                  sizeof(PassThroughRequest) == 80,
              "pass-through layout of 32-bit Windows");
#endif

int g_initialized;
BYTE g_adapterCount;
EmuDrive g_drives[kDriveCount];

DWORD DriveAccess(void)
{
    OSVERSIONINFOA version;
    version.dwOSVersionInfoSize = sizeof(version);
    if (GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_NT && version.dwMajorVersion > 4)
        return GENERIC_READ | GENERIC_WRITE;
    return GENERIC_READ;
}

HANDLE OpenDrive(int index)
{
    char name[8];
    wsprintfA(name, "\\\\.\\%c:", 'A' + index);
    DWORD access = DriveAccess();
    HANDLE device = g_aspiPlatform.createFile(name, access, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (device == INVALID_HANDLE_VALUE)
        device = g_aspiPlatform.createFile(name, access ^ GENERIC_WRITE, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    return device;
}

void PrepareRequest(PassThroughRequest* request)
{
    ZeroMemory(request, sizeof(*request));
    request->spt.Length = sizeof(SCSI_PASS_THROUGH_DIRECT);
    request->spt.SenseInfoOffset = offsetof(PassThroughRequest, sense);
}

BOOL SendRequest(HANDLE device, PassThroughRequest* request)
{
    DWORD returned = 0;
    return g_aspiPlatform.deviceIoControl(device, IOCTL_SCSI_PASS_THROUGH_DIRECT, request, sizeof(*request),
                                          request, sizeof(*request), &returned, NULL);
}

// Asks the drive who it is; the entry becomes valid only on an answer. The probe's own
// handle is always closed, so afterwards the entry's handle reads closed.
void ProbeDrive(int index)
{
    EmuDrive* drive = &g_drives[index];
    drive->device = INVALID_HANDLE_VALUE;
    HANDLE device = OpenDrive(index);
    if (device == INVALID_HANDLE_VALUE)
        return;
    BYTE data[100];
    ZeroMemory(data, sizeof(data));
    PassThroughRequest request;
    PrepareRequest(&request);
    request.spt.CdbLength = 6;
    request.spt.SenseInfoLength = 24;
    request.spt.DataIn = SCSI_IOCTL_DATA_IN;
    request.spt.DataTransferLength = sizeof(data);
    request.spt.TimeOutValue = 2;
    request.spt.DataBuffer = data;
    request.spt.Cdb[0] = kInquiryCommand;
    request.spt.Cdb[4] = sizeof(data);
    if (SendRequest(device, &request)) {
        drive->pathId = request.spt.PathId;
        drive->targetId = request.spt.TargetId;
        drive->lun = request.spt.Lun;
        drive->driveIndex = (BYTE)index;
        drive->valid = TRUE;
        CopyMemory(drive->inquiry, data, kInquiryLength);
    }
    g_aspiPlatform.closeHandle(device);
}

int FindDrive(BYTE pathId, BYTE targetId, BYTE lun)
{
    for (int i = 2; i < kDriveCount; ++i) {
        const EmuDrive& drive = g_drives[i];
        if (drive.valid && drive.pathId == pathId && drive.targetId == targetId && drive.lun == lun)
            return i;
    }
    return -1;
}

void InquireAdapter(SRB_HAInquiry* srb)
{
    srb->HA_Count = g_adapterCount;
    if (srb->SRB_HaId >= g_adapterCount) {
        srb->SRB_Status = SS_INVALID_HA;
        return;
    }
    static const char kManager[] = "VEDODI v1.0";
    ZeroMemory(srb->HA_ManagerId, sizeof(srb->HA_ManagerId));
    CopyMemory(srb->HA_ManagerId, kManager, sizeof(kManager) - 1);
    CopyMemory(srb->HA_Identifier, "SCSI Adapter    ", 16);
    srb->HA_Identifier[13] = (BYTE)('0' + srb->SRB_HaId);
    srb->HA_SCSI_ID = 7;
    ZeroMemory(srb->HA_Unique, sizeof(srb->HA_Unique));
    srb->HA_Unique[3] = 8;
    srb->HA_Unique[6] = 1;  // maximum transfer 65536, little-endian in bytes 4-7
    srb->SRB_Status = SS_COMP;
}

void GetDeviceType(SRB_GDEVBlock* srb)
{
    if (FindDrive(srb->SRB_HaId, srb->SRB_Target, srb->SRB_Lun) >= 0) {
        srb->SRB_DeviceType = ASPI_DTYPE_CDROM;
        srb->SRB_Status = SS_COMP;
    } else {
        srb->SRB_DeviceType = ASPI_DTYPE_UNKNOWN;
        srb->SRB_Status = SS_NO_DEVICE;
    }
}

// One pass-through attempt; the drive is opened on first use and kept open.
BOOL PassThrough(EmuDrive* drive, const SRB_ExecSCSICmd* srb)
{
    if (drive->device == INVALID_HANDLE_VALUE) {
        drive->device = OpenDrive(drive->driveIndex);
        if (drive->device == INVALID_HANDLE_VALUE)
            return FALSE;
    }
    PassThroughRequest request;
    PrepareRequest(&request);
    request.spt.CdbLength = srb->SRB_CDBLen;
    if (srb->SRB_Flags & SRB_DIR_IN)
        request.spt.DataIn = SCSI_IOCTL_DATA_IN;
    else if (srb->SRB_Flags & SRB_DIR_OUT)
        request.spt.DataIn = SCSI_IOCTL_DATA_OUT;
    else
        request.spt.DataIn = SCSI_IOCTL_DATA_UNSPECIFIED;
    request.spt.DataTransferLength = srb->SRB_BufLen;
    request.spt.TimeOutValue = 5;
    request.spt.DataBuffer = srb->SRB_BufPointer;
    CopyMemory(request.spt.Cdb, srb->CDBByte, srb->SRB_CDBLen);
    return SendRequest(drive->device, &request);
}

void ExecuteCommand(SRB_ExecSCSICmd* srb)
{
    int index = FindDrive(srb->SRB_HaId, srb->SRB_Target, srb->SRB_Lun);
    // A command block longer than the 16 bytes the request carries cannot be sent as asked.
    if (index < 0 || srb->SRB_CDBLen > sizeof(srb->CDBByte)) {
        srb->SRB_Status = SS_ERR;
        return;
    }
    EmuDrive* drive = &g_drives[index];
    if (srb->CDBByte[0] == kInquiryCommand) {
        DWORD length = srb->SRB_BufLen < (DWORD)kInquiryLength ? srb->SRB_BufLen : (DWORD)kInquiryLength;
        if (srb->SRB_BufPointer)
            CopyMemory(srb->SRB_BufPointer, drive->inquiry, length);
        srb->SRB_Status = SS_COMP;
        return;
    }
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (PassThrough(drive, srb)) {
            srb->SRB_Status = SS_COMP;
            return;
        }
        DWORD error = GetLastError();
        srb->SRB_Status = SS_ERR;
        srb->SRB_TargStat = 4;
        if (attempt > 0 || (error != ERROR_MEDIA_CHANGED && error != ERROR_INVALID_HANDLE))
            return;
        // A new disc or a handle gone stale: ask the drive again, then repeat once.
        if (error == ERROR_MEDIA_CHANGED && drive->device != INVALID_HANDLE_VALUE)
            g_aspiPlatform.closeHandle(drive->device);
        ProbeDrive(index);
    }
}

} // namespace

int AspiEmuInit(void)
{
    if (g_initialized)
        return 0;
    ZeroMemory(g_drives, sizeof(g_drives));
    for (int i = 0; i < kDriveCount; ++i)
        g_drives[i].device = INVALID_HANDLE_VALUE;
    g_adapterCount = 0;
    int valid = 0;
    BOOL seenPath[256] = {};
    for (int i = 2; i < kDriveCount; ++i) {
        char root[4];
        wsprintfA(root, "%c:\\", 'A' + i);
        if (g_aspiPlatform.getDriveType(root) != DRIVE_CDROM)
            continue;
        ProbeDrive(i);
        if (!g_drives[i].valid)
            continue;
        ++valid;
        if (!seenPath[g_drives[i].pathId]) {
            seenPath[g_drives[i].pathId] = TRUE;
            ++g_adapterCount;
        }
    }
    g_initialized = 1;
    return valid;
}

int AspiEmuIsInitialized(void)
{
    return g_initialized;
}

void AspiEmuRelease(void)
{
    for (int i = 2; i < kDriveCount; ++i) {
        EmuDrive* drive = &g_drives[i];
        if (drive->valid && drive->device != INVALID_HANDLE_VALUE) {
            g_aspiPlatform.closeHandle(drive->device);
            drive->device = INVALID_HANDLE_VALUE;
        }
    }
    g_initialized = 0;
}

DWORD __cdecl AspiEmuGetSupportInfo(void)
{
    if (g_adapterCount == 0)
        return (DWORD)SS_NO_ADAPTERS << 8;
    return ((DWORD)SS_COMP << 8) | g_adapterCount;
}

DWORD __cdecl AspiEmuSendCommand(void* block)
{
    if (!block)
        return SS_ERR;
    SRB_Header* header = (SRB_Header*)block;
    switch (header->SRB_Cmd) {
    case SC_HA_INQUIRY:
        InquireAdapter((SRB_HAInquiry*)block);
        break;
    case SC_GET_DEV_TYPE:
        GetDeviceType((SRB_GDEVBlock*)block);
        break;
    case SC_EXEC_SCSI_CMD:
        ExecuteCommand((SRB_ExecSCSICmd*)block);
        break;
    default:
        header->SRB_Status = SS_ERR;
        break;
    }
    return header->SRB_Status;
}
