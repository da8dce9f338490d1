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
void ListTree(const std::string& dir, const std::string& prefix, std::set<std::string>* out)
{
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((dir + "\\*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        std::string name = found.cFileName;
        if (name == "." || name == "..")
            continue;
        out->insert(prefix + name);
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            ListTree(dir + "\\" + name, prefix + name + "\\", out);
    } while (FindNextFileA(find, &found));
    FindClose(find);
}

std::set<std::string> Tree(const std::string& dir)
{
    std::set<std::string> out;
    ListTree(dir, "", &out);
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
