// QVUninst.exe against records the installer's own writers made: what goes, what stays
// (another product's shared items, foreign files, everything unlisted), the refused records,
// files in use deleted at restart (also through a real Wine restart, restart-world), the
// daemon asked to end first, and the wininit.ini form of the 95 family.
#include <doctest/doctest.h>

#include "procs.h"
#include "setup.h"
#include "setuptest.h"
#include "wintest.h"

#include <stdio.h>

#include <set>
#include <string>

using namespace qvtest;
using setuptest::PendingMoves;
using setuptest::Text;

namespace {

const std::string kUninstall = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
const std::string kSharedFile = "Software\\Qelvano\\Uninstall\\SharedFile\\";
const std::string kSharedReg = "Software\\Qelvano\\Uninstall\\SharedReg\\";
const char kTestKey[] = "Software\\QvUninstTest";

std::string Uninstaller()
{
    return DirOf(DirOf(SelfPath())) + "\\bin\\QVUninst.exe";
}

DWORD Uninstall(const std::string& args, const char* mode = "winxp")
{
    return RunAsMode(mode, Uninstaller(), args, 60000);
}

// The installer's state for one product, so its own writers make the record.
void Product(const char* key, const char* displayName)
{
    SetupInitState(NULL);
    TextCopy(g_setup.uninstallKey, sizeof(g_setup.uninstallKey), key);
    TextCopy(g_setup.productName, sizeof(g_setup.productName), "Tavimon");
    TextCopy(g_setup.uninstallDisplayName, sizeof(g_setup.uninstallDisplayName), displayName);
}

bool Exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A listing as one text, one entry a line, for the failure messages.
std::string Lines(const std::set<std::string>& lines)
{
    std::string out;
    for (const std::string& s : lines)
        out += s + "\n";
    return out;
}

// Every file and directory under `dir`, relative to it.
std::set<std::string> Tree(const std::string& dir)
{
    std::set<std::string> out;
    WalkTree(dir, [&](const std::string& path, const WIN32_FIND_DATAA&) {
        out.insert(path.substr(dir.size() + 1));
        return true;
    });
    return out;
}

// Every key, value and its data under root\path, as lines.
void ListKeys(HKEY root, const std::string& path, std::set<std::string>* out)
{
    HKEY key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return;
    out->insert(path);
    for (DWORD i = 0;; ++i) {
        char name[1024];
        BYTE data[1024];
        DWORD nameLength = sizeof(name), dataLength = sizeof(data), type;
        if (RegEnumValueA(key, i, name, &nameLength, NULL, &type, data, &dataLength) != ERROR_SUCCESS)
            break;
        std::string text((char*)data, dataLength);
        if (type == REG_SZ && !text.empty() && text.back() == '\0')
            text.pop_back();
        out->insert(path + " : " + name + " = " + text);
    }
    for (DWORD i = 0;; ++i) {
        char name[1024];
        DWORD nameLength = sizeof(name);
        if (RegEnumKeyExA(key, i, name, &nameLength, NULL, NULL, NULL, NULL) != ERROR_SUCCESS)
            break;
        ListKeys(root, path + "\\" + name, out);
    }
    RegCloseKey(key);
}

// What an uninstallation may touch, and the places it must not.
std::set<std::string> Registry()
{
    std::set<std::string> out;
    ListKeys(HKEY_LOCAL_MACHINE, "Software\\Qelvano", &out);
    ListKeys(HKEY_LOCAL_MACHINE, kTestKey, &out);
    std::set<std::string> user;
    ListKeys(HKEY_CURRENT_USER, kTestKey, &user);
    for (const std::string& line : user)
        out.insert("HKCU\\" + line);
    std::set<std::string> uninstall;
    ListKeys(HKEY_LOCAL_MACHINE, kUninstall.substr(0, kUninstall.size() - 1), &uninstall);
    for (const std::string& line : uninstall)
        out.insert(line);
    return out;
}

std::set<std::string> Minus(const std::set<std::string>& a, const std::set<std::string>& b)
{
    std::set<std::string> out;
    for (const std::string& s : a) {
        if (!b.count(s))
            out.insert(s);
    }
    return out;
}

// Lines of a listing that start with `prefix`.
std::set<std::string> Under(const std::set<std::string>& lines, const std::string& prefix)
{
    std::set<std::string> out;
    for (const std::string& s : lines) {
        if (s.compare(0, prefix.size(), prefix) == 0)
            out.insert(s);
    }
    return out;
}

void CleanRegistry(std::initializer_list<const char*> keys)
{
    for (const char* key : keys) {
        DeleteTree(HKEY_LOCAL_MACHINE, (kUninstall + key).c_str());
        DeleteTree(HKEY_LOCAL_MACHINE, (kSharedReg + key).c_str());
    }
    DeleteTree(HKEY_LOCAL_MACHINE, kSharedFile.substr(0, kSharedFile.size() - 1).c_str());
    DeleteTree(HKEY_LOCAL_MACHINE, kTestKey);
    DeleteTree(HKEY_CURRENT_USER, kTestKey);
}

std::string Sub(const char* tail)
{
    return std::string(kTestKey) + "\\" + tail;
}

} // namespace

