// The installer's "Update Driver" splitter and the preload texts, under the sanitizers
// (part of test_setupparse).
#include <doctest/doctest.h>

#include "driverline.h"

#include <string.h>

#include <string>
#include <vector>

namespace {

struct Split {
    int count;
    std::vector<std::string> fields;
};

Split SplitLine(const char* text)
{
    DriverLine line;
    memset(&line, 'x', sizeof(line));  // every field must be written, also the missing ones
    Split s;
    s.count = DriverLineSplit(text, &line);
    for (auto& f : line.field)
        s.fields.push_back(f);
    return s;
}

typedef std::vector<std::string> V;

} // namespace

TEST_CASE("driver lines: ten fields at commas, quotes group and go, leading blanks go, missing ones empty")
{
    Split s = SplitLine("Keyboard, kb.inf ,\"a,b\" ,x,,six,\tinf\\98.inf,TRUE,USB\\VID_1&PID_2,drv\\");
    CHECK(s.count == 10);
    CHECK(s.fields == V{ "Keyboard", "kb.inf ", "a,b ", "x", "", "six", "inf\\98.inf", "TRUE", "USB\\VID_1&PID_2", "drv\\" });

    s = SplitLine("Unknown,u.inf");
    CHECK(s.count == 2);
    CHECK(s.fields == V{ "Unknown", "u.inf", "", "", "", "", "", "", "", "" });

    // An eleventh field and beyond are not read; an empty field before a comma counts.
    s = SplitLine("1,2,3,4,5,6,7,8,9,10,11,12");
    CHECK(s.count == 10);
    CHECK(s.fields[9] == "10");
    CHECK(SplitLine("a,,").count == 2);
    CHECK(SplitLine("").count == 0);
    CHECK(SplitLine(" \t ").count == 0);

    // An open quote takes the rest of the line, commas and all.
    s = SplitLine("a,\"b,c");
    CHECK(s.count == 2);
    CHECK(s.fields[1] == "b,c");
    // Blanks after an empty pair of quotes still lead the field off; inside quotes they stay.
    CHECK(SplitLine("\"\"  x,\" y\"").fields == V{ "x", " y", "", "", "", "", "", "", "", "" });
}

TEST_CASE("driver lines: a field of nothing but quotes at the end is absent, before a comma it is empty")
{
    Split s = SplitLine("Keyboard,\"\"");
    CHECK(s.count == 1);
    CHECK(s.fields[1] == "");
    s = SplitLine("Keyboard,\"\"  \"\"");
    CHECK(s.count == 1);
    s = SplitLine("Keyboard,\"\",kb.inf");
    CHECK(s.count == 3);
    CHECK(s.fields[1] == "");
    CHECK(s.fields[2] == "kb.inf");
    // The single field reader says so too, and stops at the end.
    int present = 7;
    const char* rest = DriverLineField("\"\"", NULL, 0, &present);
    CHECK(present == 0);
    CHECK(*rest == '\0');
}

TEST_CASE("driver lines: a field longer than 259 characters is cut, the next field is still found")
{
    std::string longField(600, 'L');
    std::string text = "Keyboard," + longField + ",next";
    Split s = SplitLine(text.c_str());
    CHECK(s.count == 3);
    CHECK(s.fields[1] == std::string(259, 'L'));
    CHECK(s.fields[2] == "next");
}

TEST_CASE("driver flag and class words: TRUE and 1 in any case, whole words only")
{
    CHECK(DriverLineFlag("1") == 1);
    CHECK(DriverLineFlag("true") == 1);
    CHECK(DriverLineFlag("TrUe") == 1);
    CHECK(DriverLineFlag("") == 0);
    CHECK(DriverLineFlag("01") == 0);
    CHECK(DriverLineFlag("TRUE ") == 0);
    CHECK(DriverLineFlag("yes") == 0);
    CHECK(DriverSameWord("UNKNOWN", "Unknown") == 1);
    CHECK(DriverSameWord("Unknown2", "Unknown") == 0);
    CHECK(DriverSameWord("Keyb", "Keyboard") == 0);
}

TEST_CASE("preload texts: slashes of the product name become points; a command that does not fit is none")
{
    char name[QV_TEXT_SIZE];
    CHECK(DriverFolderName(name, sizeof(name), "Lumeno/Tavimon 2/x") == 1);
    CHECK(std::string(name) == "Lumeno.Tavimon 2.x");
    char small[4];
    CHECK(DriverFolderName(small, sizeof(small), "a/bcdef") == 0);
    CHECK(std::string(small) == "a.b");

    char command[QV_TEXT_SIZE];
    CHECK(DriverPreloadCommand(command, sizeof(command), "C:\\Program Files\\Lumeno", "USB\\VID_1", "Keyboard") == 1);
    CHECK(std::string(command) ==
          "C:\\Program Files\\Lumeno\\Preload.exe /DEVID:USB\\VID_1 /CLASS:Keyboard /RunValue:\"Keyboard Preload Check\"");
    std::string longId(240, 'I');
    memset(command, 'x', sizeof(command));
    CHECK(DriverPreloadCommand(command, sizeof(command), "C:\\P", longId.c_str(), "Keyboard") == 0);
    CHECK(command[0] == '\0');
}
