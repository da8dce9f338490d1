// The uninstaller's decisions under the sanitizers: which recorded paths, key names and
// registry items it acts on, the order of directories, and the wininit.ini delete line.
#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#include <doctest/doctest.h>

#include "laterdelete.h"
#include "names.h"
#include "paths.h"

#include <string.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// Shift-JIS lead bytes: 0x95 0x5C is one character whose second byte is a backslash.
int Cp932Lead(unsigned char c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

UninstProtected System(UninstLeadByte isLead = nullptr)
{
    UninstProtected p = {};
    p.dirs[0] = "C:\\WINDOWS";
    p.dirs[1] = "C:\\WINDOWS\\SYSTEM32\\";
    p.dirs[2] = "C:\\Program Files";
    p.dirs[3] = "";
    p.isLead = isLead;
    return p;
}

std::string Dir(const char* path, UninstVerdict expect, UninstLeadByte isLead = nullptr)
{
    UninstProtected p = System(isLead);
    char out[UNINST_PATH_SIZE];
    memset(out, 'x', sizeof(out));
    UninstVerdict v = UninstCheckDir(path, &p, out);
    CHECK(v == expect);
    return out;
}

std::string Join(const char* dir, const char* name, UninstVerdict expect, UninstLeadByte isLead = nullptr)
{
    char out[UNINST_PATH_SIZE];
    UninstVerdict v = UninstJoinFile(dir, name, isLead, out);
    CHECK(v == expect);
    if (v != UNINST_OK)
        CHECK(out[0] == '\0');
    return out;
}

} // namespace

TEST_CASE("a recorded directory is acted on only as an absolute path outside the system's own")
{
    CHECK(Dir("C:\\Program Files\\Tavimon", UNINST_OK) == "C:\\Program Files\\Tavimon");
    CHECK(Dir("d:\\Tools\\QV\\", UNINST_OK) == "d:\\Tools\\QV");
    CHECK(Dir("C:\\windowsold", UNINST_OK) == "C:\\windowsold");

    // Roots, the protected directories in any case, and anything holding them.
    for (const char* root : { "C:\\", "C:", "c:\\" })
        CHECK(Dir(root, UNINST_DRIVE_ROOT).empty());
    for (const char* kept : { "C:\\Windows", "c:\\windows\\", "C:\\Windows\\System32", "C:\\PROGRAM FILES" })
        CHECK(Dir(kept, UNINST_PROTECTED).empty());
    CHECK(Dir("C:\\Windows\\System32\\drivers", UNINST_OK) == "C:\\Windows\\System32\\drivers");

    // A Windows directory deeper down protects the directories that hold it.
    UninstProtected nested = {};
    nested.dirs[4] = "D:\\Apps\\Win";
    char out[UNINST_PATH_SIZE];
    CHECK(UninstCheckDir("d:\\apps", &nested, out) == UNINST_PROTECTED);
    CHECK(UninstCheckDir("D:\\Apps\\Winamp", &nested, out) == UNINST_OK);
    CHECK(UninstCheckDir("D:\\Apps\\Win\\Sub", &nested, out) == UNINST_OK);

    // Relative, escaping or strange paths.
    for (const char* odd : { "", "Tavimon", "\\Tavimon", "C:Tavimon", "\\\\server\\share\\dir", "1:\\dir",
                             "C:\\dir\\..\\..", "C:\\dir\\.", "C:\\a\\\\b", "C:\\a\\\\", "C:\\a/b", "C:\\a?",
                             "C:\\a\\b:c", "C:\\dir.", "C:\\dir \\x", "C:\\a\tb" })
        CHECK_MESSAGE(Dir(odd, UNINST_NOT_ABSOLUTE).empty(), odd);

    std::string longest = "C:\\" + std::string(256, 'd');
    CHECK(Dir(longest.c_str(), UNINST_OK) == longest);
    CHECK(Dir((longest + "d").c_str(), UNINST_TOO_LONG).empty());
}

TEST_CASE("a DBCS character ending in 0x5C is no backslash")
{
    // "C:\<0x95 0x5C>": one step; its last byte is not a trailing backslash to drop.
    const char dbcs[] = "C:\\\x95\x5C";
    CHECK(Dir(dbcs, UNINST_OK, Cp932Lead) == dbcs);
    // Without the lead-byte table the same bytes end in an empty step and are refused.
    CHECK(Dir("C:\\\x95\x5C\\x", UNINST_NOT_ABSOLUTE).empty());
    CHECK(Dir("C:\\\x95\x5C\\x", UNINST_OK, Cp932Lead) == "C:\\\x95\x5C\\x");
    CHECK(UninstPathDepth("C:\\\x95\x5C\\x", Cp932Lead) == 2);
    CHECK(UninstPathDepth("C:\\\x95\x5C\\x", nullptr) == 3);
    // A name may end in such a character; a plain backslash in it is refused.
    CHECK(Join("C:\\QV", "\x95\x5C", UNINST_OK, Cp932Lead) == "C:\\QV\\\x95\x5C");
    Join("C:\\QV", "\x95\x5C", UNINST_NOT_ABSOLUTE);
}

