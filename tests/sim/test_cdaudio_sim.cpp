// The CD audio MCI stand-in seen through winmm's own mciSendStringA, as the audio CD
// functions will see it: the answers, a position that moves while playing, a state that
// outlives the device, bad disc descriptions and the command log.
#include <doctest/doctest.h>

#include "media.h"
#include "wintest.h"

#include <mmsystem.h>
#include <stdio.h>

#include <string>

using namespace qvtest;

namespace {

const char kDrive = 'S';

struct Reply {
    DWORD error;
    std::string text;
};

Reply Mci(const std::string& command)
{
    char buffer[256] = "";
    Reply r;
    r.error = mciSendStringA(command.c_str(), buffer, sizeof(buffer), NULL);
    r.text = buffer;
    return r;
}

// Frames of a "t:m:s:f" reply, counted from the start of its track.
long TrackFrames(const std::string& tmsf)
{
    unsigned t = 0, m = 0, s = 0, f = 0;
    if (sscanf(tmsf.c_str(), "%u:%u:%u:%u", &t, &m, &s, &f) != 4)
        return -1;
    return (long)((m * 60 + s) * 75 + f);
}

struct Disc {
    std::string folder;
    std::string log;
    explicit Disc(const std::string& description)
    {
        REQUIRE(InstallCdAudio());
        folder = MakeTempDir("disc");
        log = UseCdAudioLog("cdaudio");
        REQUIRE(InsertDisc(kDrive, folder, description));
    }
    ~Disc()
    {
        mciSendStringA("close all", NULL, 0, NULL);
        UnmapDrive(kDrive);
        ForgetDiscState(kDrive);
        RemoveTree(folder);
    }
};

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

const char kMixedDisc[] = "# two songs around a data track\n"
                          "tracks 3\n"
                          "1 audio 4:10\n"
                          "2 data 3:05:20\n"
                          "3 audio 2:00\n";

} // namespace

TEST_CASE("cdaudio opens on a drive given as S:, S:\\ or not at all, shared or not")
{
    Disc disc(kMixedDisc);
    char firstBefore = FirstCdromDrive();
    CHECK(Mci("open S: type cdaudio alias one shareable").error == 0);
    CHECK(Mci("open S:\\ type cdaudio alias two shareable").error == 0);
    CHECK(Mci("open S: type cdaudio alias three").error == MCIERR_MUST_USE_SHAREABLE);
    CHECK(Mci("open cdaudio alias four shareable").error == 0);
    char firstAfter = FirstCdromDrive();
    CHECK(Mci("open C: type cdaudio alias five shareable").error == MCIERR_INVALID_DEVICE_NAME);
    CHECK(Mci("open S:\\music type cdaudio alias six shareable").error == MCIERR_INVALID_DEVICE_NAME);
    CHECK(Mci("close one").error == 0);
    CHECK(Mci("close two").error == 0);
    CHECK(Mci("close four").error == 0);

    std::vector<std::string> log = ReadLogLines(disc.log);
    REQUIRE(log.size() >= 4);
    CHECK(log[0].find("open s: shareable drive=S: disc -> 0") != std::string::npos);
    CHECK(log[1].find("open s:\\ shareable drive=S: disc -> 0") != std::string::npos);
    CHECK(log[2].find("open s: drive=S: -> 291") != std::string::npos);
    // Without a drive it takes the first CD-ROM drive, as the system's CD player does
    // (another test program may map a drive meanwhile, hence before or after).
    char before[32], after[32];
    wsprintfA(before, "open shareable drive=%c:", firstBefore);
    wsprintfA(after, "open shareable drive=%c:", firstAfter);
    CHECK_MESSAGE((log[3].find(before) != std::string::npos || log[3].find(after) != std::string::npos), log[3]);
}

TEST_CASE("status answers mode, position, tracks, lengths and types in msf and tmsf")
{
    Disc disc(kMixedDisc);
    REQUIRE(Mci("open S:\\ type cdaudio alias cd shareable").error == 0);
    CHECK(Mci("status cd mode").text == "stopped");
    CHECK(Mci("status cd media present").text == "true");
    CHECK(Mci("status cd position").text == "00:02:00");   // the default format is msf
    CHECK(Mci("status cd number of tracks").text == "3");
    CHECK(Mci("status cd current track").text == "1");
    CHECK(Mci("status cd type track 1").text == "audio");
    CHECK(Mci("status cd type track 2").text == "other");
    CHECK(Mci("status cd type track 4").error == MCIERR_OUTOFRANGE);
    CHECK(Mci("status cd length").text == "09:15:20");
    CHECK(Mci("status cd position track 3").text == "07:17:20");

    CHECK(Mci("set cd time format tmsf").error == 0);
    CHECK(Mci("status cd position").text == "01:00:00:00");
    CHECK(Mci("status cd position track 3").text == "03:00:00:00");
    CHECK(Mci("status cd length track 2").text == "03:05:20");
    CHECK(Mci("set cd time format frames").error != 0);
    CHECK(Mci("set cd time format milliseconds").error == 0);
    CHECK(Mci("status cd position").text == "2000");
}

