// File, version and shortcut helpers as callers see them: matches on disk, version
// numbers and descriptions of DLLs built with known version resources, the start-menu
// folders, and real .lnk files written and read through the shell's link object.
#include <doctest/doctest.h>

#include "QVUtil.h"
#include "copyrun.h"
#include "wintest.h"

#include <objbase.h>
#include <shlobj.h>
#include <shlwapi.h>
#include <string.h>

#include <string>

using namespace qvtest;

namespace {

std::string VersionDll(const char* name)
{
    return DirOf(SelfPath()) + "\\versions\\" + name + ".dll";
}

struct Link {
    std::string target, arguments, workingDir, description, iconFile;
    int iconIndex = -1;
    WORD hotkey = 0xFFFF;
    bool loaded = false;
};

// Reads a .lnk back through the link object, as another program would.
Link ReadLink(const std::string& path)
{
    Link link;
    CoInitialize(NULL);
    IShellLinkA* shell = NULL;
    IPersistFile* file = NULL;
    WCHAR wide[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkA, (void**)&shell)) &&
        SUCCEEDED(shell->QueryInterface(IID_IPersistFile, (void**)&file)) && SUCCEEDED(file->Load(wide, STGM_READ))) {
        char text[1024];
        WIN32_FIND_DATAA found;
        link.loaded = true;
        text[0] = 0;
        shell->GetPath(text, sizeof(text), &found, SLGP_RAWPATH);
        link.target = text;
        text[0] = 0;
        shell->GetArguments(text, sizeof(text));
        link.arguments = text;
        text[0] = 0;
        shell->GetWorkingDirectory(text, sizeof(text));
        link.workingDir = text;
        text[0] = 0;
        shell->GetDescription(text, sizeof(text));
        link.description = text;
        text[0] = 0;
        shell->GetIconLocation(text, sizeof(text), &link.iconIndex);
        link.iconFile = text;
        shell->GetHotkey(&link.hotkey);
    }
    if (file)
        file->Release();
    if (shell)
        shell->Release();
    CoUninitialize();
    return link;
}

bool SameFile(const std::string& a, const std::string& b)
{
    char longA[MAX_PATH], longB[MAX_PATH];
    if (!GetLongPathNameA(a.c_str(), longA, MAX_PATH))
        lstrcpynA(longA, a.c_str(), MAX_PATH);
    if (!GetLongPathNameA(b.c_str(), longB, MAX_PATH))
        lstrcpynA(longB, b.c_str(), MAX_PATH);
    return lstrcmpiA(longA, longB) == 0;
}

// The help-file class is set aside and put back, so the test controls what it names.
struct HelpClass {
    bool saved;
    HelpClass() : saved(KeyExists(HKEY_CLASSES_ROOT, "hlpfile"))
    {
        if (saved)
            SHCopyKeyA(HKEY_CLASSES_ROOT, "hlpfile", CreateKey("qv-hlpfile-saved"), 0);
        DeleteTree(HKEY_CLASSES_ROOT, "hlpfile");
    }
    ~HelpClass()
    {
        DeleteTree(HKEY_CLASSES_ROOT, "hlpfile");
        if (saved) {
            HKEY key = CreateKey("hlpfile");
            HKEY from;
            if (RegOpenKeyExA(HKEY_CLASSES_ROOT, "qv-hlpfile-saved", 0, KEY_READ, &from) == ERROR_SUCCESS) {
                SHCopyKeyA(from, NULL, key, 0);
                RegCloseKey(from);
            }
            RegCloseKey(key);
            DeleteTree(HKEY_CLASSES_ROOT, "qv-hlpfile-saved");
        }
    }
    static HKEY CreateKey(const char* path)
    {
        HKEY key = NULL;
        RegCreateKeyExA(HKEY_CLASSES_ROOT, path, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL);
        return key;
    }
};

} // namespace

TEST_CASE("FileExisted matches files, folders and patterns")
{
    std::string dir = MakeTempDir("exists");
    CHECK(FileExisted(dir.c_str()) == 1);
    CHECK(FileExisted((dir + "\\*.txt").c_str()) == 0);
    CHECK(FileExisted((dir + "\\readme.txt").c_str()) == 0);
    WriteFileText(dir + "\\readme.txt", "x");
    CHECK(FileExisted((dir + "\\readme.txt").c_str()) == 1);
    CHECK(FileExisted((dir + "\\*.txt").c_str()) == 1);
    CHECK(FileExisted((dir + "\\*.*").c_str()) == 1);
    CHECK(FileExisted(NULL) == 0);
    CHECK(FileExisted("") == 0);
    CHECK(FileExisted((dir + "\\" + std::string(300, 'a')).c_str()) == 0);
    RemoveTree(dir);
}

