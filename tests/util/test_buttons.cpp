// The predefined function table as button configuration and the daemon use it: names,
// usages and descriptions in several languages, dispatch of button events (the volume
// keys drive the real mixer over the null sound device), and application commands.
// Disc and launch rows are not run here: their keys are tested with their own families.
#include <doctest/doctest.h>

#include "QVUtil.h"
#include "wintest.h"

#include <mmsystem.h>

#include <string>

using namespace qvtest;

namespace {

struct Locale {
    LCID saved = GetThreadLocale();
    explicit Locale(LCID lcid) { SetThreadLocale(lcid); }
    ~Locale() { SetThreadLocale(saved); }
};

std::string Enumerated(int index)
{
    char text[260] = "";
    int n = EnumPredefinedFunction(index, text, sizeof(text));
    CHECK(n == lstrlenA(text));
    return text;
}

int Volume()
{
    int volume = -1;
    Mixer_GetVolume(&volume);
    return volume;
}

struct AppCommandLog {
    UINT count;
    WPARAM wParam;
    LPARAM lParam;
};
AppCommandLog g_appCommands;

LRESULT CALLBACK RecordAppCommand(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == 0x0319) {
        ++g_appCommands.count;
        g_appCommands.wParam = wParam;
        g_appCommands.lParam = lParam;
        return 0x1234;
    }
    return DefWindowProcA(wnd, message, wParam, lParam);
}

} // namespace

TEST_CASE("names are found in any letter case; usage 0 rows are reached only by name")
{
    CHECK(GetHIDUsageCode("volume up") == 0xE9);
    CHECK(GetHIDUsageCode("CD PLAY/PAUSE") == 0xCD);
    CHECK(GetHIDUsageCode("aux9") == 0x8109);
    CHECK(GetHIDUsageCode("My Documents") == 0);
    CHECK(GetHIDUsageCode("Volume Up ") == 0);
    CHECK(GetHIDUsageCode("") == 0);
    CHECK(GetHIDUsageCode(NULL) == 0);

    char name[260] = "untouched";
    CHECK(GetHIDFuncName(0, name, sizeof(name)) == 0);
    CHECK(GetHIDFuncName(0x0203, name, sizeof(name)) == 1);
    CHECK(std::string(name) == "Close Window");
    CHECK(GetHIDFuncName(0x8101, name, sizeof(name)) == 1);
    CHECK(std::string(name) == "AUX1");
    CHECK(GetHIDFuncName(0x1234, name, sizeof(name)) == 0);
    CHECK(GetHIDFuncName(0x00E2, NULL, 0) == 1);   // presence test
    CHECK(GetHIDFuncName(0x1234, NULL, 0) == 0);
}

TEST_CASE("a name is copied only when it fits with its terminator")
{
    char name[8] = "xxxxxxx";
    CHECK(GetHIDFuncName(0x0223, name, 3) == 0);
    CHECK(std::string(name) == "xxxxxxx");
    CHECK(GetHIDFuncName(0x0223, name, 4) == 1);
    CHECK(std::string(name) == "WWW");
    CHECK(GetHIDFuncName(0x0223, name, 0) == 0);
    CHECK(GetHIDFuncName(0x0223, name, -5) == 0);
}

