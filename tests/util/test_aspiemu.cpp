// The library's ASPI emulation, compiled into this program so its pass-through seam can
// play the drives: path ids, cached INQUIRY data, the one retry after a changed medium,
// handles opened lazily and all closed again. Runs in a copy of this program that Wine
// keeps from loading its own WNASPI32.DLL, as on a Windows without an ASPI library.
#include <doctest/doctest.h>

#include "QVUtil.h"
#include "aspi.h"
#include "aspiemu.h"
#include "copyrun.h"
#include "wintest.h"

#include <ntddscsi.h>
#include <string.h>

#include <string>
#include <vector>

using namespace qvtest;

namespace {

struct FakeDrive {
    UINT type;
    bool opens;      // CreateFileA succeeds
    bool refuseWrite;  // ... but not when write access is asked
    bool answers;    // the INQUIRY probe succeeds
    BYTE pathId, targetId, lun;
};

struct Call {
    std::string what;  // "open D: 80000000", "ioctl D: 12", "close D:"
    SCSI_PASS_THROUGH_DIRECT spt;
    ULONG inSize;
};

FakeDrive g_fake[26];
std::vector<Call> g_calls;
std::vector<int> g_openHandles;
std::vector<DWORD> g_execErrors;  // errors for the next non-INQUIRY requests, 0 = success
BYTE g_answer[64];
DWORD g_answerLength;
int g_badCloses;

int DriveOf(HANDLE handle)
{
    return (int)((UINT_PTR)handle - 0x100);
}

UINT WINAPI FakeGetDriveType(LPCSTR root)
{
    return g_fake[root[0] - 'A'].type ? g_fake[root[0] - 'A'].type : DRIVE_NO_ROOT_DIR;
}

HANDLE WINAPI FakeCreateFile(LPCSTR name, DWORD access, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE)
{
    int index = name[4] - 'A';
    char what[64];
    wsprintfA(what, "open %c: %08lx", name[4], access);
    Call call = { what, {}, 0 };
    g_calls.push_back(call);
    const FakeDrive& drive = g_fake[index];
    if (strlen(name) != 6 || strncmp(name, "\\\\.\\", 4) != 0 || name[5] != ':' || !drive.opens ||
        (drive.refuseWrite && (access & GENERIC_WRITE))) {
        SetLastError(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    }
    g_openHandles.push_back(index);
    return (HANDLE)(UINT_PTR)(0x100 + index);
}

BOOL WINAPI FakeCloseHandle(HANDLE handle)
{
    int index = DriveOf(handle);
    for (size_t i = 0; i < g_openHandles.size(); ++i) {
        if (g_openHandles[i] == index) {
            g_openHandles.erase(g_openHandles.begin() + i);
            char what[16];
            wsprintfA(what, "close %c:", 'A' + index);
            Call call = { what, {}, 0 };
            g_calls.push_back(call);
            return TRUE;
        }
    }
    ++g_badCloses;
    return FALSE;
}

BOOL WINAPI FakeDeviceIoControl(HANDLE handle, DWORD code, LPVOID in, DWORD inSize, LPVOID out, DWORD outSize,
                                LPDWORD returned, LPOVERLAPPED)
{
    int index = DriveOf(handle);
    SCSI_PASS_THROUGH_DIRECT* spt = (SCSI_PASS_THROUGH_DIRECT*)in;
    char what[32];
    wsprintfA(what, "ioctl %c: %02x", 'A' + index, spt->Cdb[0]);
    Call call = { what, *spt, inSize };
    g_calls.push_back(call);
    bool open = false;
    for (int h : g_openHandles)
        open = open || h == index;
    if (!open || code != 0x4D014 || in != out || inSize != outSize) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    const FakeDrive& drive = g_fake[index];
    if (spt->Cdb[0] == 0x12) {
        if (!drive.answers) {
            SetLastError(ERROR_NOT_READY);
            return FALSE;
        }
        BYTE* data = (BYTE*)spt->DataBuffer;
        memset(data, 0, spt->DataTransferLength);
        data[0] = ASPI_DTYPE_CDROM;
        memcpy(data + 8, "QVFAKE  DRIVE ", 14);
        data[22] = (BYTE)('A' + index);  // which drive answered
        spt->PathId = drive.pathId;
        spt->TargetId = drive.targetId;
        spt->Lun = drive.lun;
        *returned = inSize;
        return TRUE;
    }
    if (!g_execErrors.empty()) {
        DWORD error = g_execErrors.front();
        g_execErrors.erase(g_execErrors.begin());
        if (error) {
            SetLastError(error);
            return FALSE;
        }
    }
    DWORD n = g_answerLength < spt->DataTransferLength ? g_answerLength : spt->DataTransferLength;
    if (spt->DataBuffer)
        memcpy(spt->DataBuffer, g_answer, n);
    *returned = inSize;
    return TRUE;
}

// A fresh set of drives per case; every case ends with the emulation released.
struct Drives {
    Drives()
    {
        memset(g_fake, 0, sizeof(g_fake));
        g_calls.clear();
        g_openHandles.clear();
        g_execErrors.clear();
        g_answerLength = 0;
        g_badCloses = 0;
        g_fake[2].type = DRIVE_FIXED;
        AspiPlatform fake = { FakeGetDriveType, FakeCreateFile, FakeDeviceIoControl, FakeCloseHandle };
        g_aspiPlatform = fake;
    }
    ~Drives()
    {
        DestroyAspi();
        CHECK(g_openHandles.empty());
        CHECK(g_badCloses == 0);
    }
    void Cdrom(char letter, BYTE pathId, BYTE targetId = 0, BYTE lun = 0)
    {
        FakeDrive drive = { DRIVE_CDROM, true, false, true, pathId, targetId, lun };
        g_fake[letter - 'A'] = drive;
    }
    std::vector<std::string> Calls(const char* prefix = "") const
    {
        std::vector<std::string> calls;
        for (const Call& call : g_calls) {
            if (call.what.compare(0, strlen(prefix), prefix) == 0)
                calls.push_back(call.what);
        }
        return calls;
    }
};

SRB_HAInquiry AdapterInquiry(BYTE ha)
{
    SRB_HAInquiry srb;
    memset(&srb, 0xCC, sizeof(srb));
    srb.SRB_Cmd = SC_HA_INQUIRY;
    srb.SRB_HaId = ha;
    return srb;
}

SRB_ExecSCSICmd Exec(BYTE ha, BYTE target, BYTE lun, BYTE command, BYTE* data, DWORD length, BYTE flags = SRB_DIR_IN)
{
    SRB_ExecSCSICmd srb;
    memset(&srb, 0, sizeof(srb));
    srb.SRB_Cmd = SC_EXEC_SCSI_CMD;
    srb.SRB_HaId = ha;
    srb.SRB_Target = target;
    srb.SRB_Lun = lun;
    srb.SRB_Flags = flags;
    srb.SRB_BufLen = length;
    srb.SRB_BufPointer = data;
    srb.SRB_CDBLen = 10;
    srb.CDBByte[0] = command;
    return srb;
}

std::string ModeOfAccess()
{
    char text[16] = "";
    GetEnvironmentVariableA("QV_EXPECT_ACCESS", text, sizeof(text));
    return text;
}

} // namespace

TEST_CASE("the emulation's cases, where Wine's own ASPI library is kept out")
{
    CopyRun run = { MakeTempDir("aspiemu"), "aspi-emulated.exe", NULL, "wnaspi32", "" };
    CHECK(RunCopy(run, "--no-skip --test-suite=emulation", 60000) == 0);
    RemoveTree(run.dir);
}

TEST_CASE("drives are opened read-only before Windows 2000, read-write from it")
{
    struct Mode {
        const char* name;
        const char* access;
    } modes[] = { { "win98", "80000000" }, { "nt40", "80000000" }, { "win2k", "c0000000" }, { "winxp", "c0000000" } };
    for (const Mode& mode : modes) {
        CAPTURE(mode.name);
        SetEnvironmentVariableA("QV_EXPECT_ACCESS", mode.access);
        CopyRun run = { MakeTempDir("aspimode"), std::string("aspi-") + mode.name + ".exe", mode.name, "wnaspi32", "" };
        CHECK(RunCopy(run, "--no-skip --test-suite=emulation_access", 60000) == 0);
        RemoveTree(run.dir);
    }
    SetEnvironmentVariableA("QV_EXPECT_ACCESS", NULL);
}

TEST_SUITE("emulation_access" * doctest::skip())
{
    TEST_CASE("a refused open is tried once more with write access toggled")
    {
        Drives drives;
        drives.Cdrom('D', 0);
        g_fake[3].refuseWrite = true;
        REQUIRE(InitAspi() == 1);
        std::vector<std::string> opens = drives.Calls("open");
        std::string first = ModeOfAccess();
        REQUIRE(first.size() == 8);
        if (first == "c0000000") {
            // The read-write open is refused; the read-only one follows.
            REQUIRE(opens.size() == 2);
            CHECK(opens[0] == "open D: c0000000");
            CHECK(opens[1] == "open D: 80000000");
        } else {
            REQUIRE(opens.size() == 1);
            CHECK(opens[0] == "open D: 80000000");
        }
    }
}

TEST_SUITE("emulation" * doctest::skip())
{
    TEST_CASE("drives on path ids 0 and 1 make two adapters")
    {
        Drives drives;
        drives.Cdrom('D', 0, 1, 0);
        drives.Cdrom('E', 1, 0, 0);
        g_fake[5].type = DRIVE_REMOTE;
        CHECK(InitAspi() == 1);
        CHECK(AspiEmuGetSupportInfo() == 0x0102);
        // Only CD-ROM drives are opened, each probe's handle is closed again.
        CHECK(drives.Calls("open") == std::vector<std::string>{ "open D: c0000000", "open E: c0000000" });
        CHECK(g_openHandles.empty());

        SRB_HAInquiry beyond = AdapterInquiry(2);
        CHECK(AspiEmuSendCommand(&beyond) == SS_INVALID_HA);
        CHECK(beyond.HA_Count == 2);

        SRB_HAInquiry second = AdapterInquiry(1);
        CHECK(AspiEmuSendCommand(&second) == SS_COMP);
        CHECK(second.HA_Count == 2);
        CHECK(second.HA_SCSI_ID == 7);
        CHECK(std::string((char*)second.HA_Identifier, 16) == "SCSI Adapter 1  ");
        CHECK(memcmp(second.HA_ManagerId, "VEDODI v1.0\0\0\0\0\0", 16) == 0);
        const BYTE unique[16] = { 0, 0, 0, 8, 0, 0, 1, 0 };
        CHECK(memcmp(second.HA_Unique, unique, 16) == 0);

        SRB_GDEVBlock present = {};
        present.SRB_Cmd = SC_GET_DEV_TYPE;
        present.SRB_HaId = 1;
        CHECK(AspiEmuSendCommand(&present) == SS_COMP);
        CHECK(present.SRB_DeviceType == ASPI_DTYPE_CDROM);
        SRB_GDEVBlock absent = present;
        absent.SRB_Target = 1;
        CHECK(AspiEmuSendCommand(&absent) == SS_NO_DEVICE);
        CHECK(absent.SRB_DeviceType == ASPI_DTYPE_UNKNOWN);
    }

    TEST_CASE("the probe asks each drive for 100 bytes of INQUIRY data")
    {
        Drives drives;
        drives.Cdrom('G', 0);
        REQUIRE(InitAspi() == 1);
        REQUIRE(!g_calls.empty());
        const Call* probe = NULL;
        for (const Call& call : g_calls) {
            if (call.what == "ioctl G: 12")
                probe = &call;
        }
        REQUIRE(probe);
        const BYTE cdb[6] = { 0x12, 0, 0, 0, 100, 0 };
        CHECK(probe->spt.Length == sizeof(SCSI_PASS_THROUGH_DIRECT));
        CHECK(probe->spt.CdbLength == 6);
        CHECK(memcmp(probe->spt.Cdb, cdb, 6) == 0);
        CHECK(probe->spt.SenseInfoLength == 24);
        CHECK(probe->spt.DataIn == SCSI_IOCTL_DATA_IN);
        CHECK(probe->spt.DataTransferLength == 100);
        CHECK(probe->spt.TimeOutValue == 2);
        // The sense area follows the block inside the one buffer given in and out.
        CHECK(probe->spt.SenseInfoOffset >= sizeof(SCSI_PASS_THROUGH_DIRECT));
        CHECK(probe->spt.SenseInfoOffset + 24 <= probe->inSize);
#ifndef _WIN64
        CHECK(probe->spt.SenseInfoOffset == 48);
        CHECK(probe->inSize == 80);
#endif
    }

    TEST_CASE("a single drive on path id 1 leaves the device search empty")
    {
        Drives drives;
        drives.Cdrom('D', 1);
        CHECK(InitAspi() == 0);
        CHECK(AspiEmuGetSupportInfo() == 0x0101);
        SRB_HAInquiry beyond = AdapterInquiry(1);
        CHECK(AspiEmuSendCommand(&beyond) == SS_INVALID_HA);
        size_t before = g_calls.size();
        CHECK(OnIsCdromPlaying(1) == 0);
        CHECK(g_calls.size() == before);
        CHECK(DestroyAspi() == -1);
    }

    TEST_CASE("drives that cannot be opened or do not answer stay out of the table")
    {
        Drives drives;
        drives.Cdrom('D', 0);
        g_fake[3].answers = false;
        drives.Cdrom('E', 0);
        g_fake[4].opens = false;
        drives.Cdrom('F', 0, 2, 0);
        CHECK(InitAspi() == 1);
        CHECK(AspiEmuGetSupportInfo() == 0x0101);
        CHECK(drives.Calls("open E:").size() == 2);  // the second try toggles write access
        SRB_GDEVBlock device = {};
        device.SRB_Cmd = SC_GET_DEV_TYPE;
        CHECK(AspiEmuSendCommand(&device) == SS_NO_DEVICE);
        device.SRB_Target = 2;
        CHECK(AspiEmuSendCommand(&device) == SS_COMP);
    }

    TEST_CASE("no CD-ROM drive: nothing found, nothing opened, the emulation still released")
    {
        Drives drives;
        CHECK(InitAspi() == 0);
        CHECK(drives.Calls("open").empty());
        CHECK(AspiEmuGetSupportInfo() == 0xE800);
        CHECK(DestroyAspi() == -1);
        CHECK(DestroyAspi() == 0);
    }

    TEST_CASE("an emulated INQUIRY returns the cached data without touching the closed drive")
    {
        Drives drives;
        drives.Cdrom('D', 0);
        drives.Cdrom('E', 0, 1, 0);
        REQUIRE(InitAspi() == 1);
        g_calls.clear();
        BYTE data[40];
        memset(data, 0xEE, sizeof(data));
        SRB_ExecSCSICmd srb = Exec(0, 1, 0, 0x12, data, sizeof(data));
        CHECK(AspiEmuSendCommand(&srb) == SS_COMP);
        CHECK(g_calls.empty());
        CHECK(data[0] == ASPI_DTYPE_CDROM);
        CHECK(data[22] == 'E');
        CHECK(data[36] == 0xEE);  // 36 bytes, not more

        // A smaller buffer gets only what it holds.
        memset(data, 0xEE, sizeof(data));
        srb = Exec(0, 1, 0, 0x12, data, 8);
        CHECK(AspiEmuSendCommand(&srb) == SS_COMP);
        CHECK(data[0] == ASPI_DTYPE_CDROM);
        CHECK(data[8] == 0xEE);
    }

    TEST_CASE("the drive is opened on first use and kept open until DestroyAspi")
    {
        Drives drives;
        drives.Cdrom('D', 0);
        REQUIRE(InitAspi() == 1);
        g_calls.clear();
        g_answerLength = 8;
        BYTE data[8];
        SRB_ExecSCSICmd first = Exec(0, 0, 0, 0xBD, data, sizeof(data));
        CHECK(AspiEmuSendCommand(&first) == SS_COMP);
        SRB_ExecSCSICmd second = Exec(0, 0, 0, 0xBD, data, sizeof(data));
        CHECK(AspiEmuSendCommand(&second) == SS_COMP);
        CHECK(drives.Calls("open").size() == 1);
        CHECK(g_openHandles.size() == 1);
        CHECK(DestroyAspi() == -1);
        CHECK(g_openHandles.empty());
    }

    TEST_CASE("a request failing with a changed medium is retried once after a new probe")
    {
        Drives drives;
        drives.Cdrom('D', 0);
        REQUIRE(InitAspi() == 1);
        g_calls.clear();
        g_answerLength = 8;
        BYTE data[8];

        g_execErrors = { ERROR_MEDIA_CHANGED, 0 };
        SRB_ExecSCSICmd srb = Exec(0, 0, 0, 0xBD, data, sizeof(data));
        CHECK(AspiEmuSendCommand(&srb) == SS_COMP);
        std::vector<std::string> expected = { "open D: c0000000", "ioctl D: bd", "close D:", "open D: c0000000",
                                              "ioctl D: 12", "close D:", "open D: c0000000", "ioctl D: bd" };
        CHECK(drives.Calls() == expected);

        // Twice in a row: one retry only, then the error stands.
        g_calls.clear();
        g_execErrors = { ERROR_MEDIA_CHANGED, ERROR_MEDIA_CHANGED, 0 };
        srb = Exec(0, 0, 0, 0xBD, data, sizeof(data));
        CHECK(AspiEmuSendCommand(&srb) == SS_ERR);
        CHECK(srb.SRB_TargStat == 4);
        CHECK(drives.Calls("ioctl D: bd").size() == 2);

        // Other errors are not retried.
        g_calls.clear();
        g_execErrors = { ERROR_IO_DEVICE, 0 };
        srb = Exec(0, 0, 0, 0xBD, data, sizeof(data));
        CHECK(AspiEmuSendCommand(&srb) == SS_ERR);
        CHECK(drives.Calls("ioctl").size() == 1);
        CHECK(drives.Calls("close").empty());
    }

    TEST_CASE("an invalid handle is retried without closing it")
    {
        Drives drives;
        drives.Cdrom('D', 0);
        REQUIRE(InitAspi() == 1);
        g_answerLength = 8;
        BYTE data[8];
        SRB_ExecSCSICmd srb = Exec(0, 0, 0, 0xBD, data, sizeof(data));
        REQUIRE(AspiEmuSendCommand(&srb) == SS_COMP);
        g_calls.clear();
        g_execErrors = { ERROR_INVALID_HANDLE, 0 };
        srb = Exec(0, 0, 0, 0xBD, data, sizeof(data));
        CHECK(AspiEmuSendCommand(&srb) == SS_COMP);
        std::vector<std::string> expected = { "ioctl D: bd", "open D: c0000000", "ioctl D: 12", "close D:",
                                              "open D: c0000000", "ioctl D: bd" };
        CHECK(drives.Calls() == expected);
        // The handle the drive gave up on is not closed by us; the fake still counts it open.
        g_openHandles.erase(g_openHandles.begin());
    }

    TEST_CASE("request blocks carry direction, length and command to the pass-through")
    {
        Drives drives;
        drives.Cdrom('D', 0);
        REQUIRE(InitAspi() == 1);
        BYTE data[4];
        struct Case {
            BYTE flags;
            UCHAR dataIn;
        } cases[] = { { SRB_DIR_IN, SCSI_IOCTL_DATA_IN }, { SRB_DIR_OUT, SCSI_IOCTL_DATA_OUT }, { 0, 2 } };
        for (const Case& c : cases) {
            g_calls.clear();
            SRB_ExecSCSICmd srb = Exec(0, 0, 0, 0x1B, data, sizeof(data), c.flags);
            srb.SRB_CDBLen = 6;
            srb.CDBByte[4] = 0x02;
            CHECK(AspiEmuSendCommand(&srb) == SS_COMP);
            REQUIRE(!g_calls.empty());
            const SCSI_PASS_THROUGH_DIRECT& spt = g_calls.back().spt;
            CHECK(spt.DataIn == c.dataIn);
            CHECK(spt.CdbLength == 6);
            CHECK(spt.Cdb[4] == 0x02);
            CHECK(spt.DataTransferLength == sizeof(data));
            CHECK(spt.DataBuffer == data);
            CHECK(spt.TimeOutValue == 5);
            CHECK(spt.SenseInfoLength == 0);
        }

        // Blocks the emulation cannot serve are refused without reaching the drive.
        g_calls.clear();
        SRB_ExecSCSICmd tooLong = Exec(0, 0, 0, 0x00, data, sizeof(data));
        tooLong.SRB_CDBLen = 17;
        CHECK(AspiEmuSendCommand(&tooLong) == SS_ERR);
        SRB_ExecSCSICmd nobody = Exec(0, 5, 0, 0x00, data, sizeof(data));
        CHECK(AspiEmuSendCommand(&nobody) == SS_ERR);
        SRB_Abort abort = {};
        abort.SRB_Cmd = SC_ABORT_SRB;
        CHECK(AspiEmuSendCommand(&abort) == SS_ERR);
        SRB_Header unknown = { 9, 0, 0, 0, 0 };
        CHECK(AspiEmuSendCommand(&unknown) == SS_ERR);
        CHECK(AspiEmuSendCommand(NULL) == SS_ERR);
        CHECK(g_calls.empty());
    }

    TEST_CASE("play detection runs over the emulation and a second InitAspi changes nothing")
    {
        Drives drives;
        drives.Cdrom('E', 0, 0, 0);
        REQUIRE(InitAspi() == 1);
        CHECK(InitAspi() == 0);
        // Paused, address 0x0100 both times: not moving.
        const BYTE paused[16] = { 0, 0x12, 0, 12, 1, 0x10, 1, 1, 0, 0, 1, 0 };
        memcpy(g_answer, paused, sizeof(paused));
        g_answerLength = sizeof(paused);
        g_calls.clear();
        CHECK(OnIsCdromPlaying(1) == 0);
        std::vector<std::string> reads = drives.Calls("ioctl E: 42");
        CHECK(reads.size() == 2);
        const SCSI_PASS_THROUGH_DIRECT& spt = g_calls.back().spt;
        const BYTE cdb[10] = { 0x42, 0, 0x40, 0x01, 0, 0, 0, 0, 0x10, 0 };
        CHECK(spt.CdbLength == 10);
        CHECK(memcmp(spt.Cdb, cdb, 10) == 0);
        CHECK(spt.DataTransferLength == 16);

        g_answer[1] = 0x11;
        CHECK(OnIsCdromPlaying(1) == 1);
    }
}