TEST_CASE("the fixed version record gives the version numbers")
{
    DWORD high = 0xdeadbeef, low = 0xdeadbeef;
    CHECK(GetFileVersionFromNumber(VersionDll("ver_dotted").c_str(), &high, &low) == 1);
    CHECK(high == 5 * 65536 + 0);
    CHECK(low == 2614 * 65536 + 3501);  // the record, not the text (3500)

    high = low = 0xdeadbeef;
    CHECK(GetFileVersionFromNumber(VersionDll("ver_none").c_str(), &high, &low) == 0);
    CHECK(GetFileVersionFromNumber(VersionDll("missing").c_str(), &high, &low) == 0);
    CHECK(GetFileVersionFromNumber(NULL, &high, &low) == 0);
    CHECK(high == 0xdeadbeef);
    CHECK(low == 0xdeadbeef);
}

TEST_CASE("the version text gives the version numbers component by component")
{
    struct Case {
        const char* dll;
        DWORD high, low;
    } cases[] = {
        { "ver_dotted", 5 * 65536 + 0, 2614 * 65536 + 3500 },
        { "ver_commas", 4 * 65536, 1 },
        { "ver_short", 1 * 65536 + 2, 0 },
        { "ver_build", 1 * 65536, 0 },
        { "ver_big", 2 * 65536 + 70000, 3 * 65536 + 4 },  // 70000 runs into the first component
        { "ver_german", 3 * 65536 + 1, 7 },               // translation 0407/04e4
    };
    for (const Case& c : cases) {
        CAPTURE(c.dll);
        DWORD high = 0xdeadbeef, low = 0xdeadbeef;
        CHECK(GetFileVersionFromString(VersionDll(c.dll).c_str(), &high, &low) == 1);
        CHECK(high == c.high);
        CHECK(low == c.low);
    }
}

TEST_CASE("no version text, an empty one or no resource leaves the numbers alone")
{
    for (const char* dll : { "ver_notext", "ver_empty", "ver_none", "missing" }) {
        CAPTURE(dll);
        DWORD high = 0xdeadbeef, low = 0xdeadbeef;
        CHECK(GetFileVersionFromString(VersionDll(dll).c_str(), &high, &low) == 0);
        CHECK(high == 0xdeadbeef);
        CHECK(low == 0xdeadbeef);
    }
}

TEST_CASE("a short (8.3) path reads the same version")
{
    // Wine makes up hashed short names; the name is asked for, never predicted.
    char shortPath[MAX_PATH];
    DWORD n = GetShortPathNameA(VersionDll("ver_dotted").c_str(), shortPath, MAX_PATH);
    REQUIRE(n > 0);
    REQUIRE(n < MAX_PATH);
    DWORD high = 0, low = 0;
    CHECK(GetFileVersionFromString(shortPath, &high, &low) == 1);
    CHECK(low == 2614 * 65536 + 3500);
}

TEST_CASE("the description is copied only when it fits the given maximum")
{
    std::string dll = VersionDll("ver_dotted");
    const char* expected = "Dotted component";
    int length = lstrlenA(expected);
    char buffer[64];

    memset(buffer, '#', sizeof(buffer));
    CHECK(GetFileDescription(dll.c_str(), buffer, length) == 1);
    CHECK(std::string(buffer) == expected);
    CHECK(buffer[length + 1] == '#');

    memset(buffer, '#', sizeof(buffer));
    CHECK(GetFileDescription(dll.c_str(), buffer, length - 1) == 0);
    CHECK(buffer[0] == '#');

    CHECK(GetFileDescription(VersionDll("ver_german").c_str(), buffer, 63) == 1);
    CHECK(std::string(buffer) == "Beschreibung");

    for (const char* none : { "ver_notext", "ver_empty", "ver_none" }) {
        CAPTURE(none);
        memset(buffer, '#', sizeof(buffer));
        CHECK(GetFileDescription(VersionDll(none).c_str(), buffer, 63) == 0);
        CHECK(buffer[0] == '#');
    }
    CHECK(GetFileDescription(dll.c_str(), NULL, 63) == 0);
    CHECK(GetFileDescription(dll.c_str(), buffer, -1) == 0);
}

