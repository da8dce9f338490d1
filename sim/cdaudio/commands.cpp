// The MCI commands of the simulated CD audio device. Each works on the disc's state as
// stored for the drive (discstate.cpp), so a play goes on across close and reopen.
#include "cdaudio.h"
#include "discstate.h"

#include <stdio.h>

namespace {

const char kProduct[] = "Tavimon CD audio stand-in";

void Describe(char* what, int size, const char* format, ...)
{
    int used = lstrlenA(what);
    if (used >= size - 1)
        return;
    va_list args;
    va_start(args, format);
    _vsnprintf(what + used, (size_t)(size - used - 1), format, args);
    va_end(args);
    what[size - 1] = '\0';
}

// A position value as the caller wrote it, in the device's time format.
void DescribePosition(const CdDevice* device, DWORD value, char* what, int size)
{
    if (device->timeFormat == MCI_FORMAT_TMSF)
        Describe(what, size, "%02u:%02u:%02u:%02u", value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF, value >> 24);
    else if (device->timeFormat == MCI_FORMAT_MSF)
        Describe(what, size, "%02u:%02u:%02u", value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
    else
        Describe(what, size, "%u", value);
}

// An absolute frame in the device's time format, with the winmm return type.
LRESULT PositionOut(const CdDevice* device, const DiscInfo* disc, long frame, DWORD_PTR* value)
{
    if (device->timeFormat == MCI_FORMAT_TMSF) {
        *value = DiscFramesToTmsf(disc, frame);
        return MCI_COLONIZED4_RETURN;
    }
    if (device->timeFormat == MCI_FORMAT_MSF) {
        *value = DiscFramesToMsf(frame);
        return MCI_COLONIZED3_RETURN;
    }
    *value = (DWORD_PTR)((ULONGLONG)frame * 1000 / DISC_FRAMES_PER_SECOND);
    return 0;
}

// Lengths are minutes:seconds:frames in both CD formats.
LRESULT LengthOut(const CdDevice* device, long frames, DWORD_PTR* value)
{
    if (device->timeFormat == MCI_FORMAT_MILLISECONDS) {
        *value = (DWORD_PTR)((ULONGLONG)frames * 1000 / DISC_FRAMES_PER_SECOND);
        return 0;
    }
    *value = DiscFramesToMsf(frames);
    return MCI_COLONIZED3_RETURN;
}

DWORD PositionIn(const CdDevice* device, const DiscInfo* disc, DWORD value, long* frame)
{
    long f;
    if (device->timeFormat == MCI_FORMAT_TMSF)
        f = DiscTmsfToFrames(disc, value);
    else if (device->timeFormat == MCI_FORMAT_MSF)
        f = DiscMsfToFrames(value);
    else
        f = (long)((ULONGLONG)value * DISC_FRAMES_PER_SECOND / 1000);
    if (disc->count == 0 || f < disc->tracks[0].start || f > disc->end)
        return MCIERR_OUTOFRANGE;
    *frame = f;
    return 0;
}

LRESULT Resource(DWORD_PTR* value, WORD result, WORD string)
{
    *value = MAKEMCIRESOURCE(result, string);
    return MCI_RESOURCE_RETURNED;
}

LRESULT Boolean(DWORD_PTR* value, bool yes)
{
    return Resource(value, (WORD)(yes ? TRUE : FALSE), (WORD)(yes ? MCI_TRUE : MCI_FALSE));
}

void Notify(const CdDevice* device, DWORD_PTR flags, DWORD_PTR params)
{
    if ((flags & MCI_NOTIFY) && params)
        mciDriverNotify((HANDLE)((MCI_GENERIC_PARMS*)params)->dwCallback, (MCIDEVICEID)device->id, MCI_NOTIFY_SUCCESSFUL);
}

char FirstCdromDrive()
{
    char drives[260];
    DWORD n = GetLogicalDriveStringsA(sizeof(drives), drives);
    if (n == 0 || n >= sizeof(drives))
        return 0;
    for (const char* root = drives; *root; root += lstrlenA(root) + 1) {
        if (GetDriveTypeA(root) == DRIVE_CDROM)
            return (char)(root[0] & ~0x20);
    }
    return 0;
}

// "d:" or "d:\" names a drive; anything else is not a CD audio element.
char DriveOfElement(const WCHAR* element)
{
    if (!element)
        return 0;
    WCHAR c = element[0];
    if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) || element[1] != ':')
        return 0;
    if (element[2] && !((element[2] == '\\' || element[2] == '/') && element[3] == 0))
        return 0;
    char root[4] = { (char)(c & ~0x20), ':', '\\', 0 };
    return GetDriveTypeA(root) == DRIVE_CDROM ? root[0] : 0;
}

