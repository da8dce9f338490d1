// Disc keys: look at the disc and drive whatever program fits it (a CD player window or
// the library's own MCI player, one of the known DVD players, the shell's AutoRun), and
// start a player on request. When nothing fits the user gets one short message.
#include "QVUtil.h"
#include "internal.h"
#include "textparse.h"

#include <objbase.h>
#include <shlobj.h>

enum {
    kPollMs = 100,
    kDvdPlayerWaitMs = 30000,
    kMediamaticsWaitMs = 5000,
    kWinDvdWaitMs = 8000,
    kPowerDvdWaitMs = 10000,
    kMediaPlayer2WaitMs = 10000,
};

enum {
    kIdCaption = 30000,
    kIdNoDisc = 30002,
    kIdDataDisc = 30003,
    kIdSoftwareDisc = 30004,
    kIdNoVideoPlayer = 30005,
};

static const char kDvdPlayerKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\DVDPlayer.exe";
static const char kMediamaticsKey[] = "Software\\Mediamatics\\DVD Express";
static const char kMediamaticsPublishKey[] = "Software\\Mediamatics\\DVD Express\\Mediamatics DVD Player\\Publish";
static const char kIfoCommandKey[] = "IFO_auto_file\\shell\\open\\command";
static const char kWinDvdKey[] = "Software\\InterVideo\\WinDVD";
static const char kPowerDvdKey[] = "Software\\CyberLink\\PowerDVD";
static const char kMediaPlayerKey[] = "Software\\Microsoft\\Multimedia\\WMPlayer";
static const char kMediaPlayer2Key[] = "Software\\Microsoft\\Multimedia\\MPlayer2";

static HWND g_dvdPlayerWindow;
static int g_messageOpen;

typedef int(WINAPI* MediaPlayFunc)(int, int);
typedef int(WINAPI* MediaCallFunc)(void);

HWND FindPlayerWindow(const PlayerWindow* player)
{
    if (player->className)
        return FindWindowA(player->className, player->title);
    return FindWindowByPath(player->path);
}

// Looked for often rather than once a second, so a caller waits no longer than the
// player takes to show its window.
HWND WaitForPlayerWindow(const PlayerWindow* player, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        HWND found = FindPlayerWindow(player);
        if (found || GetTickCount() - start >= timeoutMs)
            return found;
        Sleep(kPollMs);
    }
}

static int ShowMediaMessage(UINT captionId, UINT textId)
{
    char caption[QV_TEXT_SIZE];
    char text[QV_TEXT_SIZE];
    if (!LoadStringA(g_qvutilInstance, captionId, caption, sizeof(caption)))
        caption[0] = '\0';
    if (!LoadStringA(g_qvutilInstance, textId, text, sizeof(text)))
        text[0] = '\0';
    if (g_messageOpen) {
        MessageBeep(MB_ICONASTERISK);
        return 0;
    }
    g_messageOpen = 1;
    MessageBoxA(NULL, text, caption, MB_SYSTEMMODAL | MB_ICONINFORMATION);
    g_messageOpen = 0;
    return 1;
}

// Reads a registry text and appends `tail`; 0 when missing or when the result would not fit.
static int ReadProgramPath(HKEY root, LPCSTR key, LPCSTR value, LPCSTR tail, LPSTR path)
{
    if (!Reg_GetValueString(root, key, value, path, QV_TEXT_SIZE))
        return 0;
    return !tail || TextAppend(path, QV_TEXT_SIZE, tail);
}

static int StartProgram(LPCSTR path, LPCSTR arguments)
{
    return FileExisted(path) && LaunchProgram(path, arguments, NULL, NULL);
}

// Play/Pause becomes Play or Pause by the last known state, which it then flips.
static int ResolvePlayPause(int key)
{
    if (key != kKeyPlayPause)
        return key;
    key = g_cdPlaying ? kKeyPause : kKeyPlay;
    g_cdPlaying = !g_cdPlaying;
    return key;
}

static void PressKey(HWND target, BYTE virtualKey)
{
    ActivateWindow(target);
    keybd_event(virtualKey, 0, 0, 0);
    keybd_event(virtualKey, 0, KEYEVENTF_KEYUP, 0);
}

// The value a player takes for each key, in the order Play, Pause, Next, Previous, Stop;
// Play sets the playing flag, Pause and Stop clear it.
static UINT PlayerCommand(int key, const UINT* commands)
{
    switch (key) {
    case kKeyPlay: g_cdPlaying = 1; return commands[0];
    case kKeyPause: g_cdPlaying = 0; return commands[1];
    case kKeyNext: return commands[2];
    case kKeyPrevious: return commands[3];
    case kKeyStop: g_cdPlaying = 0; return commands[4];
    }
    return 0;
}