TEST_CASE("an installation's record: its files, emptied directories and registry items go, shared and foreign ones stay")
{
    CleanRegistry({ "QvUnMain", "QvUnOther" });
    std::string root = MakeTempDir("uninst");
    for (const char* dir : { "\\App", "\\App\\sub", "\\App\\sub\\deep", "\\Keep", "\\Common", "\\Outside" })
        REQUIRE(CreateDirectoryA((root + dir).c_str(), NULL));
    for (const char* file : { "\\App\\a.txt", "\\App\\b.dll", "\\App\\sub\\deep\\c.txt", "\\Keep\\own.txt",
                              "\\Keep\\foreign.txt", "\\Common\\qvshared.dll", "\\Outside\\other.txt" })
        REQUIRE(WriteFileText(root + file, file));
    SetFileAttributesA((root + "\\App\\b.dll").c_str(), FILE_ATTRIBUTE_READONLY);

    REQUIRE(WriteString(HKEY_LOCAL_MACHINE, kTestKey, "Ours", "1"));
    REQUIRE(WriteString(HKEY_LOCAL_MACHINE, kTestKey, "NotListed", "2"));
    REQUIRE(WriteString(HKEY_LOCAL_MACHINE, Sub("Own").c_str(), "", "default"));
    REQUIRE(WriteString(HKEY_LOCAL_MACHINE, Sub("Own\\Child").c_str(), "Inner", "x"));
    REQUIRE(WriteString(HKEY_LOCAL_MACHINE, Sub("Held").c_str(), "Foreign", "y"));
    REQUIRE(WriteString(HKEY_CURRENT_USER, kTestKey, "UserOurs", "3"));
    REQUIRE(WriteString(HKEY_CURRENT_USER, kTestKey, "Shared", "4"));
    REQUIRE(WriteString(HKEY_CURRENT_USER, Sub("Gone").c_str(), "", "z"));

    // The product, recorded the way the installer records it: parents before children.
    Product("QvUnMain", "Tavimon Keyboard");
    CHECK(SetupRecordDirectory((root + "\\App").c_str(), "0"));
    CHECK(SetupRecordDirectory((root + "\\App\\sub").c_str(), "1"));
    CHECK(SetupRecordDirectory((root + "\\App\\sub\\deep").c_str(), "1"));
    CHECK(SetupRecordDirectory((root + "\\Keep").c_str(), "1"));
    CHECK(SetupRecordDirectory((root + "\\Common").c_str(), "0"));
    for (const char* file : { "\\App\\a.txt", "\\App\\b.dll", "\\App\\sub\\deep\\c.txt", "\\Keep\\own.txt",
                              "\\Common\\qvshared.dll", "\\App\\never-copied.txt" })
        CHECK(SetupRecordFile((root + file).c_str()));
    CHECK(SetupRecordRegItem(HKEY_LOCAL_MACHINE, kTestKey, "Ours"));
    CHECK(SetupRecordRegItem(HKEY_LOCAL_MACHINE, Sub("Own").c_str(), ""));
    CHECK(SetupRecordRegItem(HKEY_LOCAL_MACHINE, Sub("Own\\Child").c_str(), "Inner"));
    CHECK(SetupRecordRegItem(HKEY_LOCAL_MACHINE, Sub("Own\\Child").c_str(), ""));
    CHECK(SetupRecordRegItem(HKEY_LOCAL_MACHINE, Sub("Held").c_str(), ""));
    CHECK(SetupRecordRegItem(HKEY_CURRENT_USER, kTestKey, "UserOurs"));
    CHECK(SetupRecordRegItem(HKEY_CURRENT_USER, kTestKey, "Shared"));
    CHECK(SetupRecordRegItem(HKEY_CURRENT_USER, Sub("Gone").c_str(), ""));
    CHECK(SetupRecordRegItem(HKEY_CURRENT_USER, Sub("Missing").c_str(), "Never"));
    // A second product shares one file and one value.
    Product("QvUnOther", "Other Product");
    CHECK(SetupRecordFile((root + "\\Common\\qvshared.dll").c_str()));
    CHECK(SetupRecordRegItem(HKEY_CURRENT_USER, kTestKey, "Shared"));

    std::set<std::string> treeBefore = Tree(root), regBefore = Registry();
    REQUIRE(Text(HKEY_LOCAL_MACHINE, kUninstall + "QvUnMain", "UninstallString") == "QVUninst.exe QvUnMain");
    {
        PendingMoves moves;
        std::string pendingBefore = PendingMoves::Now();
        CHECK(Uninstall("/S QvUnMain") == 0);
        CHECK(PendingMoves::Now() == pendingBefore);
    }

    // Files: the listed ones are gone; the directories that emptied went deepest first.
    std::set<std::string> treeAfter = Tree(root);
    CHECK(treeAfter == std::set<std::string>{ "Common", "Common\\qvshared.dll", "Keep", "Keep\\foreign.txt", "Outside",
                                              "Outside\\other.txt" });
    CHECK(ReadTextFile(root + "\\Keep\\foreign.txt") == "\\Keep\\foreign.txt");

    // Registry: exactly the listed items and the record went; the rest is as it was.
    std::set<std::string> regAfter = Registry();
    std::set<std::string> gone = Minus(regBefore, regAfter);
    CHECK(Minus(regAfter, regBefore).empty());
    std::set<std::string> expectGone = {
        std::string(kTestKey) + " : Ours = 1",
        Sub("Own"),
        Sub("Own") + " :  = default",
        Sub("Own\\Child"),
        Sub("Own\\Child") + " : Inner = x",
        "HKCU\\" + std::string(kTestKey) + " : UserOurs = 3",
        "HKCU\\" + Sub("Gone"),
        "HKCU\\" + Sub("Gone") + " :  = z",
    };
    std::set<std::string> recordGone = Under(gone, kUninstall + "QvUnMain");
    std::set<std::string> sharedRegGone = Under(gone, kSharedReg + "QvUnMain");
    std::set<std::string> sharedFileGone = Under(gone, kSharedFile);
    CHECK(Lines(Minus(Minus(Minus(Minus(gone, expectGone), recordGone), sharedRegGone), sharedFileGone)) == "");
    CHECK(Lines(Minus(expectGone, gone)) == "");
    // The whole record and the line of the installed-programs list.
    CHECK_FALSE(KeyExists(HKEY_LOCAL_MACHINE, (kUninstall + "QvUnMain").c_str()));
    CHECK_FALSE(KeyExists(HKEY_LOCAL_MACHINE, (kSharedReg + "QvUnMain").c_str()));
    // The shared file keeps the other product's value only; files only we listed lose their key.
    CHECK(Text(HKEY_LOCAL_MACHINE, kSharedFile + "qvshared.dll", "QvUnOther") == root + "\\Common");
    CHECK(Text(HKEY_LOCAL_MACHINE, kSharedFile + "qvshared.dll", "QvUnMain") == "(absent)");
    CHECK_FALSE(KeyExists(HKEY_LOCAL_MACHINE, (kSharedFile + "a.txt").c_str()));
    CHECK(Text(HKEY_CURRENT_USER, kTestKey, "Shared") == "4");
    CHECK(Text(HKEY_LOCAL_MACHINE, Sub("Held"), "Foreign") == "y");
    CHECK(KeyExists(HKEY_LOCAL_MACHINE, (kUninstall + "QvUnOther").c_str()));
    CHECK(KeyExists(HKEY_LOCAL_MACHINE, (kSharedReg + "QvUnOther\\HKEY_CURRENT_USER").c_str()));

    // The other product's own run then takes what it shared.
    CHECK(Uninstall("/S QvUnOther") == 0);
    // Common was this product's directory, not the other's: it stays, empty.
    CHECK(Lines(Tree(root)) == "Common\nKeep\nKeep\\foreign.txt\nOutside\nOutside\\other.txt\n");
    CHECK(Text(HKEY_CURRENT_USER, kTestKey, "Shared") == "(absent)");
    CHECK_FALSE(KeyExists(HKEY_LOCAL_MACHINE, (kSharedFile + "qvshared.dll").c_str()));
    CHECK_FALSE(KeyExists(HKEY_LOCAL_MACHINE, (kUninstall + "QvUnOther").c_str()));
    RemoveTree(root);
    CleanRegistry({ "QvUnMain", "QvUnOther" });
}

