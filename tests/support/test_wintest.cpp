// The shared test helpers themselves: later tests rely on a mapped folder really
// being a CD-ROM drive and on modes really reaching the child program.
#include <doctest/doctest.h>

#include "wintest.h"

#include <mmsystem.h>

#include <string>

using namespace qvtest;

QV_CHILD(version)
{
    OSVERSIONINFOA info;
    ZeroMemory(&info, sizeof(info));
    info.dwOSVersionInfoSize = sizeof(info);
    GetVersionExA(&info);
    return (int)(info.dwMajorVersion * 100 + info.dwMinorVersion);
}

TEST_CASE("a program run as a mode sees that Windows version")
{
    CHECK(RunAsMode("win98", SelfPath(), "--child version", 20000) == 410);
    CHECK(RunAsMode("winxp", SelfPath(), "--child version", 20000) == 501);
    CHECK(RunAsMode("win95", SelfPath(), "--child nosuchchild", 20000) == 255);
}

TEST_CASE("a folder mapped as a CD-ROM drive has its type, label and files, and goes away again")
{
    std::string dir = MakeTempDir("cdrom");
    REQUIRE(WriteFileText(dir + "\\.windows-label", "AUDIO_DISC"));
    REQUIRE(WriteFileText(dir + "\\Track01.cda", "x"));
    REQUIRE(MapDrive('q', dir));
    CHECK(GetDriveTypeA("Q:\\") == DRIVE_CDROM);
    char label[64] = "";
    CHECK(GetVolumeInformationA("Q:\\", label, sizeof(label), NULL, NULL, NULL, NULL, 0));
    CHECK(std::string(label) == "AUDIO_DISC");
    CHECK(GetFileAttributesA("Q:\\Track01.cda") != INVALID_FILE_ATTRIBUTES);
    CHECK(UnmapDrive('q'));
    CHECK(GetDriveTypeA("Q:\\") == DRIVE_NO_ROOT_DIR);
    RemoveTree(dir);
    CHECK(GetFileAttributesA(dir.c_str()) == INVALID_FILE_ATTRIBUTES);
}

TEST_CASE("registry helpers write, read back and delete whole trees")
{
    const char* key = "Software\\TavimonTest\\helpers\\deep";
    REQUIRE(WriteDword(HKEY_CURRENT_USER, key, "n", 7));
    DWORD type = 0;
    std::string data;
    REQUIRE(ReadValue(HKEY_CURRENT_USER, key, "n", &type, &data));
    CHECK(type == REG_DWORD);
    CHECK(data.size() == 4);
    DeleteTree(HKEY_CURRENT_USER, "Software\\TavimonTest\\helpers");
    CHECK(!KeyExists(HKEY_CURRENT_USER, key));
}

TEST_CASE("waiting for a window gives up after its time-out")
{
    DWORD start = GetTickCount();
    CHECK(WaitForWindow("QvNoSuchClass", NULL, 300) == NULL);
    CHECK(GetTickCount() - start >= 300);
}

TEST_CASE("the run's null sound device gives winmm a mixer with a speaker volume line")
{
    REQUIRE(mixerGetNumDevs() >= 1);
    HMIXER mixer = NULL;
    REQUIRE(mixerOpen(&mixer, 0, 0, 0, MIXER_OBJECTF_MIXER) == MMSYSERR_NOERROR);
    MIXERLINEA line;
    ZeroMemory(&line, sizeof(line));
    line.cbStruct = sizeof(line);
    line.dwComponentType = MIXERLINE_COMPONENTTYPE_DST_SPEAKERS;
    CHECK(mixerGetLineInfoA((HMIXEROBJ)mixer, &line, MIXER_GETLINEINFOF_COMPONENTTYPE) == MMSYSERR_NOERROR);
    CHECK(line.cChannels == 2);
    mixerClose(mixer);
}
