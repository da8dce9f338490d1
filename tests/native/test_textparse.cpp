// The text parsers on their own, under the sanitizers: numbers, fields, shell commands,
// and that no input can make them write past the buffer they were given.
#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#include <doctest/doctest.h>

#include "textparse.h"

#include <string.h>

#include <string>

TEST_CASE("numbers: decimal, hexadecimal after x, and where the scan stops")
{
    CHECK(TextToInteger("42") == 42);
    CHECK(TextToInteger("0x1A") == 26);
    CHECK(TextToInteger("0X1a") == 26);
    CHECK(TextToInteger("1a2") == 12);   // a-f are passed over in decimal
    CHECK(TextToInteger("12abc") == 12);
    CHECK(TextToInteger("12x5") == 5);   // x restarts the value in base 16
    CHECK(TextToInteger("x10") == 16);
    CHECK(TextToInteger("0x1F") == 31);
    CHECK(TextToInteger(" 5") == 0);
    CHECK(TextToInteger("-5") == 0);
    CHECK(TextToInteger("+5") == 0);
    CHECK(TextToInteger("g1") == 0);
    CHECK(TextToInteger("yes") == 0);
    CHECK(TextToInteger("") == 0);
    CHECK(TextToInteger("7.9") == 7);
}

TEST_CASE("numbers wrap at 32 bits instead of overflowing")
{
    CHECK(TextToInteger("4294967295") == -1);
    CHECK(TextToInteger("4294967296") == 0);
    CHECK(TextToInteger("0xFFFFFFFF") == -1);
    CHECK(TextToInteger("0x1FFFFFFFF") == -1);
    CHECK(TextToInteger("0x80000000") == (int)0x80000000u);
}

static std::string Field(const char* text, int n, char sep, int* offset)
{
    char out[QV_TEXT_SIZE];
    strcpy(out, "untouched");
    *offset = TextField(text, n, out, sizeof(out), sep);
    return out;
}

TEST_CASE("fields of a key path are found with their offsets")
{
    int off;
    CHECK(Field("a\\b\\c", 1, '\\', &off) == "a");
    CHECK(off == 0);
    CHECK(Field("a\\b\\c", 2, '\\', &off) == "b");
    CHECK(off == 2);
    CHECK(Field("a\\b\\c", 3, '\\', &off) == "c");
    CHECK(off == 4);
    CHECK(Field("a\\b\\c", 4, '\\', &off) == "");
    CHECK(off == -1);
}

TEST_CASE("field number below 1 leaves the out buffer alone")
{
    int off;
    CHECK(Field("a\\b", 0, '\\', &off) == "untouched");
    CHECK(off == -1);
    CHECK(Field("a\\b", -3, '\\', &off) == "untouched");
    CHECK(off == -1);
}

TEST_CASE("an empty field between two separators exists, a missing one does not")
{
    int off;
    CHECK(Field("a\\\\b", 2, '\\', &off) == "");
    CHECK(off == 2);
    CHECK(Field("a\\\\b", 3, '\\', &off) == "b");
    CHECK(off == 3);
    CHECK(Field("   ", 1, ' ', &off) == "");
    CHECK(off == -1);
    CHECK(Field("", 1, ' ', &off) == "");
    CHECK(off == -1);
}

TEST_CASE("quotes group a field, are removed, and give the field's offset")
{
    const char* line = "\"C:\\Program Files\\x.exe\"  -a";
    int off;
    CHECK(Field(line, 1, ' ', &off) == "C:\\Program Files\\x.exe");
    CHECK(off == 0);
    CHECK(Field(line, 2, ' ', &off) == "-a");
    CHECK(off == (int)(strchr(line, '-') - line));
    CHECK(Field(line, 3, ' ', &off) == "");
    CHECK(off == -1);
}

TEST_CASE("an empty pair of quotes before a separator is a field; blanks inside a field are kept")
{
    int off;
    CHECK(Field("\"\",x", 1, ',', &off) == "");
    CHECK(off == 0);
    // Blanks after empty quotes still count as leading blanks of the same field.
    CHECK(Field("\"\" x", 1, ' ', &off) == "x");
    CHECK(off == 0);
    CHECK(Field("a b,c", 1, ',', &off) == "a b");
    CHECK(Field("  \t lead,x", 1, ',', &off) == "lead");
    CHECK(off == 4);
}