TEST_CASE("entries that are not safe or not well formed are left alone, and the run says so")
{
    CleanRegistry({ "QvUnBad" });
    std::string root = MakeTempDir("unbad");
    std::string cwd = root + "\\cwd";
    for (const std::string& dir : { cwd, cwd + "\\qvreldir", cwd + "\\qvdir", root + "\\Dots", root + "\\Dots\\empty" })
        REQUIRE(CreateDirectoryA(dir.c_str(), NULL));
    for (const std::string& file : { cwd + "\\qvrel.txt", cwd + "\\qvdir\\x.txt", root + "\\Dots\\victim.txt" })
        REQUIRE(WriteFileText(file, "keep"));
    REQUIRE(WriteString(HKEY_CURRENT_USER, kTestKey, "Val", "keep"));
    REQUIRE(WriteString(HKEY_CURRENT_USER, Sub("Unknown").c_str(), "", ""));

    char windows[MAX_PATH], system[MAX_PATH];
    GetWindowsDirectoryA(windows, sizeof(windows));
    GetSystemDirectoryA(system, sizeof(system));
    std::string files = kUninstall + "QvUnBad\\DeleteFiles", dirs = kUninstall + "QvUnBad\\DeleteDirectory";
    // Written directly: another product's record, without DisplayName or UninstallString.
    for (const std::string& dir : { std::string("C:\\"), std::string(windows), std::string(system) + "\\",
                                    std::string("C:\\Program Files"), std::string("qvreldir"),
                                    root + "\\Dots\\gone\\..\\empty", std::string("\\\\server\\share") })
        REQUIRE(WriteString(HKEY_LOCAL_MACHINE, dirs.c_str(), dir.c_str(), "1"));
    REQUIRE(WriteString(HKEY_LOCAL_MACHINE, files.c_str(), "qvrel.txt", ""));
    REQUIRE(WriteString(HKEY_LOCAL_MACHINE, files.c_str(), "x.txt", "qvdir"));
    REQUIRE(WriteString(HKEY_LOCAL_MACHINE, files.c_str(), "..\\victim.txt", (root + "\\Dots\\empty").c_str()));
    REQUIRE(WriteString(HKEY_LOCAL_MACHINE, files.c_str(), std::string(300, 'n').c_str(), root.c_str()));
    REQUIRE(WriteDword(HKEY_LOCAL_MACHINE, files.c_str(), "victim.txt", 1));
    std::string regs = kUninstall + "QvUnBad\\DeleteRegs\\";
    REQUIRE(WriteString(HKEY_LOCAL_MACHINE, (regs + "HKEY_CURRENT_USERS").c_str(), Sub("Unknown").c_str(), ""));
    REQUIRE(WriteString(HKEY_LOCAL_MACHINE, (regs + "HKEY_CURRENT_USER").c_str(), (Sub("") + "\\\\Val").c_str(), "Other"));
    REQUIRE(WriteString(HKEY_LOCAL_MACHINE, (regs + "HKEY_CURRENT_USER").c_str(), "", ""));

    std::set<std::string> treeBefore = Tree(root), regBefore = Registry();
    char saved[MAX_PATH];
    GetCurrentDirectoryA(sizeof(saved), saved);
    REQUIRE(SetCurrentDirectoryA(cwd.c_str()));
    DWORD code = Uninstall("/S QvUnBad");
    SetCurrentDirectoryA(saved);
    CHECK(code == 2);

    CHECK(Lines(Tree(root)) == Lines(treeBefore));
    std::set<std::string> regAfter = Registry();
    CHECK(Lines(Minus(regAfter, regBefore)) == "");
    // Only the record went: its refused entries are nothing the uninstaller will ever act on.
    CHECK(Lines(Minus(Minus(regBefore, regAfter), Under(regBefore, kUninstall + "QvUnBad"))) == "");
    CHECK_FALSE(KeyExists(HKEY_LOCAL_MACHINE, (kUninstall + "QvUnBad").c_str()));
    CHECK(Exists(windows));
    RemoveTree(root);
    CleanRegistry({ "QvUnBad" });
}

