// The library's own audio CD player and play state, seen through the commands the CD
// audio stand-in receives through winmm, and through the state of its simulated disc.
#include <doctest/doctest.h>

#include "QVUtil.h"
#include "media.h"
#include "wintest.h"

#include <mmsystem.h>

#include <string>
#include <vector>

using namespace qvtest;

namespace {

const char kDrive = 'K';
const char kRoot[] = "K:\\";

// The commands of the log with their results, without the device numbers.
std::vector<std::string> Commands(const std::string& log)
{
    std::vector<std::string> commands;
    for (const std::string& line : ReadLogLines(log)) {
        size_t blank = line.find(' ');
        if (line.compare(0, 4, "dev=") == 0 && blank != std::string::npos)
            commands.push_back(line.substr(blank + 1));
        else if (!line.empty())
            commands.push_back(line);
    }
    return commands;
}

bool Has(const std::vector<std::string>& commands, const std::string& text)
{
    for (const std::string& c : commands) {
        if (c.find(text) != std::string::npos)
            return true;
    }
    return false;
}

std::string Joined(const std::vector<std::string>& commands)
{
    std::string all;
    for (const std::string& c : commands)
        all += c + "\n";
    return all;
}

std::string Status(const char* item)
{
    char reply[256] = "";
    std::string command = std::string("status probe ") + item;
    mciSendStringA("open K:\\ type cdaudio alias probe shareable", NULL, 0, NULL);
    mciSendStringA(command.c_str(), reply, sizeof(reply), NULL);
    mciSendStringA("close probe", NULL, 0, NULL);
    return reply;
}

struct Disc {
    std::string folder;
    std::string log;
    explicit Disc(const std::string& description)
    {
        REQUIRE(InstallCdAudio());
        folder = MakeTempDir("audiocd");
        REQUIRE(InsertDisc(kDrive, folder, description));
        log = UseCdAudioLog("audiocd");
    }
    // Starts a fresh log, so a check sees only what follows.
    void Mark() { log = UseCdAudioLog("audiocd"); }
    ~Disc()
    {
        AudioCD_CloseCDAudio();
        UnmapDrive(kDrive);
        ForgetDiscState(kDrive);
        RemoveTree(folder);
    }
};

std::string FiveTracks(const char* state)
{
    return AudioDisc({ "4:00", "4:00", "4:00", "4:00", "4:00" }) + state;
}

} // namespace

QV_CHILD(opendrive)
{
    int opened = AudioCD_OpenCDAudio(argc > 0 ? argv[0] : NULL);
    AudioCD_CloseCDAudio();
    return opened;
}

TEST_CASE("the device opens under qvbcd after a probe that is closed again")
{
    Disc disc(AudioDisc({ "3:00" }));
    CHECK(AudioCD_OpenCDAudio(kRoot) == 1);
    char reply[256] = "";
    CHECK(mciSendStringA("status qvbcd mode", reply, sizeof(reply), NULL) == 0);
    CHECK(std::string(reply) == "stopped");
    CHECK(mciSendStringA("close qvbcdx", NULL, 0, NULL) == MCIERR_INVALID_DEVICE_NAME);
    // Still open: a second open of the alias fails.
    CHECK(AudioCD_OpenCDAudio(kRoot) == 0);
    CHECK(AudioCD_CloseCDAudio() == 0);
    CHECK(AudioCD_CloseCDAudio() == MCIERR_INVALID_DEVICE_NAME);
    std::vector<std::string> commands = Commands(disc.log);
    REQUIRE(commands.size() >= 3);
    CHECK(commands[0].find("open k:\\ shareable drive=K: disc -> 0") == 0);
    CHECK(commands[1].find("open k:\\ shareable drive=K: disc -> 0") == 0);
    CHECK(commands[2].find("close -> 0") == 0);

    SUBCASE("without a drive the default device is opened")
    {
        CHECK(AudioCD_OpenCDAudio(NULL) == 1);
        CHECK(AudioCD_CloseCDAudio() == 0);
    }
    SUBCASE("a drive that is no CD-ROM drive does not open, and nothing is left open")
    {
        CHECK(AudioCD_OpenCDAudio("C:\\") == 0);
        CHECK(AudioCD_CloseCDAudio() == MCIERR_INVALID_DEVICE_NAME);
        CHECK(mciSendStringA("close qvbcdx", NULL, 0, NULL) == MCIERR_INVALID_DEVICE_NAME);
    }
    SUBCASE("a drive text longer than a path is refused, not cut")
    {
        std::string longDrive = "K:\\" + std::string(300, 'x');
        disc.Mark();
        CHECK(AudioCD_OpenCDAudio(longDrive.c_str()) == 0);
        CHECK(!Has(Commands(disc.log), "open"));
    }
}

