// The settings store against Wine's registry: both layers, machine-only mode, the
// type rules of each reader, skipped equal writes, key creation, and long paths.
#include <doctest/doctest.h>

#include "QVUtil.h"
#include "wintest.h"

#include <string.h>

#include <string>

using namespace qvtest;

namespace {

// A fresh product key per test, removed from both roots afterwards.
struct Profile {
    std::string base;
    explicit Profile(const char* user = "alice")
    {
        static int counter;
        char name[64];
        wsprintfA(name, "Software\\TavimonTest\\p%lu_%d", GetCurrentProcessId(), ++counter);
        base = name;
        Reg_InitProfile(base.c_str(), user);
    }
    ~Profile()
    {
        DeleteTree(HKEY_CURRENT_USER, base.c_str());
        DeleteTree(HKEY_LOCAL_MACHINE, base.c_str());
    }
    std::string User(const char* section) const { return base + "\\users\\alice\\" + section; }
    std::string Machine(const char* section) const { return base + "\\" + section; }
};

std::string ProfileString(const char* section, const char* name, const char* def, int* found)
{
    char buf[260];
    strcpy(buf, "unchanged");
    *found = Reg_GetProfileString(section, name, buf, sizeof(buf), def);
    return buf;
}

} // namespace

TEST_CASE("profile reads the user's layer first, then the machine's, then the default")
{
    Profile p;
    WriteString(HKEY_CURRENT_USER, p.User("OSD").c_str(), "Font", "User Font");
    WriteString(HKEY_LOCAL_MACHINE, p.Machine("OSD").c_str(), "Font", "Machine Font");
    int found = 0;
    CHECK(ProfileString("OSD", "Font", "Default", &found) == "User Font");
    CHECK(found == 1);
    DeleteTree(HKEY_CURRENT_USER, p.User("OSD").c_str());
    CHECK(ProfileString("OSD", "Font", "Default", &found) == "Machine Font");
    CHECK(found == 1);
    DeleteTree(HKEY_LOCAL_MACHINE, p.Machine("OSD").c_str());
    CHECK(ProfileString("OSD", "Font", "Default", &found) == "Default");
    CHECK(found == 0);
    CHECK(ProfileString("OSD", "Font", NULL, &found) == "unchanged");
    CHECK(found == 0);
}

TEST_CASE("an empty user name reads without the users level; an empty section reads the base key")
{
    Profile p("");
    WriteDword(HKEY_CURRENT_USER, (p.base + "\\OSD").c_str(), "Time", 7);
    WriteDword(HKEY_CURRENT_USER, p.base.c_str(), "Top", 9);
    int v = 0;
    CHECK(Reg_GetProfileNumber("OSD", "Time", &v, -1) == 1);
    CHECK(v == 7);
    CHECK(Reg_GetProfileNumber("", "Top", &v, -1) == 1);
    CHECK(v == 9);
    CHECK(Reg_GetProfileNumber(NULL, "Top", &v, -1) == 1);
    CHECK(v == 9);
}

TEST_CASE("machine-only mode ignores the user's layer and writes under HKEY_LOCAL_MACHINE")
{
    Profile p(NULL);
    WriteDword(HKEY_CURRENT_USER, (p.base + "\\OSD").c_str(), "Time", 1);
    int v = 0;
    CHECK(Reg_GetProfileNumber("OSD", "Time", &v, 42) == 0);
    CHECK(v == 42);
    CHECK(Reg_SetProfileNumber("OSD", "Time", 5) == 1);
    DWORD type = 0;
    std::string data;
    REQUIRE(ReadValue(HKEY_LOCAL_MACHINE, p.Machine("OSD").c_str(), "Time", &type, &data));
    CHECK(type == REG_DWORD);
    CHECK(*(const DWORD*)data.data() == 5);
}

