// The simulated disc's description parser and CD address arithmetic, under the
// sanitizers: what a test writes is what the stand-in plays, and a broken file is refused.
#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#include <doctest/doctest.h>

#include "discfile.h"

#include <string.h>

#include <string>

static int Parse(const std::string& text, DiscInfo* disc, int* line = NULL)
{
    return DiscParse(text.data(), text.size(), disc, line);
}

TEST_CASE("a description gives tracks laid end to end after the two-second lead-in")
{
    DiscInfo disc;
    REQUIRE(Parse("# mixed\ntracks 3\r\n1 audio 4:10\n 2  data 3:05:20 # the software\n3 audio 0:00:01\n", &disc) == DISC_OK);
    CHECK(disc.count == 3);
    CHECK(disc.tracks[0].type == DISC_AUDIO);
    CHECK(disc.tracks[1].type == DISC_DATA);
    CHECK(disc.tracks[0].start == 150);
    CHECK(disc.tracks[1].start == 150 + 250 * 75);
    CHECK(disc.tracks[1].frames == 185 * 75 + 20);
    CHECK(disc.tracks[2].frames == 1);
    CHECK(disc.end == disc.tracks[2].start + 1);
    CHECK(disc.initialMode == DISC_STOPPED);
    CHECK(disc.initialFrame == 150);
}

TEST_CASE("an optional state line sets where the disc starts and how")
{
    DiscInfo disc;
    REQUIRE(Parse("tracks 2\n1 audio 1:00\n2 audio 1:00\nstate paused 02:00:02:10\n", &disc) == DISC_OK);
    CHECK(disc.initialMode == DISC_PAUSED);
    CHECK(disc.initialFrame == disc.tracks[1].start + 2 * 75 + 10);
    CHECK(Parse("tracks 1\n1 audio 1:00\nstate playing 02:00:00:00\n", &disc, NULL) == DISC_MALFORMED);
    CHECK(Parse("tracks 1\n1 audio 1:00\nstate rewinding 01:00:00:00\n", &disc) == DISC_MALFORMED);
    CHECK(Parse("tracks 1\nstate paused 01:00:00:00\n1 audio 1:00\n", &disc) == DISC_MALFORMED);
}

TEST_CASE("empty and malformed descriptions are told apart and the bad line is named")
{
    DiscInfo disc;
    int line = -1;
    CHECK(Parse("", &disc) == DISC_EMPTY);
    CHECK(Parse("\n  \n# nothing\n", &disc) == DISC_EMPTY);
    CHECK(Parse("tracks 2\n1 audio 1:00\n", &disc, &line) == DISC_MALFORMED);
    CHECK(Parse("tracks 1\n2 audio 1:00\n", &disc, &line) == DISC_MALFORMED);
    CHECK(line == 2);
    CHECK(Parse("1 audio 1:00\n", &disc, &line) == DISC_MALFORMED);
    CHECK(line == 1);
    CHECK(Parse("tracks 1\n1 audio 1:60\n", &disc) == DISC_MALFORMED);
    CHECK(Parse("tracks 1\n1 audio 1:00:75\n", &disc) == DISC_MALFORMED);
    CHECK(Parse("tracks 1\n1 audio 0:00\n", &disc) == DISC_MALFORMED);
    CHECK(Parse("tracks 1\n1 video 1:00\n", &disc) == DISC_MALFORMED);
    CHECK(Parse("tracks 1\n1 audio 1:00 extra\n", &disc) == DISC_MALFORMED);
    CHECK(Parse("tracks 1\n1 audio 1:00\n2 audio 1:00\n", &disc) == DISC_MALFORMED);
    CHECK(Parse("tracks 100\n", &disc) == DISC_MALFORMED);
    CHECK(Parse("tracks 2x\n", &disc) == DISC_MALFORMED);
    CHECK(Parse("tracks 1\n1 audio 99999999999999999999:00\n", &disc) == DISC_MALFORMED);
    CHECK(Parse("tracks 2\n1 audio 60:00\n2 audio 60:00\n", &disc) == DISC_MALFORMED);   // past 100 minutes
    CHECK(Parse("tracks 0\n", &disc) == DISC_OK);
    CHECK(disc.count == 0);
}

TEST_CASE("text is read only up to the given size, and oversized text is refused")
{
    DiscInfo disc;
    const char text[] = "tracks 1\n1 audio 1:00\nGARBAGE";
    CHECK(DiscParse(text, strlen(text) - 7, &disc, NULL) == DISC_OK);
    std::string big(DISC_MAX_TEXT + 1, '\n');
    CHECK(Parse(big, &disc) == DISC_MALFORMED);
}

TEST_CASE("positions convert between frames, msf and tmsf")
{
    DiscInfo disc;
    REQUIRE(Parse("tracks 3\n1 audio 4:00\n2 audio 4:00\n3 audio 4:00\n", &disc) == DISC_OK);
    CHECK(DiscFramesToMsf(150) == 0x000200u);
    CHECK(DiscMsfToFrames(0x0A0205u) == (5 * 60 + 2) * 75 + 10);
    long start2 = disc.tracks[1].start;
    CHECK(DiscTrackAt(&disc, start2 - 1) == 1);
    CHECK(DiscTrackAt(&disc, start2) == 2);
    CHECK(DiscTrackAt(&disc, disc.end + 500) == 3);
    CHECK(DiscFramesToTmsf(&disc, start2 + 75 * 61 + 3) == (2u | (1u << 8) | (1u << 16) | (3u << 24)));
    CHECK(DiscTmsfToFrames(&disc, 2u | (1u << 8) | (1u << 16) | (3u << 24)) == start2 + 75 * 61 + 3);
    CHECK(DiscTmsfToFrames(&disc, 4) == -1);
    CHECK(DiscTmsfToFrames(&disc, 0) == -1);
    CHECK(DiscTmsfToFrames(&disc, 3u | (5u << 8)) == -1);   // past the end of the disc
    DiscInfo empty;
    REQUIRE(Parse("tracks 0\n", &empty) == DISC_OK);
    CHECK(DiscTrackAt(&empty, 150) == 0);
}