TEST_CASE("play moves the position with time; pause holds it, play resumes, seek and stop")
{
    Disc disc(AudioDisc({ "4:00", "4:00", "4:00", "4:00", "6:00" }));
    REQUIRE(Mci("open S: type cdaudio alias cd shareable").error == 0);
    REQUIRE(Mci("set cd time format tmsf").error == 0);
    DWORD started = GetTickCount();
    REQUIRE(Mci("play cd from 05:00:02:10").error == 0);
    CHECK(Mci("status cd mode").text == "playing");
    CHECK(Mci("status cd current track").text == "5");
    PumpFor(600);
    std::string position = Mci("status cd position").text;
    DWORD elapsed = GetTickCount() - started;
    long expected = (2 * 75 + 10) + (long)(elapsed * 75 / 1000);
    CHECK(position.compare(0, 3, "05:") == 0);
    CHECK(TrackFrames(position) <= expected);
    CHECK(TrackFrames(position) >= expected - 8);   // the reads themselves take a little

    REQUIRE(Mci("pause cd").error == 0);
    CHECK(Mci("status cd mode").text == "paused");
    std::string held = Mci("status cd position").text;
    PumpFor(300);
    CHECK(Mci("status cd position").text == held);
    REQUIRE(Mci("play cd").error == 0);
    CHECK(Mci("status cd mode").text == "playing");
    PumpFor(200);
    CHECK(TrackFrames(Mci("status cd position").text) > TrackFrames(held));

    CHECK(Mci("stop cd").error == 0);
    CHECK(Mci("status cd mode").text == "stopped");
    CHECK(Mci("seek cd to start").error == 0);
    CHECK(Mci("status cd position").text == "01:00:00:00");
    CHECK(Mci("play cd from 6").error == MCIERR_OUTOFRANGE);
    CHECK(Mci("status cd mode").text == "stopped");
}

TEST_CASE("a play stops by itself at the end of the disc")
{
    Disc disc("tracks 1\n1 audio 0:00:30\n");
    REQUIRE(Mci("open S: type cdaudio alias cd shareable").error == 0);
    REQUIRE(Mci("play cd").error == 0);
    CHECK(Mci("status cd mode").text == "playing");
    PumpFor(600);
    CHECK(Mci("status cd mode").text == "stopped");
    CHECK(Mci("status cd position").text == "00:02:30");
}

TEST_CASE("the disc keeps playing across close and reopen; a new disc starts stopped")
{
    Disc disc(AudioDisc({ "3:00", "3:00" }));
    REQUIRE(Mci("open S: type cdaudio alias cd shareable").error == 0);
    REQUIRE(Mci("play cd").error == 0);
    REQUIRE(Mci("close cd").error == 0);
    REQUIRE(Mci("open S: type cdaudio alias cd shareable").error == 0);
    CHECK(Mci("status cd mode").text == "playing");
    CHECK(Mci("set cd time format tmsf").error == 0);
    REQUIRE(Mci("close cd").error == 0);
    // A reopened device is back in its default format.
    REQUIRE(Mci("open S: type cdaudio alias cd shareable").error == 0);
    CHECK(Mci("status cd position").text.size() == 8);
    REQUIRE(Mci("close cd").error == 0);

    REQUIRE(InsertDisc(kDrive, disc.folder, AudioDisc({ "3:00", "3:00" })));
    REQUIRE(Mci("open S: type cdaudio alias cd shareable").error == 0);
    CHECK(Mci("status cd mode").text == "stopped");
}

TEST_CASE("a description can start the disc paused or playing at a position")
{
    Disc disc(AudioDisc({ "4:00", "4:00", "4:00", "4:00", "4:00" }) + "state paused 05:01:30:00\n");
    REQUIRE(Mci("open S: type cdaudio alias cd shareable").error == 0);
    CHECK(Mci("status cd mode").text == "paused");
    CHECK(Mci("set cd time format tmsf").error == 0);
    CHECK(Mci("status cd position").text == "05:01:30:00");
    REQUIRE(Mci("close cd").error == 0);

    REQUIRE(InsertDisc(kDrive, disc.folder, AudioDisc({ "4:00", "4:00" }) + "state playing 02:00:10:00\n"));
    REQUIRE(Mci("open S: type cdaudio alias cd shareable").error == 0);
    REQUIRE(Mci("set cd time format tmsf").error == 0);
    CHECK(Mci("status cd mode").text == "playing");
    long first = TrackFrames(Mci("status cd position").text);
    CHECK(first >= 10 * 75);
    PumpFor(300);
    CHECK(TrackFrames(Mci("status cd position").text) > first);
}