TEST_CASE("numbers: accepted stored forms, and a short binary falls through to the next layer")
{
    Profile p;
    std::string key = p.User("N");
    WriteString(HKEY_CURRENT_USER, key.c_str(), "hex", "0x1F");
    WriteString(HKEY_CURRENT_USER, key.c_str(), "mixed", "12abc");
    WriteString(HKEY_CURRENT_USER, key.c_str(), "neg", "-5");
    BYTE four[4] = { 0x78, 0x56, 0x34, 0x12 };
    WriteBinary(HKEY_CURRENT_USER, key.c_str(), "bin4", four, 4);
    WriteBinary(HKEY_CURRENT_USER, key.c_str(), "bin2", four, 2);
    WriteString(HKEY_CURRENT_USER, key.c_str(), "multi", "1\0", REG_MULTI_SZ);
    int v = 0;
    CHECK(Reg_GetProfileNumber("N", "hex", &v, -1) == 1);
    CHECK(v == 31);
    CHECK(Reg_GetProfileNumber("N", "mixed", &v, -1) == 1);
    CHECK(v == 12);
    CHECK(Reg_GetProfileNumber("N", "neg", &v, -1) == 1);
    CHECK(v == 0);
    CHECK(Reg_GetProfileNumber("N", "bin4", &v, -1) == 1);
    CHECK(v == 0x12345678);
    CHECK(Reg_GetProfileNumber("N", "bin2", &v, -1) == 0);
    CHECK(v == -1);
    CHECK(Reg_GetProfileNumber("N", "multi", &v, -2) == 0);
    CHECK(v == -2);
    WriteDword(HKEY_LOCAL_MACHINE, p.Machine("N").c_str(), "bin2", 77);
    CHECK(Reg_GetProfileNumber("N", "bin2", &v, -1) == 1);
    CHECK(v == 77);

    // The explicit reader leaves the out value alone on a type it does not accept.
    v = 1234;
    CHECK(Reg_GetValueNumber(HKEY_CURRENT_USER, key.c_str(), "bin2", &v) == 0);
    CHECK(v == 1234);
}

TEST_CASE("booleans: TRUE and FALSE in any case, other text as a number, binary zero-filled")
{
    Profile p;
    std::string key = p.User("B");
    WriteString(HKEY_CURRENT_USER, key.c_str(), "t", "true");
    WriteString(HKEY_CURRENT_USER, key.c_str(), "f", "False");
    WriteString(HKEY_CURRENT_USER, key.c_str(), "one", "1");
    WriteString(HKEY_CURRENT_USER, key.c_str(), "yes", "yes");
    BYTE two[2] = { 3, 1 };
    WriteBinary(HKEY_CURRENT_USER, key.c_str(), "short", two, 2);
    int v = -1;
    CHECK(Reg_GetProfileBool("B", "t", &v, 9) == 1);
    CHECK(v == 1);
    CHECK(Reg_GetProfileBool("B", "f", &v, 9) == 1);
    CHECK(v == 0);
    CHECK(Reg_GetProfileBool("B", "one", &v, 9) == 1);
    CHECK(v == 1);
    CHECK(Reg_GetProfileBool("B", "yes", &v, 9) == 1);
    CHECK(v == 0);
    CHECK(Reg_GetProfileBool("B", "short", &v, 9) == 1);
    CHECK(v == 0x0103);
    CHECK(Reg_GetProfileBool("B", "absent", &v, 9) == 0);
    CHECK(v == 9);
    CHECK(Reg_GetProfileBool("B", "absent", NULL, 9) == 0);
}

TEST_CASE("a profile boolean is stored as the caller's DWORD, an explicit one as 4 binary bytes")
{
    Profile p;
    CHECK(Reg_SetProfileBool("OSD", "Enabled", 5) == 1);
    DWORD type = 0;
    std::string data;
    REQUIRE(ReadValue(HKEY_CURRENT_USER, p.User("OSD").c_str(), "Enabled", &type, &data));
    CHECK(type == REG_DWORD);
    int v = 0;
    CHECK(Reg_GetProfileBool("OSD", "Enabled", &v, 0) == 1);
    CHECK(v == 5);

    CHECK(Reg_SetValueBool(HKEY_CURRENT_USER, p.User("OSD").c_str(), "Flag", -2) == 1);
    REQUIRE(ReadValue(HKEY_CURRENT_USER, p.User("OSD").c_str(), "Flag", &type, &data));
    CHECK(type == REG_BINARY);
    CHECK(data == std::string("\xFE\xFF\xFF\xFF", 4));
}

