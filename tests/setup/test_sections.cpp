// List sections of the chosen script: key names in file order within their 1024 bytes,
// and value fields whose macros name this machine's directories and the script's Strings.
#include <doctest/doctest.h>

#include "setup.h"
#include "setuptest.h"
#include "wintest.h"

#include <string.h>

#include <string>
#include <vector>

using namespace qvtest;
using namespace setuptest;

namespace {

std::vector<std::string> Keys(const char* section, DWORD size = 1024)
{
    std::vector<char> buffer(size + 8, '#');
    std::vector<std::string> keys;
    ScriptSectionKeys(section, buffer.data(), size);
    for (const char* key = buffer.data(); *key; key += strlen(key) + 1)
        keys.push_back(key);
    CHECK(buffer[size] == '#');
    return keys;
}

std::string Field(const char* section, const char* key, int number)
{
    char value[QV_TEXT_SIZE];
    ScriptReadValue(section, key, value, sizeof(value));
    ScriptMacros macros;
    ScriptMacrosInit(&macros);
    char field[QV_TEXT_SIZE];
    if (!ScriptField(value, number, field, sizeof(field), &macros))
        return "(absent)";
    return field;
}

std::string WindowsDir()
{
    char dir[MAX_PATH];
    GetWindowsDirectoryA(dir, sizeof(dir));
    return dir;
}

} // namespace

TEST_CASE("key names come in file order, and a cut list keeps whole names only")
{
    std::string dir = MakeSetupDir("keys");
    std::string script = "[Setup]\n[Copy Files]\nzeta=1\nalpha=2\nMid=3\n[Big]\n";
    std::vector<std::string> names;
    for (int i = 0; i < 60; ++i) {
        std::string name = "Key" + std::to_string(100 + i) + std::string(20, 'k');
        names.push_back(name);
        script += name + "=v\n";
    }
    WriteScript(dir + "\\SETUP2K.INI", script);
    REQUIRE(StartIn(dir));

    CHECK(Keys("Copy Files") == std::vector<std::string>{ "zeta", "alpha", "Mid" });
    CHECK(Keys("No Such Section").empty());

    std::vector<std::string> keys = Keys("Big");
    // 26 characters and a terminator each: 37 whole names fit, the 38th is cut.
    CHECK(keys.size() == 37);
    for (size_t i = 0; i < keys.size(); ++i)
        CHECK(keys[i] == names[i]);
    CHECK(Keys("Big", 2).empty());
    RemoveTree(dir);
}

TEST_CASE("a whole key list, however long, and none without a script")
{
    std::string dir = MakeSetupDir("keylist");
    // About 75,000 bytes: more than the first try's 32,768 and its double.
    std::string script = "[Setup]\n[Long]\n";
    for (int i = 0; i < 300; ++i)
        script += "Key" + std::to_string(1000 + i) + std::string(240, 'k') + "=v\n";
    script += "[Empty]\n";
    WriteScript(dir + "\\SETUP2K.INI", script);
    REQUIRE(StartIn(dir));
    char* list = ScriptSectionKeyList("Long");
    REQUIRE(list);
    int count = 0;
    const char* last = list;
    for (const char* key = list; *key; key += strlen(key) + 1, ++count) {
        last = key;
        CHECK(strlen(key) == 247);
    }
    CHECK(count == 300);
    CHECK(std::string(last) == "Key1299" + std::string(240, 'k'));
    ScriptFreeKeyList(list);
    list = ScriptSectionKeyList("Empty");
    REQUIRE(list);
    CHECK(list[0] == '\0');
    ScriptFreeKeyList(list);
    g_setup.scriptPath[0] = '\0';
    CHECK(ScriptSectionKeyList("Long") == NULL);
    RemoveTree(dir);
}

TEST_CASE("fields expand directory macros and Strings of the script")
{
    std::string dir = MakeSetupDir("fields");
    WriteScript(dir + "\\SETUP2K.INI",
                "[Setup]\n[Strings]\nVendor=Qelvano Inc\nLoop=%Loop%\n"
                "[Copy Files]\n"
                "a.dll=%11%\\sub, b.dll\n"
                "b.dll=%1%,%10%,%12%,%17%,%18%,%99%\n"
                "c.dll=%Vendor%\\Keys,%Loop%,%Nothing%\n"
                "d.dll=x\"y,z\"w,\"%11%\"\n");
    REQUIRE(StartIn(dir));
    std::string windows = WindowsDir();
    CHECK(Field("Copy Files", "a.dll", 1) == std::string(g_setup.systemDir) + "\\sub");
    CHECK(Field("Copy Files", "a.dll", 2) == "b.dll");
    CHECK(Field("Copy Files", "a.dll", 3) == "(absent)");
    CHECK(Field("Copy Files", "b.dll", 1) == dir);
    CHECK(Field("Copy Files", "b.dll", 2) == windows);
    CHECK(Field("Copy Files", "b.dll", 3) == windows + "\\System32\\Drivers");
    CHECK(Field("Copy Files", "b.dll", 4) == windows + "\\Inf");
    CHECK(Field("Copy Files", "b.dll", 5) == windows + "\\Help");
    CHECK(Field("Copy Files", "b.dll", 6) == std::string(g_setup.systemDir));  // the installation directory
    CHECK(Field("Copy Files", "c.dll", 1) == "Qelvano Inc\\Keys");
    CHECK(Field("Copy Files", "c.dll", 2) == "%Loop%");
    CHECK(Field("Copy Files", "c.dll", 3) == "");
    CHECK(Field("Copy Files", "d.dll", 1) == "xy,zw");
    CHECK(Field("Copy Files", "d.dll", 2) == "%11%");
    RemoveTree(dir);
}
