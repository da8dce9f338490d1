// Disc keys and player launch: which drive and disc they pick, what the player stand-ins
// receive, what the CD audio stand-in is told, and the messages shown when nothing fits.
#include <doctest/doctest.h>

#include "QVUtil.h"
#include "media.h"
#include "wintest.h"

#include <string>
#include <vector>

using namespace qvtest;

namespace {

bool Has(const std::vector<std::string>& lines, const std::string& text)
{
    for (const std::string& l : lines) {
        if (l.find(text) != std::string::npos)
            return true;
    }
    return false;
}

int Count(const std::vector<std::string>& lines, const std::string& text)
{
    int n = 0;
    for (const std::string& l : lines)
        n += l.find(text) != std::string::npos;
    return n;
}

std::string Joined(const std::vector<std::string>& lines)
{
    std::string all;
    for (const std::string& l : lines)
        all += l + "\n";
    return all;
}

// Folders mapped as CD-ROM drives, each holding one kind of disc.
struct Drives {
    std::vector<char> letters;
    std::vector<std::string> folders;
    std::string log;
    Drives()
    {
        REQUIRE(InstallCdAudio());
        log = UseCdAudioLog("discmedia");
    }
    std::string Insert(char letter, const char* kind)
    {
        std::string folder = MakeTempDir("disc");
        std::string kindText = kind;
        std::string description;
        if (kindText == "audio")
            description = AudioDisc({ "4:00", "4:00", "4:00" });
        else if (kindText == "audio-cda")
            WriteFileText(folder + "\\Track01.cda", "x");
        else if (kindText == "dvd" || kindText == "dvd-autorun") {
            CreateDirectoryA((folder + "\\VIDEO_TS").c_str(), NULL);
            WriteFileText(folder + "\\VIDEO_TS\\VTS_01_0.IFO", "x");
        } else if (kindText == "vcd" || kindText == "vcd-autorun") {
            CreateDirectoryA((folder + "\\VCD").c_str(), NULL);
            WriteFileText(folder + "\\VCD\\INFO.VCD", "x");
        } else if (kindText == "data")
            WriteFileText(folder + "\\readme.txt", "x");
        if (kindText == "software" || kindText.find("-autorun") != std::string::npos)
            WriteFileText(folder + "\\AUTORUN.INF", "[autorun]\r\nopen=setup.exe\r\n");
        REQUIRE(InsertDisc(letter, folder, description));
        letters.push_back(letter);
        folders.push_back(folder);
        return folder;
    }
    ~Drives()
    {
        AudioCD_CloseCDAudio();
        for (size_t i = 0; i < letters.size(); ++i) {
            UnmapDrive(letters[i]);
            ForgetDiscState(letters[i]);
            RemoveTree(folders[i]);
        }
    }
};

// The library's message boxes, answered from a thread timer while the box runs its loop.
struct MessageWatch {
    int boxes = 0;
    std::string caption;
    std::string text;
    int nestedResult = -1;
    bool nested = false;   // ask for a second message while the first is open
};
MessageWatch* g_watch;

BOOL CALLBACK FindText(HWND child, LPARAM param)
{
    char className[32] = "";
    GetClassNameA(child, className, sizeof(className));
    std::string text = WindowText(child);
    if (lstrcmpiA(className, "Static") == 0 && text.size() > ((std::string*)param)->size())
        *(std::string*)param = text;
    return TRUE;
}

BOOL CALLBACK CountBoxes(HWND wnd, LPARAM param)
{
    char className[32] = "";
    GetClassNameA(wnd, className, sizeof(className));
    DWORD pid = 0;
    GetWindowThreadProcessId(wnd, &pid);
    if (pid == GetCurrentProcessId() && lstrcmpA(className, "#32770") == 0 && IsWindowVisible(wnd))
        ++*(int*)param;
    return TRUE;
}

int OpenBoxes()
{
    int n = 0;
    EnumWindows(CountBoxes, (LPARAM)&n);
    return n;
}

void CALLBACK AnswerBox(HWND, UINT, UINT_PTR, DWORD)
{
    HWND box = FindWindowA("#32770", NULL);
    DWORD pid = 0;
    GetWindowThreadProcessId(box, &pid);
    if (!box || pid != GetCurrentProcessId() || !IsWindowVisible(box) || !g_watch)
        return;
    MessageWatch* watch = g_watch;
    g_watch = NULL;   // this box is handled once
    ++watch->boxes;
    watch->caption = WindowText(box);
    EnumChildWindows(box, FindText, (LPARAM)&watch->text);
    if (watch->nested) {
        watch->nestedResult = CD_Stop();
        watch->boxes += OpenBoxes() - 1;
    }
    PostMessageA(box, WM_COMMAND, IDOK, 0);
}

// Runs `key` with a watch for the message it may show.
MessageWatch Watch(int(WINAPI* key)(void), int* result = NULL, bool nested = false)
{
    MessageWatch watch;
    watch.nested = nested;
    g_watch = &watch;
    UINT_PTR timer = SetTimer(NULL, 0, 50, AnswerBox);
    int r = key();
    KillTimer(NULL, timer);
    g_watch = NULL;
    if (result)
        *result = r;
    return watch;
}

const char kDataDisc[] = "The CD in the drive contains software, it is not an audio CD, VCD or DVD. Software CDs must "
                         "be used from the Windows desktop.";
const char kSoftwareDisc[] = "This button is not available for software CDs. You can use this button only with an "
                             "audio CD, VCD, or DVD.";
const char kNoPlayer[] = "Could not find a compatible VCD or DVD player program on this computer. You need to install "
                         "compatible VCD or DVD software to use this function.";

// A player stand-in staged and registered where the functions look for it.
struct StagedPlayer {
    std::string dir = MakeTempDir("player");
    std::string log = NewLogFile("player");
    std::string exe;
    const char* role;
    Player running = {};
    StagedPlayer(const char* role, const char* exeName, DWORD delayMs, bool registered = true) : role(role)
    {
        exe = StagePlayer(dir, exeName, role, delayMs, log);
        REQUIRE(!exe.empty());
        if (registered)
            REQUIRE(RegisterPlayer(role, exe));
    }
    HWND Start(const char* className, const char* title = NULL)
    {
        REQUIRE(StartPlayer(exe, "", &running));
        HWND wnd = WaitForWindow(className, title, 10000);
        REQUIRE(wnd != NULL);
        REQUIRE(WaitForLogLine(log, "READY", 5000));
        return wnd;
    }
    // Ends a copy the library started, found by its window.
    void Adopt(HWND wnd)
    {
        DWORD pid = 0;
        GetWindowThreadProcessId(wnd, &pid);
        running.process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
        running.pid = pid;
    }
    std::vector<std::string> Lines() { return ReadLogLines(log); }
    ~StagedPlayer()
    {
        StopPlayer(&running, false);
        UnregisterPlayer(role);
        RemoveTree(dir);
    }
};

bool NoOtherCdromDrive()
{
    char drives[260];
    DWORD n = GetLogicalDriveStringsA(sizeof(drives), drives);
    for (const char* root = drives; n && *root; root += lstrlenA(root) + 1) {
        if (GetDriveTypeA(root) == DRIVE_CDROM)
            return false;
    }
    return true;
}

// Brings the flag to a known value through the one path that sets it without a player.
void SetPlayingFlag(int playing)
{
    for (int i = 0; i < 2 && CD_IsPlaying() != playing; ++i)
        CD_CheckPlayPauseStatus();
}

} // namespace

