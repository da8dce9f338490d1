// Master volume and mute of the first mixer device's speaker line, and the volume ramp
// that repeats a step while a volume key is held. The ramp is a thread timer, so its
// ticks arrive only while the caller's thread dispatches messages.
#include "QVUtil.h"
#include "volumemath.h"

#include <mmsystem.h>

namespace {

const UINT kRampPeriodMs = 150;
const int kUsageVolumeUp = 0x00E9;
const int kUsageVolumeDown = 0x00EA;
// Lines with more channels than this are read and written uniformly (one value).
const DWORD kMaxChannels = 8;

int g_ready;
HMIXER g_mixer;
DWORD g_channels;
DWORD g_muteControl;
DWORD g_volumeControl;
bool g_volumeUniform;
UINT_PTR g_rampTimer;
int g_rampDirection;
unsigned g_rampDelay;

// Without a handle (mixerOpen failed) the calls address mixer device 0 by number.
HMIXEROBJ MixerObject()
{
    return (HMIXEROBJ)g_mixer;
}

DWORD ObjectFlag()
{
    return g_mixer ? MIXER_OBJECTF_HMIXER : MIXER_OBJECTF_MIXER;
}

// A uniform control takes exactly one value (Wine's master volume is one); reading it
// per channel would leave the other channels at 0 and halve the mean.
DWORD ChannelsForDetails()
{
    if (g_volumeUniform)
        return 1;
    return (g_channels >= 1 && g_channels <= kMaxChannels) ? g_channels : 1;
}

void FillDetails(MIXERCONTROLDETAILS* details, DWORD control, DWORD channels, void* values, DWORD valueSize)
{
    ZeroMemory(details, sizeof(*details));
    details->cbStruct = sizeof(*details);
    details->dwControlID = control;
    details->cChannels = channels;
    details->cbDetails = valueSize;
    details->paDetails = values;
}

// Reads every channel's volume; zeros when the read fails.
MMRESULT ReadVolume(MIXERCONTROLDETAILS_UNSIGNED (&values)[kMaxChannels], DWORD* channels)
{
    ZeroMemory(values, sizeof(values));
    *channels = ChannelsForDetails();
    MIXERCONTROLDETAILS details;
    FillDetails(&details, g_volumeControl, *channels, values, sizeof(values[0]));
    MMRESULT result = mixerGetControlDetailsA(MixerObject(), &details, MIXER_GETCONTROLDETAILSF_VALUE | ObjectFlag());
    if (result != MMSYSERR_NOERROR)
        ZeroMemory(values, sizeof(values));
    return result;
}

MMRESULT WriteVolume(MIXERCONTROLDETAILS_UNSIGNED (&values)[kMaxChannels], DWORD channels)
{
    MIXERCONTROLDETAILS details;
    FillDetails(&details, g_volumeControl, channels, values, sizeof(values[0]));
    return mixerSetControlDetails(MixerObject(), &details, MIXER_SETCONTROLDETAILSF_VALUE | ObjectFlag());
}

MMRESULT StepVolume(UINT step, bool up)
{
    MIXERCONTROLDETAILS_UNSIGNED values[kMaxChannels];
    DWORD channels;
    ReadVolume(values, &channels);
    for (DWORD i = 0; i < channels; ++i)
        values[i].dwValue = up ? VolumeStepUp(values[i].dwValue, step) : VolumeStepDown(values[i].dwValue, step);
    return WriteVolume(values, channels);
}

// Mute is one value for the whole line.
MMRESULT ReadMute(LONG* muted)
{
    MIXERCONTROLDETAILS_BOOLEAN value = {0};
    MIXERCONTROLDETAILS details;
    FillDetails(&details, g_muteControl, 1, &value, sizeof(value));
    MMRESULT result = mixerGetControlDetailsA(MixerObject(), &details, MIXER_GETCONTROLDETAILSF_VALUE | ObjectFlag());
    *muted = result == MMSYSERR_NOERROR ? value.fValue : 0;
    return result;
}

MMRESULT WriteMute(LONG muted)
{
    MIXERCONTROLDETAILS_BOOLEAN value;
    value.fValue = muted;
    MIXERCONTROLDETAILS details;
    FillDetails(&details, g_muteControl, 1, &value, sizeof(value));
    return mixerSetControlDetails(MixerObject(), &details, MIXER_SETCONTROLDETAILSF_VALUE | ObjectFlag());
}

MMRESULT FindControl(DWORD lineId, DWORD type, DWORD* controlId, bool* uniform)
{
    MIXERCONTROLA control;
    ZeroMemory(&control, sizeof(control));
    control.cbStruct = sizeof(control);
    MIXERLINECONTROLSA controls;
    ZeroMemory(&controls, sizeof(controls));
    controls.cbStruct = sizeof(controls);
    controls.dwLineID = lineId;
    controls.dwControlType = type;
    controls.cControls = 1;
    controls.cbmxctrl = sizeof(control);
    controls.pamxctrl = &control;
    MMRESULT result = mixerGetLineControlsA(MixerObject(), &controls, MIXER_GETLINECONTROLSF_ONEBYTYPE | ObjectFlag());
    if (result == MMSYSERR_NOERROR) {
        *controlId = control.dwControlID;
        *uniform = (control.fdwControl & MIXERCONTROL_CONTROLF_UNIFORM) != 0;
    }
    return result;
}

void CALLBACK OnRampTick(HWND, UINT, UINT_PTR, DWORD)
{
    if (g_rampDelay > 0) {
        --g_rampDelay;
        return;
    }
    if (g_rampDirection == kUsageVolumeUp)
        Mixer_VolumeUp(0);
    else if (g_rampDirection == kUsageVolumeDown)
        Mixer_VolumeDown(0);
}

void StartRamp(int direction)
{
    g_rampDirection = direction;
    if (g_rampTimer)
        return;
    g_rampDelay = 1;
    g_rampTimer = SetTimer(NULL, 0, kRampPeriodMs, OnRampTick);
}

void StopRamp()
{
    if (g_rampTimer) {
        KillTimer(NULL, g_rampTimer);
        g_rampTimer = 0;
    }
}

} // namespace