TEST_CASE("a write equal to the machine default is skipped and creates nothing for the user")
{
    Profile p;
    WriteString(HKEY_LOCAL_MACHINE, p.Machine("OSD").c_str(), "Font", "Arial");
    CHECK(Reg_SetProfileString("OSD", "Font", "Arial") == 0);
    CHECK(!KeyExists(HKEY_CURRENT_USER, p.base.c_str()));
    // Case matters when comparing text.
    CHECK(Reg_SetProfileString("OSD", "Font", "arial") == 1);
    int found = 0;
    CHECK(ProfileString("OSD", "Font", NULL, &found) == "arial");
    CHECK(Reg_SetProfileString("OSD", "Font", "arial") == 0);
}

TEST_CASE("a new value creates the whole key path level by level below the user")
{
    Profile p;
    REQUIRE(!KeyExists(HKEY_CURRENT_USER, p.base.c_str()));
    CHECK(Reg_SetProfileNumber("OSD\\Deep\\Deeper", "Time", 3000) == 1);
    DWORD type = 0;
    std::string data;
    REQUIRE(ReadValue(HKEY_CURRENT_USER, p.User("OSD\\Deep\\Deeper").c_str(), "Time", &type, &data));
    CHECK(type == REG_DWORD);
    CHECK(*(const DWORD*)data.data() == 3000);
    CHECK(Reg_SetProfileNumber("OSD\\Deep\\Deeper", "Time", 3000) == 0);
    CHECK(!KeyExists(HKEY_LOCAL_MACHINE, p.base.c_str()));
}

TEST_CASE("binary profile values: capacity, default copy and equal-write skip")
{
    Profile p;
    BYTE stored[6] = { 1, 2, 3, 4, 5, 6 };
    WriteBinary(HKEY_LOCAL_MACHINE, p.Machine("Bin").c_str(), "Data", stored, 6);
    BYTE out[16];
    DWORD size = sizeof(out);
    CHECK(Reg_GetProfileBinary("Bin", "Data", out, &size, NULL, 0) == 1);
    CHECK(size == 6);
    CHECK(memcmp(out, stored, 6) == 0);

    // Too small in both layers: the default is copied up to the capacity.
    WriteBinary(HKEY_CURRENT_USER, p.User("Bin").c_str(), "Data", stored, 6);
    BYTE def[5] = { 9, 9, 9, 9, 9 };
    memset(out, 0, sizeof(out));
    size = 3;
    CHECK(Reg_GetProfileBinary("Bin", "Data", out, &size, def, 5) == 0);
    CHECK(size == 3);
    CHECK(out[0] == 9);
    CHECK(out[3] == 0);

    CHECK(Reg_SetProfileBinary("Bin", "Data", stored, 6) == 0);
    CHECK(Reg_SetProfileBinary("Bin", "Data", stored, 5) == 1);
    size = sizeof(out);
    CHECK(Reg_GetProfileBinary("Bin", "Data", out, &size, NULL, 0) == 1);
    CHECK(size == 5);
}

TEST_CASE("explicit readers: expanded text, too-small buffers and the needed size")
{
    Profile p;
    std::string key = p.Machine("X");
    SetEnvironmentVariableA("QVTEST_DIR", "C:\\Tavimon");
    WriteString(HKEY_LOCAL_MACHINE, key.c_str(), "exp", "%QVTEST_DIR%\\bin", REG_EXPAND_SZ);
    WriteString(HKEY_LOCAL_MACHINE, key.c_str(), "long", std::string(100, 'L').c_str());
    char buf[260];
    CHECK(Reg_GetValueString(HKEY_LOCAL_MACHINE, key.c_str(), "exp", buf, sizeof(buf)) == 1);
    CHECK(std::string(buf) == "C:\\Tavimon\\bin");
    CHECK(Reg_GetValueString(HKEY_LOCAL_MACHINE, key.c_str(), "long", buf, 50) == 0);
    CHECK(Reg_GetValueString(HKEY_LOCAL_MACHINE, key.c_str(), "exp", buf, 12) == 0);
    CHECK(Reg_GetValueString(HKEY_LOCAL_MACHINE, (key + "\\none").c_str(), "exp", buf, sizeof(buf)) == 0);

    BYTE bin[8];
    DWORD size = 4;
    CHECK(Reg_GetValueBinary(HKEY_LOCAL_MACHINE, key.c_str(), "long", bin, &size) == 0);
    CHECK(size == 101);
    CHECK(Reg_GetValueBinary(HKEY_LOCAL_MACHINE, key.c_str(), "long", NULL, NULL) == 1);
}

