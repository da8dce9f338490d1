// The installer's platform-free readers under the sanitizers: script value fields with
// their macros, command-line options, the licence table and "Add Registry" lines.
#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#include <doctest/doctest.h>

#include "cmdline.h"
#include "fields.h"
#include "licencetable.h"
#include "regline.h"

#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace {

std::map<std::string, std::string> g_strings;
int g_lookups;

void Lookup(void*, const char* name, char* text, size_t size)
{
    ++g_lookups;
    auto it = g_strings.find(name);
    if (it != g_strings.end())
        snprintf(text, size, "%s", it->second.c_str());
}

ScriptMacros Macros()
{
    ScriptMacros m = { "D:\\setup", "C:\\WINDOWS", "C:\\WINDOWS\\SYSTEM32", "C:\\Program Files\\Q", Lookup, NULL };
    return m;
}

// Every field of a line, as the reader splits it.
std::vector<std::string> Fields(const char* text)
{
    ScriptMacros m = Macros();
    std::vector<std::string> out;
    const char* rest = text;
    while (rest) {
        char field[QV_TEXT_SIZE];
        rest = ScriptReadField(rest, field, sizeof(field), &m);
        out.push_back(field);
    }
    return out;
}

typedef std::vector<std::string> V;

} // namespace

TEST_CASE("fields: commas split, quotes keep commas and percent signs, blanks lead off")
{
    CHECK(Fields("\"a,b\",c") == V{ "a,b", "c" });
    CHECK(Fields("  \t x , y ") == V{ "x ", "y " });  // trailing blanks stay
    CHECK(Fields("\"%11%\",\"50%\"") == V{ "%11%", "50%" });
    CHECK(Fields("a\"b,c\"d") == V{ "ab,cd" });
    CHECK(Fields("") == V{ "" });
    CHECK(Fields("a,") == V{ "a", "" });
    CHECK(Fields(",,") == V{ "", "", "" });
}

TEST_CASE("fields: directory macros")
{
    CHECK(Fields("%11%\\x.dll") == V{ "C:\\WINDOWS\\SYSTEM32\\x.dll" });
    CHECK(Fields("%1%,%10%,%99%") == V{ "D:\\setup", "C:\\WINDOWS", "C:\\Program Files\\Q" });
    CHECK(Fields("%12%,%17%,%18%") ==
          V{ "C:\\WINDOWS\\System32\\Drivers", "C:\\WINDOWS\\Inf", "C:\\WINDOWS\\Help" });
}

TEST_CASE("fields: other macro names come from Strings, unexpanded, and unknown ones are empty")
{
    g_strings = { { "Vendor", "Qelvano" }, { "Self", "%Self%" }, { "Comma", "x,y" } };
    CHECK(Fields("%Vendor%\\Keys") == V{ "Qelvano\\Keys" });
    CHECK(Fields("[%nothing%]") == V{ "[]" });
    CHECK(Fields("%Self%") == V{ "%Self%" });     // no second round of expansion
    CHECK(Fields("%Comma%,z") == V{ "x,y", "z" }); // an inserted comma does not split
    g_lookups = 0;
    CHECK(Fields("a%%b") == V{ "ab" });
    CHECK(g_lookups == 0);
    ScriptMacros bare = { NULL, NULL, NULL, NULL, NULL, NULL };
    char field[QV_TEXT_SIZE];
    CHECK(ScriptReadField("%1%%10%%Vendor%x", field, sizeof(field), &bare) == NULL);
    CHECK(std::string(field) == "x");
}

TEST_CASE("fields: an unterminated quote or macro ends the line")
{
    CHECK(Fields("a,\"b,c") == V{ "a", "b,c" });
    CHECK(Fields("a,%11,c") == V{ "a", "" });
    CHECK(Fields("x%11") == V{ "x" });
}