TEST_CASE("a missing, malformed or unknown key removes nothing and ends with its own code")
{
    CleanRegistry({ "QvUnOuter" });
    std::string root = MakeTempDir("unkey");
    std::string victim = root + "\\victim.txt";
    REQUIRE(WriteFileText(victim, "keep"));
    // A record one level down, which only a key with a backslash would reach.
    REQUIRE(WriteString(HKEY_LOCAL_MACHINE, (kUninstall + "QvUnOuter\\QvUnInner\\DeleteFiles").c_str(), "victim.txt",
                        root.c_str()));
    std::set<std::string> regBefore = Registry();
    CHECK(Uninstall("/S") == 16);
    CHECK(Uninstall("/S ..") == 16);
    CHECK(Uninstall("/S QvUnOuter\\QvUnInner") == 16);
    CHECK(Uninstall("/S ..\\Uninstall\\QvUnOuter") == 16);
    CHECK(Uninstall("/S " + std::string(300, 'k')) == 16);
    CHECK(Uninstall("/S QvUnNoSuchRecord") == 17);
    CHECK(ReadTextFile(victim) == "keep");
    CHECK(Lines(Registry()) == Lines(regBefore));
    RemoveTree(root);
    CleanRegistry({ "QvUnOuter" });
}

namespace {

std::string WininitPath()
{
    char dir[MAX_PATH];
    GetWindowsDirectoryA(dir, sizeof(dir));
    return std::string(dir) + "\\wininit.ini";
}

// A delete at restart as the delayed-move list keeps it: the path, then an empty target.
std::string DeleteEntry(const std::string& path)
{
    return std::string("\\??\\") + path + '\0' + '\0';
}

// root\Busy with held.dll and free.txt, recorded under `key`; held.dll is opened without
// delete sharing, as a running program holds its files.
HANDLE MakeBusyRecord(const char* key, const std::string& root)
{
    std::string busy = root + "\\Busy";
    CreateDirectoryA(busy.c_str(), NULL);
    WriteFileText(busy + "\\held.dll", "held");
    WriteFileText(busy + "\\free.txt", "free");
    Product(key, "Busy Product");
    SetupRecordDirectory(busy.c_str(), "0");
    SetupRecordFile((busy + "\\held.dll").c_str());
    SetupRecordFile((busy + "\\free.txt").c_str());
    return CreateFileA((busy + "\\held.dll").c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
}

PROCESS_INFORMATION StartChild(const std::string& args)
{
    PROCESS_INFORMATION pi = {};
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    std::string line = "\"" + SelfPath() + "\" --child " + args;
    if (!CreateProcessA(NULL, &line[0], NULL, NULL, FALSE, 0, NULL, NULL, &si, &pi))
        pi.hProcess = NULL;
    return pi;
}

bool g_stubborn;
std::string g_closedMarker;

LRESULT CALLBACK StandInProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CLOSE) {
        WriteFileText(g_closedMarker, "closed");
        if (g_stubborn)
            return 0;
    }
    if (message == WM_DESTROY)
        PostQuitMessage(7);
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

// The daemon's stand-in: its window class, holding argv[0] open as the daemon holds its
// files; argv[1] "stubborn" ignores WM_CLOSE. Ends with 7 once its window is destroyed.
QV_CHILD(daemon)
{
    if (argc < 3)
        return 1;
    g_stubborn = strcmp(argv[1], "stubborn") == 0;
    g_closedMarker = argv[2];
    HANDLE held = CreateFileA(argv[0], GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = StandInProc;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.lpszClassName = "QV5120DM";
    if (held == INVALID_HANDLE_VALUE || !RegisterClassA(&wc) ||
        !CreateWindowA("QV5120DM", "", WS_OVERLAPPED, 0, 0, 10, 10, NULL, NULL, wc.hInstance, NULL))
        return 2;
    MSG msg;
    DWORD start = GetTickCount();
    while (GetTickCount() - start < 30000) {
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                CloseHandle(held);
                return (int)msg.wParam;
            }
            DispatchMessageA(&msg);
        }
        MsgWaitForMultipleObjects(0, NULL, FALSE, 100, QS_ALLINPUT);
    }
    CloseHandle(held);
    return 3;
}

