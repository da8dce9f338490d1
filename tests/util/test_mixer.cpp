// The mixer against Wine's winmm mixer over the ALSA null device. Wine keeps the
// volume per process, so everything runs in this process (or a child it starts).
#include <doctest/doctest.h>

#include "QVUtil.h"
#include "wintest.h"

#include <mmsystem.h>

#include <string>

using namespace qvtest;

namespace {

int Volume()
{
    int v = -1;
    CHECK(Mixer_GetVolume(&v) == MMSYSERR_NOERROR);
    return v;
}

// Wine 10 keeps a line's volume as a float and reads it back truncated: a written value
// may come back one lower (0 and 65535 come back as written). Each write of a step can so
// lose one unit; `writes` counts the writes since the volume was last exact.
#define CHECK_VOLUME(expected, writes)                                                   \
    do {                                                                                 \
        int got_ = Volume();                                                             \
        CAPTURE(got_);                                                                   \
        CHECK(got_ <= (expected));                                                       \
        CHECK(got_ >= (expected) - (writes));                                            \
    } while (0)

// Sets the volume through steps only, so the test does not lean on a second writer; the
// one write up to the target may lose a unit (see CHECK_VOLUME).
void SetVolumeTo(int target)
{
    Mixer_VolumeDown(0xFFFF);
    REQUIRE(Volume() == 0);
    if (target > 0)
        Mixer_VolumeUp((UINT)target);
    int got = Volume();
    REQUIRE(got <= target);
    REQUIRE(got >= target - 1);
}

struct ReadyMixer {
    ReadyMixer()
    {
        REQUIRE(Mixer_Init(NULL) == MMSYSERR_NOERROR);
        Mixer_SetMuteState(0);
    }
    ~ReadyMixer()
    {
        Mixer_StopVolumeIncrease();
        Mixer_SetMuteState(0);
    }
};

// Waits for the next tick of the ramp's thread timer (a WM_TIMER without a window) and
// dispatches it; other messages are dispatched on the way. False after 3 s without one.
bool DispatchRampTick()
{
    DWORD end = GetTickCount() + 3000;
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
            DispatchMessageA(&msg);
            if (msg.message == WM_TIMER && msg.hwnd == NULL)
                return true;
        }
        LONG left = (LONG)(end - GetTickCount());
        if (left <= 0)
            return false;
        MsgWaitForMultipleObjects(0, NULL, FALSE, (DWORD)left, QS_ALLINPUT);
    }
}

bool RampTickWithin(DWORD ms)
{
    DWORD end = GetTickCount() + ms;
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
            DispatchMessageA(&msg);
            if (msg.message == WM_TIMER && msg.hwnd == NULL)
                return true;
        }
        LONG left = (LONG)(end - GetTickCount());
        if (left <= 0)
            return false;
        MsgWaitForMultipleObjects(0, NULL, FALSE, (DWORD)left, QS_ALLINPUT);
    }
}

// Runs this program's child entry `name` in a copy whose audio drivers are all disabled,
// so winmm there has no mixer device.
DWORD RunWithoutAudio(const char* name)
{
    std::string self = SelfPath();
    char copyName[64];
    wsprintfA(copyName, "test_mixer-noaudio-%lu.exe", GetCurrentProcessId());
    std::string copy = DirOf(self) + "\\" + copyName;
    std::string key = std::string("Software\\Wine\\AppDefaults\\") + copyName + "\\DllOverrides";
    if (!CopyFileA(self.c_str(), copy.c_str(), FALSE))
        return kNoExit;
    const char* drivers[] = {"winealsa.drv", "winepulse.drv", "wineoss.drv", "winecoreaudio.drv"};
    for (const char* d : drivers)
        WriteString(HKEY_CURRENT_USER, key.c_str(), d, "");
    DWORD code = RunProgram("\"" + copy + "\" --child " + name, 20000);
    DeleteFileA(copy.c_str());
    DeleteTree(HKEY_CURRENT_USER, (std::string("Software\\Wine\\AppDefaults\\") + copyName).c_str());
    return code;
}

} // namespace