TEST_CASE("a description longer than 259 characters is given whole to a buffer that holds it")
{
    std::string dll = VersionDll("ver_long");
    char buffer[400];
    memset(buffer, '#', sizeof(buffer));
    CHECK(GetFileDescription(dll.c_str(), buffer, 259) == 0);
    CHECK(buffer[0] == '#');
    CHECK(GetFileDescription(dll.c_str(), buffer, 300) == 1);
    CHECK(std::string(buffer) == std::string(300, 'L'));
    CHECK(buffer[301] == '#');
}

TEST_CASE("start menu and Programs folders are the all-users ones")
{
    char start[MAX_PATH + 8], programs[MAX_PATH + 8];
    memset(start, '#', sizeof(start));
    memset(programs, '#', sizeof(programs));
    GetStartMenuPath(start);
    GetProgramMenuPath(programs);
    CHECK(start[MAX_PATH] == '#');
    CHECK(programs[MAX_PATH] == '#');
    char common[MAX_PATH];
    REQUIRE(SHGetSpecialFolderPathA(NULL, common, CSIDL_COMMON_STARTMENU, FALSE));
    CHECK(SameFile(start, common));
    CHECK(SameFile(programs, std::string(start) + "\\Programs"));
    GetStartMenuPath(NULL);  // no crash
}

TEST_CASE("a shortcut is written with target, arguments and icon only")
{
    std::string dir = MakeTempDir("lnk");
    std::string target = dir + "\\app.exe";
    WriteFileText(target, "MZ");
    std::string lnk = dir + "\\app.lnk";
    CHECK(CreateShortcut(target.c_str(), "/x \"y z\"", 3, lnk.c_str()) == S_OK);
    Link link = ReadLink(lnk);
    REQUIRE(link.loaded);
    CHECK(SameFile(link.target, target));
    CHECK(link.arguments == "/x \"y z\"");
    CHECK(SameFile(link.iconFile, target));
    CHECK(link.iconIndex == 3);
    CHECK(link.workingDir == "");
    CHECK(link.description == "");
    CHECK(link.hotkey == 0);

    char path[MAX_PATH], description[MAX_PATH];
    strcpy(description, "stale");
    CHECK(GetLinkInfo(NULL, lnk.c_str(), path, description) == S_OK);
    CHECK(SameFile(path, target));
    CHECK(std::string(description) == "");

    // No arguments given is no arguments written.
    CHECK(SUCCEEDED(CreateShortcut(target.c_str(), NULL, 0, lnk.c_str())));
    CHECK(ReadLink(lnk).arguments == "");
    RemoveTree(dir);
}

TEST_CASE("a help-file target takes the icon of the help-file class")
{
    std::string dir = MakeTempDir("hlp");
    std::string lnk = dir + "\\manual.lnk";
    HelpClass saved;

    WriteString(HKEY_CLASSES_ROOT, "hlpfile\\DefaultIcon", NULL, "\"C:\\qv icons\\help.dll\",7");
    CHECK(SUCCEEDED(CreateShortcut((dir + "\\Manual.HLP").c_str(), "", 2, lnk.c_str())));
    Link link = ReadLink(lnk);
    CHECK(link.iconFile == "C:\\qv icons\\help.dll");
    CHECK(link.iconIndex == 7);

    // Not a help file: too short to end in ".hlp", or another ending.
    std::string hlp = dir + "\\x.hlpx";
    CHECK(SUCCEEDED(CreateShortcut(hlp.c_str(), "", 2, lnk.c_str())));
    link = ReadLink(lnk);
    CHECK(SameFile(link.iconFile, hlp));
    CHECK(link.iconIndex == 2);

    // Without the class no icon is set at all.
    DeleteTree(HKEY_CLASSES_ROOT, "hlpfile");
    CHECK(SUCCEEDED(CreateShortcut((dir + "\\manual.hlp").c_str(), "", 2, lnk.c_str())));
    link = ReadLink(lnk);
    CHECK(link.iconFile == "");
    RemoveTree(dir);
}

TEST_CASE("a shortcut whose target moved is read without any dialog")
{
    std::string dir = MakeTempDir("moved");
    std::string target = dir + "\\tool.exe";
    std::string moved = dir + "\\tool-moved.exe";
    std::string lnk = dir + "\\tool.lnk";
    WriteFileText(target, "MZ");
    REQUIRE(CreateShortcut(target.c_str(), "", 0, lnk.c_str()) == S_OK);
    REQUIRE(MoveFileA(target.c_str(), moved.c_str()));

    char path[MAX_PATH] = "";
    HRESULT hr = GetLinkInfo(GetDesktopWindow(), lnk.c_str(), path, NULL);
    CHECK(SUCCEEDED(hr));
    // Nothing of this process asks the user anything.
    CHECK(FindOwnWindow("#32770") == NULL);
    if (RunningOnWine()) {
        // Wine's Resolve does not search for a moved target: the recorded path comes back.
        CHECK(SameFile(path, target));
    } else {
        CHECK(SameFile(path, moved));
    }
    RemoveTree(dir);
}