TEST_CASE("a recorded file is its directory and one plain name, at most 259 characters")
{
    CHECK(Join("C:\\Windows\\System32", "x.dll", UNINST_OK) == "C:\\Windows\\System32\\x.dll");
    CHECK(Join("C:", "boot.ini", UNINST_OK) == "C:\\boot.ini");
    CHECK(Join("C:\\", "boot.ini", UNINST_OK) == "C:\\boot.ini");
    CHECK(Join("C:\\QV\\", "a.txt", UNINST_OK) == "C:\\QV\\a.txt");

    Join("", "x.dll", UNINST_NO_DIRECTORY);
    for (const char* name : { "", ".", "..", "sub\\x.dll", "..\\x.dll", "a:b", "a*", "x." })
        Join("C:\\QV", name, UNINST_NOT_ABSOLUTE);
    Join("QV", "x.dll", UNINST_NOT_ABSOLUTE);
    Join("C:\\QV\\..", "x.dll", UNINST_NOT_ABSOLUTE);

    // "C:\QV\" is 6 characters: a name of 253 fills 259, one more does not fit.
    std::string name(253, 'n');
    CHECK(Join("C:\\QV", name.c_str(), UNINST_OK).size() == 259);
    Join("C:\\QV", (name + "n").c_str(), UNINST_TOO_LONG);
    Join(("C:\\" + std::string(300, 'd')).c_str(), "x", UNINST_TOO_LONG);
}

TEST_CASE("directories go deepest first, in record order at equal depth")
{
    std::vector<const char*> dirs = { "C:\\QV", "C:\\QV\\a\\b", "D:\\Other", "C:\\QV\\a", "C:\\QV\\c", "C:\\QV\\a\\b\\c" };
    UninstSortDeepestFirst(dirs.data(), dirs.size(), nullptr);
    std::vector<std::string> order(dirs.begin(), dirs.end());
    CHECK(order == std::vector<std::string>{ "C:\\QV\\a\\b\\c", "C:\\QV\\a\\b", "C:\\QV\\a", "C:\\QV\\c", "C:\\QV",
                                             "D:\\Other" });
    UninstSortDeepestFirst(dirs.data(), 0, nullptr);

    CHECK(UninstPathInside("C:\\QV\\a\\x.txt", "c:\\qv", nullptr));
    CHECK_FALSE(UninstPathInside("C:\\QV2\\x.txt", "C:\\QV", nullptr));
    CHECK_FALSE(UninstPathInside("C:\\QV", "C:\\QV", nullptr));

    // The product folder's place: directly in Program Files, however that is written.
    CHECK(UninstPathChildOf("C:\\Program Files\\Tavimon", "c:\\program files", nullptr));
    CHECK(UninstPathChildOf("C:\\Program Files\\Tavimon", "C:\\Program Files\\", nullptr));
    CHECK(UninstPathChildOf("C:\\Tavimon", "C:\\", nullptr));
    CHECK_FALSE(UninstPathChildOf("C:\\Program Files\\Tavimon\\DRIVER", "C:\\Program Files", nullptr));
    CHECK_FALSE(UninstPathChildOf("C:\\Program Files", "C:\\Program Files", nullptr));
    CHECK_FALSE(UninstPathChildOf("C:\\Program Files2\\Tavimon", "C:\\Program Files", nullptr));
    CHECK_FALSE(UninstPathChildOf("C:\\Program Files\\Tavimon", "Program Files", nullptr));
    CHECK_FALSE(UninstPathChildOf("C:\\P\\A\x95\\B", "C:\\P\\A", Cp932Lead));
    CHECK(UninstPathChildOf("C:\\P\\A\x95\\B", "C:\\P", Cp932Lead));
}

TEST_CASE("the command line gives the key, blanks and all, and the silent flag anywhere")
{
    struct Case {
        const char* line;
        int given, silent;
        const char* key;
    } cases[] = {
        { "Tavimon", 1, 0, "Tavimon" },
        { "/S Tavimon", 1, 1, "Tavimon" },
        { "  -s   Tavimon Keyboard  ", 1, 1, "Tavimon Keyboard" },
        { "Tavimon Keyboard /S", 1, 1, "Tavimon Keyboard" },
        { "\"Tavimon Keyboard\"", 1, 0, "Tavimon Keyboard" },
        { "/Silent", 1, 0, "/Silent" },
        { "/S", 0, 1, "" },
        { "/S /s", 0, 1, "" },
        { "", 0, 0, "" },
        { "   ", 0, 0, "" },
        { "\"\"", 0, 0, "" },
    };
    for (const Case& c : cases) {
        CAPTURE(c.line);
        char key[UNINST_KEY_SIZE];
        int silent = -1;
        CHECK(UninstParseCommand(c.line, &silent, key) == c.given);
        CHECK(silent == c.silent);
        CHECK(std::string(key) == c.key);
    }
    std::string longKey(255, 'k'), tooLong(256, 'k');
    char key[UNINST_KEY_SIZE];
    int silent;
    CHECK(UninstParseCommand(longKey.c_str(), &silent, key) == 1);
    CHECK(UninstParseCommand(("/S " + tooLong).c_str(), &silent, key) == 0);
    CHECK(key[0] == '\0');
}

