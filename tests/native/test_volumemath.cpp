// The mixer's volume arithmetic on its own: clamping at both ends and the channel mean
// with channel values that differ, which Wine's single-value master volume cannot show.
#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#include <doctest/doctest.h>

#include "volumemath.h"

TEST_CASE("steps clamp at 0 and 65535; step 0 is the default step")
{
    CHECK(VolumeStepUp(65500, 100) == 65535);
    CHECK(VolumeStepUp(65435, 100) == 65535);
    CHECK(VolumeStepUp(65434, 100) == 65534);
    CHECK(VolumeStepUp(0, 0) == 2730);
    CHECK(VolumeStepDown(50, 100) == 0);
    CHECK(VolumeStepDown(100, 100) == 0);
    CHECK(VolumeStepDown(65535, 0) == 62805);
    CHECK(VolumeStepUp(0, 0xFFFFFFFFu) == 65535);
    CHECK(VolumeStepDown(65535, 0xFFFFFFFFu) == 0);
}

TEST_CASE("a control value above the range counts as full")
{
    CHECK(VolumeStepUp(70000, 10) == 65535);
    CHECK(VolumeStepUp(0xFFFFFFFFu, 1) == 65535);
    CHECK(VolumeStepDown(70000, 10) == 65525);
}

TEST_CASE("the channel mean rounds down; equal channels read as their value")
{
    const unsigned differ[] = {1000, 2001};
    CHECK(VolumeMean(differ, 2) == 1500);
    const unsigned equal[] = {4242, 4242};
    CHECK(VolumeMean(equal, 2) == 4242);
    const unsigned extremes[] = {65535, 0};
    CHECK(VolumeMean(extremes, 2) == 32767);
    const unsigned one[] = {123};
    CHECK(VolumeMean(one, 1) == 123);
    CHECK(VolumeMean(differ, 0) == 0);
    const unsigned huge[] = {0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFDu};
    CHECK(VolumeMean(huge, 3) == 0xFFFFFFFEu);
}