TEST_CASE("a file in use is deleted at restart, and its directory after it")
{
    CleanRegistry({ "QvUnBusy" });
    PendingMoves moves;
    DeleteFileA(WininitPath().c_str());
    std::string root = MakeTempDir("unbusy");
    HANDLE held = MakeBusyRecord("QvUnBusy", root);
    REQUIRE(held != INVALID_HANDLE_VALUE);
    std::string before = PendingMoves::Now();
    CHECK(Uninstall("/S QvUnBusy") == 1);
    CloseHandle(held);

    CHECK(Exists(root + "\\Busy\\held.dll"));
    CHECK_FALSE(Exists(root + "\\Busy\\free.txt"));
    std::string after = PendingMoves::Now();
    size_t file = after.find(DeleteEntry(root + "\\Busy\\held.dll"));
    size_t dir = after.find(DeleteEntry(root + "\\Busy"));
    CHECK(after.compare(0, before.size(), before) == 0);
    CHECK(file != std::string::npos);
    CHECK(dir != std::string::npos);
    CHECK(file < dir);
    CHECK_FALSE(Exists(WininitPath()));
    // Scheduled is done: the record and its line in the programs list are gone.
    CHECK_FALSE(KeyExists(HKEY_LOCAL_MACHINE, (kUninstall + "QvUnBusy").c_str()));
    RemoveTree(root);
    CleanRegistry({ "QvUnBusy" });
}