// Every call before Mixer_Init is a silent no-op; exit code = number of failed checks.
QV_CHILD(before_init)
{
    int failures = 0;
    int v = 12345;
    failures += Mixer_GetVolume(&v) != 0 || v != 12345;
    failures += Mixer_VolumeUp(0) != 0;
    failures += Mixer_VolumeDown(100) != 0;
    failures += Mixer_ToggleMute() != 0;
    failures += Mixer_GetMuteState() != 0;
    failures += Mixer_SetMuteState(1) != 0;
    failures += Mixer_StartVolumeDecrease() != 1;
    PumpFor(400); // ticks come, and change nothing
    failures += Mixer_StopVolumeDecrease() != 1;
    // The line was never touched: after Init it still reads the untouched state.
    failures += Mixer_Init(NULL) != 0;
    failures += Mixer_GetMuteState() != 0;
    int after = -1;
    failures += Mixer_GetVolume(&after) != 0 || after != 65535;
    return failures;
}

QV_CHILD(no_device)
{
    int failures = 0;
    failures += mixerGetNumDevs() != 0; // the set-up itself: no mixer here
    failures += Mixer_Init(NULL) != 0;
    int v = 777;
    failures += Mixer_GetVolume(&v) != 0 || v != 777;
    failures += Mixer_VolumeUp(0) != 0;
    failures += Mixer_ToggleMute() != 0;
    failures += Mixer_GetMuteState() != 0;
    failures += Mixer_StartVolumeIncrease() != 1 || Mixer_StopVolumeIncrease() != 1;
    return failures;
}

TEST_CASE("mixer calls before Mixer_Init change nothing and return 0")
{
    CHECK(RunProgram("\"" + SelfPath() + "\" --child before_init", 20000) == 0);
}

TEST_CASE("without a mixer device every call is a silent no-op")
{
    CHECK(RunWithoutAudio("no_device") == 0);
}

TEST_CASE("24 default steps span the range; the 25th clamps at 65535")
{
    ReadyMixer mixer;
    SetVolumeTo(0);
    for (int i = 0; i < 24; ++i)
        CHECK(Mixer_VolumeUp(0) == MMSYSERR_NOERROR);
    CHECK_VOLUME(65520, 24);
    Mixer_VolumeUp(0);
    CHECK(Volume() == 65535);
    Mixer_VolumeDown(0);
    CHECK_VOLUME(62805, 1);
}

TEST_CASE("volume steps clamp at both ends")
{
    ReadyMixer mixer;
    SetVolumeTo(65500);
    Mixer_VolumeUp(100);
    CHECK(Volume() == 65535);
    SetVolumeTo(50);
    Mixer_VolumeDown(100);
    CHECK(Volume() == 0);
    Mixer_VolumeDown(0);
    CHECK(Volume() == 0);
    // A step just short of the volume leaves a little, not 0.
    SetVolumeTo(1000);
    Mixer_VolumeDown(990);
    CHECK_VOLUME(10, 2);
}

TEST_CASE("a null volume pointer is accepted")
{
    ReadyMixer mixer;
    CHECK(Mixer_GetVolume(NULL) == MMSYSERR_NOERROR);
}

TEST_CASE("mute toggles, reads back, and is set as given")
{
    ReadyMixer mixer;
    CHECK(Mixer_GetMuteState() == 0);
    CHECK(Mixer_ToggleMute() == MMSYSERR_NOERROR);
    CHECK(Mixer_GetMuteState() == 1);
    // As a button handler (int WINAPI (void)) it toggles back.
    int (WINAPI *handler)(void) = (int (WINAPI *)(void))Mixer_ToggleMute;
    CHECK(handler() == 0);
    CHECK(Mixer_GetMuteState() == 0);
    CHECK(Mixer_SetMuteState(1) == 0);
    CHECK(Mixer_GetMuteState() == 1);
    CHECK(Mixer_SetMuteState(0) == 0);
    CHECK(Mixer_GetMuteState() == 0);
}