TEST_CASE("Windows NT 4 opens the drive without its trailing backslash, 2000 with it")
{
    Disc disc(AudioDisc({ "3:00" }));
    CHECK(RunAsMode("nt40", SelfPath(), "--child opendrive K:\\", 30000) == 1);
    CHECK(Has(Commands(disc.log), "open k: shareable drive=K: disc -> 0"));
    CHECK(!Has(Commands(disc.log), "open k:\\"));
    disc.Mark();
    CHECK(RunAsMode("win2k", SelfPath(), "--child opendrive K:\\", 30000) == 1);
    CHECK(Has(Commands(disc.log), "open k:\\ shareable"));
}

TEST_CASE("previous track restarts the track after its first two seconds, else goes back one")
{
    struct Case {
        const char* state;
        const char* expected;
    };
    const Case cases[] = {
        { "state paused 05:00:02:10\n", "play from 04:00:00:00 -> 0" },
        { "state paused 05:01:30:00\n", "play from 05:00:00:00 -> 0" },
        // Only the seconds field counts: two minutes and one second in goes back too.
        { "state paused 05:02:01:00\n", "play from 04:00:00:00 -> 0" },
    };
    for (const Case& c : cases) {
        CAPTURE(c.state);
        Disc disc(FiveTracks(c.state));
        CHECK(AudioCD_PrevTrack(kRoot) == 0);
        std::vector<std::string> commands = Commands(disc.log);
        CHECK_MESSAGE(Has(commands, "set time format tmsf -> 0"), Joined(commands));
        CHECK_MESSAGE(Has(commands, c.expected), Joined(commands));
        CHECK(Status("mode") == "playing");
    }
}

TEST_CASE("next track plays the following one; on the last track the device's refusal is returned")
{
    Disc disc(FiveTracks("state playing 02:01:00:00\n"));
    CHECK(AudioCD_NextTrack(kRoot) == 0);
    CHECK(Has(Commands(disc.log), "play from 03:00:00:00 -> 0"));

    REQUIRE(InsertDisc(kDrive, disc.folder, FiveTracks("state playing 05:01:00:00\n")));
    disc.Mark();
    CHECK(AudioCD_NextTrack(kRoot) == MCIERR_OUTOFRANGE);
    CHECK(Has(Commands(disc.log), "play from 06"));
    CHECK(Status("mode") == "playing");
}

TEST_CASE("play while playing sends nothing; pause keeps the place and play resumes from it")
{
    Disc disc(FiveTracks("state playing 03:01:00:00\n"));
    CHECK(AudioCD_Play(kRoot) == 0);
    CHECK(!Has(Commands(disc.log), "play"));

    disc.Mark();
    CHECK(AudioCD_Pause(kRoot) == 0);
    std::vector<std::string> commands = Commands(disc.log);
    CHECK(Has(commands, "status position -> 0"));
    CHECK(Has(commands, "pause -> 0"));
    CHECK(Status("mode") == "paused");

    disc.Mark();
    CHECK(AudioCD_Play(kRoot) == 0);
    commands = Commands(disc.log);
    CHECK_MESSAGE(Has(commands, "play from 09:02:"), Joined(commands));   // track 3 starts at 08:02:00
    CHECK(!Has(commands, "seek"));
    CHECK(Status("mode") == "playing");

    // The stored place was used up: the next play of a stopped disc starts from the start.
    REQUIRE(mciSendStringA("open K:\\ type cdaudio alias probe shareable", NULL, 0, NULL) == 0);
    REQUIRE(mciSendStringA("stop probe", NULL, 0, NULL) == 0);
    mciSendStringA("close probe", NULL, 0, NULL);
    disc.Mark();
    CHECK(AudioCD_Play(kRoot) == 0);
    commands = Commands(disc.log);
    CHECK_MESSAGE(Has(commands, "seek to start -> 0"), Joined(commands));
    CHECK(!Has(commands, "play from"));
}