TEST_CASE("a key with no CD-ROM drive does nothing and returns 1")
{
    REQUIRE(NoOtherCdromDrive());
    int result = 0;
    MessageWatch watch = Watch(CD_PlayPause, &result);
    CHECK(result == 1);
    CHECK(watch.boxes == 0);
    CHECK(Watch(CD_Stop, &result).boxes == 0);
    CHECK(result == 1);
}

// Wine answers GetVolumeInformationA for every drive mapped as a CD-ROM drive, even one
// whose folder is gone, so a drive without a disc (and the no-disc message) cannot be
// made here; such a drive reads as a data disc without files.
TEST_CASE("messages: data disc, software disc; the text and caption come from the string table")
{
    struct Case {
        const char* kind;
        int(WINAPI* key)(void);
        const char* text;
    };
    const Case cases[] = {
        { "data", CD_NextTrack, kDataDisc },
        { "software", CD_Stop, kSoftwareDisc },
        { "software", CD_Pause, kSoftwareDisc },
        { "dvd-autorun", CD_PrevTrack, kSoftwareDisc },   // the autorun file counts first
    };
    for (const Case& c : cases) {
        CAPTURE(c.kind);
        Drives one;
        one.Insert('L', c.kind);
        int result = 0;
        MessageWatch watch = Watch(c.key, &result);
        CHECK(result == 1);
        CHECK(watch.boxes == 1);
        CHECK(watch.caption == "Error");
        CHECK(watch.text == c.text);
    }
}

