// Audio CD control: the library's own MCI player under the alias "qvbcd", the disc found
// in each CD-ROM drive, the remote control of a running CD player window, and the play
// state the media keys rely on. MCI devices answer only the thread that opened them, so
// every command goes out on the caller's thread.
#include "QVUtil.h"
#include "internal.h"
#include "textparse.h"

#include <mmsystem.h>

#ifndef WM_APPCOMMAND
#define WM_APPCOMMAND 0x0319
#endif

enum {
    kAppPlayPause = 14,
    kAppNextTrack = 11,
    kAppPrevTrack = 12,
    kAppStop = 13,
    kReplySize = 256,
    kPlayerWaitMs = 10000,
    kRecheckMs = 1000,
};

// An MCI error code for "nothing to do in this state" (pause with nothing playing).
static const UINT kNothingToDo = MCIERR_NONAPPLICABLE_FUNCTION;

int g_cdPlaying;
static char g_resumePosition[kReplySize];
static int g_justLaunched;
static int g_lastClass;
static DWORD g_lastCheck;

static UINT SendMciCommand(LPCSTR command, LPSTR reply)
{
    char buffer[kReplySize];
    buffer[0] = '\0';
    UINT error = (UINT)mciSendStringA(command, buffer, sizeof(buffer), NULL);
    buffer[sizeof(buffer) - 1] = '\0';
    if (error == 0 && reply)
        TextCopy(reply, kReplySize, buffer);
    return error;
}

// One command with a text argument; an argument that would not fit is refused rather
// than sent cut, since a cut drive or position names something else.
static UINT SendMciFormat(LPCSTR format, LPCSTR argument, LPSTR reply)
{
    char command[QV_TEXT_SIZE + 64];
    if (lstrlenA(argument) >= QV_TEXT_SIZE)
        return MCIERR_INVALID_DEVICE_NAME;
    wsprintfA(command, format, argument);
    return SendMciCommand(command, reply);
}

static UINT SendMciNumber(LPCSTR format, int number, LPSTR reply)
{
    char command[96];
    wsprintfA(command, format, number);
    return SendMciCommand(command, reply);
}

QVUTIL_API int WINAPI AudioCD_OpenCDAudio(LPCSTR drive)
{
    UINT error;
    if (drive) {
        char device[QV_TEXT_SIZE];
        if (!TextCopy(device, sizeof(device), drive))
            return 0;
        // NT 4's CD audio device takes "D:", not "D:\".
        int length = lstrlenA(device);
        if (IsNT() && !IsWin2000() && length > 0 && device[length - 1] == '\\')
            device[length - 1] = '\0';
        error = SendMciFormat("open %s type cdaudio alias qvbcdx shareable", device, NULL);
        if (error == 0)
            error = SendMciFormat("open %s type cdaudio alias qvbcd shareable", device, NULL);
    } else {
        error = SendMciCommand("open cdaudio alias qvbcdx shareable", NULL);
        if (error == 0)
            error = SendMciCommand("open cdaudio alias qvbcd shareable", NULL);
    }
    SendMciCommand("close qvbcdx", NULL);
    return error == 0;
}

QVUTIL_API UINT WINAPI AudioCD_CloseCDAudio(void)
{
    return SendMciCommand("close qvbcd", NULL);
}

// An alias left open would make the next open fail, so every operation starts afresh.
static int Reopen(LPCSTR drive)
{
    AudioCD_CloseCDAudio();
    return AudioCD_OpenCDAudio(drive);
}

static int DeviceIsPlaying()
{
    char mode[kReplySize];
    if (SendMciCommand("status qvbcd mode", mode) != 0)
        return 0;
    return lstrcmpA(mode, "playing") == 0;
}

static UINT ResumeFromStoredPosition()
{
    UINT error = SendMciFormat("play qvbcd from %s", g_resumePosition, NULL);
    g_resumePosition[0] = '\0';
    return error;
}