TEST_CASE("the product folder directly under Program Files goes whole; one flagged so elsewhere only once empty")
{
    CleanRegistry({ "QvUnFolder" });
    PendingMoves moves;
    DeleteFileA(WininitPath().c_str());
    // What the driver step stages there: a copy of the medium, none of it recorded file by file.
    const std::string product = "C:\\Program Files\\QvUnFolder", deeper = "C:\\Program Files\\QvUnDeeper";
    const std::string elsewhere = MakeTempDir("unfolder");
    for (const std::string& dir : { product, product + "\\DRIVER", product + "\\DRIVER\\deep", product + "\\empty",
                                    deeper, deeper + "\\inner" })
        REQUIRE(CreateDirectoryA(dir.c_str(), NULL));
    for (const std::string& file : { product + "\\setup.exe", product + "\\held.dll", product + "\\DRIVER\\deep\\x.inf",
                                     deeper + "\\inner\\keep.txt", elsewhere + "\\keep.txt" })
        REQUIRE(WriteFileText(file, "x"));
    SetFileAttributesA((product + "\\DRIVER\\deep\\x.inf").c_str(), FILE_ATTRIBUTE_READONLY);
    Product("QvUnFolder", "Folder Product");
    CHECK(SetupRecordDirectory(product.c_str(), "1"));
    CHECK(SetupRecordDirectory((deeper + "\\inner").c_str(), "1"));
    CHECK(SetupRecordDirectory(elsewhere.c_str(), "1"));
    HANDLE held = CreateFileA((product + "\\held.dll").c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    REQUIRE(held != INVALID_HANDLE_VALUE);

    CHECK(Uninstall("/S QvUnFolder") == 1);
    CloseHandle(held);

    // All of the product folder but the file in use; that one, then the folder, at restart.
    CHECK(Lines(Tree(product)) == "held.dll\n");
    std::string after = PendingMoves::Now();
    size_t file = after.find(DeleteEntry(product + "\\held.dll"));
    size_t dir = after.find(DeleteEntry(product));
    CHECK(file != std::string::npos);
    CHECK(dir != std::string::npos);
    CHECK(file < dir);
    // Deeper than a product folder, or outside Program Files: what the record does not list stays.
    CHECK(Lines(Tree(deeper)) == "inner\ninner\\keep.txt\n");
    CHECK(Lines(Tree(elsewhere)) == "keep.txt\n");
    CHECK_FALSE(KeyExists(HKEY_LOCAL_MACHINE, (kUninstall + "QvUnFolder").c_str()));
    RemoveTree(product);
    RemoveTree(deeper);
    RemoveTree(elsewhere);
    CleanRegistry({ "QvUnFolder" });
}

TEST_CASE("on the 95 family a file in use gets a NUL line in wininit.ini instead")
{
    PendingMoves moves;
    for (const char* mode : { "win95", "win98" }) {
        CAPTURE(mode);
        CleanRegistry({ "QvUnBusy95" });
        std::string root = MakeTempDir("unbusy95");
        std::string kept = std::string(mode) == "win95" ? "" : "[Rename]\r\nNUL=C:\\OLD.TMP\r\n[Other]\r\nk=v\r\n";
        if (kept.empty())
            DeleteFileA(WininitPath().c_str());
        else
            REQUIRE(WriteFileText(WininitPath(), kept));
        HANDLE held = MakeBusyRecord("QvUnBusy95", root);
        REQUIRE(held != INVALID_HANDLE_VALUE);
        std::string before = PendingMoves::Now();
        CHECK(Uninstall("/S QvUnBusy95", mode) == 1);
        CloseHandle(held);

        std::string line = "NUL=" + root + "\\Busy\\held.dll\r\n";
        CHECK(ReadTextFile(WininitPath()) == (kept.empty() ? "[Rename]\r\n" + line
                                                            : "[Rename]\r\n" + line + kept.substr(10)));
        CHECK(PendingMoves::Now() == before);
        CHECK_FALSE(Exists(root + "\\Busy\\free.txt"));
        CHECK_FALSE(KeyExists(HKEY_LOCAL_MACHINE, (kUninstall + "QvUnBusy95").c_str()));
        DeleteFileA(WininitPath().c_str());
        RemoveTree(root);
    }
    CleanRegistry({ "QvUnBusy95" });
}

TEST_CASE("a running daemon is asked to end before its files are removed")
{
    PendingMoves moves;
    CleanRegistry({ "QvUnDaemon" });
    std::string root = MakeTempDir("undaemon");
    std::string exe = root + "\\QV5120DM.exe", marker = root + "\\closed.txt";

    SUBCASE("one that ends: its file goes at once")
    {
        REQUIRE(WriteFileText(exe, "daemon"));
        Product("QvUnDaemon", "Daemon Product");
        REQUIRE(SetupRecordFile(exe.c_str()));
        PROCESS_INFORMATION child = StartChild("daemon " + exe + " polite " + marker);
        REQUIRE(child.hProcess != NULL);
        REQUIRE(WaitForWindow("QV5120DM", NULL, 10000) != NULL);
        std::string before = PendingMoves::Now();
        CHECK(Uninstall("/S QvUnDaemon") == 0);
        DWORD code = 0;
        CHECK(WaitForSingleObject(child.hProcess, 0) == WAIT_OBJECT_0);
        GetExitCodeProcess(child.hProcess, &code);
        CHECK(code == 7);
        CHECK_FALSE(Exists(exe));
        CHECK(PendingMoves::Now() == before);
        CloseHandle(child.hThread);
        CloseHandle(child.hProcess);
    }
    SUBCASE("one that does not end: the wait is bounded and its file goes at restart")
    {
        REQUIRE(WriteFileText(exe, "daemon"));
        Product("QvUnDaemon", "Daemon Product");
        REQUIRE(SetupRecordFile(exe.c_str()));
        PROCESS_INFORMATION child = StartChild("daemon " + exe + " stubborn " + marker);
        REQUIRE(child.hProcess != NULL);
        REQUIRE(WaitForWindow("QV5120DM", NULL, 10000) != NULL);
        DWORD start = GetTickCount();
        CHECK(Uninstall("/S QvUnDaemon") == 1);
        DWORD took = GetTickCount() - start;
        CHECK(took >= 7500);
        CHECK(took < 20000);
        CHECK(ReadTextFile(marker) == "closed");
        CHECK(WaitForSingleObject(child.hProcess, 0) == WAIT_TIMEOUT);
        TerminateProcess(child.hProcess, 0);
        WaitForSingleObject(child.hProcess, 5000);
        CloseHandle(child.hThread);
        CloseHandle(child.hProcess);
        CHECK(PendingMoves::Now().find(DeleteEntry(exe)) != std::string::npos);
    }
    RemoveTree(root);
    CleanRegistry({ "QvUnDaemon" });
}

// The restart world (tests/setup/restart-world): records with files in use on both kinds of
// system, then `wineboot -r`, then the check that the restart deleted them.
namespace {

const char kRebootDir[] = "C:\\qvunrestart";

int Fail(const char* what)
{
    printf("uninstall restart world: %s\n", what);
    return 1;
}

} // namespace

QV_CHILD(reboot_prepare)
{
    CreateDirectoryA(kRebootDir, NULL);
    for (const char* mode : { "winxp", "win95" }) {
        std::string root = std::string(kRebootDir) + "\\" + mode;
        std::string key = std::string("QvUnReboot-") + mode;
        CreateDirectoryA(root.c_str(), NULL);
        HANDLE held = MakeBusyRecord(key.c_str(), root);
        if (held == INVALID_HANDLE_VALUE)
            return Fail("no busy file");
        DWORD code = Uninstall("/S " + key, mode);
        CloseHandle(held);
        if (code != 1)
            return Fail(mode);
    }
    return 0;
}

QV_CHILD(reboot_check)
{
    std::string xp = std::string(kRebootDir) + "\\winxp\\Busy", w95 = std::string(kRebootDir) + "\\win95\\Busy";
    printf("uninstall restart world: winxp held.dll %s, Busy %s; win95 held.dll %s, Busy %s; wininit.ini %s\n",
           Exists(xp + "\\held.dll") ? "left" : "gone", Exists(xp) ? "left" : "gone",
           Exists(w95 + "\\held.dll") ? "left" : "gone", Exists(w95) ? "left" : "gone",
           Exists(WininitPath()) ? "left" : "gone");
    int failed = 0;
    if (Exists(xp + "\\held.dll") || Exists(xp))
        failed |= 1;
    // The 95 family's start-up deletes files only; the emptied directory stays.
    if (Exists(w95 + "\\held.dll") || !Exists(w95) || Exists(WininitPath()))
        failed |= 2;
    return failed;
}

namespace {

PROCESS_INFORMATION StartUninstaller(const std::string& args)
{
    PROCESS_INFORMATION pi = {};
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    std::string line = "\"" + Uninstaller() + "\" " + args;
    if (!CreateProcessA(NULL, &line[0], NULL, NULL, FALSE, 0, NULL, NULL, &si, &pi))
        pi.hProcess = NULL;
    return pi;
}

// The text of the uninstaller's message box, answered with `button`; "(none)" without one.
std::string Answer(int button)
{
    HWND box = WaitForWindow("#32770", "Uninstall", 15000);
    if (!box)
        return "(none)";
    char text[1024] = "";
    GetDlgItemTextA(box, 0xFFFF, text, sizeof(text));
    PostMessageA(box, WM_COMMAND, button, 0);
    // Gone before the next box of the same caption is looked for.
    for (int i = 0; i < 200 && IsWindow(box); ++i)
        Sleep(25);
    return text;
}

DWORD EndOf(PROCESS_INFORMATION pi)
{
    DWORD code = kNoExit;
    if (WaitForSingleObject(pi.hProcess, 30000) == WAIT_OBJECT_0)
        GetExitCodeProcess(pi.hProcess, &code);
    else
        TerminateProcess(pi.hProcess, kNoExit);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return code;
}

} // namespace

TEST_CASE("without /S the user confirms first and is told the result")
{
    CleanRegistry({ "QvUnAsk" });
    std::string root = MakeTempDir("unask");
    std::string file = root + "\\asked.txt";
    REQUIRE(WriteFileText(file, "x"));
    Product("QvUnAsk", "Tavimon Keyboard");
    REQUIRE(SetupRecordFile(file.c_str()));

    // Declined: nothing is removed, and no second message follows.
    PROCESS_INFORMATION run = StartUninstaller("QvUnAsk");
    REQUIRE(run.hProcess != NULL);
    CHECK(Answer(IDNO) == "Do you want to remove Tavimon Keyboard and all of its components from your computer?");
    CHECK(EndOf(run) == 18);
    CHECK(Exists(file));
    CHECK(KeyExists(HKEY_LOCAL_MACHINE, (kUninstall + "QvUnAsk").c_str()));

    run = StartUninstaller("QvUnAsk");
    REQUIRE(run.hProcess != NULL);
    CHECK(Answer(IDYES).find("Tavimon Keyboard") != std::string::npos);
    CHECK(Answer(IDOK) == "Tavimon Keyboard was removed from your computer.");
    CHECK(EndOf(run) == 0);
    CHECK_FALSE(Exists(file));

    // Nothing to confirm without a record or a key: only the result.
    run = StartUninstaller("QvUnAsk");
    REQUIRE(run.hProcess != NULL);
    CHECK(Answer(IDOK) == "No uninstall information was found for QvUnAsk. Nothing was removed.");
    CHECK(EndOf(run) == 17);
    run = StartUninstaller("");
    REQUIRE(run.hProcess != NULL);
    CHECK(Answer(IDOK) == "The uninstallation was started without a valid product name. Nothing was removed.");
    CHECK(EndOf(run) == 16);
    RemoveTree(root);
    CleanRegistry({ "QvUnAsk" });
}

TEST_CASE("the shipped daemon, installed and running, ends when asked and its files all go")
{
    PendingMoves moves;
    CleanRegistry({ "QvUnRealDaemon" });
    std::string bin = DirOf(Uninstaller());
    std::string root = MakeTempDir("unreal");
    std::string app = root + "\\App";
    REQUIRE(CreateDirectoryA(app.c_str(), NULL));
    Product("QvUnRealDaemon", "Tavimon");
    CHECK(SetupRecordDirectory(app.c_str(), "0"));
    for (const char* file : { "QV5120DM.exe", "QVUtil.dll", "QVOSD.dll" }) {
        REQUIRE(CopyFileA((bin + "\\" + file).c_str(), (app + "\\" + file).c_str(), FALSE));
        CHECK(SetupRecordFile((app + "\\" + file).c_str()));
    }
    PROCESS_INFORMATION daemon = {};
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    std::string line = "\"" + app + "\\QV5120DM.exe\"";
    REQUIRE(CreateProcessA(NULL, &line[0], NULL, NULL, FALSE, 0, NULL, app.c_str(), &si, &daemon));
    REQUIRE(WaitForWindow("QV5120DM", NULL, 15000) != NULL);

    std::string before = PendingMoves::Now();
    CHECK(Uninstall("/S QvUnRealDaemon") == 0);
    CHECK(WaitForSingleObject(daemon.hProcess, 0) == WAIT_OBJECT_0);
    CHECK_FALSE(Exists(app));
    CHECK(PendingMoves::Now() == before);
    CHECK(FindWindowA("QV5120DM", NULL) == NULL);
    if (WaitForSingleObject(daemon.hProcess, 0) != WAIT_OBJECT_0)
        TerminateProcess(daemon.hProcess, 1);
    CloseHandle(daemon.hThread);
    CloseHandle(daemon.hProcess);
    RemoveTree(root);
    CleanRegistry({ "QvUnRealDaemon" });
}
