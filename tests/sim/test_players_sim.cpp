// The player stand-ins: each role shows the window the media functions look for, when
// asked only after a delay, finds its role from its exe name, and logs every command,
// private message and keystroke it is sent.
#include <doctest/doctest.h>

#include "media.h"
#include "wintest.h"

#include <string>

using namespace qvtest;

namespace {

struct Role {
    const char* role;
    const char* exe;
    const char* className;
    const char* title;   // null where the media functions match the class alone
};

const Role kRoles[] = {
    { "wmp", "wmplayer.exe", "WMPlayerApp", NULL },
    { "mmframe", "cdplayer.exe", "MMFRAME_MAIN", NULL },
    { "sje", "cdplayer.exe", "SJE_CdPlayerClass", NULL },
    { "dvdplayer", "DVDPlayer.exe", "QvSimDVDPlayer", NULL },
    { "mediamatics", "DVDExpress.exe", "QvSimMediamaticsPlayer", "Mediamatics DVD Player" },
    { "windvd", "WinDVD.exe", "QvSimWinDVD", NULL },
    { "powerdvd", "PowerDVD.exe", "Class of CyberLink Universal Player", "CyberLink Universal Player" },
    { "mplayer2", "mplayer2.exe", "Media Player 2", NULL },
};

std::string Hex(const char* prefix, unsigned long value)
{
    char text[64];
    wsprintfA(text, "%s0x%lx", prefix, value);
    return text;
}

} // namespace

TEST_CASE("every player role shows its window class and title, visible and top-level")
{
    std::string dir = MakeTempDir("players");
    std::string log = NewLogFile("players");
    for (const Role& r : kRoles) {
        CAPTURE(r.role);
        std::string exe = StagePlayer(dir, r.exe, r.role, 0, log);
        REQUIRE(!exe.empty());
        Player player = {};
        REQUIRE(StartPlayer(exe, "", &player));
        // A window can be found a moment before it is shown; READY is logged once it is.
        HWND wnd = WaitForWindow(r.className, r.title, 10000);
        CHECK(wnd != NULL);
        CHECK(WaitForLogLine(log, "READY hwnd=", 5000));
        if (wnd) {
            CHECK(IsWindowVisible(wnd));
            CHECK(GetParent(wnd) == NULL);
            DWORD pid = 0;
            GetWindowThreadProcessId(wnd, &pid);
            CHECK(pid == player.pid);
        }
        StopPlayer(&player, false);
        CHECK(FindWindowA(r.className, r.title) == NULL);
        DeleteFileA(log.c_str());
    }
    RemoveTree(dir);
}

TEST_CASE("a delayed player starts at once but shows its window only after the delay")
{
    std::string dir = MakeTempDir("players");
    std::string log = NewLogFile("players");
    std::string exe = StagePlayer(dir, "WinDVD.exe", "windvd", 800, log);
    Player player = {};
    REQUIRE(StartPlayer(exe, "", &player));
    REQUIRE(WaitForLogLine(log, "START role=windvd", 10000));
    CHECK(FindWindowA("QvSimWinDVD", NULL) == NULL);
    CHECK(WaitForWindow("QvSimWinDVD", NULL, 10000) != NULL);
    CHECK(WaitForLogLine(log, "READY", 1000));
    StopPlayer(&player, false);
    RemoveTree(dir);
}

TEST_CASE("commands, private messages and keystrokes a player receives are logged")
{
    std::string dir = MakeTempDir("players");
    std::string log = NewLogFile("players");
    std::string exe = StagePlayer(dir, "PowerDVD.exe", "powerdvd", 0, log);
    Player player = {};
    REQUIRE(StartPlayer(exe, "", &player));
    HWND wnd = WaitForWindow("Class of CyberLink Universal Player", "CyberLink Universal Player", 10000);
    REQUIRE(wnd != NULL);

    SendMessageA(wnd, 0x0319, (WPARAM)wnd, MAKELPARAM(0, 14));   // WM_APPCOMMAND, play/pause
    SendMessageA(wnd, 0x0319, 0, MAKELPARAM(0, 13 | 0x8000));
    SendMessageA(wnd, WM_COMMAND, 0x8004, 0);
    SendMessageA(wnd, 7033, 0, 0);
    PostMessageA(wnd, 0x409, 0, 0);
    CHECK(WaitForLogLine(log, "APPCOMMAND cmd=14 device=0x0 keys=0x0 source=self", 5000));
    CHECK(WaitForLogLine(log, "APPCOMMAND cmd=13 device=0x8000 keys=0x0 source=none", 5000));
    CHECK(WaitForLogLine(log, "COMMAND wparam=0x8004 lparam=0x0", 5000));
    CHECK(WaitForLogLine(log, "MESSAGE 0x1b79 wparam=0x0 lparam=0x0", 5000));
    CHECK(WaitForLogLine(log, "MESSAGE 0x409 wparam=0x0 lparam=0x0", 5000));

    // Keystrokes reach the player as the real input a product makes with keybd_event.
    SetForegroundWindow(wnd);
    keybd_event('P', 0, 0, 0);
    keybd_event('P', 0, KEYEVENTF_KEYUP, 0);
    keybd_event(VK_NEXT, 0, 0, 0);
    keybd_event(VK_NEXT, 0, KEYEVENTF_KEYUP, 0);
    CHECK(WaitForLogLine(log, Hex("KEYDOWN ", 'P'), 5000));
    CHECK(WaitForLogLine(log, Hex("KEYUP ", 'P'), 5000));
    CHECK(WaitForLogLine(log, Hex("KEYDOWN ", VK_NEXT), 5000));
    StopPlayer(&player);
    CHECK(WaitForLogLine(log, "QUIT", 1000));
    RemoveTree(dir);
}