static int ControlDvdPlayer(int key)
{
    if (g_dvdPlayerWindow && !IsWindow(g_dvdPlayerWindow))
        g_dvdPlayerWindow = NULL;
    char path[QV_TEXT_SIZE];
    if (!g_dvdPlayerWindow && ReadProgramPath(HKEY_LOCAL_MACHINE, kDvdPlayerKey, "", NULL, path)) {
        g_dvdPlayerWindow = FindWindowByPath(path);
        if (!g_dvdPlayerWindow && (key == kKeyPlayPause || key == kKeyPlay) && StartProgram(path, NULL)) {
            // A player just started begins by itself; the key is not passed on.
            PlayerWindow player = { NULL, NULL, path };
            g_dvdPlayerWindow = WaitForPlayerWindow(&player, kDvdPlayerWaitMs);
            if (g_dvdPlayerWindow) {
                g_cdPlaying = 1;
                return 1;
            }
        }
    }
    if (!g_dvdPlayerWindow)
        return 0;
    static const UINT keys[] = { 'P', 'P', VK_NEXT, VK_PRIOR, 'S' };
    UINT virtualKey = PlayerCommand(ResolvePlayPause(key), keys);
    if (virtualKey)
        PressKey(g_dvdPlayerWindow, (BYTE)virtualKey);
    return 1;
}

static int ControlMediamatics(int key)
{
    char text[QV_TEXT_SIZE];
    if (!Reg_GetValueString(HKEY_LOCAL_MACHINE, kMediamaticsKey, "Version", text, sizeof(text)))
        return 0;
    char className[QV_TEXT_SIZE] = "";
    char windowName[QV_TEXT_SIZE] = "";
    if (!Reg_GetValueString(HKEY_LOCAL_MACHINE, kMediamaticsPublishKey, "ClassName", className, sizeof(className)))
        className[0] = '\0';
    if (!Reg_GetValueString(HKEY_LOCAL_MACHINE, kMediamaticsPublishKey, "WindowName", windowName, sizeof(windowName)))
        windowName[0] = '\0';
    HWND player = NULL;
    if (className[0])
        player = FindWindowA(className, windowName[0] ? windowName : NULL);
    if (!player && Reg_GetValueString(HKEY_CLASSES_ROOT, kIfoCommandKey, "", text, sizeof(text))) {
        char program[QV_TEXT_SIZE];
        TextSplitCommand(text, program, sizeof(program), NULL, 0);
        if (StartProgram(program, NULL)) {
            PlayerWindow lookup = { NULL, NULL, program };
            player = WaitForPlayerWindow(&lookup, kMediamaticsWaitMs);
        }
    }
    if (!player)
        return 0;
    static const UINT messages[] = { 7033, 7036, 7037, 7035, 7039 };
    UINT message = PlayerCommand(ResolvePlayPause(key), messages);
    if (message)
        SendMessageA(player, message, 0, 0);
    return 1;
}

static int ControlWinDvd(int key)
{
    char program[QV_TEXT_SIZE];
    if (!ReadProgramPath(HKEY_LOCAL_MACHINE, kWinDvdKey, "PATH", "\\WinDVD.exe", program))
        return 0;
    PlayerWindow lookup = { NULL, NULL, program };
    HWND player = FindPlayerWindow(&lookup);
    if (!player && StartProgram(program, NULL))
        player = WaitForPlayerWindow(&lookup, kWinDvdWaitMs);
    if (!player)
        return 0;
    static const UINT commands[] = { 0x8004, 0x8008, 0x800A, 0x8009, 0x8005 };
    UINT command = PlayerCommand(ResolvePlayPause(key), commands);
    if (command)
        PostMessageA(player, WM_COMMAND, command, 0);
    return 1;
}

static int ControlPowerDvd(int key)
{
    HWND player = FindWindowA("Class of CyberLink Universal Player", "CyberLink Universal Player");
    char program[QV_TEXT_SIZE];
    if (!player && ReadProgramPath(HKEY_LOCAL_MACHINE, kPowerDvdKey, "InstallDir", "\\PowerDVD.exe", program) &&
        StartProgram(program, NULL)) {
        PlayerWindow lookup = { NULL, NULL, program };
        player = WaitForPlayerWindow(&lookup, kPowerDvdWaitMs);
    }
    if (!player)
        return 0;
    static const UINT messages[] = { 0x409, 0x40B, 0x40C, 0x40A, 0x407 };
    UINT message = PlayerCommand(ResolvePlayPause(key), messages);
    if (message)
        PostMessageA(player, message, 0, 0);
    return 1;
}