TEST_CASE("fields: cut at 259 characters, also when macros make them long")
{
    std::string line(10000, 'v');
    line += ",next";
    char field[QV_TEXT_SIZE + 8];
    memset(field, '#', sizeof(field));
    ScriptMacros m = Macros();
    const char* rest = ScriptReadField(line.c_str(), field, QV_TEXT_SIZE, &m);
    CHECK(strlen(field) == QV_TEXT_SIZE - 1);
    CHECK(field[QV_TEXT_SIZE] == '#');
    REQUIRE(rest != NULL);
    CHECK(std::string(rest) == "next");

    std::string macros;
    for (int i = 0; i < 40; ++i)
        macros += "%11%";
    memset(field, '#', sizeof(field));
    ScriptReadField(macros.c_str(), field, QV_TEXT_SIZE, &m);
    CHECK(strlen(field) == QV_TEXT_SIZE - 1);
    CHECK(field[QV_TEXT_SIZE] == '#');

    // A macro name too long for any key inserts nothing rather than a cut name's text.
    g_strings = { { std::string(259, 'k'), "hit" } };
    std::string name = "%" + std::string(300, 'k') + "%";
    CHECK(Fields(name.c_str()) == V{ "" });
}

TEST_CASE("fields: numbered access and 300 commas")
{
    std::string line;
    for (int i = 1; i <= 301; ++i)
        line += std::to_string(i) + (i < 301 ? "," : "");
    ScriptMacros m = Macros();
    char field[QV_TEXT_SIZE];
    CHECK(ScriptField(line.c_str(), 301, field, sizeof(field), &m) == 1);
    CHECK(std::string(field) == "301");
    CHECK(ScriptField(line.c_str(), 302, field, sizeof(field), &m) == 0);
    CHECK(field[0] == '\0');
    CHECK(ScriptField(line.c_str(), 0, field, sizeof(field), &m) == 0);
}

static std::vector<SetupOption> Options(const char* line)
{
    SetupOption options[SETUP_MAX_OPTIONS + 4];
    int n = SetupParseOptions(line, options);
    return std::vector<SetupOption>(options, options + n);
}

TEST_CASE("options: every option, in any case and with blanks anywhere")
{
    typedef std::vector<SetupOption> O;
    CHECK(Options("/H /S /NR /TYPE:PS2 /TYPE:USB /PRELOAD /P") ==
          O{ SETUP_OPT_HIDDEN, SETUP_OPT_SILENT, SETUP_OPT_NORESTART, SETUP_OPT_TYPE_PS2, SETUP_OPT_TYPE_USB,
             SETUP_OPT_PRELOAD, SETUP_OPT_PRELOAD });
    CHECK(Options("/type:ps2/s") == O{ SETUP_OPT_TYPE_PS2, SETUP_OPT_SILENT });
    CHECK(Options("/ TYPE : PS2 ") == O{ SETUP_OPT_TYPE_PS2 });
    CHECK(Options("/n r\t/Pre Load") == O{ SETUP_OPT_NORESTART, SETUP_OPT_PRELOAD });
    CHECK(Options("ignored H S /h") == O{ SETUP_OPT_HIDDEN });
    CHECK(Options("/X /HS /TYPE:PS22 //") ==
          O{ SETUP_OPT_UNKNOWN, SETUP_OPT_UNKNOWN, SETUP_OPT_UNKNOWN, SETUP_OPT_UNKNOWN, SETUP_OPT_UNKNOWN });
    CHECK(Options("").empty());
    CHECK(Options("no slash at all").empty());
}

TEST_CASE("options: at most 16, each at most 15 characters")
{
    std::string line;
    for (int i = 0; i < 16; ++i)
        line += "/X";
    line += "/H";
    std::vector<SetupOption> options = Options(line.c_str());
    CHECK(options.size() == 16);
    CHECK(std::count(options.begin(), options.end(), SETUP_OPT_HIDDEN) == 0);

    // Blanks do not count towards the length; a 16th character does.
    CHECK(Options("/T Y P E : P S 2          ") == std::vector<SetupOption>{ SETUP_OPT_TYPE_PS2 });
    CHECK(Options("/HHHHHHHHHHHHHHHH/H") == std::vector<SetupOption>{ SETUP_OPT_UNKNOWN, SETUP_OPT_HIDDEN });
}

static std::string Licence(const char* locale, int* exact = NULL)
{
    const char* file = LicenceFileForLocale(locale, exact);
    return file ? file : "(none)";
}

TEST_CASE("licence: exact locale first, else the language's last two characters")
{
    int exact = -1;
    CHECK(Licence("00000407", &exact) == "LICENGER.TXT");
    CHECK(exact == 1);
    CHECK(Licence("0000040c", &exact) == "LICENFRE.TXT");
    CHECK(exact == 1);
    CHECK(Licence("00000C0C", &exact) == "LICENFRE.TXT");
    CHECK(exact == 0);
    CHECK(Licence("00000809") == "LICENENG.TXT");
    CHECK(Licence("00000804") == "LICENSCH.TXT");  // exact beats the language of 00000404
    CHECK(Licence("00000C04") == "LICENTCH.TXT");  // first row ending in 04
    CHECK(Licence("00000c0a") == "LICENSPA.TXT");
    CHECK(Licence("0000041F", &exact) == "(none)");
    CHECK(exact == 0);
    CHECK(Licence("") == "(none)");
    CHECK(Licence("9") == "(none)");
}

