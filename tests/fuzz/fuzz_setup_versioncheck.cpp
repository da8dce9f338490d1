// Feeds two arbitrary version texts and fixed versions to the installer's replace-or-keep
// rule: no read outside the texts, and the answers the rule promises for any input.
#include "versioncheck.h"

#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <string>

static VersionNumbers Fixed(const uint8_t* bytes, bool known)
{
    VersionNumbers v = { known, 0, 0 };
    memcpy(&v.high, bytes, 4);
    memcpy(&v.low, bytes + 4, 4);
    return v;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // 1 byte of flags and two fixed versions, then the two texts split at the first newline.
    if (size < 17)
        return 0;
    uint8_t flags = data[0];
    std::string rest((const char*)data + 17, size - 17);
    size_t cut = rest.find('\n');
    std::string first = rest.substr(0, cut);
    std::string second = cut == std::string::npos ? std::string() : rest.substr(cut + 1);

    FileVersions source = { Fixed(data + 1, flags & 1), VersionFromText(first.c_str()) };
    FileVersions destination = { Fixed(data + 9, flags & 2), VersionFromText(second.c_str()) };
    // The texts end at their first zero byte, as a resource's text does.
    if (source.text.known != (first.c_str()[0] != 0) || destination.text.known != (second.c_str()[0] != 0))
        abort();

    VersionOrder order = CompareFileVersions(&source, &destination);
    bool comparable = (source.fixed.known && destination.fixed.known) || (source.text.known && destination.text.known);
    if ((order == VERSIONS_UNKNOWN) == comparable)
        abort();
    // A file against itself is equal whenever it has anything to compare.
    VersionOrder self = CompareFileVersions(&source, &source);
    bool own = source.fixed.known || source.text.known;
    if (self != (own ? VERSIONS_EQUAL : VERSIONS_UNKNOWN))
        abort();
    // Newer and older come from the same pairs seen from the other side.
    VersionOrder back = CompareFileVersions(&destination, &source);
    if (order == SOURCE_OLDER && back != SOURCE_NEWER)
        abort();
    if (ReplacesDestination(order, flags >> 2, flags >> 4) > 1)
        abort();
    return 0;
}
