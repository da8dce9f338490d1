// Substitute names beside a destination in use, under the sanitizers: where the digit goes,
// that a dot in a directory's name is never taken, and that the room given is kept.
#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#include <doctest/doctest.h>

#include "copyname.h"

#include <string.h>

#include <string>

namespace {

std::string Name(const char* destination, int digit, size_t size = 260)
{
    char out[300];
    memset(out, 'x', sizeof(out));
    int ok = SubstituteName(out, size, destination, digit);
    CHECK(out[size] == 'x');  // nothing written past the room
    return ok ? std::string(out) : "(none:" + std::string(out) + ")";
}

} // namespace

TEST_CASE("the digit replaces the extension, or follows a dot added to a name without one")
{
    CHECK(Name("C:\\WINDOWS\\SYSTEM\\driver.dll", 0) == "C:\\WINDOWS\\SYSTEM\\driver.0");
    CHECK(Name("C:\\dir\\archive.tar.gz", 7) == "C:\\dir\\archive.tar.7");
    CHECK(Name("C:\\dir\\trailing.", 3) == "C:\\dir\\trailing.3");
    CHECK(Name("C:\\v1.2\\hkmon", 0) == "C:\\v1.2\\hkmon.0");
    CHECK(Name("C:\\v1.2\\", 1) == "C:\\v1.2\\.1");
    CHECK(Name("D:hkmon", 9) == "D:hkmon.9");
    CHECK(Name("plain", 2) == "plain.2");
    CHECK(Name("", 4) == ".4");
}

TEST_CASE("no substitute for a bad digit, a null path, or a name that does not fit")
{
    CHECK(Name("C:\\a.dll", -1) == "(none:)");
    CHECK(Name("C:\\a.dll", 10) == "(none:)");
    CHECK(Name(NULL, 0) == "(none:)");
    // "C:\a.0" is six characters: seven bytes of room fit it, six do not.
    CHECK(Name("C:\\a.dll", 0, 7) == "C:\\a.0");
    CHECK(Name("C:\\a.dll", 0, 6) == "(none:)");
    CHECK(Name("C:\\a", 0, 7) == "C:\\a.0");
    CHECK(Name("C:\\a", 0, 6) == "(none:)");
    // 259 characters is the most a 260-byte path holds.
    CHECK(Name(std::string(257, 'n').c_str(), 5).size() == 259);
    CHECK(Name(std::string(258, 'n').c_str(), 5) == "(none:)");
    char out[4] = "abc";
    CHECK(SubstituteName(out, 0, "a.b", 1) == 0);
    CHECK(strcmp(out, "abc") == 0);
}