TEST_CASE("descriptions in English: by index, by name, by usage, and back to the name")
{
    Locale english(0x0409);
    CHECK(Enumerated(0) == "Close Window");
    CHECK(Enumerated(5) == "Stop");
    CHECK(Enumerated(14) == "E-mail");
    CHECK(Enumerated(18) == "My Documents");
    CHECK(Enumerated(24) == "");   // AUX1 has none
    CHECK(Enumerated(33) == "Power");
    char text[260] = "";
    CHECK(EnumPredefinedFunction(33, text, sizeof(text)) == 5);
    CHECK(EnumPredefinedFunction(35, text, sizeof(text)) == 0);
    CHECK(EnumPredefinedFunction(-1, text, sizeof(text)) == 0);
    CHECK(EnumPredefinedFunction(33, NULL, 260) == 0);
    CHECK(EnumPredefinedFunction(33, text, 0) == 0);
    // Cut as LoadStringA cuts.
    CHECK(EnumPredefinedFunction(33, text, 3) == 2);
    CHECK(std::string(text) == "Po");

    CHECK(GetFuncDescNameFromFuncName("volume DOWN", text, sizeof(text)) == 11);
    CHECK(std::string(text) == "Volume Down");
    CHECK(GetFuncDescNameFromFuncName("AUX3", text, sizeof(text)) == 0);
    CHECK(GetFuncDescNameFromFuncName("Nothing", text, sizeof(text)) == 0);
    CHECK(GetFuncDescNameFromFuncName(NULL, text, sizeof(text)) == 0);

    CHECK(GetHIDFuncDesc(0x00B7, text, sizeof(text)) == 4);
    CHECK(std::string(text) == "Stop");
    CHECK(GetHIDFuncDesc(0x00B7, NULL, 0) == 1);
    CHECK(GetHIDFuncDesc(0, text, sizeof(text)) == 0);
    CHECK(GetHIDFuncDesc(0x8105, text, sizeof(text)) == 0);
    CHECK(GetHIDFuncDesc(0x4321, NULL, 0) == 0);

    char name[260] = "";
    CHECK(GetFuncNameFromFuncDescName("sTOP", name, sizeof(name)) == 1);
    CHECK(std::string(name) == "CD Stop");
    CHECK(GetFuncNameFromFuncDescName("E-mail", name, sizeof(name)) == 1);
    CHECK(std::string(name) == "Email");
    CHECK(GetFuncNameFromFuncDescName("Email", name, sizeof(name)) == 0);
    char small[7] = "";
    CHECK(GetFuncNameFromFuncDescName("Stop", small, sizeof(small)) == 0);   // "CD Stop" needs 8
    CHECK(GetFuncNameFromFuncDescName("", name, sizeof(name)) == 0);
    CHECK(GetFuncNameFromFuncDescName(NULL, name, sizeof(name)) == 0);
}

TEST_CASE("descriptions follow the thread's locale, and the lookup back uses that language only")
{
    char name[260] = "";
    {
        Locale german(0x0407);
        CHECK(Enumerated(8) == "Wiedergabe");
        CHECK(Enumerated(12) == "Lauter");
        CHECK(GetFuncNameFromFuncDescName("wiedergabe", name, sizeof(name)) == 1);
        CHECK(std::string(name) == "CD Play");
        CHECK(GetFuncNameFromFuncDescName("Play", name, sizeof(name)) == 0);
    }
    {
        Locale french(0x040C);
        CHECK(Enumerated(8) == "Lecture");
        CHECK(GetFuncNameFromFuncDescName("Wiedergabe", name, sizeof(name)) == 0);
    }
    {
        Locale dutch(0x0413);
        CHECK(Enumerated(8) == "Afspelen");
        char text[260] = "";
        CHECK(GetHIDFuncDesc(0x00B0, text, sizeof(text)) == 8);
    }
}

