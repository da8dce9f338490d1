// Start-up under each Windows mode: the system flags, the script each system picks,
// the interface language, and setup.exe itself (unsupported system, "PreRun Programs").
// The only test program that writes "VersionNumber", so its 9x children never race.
#include <doctest/doctest.h>

#include "setup.h"
#include "setuptest.h"
#include "wintest.h"

#include <string>
#include <vector>

using namespace qvtest;
using namespace setuptest;

namespace {

const char kVersionKey[] = "Software\\Microsoft\\Windows\\CurrentVersion";

// Wine's 9x modes have no "VersionNumber"; a real 98 or Me has one.
struct VersionNumber {
    std::string saved;
    bool had;
    VersionNumber() { had = ReadValue(HKEY_LOCAL_MACHINE, kVersionKey, "VersionNumber", NULL, &saved); }
    ~VersionNumber()
    {
        if (had)
            WriteBinary(HKEY_LOCAL_MACHINE, kVersionKey, "VersionNumber", saved.data(), (DWORD)saved.size());
        else
            Remove();
    }
    void Set(const char* text) { WriteString(HKEY_LOCAL_MACHINE, kVersionKey, "VersionNumber", text); }
    void Remove()
    {
        HKEY key;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kVersionKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
            RegDeleteValueA(key, "VersionNumber");
            RegCloseKey(key);
        }
    }
};

const char* const kScripts[] = { "SETUP95.INI", "SETUP98.INI", "SETUPME.INI", "SETUPNT.INI", "SETUP2K.INI", "SETUPXP.INI" };

std::string SetupExe()
{
    char path[MAX_PATH];
    if (!SearchPathA(NULL, "setup.exe", NULL, sizeof(path), path, NULL))
        return "";
    return path;
}

std::string g_modeKey;

// Starts a copy of setup.exe that lies in `dir`, reported to as `mode`.
bool StartSetup(const std::string& dir, const char* mode, const std::string& args, PROCESS_INFORMATION* process)
{
    std::string name = std::string("setup-") + mode + "-" + std::to_string(GetCurrentProcessId()) + ".exe";
    std::string copy = dir + "\\" + name;
    if (!CopyFileA(SetupExe().c_str(), copy.c_str(), FALSE) || !SetProgramMode(name, mode))
        return false;
    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof(startup));
    startup.cb = sizeof(startup);
    std::string line = "\"" + copy + "\" " + args;
    std::vector<char> text(line.begin(), line.end());
    text.push_back('\0');
    g_modeKey = "Software\\Wine\\AppDefaults\\" + name;
    return CreateProcessA(NULL, text.data(), NULL, NULL, FALSE, 0, NULL, NULL, &startup, process) != FALSE;
}

DWORD Finish(PROCESS_INFORMATION* process, DWORD timeoutMs)
{
    DWORD code = kNoExit;
    if (WaitForSingleObject(process->hProcess, timeoutMs) == WAIT_OBJECT_0)
        GetExitCodeProcess(process->hProcess, &code);
    else
        TerminateProcess(process->hProcess, kNoExit);
    CloseHandle(process->hThread);
    CloseHandle(process->hProcess);
    DeleteTree(HKEY_CURRENT_USER, g_modeKey.c_str());
    return code;
}

struct ChildTextSearch {
    const char* text;
    bool found;
};

BOOL CALLBACK MatchChildText(HWND wnd, LPARAM param)
{
    ChildTextSearch* find = (ChildTextSearch*)param;
    if (WindowText(wnd) == find->text)
        find->found = true;
    return !find->found;
}

} // namespace

QV_CHILD(osflags)
{
    SetupInitState(NULL);
    return g_setup.is9x | g_setup.isWin95 << 1 | g_setup.is98plus << 2 | g_setup.isMe << 3 | g_setup.isNT << 4 |
           g_setup.isNT5plus << 5 | g_setup.isXP << 6;
}

TEST_CASE("system flags in each Windows mode, Me told apart by its version text")
{
    VersionNumber version;
    struct {
        const char* mode;
        const char* versionNumber;  // null: value removed
        int bits;                   // 9x, 95, 98+, Me, NT, NT5+, XP
    } cases[] = {
        { "win95", "4.90.3000", 0x01 | 0x02 },  // a 95 is never Me, whatever the registry says
        { "win98", "4.10.2222", 0x01 | 0x04 },
        { "win98", NULL, 0x01 | 0x04 },
        { "winme", "4.90.3000", 0x01 | 0x04 | 0x08 },
        { "winme", "4.9", 0x01 | 0x04 },
        { "winme", "4.90", 0x01 | 0x04 | 0x08 },
        { "nt40", "4.90.3000", 0x10 },
        { "win2k", NULL, 0x10 | 0x20 },
        { "winxp", NULL, 0x10 | 0x20 | 0x40 },
    };
    for (const auto& c : cases) {
        CAPTURE(c.mode);
        CAPTURE(c.versionNumber ? c.versionNumber : "(none)");
        if (c.versionNumber)
            version.Set(c.versionNumber);
        else
            version.Remove();
        CHECK(RunAsMode(c.mode, SelfPath(), "--child osflags", 30000) == (DWORD)c.bits);
    }
}