static RegLine Line(const char* value)
{
    ScriptMacros m = Macros();
    RegLine line;
    memset(&line, 0x5a, sizeof(line));
    RegLineRead(value, &m, &line);
    return line;
}

TEST_CASE("registry line: numbers, bytes and text")
{
    RegLine l = Line("HKCU,Software\\X,Mode,1,05");
    CHECK(l.root == REGLINE_HKCU);
    CHECK(std::string(l.subKey) == "Software\\X");
    CHECK(std::string(l.valueName) == "Mode");
    CHECK(l.kind == REGLINE_DWORD);
    CHECK(l.number == 5);
    CHECK(Line("HKCU,Software\\X,Mode,1,ff").number == 4294967295u);
    CHECK(Line("HKCU,Software\\X,Mode,1,7F").number == 127);
    CHECK(Line("HKCU,Software\\X,Mode,1,80").number == 0xFFFFFF80u);
    CHECK(Line("HKCU,Software\\X,Mode,1,0x10").number == 0);
    CHECK(Line("HKCU,Software\\X,Mode,1,123").number == 0x23);  // low 8 bits
    CHECK(Line("HKCU,Software\\X,Mode,1,zz").number == 0);

    l = Line("HKCU,Software\\X,Data,1,01,02");
    CHECK(l.kind == REGLINE_BINARY);
    REQUIRE(l.byteCount == 2);
    CHECK(l.bytes[0] == 1);
    CHECK(l.bytes[1] == 2);

    l = Line("HKLM,Software\\X,Name,0,Some text");
    CHECK(l.root == REGLINE_HKLM);
    CHECK(l.kind == REGLINE_TEXT);
    CHECK(std::string(l.text) == "Some text");
    CHECK(std::string(Line("HKLM,S,N,,\"a,b\",c").text) == "a,b");
    CHECK(std::string(Line("HKLM,%1%,N,0,%11%").subKey) == "D:\\setup");
    CHECK(std::string(Line("HKLM,S,N,0,%11%").text) == "C:\\WINDOWS\\SYSTEM32");
}

TEST_CASE("registry line: which fields are present decides the value")
{
    RegLine l = Line("HKLM,Software\\X");
    CHECK(l.kind == REGLINE_KEY_ONLY);
    l = Line("HKLM,Software\\X,");
    CHECK(l.kind == REGLINE_TEXT);
    CHECK(l.valueName[0] == '\0');
    CHECK(l.text[0] == '\0');
    l = Line("HKLM,Software\\X,Name");
    CHECK(l.kind == REGLINE_TEXT);
    CHECK(l.text[0] == '\0');
    l = Line("HKLM,Software\\X,Name,0");
    CHECK(l.kind == REGLINE_TEXT);
    l = Line("HKLM,Software\\X,Name,1");
    CHECK(l.kind == REGLINE_DWORD);
    CHECK(l.number == 0);
    CHECK(Line("HKLM").kind == REGLINE_KEY_ONLY);
    CHECK(Line("HKLM").subKey[0] == '\0');
}

TEST_CASE("registry line: roots, and at most 260 bytes")
{
    CHECK(Line("hkcr,a").root == REGLINE_HKCR);
    CHECK(Line("HKU,a").root == REGLINE_HKU);
    CHECK(Line("HKLMX,a").root == REGLINE_HKU);
    CHECK(Line("HKEY_LOCAL_MACHINE,a").root == REGLINE_HKU);
    CHECK(Line(" HKCU,a").root == REGLINE_HKCU);

    std::string line = "HKCU,S,B,1";
    for (int i = 0; i < 300; ++i)
        line += ",ab";
    line += ",cd";
    RegLine l = Line(line.c_str());
    CHECK(l.kind == REGLINE_BINARY);
    CHECK(l.byteCount == REGLINE_MAX_BYTES);
    CHECK(l.bytes[REGLINE_MAX_BYTES - 1] == 0xab);
}