// The position is taken first: a pause whose place is lost could not be resumed.
static UINT StorePositionAndPause()
{
    char position[kReplySize];
    UINT error = SendMciCommand("status qvbcd position", position);
    if (error != 0)
        return error;
    TextCopy(g_resumePosition, sizeof(g_resumePosition), position);
    return SendMciCommand("pause qvbcd", NULL);
}

QVUTIL_API UINT WINAPI AudioCD_Stop(LPCSTR drive)
{
    if (!Reopen(drive))
        return 0;
    SendMciCommand("stop qvbcd", NULL);
    UINT error = SendMciCommand("seek qvbcd to start", NULL);
    g_resumePosition[0] = '\0';
    return error;
}

static UINT PlayFromStart(LPCSTR drive)
{
    AudioCD_Stop(drive);
    SendMciCommand("seek qvbcd to start", NULL);
    return SendMciCommand("play qvbcd", NULL);
}

QVUTIL_API UINT WINAPI AudioCD_Play(LPCSTR drive)
{
    if (!Reopen(drive))
        return 0;
    if (DeviceIsPlaying())
        return 0;
    if (g_resumePosition[0])
        return ResumeFromStoredPosition();
    return PlayFromStart(drive);
}

QVUTIL_API UINT WINAPI AudioCD_Pause(LPCSTR drive)
{
    if (!Reopen(drive))
        return 0;
    if (DeviceIsPlaying())
        return StorePositionAndPause();
    if (g_resumePosition[0])
        return ResumeFromStoredPosition();
    return kNothingToDo;
}

QVUTIL_API UINT WINAPI AudioCD_PlayPause(LPCSTR drive)
{
    if (!Reopen(drive))
        return 0;
    if (DeviceIsPlaying())
        return StorePositionAndPause();
    if (g_resumePosition[0])
        return ResumeFromStoredPosition();
    return PlayFromStart(drive);
}

// A track number as the device writes it; -1 for anything else.
static int ParseTrack(LPCSTR text)
{
    if (text[0] < '0' || text[0] > '9')
        return -1;
    int value = 0;
    for (const char* p = text; *p >= '0' && *p <= '9'; ++p) {
        if (value > 9999)
            return -1;
        value = value * 10 + (*p - '0');
    }
    return value;
}

// Track queries read in tracks:minutes:seconds:frames, which the reopen has reset.
static UINT QueryTmsf(const char* statusCommand, char* reply)
{
    UINT error = SendMciCommand("set qvbcd time format TMSF", NULL);
    return error != 0 ? error : SendMciCommand(statusCommand, reply);
}

QVUTIL_API UINT WINAPI AudioCD_NextTrack(LPCSTR drive)
{
    if (!Reopen(drive))
        return 0;
    char reply[kReplySize];
    UINT error = QueryTmsf("status qvbcd current track", reply);
    if (error != 0)
        return error;
    int track = ParseTrack(reply);
    if (track < 0)
        return MCIERR_BAD_INTEGER;
    return SendMciNumber("play qvbcd from %d", track + 1, NULL);
}

QVUTIL_API UINT WINAPI AudioCD_PrevTrack(LPCSTR drive)
{
    if (!Reopen(drive))
        return 0;
    char reply[kReplySize];
    UINT error = QueryTmsf("status qvbcd position", reply);
    if (error != 0)
        return error;
    // track:minutes:seconds:frames; within the first seconds of a track the key means
    // the track before, later it restarts the current one.
    char field[QV_TEXT_SIZE];
    if (TextField(reply, 1, field, sizeof(field), ':') < 0)
        return MCIERR_BAD_INTEGER;
    int track = ParseTrack(field);
    if (TextField(reply, 3, field, sizeof(field), ':') < 0)
        return MCIERR_BAD_INTEGER;
    int seconds = ParseTrack(field);
    if (track < 0 || seconds < 0)
        return MCIERR_BAD_INTEGER;
    int target = seconds < 3 ? track - 1 : track;
    return SendMciNumber("play qvbcd from %d", target, NULL);
}

QVUTIL_API int WINAPI AudioCD_IsPlaying(LPCSTR drive)
{
    if (!Reopen(drive))
        return -1;
    return DeviceIsPlaying();
}

