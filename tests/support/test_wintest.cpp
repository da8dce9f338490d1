// The shared test helpers themselves: later tests rely on a mapped folder really
// being a CD-ROM drive and on modes really reaching the child program.
#include <doctest/doctest.h>

#include "wintest.h"

#include <mmsystem.h>

#include <string>

using namespace qvtest;

// platform * 10000 + major * 100 + minor.
QV_CHILD(version)
{
    OSVERSIONINFOA info;
    ZeroMemory(&info, sizeof(info));
    info.dwOSVersionInfoSize = sizeof(info);
    GetVersionExA(&info);
    return (int)(info.dwPlatformId * 10000 + info.dwMajorVersion * 100 + info.dwMinorVersion);
}

TEST_CASE("test programs are the 32-bit build, run under WoW64, and load the deliverables of build/bin")
{
    CHECK(sizeof(void*) == 4);
    typedef BOOL(WINAPI * IsWow64Fn)(HANDLE, PBOOL);
    IsWow64Fn isWow64 = (IsWow64Fn)GetProcAddress(GetModuleHandleA("kernel32.dll"), "IsWow64Process");
    REQUIRE(isWow64 != NULL);
    BOOL wow64 = FALSE;
    CHECK(isWow64(GetCurrentProcess(), &wow64));
    CHECK(wow64 == TRUE);

    HMODULE util = LoadLibraryA("QVUtil.dll");
    REQUIRE(util != NULL);
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(util, path, sizeof(path));
    REQUIRE(n > 0);
    REQUIRE(n < sizeof(path));
    CAPTURE(path);
    std::string dir = DirOf(path);
    CHECK(lstrcmpiA(dir.substr(dir.size() - 10).c_str(), "\\build\\bin") == 0);
    IMAGE_NT_HEADERS* nt = (IMAGE_NT_HEADERS*)((BYTE*)util + ((IMAGE_DOS_HEADER*)util)->e_lfanew);
    CHECK(nt->FileHeader.Machine == IMAGE_FILE_MACHINE_I386);
    FreeLibrary(util);
}

TEST_CASE("a program run as a mode sees that Windows version")
{
    const int nt = VER_PLATFORM_WIN32_NT * 10000, w9x = VER_PLATFORM_WIN32_WINDOWS * 10000;
    CHECK(RunAsMode("win95", SelfPath(), "--child version", 20000) == w9x + 400);
    CHECK(RunAsMode("win98", SelfPath(), "--child version", 20000) == w9x + 410);
    CHECK(RunAsMode("winme", SelfPath(), "--child version", 20000) == w9x + 490);
    CHECK(RunAsMode("nt40", SelfPath(), "--child version", 20000) == nt + 400);
    CHECK(RunAsMode("win2k", SelfPath(), "--child version", 20000) == nt + 500);
    CHECK(RunAsMode("winxp", SelfPath(), "--child version", 20000) == nt + 501);
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
