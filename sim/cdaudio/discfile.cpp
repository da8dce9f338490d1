// Parser of the simulated disc's description and CD address arithmetic. Every read is
// bounded by the given size: the text comes from a file a test may have broken on purpose.
#include "discfile.h"

#include <string.h>

namespace {

struct Cursor {
    const char* p;
    const char* end;
};

void SkipBlanks(Cursor* c)
{
    while (c->p < c->end && (*c->p == ' ' || *c->p == '\t' || *c->p == '\r'))
        ++c->p;
}

bool ReadWord(Cursor* c, char* word, size_t size)
{
    SkipBlanks(c);
    size_t n = 0;
    while (c->p < c->end && *c->p != ' ' && *c->p != '\t' && *c->p != '\r') {
        if (n + 1 >= size)
            return false;
        word[n++] = *c->p++;
    }
    word[n] = '\0';
    return n > 0;
}

// Up to 3 digits: no field of a description is larger, and it rules out overflow.
bool ReadNumber(Cursor* c, long* value)
{
    long v = 0;
    int digits = 0;
    while (c->p < c->end && *c->p >= '0' && *c->p <= '9') {
        if (++digits > 3)
            return false;
        v = v * 10 + (*c->p++ - '0');
    }
    *value = v;
    return digits > 0;
}

bool ReadColonFields(const char* word, long* fields, int minCount, int maxCount, int* count)
{
    Cursor c = { word, word + strlen(word) };
    int n = 0;
    for (;;) {
        if (n == maxCount || !ReadNumber(&c, &fields[n]))
            return false;
        ++n;
        if (c.p == c.end)
            break;
        if (*c.p++ != ':')
            return false;
    }
    *count = n;
    return n >= minCount;
}

// M:S or M:S:F, seconds below 60 and frames below 75.
bool ParseLength(const char* word, long* frames)
{
    long f[3] = { 0, 0, 0 };
    int n = 0;
    if (!ReadColonFields(word, f, 2, 3, &n) || f[1] >= 60 || f[2] >= DISC_FRAMES_PER_SECOND)
        return false;
    *frames = (f[0] * 60 + f[1]) * DISC_FRAMES_PER_SECOND + f[2];
    return true;
}

bool EndOfLine(Cursor* c)
{
    SkipBlanks(c);
    return c->p == c->end;
}

} // namespace

