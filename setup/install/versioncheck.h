// Whether a file from the medium may replace the one already installed, from what the
// two version resources and file times say. No platform header here: built natively for
// the sanitizer tests and the fuzzer too.
#ifndef QV_VERSIONCHECK_H
#define QV_VERSIONCHECK_H

#include <stdint.h>

// A version as two numbers: first and second component in high, third and fourth in low.
struct VersionNumbers {
    int known;
    uint32_t high, low;
};

// What one file's version resource gave: its fixed version and its "FileVersion" text.
struct FileVersions {
    VersionNumbers fixed;
    VersionNumbers text;
};

enum VersionOrder { VERSIONS_UNKNOWN, SOURCE_NEWER, VERSIONS_EQUAL, SOURCE_OLDER };

// A "FileVersion" text as numbers, each component held to 0..65535 so that a stray large
// or negative component cannot wrap into its neighbour. Null or empty text: not known.
VersionNumbers VersionFromText(const char* text);

// Newer when either pair both files have says so, else equal when either says so, else
// older when one could be compared, else unknown.
VersionOrder CompareFileVersions(const FileVersions* source, const FileVersions* destination);

// 1 when the source is to be copied over an existing destination: a newer version, or the
// same or no version and a later last-write time.
int ReplacesDestination(VersionOrder order, uint64_t sourceTime, uint64_t destinationTime);

#endif
