// Whether the first CD-ROM drive is playing, asked of the drive itself through ASPI: the
// installed ASPI library where there is one, the library's own emulation otherwise.
#include "QVUtil.h"
#include "aspi.h"
#include "aspiemu.h"

namespace {

HMODULE g_aspiLibrary;
AspiSupportInfoProc g_getSupportInfo;
AspiSendCommandProc g_sendCommand;
int g_deviceFound;
BYTE g_haId;
BYTE g_target;
BYTE g_lun;

const DWORD kPlayTimeoutMs = 60000;

int FindCdromDevice(void)
{
    DWORD info = g_getSupportInfo();
    BYTE status = (BYTE)(info >> 8);
    BYTE adapters = (BYTE)info;
    if ((status != SS_COMP && status != SS_NO_ADAPTERS) || adapters == 0)
        return 0;
    for (int ha = 0; ha < adapters; ++ha) {
        SRB_HAInquiry inquiry;
        ZeroMemory(&inquiry, sizeof(inquiry));
        inquiry.SRB_Cmd = SC_HA_INQUIRY;
        inquiry.SRB_HaId = (BYTE)ha;
        g_sendCommand(&inquiry);
        if (inquiry.SRB_Status != SS_COMP)
            continue;
        int targets = inquiry.HA_Unique[3] ? inquiry.HA_Unique[3] : 8;
        for (int target = 0; target < targets; ++target) {
            for (int lun = 0; lun < 8; ++lun) {
                SRB_GDEVBlock device;
                ZeroMemory(&device, sizeof(device));
                device.SRB_Cmd = SC_GET_DEV_TYPE;
                device.SRB_HaId = (BYTE)ha;
                device.SRB_Target = (BYTE)target;
                device.SRB_Lun = (BYTE)lun;
                g_sendCommand(&device);
                if (device.SRB_Status == SS_COMP && device.SRB_DeviceType == ASPI_DTYPE_CDROM) {
                    g_haId = (BYTE)ha;
                    g_target = (BYTE)target;
                    g_lun = (BYTE)lun;
                    return 1;
                }
            }
        }
    }
    return 0;
}

int ExecScsiCommand(const BYTE* cdb, int cdbLength, BYTE* data, DWORD dataLength, BYTE directionFlags,
                    DWORD timeoutMs)
{
    HANDLE done = CreateEventA(NULL, TRUE, FALSE, NULL);
    if (!done)
        return 0;
    SRB_ExecSCSICmd srb;
    ZeroMemory(&srb, sizeof(srb));
    srb.SRB_Cmd = SC_EXEC_SCSI_CMD;
    srb.SRB_HaId = g_haId;
    srb.SRB_Target = g_target;
    srb.SRB_Lun = g_lun;
    srb.SRB_Flags = (BYTE)(directionFlags | SRB_EVENT_NOTIFY);
    srb.SRB_BufLen = dataLength;
    srb.SRB_BufPointer = data;
    srb.SRB_SenseLen = ASPI_SENSE_LEN;
    if (cdbLength < 0)
        cdbLength = 0;
    srb.SRB_CDBLen = (BYTE)(cdbLength < 16 ? cdbLength : 16);
    srb.SRB_PostProc = done;
    CopyMemory(srb.CDBByte, cdb, srb.SRB_CDBLen);

    ResetEvent(done);
    if (g_sendCommand(&srb) == SS_PENDING && WaitForSingleObject(done, timeoutMs) != WAIT_OBJECT_0) {
        SRB_Abort abort;
        ZeroMemory(&abort, sizeof(abort));
        abort.SRB_Cmd = SC_ABORT_SRB;
        abort.SRB_HaId = srb.SRB_HaId;
        abort.SRB_ToAbort = &srb;
        g_sendCommand(&abort);
    }
    CloseHandle(done);
    return srb.SRB_Status == SS_COMP;
}

DWORD BigEndian(const BYTE* bytes, int count)
{
    DWORD value = 0;
    for (int i = 0; i < count; ++i)
        value = (value << 8) | bytes[i];
    return value;
}

// A paused or unreported audio status still counts as playing when the head moves.
int IsAudioPlaying(void)
{
    const BYTE readSubChannel[10] = { 0x42, (BYTE)(g_lun << 5), 0x40, 0x01, 0, 0, 0, 0, 0x10, 0 };
    BYTE data[16];
    ZeroMemory(data, sizeof(data));
    if (!ExecScsiCommand(readSubChannel, sizeof(readSubChannel), data, sizeof(data), SRB_DIR_IN, kPlayTimeoutMs))
        return 0;
    if (data[1] == 0x11)
        return 1;
    DWORD before = BigEndian(data + 8, 4);
    Sleep(200);
    ZeroMemory(data, sizeof(data));
    if (!ExecScsiCommand(readSubChannel, sizeof(readSubChannel), data, sizeof(data), SRB_DIR_IN, kPlayTimeoutMs))
        return 0;
    return BigEndian(data + 8, 4) > before + 2;
}

int IsMechanismMoving(void)
{
    const BYTE mechanismStatus[12] = { 0xBD, (BYTE)(g_lun << 5), 0, 0, 0, 0, 0, 0, 0, 0x08, 0, 0 };
    BYTE data[8];
    ZeroMemory(data, sizeof(data));
    if (!ExecScsiCommand(mechanismStatus, sizeof(mechanismStatus), data, sizeof(data), SRB_DIR_IN, kPlayTimeoutMs))
        return 0;
    DWORD before = BigEndian(data + 2, 3);
    Sleep(500);
    ZeroMemory(data, sizeof(data));  // a failed repeat reads as position 0
    ExecScsiCommand(mechanismStatus, sizeof(mechanismStatus), data, sizeof(data), SRB_DIR_IN, kPlayTimeoutMs);
    return BigEndian(data + 2, 3) > before + 2;
}

} // namespace

QVUTIL_API int WINAPI InitAspi(void)
{
    // A second call keeps the one library reference that DestroyAspi gives back.
    if (!g_aspiLibrary) {
        HMODULE library = LoadLibraryA("WNASPI32.DLL");
        if (library) {
            AspiSupportInfoProc info = (AspiSupportInfoProc)GetProcAddress(library, "GetASPI32SupportInfo");
            AspiSendCommandProc send = (AspiSendCommandProc)GetProcAddress(library, "SendASPI32Command");
            if (!info || !send) {
                FreeLibrary(library);
                return 0;
            }
            g_aspiLibrary = library;
            g_getSupportInfo = info;
            g_sendCommand = send;
        } else {
            if (AspiEmuInit() == 0)
                return 0;
            g_getSupportInfo = AspiEmuGetSupportInfo;
            g_sendCommand = AspiEmuSendCommand;
        }
    }
    g_deviceFound = FindCdromDevice();
    return g_deviceFound;
}

QVUTIL_API int WINAPI DestroyAspi(void)
{
    g_getSupportInfo = NULL;
    g_sendCommand = NULL;
    g_deviceFound = 0;
    if (g_aspiLibrary) {
        int freed = FreeLibrary(g_aspiLibrary);
        g_aspiLibrary = NULL;
        return freed;
    }
    if (AspiEmuIsInitialized()) {
        AspiEmuRelease();
        return -1;
    }
    return 0;
}

QVUTIL_API int WINAPI OnIsCdromPlaying(int discClass)
{
    if (!g_deviceFound || !g_sendCommand)
        return 0;
    return discClass == 1 ? IsAudioPlaying() : IsMechanismMoving();
}
