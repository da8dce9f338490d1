// The installation medium as a user meets it: the folder mapped as a CD-ROM drive,
// "setup.exe /S /NR" run from it in each Windows mode (and again over the running daemon),
// the installed machine checked, then "QVUninst.exe /S Tavimon" and the restart it asks for,
// and the machine compared with the listing taken before. The modes share one world and take
// turns. Also: the medium's licence texts are the ones the installer picks per language.
#include <doctest/doctest.h>

#include "drivers.h"
#include "procs.h"
#include "setup.h"
#include "setuptest.h"
#include "wintest.h"

#include <algorithm>
#include <set>
#include <string>
#include <vector>

using namespace qvtest;
using setuptest::Exists;
using setuptest::PendingMoves;
using setuptest::Slurp;
using setuptest::Text;

namespace {

const char kDrive = 'r';
const char kRoot[] = "R:";
const char kKey[] = "Tavimon";
const std::string kUninstall = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tavimon";
const char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kVersionKey[] = "Software\\Microsoft\\Windows\\CurrentVersion";
const char kStaging[] = "C:\\Program Files\\Tavimon";
const char* const kDeliverables[] = { "QVUtil.dll", "QVOSD.dll", "QV5120DM.exe", "Morvane.exe" };
const char* const kPrograms[] = { "setup.exe", "QV5120DM.exe", "QVUninst.exe" };

// How the keyboard's driver goes in: the maker's library and then an INF copy (95, 98, NT 4),
// the system's driver update (Me), or the library, then the setup API from a staged copy of
// the medium, then the library again (2000, XP).
enum DriverRoute { INF_COPY, DRIVER_UPDATE, OEM_INF };

struct Mode {
    const char* name;
    DriverRoute route;
    bool is9x, nt5;
};

const Mode kModes[] = {
    { "win95", INF_COPY, true, false }, { "win98", INF_COPY, true, false }, { "winme", DRIVER_UPDATE, true, false },
    { "nt40", INF_COPY, false, false }, { "win2k", OEM_INF, false, true },  { "winxp", OEM_INF, false, true },
};

std::string Lower(std::string text)
{
    CharLowerBuffA(&text[0], (DWORD)text.size());
    return text;
}

std::string WindowsDir()
{
    char dir[MAX_PATH];
    GetWindowsDirectoryA(dir, sizeof(dir));
    return dir;
}

std::string SystemDir()
{
    char dir[MAX_PATH];
    GetSystemDirectoryA(dir, sizeof(dir));
    return dir;
}

// A 32-bit program's system folder as a process image path names it: under WoW64 the
// folder its writes were redirected to.
std::string RealSystemDir()
{
    char dir[MAX_PATH];
    UINT n = GetSystemWow64DirectoryA(dir, sizeof(dir));
    return n > 0 && n < sizeof(dir) ? dir : SystemDir();
}

// Files under `dir` as "path size" lines, directories as "path\"; deeper only when asked.
void ListFiles(const std::string& dir, bool recurse, std::set<std::string>* lines)
{
    WalkTree(dir, [&](const std::string& path, const WIN32_FIND_DATAA& found) {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            lines->insert(path + "\\");
            return recurse;
        }
        lines->insert(path + " " + std::to_string(found.nFileSizeLow));
        return false;
    });
}

// A key's subkeys and values as "root\path" and "root\path [name] type data" lines.
void ListKey(HKEY root, const char* rootName, const std::string& path, bool recurse, std::set<std::string>* lines)
{
    HKEY key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return;
    std::string at = std::string(rootName) + "\\" + path;
    lines->insert(at);
    for (DWORD i = 0;; ++i) {
        char name[1024];
        BYTE data[2048];
        DWORD nameSize = sizeof(name), dataSize = sizeof(data), type = 0;
        if (RegEnumValueA(key, i, name, &nameSize, NULL, &type, data, &dataSize) != ERROR_SUCCESS)
            break;
        std::string shown;
        if (type == REG_SZ || type == REG_EXPAND_SZ) {
            shown.assign((const char*)data, dataSize > 0 ? dataSize - 1 : 0);
        } else {
            for (DWORD b = 0; b < dataSize; ++b) {
                char hex[4];
                wsprintfA(hex, "%02x", data[b]);
                shown += hex;
            }
        }
        lines->insert(at + " [" + name + "] " + std::to_string(type) + " " + shown);
    }
    std::vector<std::string> subkeys;
    for (DWORD i = 0; recurse; ++i) {
        char name[1024];
        DWORD nameSize = sizeof(name);
        if (RegEnumKeyExA(key, i, name, &nameSize, NULL, NULL, NULL, NULL) != ERROR_SUCCESS)
            break;
        subkeys.push_back(name);
    }
    RegCloseKey(key);
    for (const std::string& name : subkeys)
        ListKey(root, rootName, path + "\\" + name, true, lines);
}