QVUTIL_API UINT WINAPI AudioCD_FindAudioByMCI(LPCSTR drive)
{
    if (!Reopen(drive))
        return MCIERR_FILE_NOT_FOUND;
    char reply[kReplySize];
    UINT error = SendMciCommand("status qvbcd number of tracks", reply);
    if (error != 0)
        return error;
    // A disc holds at most 99 tracks, whatever a device claims.
    int count = ParseTrack(reply);
    if (count > 99)
        count = 99;
    for (int track = 1; track <= count; ++track) {
        if (SendMciNumber("status qvbcd type track %d", track, reply) == 0 && lstrcmpA(reply, "audio") == 0)
            return 0;
    }
    return MCIERR_FILE_NOT_FOUND;
}

static int FileInRoot(LPCSTR root, LPCSTR pattern)
{
    char path[QV_TEXT_SIZE];
    if (!TextCopy(path, sizeof(path), root) || !TextAppend(path, sizeof(path), pattern))
        return 0;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(path, &found);
    if (search == INVALID_HANDLE_VALUE)
        return 0;
    FindClose(search);
    return 1;
}

int ClassifyDisc(LPCSTR root)
{
    UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS);
    BOOL readable = GetVolumeInformationA(root, NULL, 0, NULL, NULL, NULL, NULL, 0);
    SetErrorMode(oldMode);
    if (!readable)
        return kDiscNone;
    if (FileInRoot(root, "*.cda"))
        return kDiscAudio;
    if (FileInRoot(root, "vcd\\info.vcd"))
        return kDiscVcd;
    if (AudioCD_FindAudioByMCI(root) == 0)
        return kDiscAudio;
    if (FileInRoot(root, "AUTORUN.*"))
        return kDiscSoftware;
    if (FileInRoot(root, "video_ts\\vts_01_0.ifo"))
        return kDiscDvd;
    return kDiscData;
}

// Whether a drive of class `found` is a better choice than the best one so far.
static int Preferred(int best, int found)
{
    if (best == kDiscNoDrive || best == kDiscNone)
        return 1;
    if (best == kDiscSoftware)
        return found == kDiscAudio || found == kDiscDvd || found == kDiscVcd;
    if (best == kDiscData)
        return found == kDiscAudio || found == kDiscDvd || found == kDiscVcd || found == kDiscSoftware;
    return 0;
}

int SelectDiscDrive(LPSTR root)
{
    char drives[QV_TEXT_SIZE];
    DWORD length = GetLogicalDriveStringsA(sizeof(drives), drives);
    // A list that does not fit is not written; what did fit ends with two terminators.
    if (length == 0 || length >= sizeof(drives))
        return kDiscNoDrive;
    int best = kDiscNoDrive;
    for (const char* drive = drives; *drive; drive += lstrlenA(drive) + 1) {
        if (GetDriveTypeA(drive) != DRIVE_CDROM)
            continue;
        int found = ClassifyDisc(drive);
        if (Preferred(best, found)) {
            best = found;
            TextCopy(root, QV_TEXT_SIZE, drive);
        }
    }
    return best;
}

QVUTIL_API int WINAPI CD_IsPlaying(void)
{
    return g_cdPlaying;
}

QVUTIL_API int WINAPI CD_CheckPlayPauseStatus(void)
{
    char root[QV_TEXT_SIZE] = "";
    int found = SelectDiscDrive(root);
    if (found != g_lastClass) {
        g_lastClass = found;
        g_lastCheck = 0;
    }
    DWORD now = GetTickCount();
    int result;
    if (found == kDiscNone || found == kDiscSoftware || found == kDiscData) {
        result = -1;
    } else if (found != kDiscAudio && found != kDiscDvd && found != kDiscVcd) {
        result = 0;
    } else {
        int asked = -1;
        if (found == kDiscAudio && !FindWindowA("WMPlayerApp", NULL))
            asked = AudioCD_IsPlaying(root);
        if (asked >= 0) {
            result = g_cdPlaying = asked;
        } else if (now - g_lastCheck < kRecheckMs) {
            // Asked again at once: the drive has not had time to show the change.
            result = g_cdPlaying = !g_cdPlaying;
        } else {
            result = g_cdPlaying = OnIsCdromPlaying(found);
        }
    }
    g_lastCheck = now;
    return result;
}