LRESULT OnOpen(CdDevice* device, DWORD_PTR flags, MCI_OPEN_PARMSW* params, char* what, int size)
{
    Describe(what, size, "open");
    char letter;
    if (flags & MCI_OPEN_ELEMENT) {
        Describe(what, size, " %ls", params && params->lpstrElementName ? params->lpstrElementName : L"(null)");
        letter = params ? DriveOfElement(params->lpstrElementName) : 0;
    } else {
        letter = FirstCdromDrive();
    }
    bool shareable = (flags & MCI_OPEN_SHAREABLE) != 0;
    if (shareable)
        Describe(what, size, " shareable");
    if (!letter)
        return MCIERR_INVALID_DEVICE_NAME;
    Describe(what, size, " drive=%c:", letter);
    if (CdDriveBusy(device, letter, shareable))
        return MCIERR_MUST_USE_SHAREABLE;
    DiscView view;
    DWORD error = DiscLoad(letter, &view);
    if (error == MCIERR_INVALID_FILE)
        return error;
    Describe(what, size, view.present ? " disc" : " no disc");
    device->letter = letter;
    device->shareable = shareable;
    device->opened = 1;
    Notify(device, flags, (DWORD_PTR)params);
    return 0;
}

const char* ItemName(DWORD item)
{
    switch (item) {
    case MCI_STATUS_MODE: return "mode";
    case MCI_STATUS_POSITION: return "position";
    case MCI_STATUS_LENGTH: return "length";
    case MCI_STATUS_CURRENT_TRACK: return "current track";
    case MCI_STATUS_NUMBER_OF_TRACKS: return "number of tracks";
    case MCI_STATUS_MEDIA_PRESENT: return "media present";
    case MCI_STATUS_READY: return "ready";
    case MCI_STATUS_TIME_FORMAT: return "time format";
    case MCI_CDA_STATUS_TYPE_TRACK: return "type";
    }
    return "item";
}

LRESULT OnStatus(CdDevice* device, DWORD_PTR flags, MCI_STATUS_PARMS* params, char* what, int size)
{
    Describe(what, size, "status");
    if (!params)
        return MCIERR_NULL_PARAMETER_BLOCK;
    if (!(flags & MCI_STATUS_ITEM))
        return MCIERR_MISSING_PARAMETER;
    Describe(what, size, " %s", ItemName(params->dwItem));
    if (lstrcmpA(ItemName(params->dwItem), "item") == 0)
        Describe(what, size, " 0x%lx", (unsigned long)params->dwItem);
    bool track = (flags & MCI_TRACK) != 0;
    if (track)
        Describe(what, size, " track %lu", (unsigned long)params->dwTrack);

    DiscView view;
    DWORD error = DiscLoad(device->letter, &view);
    switch (params->dwItem) {
    case MCI_STATUS_MODE:
        if (error)
            return Resource(&params->dwReturn, MCI_MODE_NOT_READY, MCI_MODE_NOT_READY);
        if (view.mode == DISC_PLAYING)
            return Resource(&params->dwReturn, MCI_MODE_PLAY, MCI_MODE_PLAY);
        if (view.mode == DISC_PAUSED)
            return Resource(&params->dwReturn, MCI_MODE_PAUSE, MCI_MODE_PAUSE);
        return Resource(&params->dwReturn, MCI_MODE_STOP, MCI_MODE_STOP);
    case MCI_STATUS_MEDIA_PRESENT:
    case MCI_STATUS_READY:
        return Boolean(&params->dwReturn, error == 0);
    case MCI_STATUS_TIME_FORMAT: {
        WORD f = (WORD)device->timeFormat;
        return Resource(&params->dwReturn, f, (WORD)(MCI_FORMAT_RETURN_BASE + f));
    }
    }
    if (error)
        return error;
    const DiscInfo* disc = &view.disc;
    if (track && (params->dwTrack < 1 || params->dwTrack > (DWORD)disc->count))
        return MCIERR_OUTOFRANGE;
    const DiscTrack* t = track ? &disc->tracks[params->dwTrack - 1] : NULL;
    switch (params->dwItem) {
    case MCI_STATUS_POSITION:
        return PositionOut(device, disc, t ? t->start : view.frame, &params->dwReturn);
    case MCI_STATUS_LENGTH:
        return LengthOut(device, t ? t->frames : disc->end - DISC_LEAD_IN, &params->dwReturn);
    case MCI_STATUS_CURRENT_TRACK:
        params->dwReturn = (DWORD_PTR)DiscTrackAt(disc, view.frame);
        return 0;
    case MCI_STATUS_NUMBER_OF_TRACKS:
        params->dwReturn = (DWORD_PTR)disc->count;
        return 0;
    case MCI_CDA_STATUS_TYPE_TRACK:
        if (!t)
            return MCIERR_MISSING_PARAMETER;
        // The strings come from this driver's own table: winmm has none for these ids.
        params->dwReturn = t->type == DISC_AUDIO ? MAKEMCIRESOURCE(MCI_CDA_TRACK_AUDIO, IDS_TRACK_AUDIO)
                                                 : MAKEMCIRESOURCE(MCI_CDA_TRACK_OTHER, IDS_TRACK_OTHER);
        return MCI_RESOURCE_RETURNED | MCI_RESOURCE_DRIVER;
    }
    return MCIERR_UNSUPPORTED_FUNCTION;
}