QV_CHILD(script)
{
    SetupInitState(argv[0]);
    if (!SetupChooseScript())
        return 0;
    std::string path = g_setup.scriptPath;
    for (int i = 0; i < 6; ++i) {
        if (path == std::string(argv[0]) + "\\" + kScripts[i])
            return i + 1;
    }
    return 99;
}

TEST_CASE("the script each system picks, with its fall-backs")
{
    VersionNumber version;
    struct {
        const char* mode;
        std::vector<const char*> files;
        const char* expected;  // null: no script, the unsupported-system message
    } cases[] = {
        { "win95", { "SETUP95.INI", "SETUP98.INI", "SETUPME.INI" }, "SETUP95.INI" },
        { "win95", { "SETUP98.INI" }, NULL },
        { "win98", { "SETUP95.INI", "SETUP98.INI", "SETUPME.INI" }, "SETUP98.INI" },
        { "win98", { "SETUP95.INI" }, "SETUP95.INI" },
        { "win98", { "SETUPNT.INI" }, NULL },
        { "winme", { "SETUP95.INI", "SETUP98.INI", "SETUPME.INI" }, "SETUPME.INI" },
        { "winme", { "SETUP95.INI", "SETUP98.INI" }, "SETUP98.INI" },
        { "winme", { "SETUP95.INI" }, "SETUP95.INI" },
        { "nt40", { "SETUPNT.INI", "SETUP2K.INI", "SETUPXP.INI" }, "SETUPNT.INI" },
        { "nt40", { "SETUP95.INI" }, NULL },
        { "win2k", { "SETUPNT.INI", "SETUP2K.INI" }, "SETUP2K.INI" },
        { "win2k", { "SETUPNT.INI", "SETUPXP.INI" }, "SETUPNT.INI" },
        { "winxp", { "SETUP2K.INI", "SETUPXP.INI", "SETUPNT.INI" }, "SETUP2K.INI" },
        { "winxp", { "SETUPXP.INI", "SETUPNT.INI" }, "SETUPXP.INI" },
        { "winxp", { "SETUPNT.INI" }, NULL },
    };
    for (const auto& c : cases) {
        std::string dir = MakeSetupDir("choose");
        std::string listed;
        for (const char* name : kScripts) {
            bool wanted = false;
            for (const char* file : c.files)
                wanted = wanted || std::string(file) == name;
            // A folder of a script's name is no script.
            if (wanted)
                WriteScript(dir + "\\" + name, "[Setup]\n");
            else
                CreateDirectoryA((dir + "\\" + name).c_str(), NULL);
            if (wanted)
                listed += std::string(name) + " ";
        }
        CAPTURE(c.mode);
        CAPTURE(listed);
        version.Set(std::string(c.mode) == "winme" ? "4.90.3000" : "4.10.2222");
        DWORD expected = 0;
        for (int i = 0; c.expected && i < 6; ++i) {
            if (std::string(c.expected) == kScripts[i])
                expected = i + 1;
        }
        CHECK(RunAsMode(c.mode, SelfPath(), "--child script " + dir, 30000) == expected);
        RemoveTree(dir);
    }
}

QV_CHILD(uilang)
{
    SetupInitState(NULL);
    SetThreadLocale(strtoul(argv[0], NULL, 16));
    SetupChooseUiLanguage();
    return (int)LANGIDFROMLCID(GetThreadLocale());
}

TEST_CASE("on NT the interface language is one of the fourteen, by language, else English")
{
    struct {
        const char* mode;
        const char* locale;
        DWORD expected;
    } cases[] = {
        { "winxp", "0407", 0x0407 }, { "winxp", "0804", 0x0804 }, { "winxp", "0C0C", 0x040C },
        { "winxp", "0C04", 0x0404 }, { "winxp", "0816", 0x0416 }, { "winxp", "0419", 0x0409 },
        { "nt40", "0C0A", 0x080A }, { "win98", "0419", 0x0419 },  // the 95 family keeps its locale
    };
    for (const auto& c : cases) {
        CAPTURE(c.mode);
        CAPTURE(c.locale);
        CHECK(RunAsMode(c.mode, SelfPath(), std::string("--child uilang ") + c.locale, 30000) == c.expected);
    }
}