TEST_CASE("a player started by a product finds its role by exe name and logs its arguments")
{
    std::string dir = MakeTempDir("players");
    std::string log = NewLogFile("players");
    std::string exe = dir + "\\wmplayer.exe";
    REQUIRE(CopyFileA((SimDir() + "\\qvplayer.exe").c_str(), exe.c_str(), FALSE));
    SetEnvironmentVariableA("QVSIM_PLAYER_LOG", log.c_str());
    Player player = {};
    REQUIRE(StartPlayer(exe, "/device:AudioCD", &player));
    SetEnvironmentVariableA("QVSIM_PLAYER_LOG", NULL);
    CHECK(WaitForWindow("WMPlayerApp", NULL, 10000) != NULL);
    CHECK(WaitForLogLine(log, "START role=wmp args=/device:AudioCD", 1000));
    StopPlayer(&player, false);
    RemoveTree(dir);
}

TEST_CASE("registered players are found where the media functions look, and Mediamatics publishes its window")
{
    std::string dir = MakeTempDir("players");
    std::string log = NewLogFile("players");
    for (const Role& r : kRoles) {
        CAPTURE(r.role);
        std::string exe = StagePlayer(dir, r.exe, r.role, 0, log);
        REQUIRE(RegisterPlayer(r.role, exe));
    }
    std::string value;
    REQUIRE(ReadValue(HKEY_LOCAL_MACHINE, "Software\\InterVideo\\WinDVD", "PATH", NULL, &value));
    CHECK(GetFileAttributesA((std::string(value.c_str()) + "\\WinDVD.exe").c_str()) != INVALID_FILE_ATTRIBUTES);
    REQUIRE(ReadValue(HKEY_LOCAL_MACHINE, "Software\\CyberLink\\PowerDVD", "InstallDir", NULL, &value));
    CHECK(GetFileAttributesA((std::string(value.c_str()) + "\\PowerDVD.exe").c_str()) != INVALID_FILE_ATTRIBUTES);
    REQUIRE(ReadValue(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\DVDPlayer.exe", "",
                      NULL, &value));
    CHECK(GetFileAttributesA(value.c_str()) != INVALID_FILE_ATTRIBUTES);
    REQUIRE(ReadValue(HKEY_CLASSES_ROOT, "IFO_auto_file\\shell\\open\\command", "", NULL, &value));
    CHECK(std::string(value.c_str()) == "\"" + dir + "\\DVDExpress.exe\" \"%1\"");

    const char* publish = "Software\\Mediamatics\\DVD Express\\Mediamatics DVD Player\\Publish";
    DeleteTree(HKEY_LOCAL_MACHINE, publish);
    Player player = {};
    REQUIRE(StartPlayer(dir + "\\DVDExpress.exe", "", &player));
    REQUIRE(WaitForWindow("QvSimMediamaticsPlayer", "Mediamatics DVD Player", 10000) != NULL);
    CHECK(ReadValue(HKEY_LOCAL_MACHINE, publish, "ClassName", NULL, &value));
    CHECK(std::string(value.c_str()) == "QvSimMediamaticsPlayer");
    StopPlayer(&player, false);

    for (const Role& r : kRoles)
        UnregisterPlayer(r.role);
    CHECK(!ReadValue(HKEY_LOCAL_MACHINE, "Software\\InterVideo\\WinDVD", "PATH", NULL, &value));
    CHECK(!KeyExists(HKEY_LOCAL_MACHINE, "Software\\Mediamatics"));
    RemoveTree(dir);
}