TEST_CASE("shortcut failures are reported, out buffers emptied, nothing written")
{
    std::string dir = MakeTempDir("lnkbad");
    char path[MAX_PATH], description[MAX_PATH];
    strcpy(path, "stale");
    strcpy(description, "stale");
    CHECK(FAILED(GetLinkInfo(NULL, (dir + "\\none.lnk").c_str(), path, description)));
    CHECK(path[0] == '\0');
    CHECK(description[0] == '\0');
    CHECK(FAILED(GetLinkInfo(NULL, NULL, path, description)));
    std::string longPath = dir + "\\" + std::string(300, 'l') + ".lnk";
    CHECK(FAILED(GetLinkInfo(NULL, longPath.c_str(), path, description)));

    CHECK(CreateShortcut(NULL, "", 0, (dir + "\\a.lnk").c_str()) == E_INVALIDARG);
    CHECK(CreateShortcut("C:\\a.exe", "", 0, NULL) == E_INVALIDARG);
    CHECK(FAILED(CreateShortcut("C:\\a.exe", "", 0, longPath.c_str())));
    CHECK(FAILED(CreateShortcut("C:\\a.exe", "", 0, (dir + "\\no such folder\\a.lnk").c_str())));
    CHECK(FileExisted((dir + "\\*.lnk").c_str()) == 0);
    RemoveTree(dir);
}

TEST_CASE("the description is read only along with the target")
{
    std::string dir = MakeTempDir("lnkdesc");
    std::string target = dir + "\\app.exe";
    std::string lnk = dir + "\\app.lnk";
    WriteFileText(target, "MZ");
    REQUIRE(CreateShortcut(target.c_str(), "", 0, lnk.c_str()) == S_OK);
    // Another program gives the link a description.
    CoInitialize(NULL);
    IShellLinkA* shell = NULL;
    IPersistFile* file = NULL;
    WCHAR wide[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, lnk.c_str(), -1, wide, MAX_PATH);
    REQUIRE(SUCCEEDED(CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkA, (void**)&shell)));
    REQUIRE(SUCCEEDED(shell->QueryInterface(IID_IPersistFile, (void**)&file)));
    REQUIRE(SUCCEEDED(file->Load(wide, STGM_READWRITE)));
    shell->SetDescription("Opens the app");
    REQUIRE(SUCCEEDED(file->Save(NULL, TRUE)));
    file->Release();
    shell->Release();
    CoUninitialize();

    char path[MAX_PATH], description[MAX_PATH];
    strcpy(description, "stale");
    CHECK(GetLinkInfo(NULL, lnk.c_str(), NULL, description) == S_OK);
    CHECK(description[0] == '\0');
    CHECK(GetLinkInfo(NULL, lnk.c_str(), path, description) == S_OK);
    CHECK(std::string(description) == "Opens the app");
    RemoveTree(dir);
}

TEST_CASE("a caller already in the multithreaded apartment keeps its COM")
{
    std::string dir = MakeTempDir("lnkmta");
    std::string target = dir + "\\app.exe";
    WriteFileText(target, "MZ");
    // The calls run on a thread of their own that joined the MTA first.
    struct Work {
        std::string target, lnk;
        HRESULT created, read, after;
    } work = { target, dir + "\\app.lnk", E_FAIL, E_FAIL, E_FAIL };
    HANDLE thread = CreateThread(
        NULL, 0,
        [](LPVOID param) WINAPI -> DWORD {
            Work* w = (Work*)param;
            if (FAILED(CoInitializeEx(NULL, COINIT_MULTITHREADED)))
                return 1;
            w->created = CreateShortcut(w->target.c_str(), "", 0, w->lnk.c_str());
            char path[MAX_PATH];
            w->read = GetLinkInfo(NULL, w->lnk.c_str(), path, NULL);
            // Still initialized: joining again only counts up.
            w->after = CoInitializeEx(NULL, COINIT_MULTITHREADED);
            CoUninitialize();
            CoUninitialize();
            return 0;
        },
        &work, 0, NULL);
    REQUIRE(thread);
    WaitForSingleObject(thread, 20000);
    CloseHandle(thread);
    CHECK(work.created == S_OK);
    CHECK(work.read == S_OK);
    CHECK(work.after == S_FALSE);
    RemoveTree(dir);
}
