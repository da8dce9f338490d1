// The catalogue of built-in functions a keyboard button can be bound to: names stored by
// button configuration, localized descriptions, the HID usage of the key that carries
// each one, and dispatch of button events to the handlers.
#include "QVUtil.h"
#include "internal.h"
#include "textparse.h"

#ifndef WM_APPCOMMAND
#define WM_APPCOMMAND 0x0319
#endif

typedef int(WINAPI* EventHandler)(int eventCode);
typedef int(WINAPI* Handler)(void);

struct PredefinedFunction {
    DWORD usage;   // 0: reached by name only
    LPCSTR name;
    UINT descriptionId;   // 0: no description
    EventHandler anyEvent;
    Handler press;
    Handler event2;
    Handler release;
};

enum { kEventReleased = 0, kEventPressed = 1, kEventOther = 2 };

// The mute handler reports a mixer result; a button handler reports an int.
static int WINAPI ToggleMute(void)
{
    return (int)Mixer_ToggleMute();
}

// Row order is the index button configuration enumerates by.
static const PredefinedFunction kFunctions[] = {
    { 0x0203, "Close Window", 1, NULL, CloseCurrentWindow, NULL, NULL },
    { 0, "Next Window", 2, NULL, SwitchNextWindow, NULL, NULL },
    { 0, "Screen Saver", 3, NULL, ActivateScreenSaver, NULL, NULL },
    { 0x0091, "CD Player", 18, NULL, LaunchCDPlayer, NULL, NULL },
    { 0x008B, "Video Player", 19, NULL, LaunchVideoPlayer, NULL, NULL },
    { 0x00B7, "CD Stop", 5, NULL, CD_Stop, NULL, NULL },
    { 0x00B6, "Previous Track", 6, NULL, CD_PrevTrack, NULL, NULL },
    { 0x00B5, "Next Track", 7, NULL, CD_NextTrack, NULL, NULL },
    { 0x00B0, "CD Play", 8, NULL, CD_Play, NULL, NULL },
    { 0x00B1, "CD Pause", 9, NULL, CD_Pause, NULL, NULL },
    { 0x00CD, "CD Play/Pause", 10, NULL, CD_PlayPause, NULL, NULL },
    { 0x00E2, "Mute", 12, NULL, ToggleMute, NULL, NULL },
    { 0x00E9, "Volume Up", 21, NULL, Mixer_StartVolumeIncrease, NULL, Mixer_StopVolumeIncrease },
    { 0x00EA, "Volume Down", 22, NULL, Mixer_StartVolumeDecrease, NULL, Mixer_StopVolumeDecrease },
    { 0x018A, "Email", 20, NULL, LaunchDefaultMailProgram, NULL, NULL },
    { 0x0223, "WWW", 23, NULL, OpenWWWHomePage, NULL, NULL },
    { 0x0192, "Calculator", 4, NULL, LaunchCalculator, NULL, NULL },
    { 0x0095, "Help", 39, NULL, LaunchSystemHelp, NULL, NULL },
    { 0, "My Documents", 30006, NULL, LaunchMyDocuments, NULL, NULL },
    { 0x022A, "My Favorites", 28, NULL, NULL, NULL, NULL },
    { 0x0221, "Search", 31, NULL, NULL, NULL, NULL },
    { 0x0181, "Display", 24, NULL, NULL, NULL, NULL },
    { 0x0224, "App Back", 25, NULL, NULL, NULL, NULL },
    { 0x0225, "App Forward", 26, NULL, NULL, NULL, NULL },
    { 0x8101, "AUX1", 0, NULL, NULL, NULL, NULL },
    { 0x8102, "AUX2", 0, NULL, NULL, NULL, NULL },
    { 0x8103, "AUX3", 0, NULL, NULL, NULL, NULL },
    { 0x8104, "AUX4", 0, NULL, NULL, NULL, NULL },
    { 0x8105, "AUX5", 0, NULL, NULL, NULL, NULL },
    { 0x8106, "AUX6", 0, NULL, NULL, NULL, NULL },
    { 0x8107, "AUX7", 0, NULL, NULL, NULL, NULL },
    { 0x8108, "AUX8", 0, NULL, NULL, NULL, NULL },
    { 0x8109, "AUX9", 0, NULL, NULL, NULL, NULL },
    { 0x0030, "Power", 53, NULL, NULL, NULL, NULL },
    { 0x0032, "Sleep", 54, NULL, NULL, NULL, NULL },
};

static const int kFunctionCount = (int)(sizeof(kFunctions) / sizeof(kFunctions[0]));

static const PredefinedFunction* FindByName(LPCSTR name)
{
    if (!name)
        return NULL;
    for (int i = 0; i < kFunctionCount; ++i) {
        if (lstrcmpiA(kFunctions[i].name, name) == 0)
            return &kFunctions[i];
    }
    return NULL;
}