LRESULT OnSet(CdDevice* device, DWORD_PTR flags, MCI_SET_PARMS* params, char* what, int size)
{
    Describe(what, size, "set");
    if (!params)
        return MCIERR_NULL_PARAMETER_BLOCK;
    if (flags & (MCI_SET_DOOR_OPEN | MCI_SET_DOOR_CLOSED | MCI_SET_AUDIO | MCI_SET_VIDEO | MCI_SET_ON | MCI_SET_OFF)) {
        Describe(what, size, " 0x%lx", (unsigned long)flags);
        return MCIERR_UNSUPPORTED_FUNCTION;
    }
    if (!(flags & MCI_SET_TIME_FORMAT))
        return MCIERR_MISSING_PARAMETER;
    DWORD format = params->dwTimeFormat;
    const char* name = format == MCI_FORMAT_MSF ? "msf" : format == MCI_FORMAT_TMSF ? "tmsf"
                     : format == MCI_FORMAT_MILLISECONDS ? "milliseconds" : NULL;
    if (!name) {
        Describe(what, size, " time format %lu", (unsigned long)format);
        return MCIERR_BAD_TIME_FORMAT;
    }
    Describe(what, size, " time format %s", name);
    device->timeFormat = format;
    Notify(device, flags, (DWORD_PTR)params);
    return 0;
}

LRESULT OnPlay(CdDevice* device, DWORD_PTR flags, MCI_PLAY_PARMS* params, char* what, int size)
{
    Describe(what, size, "play");
    if ((flags & (MCI_FROM | MCI_TO)) && !params)
        return MCIERR_NULL_PARAMETER_BLOCK;
    if (flags & MCI_FROM) {
        Describe(what, size, " from ");
        DescribePosition(device, params->dwFrom, what, size);
    }
    if (flags & MCI_TO) {
        Describe(what, size, " to ");
        DescribePosition(device, params->dwTo, what, size);
    }
    // A play that reports its end would need a timer this stand-in does not keep.
    if (flags & (MCI_NOTIFY | MCI_WAIT)) {
        Describe(what, size, "%s", (flags & MCI_WAIT) ? " wait" : " notify");
        return MCIERR_UNSUPPORTED_FUNCTION;
    }
    DiscView view;
    DWORD error = DiscLoad(device->letter, &view);
    if (error)
        return error;
    long from = view.frame;
    long to = view.disc.end;
    if ((flags & MCI_FROM) && (error = PositionIn(device, &view.disc, params->dwFrom, &from)) != 0)
        return error;
    if ((flags & MCI_TO) && (error = PositionIn(device, &view.disc, params->dwTo, &to)) != 0)
        return error;
    if (view.disc.count == 0)
        return MCIERR_OUTOFRANGE;
    if (from > to)
        return MCIERR_OUTOFRANGE;
    view.frame = from;
    view.until = to;
    view.mode = from < to ? DISC_PLAYING : DISC_STOPPED;
    DiscSave(&view);
    return 0;
}

LRESULT OnTransport(CdDevice* device, UINT message, DWORD_PTR flags, DWORD_PTR params, char* what, int size)
{
    Describe(what, size, message == MCI_PAUSE ? "pause" : message == MCI_RESUME ? "resume" : "stop");
    DiscView view;
    DWORD error = DiscLoad(device->letter, &view);
    if (error)
        return error;
    if (message == MCI_PAUSE && view.mode == DISC_PLAYING)
        view.mode = DISC_PAUSED;
    else if (message == MCI_RESUME && view.mode == DISC_PAUSED)
        view.mode = DISC_PLAYING;
    else if (message == MCI_STOP)
        view.mode = DISC_STOPPED;
    DiscSave(&view);
    Notify(device, flags, params);
    return 0;
}

LRESULT OnSeek(CdDevice* device, DWORD_PTR flags, MCI_SEEK_PARMS* params, char* what, int size)
{
    Describe(what, size, "seek");
    DiscView view;
    DWORD error = DiscLoad(device->letter, &view);
    long target;
    if (flags & MCI_SEEK_TO_START) {
        Describe(what, size, " to start");
        target = view.disc.count ? view.disc.tracks[0].start : (long)DISC_LEAD_IN;
    } else if (flags & MCI_SEEK_TO_END) {
        Describe(what, size, " to end");
        target = view.disc.end;
    } else if ((flags & MCI_TO) && params) {
        Describe(what, size, " to ");
        DescribePosition(device, params->dwTo, what, size);
        if (!error)
            error = PositionIn(device, &view.disc, params->dwTo, &target);
    } else {
        return MCIERR_MISSING_PARAMETER;
    }
    if (error)
        return error;
    view.frame = target;
    view.until = view.disc.end;
    view.mode = DISC_STOPPED;
    DiscSave(&view);
    Notify(device, flags, (DWORD_PTR)params);
    return 0;
}