TEST_CASE("play on a software disc opens the drive's AutoRun and shows nothing")
{
    Drives drives;
    drives.Insert('L', "software");
    int result = 0;
    CHECK(Watch(CD_Play, &result).boxes == 0);
    CHECK(result == 1);
    CHECK(Watch(CD_PlayPause, &result).boxes == 0);
    CHECK(OpenAutoRunCD("L:\\") == 1);
    CHECK(OpenAutoRunCD("Z:\\") == 1);
}

TEST_CASE("a DVD without any player shows the no-player message; a second one meanwhile only beeps")
{
    Drives drives;
    drives.Insert('L', "dvd");
    int result = 0;
    MessageWatch watch = Watch(CD_PlayPause, &result, true);
    CHECK(result == 1);
    CHECK(watch.text == kNoPlayer);
    CHECK(watch.nestedResult == 1);   // returned at once instead of waiting for its own box
    CHECK(watch.boxes == 1);
    // The box is gone again: the next message shows.
    CHECK(Watch(CD_Stop).boxes == 1);
}

TEST_CASE("the drive with the best disc is chosen: audio, DVD or VCD before autorun before data before empty")
{
    Drives drives;
    SUBCASE("a drive without files and an audio CD: the audio CD plays")
    {
        drives.Insert('L', "blank");
        drives.Insert('M', "audio");
        CHECK(Watch(CD_Play).boxes == 0);
        std::vector<std::string> log = ReadLogLines(drives.log);
        CHECK_MESSAGE(Has(log, "open m:\\"), Joined(log));
        CHECK(Has(log, "play -> 0"));
        CHECK(CD_IsPlaying() == 1);
        CHECK(Watch(CD_Stop).boxes == 0);
        CHECK(CD_IsPlaying() == 0);
    }
    SUBCASE("a software disc before a data disc, in either order")
    {
        drives.Insert('L', "software");
        drives.Insert('M', "data");
        CHECK(Watch(CD_Stop).text == kSoftwareDisc);
        UnmapDrive('L');
        UnmapDrive('M');
        drives.Insert('L', "data");
        drives.Insert('M', "software");
        CHECK(Watch(CD_Stop).text == kSoftwareDisc);
    }
    SUBCASE("a VCD with an autorun file is a VCD, an audio CD with .cda files needs no MCI")
    {
        drives.Insert('L', "vcd-autorun");
        CHECK(Watch(CD_Stop).text == kNoPlayer);
        UnmapDrive('L');
        drives.Insert('M', "audio-cda");
        CHECK(Watch(CD_Stop).boxes == 0);
        CHECK(CD_CheckPlayPauseStatus() == 0);
    }
}

TEST_CASE("play state: -1 without a playable disc, the drive's answer for an audio CD, flips within a second")
{
    SUBCASE("data disc")
    {
        Drives drives;
        drives.Insert('L', "data");
        SetPlayingFlag(0);
        CHECK(CD_CheckPlayPauseStatus() == -1);
        CHECK(CD_IsPlaying() == 0);
    }
    SUBCASE("audio CD asks the device")
    {
        Drives drives;
        std::string folder = drives.Insert('L', "audio");
        REQUIRE(InsertDisc('L', folder, AudioDisc({ "4:00" }) + "state playing 01:00:10:00\n"));
        CHECK(CD_CheckPlayPauseStatus() == 1);
        CHECK(CD_CheckPlayPauseStatus() == 1);   // asked again, not flipped
        CHECK(CD_IsPlaying() == 1);
        REQUIRE(InsertDisc('L', folder, AudioDisc({ "4:00" })));
        CHECK(CD_CheckPlayPauseStatus() == 0);
    }
    SUBCASE("DVD: a check within a second flips the flag, a later one measures the drive")
    {
        Drives drives;
        drives.Insert('L', "dvd");
        int first = CD_CheckPlayPauseStatus();
        CHECK(first == 0);   // measured: no CD-ROM access library in this world reports playing
        PumpFor(400);
        CHECK(CD_CheckPlayPauseStatus() == 1);
        CHECK(CD_CheckPlayPauseStatus() == 0);
        PumpFor(1500);
        CHECK(CD_CheckPlayPauseStatus() == 0);   // measured, where a flip would give 1
        PumpFor(100);
        CHECK(CD_CheckPlayPauseStatus() == 1);
        // Without a drive the answer is 0 and the flag stays.
        UnmapDrive('L');
        REQUIRE(NoOtherCdromDrive());
        CHECK(CD_CheckPlayPauseStatus() == 0);
        CHECK(CD_IsPlaying() == 1);
    }
}