TEST_CASE("button events: volume keys run and stop the ramp, mute toggles once per press")
{
    REQUIRE(Mixer_Init(NULL) == MMSYSERR_NOERROR);
    Mixer_SetMuteState(0);
    Mixer_VolumeDown(0xFFFF);
    Mixer_VolumeUp(10000);
    int start = Volume();
    REQUIRE(start >= 9999); // Wine 10 may read a written volume back one lower
    REQUIRE(start <= 10000);

    int result = -1;
    CHECK(CallHIDButtonFunction(0x00E9, 1, &result) == 1);
    CHECK(result == 1);
    CHECK(Volume() > start);
    PumpFor(700);
    int ramped = Volume();
    CHECK(ramped > start + 2730);   // the ramp kept going while the key was held
    result = -1;
    CHECK(CallHIDButtonFunction(0x00E9, 0, &result) == 1);
    CHECK(result == 1);
    int stopped = Volume();
    PumpFor(450);
    CHECK(Volume() == stopped);

    // The third event kind runs nothing, yet the key is taken.
    result = -1;
    CHECK(CallHIDButtonFunction(0x00E9, 2, &result) == 1);
    CHECK(result == 0);
    CHECK(Volume() == stopped);

    CHECK(CallPredefinedButtonFunction("Volume Down", 1) == 1);
    CHECK(Volume() < stopped);
    CHECK(CallPredefinedButtonFunction("Volume Down", 0) == 1);
    int down = Volume();
    PumpFor(450);
    CHECK(Volume() == down);

    int muted = Mixer_GetMuteState();
    CHECK(CallHIDButtonFunction(0x00E2, 1, &result) == 1);
    CHECK(result == 0);   // the mixer's success code
    CHECK(Mixer_GetMuteState() == !muted);
    result = -1;
    CHECK(CallHIDButtonFunction(0x00E2, 0, &result) == 1);   // a release of a press-only key is taken
    CHECK(result == 0);
    CHECK(Mixer_GetMuteState() == !muted);
    CHECK(CallPredefinedButtonFunction("MUTE", 1) == 0);
    CHECK(Mixer_GetMuteState() == muted);
    CHECK(CallPredefinedButtonFunction("Mute", 0) == 0);
    CHECK(CallPredefinedButtonFunction("Mute", 7) == 0);
    CHECK(Mixer_GetMuteState() == muted);
    Mixer_SetMuteState(0);
}

TEST_CASE("keys without handlers are left to the caller; unknown usages and names do nothing")
{
    int result = -1;
    CHECK(CallHIDButtonFunction(0x0224, 1, &result) == 0);   // App Back
    CHECK(result == 0);
    result = -1;
    CHECK(CallHIDButtonFunction(0x8103, 0, &result) == 0);   // AUX3
    CHECK(result == 0);
    result = -1;
    CHECK(CallHIDButtonFunction(0x1234, 1, &result) == 0);
    CHECK(result == 0);
    result = -1;
    CHECK(CallHIDButtonFunction(0, 1, &result) == 0);
    CHECK(result == -1);   // not written for usage 0
    CHECK(CallHIDButtonFunction(0x0221, 1, NULL) == 0);
    CHECK(CallHIDButtonFunction(0x00B0, 0, NULL) == 1);   // CD Play's release: taken, nothing run
    CHECK(CallPredefinedButtonFunction("Search", 1) == 0);
    CHECK(CallPredefinedButtonFunction("No Such Function", 1) == 0);
    CHECK(CallPredefinedButtonFunction(NULL, 1) == 0);
}

TEST_CASE("application commands carry only the command byte, in bits 16-23")
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = RecordAppCommand;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.lpszClassName = "QvAppCommandTarget";
    RegisterClassA(&wc);
    HWND wnd = CreateWindowA("QvAppCommandTarget", "", WS_OVERLAPPED, 0, 0, 10, 10, NULL, NULL, wc.hInstance, NULL);
    REQUIRE(wnd != NULL);
    g_appCommands = {};
    CHECK(SendAppCommand(wnd, 0x1FF) == 0x1234);
    CHECK(g_appCommands.count == 1);
    CHECK(g_appCommands.wParam == (WPARAM)wnd);
    CHECK(g_appCommands.lParam == (LPARAM)0x00FF0000);
    CHECK(SendAppCommand(wnd, 14) == 0x1234);
    CHECK(g_appCommands.lParam == (LPARAM)0x000E0000);
    CHECK(SendAppCommand(wnd, -1) == 0x1234);
    CHECK(g_appCommands.lParam == (LPARAM)0x00FF0000);
    DestroyWindow(wnd);
}