TEST_CASE("a missing, empty or malformed description gives clear errors, not a crash")
{
    Disc disc("");
    SUBCASE("no description: an empty drive")
    {
        REQUIRE(Mci("open S: type cdaudio alias cd shareable").error == 0);
        CHECK(Mci("status cd mode").text == "not ready");
        CHECK(Mci("status cd media present").text == "false");
        CHECK(Mci("status cd number of tracks").error == MCIERR_DEVICE_NOT_READY);
        CHECK(Mci("play cd").error == MCIERR_DEVICE_NOT_READY);
        CHECK(Mci("seek cd to start").error == MCIERR_DEVICE_NOT_READY);
    }
    SUBCASE("an empty file")
    {
        REQUIRE(WriteFileText(disc.folder + "\\.cdtracks", ""));
        CHECK(Mci("open S: type cdaudio alias cd shareable").error == MCIERR_INVALID_FILE);
    }
    SUBCASE("fewer tracks than announced")
    {
        REQUIRE(WriteFileText(disc.folder + "\\.cdtracks", "tracks 2\n1 audio 4:10\n"));
        CHECK(Mci("open S: type cdaudio alias cd shareable").error == MCIERR_INVALID_FILE);
    }
    SUBCASE("binary garbage")
    {
        std::string junk(5000, '\0');
        for (size_t i = 0; i < junk.size(); ++i)
            junk[i] = (char)(i * 37 + 11);
        REQUIRE(WriteFileText(disc.folder + "\\.cdtracks", junk));
        CHECK(Mci("open S: type cdaudio alias cd shareable").error == MCIERR_INVALID_FILE);
    }
    SUBCASE("broken after the device was opened")
    {
        REQUIRE(WriteFileText(disc.folder + "\\.cdtracks", "tracks 1\n1 audio 1:00\n"));
        REQUIRE(Mci("open S: type cdaudio alias cd shareable").error == 0);
        REQUIRE(WriteFileText(disc.folder + "\\.cdtracks", "tracks one\n"));
        CHECK(Mci("status cd number of tracks").error == MCIERR_INVALID_FILE);
        CHECK(Mci("status cd mode").text == "not ready");
    }
    SUBCASE("a disc without tracks")
    {
        REQUIRE(WriteFileText(disc.folder + "\\.cdtracks", "tracks 0\n"));
        REQUIRE(Mci("open S: type cdaudio alias cd shareable").error == 0);
        CHECK(Mci("status cd number of tracks").text == "0");
        CHECK(Mci("play cd").error == MCIERR_OUTOFRANGE);
    }
}

TEST_CASE("replies fit the caller's buffer or fail with an overflow")
{
    Disc disc(kMixedDisc);
    REQUIRE(Mci("open S: type cdaudio alias cd shareable").error == 0);
    Reply product = Mci("info cd product");
    CHECK(product.error == 0);
    CHECK(product.text == "Tavimon CD audio stand-in");
    char small[8] = "";
    CHECK(mciSendStringA("info cd product", small, sizeof(small), NULL) == MCIERR_PARAM_OVERFLOW);
    CHECK(Mci("set cd door open").error == MCIERR_UNSUPPORTED_FUNCTION);
}

TEST_CASE("every command reaches the log in the order sent, with its result")
{
    Disc disc(AudioDisc({ "4:00", "4:00", "4:00" }));
    const char* commands[] = { "open S:\\ type cdaudio alias qvbcd shareable", "set qvbcd time format TMSF",
                               "status qvbcd current track", "play qvbcd from 4", "pause qvbcd", "stop qvbcd",
                               "seek qvbcd to start", "close qvbcd" };
    for (const char* command : commands)
        Mci(command);
    const char* expected[] = { "open s:\\ shareable drive=S: disc -> 0", "set time format tmsf -> 0",
                               "status current track -> 0", "play from 04:00:00:00 -> 282", "pause -> 0",
                               "stop -> 0", "seek to start -> 0", "close -> 0" };
    std::vector<std::string> log = ReadLogLines(disc.log);
    REQUIRE(log.size() == 8);
    for (int i = 0; i < 8; ++i)
        CHECK_MESSAGE(log[i].find(expected[i]) != std::string::npos, log[i]);
}