static int ControlMediaPlayer2(int key)
{
    char program[QV_TEXT_SIZE];
    if (!ReadProgramPath(HKEY_LOCAL_MACHINE, kMediaPlayer2Key, "Player.Path", NULL, program))
        return 0;
    PlayerWindow lookup = { "Media Player 2", NULL, NULL };
    HWND player = FindPlayerWindow(&lookup);
    if (!player && StartProgram(program, NULL))
        player = WaitForPlayerWindow(&lookup, kMediaPlayer2WaitMs);
    if (!player)
        return 0;
    static const UINT keys[] = { VK_SPACE, VK_SPACE, VK_NEXT, VK_PRIOR, 'S' };
    UINT virtualKey = PlayerCommand(ResolvePlayPause(key), keys);
    if (virtualKey)
        PressKey(player, (BYTE)virtualKey);
    return 1;
}

static int ControlMediaLibrary(int key)
{
    if (!g_qvmedia)
        return 0;
    key = ResolvePlayPause(key);
    if (key == kKeyPlay) {
        MediaPlayFunc play = (MediaPlayFunc)(void*)GetProcAddress(g_qvmedia, "Qvmedia_Play");
        return play ? play(0, 0) : 0;
    }
    LPCSTR name = NULL;
    switch (key) {
    case kKeyPause: name = "Qvmedia_Pause"; break;
    case kKeyNext: name = "Qvmedia_NextTrack"; break;
    case kKeyPrevious: name = "Qvmedia_PrevTrack"; break;
    case kKeyStop: name = "Qvmedia_Stop"; break;
    default: return 0;
    }
    MediaCallFunc call = (MediaCallFunc)(void*)GetProcAddress(g_qvmedia, name);
    return call ? call() : 0;
}

static int ControlVideoPlayer(int key)
{
    if (ControlDvdPlayer(key) || ControlMediamatics(key) || ControlWinDvd(key) || ControlPowerDvd(key) ||
        ControlMediaPlayer2(key))
        return 1;
    return ControlMediaLibrary(key);
}

static void ControlOwnPlayer(int key, LPCSTR root)
{
    if (key == kKeyPlayPause)
        key = g_cdPlaying ? kKeyPause : kKeyPlay;
    switch (key) {
    case kKeyPlay:
        AudioCD_Play(root);
        g_cdPlaying = 1;
        break;
    case kKeyPause:
        AudioCD_Pause(root);
        g_cdPlaying = 0;
        break;
    case kKeyNext:
        AudioCD_NextTrack(root);
        break;
    case kKeyPrevious:
        AudioCD_PrevTrack(root);
        break;
    case kKeyStop:
        AudioCD_Stop(root);
        g_cdPlaying = 0;
        break;
    }
}

static int ControlDiscMedia(int key)
{
    if (key == kKeyEject)
        return 1;
    if (key != kKeyPlay && key != kKeyPause && key != kKeyNext && key != kKeyPrevious && key != kKeyStop &&
        key != kKeyPlayPause)
        return 0;
    char root[QV_TEXT_SIZE] = "";
    switch (SelectDiscDrive(root)) {
    case kDiscNone:
        ShowMediaMessage(kIdCaption, kIdNoDisc);
        break;
    case kDiscAudio:
        if (!ControlAudioCDPlayerWindow(key))
            ControlOwnPlayer(key, root);
        break;
    case kDiscDvd:
    case kDiscVcd:
        if (!ControlVideoPlayer(key))
            ShowMediaMessage(kIdCaption, kIdNoVideoPlayer);
        break;
    case kDiscSoftware:
        if (key == kKeyPlay || key == kKeyPlayPause)
            OpenAutoRunCD(root);
        else
            ShowMediaMessage(kIdCaption, kIdSoftwareDisc);
        break;
    case kDiscData:
        ShowMediaMessage(kIdCaption, kIdDataDisc);
        break;
    }
    return 1;
}

QVUTIL_API int WINAPI CD_Play(void)
{
    return ControlDiscMedia(kKeyPlay);
}

QVUTIL_API int WINAPI CD_Pause(void)
{
    return ControlDiscMedia(kKeyPause);
}

QVUTIL_API int WINAPI CD_PlayPause(void)
{
    return ControlDiscMedia(kKeyPlayPause);
}

QVUTIL_API int WINAPI CD_NextTrack(void)
{
    return ControlDiscMedia(kKeyNext);
}

QVUTIL_API int WINAPI CD_PrevTrack(void)
{
    return ControlDiscMedia(kKeyPrevious);
}

QVUTIL_API int WINAPI CD_Stop(void)
{
    return ControlDiscMedia(kKeyStop);
}

