// Declarations shared by QVUtil's own files and not exported.
#ifndef QVUTIL_INTERNAL_H
#define QVUTIL_INTERNAL_H

#include <windows.h>

// The library's module: strings and other resources are loaded from it.
extern HINSTANCE g_qvutilInstance;

// The outside media library, held from attach to detach; null when it is not installed.
extern HMODULE g_qvmedia;

// Media keys, by their HID Consumer usage.
enum {
    kKeyPlay = 0xB0,
    kKeyPause = 0xB1,
    kKeyNext = 0xB5,
    kKeyPrevious = 0xB6,
    kKeyStop = 0xB7,
    kKeyEject = 0xB8,
    kKeyPlayPause = 0xCD,
};

// What a CD-ROM drive holds.
enum {
    kDiscNone = 0,
    kDiscAudio = 1,
    kDiscDvd = 2,
    kDiscSoftware = 3,
    kDiscVcd = 4,
    kDiscData = 5,
    kDiscNoDrive = 6,
};

// Last known play state of the disc media (1 playing).
extern int g_cdPlaying;

int ClassifyDisc(LPCSTR root);
// `root` holds 260 bytes and is left untouched when there is no CD-ROM drive.
int SelectDiscDrive(LPSTR root);
int ControlAudioCDPlayerWindow(int key);

// A player's window by class (and title), or else by program path (top-level windows only).
struct PlayerWindow {
    LPCSTR className;
    LPCSTR title;
    LPCSTR path;
};
HWND FindPlayerWindow(const PlayerWindow* player);
// Looks until the window shows up or `timeoutMs` have passed.
HWND WaitForPlayerWindow(const PlayerWindow* player, DWORD timeoutMs);

#endif