// Usage 0 marks rows without a key, so it never finds one.
static const PredefinedFunction* FindByUsage(int usage)
{
    if (usage == 0)
        return NULL;
    for (int i = 0; i < kFunctionCount; ++i) {
        if (kFunctions[i].usage == (DWORD)usage)
            return &kFunctions[i];
    }
    return NULL;
}

// The description in the thread's language; 0 without one. A zero-size load would hand
// back a pointer into the resource instead of copying, so it is refused.
static int LoadDescription(const PredefinedFunction* function, LPSTR buffer, int bufferSize)
{
    if (!function->descriptionId || !buffer || bufferSize <= 0)
        return 0;
    return LoadStringA(g_qvutilInstance, function->descriptionId, buffer, bufferSize);
}

static Handler HandlerFor(const PredefinedFunction* function, int eventCode)
{
    switch (eventCode) {
    case kEventPressed: return function->press;
    case kEventReleased: return function->release;
    case kEventOther: return function->event2;
    }
    return NULL;
}

// Runs the row's handler for the event; 0 in *ran when there was none.
static int RunHandler(const PredefinedFunction* function, int eventCode, int* ran)
{
    Handler handler = HandlerFor(function, eventCode);
    *ran = 1;
    if (handler)
        return handler();
    if (function->anyEvent)
        return function->anyEvent(eventCode);
    *ran = 0;
    return 0;
}

QVUTIL_API int WINAPI EnumPredefinedFunction(int index, LPSTR buffer, int bufferSize)
{
    if (index < 0 || index >= kFunctionCount)
        return 0;
    return LoadDescription(&kFunctions[index], buffer, bufferSize);
}

QVUTIL_API int WINAPI GetFuncNameFromFuncDescName(LPCSTR description, LPSTR buffer, int bufferSize)
{
    if (!description || !buffer || bufferSize <= 0)
        return 0;
    for (int i = 0; i < kFunctionCount; ++i) {
        char text[QV_TEXT_SIZE];
        if (!LoadDescription(&kFunctions[i], text, sizeof(text)) || lstrcmpiA(text, description) != 0)
            continue;
        if (lstrlenA(kFunctions[i].name) < bufferSize) {
            TextCopy(buffer, (size_t)bufferSize, kFunctions[i].name);
            return 1;
        }
    }
    return 0;
}

QVUTIL_API int WINAPI GetFuncDescNameFromFuncName(LPCSTR funcName, LPSTR buffer, int bufferSize)
{
    const PredefinedFunction* function = FindByName(funcName);
    return function ? LoadDescription(function, buffer, bufferSize) : 0;
}

QVUTIL_API int WINAPI CallPredefinedButtonFunction(LPCSTR funcName, int eventCode)
{
    const PredefinedFunction* function = FindByName(funcName);
    if (!function)
        return 0;
    int ran = 0;
    return RunHandler(function, eventCode, &ran);
}

QVUTIL_API int WINAPI GetHIDFuncName(int usage, LPSTR buffer, int bufferSize)
{
    const PredefinedFunction* function = FindByUsage(usage);
    if (!function)
        return 0;
    if (!buffer)
        return 1;
    if (bufferSize <= 0 || lstrlenA(function->name) >= bufferSize)
        return 0;
    TextCopy(buffer, (size_t)bufferSize, function->name);
    return 1;
}

QVUTIL_API int WINAPI GetHIDFuncDesc(int usage, LPSTR buffer, int bufferSize)
{
    const PredefinedFunction* function = FindByUsage(usage);
    if (!function)
        return 0;
    if (!buffer)
        return 1;
    return LoadDescription(function, buffer, bufferSize);
}

QVUTIL_API int WINAPI GetHIDUsageCode(LPCSTR funcName)
{
    const PredefinedFunction* function = FindByName(funcName);
    return function ? (int)function->usage : 0;
}

QVUTIL_API int WINAPI CallHIDButtonFunction(int usage, int eventCode, int* result)
{
    if (usage == 0)
        return 0;
    const PredefinedFunction* function = FindByUsage(usage);
    if (!function) {
        if (result)
            *result = 0;
        return 0;
    }
    int ran = 0;
    int value = RunHandler(function, eventCode, &ran);
    if (result)
        *result = value;
    if (ran)
        return 1;
    // A key with handlers for other events counts as taken; one without any is left to the caller.
    return function->press || function->release || function->event2 || function->anyEvent ? 1 : 0;
}

QVUTIL_API LRESULT WINAPI SendAppCommand(HWND hwnd, int command)
{
    // Only the command byte is sent: no device or key-state bits.
    LPARAM packed = (LPARAM)((DWORD)(command & 0xFF) << 16);
    return SendMessageA(hwnd, WM_APPCOMMAND, (WPARAM)hwnd, packed);
}
