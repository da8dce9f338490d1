// The "[Rename]" edit of wininit.ini under the sanitizers: where a line goes, what is kept,
// and that a file of exactly the given room is never written past.
#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#include <doctest/doctest.h>

#include "wininit.h"

#include <string.h>

#include <memory>
#include <string>

namespace {

std::string Line(const char* target, const char* substitute)
{
    char line[WININIT_LINE_SIZE];
    size_t n = WininitRenameLine(line, sizeof(line), target, substitute);
    return std::string(line, n);
}

// The edit in a heap block of exactly `capacity` bytes, so ASan sees any write past it.
// "(failed)" when the edit refused; the block must then hold the file unchanged.
std::string Add(const std::string& file, const std::string& line, size_t capacity)
{
    std::unique_ptr<char[]> block(new char[capacity ? capacity : 1]);
    memcpy(block.get(), file.data(), file.size());
    size_t n = WininitAddRename(block.get(), file.size(), capacity, line.data(), line.size());
    if (n == 0) {
        CHECK(std::string(block.get(), file.size()) == file);
        return "(failed)";
    }
    CHECK(n <= capacity);
    return std::string(block.get(), n);
}

std::string Add(const std::string& file, const std::string& line)
{
    return Add(file, line, file.size() + line.size() + WININIT_SLACK);
}

} // namespace

TEST_CASE("the line is target, equals sign, substitute and CR LF, or nothing when it does not fit")
{
    CHECK(Line("C:\\WINDOWS\\SYSTEM\\QVUTIL.DLL", "C:\\WINDOWS\\SYSTEM\\QVUTIL.001") ==
          "C:\\WINDOWS\\SYSTEM\\QVUTIL.DLL=C:\\WINDOWS\\SYSTEM\\QVUTIL.001\r\n");
    char line[8];
    CHECK(WininitRenameLine(line, sizeof(line), "ab", "cd") == 7);  // 7 bytes and the terminator
    CHECK(std::string(line) == "ab=cd\r\n");
    CHECK(WininitRenameLine(line, sizeof(line), "abc", "cd") == 0);
    CHECK(line[0] == '\0');
    std::string longest(259, 'x');
    CHECK(Line(longest.c_str(), longest.c_str()).size() == 259 * 2 + 3);
}

TEST_CASE("without a section the header and the line go at the end; later lines go first in it")
{
    std::string a = Line("C:\\A.DLL", "C:\\A.001"), b = Line("C:\\B.DLL", "C:\\B.002");
    CHECK(Add("", a) == "[Rename]\r\n" + a);
    std::string file = "[Combine]\r\nx=y\r\n";
    std::string once = Add(file, a);
    CHECK(once == file + "[Rename]\r\n" + a);
    CHECK(Add(once, b) == file + "[Rename]\r\n" + b + a);
    // A last line without its line end gets one, or the header would be part of that line.
    CHECK(Add("[Combine]\r\nx=y", a) == "[Combine]\r\nx=y\r\n[Rename]\r\n" + a);
}

TEST_CASE("with a section the line goes right after the first header and the rest moves back")
{
    std::string a = Line("C:\\A.DLL", "C:\\A.001");
    std::string head = "; kept\r\n[Rename]\r\n", tail = "NUL=C:\\OLD.TMP\r\n[Other]\r\n[Rename]\r\nz=w\r\n";
    CHECK(Add(head + tail, a) == head + a + tail);
    // Any case of the name is that section; its own spelling stays.
    CHECK(Add("[RENAME]\r\nq=r\r\n", a) == "[RENAME]\r\n" + a + "q=r\r\n");
    // A header at the very end of the file.
    CHECK(Add("[Rename]\r\n", a) == "[Rename]\r\n" + a);
    // Not a header with its CR LF: a new section at the end.
    CHECK(Add("[Rename]\n", a) == "[Rename]\n[Rename]\r\n" + a);
    // Bytes after a zero byte are file content like any other.
    std::string binary("a\0b\r\n[Rename]\r\nc\0d", 18);
    CHECK(Add(binary, a) == std::string("a\0b\r\n[Rename]\r\n", 15) + a + std::string("c\0d", 3));
}

TEST_CASE("an edit that does not fit the room writes nothing")
{
    std::string a = Line("C:\\A.DLL", "C:\\A.001");
    std::string with = "[Rename]\r\nq=r\r\n";
    CHECK(Add(with, a, with.size() + a.size()) == "[Rename]\r\n" + a + "q=r\r\n");
    CHECK(Add(with, a, with.size() + a.size() - 1) == "(failed)");
    std::string without = "[X]\r\n";
    CHECK(Add(without, a, without.size() + 10 + a.size()) == without + "[Rename]\r\n" + a);
    CHECK(Add(without, a, without.size() + 9 + a.size()) == "(failed)");
    CHECK(Add("[X]", a, 3 + 12 + a.size()) == "[X]\r\n[Rename]\r\n" + a);
    CHECK(Add("[X]", a, 3 + 11 + a.size()) == "(failed)");
    // A length past the room, or an empty line, is refused.
    char block[4] = { 'a', 'b', 'c', 'd' };
    CHECK(WininitAddRename(block, 5, 4, "x\r\n", 3) == 0);
    CHECK(WininitAddRename(block, 0, 4, "", 0) == 0);
}