TEST_CASE("a volume ramp unmutes, steps at once, skips its first tick, then steps every tick")
{
    ReadyMixer mixer;
    SetVolumeTo(10000);
    Mixer_SetMuteState(1);
    CHECK(Mixer_StartVolumeIncrease() == 1);
    CHECK(Mixer_GetMuteState() == 0);
    CHECK_VOLUME(12730, 2);
    REQUIRE(DispatchRampTick());
    CHECK_VOLUME(12730, 2); // the delay tick
    for (int i = 1; i <= 4; ++i) {
        REQUIRE(DispatchRampTick());
        CHECK_VOLUME(12730 + 2730 * i, 2 + i);
    }
    CHECK(Mixer_StopVolumeIncrease() == 1);
    CHECK_FALSE(RampTickWithin(400));
    CHECK_VOLUME(12730 + 2730 * 4, 6);
}

TEST_CASE("a ramp keeps writing clamped values at the top and does not unmute again")
{
    ReadyMixer mixer;
    SetVolumeTo(60000);
    Mixer_StartVolumeIncrease();       // 62730
    REQUIRE(DispatchRampTick());       // delay
    REQUIRE(DispatchRampTick());       // 65460
    REQUIRE(DispatchRampTick());
    CHECK(Volume() == 65535);
    Mixer_SetMuteState(1);
    REQUIRE(DispatchRampTick());
    CHECK(Volume() == 65535);
    CHECK(Mixer_GetMuteState() == 1);
    Mixer_StopVolumeIncrease();
}

TEST_CASE("a decrease while an increase runs turns the same timer around without a new delay")
{
    ReadyMixer mixer;
    SetVolumeTo(30000);
    Mixer_StartVolumeIncrease();       // 32730
    REQUIRE(DispatchRampTick());       // delay
    REQUIRE(DispatchRampTick());       // 35460
    CHECK(Mixer_StartVolumeDecrease() == 1); // 32730 at once
    CHECK_VOLUME(32730, 4);
    REQUIRE(DispatchRampTick());       // no second delay: 30000
    CHECK_VOLUME(30000, 5);
    // The stop function of the other direction ends it too.
    CHECK(Mixer_StopVolumeIncrease() == 1);
    CHECK_FALSE(RampTickWithin(400));
    CHECK_VOLUME(30000, 5);
}

TEST_CASE("a new ramp after a stop waits its delay again")
{
    ReadyMixer mixer;
    SetVolumeTo(30000);
    Mixer_StartVolumeDecrease();       // 27270
    Mixer_StopVolumeDecrease();
    Mixer_StartVolumeDecrease();       // 24540
    REQUIRE(DispatchRampTick());
    CHECK_VOLUME(24540, 3);
    REQUIRE(DispatchRampTick());
    CHECK_VOLUME(21810, 4);
    Mixer_StopVolumeDecrease();
}

TEST_CASE("holding a volume key gives the press step and one step per tick after the first")
{
    ReadyMixer mixer;
    SetVolumeTo(0);
    Mixer_StartVolumeIncrease();
    int ticks = 0;
    DWORD end = GetTickCount() + 1000;
    while ((LONG)(end - GetTickCount()) > 0)
        ticks += RampTickWithin((DWORD)(end - GetTickCount()));
    Mixer_StopVolumeIncrease();
    // How many ticks fit in the second is the timer's business (about 6 at 150 ms).
    MESSAGE("ticks in a 1 s hold: " << ticks);
    REQUIRE(ticks >= 2);
    CHECK_VOLUME(2730 * ticks, ticks);
}

TEST_CASE("Mixer_Init with an owner window opens the mixer for that window")
{
    HWND owner = CreateWindowA("STATIC", "mixer owner", WS_POPUP, 0, 0, 1, 1, NULL, NULL, NULL, NULL);
    REQUIRE(owner != NULL);
    CHECK(Mixer_Init(owner) == MMSYSERR_NOERROR);
    Mixer_SetMuteState(0);
    SetVolumeTo(5000);
    Mixer_VolumeUp(0);
    CHECK_VOLUME(7730, 2);
    DestroyWindow(owner);
    CHECK(Mixer_Init(NULL) == MMSYSERR_NOERROR);
}