// What the product may touch: the folders it installs into and the keys it writes.
std::set<std::string> Machine()
{
    std::set<std::string> lines;
    ListFiles(WindowsDir(), false, &lines);
    ListFiles(SystemDir(), false, &lines);
    ListFiles(WindowsDir() + "\\inf", true, &lines);
    ListFiles("C:\\Program Files", false, &lines);
    ListFiles(kStaging, true, &lines);
    ListKey(HKEY_LOCAL_MACHINE, "HKLM", "Software\\Qelvano", true, &lines);
    ListKey(HKEY_CURRENT_USER, "HKCU", "Software\\Qelvano", true, &lines);
    ListKey(HKEY_LOCAL_MACHINE, "HKLM", kUninstall, true, &lines);
    ListKey(HKEY_LOCAL_MACHINE, "HKLM", kRunKey, false, &lines);
    ListKey(HKEY_CURRENT_USER, "HKCU", kRunKey, false, &lines);
    return lines;
}

// Wine's restart, like Windows 95's, keeps the processed wininit.ini as wininit.bak; its
// setup API makes the driver store it files INFs in (Windows of that age has none).
std::set<std::string> WithoutSystemTraces(std::set<std::string> lines)
{
    for (auto line = lines.begin(); line != lines.end();)
        line = Lower(*line).find("\\wininit.bak ") != std::string::npos ||
                       Lower(*line) == Lower(SystemDir() + "\\driverstore\\")
                   ? lines.erase(line)
                   : std::next(line);
    return lines;
}

std::set<std::string> WithoutLibraryLog(std::set<std::string> lines)
{
    for (auto line = lines.begin(); line != lines.end();)
        line = line->find("\\qvsetup.log ") != std::string::npos ? lines.erase(line) : std::next(line);
    return lines;
}

std::string Difference(const std::set<std::string>& before, const std::set<std::string>& after)
{
    std::string text;
    for (const std::string& line : before)
        if (!after.count(line))
            text += "- " + line + "\n";
    for (const std::string& line : after)
        if (!before.count(line))
            text += "+ " + line + "\n";
    return text;
}

// Copies `from`'s tree to `to`.
bool CopyTree(const std::string& from, const std::string& to)
{
    CreateDirectoryA(to.c_str(), NULL);
    bool copied = true;
    bool listed = WalkTree(from, [&](const std::string& path, const WIN32_FIND_DATAA& found) {
        std::string target = to + path.substr(from.size());
        bool folder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        bool ok = folder ? CreateDirectoryA(target.c_str(), NULL) || GetLastError() == ERROR_ALREADY_EXISTS
                         : CopyFileA(path.c_str(), target.c_str(), FALSE);
        copied = ok && copied;
        return folder;
    });
    return listed && copied;
}

std::string Lines(std::initializer_list<std::string> lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return text;
}

std::string WithoutCr(const std::string& text)
{
    std::string out;
    for (char c : text)
        if (c != '\r')
            out += c;
    return out;
}

// Runs `commandLine` from `dir` and waits for it; its exit code, or kNoExit.
DWORD RunIn(const std::string& commandLine, const std::string& dir, DWORD timeoutMs)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    std::string line = commandLine;
    if (!CreateProcessA(NULL, &line[0], NULL, NULL, FALSE, 0, NULL, dir.c_str(), &startup, &info))
        return kNoExit;
    CloseHandle(info.hThread);
    DWORD code = kNoExit;
    if (WaitForSingleObject(info.hProcess, timeoutMs) == WAIT_OBJECT_0)
        GetExitCodeProcess(info.hProcess, &code);
    else
        TerminateProcess(info.hProcess, 1);
    CloseHandle(info.hProcess);
    return code;
}

