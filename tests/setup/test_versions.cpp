// Replace or keep an installed file, decided from real version resources (the test DLLs of
// tests/util/versions) and last-write times set by the test, including a destination that
// is held open without sharing, as a file in use is.
#include <doctest/doctest.h>

#include "versions.h"
#include "wintest.h"

#include <string>

using namespace qvtest;

namespace {

std::string TestDll(const char* name)
{
    return DirOf(SelfPath()) + "\\versions\\" + name + ".dll";
}

// A copy of a test DLL named `as` in `dir`, last written `age` hours before a fixed moment.
std::string Place(const std::string& dir, const char* dll, const char* as, int age)
{
    std::string path = dir + "\\" + as;
    DeleteFileA(path.c_str());
    REQUIRE(CopyFileA(TestDll(dll).c_str(), path.c_str(), FALSE));
    SYSTEMTIME base = { 2024, 5, 0, 15, 12, 0, 0, 0 };
    FILETIME moment;
    SystemTimeToFileTime(&base, &moment);
    ULARGE_INTEGER t;
    t.LowPart = moment.dwLowDateTime;
    t.HighPart = moment.dwHighDateTime;
    t.QuadPart -= (ULONGLONG)age * 3600 * 10000000;
    moment.dwLowDateTime = t.LowPart;
    moment.dwHighDateTime = t.HighPart;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, OPEN_EXISTING, 0, NULL);
    REQUIRE(file != INVALID_HANDLE_VALUE);
    CHECK(SetFileTime(file, NULL, NULL, &moment));
    CloseHandle(file);
    return path;
}

// Source `from` (age in hours) over destination `to`: 1 copy, 0 keep.
int Decide(const std::string& dir, const char* from, int fromAge, const char* to, int toAge)
{
    std::string source = Place(dir, from, "source.dll", fromAge);
    std::string destination = Place(dir, to, "destination.dll", toAge);
    return ShouldCopyOver(source.c_str(), destination.c_str());
}

} // namespace

TEST_CASE("a newer version replaces an older one whatever the times; an older one never does")
{
    std::string dir = MakeTempDir("versions-order");
    // 5.0.2614.3501 over 3.1.0.7, the source written a day earlier, and back.
    CHECK(Decide(dir, "ver_dotted", 24, "ver_german", 0) == 1);
    CHECK(Decide(dir, "ver_german", 0, "ver_dotted", 24) == 0);
    // A file without version text (fixed 6.0) against one with both (1.2): the fixed pair alone.
    CHECK(Decide(dir, "ver_notext", 24, "ver_short", 0) == 1);
    CHECK(Decide(dir, "ver_short", 0, "ver_notext", 24) == 0);
    // An empty version text counts as none: fixed 7.0 over fixed 6.0.
    CHECK(Decide(dir, "ver_empty", 24, "ver_notext", 0) == 1);
    RemoveTree(dir);
}

TEST_CASE("when fixed version and text disagree, either one saying newer is enough")
{
    std::string dir = MakeTempDir("versions-disagree");
    // ver_commas: fixed 9.9.9.9, text "4, 0, 0, 1"; ver_dotted: fixed 5.0.2614.3501, text 5.00.2614.3500.
    CHECK(Decide(dir, "ver_dotted", 24, "ver_commas", 0) == 1);
    CHECK(Decide(dir, "ver_commas", 24, "ver_dotted", 0) == 1);
    RemoveTree(dir);
}

TEST_CASE("equal or unreadable versions are told apart by the last-write time")
{
    std::string dir = MakeTempDir("versions-times");
    CHECK(Decide(dir, "ver_dotted", 0, "ver_dotted", 1) == 1);
    CHECK(Decide(dir, "ver_dotted", 1, "ver_dotted", 0) == 0);
    CHECK(Decide(dir, "ver_dotted", 3, "ver_dotted", 3) == 0);
    // No version resource on either side, or on one side only.
    CHECK(Decide(dir, "ver_none", 0, "ver_none", 1) == 1);
    CHECK(Decide(dir, "ver_none", 1, "ver_none", 0) == 0);
    CHECK(Decide(dir, "ver_none", 0, "ver_dotted", 1) == 1);
    CHECK(Decide(dir, "ver_dotted", 1, "ver_none", 0) == 0);
    RemoveTree(dir);
}

TEST_CASE("a missing destination is copied; one in use is judged by its directory entry")
{
    std::string dir = MakeTempDir("versions-use");
    std::string source = Place(dir, "ver_german", "source.dll", 0);
    CHECK(ShouldCopyOver(source.c_str(), (dir + "\\absent.dll").c_str()) == 1);
    CHECK(ShouldCopyOver(source.c_str(), (dir + "\\no folder\\absent.dll").c_str()) == 1);

    std::string destination = Place(dir, "ver_german", "destination.dll", 2);
    HANDLE held = CreateFileA(destination.c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
    REQUIRE(held != INVALID_HANDLE_VALUE);
    SetLastError(0xdeadbeef);
    HANDLE again = CreateFileA(destination.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    CHECK(again == INVALID_HANDLE_VALUE);
    CHECK(GetLastError() == ERROR_SHARING_VIOLATION);
    if (again != INVALID_HANDLE_VALUE)
        CloseHandle(again);
    // Same version, though the destination cannot be opened: its time still counts.
    CHECK(ShouldCopyOver(source.c_str(), destination.c_str()) == 1);
    std::string older = Place(dir, "ver_german", "source.dll", 5);
    CHECK(ShouldCopyOver(older.c_str(), destination.c_str()) == 0);
    CloseHandle(held);
    RemoveTree(dir);
}
