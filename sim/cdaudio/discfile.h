// The simulated audio CD: its track table, read from a small text file in the drive's
// folder, and the frame arithmetic of CD addresses. No platform header, so the parser
// is also built natively for the sanitizer tests and the fuzzer.
#ifndef QV_SIM_DISCFILE_H
#define QV_SIM_DISCFILE_H

#include <stddef.h>

// Name of the description in the root of the mapped drive.
#define DISC_FILE_NAME ".cdtracks"

enum {
    DISC_FRAMES_PER_SECOND = 75,
    DISC_LEAD_IN = 150,        // track 1 starts at 00:02:00 as on a pressed disc
    DISC_MAX_TRACKS = 99,
    DISC_MAX_FRAMES = 100 * 60 * 75,
    DISC_MAX_TEXT = 16384      // a description is a handful of lines
};

enum DiscTrackType { DISC_AUDIO = 0, DISC_DATA = 1 };
enum DiscMode { DISC_STOPPED = 0, DISC_PLAYING = 1, DISC_PAUSED = 2 };

struct DiscTrack {
    int type;
    long start;   // absolute frame
    long frames;
};

struct DiscInfo {
    int count;
    DiscTrack tracks[DISC_MAX_TRACKS];
    long end;          // first frame after the last track
    int initialMode;   // from an optional "state" line
    long initialFrame;
};

enum DiscParseResult { DISC_OK = 0, DISC_EMPTY = 1, DISC_MALFORMED = 2 };

// Parses `size` bytes (not necessarily terminated). On DISC_MALFORMED, *badLine (if given)
// gets the 1-based line that was rejected. Format, one item a line, '#' starts a comment:
//   tracks N                      (0..99, first)
//   K audio|data M:S[:F]          (N lines, K = 1..N in order, length > 0)
//   state playing|paused|stopped T:M:S:F   (optional, last)
int DiscParse(const char* text, size_t size, DiscInfo* disc, int* badLine);

// Track (1-based) holding an absolute frame; the last track for frames past the end,
// 0 for a disc without tracks.
int DiscTrackAt(const DiscInfo* disc, long frame);

// Packed MCI addresses (first field in the low byte).
unsigned long DiscFramesToMsf(long frames);
long DiscMsfToFrames(unsigned long msf);
unsigned long DiscFramesToTmsf(const DiscInfo* disc, long frame);
// -1 when the track is not on the disc or the offset runs past the end.
long DiscTmsfToFrames(const DiscInfo* disc, unsigned long tmsf);

#endif