TEST_CASE("an audio CD goes to a running Media Player as application commands")
{
    Drives drives;
    drives.Insert('L', "audio");
    StagedPlayer wmp("wmp", "wmplayer.exe", 0, false);
    HWND wnd = wmp.Start("WMPlayerApp");
    CHECK(CD_NextTrack() == 1);
    CHECK(CD_PrevTrack() == 1);
    CHECK(CD_PlayPause() == 1);
    SetPlayingFlag(1);
    CHECK(CD_Stop() == 1);
    CHECK(CD_IsPlaying() == 0);
    CHECK(WaitForLogLine(wmp.log, "APPCOMMAND cmd=13", 5000));
    std::vector<std::string> lines = wmp.Lines();
    std::vector<std::string> commands;
    for (const std::string& l : lines) {
        if (l.find("APPCOMMAND") != std::string::npos)
            commands.push_back(l.substr(l.find("APPCOMMAND")));
    }
    REQUIRE(commands.size() == 4);
    CHECK(commands[0] == "APPCOMMAND cmd=11 device=0x0 keys=0x0 source=self");
    CHECK(commands[1].find("cmd=12") != std::string::npos);
    CHECK(commands[2].find("cmd=14") != std::string::npos);
    CHECK(commands[3].find("cmd=13") != std::string::npos);
    // The library's own player was left alone.
    CHECK(!Has(ReadLogLines(drives.log), "play"));
    (void)wnd;
}

TEST_CASE("the CD Player window takes play/pause as play or pause by the playing flag")
{
    Drives drives;
    drives.Insert('L', "audio");
    StagedPlayer cd("sje", "cdplayer.exe", 0, false);
    cd.Start("SJE_CdPlayerClass");
    SetPlayingFlag(0);
    CD_PlayPause();
    CHECK(CD_IsPlaying() == 1);
    CD_PlayPause();
    CHECK(CD_IsPlaying() == 0);
    CD_NextTrack();
    CD_Stop();
    CHECK(WaitForLogLine(cd.log, "COMMAND wparam=0x3ea", 5000));
    std::vector<std::string> lines = cd.Lines();
    CHECK(Has(lines, "COMMAND wparam=0x3e8 lparam=0x0"));   // 1000 play
    CHECK(Has(lines, "COMMAND wparam=0x3e9 lparam=0x0"));   // 1001 pause
    CHECK(Has(lines, "COMMAND wparam=0x3ee lparam=0x0"));   // 1006 next
}

TEST_CASE("WinDVD gets play and pause commands by the flag, which play/pause inverts")
{
    Drives drives;
    drives.Insert('L', "dvd");
    StagedPlayer dvd("windvd", "WinDVD.exe", 0);
    dvd.Start("QvSimWinDVD");
    SetPlayingFlag(0);
    CHECK(CD_PlayPause() == 1);
    CHECK(CD_IsPlaying() == 1);
    CHECK(WaitForLogLine(dvd.log, "COMMAND wparam=0x8004 lparam=0x0", 5000));
    CHECK(CD_PlayPause() == 1);
    CHECK(CD_IsPlaying() == 0);
    CHECK(WaitForLogLine(dvd.log, "COMMAND wparam=0x8008 lparam=0x0", 5000));
    CD_NextTrack();
    CHECK(WaitForLogLine(dvd.log, "COMMAND wparam=0x800a", 5000));
}

