// Version text arithmetic under the sanitizers: separators, blanks, signs, saturation
// and texts longer than the 260-byte component buffer.
#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#include <doctest/doctest.h>

#include "versiontext.h"

#include <string>

static void Check(const char* text, uint32_t high, uint32_t low)
{
    uint32_t h = 0xdeadbeef, l = 0xdeadbeef;
    VersionTextToNumbers(text, &h, &l);
    CAPTURE(text);
    CHECK(h == high);
    CHECK(l == low);
}

TEST_CASE("components end at commas, points or the end; blanks are dropped")
{
    Check("5.00.2614.3500", 5u << 16, (2614u << 16) + 3500);
    Check("4, 0, 0, 1", 4u << 16, 1);
    Check(" 1 . 2 ", (1u << 16) + 2, 0);
    Check("1.0 (build 5)", 1u << 16, 0);
    Check("", 0, 0);
    Check("...", 0, 0);
    Check("1.2.3.4.5.6", (1u << 16) + 2, (3u << 16) + 4);
    Check("7,,9", 7u << 16, 9u << 16);
}

TEST_CASE("components above 65535 or negative run into their neighbours unchecked")
{
    Check("2.70000.3.4", (2u << 16) + 70000, (3u << 16) + 4);
    Check("0.-1", 0xFFFFFFFFu, 0);
    Check("65536.0.1.65536", 0, (1u << 16) + 65536);
}

TEST_CASE("the decimal conversion takes leading digits only and saturates")
{
    CHECK(VersionDecimal("12abc") == 12);
    CHECK(VersionDecimal("abc") == 0);
    CHECK(VersionDecimal("  -42") == -42);
    CHECK(VersionDecimal("+7") == 7);
    CHECK(VersionDecimal("99999999999999999999") == INT32_MAX);
    CHECK(VersionDecimal("-99999999999999999999") == INT32_MIN);
    CHECK(VersionDecimal("-2147483648") == INT32_MIN);
}

TEST_CASE("a component longer than the text buffer is cut, not overrun")
{
    std::string text = std::string(1000, '1') + ".2";
    uint32_t high = 0, low = 0;
    VersionTextToNumbers(text.c_str(), &high, &low);
    CHECK(high == (uint32_t)INT32_MAX * 65536u + 2);
    CHECK(low == 0);
}