TEST_CASE("setup.exe on a system without a script shows message 17 and ends with 0")
{
    REQUIRE(SetupExe() != "");
    std::string dir = MakeSetupDir("nosys");
    WriteScript(dir + "\\SETUPNT.INI", "[Setup]\n");  // no fall-back for XP
    PROCESS_INFORMATION process;
    REQUIRE(StartSetup(dir, "winxp", "", &process));
    HWND box = WaitForWindow("#32770", "Setup Warning", 20000);
    REQUIRE(box != NULL);
    ChildTextSearch find = { "Current O.S. is not supported by this software, please refer to the user's manual or "
                      "readme.txt for more information.",
                      false };
    EnumChildWindows(box, MatchChildText, (LPARAM)&find);
    CHECK(find.found);
    CHECK(GetDlgItem(box, IDCANCEL) == NULL);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    CHECK(Finish(&process, 20000) == 0);
    RemoveTree(dir);
}

QV_CHILD(prerun)
{
    // argv: event name, marker file. Blocks until the test lets it finish.
    HANDLE go = OpenEventA(SYNCHRONIZE, FALSE, argv[0]);
    if (!go)
        return 1;
    DWORD wait = WaitForSingleObject(go, 60000);
    CloseHandle(go);
    if (wait != WAIT_OBJECT_0)
        return 2;
    WriteFileText(argv[1], "ran");
    return 0;
}

TEST_CASE("PreRun Programs: the wait flag 1 holds start-up until the program ends")
{
    REQUIRE(SetupExe() != "");
    std::string self = SelfPath();
    std::string selfDir = DirOf(self);
    std::string selfName = self.substr(selfDir.size() + 1);
    for (const char* flag : { "1", "0", "" }) {
        CAPTURE(flag);
        std::string dir = MakeSetupDir("prerun");
        std::string eventName = "qv-prerun-" + std::to_string(GetCurrentProcessId());
        std::string marker = dir + "\\marker.txt";
        HANDLE go = CreateEventA(NULL, TRUE, FALSE, eventName.c_str());
        REQUIRE(go != NULL);
        WriteScript(dir + "\\SETUP2K.INI", "[Setup]\n[Strings]\nChild=--child\n[PreRun Programs]\n"
                                            "missing.exe=" + dir + ",,1\n" +
                                            selfName + "=" + selfDir + ",%Child% prerun " + eventName + " " + marker +
                                            (*flag ? std::string(",") + flag : std::string()) + "\n");
        PROCESS_INFORMATION process;
        // Silent, hidden and without a restart: setup.exe goes on through the wizard.
        REQUIRE(StartSetup(dir, "win2k", "/S /NR /H", &process));
        if (std::string(flag) == "1") {
            // Still held while the program waits for us.
            CHECK(WaitForSingleObject(process.hProcess, 1000) == WAIT_TIMEOUT);
            SetEvent(go);
            CHECK(Finish(&process, 60000) == 0);
            CHECK(GetFileAttributesA(marker.c_str()) != INVALID_FILE_ATTRIBUTES);
        } else {
            CHECK(Finish(&process, 60000) == 0);
            CHECK(GetFileAttributesA(marker.c_str()) == INVALID_FILE_ATTRIBUTES);
            SetEvent(go);
            DWORD start = GetTickCount();
            while (GetFileAttributesA(marker.c_str()) == INVALID_FILE_ATTRIBUTES && GetTickCount() - start < 30000)
                Sleep(20);
            CHECK(GetFileAttributesA(marker.c_str()) != INVALID_FILE_ATTRIBUTES);
        }
        CloseHandle(go);
        RemoveTree(dir);
    }
}

QV_CHILD(setupword)
{
    // argv: thread locale to start from, the word "Setup" expected after the language choice
    SetThreadLocale(strtoul(argv[0], NULL, 16));
    SetupInitState(NULL);
    SetupChooseUiLanguage();
    char word[QV_TEXT_SIZE];
    SetupLoadString(18, word, sizeof(word));
    return std::string(word) == argv[1] ? 0 : 1;
}

TEST_CASE("the strings follow the chosen interface language")
{
    CHECK(RunAsMode("winxp", SelfPath(), "--child setupword 0C0C Installation", 30000) == 0);
    CHECK(RunAsMode("winxp", SelfPath(), "--child setupword 0410 Installazione", 30000) == 0);
    CHECK(RunAsMode("winxp", SelfPath(), "--child setupword 0419 Setup", 30000) == 0);
}