TEST_CASE("a registered DVDPlayer.exe not running is started on play, waited for, and gets no key")
{
    Drives drives;
    drives.Insert('L', "dvd");
    StagedPlayer dvd("dvdplayer", "DVDPlayer.exe", 700);
    SetPlayingFlag(0);
    DWORD start = GetTickCount();
    CHECK(Watch(CD_Play).boxes == 0);
    DWORD took = GetTickCount() - start;
    HWND wnd = FindWindowA("QvSimDVDPlayer", NULL);
    REQUIRE(wnd != NULL);
    dvd.Adopt(wnd);
    CHECK(took >= 700);
    CHECK(took < 10000);   // returns once the window is there, not after the full wait
    CHECK(CD_IsPlaying() == 1);
    PumpFor(200);
    CHECK(!Has(dvd.Lines(), "KEYDOWN"));
    // Now running: Stop is pressed as 'S' into it.
    CD_Stop();
    CHECK(WaitForLogLine(dvd.log, "KEYDOWN 0x53", 5000));
    CHECK(CD_IsPlaying() == 0);
}

TEST_CASE("a player that does not start leads on to the next one")
{
    Drives drives;
    drives.Insert('L', "dvd");
    // Registered, but its program is gone.
    StagedPlayer gone("dvdplayer", "DVDPlayer.exe", 0);
    DeleteFileA(gone.exe.c_str());
    StagedPlayer dvd("powerdvd", "PowerDVD.exe", 0);
    dvd.Start("Class of CyberLink Universal Player", "CyberLink Universal Player");
    SetPlayingFlag(1);
    CHECK(Watch(CD_PlayPause).boxes == 0);
    CHECK(WaitForLogLine(dvd.log, "MESSAGE 0x40b wparam=0x0 lparam=0x0", 5000));
    CHECK(CD_IsPlaying() == 0);
}

TEST_CASE("launching the CD player: Media Player for an audio CD, cdplayer.exe without it")
{
    SUBCASE("Media Player is started for the audio CD")
    {
        Drives drives;
        drives.Insert('L', "audio");
        StagedPlayer wmp("wmp", "wmplayer.exe", 0);
        CHECK(LaunchCDPlayer() == 1);
        HWND wnd = WaitForWindow("WMPlayerApp", NULL, 10000);
        REQUIRE(wnd != NULL);
        wmp.Adopt(wnd);
        CHECK(WaitForLogLine(wmp.log, "START role=wmp args=/device:AudioCD", 5000));
    }
    SUBCASE("a registered Media Player that is gone starts nothing")
    {
        Drives drives;
        drives.Insert('L', "audio");
        StagedPlayer wmp("wmp", "wmplayer.exe", 0);
        DeleteFileA(wmp.exe.c_str());
        CHECK(LaunchCDPlayer() == 0);
    }
    SUBCASE("without Media Player cdplayer.exe is started")
    {
        Drives drives;
        drives.Insert('L', "audio");
        StagedPlayer cd("sje", "cdplayer.exe", 0);   // registered under App Paths
        CHECK(LaunchCDPlayer() == 1);
        HWND wnd = WaitForWindow("SJE_CdPlayerClass", NULL, 10000);
        REQUIRE(wnd != NULL);
        cd.Adopt(wnd);
    }
}

TEST_CASE("launching the video player takes the first registered one that starts")
{
    StagedPlayer gone("dvdplayer", "DVDPlayer.exe", 0);
    DeleteFileA(gone.exe.c_str());
    StagedPlayer windvd("windvd", "WinDVD.exe", 0);
    StagedPlayer mplayer("mplayer2", "mplayer2.exe", 0);
    CHECK(LaunchVideoPlayer() == 1);
    HWND wnd = WaitForWindow("QvSimWinDVD", NULL, 10000);
    REQUIRE(wnd != NULL);
    windvd.Adopt(wnd);
    CHECK(FindWindowA("Media Player 2", NULL) == NULL);
}

QV_CHILD(medialibrary)
{
    // A DVD and no player: the outside media library takes the keys.
    int first = CD_PlayPause();
    int second = CD_PlayPause();
    int launched = LaunchVideoPlayer();
    return first == 1 && second == 1 && CD_IsPlaying() == 0 ? launched : 100;
}

TEST_CASE("without a player program the media library takes the keys and the launch")
{
    Drives drives;
    drives.Insert('L', "dvd");
    std::string dir = MakeTempDir("qvmedia");
    std::string log = NewLogFile("qvmedia");
    REQUIRE(StageQvmedia(dir, "Play=7;Pause=1", log));
    CHECK(RunWithPath(dir, NULL, SelfPath(), "--child medialibrary", 60000) == 7);
    std::vector<std::string> lines = ReadLogLines(log);
    CHECK_MESSAGE(Has(lines, "Qvmedia_Play 0 0 -> 7"), Joined(lines));
    CHECK(Has(lines, "Qvmedia_Pause -> 1"));
    CHECK(Has(lines, "Qvmedia_Play 0 1 -> 7"));
    CHECK(Count(lines, "LOAD") >= 1);
    CHECK(Has(lines, "UNLOAD"));
    RemoveTree(dir);
}

