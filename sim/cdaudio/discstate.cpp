// Reads a drive's disc description and keeps its play state in the registry. Positions
// advance with GetTickCount, which all processes of the Wine session share.
#include "discstate.h"

#include <mmsystem.h>

static DWORD HashText(const char* text, DWORD size)
{
    DWORD hash = 2166136261u;
    for (DWORD i = 0; i < size; ++i)
        hash = (hash ^ (BYTE)text[i]) * 16777619u;
    return hash;
}

static DWORD ReadDescription(char letter, char* text, DWORD size, DWORD* length)
{
    char path[16];
    wsprintfA(path, "%c:\\" DISC_FILE_NAME, letter);
    UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS);
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    SetErrorMode(oldMode);
    if (file == INVALID_HANDLE_VALUE)
        return MCIERR_DEVICE_NOT_READY;
    // One byte more than a description may hold, so an oversized file is seen as such.
    DWORD got = 0;
    BOOL ok = ReadFile(file, text, size, &got, NULL);
    CloseHandle(file);
    if (!ok)
        return MCIERR_DEVICE_NOT_READY;
    *length = got;
    return 0;
}

static void KeyPath(char letter, char* path)
{
    wsprintfA(path, DISC_STATE_KEY "\\%c", letter);
}

static bool ReadDword(HKEY key, const char* name, DWORD* value)
{
    DWORD type = 0;
    DWORD size = sizeof(*value);
    return RegQueryValueExA(key, name, NULL, &type, (BYTE*)value, &size) == ERROR_SUCCESS && type == REG_DWORD;
}

static void Advance(DiscView* view, DWORD since, DWORD now)
{
    if (view->mode != DISC_PLAYING)
        return;
    DWORD elapsed = now - since;
    long gained = (long)((ULONGLONG)elapsed * DISC_FRAMES_PER_SECOND / 1000);
    if (gained >= view->until - view->frame) {
        view->frame = view->until;
        view->mode = DISC_STOPPED;
    } else {
        view->frame += gained;
    }
}

DWORD DiscLoad(char letter, DiscView* view)
{
    ZeroMemory(view, sizeof(*view));
    view->letter = letter;
    char text[DISC_MAX_TEXT + 1];
    DWORD length = 0;
    DWORD error = ReadDescription(letter, text, sizeof(text), &length);
    if (error)
        return error;
    if (DiscParse(text, length, &view->disc, NULL) != DISC_OK)
        return MCIERR_INVALID_FILE;
    view->present = 1;
    view->stamp = HashText(text, length);

    DWORD now = GetTickCount();
    char path[64];
    KeyPath(letter, path);
    HKEY key;
    DWORD stamp = 0, mode = 0, frame = 0, since = 0, until = 0;
    bool known = false;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) == ERROR_SUCCESS) {
        known = ReadDword(key, "Stamp", &stamp) && stamp == view->stamp && ReadDword(key, "Mode", &mode) &&
                ReadDword(key, "Frame", &frame) && ReadDword(key, "Since", &since) && ReadDword(key, "Until", &until);
        RegCloseKey(key);
    }
    if (known && mode <= DISC_PAUSED && (long)frame <= view->disc.end && (long)until <= view->disc.end) {
        view->mode = (int)mode;
        view->frame = (long)frame;
        view->until = (long)until;
        Advance(view, since, now);
    } else {
        view->mode = view->disc.initialMode;
        view->frame = view->disc.initialFrame;
        view->until = view->disc.end;
        DiscSave(view);
    }
    return 0;
}

void DiscSave(const DiscView* view)
{
    char path[64];
    KeyPath(view->letter, path);
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, NULL, 0, KEY_WRITE, NULL, &key, NULL) != ERROR_SUCCESS)
        return;
    DWORD values[5] = { view->stamp, (DWORD)view->mode, (DWORD)view->frame, GetTickCount(), (DWORD)view->until };
    const char* names[5] = { "Stamp", "Mode", "Frame", "Since", "Until" };
    for (int i = 0; i < 5; ++i)
        RegSetValueExA(key, names[i], 0, REG_DWORD, (const BYTE*)&values[i], sizeof(DWORD));
    RegCloseKey(key);
}