static void SendPlayerCommand(HWND player, int command)
{
    SendAppCommand(player, command);
}

// Windows Media Player and the Windows 2000 CD player both take application commands.
// Returns 0 for a key they have no command for.
static int SendAppCommandForKey(HWND player, int key, int playPauseAlwaysToggles)
{
    switch (key) {
    case kKeyPlay:
        CD_CheckPlayPauseStatus();
        if (!g_cdPlaying)
            SendPlayerCommand(player, kAppPlayPause);
        return 1;
    case kKeyPause:
        CD_CheckPlayPauseStatus();
        if (g_cdPlaying)
            SendPlayerCommand(player, kAppPlayPause);
        return 1;
    case kKeyNext:
        SendPlayerCommand(player, kAppNextTrack);
        return 1;
    case kKeyPrevious:
        SendPlayerCommand(player, kAppPrevTrack);
        return 1;
    case kKeyStop:
        g_cdPlaying = 0;
        SendPlayerCommand(player, kAppStop);
        return 1;
    case kKeyPlayPause:
        // A player just started for the disc plays it by itself.
        if (g_justLaunched && !playPauseAlwaysToggles) {
            g_justLaunched = 0;
            return 1;
        }
        SendPlayerCommand(player, kAppPlayPause);
        return 1;
    }
    return 0;
}

static HWND StartMediaPlayerForDisc(int key)
{
    if (!IsWinME() || key == kKeyPause || key == kKeyStop)
        return NULL;
    char path[QV_TEXT_SIZE];
    if (!Reg_GetValueString(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Multimedia\\WMPlayer", "Player.Path", path,
                            sizeof(path)) ||
        !FileExisted(path) || !LaunchProgram(path, "/device:AudioCD", NULL, NULL))
        return NULL;
    PlayerWindow mediaPlayer = { "WMPlayerApp", NULL, NULL };
    HWND player = WaitForPlayerWindow(&mediaPlayer, kPlayerWaitMs);
    if (player) {
        g_cdPlaying = 1;
        g_justLaunched = 1;
    }
    return player;
}

int ControlAudioCDPlayerWindow(int key)
{
    HWND player = FindWindowA("WMPlayerApp", NULL);
    if (!player)
        player = StartMediaPlayerForDisc(key);
    if (player && SendAppCommandForKey(player, key, 0))
        return 1;

    player = FindWindowA("MMFRAME_MAIN", NULL);
    if (player) {
        if (IsWin2000()) {
            if (SendAppCommandForKey(player, key, 1))
                return 1;
        } else {
            WPARAM command = 0;
            switch (key) {
            case kKeyPlay: g_cdPlaying = 1; command = 104; break;
            case kKeyPlayPause: command = 104; break;
            case kKeyPause: g_cdPlaying = 0; command = 104; break;
            case kKeyNext: command = 110; break;
            case kKeyPrevious: command = 109; break;
            case kKeyStop: g_cdPlaying = 0; command = 105; break;
            }
            if (command) {
                SendMessageA(player, WM_COMMAND, command, 0);
                return 1;
            }
        }
    }

    player = FindWindowA("SJE_CdPlayerClass", NULL);
    if (!player)
        return 0;
    if (key == kKeyPlayPause)
        key = g_cdPlaying ? kKeyPause : kKeyPlay;
    WPARAM command = 0;
    switch (key) {
    case kKeyPlay: g_cdPlaying = 1; command = 1000; break;
    case kKeyPause: g_cdPlaying = 0; command = 1001; break;
    case kKeyNext: command = 1006; break;
    case kKeyPrevious: command = 1003; break;
    case kKeyStop: g_cdPlaying = 0; command = 1002; break;
    default: return 0;
    }
    SendMessageA(player, WM_COMMAND, command, 0);
    return 1;
}
