// The installer's replace-or-keep rule under the sanitizers: version texts as it reads
// them (blanks, commas, missing, huge and negative components), which pair decides, and
// when the file times do.
#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#include <doctest/doctest.h>

#include "versioncheck.h"

#include <string>

namespace {

VersionNumbers V(uint32_t a, uint32_t b, uint32_t c, uint32_t d)
{
    VersionNumbers v = { 1, (a << 16) | b, (c << 16) | d };
    return v;
}

const VersionNumbers kNone = { 0, 0, 0 };

FileVersions Facts(VersionNumbers fixed, VersionNumbers text)
{
    FileVersions f = { fixed, text };
    return f;
}

void CheckText(const char* text, VersionNumbers want)
{
    CAPTURE(std::string(text ? text : "(null)"));
    VersionNumbers got = VersionFromText(text);
    CHECK(got.known == want.known);
    CHECK(got.high == want.high);
    CHECK(got.low == want.low);
}

} // namespace

TEST_CASE("version texts split at points and commas, blanks dropped, missing parts 0")
{
    CheckText("5.00.2614.3500", V(5, 0, 2614, 3500));
    CheckText("4, 0, 0, 1", V(4, 0, 0, 1));
    CheckText(" 1 . 2 ", V(1, 2, 0, 0));
    CheckText("1 2.3", V(12, 3, 0, 0));
    CheckText("3", V(3, 0, 0, 0));
    CheckText("7,,9", V(7, 0, 9, 0));
    CheckText("1.2.3.4.5.6", V(1, 2, 3, 4));
    CheckText("1.0 (build 5)", V(1, 0, 0, 0));
    CheckText("abc", V(0, 0, 0, 0));
    CheckText("...", V(0, 0, 0, 0));
    CheckText("", kNone);
    CheckText(NULL, kNone);
}

TEST_CASE("a component beyond 16 bits is held at 65535 instead of wrapping into its neighbour")
{
    CheckText("2.70000.3.4", V(2, 65535, 3, 4));
    CheckText("99999999999999999999.1", V(65535, 1, 0, 0));
    CheckText("1.-1.2", V(1, 0, 2, 0));
    CheckText(std::string(1000, '9').append(".2").c_str(), V(65535, 2, 0, 0));
    // Unheld, 65536.0 would come out as 0.0 and lose to 1.0.
    FileVersions big = Facts(kNone, VersionFromText("65536.0"));
    FileVersions one = Facts(kNone, VersionFromText("1.0"));
    CHECK(CompareFileVersions(&big, &one) == SOURCE_NEWER);
    CHECK(CompareFileVersions(&one, &big) == SOURCE_OLDER);
}

TEST_CASE("a pair counts only when both files have it; either pair saying newer wins")
{
    struct {
        FileVersions source, destination;
        VersionOrder want;
    } cases[] = {
        // Fixed versions alone; compared unsigned, high number first.
        { Facts(V(2, 0, 0, 0), kNone), Facts(V(1, 9, 9, 9), kNone), SOURCE_NEWER },
        { Facts(V(1, 0, 0, 1), kNone), Facts(V(1, 0, 0, 2), kNone), SOURCE_OLDER },
        { Facts(V(0x8000, 0, 0, 0), kNone), Facts(V(0x7FFF, 0xFFFF, 0, 0), kNone), SOURCE_NEWER },
        { Facts(V(1, 0, 0x8000, 0), kNone), Facts(V(1, 0, 0x7FFF, 0), kNone), SOURCE_NEWER },
        { Facts(V(3, 1, 0, 7), kNone), Facts(V(3, 1, 0, 7), kNone), VERSIONS_EQUAL },
        // The two pairs disagree: newer beats equal beats older.
        { Facts(V(1, 0, 0, 0), V(2, 0, 0, 0)), Facts(V(2, 0, 0, 0), V(1, 0, 0, 0)), SOURCE_NEWER },
        { Facts(V(1, 0, 0, 0), V(5, 0, 0, 0)), Facts(V(2, 0, 0, 0), V(5, 0, 0, 0)), VERSIONS_EQUAL },
        { Facts(V(1, 0, 0, 0), V(1, 0, 0, 0)), Facts(V(2, 0, 0, 0), V(3, 0, 0, 0)), SOURCE_OLDER },
        // A pair one file lacks is not compared; the other pair decides alone.
        { Facts(V(9, 0, 0, 0), V(1, 0, 0, 0)), Facts(kNone, V(2, 0, 0, 0)), SOURCE_OLDER },
        { Facts(kNone, V(1, 0, 0, 0)), Facts(V(9, 0, 0, 0), V(1, 0, 0, 0)), VERSIONS_EQUAL },
        { Facts(V(9, 0, 0, 0), kNone), Facts(kNone, V(1, 0, 0, 0)), VERSIONS_UNKNOWN },
        { Facts(kNone, kNone), Facts(kNone, kNone), VERSIONS_UNKNOWN },
    };
    int n = 0;
    for (const auto& c : cases) {
        CAPTURE(n++);
        CHECK(CompareFileVersions(&c.source, &c.destination) == c.want);
    }
}

TEST_CASE("the file times decide only between equal or unknown versions")
{
    CHECK(ReplacesDestination(SOURCE_NEWER, 1, 2) == 1);
    CHECK(ReplacesDestination(SOURCE_OLDER, 2, 1) == 0);
    for (VersionOrder order : { VERSIONS_EQUAL, VERSIONS_UNKNOWN }) {
        CAPTURE((int)order);
        CHECK(ReplacesDestination(order, 2, 1) == 1);
        CHECK(ReplacesDestination(order, 1, 2) == 0);
        CHECK(ReplacesDestination(order, 5, 5) == 0);
        // Times above 32 bits are compared whole.
        CHECK(ReplacesDestination(order, 0x100000000ull, 0xFFFFFFFFull) == 1);
    }
}
