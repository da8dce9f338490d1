// The background title's line break with made-up widths: 10 pixels a character, so a part
// of n characters fits a client area when 10 n + 15 does not exceed its width.
#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#include <doctest/doctest.h>

#include "titlelines.h"

#include <string>
#include <vector>

namespace {

struct Ruler {
    std::vector<int> measured;  // lengths asked for, in order
};

int TenEach(const char* text, int length, void* context)
{
    (void)text;
    static_cast<Ruler*>(context)->measured.push_back(length);
    return length * 10;
}

struct Split {
    std::string first, second;
    int count;
    std::vector<int> measured;
};

Split Run(const char* text, int clientWidth)
{
    Ruler ruler;
    TitleLines lines;
    SplitTitle(text, clientWidth, TenEach, &ruler, &lines);
    Split s;
    s.count = lines.count;
    s.first.assign(text, (size_t)lines.firstLength);
    s.second.assign(text + lines.secondStart, (size_t)lines.secondLength);
    s.measured = ruler.measured;
    return s;
}

} // namespace

TEST_CASE("a title that fits stays one line; one that does not breaks at the last blank that fits")
{
    // "Tavimon Keyboard Setup" is 22 characters: 235 pixels with the margin.
    Split fits = Run("Tavimon Keyboard Setup", 235);
    CHECK(fits.count == 1);
    CHECK(fits.first == "Tavimon Keyboard Setup");
    CHECK(fits.measured == std::vector<int>{ 22 });

    Split two = Run("Tavimon Keyboard Setup", 234);
    CHECK(two.count == 2);
    CHECK(two.first == "Tavimon Keyboard");
    CHECK(two.second == "Setup");
    // Tried from the end: only the blank after "Keyboard" was needed.
    CHECK(two.measured == std::vector<int>{ 22, 16 });

    Split earlier = Run("Tavimon Keyboard Setup", 174);
    CHECK(earlier.count == 2);
    CHECK(earlier.first == "Tavimon");
    CHECK(earlier.second == "Keyboard Setup");  // line 2 may itself be wider than the screen
}

TEST_CASE("runs of blanks: a break only after a word, line 2 without its leading blanks")
{
    Split s = Run("Tavimon   Keyboard    Setup", 200);
    CHECK(s.count == 2);
    CHECK(s.first == "Tavimon   Keyboard");
    CHECK(s.second == "Setup");
    // Each run of blanks is tried once, at its first blank.
    CHECK(s.measured == std::vector<int>{ 27, 18 });

    Split lead = Run("  Tavimon Setup", 120);
    CHECK(lead.count == 2);
    CHECK(lead.first == "  Tavimon");
    CHECK(lead.second == "Setup");

    // Only blanks after the break: nothing for a second line.
    Split trail = Run("Tavimon   ", 90);
    CHECK(trail.count == 1);
    CHECK(trail.first == "Tavimon");
}

TEST_CASE("no part fits: the text before the first word break alone; no blank at all: the whole text")
{
    Split none = Run("Tavimon Keyboard Setup", 50);
    CHECK(none.count == 1);
    CHECK(none.first == "Tavimon");
    CHECK(none.second == "");

    Split leading = Run("   Tavimon Setup", 50);
    CHECK(leading.count == 1);
    CHECK(leading.first == "   Tavimon");

    Split oneWord = Run("TavimonKeyboardSetup", 50);
    CHECK(oneWord.count == 1);
    CHECK(oneWord.first == "TavimonKeyboardSetup");

    Split empty = Run("", 0);
    CHECK(empty.count == 1);
    CHECK(empty.first == "");
}