LRESULT OnInfo(CdDevice* device, DWORD_PTR flags, MCI_INFO_PARMSW* params, char* what, int size)
{
    Describe(what, size, "info");
    if (!params || !params->lpstrReturn || params->dwRetSize == 0)
        return MCIERR_NULL_PARAMETER_BLOCK;
    WCHAR text[64];
    if (flags & MCI_INFO_PRODUCT) {
        Describe(what, size, " product");
        wsprintfW(text, L"%hs", kProduct);
    } else if (flags & MCI_INFO_MEDIA_IDENTITY) {
        Describe(what, size, " identity");
        DiscView view;
        DWORD error = DiscLoad(device->letter, &view);
        if (error)
            return error;
        wsprintfW(text, L"%08lx", (unsigned long)view.stamp);
    } else {
        return MCIERR_UNSUPPORTED_FUNCTION;
    }
    // MCI replies are read into 256-character buffers; never more than that.
    DWORD length = (DWORD)lstrlenW(text);
    if (length + 1 > params->dwRetSize || length > 255)
        return MCIERR_PARAM_OVERFLOW;
    lstrcpynW(params->lpstrReturn, text, (int)params->dwRetSize);
    return 0;
}

LRESULT OnCapability(CdDevice* device, DWORD_PTR flags, MCI_GETDEVCAPS_PARMS* params, char* what, int size)
{
    Describe(what, size, "capability");
    if (!params || !(flags & MCI_GETDEVCAPS_ITEM))
        return MCIERR_MISSING_PARAMETER;
    Describe(what, size, " 0x%lx", (unsigned long)params->dwItem);
    DWORD_PTR value = 0;
    LRESULT result;
    switch (params->dwItem) {
    case MCI_GETDEVCAPS_CAN_PLAY:
    case MCI_GETDEVCAPS_CAN_EJECT:
    case MCI_GETDEVCAPS_HAS_AUDIO:
        result = Boolean(&value, true);
        break;
    case MCI_GETDEVCAPS_CAN_RECORD:
    case MCI_GETDEVCAPS_CAN_SAVE:
    case MCI_GETDEVCAPS_COMPOUND_DEVICE:
    case MCI_GETDEVCAPS_HAS_VIDEO:
    case MCI_GETDEVCAPS_USES_FILES:
        result = Boolean(&value, false);
        break;
    case MCI_GETDEVCAPS_DEVICE_TYPE:
        result = Resource(&value, MCI_DEVTYPE_CD_AUDIO, MCI_DEVTYPE_CD_AUDIO);
        break;
    default:
        return MCIERR_UNSUPPORTED_FUNCTION;
    }
    params->dwReturn = (DWORD)value;
    return result;
}

} // namespace

LRESULT CdRunCommand(CdDevice* device, UINT message, DWORD_PTR flags, DWORD_PTR params, char* what, int size)
{
    if (message != MCI_OPEN_DRIVER && !device->opened) {
        Describe(what, size, "message 0x%x before open", message);
        return MCIERR_INVALID_DEVICE_ID;
    }
    switch (message) {
    case MCI_OPEN_DRIVER:
        return OnOpen(device, flags, (MCI_OPEN_PARMSW*)params, what, size);
    case MCI_CLOSE_DRIVER:
        Describe(what, size, "close");
        device->opened = 0;
        Notify(device, flags, params);
        return 0;
    case MCI_STATUS:
        return OnStatus(device, flags, (MCI_STATUS_PARMS*)params, what, size);
    case MCI_SET:
        return OnSet(device, flags, (MCI_SET_PARMS*)params, what, size);
    case MCI_PLAY:
        return OnPlay(device, flags, (MCI_PLAY_PARMS*)params, what, size);
    case MCI_PAUSE:
    case MCI_RESUME:
    case MCI_STOP:
        return OnTransport(device, message, flags, params, what, size);
    case MCI_SEEK:
        return OnSeek(device, flags, (MCI_SEEK_PARMS*)params, what, size);
    case MCI_INFO:
        return OnInfo(device, flags, (MCI_INFO_PARMSW*)params, what, size);
    case MCI_GETDEVCAPS:
        return OnCapability(device, flags, (MCI_GETDEVCAPS_PARMS*)params, what, size);
    }
    Describe(what, size, "message 0x%x", message);
    return MCIERR_UNSUPPORTED_FUNCTION;
}