TEST_CASE("pause on a paused disc resumes it; with nothing to resume it sends nothing and fails")
{
    Disc disc(FiveTracks("state playing 02:00:30:00\n"));
    CHECK(AudioCD_Pause(kRoot) == 0);
    CHECK(Status("mode") == "paused");
    disc.Mark();
    CHECK(AudioCD_Pause(kRoot) == 0);
    CHECK(Has(Commands(disc.log), "play from"));
    CHECK(Status("mode") == "playing");

    CHECK(AudioCD_Stop(kRoot) == 0);
    disc.Mark();
    CHECK(AudioCD_Pause(kRoot) != 0);
    CHECK(!Has(Commands(disc.log), "play"));
    CHECK(!Has(Commands(disc.log), "pause"));
}

TEST_CASE("play/pause pauses a playing disc, resumes a paused one and starts a stopped one")
{
    Disc disc(FiveTracks("state playing 02:00:30:00\n"));
    CHECK(AudioCD_PlayPause(kRoot) == 0);
    CHECK(Status("mode") == "paused");
    CHECK(AudioCD_PlayPause(kRoot) == 0);
    CHECK(Status("mode") == "playing");
    CHECK(AudioCD_Stop(kRoot) == 0);
    CHECK(Status("mode") == "stopped");
    disc.Mark();
    CHECK(AudioCD_PlayPause(kRoot) == 0);
    CHECK(Has(Commands(disc.log), "seek to start -> 0"));
    CHECK(Status("mode") == "playing");
}

TEST_CASE("stop stops, goes back to the start and forgets a paused place")
{
    Disc disc(FiveTracks("state playing 04:01:00:00\n"));
    CHECK(AudioCD_Pause(kRoot) == 0);
    disc.Mark();
    CHECK(AudioCD_Stop(kRoot) == 0);
    std::vector<std::string> commands = Commands(disc.log);
    CHECK(Has(commands, "stop -> 0"));
    CHECK(Has(commands, "seek to start -> 0"));
    CHECK(Status("position") == "00:02:00");
    disc.Mark();
    CHECK(AudioCD_Play(kRoot) == 0);
    CHECK(!Has(Commands(disc.log), "play from"));
}

TEST_CASE("play state of the drive, and -1 when the device does not open")
{
    Disc disc(FiveTracks("state playing 01:00:10:00\n"));
    CHECK(AudioCD_IsPlaying(kRoot) == 1);
    CHECK(AudioCD_Pause(kRoot) == 0);
    CHECK(AudioCD_IsPlaying(kRoot) == 0);
    CHECK(AudioCD_IsPlaying("C:\\") == -1);
}

TEST_CASE("an audio track is found past data tracks; data-only, empty and broken discs are not audio")
{
    Disc disc("tracks 3\n1 data 10:00\n2 data 1:00\n3 audio 2:00\n");
    CHECK(AudioCD_FindAudioByMCI(kRoot) == 0);
    CHECK(Has(Commands(disc.log), "status type track 3 -> 0"));

    REQUIRE(InsertDisc(kDrive, disc.folder, "tracks 1\n1 data 10:00\n"));
    CHECK(AudioCD_FindAudioByMCI(kRoot) == MCIERR_FILE_NOT_FOUND);
    REQUIRE(InsertDisc(kDrive, disc.folder, "tracks 0\n"));
    CHECK(AudioCD_FindAudioByMCI(kRoot) == MCIERR_FILE_NOT_FOUND);
    // No description: the drive answers "not ready" to the track count.
    REQUIRE(InsertDisc(kDrive, disc.folder, ""));
    CHECK(AudioCD_FindAudioByMCI(kRoot) == MCIERR_DEVICE_NOT_READY);
    REQUIRE(InsertDisc(kDrive, disc.folder, "tracks 2\n1 audio 4:10\n"));
    CHECK(AudioCD_FindAudioByMCI(kRoot) == MCIERR_FILE_NOT_FOUND);
    REQUIRE(InsertDisc(kDrive, disc.folder, "tracks many\n"));
    CHECK(AudioCD_FindAudioByMCI(kRoot) == MCIERR_FILE_NOT_FOUND);
}

TEST_CASE("operations on a drive whose device does not open send nothing and return 0")
{
    Disc disc(AudioDisc({ "3:00" }));
    REQUIRE(WriteFileText(disc.folder + "\\.cdtracks", "garbage\n"));
    CHECK(AudioCD_Play(kRoot) == 0);
    CHECK(AudioCD_Pause(kRoot) == 0);
    CHECK(AudioCD_NextTrack(kRoot) == 0);
    CHECK(AudioCD_PrevTrack(kRoot) == 0);
    CHECK(AudioCD_Stop(kRoot) == 0);
    for (const std::string& c : Commands(disc.log)) {
        CHECK_MESSAGE((c.find("open") == 0 || c.find("close") == 0), c);
    }
}