TEST_CASE("an expandable value longer than 259 characters expands whole when the buffer allows")
{
    Profile p;
    std::string key = p.Machine("X");
    std::string longText = std::string(300, 'e') + "%QVTEST_DIR%";
    SetEnvironmentVariableA("QVTEST_DIR", "D");
    WriteString(HKEY_LOCAL_MACHINE, key.c_str(), "exp", longText.c_str(), REG_EXPAND_SZ);
    char buf[400];
    memset(buf, '#', sizeof(buf));
    CHECK(Reg_GetValueString(HKEY_LOCAL_MACHINE, key.c_str(), "exp", buf, sizeof(buf)) == 1);
    CHECK(std::string(buf) == std::string(300, 'e') + "D");
}

TEST_CASE("stored text without its terminator is terminated or refused, never read past")
{
    Profile p;
    std::string key = p.Machine("X");
    HKEY k;
    REQUIRE(RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, NULL, 0, KEY_ALL_ACCESS, NULL, &k, NULL) == ERROR_SUCCESS);
    RegSetValueExA(k, "raw", 0, REG_SZ, (const BYTE*)"abcd", 4);
    RegCloseKey(k);
    char buf[8];
    memset(buf, '#', sizeof(buf));
    CHECK(Reg_GetValueString(HKEY_LOCAL_MACHINE, key.c_str(), "raw", buf, sizeof(buf)) == 1);
    CHECK(std::string(buf) == "abcd");
    CHECK(Reg_GetValueString(HKEY_LOCAL_MACHINE, key.c_str(), "raw", buf, 4) == 0);
}

TEST_CASE("explicit writers never create a key")
{
    Profile p;
    std::string key = p.Machine("Missing");
    CHECK(Reg_SetValueString(HKEY_LOCAL_MACHINE, key.c_str(), "v", "x") == 0);
    CHECK(Reg_SetValueNumber(HKEY_LOCAL_MACHINE, key.c_str(), "v", 1) == 0);
    CHECK(Reg_SetValueBool(HKEY_LOCAL_MACHINE, key.c_str(), "v", 1) == 0);
    CHECK(Reg_SetValueBinary(HKEY_LOCAL_MACHINE, key.c_str(), "v", (const BYTE*)"x", 1) == 0);
    CHECK(!KeyExists(HKEY_LOCAL_MACHINE, key.c_str()));
    WriteString(HKEY_LOCAL_MACHINE, key.c_str(), "seed", "");
    CHECK(Reg_SetValueString(HKEY_LOCAL_MACHINE, key.c_str(), "", "default value") == 1);
    char buf[64];
    CHECK(Reg_GetValueString(HKEY_LOCAL_MACHINE, key.c_str(), NULL, buf, sizeof(buf)) == 1);
    CHECK(std::string(buf) == "default value");
}

TEST_CASE("a composed key path over 259 characters is refused, never overrun")
{
    std::string section(240, 's');
    Profile p;
    int v = 0;
    CHECK(Reg_SetProfileNumber(section.c_str(), "Value", 1) == 0);
    CHECK(!KeyExists(HKEY_CURRENT_USER, p.base.c_str()));
    CHECK(Reg_GetProfileNumber(section.c_str(), "Value", &v, 17) == 0);
    CHECK(v == 17);
}

TEST_CASE("base path and user name are cut to 258 characters")
{
    std::string base = "Software\\TavimonTest\\" + std::string(300, 'b');
    Reg_InitProfile(base.c_str(), std::string(300, 'u').c_str());
    std::string cut = base.substr(0, 258);
    // Nothing fits below such a base: every composed path is refused.
    CHECK(Reg_SetProfileNumber("", "Value", 1) == 0);
    Reg_InitProfile(base.c_str(), NULL);
    CHECK(Reg_SetProfileNumber("", "Value", 2) == 1);
    DWORD type = 0;
    std::string data;
    CHECK(ReadValue(HKEY_LOCAL_MACHINE, cut.c_str(), "Value", &type, &data));
    DeleteTree(HKEY_LOCAL_MACHINE, "Software\\TavimonTest");
}
