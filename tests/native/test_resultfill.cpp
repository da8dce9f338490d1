// The product name put into the result page's texts under the sanitizers: every "%s"
// replaced, other percent signs kept, and a cut text still terminated within its buffer.
#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#include <doctest/doctest.h>

#include "resultfill.h"

#include <string.h>

#include <string>

TEST_CASE("every %s takes the name and other percent signs stay as they are")
{
    char out[200];
    CHECK(ResultFillName(out, sizeof(out), "Setup has installed %s.\n\nBefore you use %s, restart.", "Lumeno 2/B"));
    CHECK(std::string(out) == "Setup has installed Lumeno 2/B.\n\nBefore you use Lumeno 2/B, restart.");
    // A name holding "%s" is not expanded again; a lone '%' at the end and "%d" are text.
    CHECK(ResultFillName(out, sizeof(out), "100% %d %s%", "a%sb"));
    CHECK(std::string(out) == "100% %d a%sb%");
    CHECK(ResultFillName(out, sizeof(out), NULL, "x"));
    CHECK(std::string(out) == "");
    CHECK(ResultFillName(out, sizeof(out), "[%s]", NULL));
    CHECK(std::string(out) == "[]");
}

TEST_CASE("a text longer than its buffer is cut, terminated, and reported")
{
    // Exactly fitting: 5 characters and the terminator.
    char exact[6];
    CHECK(ResultFillName(exact, sizeof(exact), "ab%s", "cde"));
    CHECK(std::string(exact) == "abcde");
    // One short, inside the name: nothing past the buffer (the sanitizer watches the bytes).
    char* small = new char[5];
    CHECK_FALSE(ResultFillName(small, 5, "ab%s", "cde"));
    CHECK(std::string(small) == "abcd");
    delete[] small;
    char one[1] = { 'x' };
    CHECK_FALSE(ResultFillName(one, 1, "a", "b"));
    CHECK(one[0] == '\0');
    CHECK(ResultFillName(one, 1, "", "b"));
    CHECK_FALSE(ResultFillName(NULL, 10, "a", "b"));
}

TEST_CASE("the size asked for holds the whole text, in any language's format, and one byte less does not")
{
    const char* name = "Lumeno KB-7";
    // A Japanese-like text in a double-byte code page: its bytes count, not its characters.
    const char* formats[] = { "Welcome to the %s Setup program.  This program will install %s on your computer.",
                              "\x83\x5a\x83\x62\x83\x67%s\x82\xf0%s%", "%s%s%s", "", "%", "100% %d" };
    for (const char* format : formats) {
        size_t size = ResultFillSize(format, name);
        std::string text(size, '#');
        CHECK(ResultFillName(&text[0], size, format, name));
        CHECK(strlen(text.c_str()) == size - 1);
        if (size > 1) {
            std::string shorter(size - 1, '#');
            CHECK_FALSE(ResultFillName(&shorter[0], size - 1, format, name));
        }
    }
    CHECK(ResultFillSize("%s and %s", "") == 6);
    CHECK(ResultFillSize(NULL, "x") == 1);
    CHECK(ResultFillSize("[%s]", NULL) == 3);
}