int WINAPI Mixer_Init(HWND owner)
{
    if (mixerGetNumDevs() == 0) {
        g_ready = 0;
        return 0;
    }
    g_ready = 1;
    // A repeated Init opens a fresh handle; the old one would otherwise leak.
    if (g_mixer) {
        mixerClose(g_mixer);
        g_mixer = NULL;
    }
    if (mixerOpen(&g_mixer, 0, (DWORD_PTR)owner, 0, owner ? CALLBACK_WINDOW : 0) != MMSYSERR_NOERROR)
        g_mixer = NULL;

    MIXERLINEA line;
    ZeroMemory(&line, sizeof(line));
    line.cbStruct = sizeof(line);
    line.dwComponentType = MIXERLINE_COMPONENTTYPE_DST_SPEAKERS;
    MMRESULT result = mixerGetLineInfoA(MixerObject(), &line, MIXER_GETLINEINFOF_COMPONENTTYPE | ObjectFlag());
    if (result == MMSYSERR_NOERROR)
        g_channels = line.cChannels;
    bool muteUniform;
    FindControl(line.dwLineID, MIXERCONTROL_CONTROLTYPE_MUTE, &g_muteControl, &muteUniform);
    return (int)FindControl(line.dwLineID, MIXERCONTROL_CONTROLTYPE_VOLUME, &g_volumeControl, &g_volumeUniform);
}

UINT WINAPI Mixer_VolumeUp(UINT step)
{
    return g_ready ? StepVolume(step, true) : 0;
}

UINT WINAPI Mixer_VolumeDown(UINT step)
{
    return g_ready ? StepVolume(step, false) : 0;
}

UINT WINAPI Mixer_GetVolume(int* volume)
{
    if (!g_ready)
        return 0;
    MIXERCONTROLDETAILS_UNSIGNED values[kMaxChannels];
    DWORD channels;
    MMRESULT result = ReadVolume(values, &channels);
    unsigned plain[kMaxChannels];
    for (DWORD i = 0; i < channels; ++i)
        plain[i] = values[i].dwValue;
    if (volume)
        *volume = (int)VolumeMean(plain, channels);
    return result;
}

UINT WINAPI Mixer_ToggleMute(void)
{
    if (!g_ready)
        return 0;
    LONG muted;
    ReadMute(&muted);
    return WriteMute(muted ? 0 : 1);
}

int WINAPI Mixer_GetMuteState(void)
{
    if (!g_ready)
        return 0;
    LONG muted;
    return ReadMute(&muted) == MMSYSERR_NOERROR && muted ? 1 : 0;
}

int WINAPI Mixer_SetMuteState(int muted)
{
    if (g_ready)
        WriteMute(muted);
    return 0;
}

int WINAPI Mixer_StartVolumeIncrease(void)
{
    Mixer_SetMuteState(0);
    Mixer_VolumeUp(0);
    StartRamp(kUsageVolumeUp);
    return 1;
}

int WINAPI Mixer_StartVolumeDecrease(void)
{
    Mixer_SetMuteState(0);
    Mixer_VolumeDown(0);
    StartRamp(kUsageVolumeDown);
    return 1;
}

int WINAPI Mixer_StopVolumeIncrease(void)
{
    StopRamp();
    return 1;
}

int WINAPI Mixer_StopVolumeDecrease(void)
{
    StopRamp();
    return 1;
}