TEST_CASE("first field reports where the rest begins")
{
    char out[QV_TEXT_SIZE];
    int start = 99;
    const char* text = "one two";
    const char* rest = TextFirstField(text, out, sizeof(out), ' ', &start);
    CHECK(std::string(out) == "one");
    CHECK(start == 0);
    CHECK(rest == text + 4);
    rest = TextFirstField("", out, sizeof(out), ' ', &start);
    CHECK(start == -1);
    CHECK(out[0] == '\0');
    // Null out buffer and null offset are allowed.
    CHECK(TextFirstField("a,b", NULL, 0, ',', NULL) != NULL);
}

TEST_CASE("a field longer than the buffer is cut, never overrun")
{
    std::string longField(1000, 'x');
    std::string text = longField + "\\tail";
    char out[QV_TEXT_SIZE + 8];
    memset(out, '#', sizeof(out));
    int off = TextField(text.c_str(), 1, out, QV_TEXT_SIZE, '\\');
    CHECK(off == 0);
    CHECK(strlen(out) == QV_TEXT_SIZE - 1);
    CHECK(out[QV_TEXT_SIZE] == '#');
    // The cut does not lose the place of the next field.
    CHECK(TextField(text.c_str(), 2, out, QV_TEXT_SIZE, '\\') == 1001);
    CHECK(std::string(out) == "tail");
}

static void Split(const char* line, std::string* program, std::string* args)
{
    char p[QV_TEXT_SIZE], a[QV_TEXT_SIZE];
    strcpy(p, "junk");
    strcpy(a, "junk");
    TextSplitCommand(line, p, sizeof(p), a, sizeof(a));
    *program = p;
    *args = a;
}

TEST_CASE("shell command: unquoted program path with blanks")
{
    std::string p, a;
    Split("C:\\Program Files\\Mail\\mail.exe -mail", &p, &a);
    CHECK(p == "C:\\Program Files\\Mail\\mail.exe");
    CHECK(a == "-mail");
}

TEST_CASE("shell command: quoted program and quoted placeholder")
{
    std::string p, a;
    Split("\"C:\\Program Files\\App\\app.exe\" \"%1\"", &p, &a);
    CHECK(p == "C:\\Program Files\\App\\app.exe");
    CHECK(a == "\"%1\"");
}

TEST_CASE("shell command: an argument with a backslash joins the program")
{
    std::string p, a;
    Split("C:\\app.exe C:\\doc.txt", &p, &a);
    CHECK(p == "C:\\app.exe C:\\doc.txt");
    CHECK(a == "");
    Split("C:\\app.exe C:\\doc.txt   /x", &p, &a);
    CHECK(p == "C:\\app.exe C:\\doc.txt");
    CHECK(a == "/x");
}

TEST_CASE("shell command: plain program, empty line, null outputs")
{
    std::string p, a;
    Split("notepad.exe", &p, &a);
    CHECK(p == "notepad.exe");
    CHECK(a == "");
    Split("", &p, &a);
    CHECK(p == "");
    CHECK(a == "");
    TextSplitCommand("a.exe b", NULL, 0, NULL, 0);
}

TEST_CASE("shell command: long program and arguments are cut at 259 characters")
{
    std::string longDir(400, 'd');
    std::string line = "C:\\" + longDir + "\\x.exe D:\\" + longDir + "\\y -a " + std::string(500, 'z');
    char p[QV_TEXT_SIZE + 4], a[QV_TEXT_SIZE + 4];
    memset(p, '#', sizeof(p));
    memset(a, '#', sizeof(a));
    TextSplitCommand(line.c_str(), p, QV_TEXT_SIZE, a, QV_TEXT_SIZE);
    CHECK(strlen(p) == QV_TEXT_SIZE - 1);
    CHECK(strlen(a) == QV_TEXT_SIZE - 1);
    CHECK(p[QV_TEXT_SIZE] == '#');
    CHECK(a[QV_TEXT_SIZE] == '#');
    CHECK(std::string(a, 3) == "-a ");
}

TEST_CASE("bounded copy and append report a cut")
{
    char buf[8];
    CHECK(TextCopy(buf, sizeof(buf), "1234567") == 1);
    CHECK(TextCopy(buf, sizeof(buf), "12345678") == 0);
    CHECK(std::string(buf) == "1234567");
    CHECK(TextCopy(buf, sizeof(buf), "abc") == 1);
    CHECK(TextAppend(buf, sizeof(buf), "defg") == 1);
    CHECK(TextAppend(buf, sizeof(buf), "h") == 0);
    CHECK(std::string(buf) == "abcdefg");
}