TEST_CASE("a key name is one plain step of the uninstall list")
{
    for (const char* ok : { "Tavimon", "Tavimon Keyboard 5.1", "{8F0A-11}", "v1.2" })
        CHECK_MESSAGE(UninstKeyNameOk(ok, nullptr), ok);
    for (const char* bad : { "", " ", "..", ".", "...", "a..b", "..\\Other", "Tav\\imon", "Tav/imon", "a\tb", "\x01" })
        CHECK_FALSE_MESSAGE(UninstKeyNameOk(bad, nullptr), bad);
    CHECK(UninstKeyNameOk(std::string(255, 'k').c_str(), nullptr));
    CHECK_FALSE(UninstKeyNameOk(std::string(256, 'k').c_str(), nullptr));
    CHECK(UninstKeyNameOk("\x95\x5C", Cp932Lead));
    CHECK_FALSE(UninstKeyNameOk("\x95\x5C", nullptr));
}

TEST_CASE("registry items: the four roots the installer writes, and the subkey known from the data")
{
    CHECK(UninstRootIndex("HKEY_LOCAL_MACHINE") == UNINST_HKLM);
    CHECK(UninstRootIndex("hkey_current_user") == UNINST_HKCU);
    CHECK(UninstRootIndex("HKEY_CLASSES_ROOT") == UNINST_HKCR);
    CHECK(UninstRootIndex("HKEY_USERS") == UNINST_HKU);
    for (const char* unknown : { "HKEY_CURRENT_CONFIG", "HKLM", "", "HKEY_USERS\\x" })
        CHECK(UninstRootIndex(unknown) == -1);

    char sub[UNINST_PATH_SIZE];
    CHECK(UninstSplitRegItem("Software\\A\\\\B", "B", nullptr, sub));
    CHECK(std::string(sub) == "Software\\A");
    CHECK(UninstSplitRegItem("Software\\A\\\\x\\y", "x\\y", nullptr, sub));
    CHECK(std::string(sub) == "Software\\A");
    CHECK(UninstSplitRegItem("Software\\A", "", nullptr, sub));
    CHECK(std::string(sub) == "Software\\A");
    // Data that is not the name's end, no subkey, empty steps, a whole root.
    for (auto bad : { std::make_pair("Software\\A\\\\B", "C"), std::make_pair("Software\\A\\B", "B"),
                      std::make_pair("\\\\B", "B"), std::make_pair("", ""), std::make_pair("\\Software", ""),
                      std::make_pair("Software\\", ""), std::make_pair("Software\\\\A", ""),
                      std::make_pair("Software\\A\\\\\\B", "B") }) {
        CAPTURE(bad.first);
        CHECK_FALSE(UninstSplitRegItem(bad.first, bad.second, nullptr, sub));
        CHECK(sub[0] == '\0');
    }
    std::string longKey(259, 'k');
    CHECK(UninstSplitRegItem((longKey + "\\\\V").c_str(), "V", nullptr, sub));
    CHECK_FALSE(UninstSplitRegItem((longKey + "k").c_str(), "", nullptr, sub));
}

TEST_CASE("a file to delete at restart is a NUL line first in wininit.ini's [Rename]")
{
    std::string file = "[Rename]\r\nNUL=C:\\OLD\r\n";
    size_t capacity = file.size() + UNINST_WININIT_ROOM;
    std::unique_ptr<char[]> block(new char[capacity]);
    memcpy(block.get(), file.data(), file.size());
    size_t n = UninstWininitDelete(block.get(), file.size(), capacity, "C:\\QV\\QVUTIL.DLL");
    CHECK(std::string(block.get(), n) == "[Rename]\r\nNUL=C:\\QV\\QVUTIL.DLL\r\nNUL=C:\\OLD\r\n");

    // No file yet: the section is made. No room or no path: nothing changes.
    n = UninstWininitDelete(block.get(), 0, capacity, "C:\\A");
    CHECK(std::string(block.get(), n) == "[Rename]\r\nNUL=C:\\A\r\n");
    CHECK(UninstWininitDelete(block.get(), 0, 10, "C:\\A") == 0);
    CHECK(UninstWininitDelete(block.get(), 0, capacity, "") == 0);
    std::string longest(259, 'p');
    CHECK(UninstWininitDelete(block.get(), 0, UNINST_WININIT_ROOM, longest.c_str()) ==
          strlen("[Rename]\r\nNUL=\r\n") + 259);
}
