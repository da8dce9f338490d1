// The installer's version rule: an installed file is replaced only by a newer one, and
// files that cannot tell their versions apart are told apart by their times.
#include "versioncheck.h"

#include "versiontext.h"

namespace {

uint32_t Held(int32_t part)
{
    return part < 0 ? 0u : part > 65535 ? 65535u : (uint32_t)part;
}

// -1, 0 or 1 for a older than, equal to or newer than b.
int ComparePair(const VersionNumbers& a, const VersionNumbers& b)
{
    if (a.high != b.high)
        return a.high > b.high ? 1 : -1;
    if (a.low != b.low)
        return a.low > b.low ? 1 : -1;
    return 0;
}

} // namespace

VersionNumbers VersionFromText(const char* text)
{
    VersionNumbers version = { 0, 0, 0 };
    if (!text || !*text)
        return version;
    int32_t parts[4];
    VersionTextToParts(text, parts);
    version.known = 1;
    version.high = (Held(parts[0]) << 16) | Held(parts[1]);
    version.low = (Held(parts[2]) << 16) | Held(parts[3]);
    return version;
}

VersionOrder CompareFileVersions(const FileVersions* source, const FileVersions* destination)
{
    int compared = 0, newer = 0, equal = 0;
    const VersionNumbers* pairs[2][2] = { { &source->fixed, &destination->fixed },
                                          { &source->text, &destination->text } };
    for (int i = 0; i < 2; ++i) {
        if (!pairs[i][0]->known || !pairs[i][1]->known)
            continue;
        ++compared;
        int order = ComparePair(*pairs[i][0], *pairs[i][1]);
        newer |= order > 0;
        equal |= order == 0;
    }
    if (newer)
        return SOURCE_NEWER;
    if (equal)
        return VERSIONS_EQUAL;
    return compared ? SOURCE_OLDER : VERSIONS_UNKNOWN;
}

int ReplacesDestination(VersionOrder order, uint64_t sourceTime, uint64_t destinationTime)
{
    if (order == SOURCE_NEWER)
        return 1;
    if (order == SOURCE_OLDER)
        return 0;
    return sourceTime > destinationTime;
}