int DiscParse(const char* text, size_t size, DiscInfo* disc, int* badLine)
{
    memset(disc, 0, sizeof(*disc));
    disc->count = -1;
    disc->initialMode = DISC_STOPPED;
    disc->initialFrame = DISC_LEAD_IN;
    disc->end = DISC_LEAD_IN;
    if (size > DISC_MAX_TEXT) {
        if (badLine)
            *badLine = 0;
        return DISC_MALFORMED;
    }
    const char* p = text;
    const char* end = text + size;
    int line = 0;
    int tracksSeen = 0;
    bool stateSeen = false;
    bool anything = false;
    while (p < end) {
        ++line;
        const char* eol = (const char*)memchr(p, '\n', (size_t)(end - p));
        if (!eol)
            eol = end;
        const char* hash = (const char*)memchr(p, '#', (size_t)(eol - p));
        Cursor c = { p, hash ? hash : eol };
        p = eol < end ? eol + 1 : end;
        if (EndOfLine(&c))
            continue;
        anything = true;
        char word[32];
        bool ok = false;
        if (!ReadWord(&c, word, sizeof(word))) {
            ok = false;
        } else if (disc->count < 0) {
            long n = 0;
            char number[8];
            ok = strcmp(word, "tracks") == 0 && ReadWord(&c, number, sizeof(number));
            if (ok) {
                Cursor nc = { number, number + strlen(number) };
                ok = ReadNumber(&nc, &n) && nc.p == nc.end && n <= DISC_MAX_TRACKS && EndOfLine(&c);
            }
            if (ok)
                disc->count = (int)n;
        } else if (tracksSeen < disc->count && !stateSeen) {
            char type[8];
            char length[16];
            Cursor nc = { word, word + strlen(word) };
            long number = 0;
            long frames = 0;
            ok = ReadNumber(&nc, &number) && nc.p == nc.end && number == tracksSeen + 1 &&
                 ReadWord(&c, type, sizeof(type)) && ReadWord(&c, length, sizeof(length)) &&
                 EndOfLine(&c) && ParseLength(length, &frames) && frames > 0 &&
                 (strcmp(type, "audio") == 0 || strcmp(type, "data") == 0) &&
                 disc->end + frames <= DISC_MAX_FRAMES;
            if (ok) {
                DiscTrack* t = &disc->tracks[tracksSeen++];
                t->type = strcmp(type, "audio") == 0 ? DISC_AUDIO : DISC_DATA;
                t->start = disc->end;
                t->frames = frames;
                disc->end += frames;
            }
        } else if (!stateSeen && strcmp(word, "state") == 0) {
            char mode[16];
            char where[24];
            long f[4] = { 0, 0, 0, 0 };
            int n = 0;
            ok = ReadWord(&c, mode, sizeof(mode)) && ReadWord(&c, where, sizeof(where)) && EndOfLine(&c) &&
                 ReadColonFields(where, f, 4, 4, &n) && f[1] < 100 && f[2] < 60 && f[3] < DISC_FRAMES_PER_SECOND;
            if (ok) {
                if (strcmp(mode, "playing") == 0)
                    disc->initialMode = DISC_PLAYING;
                else if (strcmp(mode, "paused") == 0)
                    disc->initialMode = DISC_PAUSED;
                else if (strcmp(mode, "stopped") == 0)
                    disc->initialMode = DISC_STOPPED;
                else
                    ok = false;
            }
            if (ok) {
                unsigned long tmsf = (unsigned long)(f[0] | (f[1] << 8) | (f[2] << 16) | (f[3] << 24));
                disc->initialFrame = DiscTmsfToFrames(disc, tmsf);
                ok = tracksSeen == disc->count && disc->initialFrame >= 0;
            }
            stateSeen = ok;
        }
        if (!ok) {
            if (badLine)
                *badLine = line;
            return DISC_MALFORMED;
        }
    }
    if (!anything) {
        if (badLine)
            *badLine = 0;
        return DISC_EMPTY;
    }
    if (disc->count < 0 || tracksSeen != disc->count) {
        if (badLine)
            *badLine = line;
        return DISC_MALFORMED;
    }
    return DISC_OK;
}

int DiscTrackAt(const DiscInfo* disc, long frame)
{
    if (disc->count <= 0)
        return 0;
    for (int i = disc->count - 1; i > 0; --i) {
        if (frame >= disc->tracks[i].start)
            return i + 1;
    }
    return 1;
}

unsigned long DiscFramesToMsf(long frames)
{
    if (frames < 0)
        frames = 0;
    unsigned long m = (unsigned long)(frames / (60 * DISC_FRAMES_PER_SECOND));
    unsigned long s = (unsigned long)(frames / DISC_FRAMES_PER_SECOND % 60);
    unsigned long f = (unsigned long)(frames % DISC_FRAMES_PER_SECOND);
    return (m & 0xFF) | (s << 8) | (f << 16);
}

long DiscMsfToFrames(unsigned long msf)
{
    long m = (long)(msf & 0xFF);
    long s = (long)((msf >> 8) & 0xFF);
    long f = (long)((msf >> 16) & 0xFF);
    return (m * 60 + s) * DISC_FRAMES_PER_SECOND + f;
}

unsigned long DiscFramesToTmsf(const DiscInfo* disc, long frame)
{
    int track = DiscTrackAt(disc, frame);
    long offset = track ? frame - disc->tracks[track - 1].start : 0;
    return (unsigned long)track | (DiscFramesToMsf(offset) << 8);
}

long DiscTmsfToFrames(const DiscInfo* disc, unsigned long tmsf)
{
    int track = (int)(tmsf & 0xFF);
    if (track < 1 || track > disc->count)
        return -1;
    long offset = DiscMsfToFrames(tmsf >> 8);
    long frame = disc->tracks[track - 1].start + offset;
    return frame > disc->end ? -1 : frame;
}