void EndDaemons()
{
    for (HWND daemon; (daemon = FindWindowA("QV5120DM", NULL)) != NULL;) {
        EndProcess(WindowProcess(daemon));
        for (int i = 0; i < 100 && IsWindow(daemon); ++i)
            Sleep(20);
    }
}

std::string UserName()
{
    char name[256];
    DWORD size = sizeof(name);
    return GetUserNameA(name, &size) ? name : "";
}

// The display settings the daemon saved when it was ended: the user's own, which the
// uninstaller leaves (only what the record lists goes).
bool IsUserSetting(const std::string& line)
{
    const std::string settings = "+ HKCU\\Software\\Qelvano\\5125\\users\\" + UserName() + "\\OSD";
    for (const std::string& key : { std::string("+ HKCU\\Software\\Qelvano"), std::string("+ HKCU\\Software\\Qelvano\\5125"),
                                     std::string("+ HKCU\\Software\\Qelvano\\5125\\users"),
                                     "+ HKCU\\Software\\Qelvano\\5125\\users\\" + UserName(), settings })
        if (line == key)
            return true;
    return line.compare(0, settings.size() + 2, settings + " [") == 0;
}

std::string WithoutUserSettings(const std::string& difference)
{
    std::string kept;
    size_t start = 0;
    while (start < difference.size()) {
        size_t end = difference.find('\n', start);
        std::string line = difference.substr(start, end - start);
        if (!IsUserSetting(line))
            kept += line + "\n";
        start = end + 1;
    }
    return kept;
}

std::string ImageOf(DWORD processId)
{
    typedef BOOL(WINAPI * ImageFunc)(HANDLE, DWORD, LPSTR, PDWORD);
    ImageFunc image = (ImageFunc)GetProcAddress(GetModuleHandleA("kernel32.dll"), "QueryFullProcessImageNameA");
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, processId);
    char path[MAX_PATH] = "";
    DWORD size = sizeof(path);
    if (!image || !process || !image(process, 0, path, &size))
        path[0] = '\0';
    if (process)
        CloseHandle(process);
    return path;
}

bool WaitForService(const char* name, DWORD timeoutMs)
{
    for (DWORD start = GetTickCount(); !IsServiceRunning(name); Sleep(50))
        if (GetTickCount() - start > timeoutMs)
            return false;
    return true;
}

void RemoveFile(const std::string& path)
{
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path.c_str());
}