QV_CHILD(mediaplayerme)
{
    CD_PlayPause();
    int afterStart = CD_IsPlaying();
    CD_PlayPause();
    return afterStart;
}

TEST_CASE("on Windows Me play/pause starts Media Player for the disc and sends nothing until the next press")
{
    Drives drives;
    drives.Insert('L', "audio-cda");   // found without MCI, whatever the mode's multimedia set-up
    StagedPlayer wmp("wmp", "wmplayer.exe", 300);
    CHECK(RunAsMode("winme", SelfPath(), "--child mediaplayerme", 60000) == 1);
    HWND wnd = FindWindowA("WMPlayerApp", NULL);
    REQUIRE(wnd != NULL);
    wmp.Adopt(wnd);
    CHECK(WaitForLogLine(wmp.log, "START role=wmp args=/device:AudioCD", 5000));
    CHECK(WaitForLogLine(wmp.log, "APPCOMMAND cmd=14", 5000));
    CHECK(Count(wmp.Lines(), "APPCOMMAND") == 1);
}

QV_CHILD(cdplayerkeys)
{
    CD_Play();
    CD_PlayPause();
    CD_NextTrack();
    CD_PrevTrack();
    CD_Stop();
    return CD_IsPlaying();
}

TEST_CASE("the MMFRAME CD player gets menu commands before Windows 2000 and application commands after")
{
    Drives drives;
    drives.Insert('L', "audio-cda");
    StagedPlayer cd("mmframe", "cdplayer.exe", 0, false);
    cd.Start("MMFRAME_MAIN");
    CHECK(RunAsMode("win98", SelfPath(), "--child cdplayerkeys", 60000) == 0);
    CHECK(WaitForLogLine(cd.log, "COMMAND wparam=0x69", 5000));
    std::vector<std::string> lines = cd.Lines();
    CHECK_MESSAGE(Count(lines, "COMMAND wparam=0x68 lparam=0x0") == 2, Joined(lines));   // play, play/pause
    CHECK(Has(lines, "COMMAND wparam=0x6e lparam=0x0"));
    CHECK(Has(lines, "COMMAND wparam=0x6d lparam=0x0"));
    CHECK(!Has(lines, "APPCOMMAND"));

    CHECK(RunAsMode("win2k", SelfPath(), "--child cdplayerkeys", 60000) == 0);
    CHECK(WaitForLogLine(cd.log, "APPCOMMAND cmd=13", 5000));
    lines = cd.Lines();
    CHECK(Has(lines, "APPCOMMAND cmd=11"));
    CHECK(Has(lines, "APPCOMMAND cmd=12"));
    CHECK(Has(lines, "APPCOMMAND cmd=14"));   // play/pause always toggles here
}

// Application commands the player has logged so far.
int AppCommandsIn(const std::string& log)
{
    return Count(ReadLogLines(log), "APPCOMMAND");
}

QV_CHILD(mediaplayermeplay)
{
    std::string log = argv[0];
    CD_Play();
    int afterPlay = AppCommandsIn(log);
    CD_PlayPause();   // the player was started by Play: this press is swallowed
    int afterFirst = AppCommandsIn(log);
    CD_PlayPause();
    int afterSecond = AppCommandsIn(log);
    return (afterFirst - afterPlay) * 10 + (afterSecond - afterFirst);
}

TEST_CASE("on Windows Me a player started by Play leaves the next play/pause unsent")
{
    Drives drives;
    drives.Insert('L', "audio-cda");
    StagedPlayer wmp("wmp", "wmplayer.exe", 0);
    CHECK(RunAsMode("winme", SelfPath(), "--child mediaplayermeplay \"" + wmp.log + "\"", 60000) == 1);
    HWND wnd = FindWindowA("WMPlayerApp", NULL);
    REQUIRE(wnd != NULL);
    wmp.Adopt(wnd);
    CHECK(WaitForLogLine(wmp.log, "START role=wmp args=/device:AudioCD", 5000));
}