QVUTIL_API int WINAPI LaunchVideoPlayer(void)
{
    char path[QV_TEXT_SIZE];
    if (ReadProgramPath(HKEY_LOCAL_MACHINE, kDvdPlayerKey, "", NULL, path) && StartProgram(path, NULL))
        return 1;
    if (Reg_GetValueString(HKEY_LOCAL_MACHINE, kMediamaticsKey, "Version", path, sizeof(path)) &&
        Reg_GetValueString(HKEY_CLASSES_ROOT, kIfoCommandKey, "", path, sizeof(path))) {
        char program[QV_TEXT_SIZE];
        TextSplitCommand(path, program, sizeof(program), NULL, 0);
        if (StartProgram(program, NULL))
            return 1;
    }
    if (ReadProgramPath(HKEY_LOCAL_MACHINE, kWinDvdKey, "PATH", "\\WinDVD.exe", path) && StartProgram(path, NULL))
        return 1;
    if (ReadProgramPath(HKEY_LOCAL_MACHINE, kPowerDvdKey, "InstallDir", "\\PowerDVD.exe", path) &&
        StartProgram(path, NULL))
        return 1;
    if (ReadProgramPath(HKEY_LOCAL_MACHINE, kMediaPlayerKey, "Player.Path", NULL, path) && StartProgram(path, NULL))
        return 1;
    if (ReadProgramPath(HKEY_LOCAL_MACHINE, kMediaPlayer2Key, "Player.Path", NULL, path) && StartProgram(path, NULL))
        return 1;
    if (!g_qvmedia)
        return 0;
    MediaPlayFunc play = (MediaPlayFunc)(void*)GetProcAddress(g_qvmedia, "Qvmedia_Play");
    return play ? play(0, 1) : 0;
}

QVUTIL_API int WINAPI LaunchCDPlayer(void)
{
    char root[QV_TEXT_SIZE] = "";
    switch (SelectDiscDrive(root)) {
    case kDiscNone:
        ShowMediaMessage(kIdCaption, kIdNoDisc);
        return 0;
    case kDiscDvd:
    case kDiscVcd:
        return LaunchVideoPlayer();
    case kDiscSoftware:
    case kDiscData:
        return LaunchProgram(root, NULL, NULL, NULL);
    }
    char path[QV_TEXT_SIZE];
    if (!ReadProgramPath(HKEY_LOCAL_MACHINE, kMediaPlayerKey, "Player.Path", NULL, path))
        return LaunchProgram("cdplayer.exe", NULL, NULL, NULL) ? 1 : 0;
    return StartProgram(path, "/device:AudioCD") ? 1 : 0;
}

QVUTIL_API int WINAPI OpenAutoRunCD(LPCSTR driveRoot)
{
    IShellFolder* desktop = NULL;
    IShellFolder* computer = NULL;
    LPITEMIDLIST computerId = NULL;
    LPITEMIDLIST driveId = NULL;
    WCHAR wideRoot[QV_TEXT_SIZE];
    if (driveRoot && SUCCEEDED(SHGetDesktopFolder(&desktop)) &&
        SUCCEEDED(SHGetSpecialFolderLocation(NULL, CSIDL_DRIVES, &computerId)) &&
        SUCCEEDED(desktop->BindToObject(computerId, NULL, IID_IShellFolder, (void**)&computer)) &&
        MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, driveRoot, -1, wideRoot, QV_TEXT_SIZE) &&
        SUCCEEDED(computer->ParseDisplayName(NULL, NULL, wideRoot, NULL, &driveId, NULL))) {
        IContextMenu* menu = NULL;
        LPCITEMIDLIST items[1] = { driveId };
        if (SUCCEEDED(computer->GetUIObjectOf(NULL, 1, items, IID_IContextMenu, NULL, (void**)&menu))) {
            HMENU popup = CreatePopupMenu();
            if (popup) {
                menu->QueryContextMenu(popup, 0, 1, 0x7FFF, CMF_DEFAULTONLY);
                CMINVOKECOMMANDINFO invoke;
                ZeroMemory(&invoke, sizeof(invoke));
                invoke.cbSize = sizeof(invoke);
                invoke.lpVerb = "AutoRun";
                invoke.nShow = SW_SHOWNORMAL;
                menu->InvokeCommand(&invoke);
                DestroyMenu(popup);
            }
            menu->Release();
        }
    }
    // Item lists from the shell are freed with the shell's allocator.
    IMalloc* allocator = NULL;
    if ((driveId || computerId) && SUCCEEDED(SHGetMalloc(&allocator))) {
        if (driveId)
            allocator->Free(driveId);
        if (computerId)
            allocator->Free(computerId);
        allocator->Release();
    }
    if (computer)
        computer->Release();
    if (desktop)
        desktop->Release();
    return 1;
}