void DeleteValue(HKEY root, const char* path, const char* name)
{
    HKEY key;
    if (RegOpenKeyExA(root, path, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
        RegDeleteValueA(key, name);
        RegCloseKey(key);
    }
}

// Wine's setup API also files each INF in a driver store and refuses it the next time;
// Windows of that age has no such store.
void ForgetFiledInf()
{
    std::string store = SystemDir() + "\\driverstore\\filerepository";
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((store + "\\qvkb.inf_*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do
        RemoveTree(store + "\\" + found.cFileName);
    while (FindNextFileA(search, &found));
    FindClose(search);
}

// One mode's turn: the medium copied fresh (the maker's library writes its log beside
// itself) and mapped; whatever the turn leaves, pass or fail, is gone before the next.
struct Turn {
    const Mode& mode;
    std::string medium;

    explicit Turn(const Mode& m) : mode(m)
    {
        medium = MakeTempDir((std::string("medium-") + mode.name).c_str());
        for (const char* program : kPrograms)
            SetProgramMode(program, mode.name);
        // Wine's Me mode lacks the value that tells Me from 98.
        if (mode.route == DRIVER_UPDATE)
            WriteString(HKEY_LOCAL_MACHINE, kVersionKey, "VersionNumber", "4.90.3000");
    }
    ~Turn()
    {
        EndDaemons();
        UnmapDrive(kDrive);
        RemoveTree(medium);
        for (const char* file : kDeliverables)
            RemoveFile(SystemDir() + "\\" + file);
        RemoveFile(WindowsDir() + "\\QVUninst.exe");
        RemoveFile(WindowsDir() + "\\TAVIMON.TXT");
        RemoveFile(WindowsDir() + "\\inf\\QVKB.INF");
        RemoveFile(WindowsDir() + "\\inf\\QVKB.PNF");
        RemoveTree(kStaging);
        ForgetFiledInf();
        RemoveFile(WindowsDir() + "\\wininit.bak");
        DeleteTree(HKEY_LOCAL_MACHINE, kUninstall.c_str());
        DeleteTree(HKEY_LOCAL_MACHINE, "Software\\Qelvano");
        DeleteTree(HKEY_CURRENT_USER, "Software\\Qelvano");
        DeleteValue(HKEY_LOCAL_MACHINE, kRunKey, "QV5120DM");
        DeleteValue(HKEY_LOCAL_MACHINE, kVersionKey, "VersionNumber");
        for (const char* program : kPrograms)
            DeleteTree(HKEY_CURRENT_USER, (std::string("Software\\Wine\\AppDefaults\\") + program).c_str());
    }
    std::string LibraryLog() const
    {
        return Exists(medium + "\\qvsetup.log") ? WithoutCr(Slurp(medium + "\\qvsetup.log")) : "";
    }
};

std::string BinDir()
{
    return DirOf(SelfPath()) + "\\..\\bin";
}

std::string MediumDir()
{
    return DirOf(SelfPath()) + "\\medium";
}

} // namespace

TEST_CASE("the medium installs in every Windows mode, and the uninstaller leaves the machine as it was")
{
    REQUIRE(Exists(MediumDir() + "\\setup.exe"));
    // The keyboard-driver stand-ins stand for the maker's installed drivers; the installer
    // starts hkport with "net start hkport" on 2000 and XP.
    REQUIRE(EnsureDriverStandIns());
    const std::string inf = Slurp(MediumDir() + "\\DRIVER\\QVKB.INF");

    for (const Mode& mode : kModes) {
        std::string modeName = mode.name;
        CAPTURE(modeName);
        REQUIRE(StopDriverService("hkport"));
        Turn turn(mode);
        REQUIRE(CopyTree(MediumDir(), turn.medium));
        WriteFileText(turn.medium + "\\.windows-label", "TAVIMON");
        REQUIRE(MapDrive(kDrive, turn.medium));
        REQUIRE(GetDriveTypeA("R:\\") == DRIVE_CDROM);
        const std::set<std::string> before = Machine();

        DWORD start = GetTickCount();
        CHECK(RunIn(std::string(kRoot) + "\\setup.exe /S /NR", std::string(kRoot) + "\\", 90000) == 0);
        MESSAGE(modeName << ": setup took " << GetTickCount() - start << " ms");

        // The files where the script puts them, the deliverables as built.
        for (const char* file : kDeliverables) {
            CAPTURE(file);
            CHECK(Slurp(SystemDir() + "\\" + file) == Slurp(BinDir() + "\\" + file));
        }
        CHECK(Slurp(WindowsDir() + "\\QVUninst.exe") == Slurp(BinDir() + "\\QVUninst.exe"));
        CHECK(Slurp(WindowsDir() + "\\TAVIMON.TXT") == Slurp(turn.medium + "\\DOCS\\KEYS.TXT"));
        CHECK(Text(HKEY_LOCAL_MACHINE, kRunKey, "QV5120DM") == SystemDir() + "\\QV5120DM.exe");

        // The uninstall record.
        CHECK(Text(HKEY_LOCAL_MACHINE, kUninstall, "DisplayName") == "Tavimon Keyboard Software");
        CHECK(Text(HKEY_LOCAL_MACHINE, kUninstall, "UninstallString") == "QVUninst.exe Tavimon");
        for (const char* file : kDeliverables)
            CHECK(Text(HKEY_LOCAL_MACHINE, kUninstall + "\\DeleteFiles", file) == SystemDir());
        CHECK(Text(HKEY_LOCAL_MACHINE, kUninstall + "\\DeleteFiles", "QVUninst.exe") == WindowsDir());
        CHECK(Text(HKEY_LOCAL_MACHINE, kUninstall + "\\DeleteFiles", "TAVIMON.TXT") == WindowsDir());
        CHECK(Text(HKEY_LOCAL_MACHINE, kUninstall + "\\DeleteRegs\\HKEY_LOCAL_MACHINE",
                   (std::string(kRunKey) + "\\\\QV5120DM").c_str()) == "QV5120DM");

        // The driver, by the system's route.
        const std::string library = "|USB|QVKBD|Tavimon|1|1 -> 0";
        const std::string mediumInf = std::string(kRoot) + "\\DRIVER\\QVKB.INF";
        const std::string systemInf = WindowsDir() + "\\inf\\QVKB.INF";
        if (mode.route == INF_COPY) {
            CHECK(turn.LibraryLog() == Lines({ "InstallPnPDeviceDriver|Keyboard|" + mediumInf + library,
                                               "GetConnectedDeviceNumber|Keyboard|USB|QVKBD -> 0" }));
            CHECK(Slurp(systemInf) == inf);
            CHECK(Text(HKEY_LOCAL_MACHINE, kUninstall + "\\DeleteFiles", "QVKB.INF") == WindowsDir() + "\\inf");
            CHECK_FALSE(Exists(kStaging));
        } else if (mode.route == DRIVER_UPDATE) {
            // Wine's driver update takes any device, so neither the library nor a fallback is asked.
            CHECK(turn.LibraryLog() == "");
            CHECK_FALSE(Exists(systemInf));
            CHECK(Text(HKEY_LOCAL_MACHINE, kUninstall + "\\DeleteFiles", "QVKB.INF") == "(absent)");
            CHECK_FALSE(Exists(kStaging));
        } else {
            CHECK(turn.LibraryLog() == Lines({ "InstallPnPDeviceDriver|Keyboard|" + mediumInf + library,
                                               "GetConnectedDeviceNumber|Keyboard|USB|QVKBD -> 0",
                                               "InstallPnPDeviceDriver|Keyboard|" + systemInf + library,
                                               "GetConnectedDeviceNumber|Keyboard|USB|QVKBD -> 0" }));
            CHECK(Slurp(systemInf) == inf);
            CHECK(Text(HKEY_LOCAL_MACHINE, kUninstall + "\\DeleteFiles", "QVKB.INF") == WindowsDir() + "\\inf");
            // From a CD-ROM the medium is staged on the hard disk first.
            CHECK(Slurp(std::string(kStaging) + "\\DRIVER\\QVKB.INF") == inf);
            CHECK(Slurp(std::string(kStaging) + "\\TAVIMON.CAB") == Slurp(turn.medium + "\\TAVIMON.CAB"));
            CHECK(Text(HKEY_LOCAL_MACHINE, kUninstall + "\\DeleteDirectory", kStaging) == "1");
            CHECK(Text(HKEY_LOCAL_MACHINE, kUninstall + "\\DeleteFiles", "QVKB.pnf") == WindowsDir() + "\\inf");
        }
        // "net start hkport" is started without waiting, on 2000 and XP only.
        if (mode.nt5)
            CHECK(WaitForService("hkport", 20000));
        else
            CHECK_FALSE(IsServiceRunning("hkport"));

        // The daemon, started by the script's last step, from where it was installed.
        // A mode that fails here leaves the others to run; its turn cleans up after it.
        HWND daemon = WaitForWindow("QV5120DM", NULL, 20000);
        CHECK(daemon != NULL);
        if (!daemon)
            continue;
        CHECK(Lower(ImageOf(WindowProcess(daemon))) == Lower(RealSystemDir() + "\\QV5120DM.exe"));

        // Installing again over the running daemon: the script's Kill Programs line ends it,
        // the files stay (same versions, same times), a fresh daemon starts.
        const std::set<std::string> installed = Machine();
        HANDLE first = OpenProcess(SYNCHRONIZE, FALSE, WindowProcess(daemon));
        CHECK(first != NULL);
        if (!first)
            continue;
        ForgetFiledInf();
        CHECK(RunIn(std::string(kRoot) + "\\setup.exe /S /NR", std::string(kRoot) + "\\", 90000) == 0);
        CHECK(WaitForSingleObject(first, 10000) == WAIT_OBJECT_0);
        CloseHandle(first);
        CHECK(WaitForWindow("QV5120DM", NULL, 20000) != NULL);
        // The daemon saved its display settings as it was ended; the staged medium holds the
        // stand-in library's log, which grew.
        CHECK(WithoutUserSettings(Difference(WithoutLibraryLog(installed), WithoutLibraryLog(Machine()))) == "");

        start = GetTickCount();
        DWORD uninstalled = RunIn(WindowsDir() + "\\QVUninst.exe /S " + kKey, WindowsDir(), 60000);
        MESSAGE(modeName << ": uninstall took " << GetTickCount() - start << " ms, exit code " << uninstalled);
        CHECK(FindWindowA("QV5120DM", NULL) == NULL);
        // QVUninst.exe cannot delete itself while it runs: it goes at the restart it asks for.
        CHECK(uninstalled == 1);
        const std::string self = WindowsDir() + "\\QVUninst.exe";
        if (mode.is9x)
            CHECK(Slurp(WindowsDir() + "\\wininit.ini").find("NUL=" + self + "\r\n") != std::string::npos);
        else
            CHECK(PendingMoves::Now().find(self) != std::string::npos);
        CHECK(RunIn("wineboot.exe -r", WindowsDir(), 60000) == 0);
        CHECK_FALSE(Exists(self));

        CHECK(WithoutUserSettings(Difference(WithoutSystemTraces(before), WithoutSystemTraces(Machine()))) == "");
    }
}

TEST_CASE("the installer finds the medium's licence text for every language, and by language for other countries")
{
    // The installer reads the NT family's locale value when it starts; it is put back after.
    const char kIntl[] = "Control Panel\\International";
    DWORD type = 0;
    std::string saved;
    const bool had = ReadValue(HKEY_CURRENT_USER, kIntl, "Locale", &type, &saved);
    const std::string medium = MediumDir();
    const struct {
        const char* locale;
        const char* file;
    } kLicences[] = {
        { "00000404", "LICENTCH.TXT" }, { "00000804", "LICENSCH.TXT" }, { "00000406", "LICENDAN.TXT" },
        { "00000413", "LICENDUT.TXT" }, { "00000409", "LICENENG.TXT" }, { "0000040B", "LICENFIN.TXT" },
        { "0000040C", "LICENFRE.TXT" }, { "00000407", "LICENGER.TXT" }, { "00000410", "LICENITA.TXT" },
        { "00000411", "LICENJP.TXT" },  { "00000414", "LICENNOR.TXT" }, { "00000416", "LICENBRA.TXT" },
        { "0000080A", "LICENSPA.TXT" }, { "0000041D", "LICENSWE.TXT" }, { "00000C0C", "LICENFRE.TXT" },
        { "00000807", "LICENGER.TXT" }, { "00000809", "LICENENG.TXT" }, { "00000C0A", "LICENSPA.TXT" },
    };
    for (const auto& licence : kLicences) {
        CAPTURE(licence.locale);
        REQUIRE(WriteString(HKEY_CURRENT_USER, kIntl, "Locale", licence.locale));
        REQUIRE(setuptest::StartIn(medium));
        CHECK(std::string(g_setup.licencePath) == medium + "\\LICENSE\\" + licence.file);
        const std::string text = Slurp(g_setup.licencePath);
        CHECK(g_setup.licenceLength == text.size());
        // The licence page's edit control breaks lines at CR LF only.
        CHECK(text.find("Tavimon") != std::string::npos);
        CHECK(text.find("\r\n") != std::string::npos);
        CHECK(std::count(text.begin(), text.end(), '\n') == std::count(text.begin(), text.end(), '\r'));
    }
    if (had)
        WriteString(HKEY_CURRENT_USER, kIntl, "Locale", saved.c_str());
    else
        DeleteValue(HKEY_CURRENT_USER, kIntl, "Locale");
}
