// The wizard's platform-free parts under the sanitizers: the summary text byte for byte, the
// percentage's places and colours on the bar, and the frame's place on the screen.
#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#include <doctest/doctest.h>

#include "percentlayout.h"
#include "summarytext.h"
#include "wizardplace.h"

#include <string.h>

#include <string>

TEST_CASE("summary: label, colon, CR LF, ten blanks, value; pairs apart by a blank line; cut texts terminated")
{
    SummaryPair pairs[] = { { "Product", "Lumeno KB-7" }, { "Version", "2.5" }, { "Interface", "PS/2 Interface" } };
    char out[300];
    CHECK(SummaryBuild(out, sizeof(out), pairs, 3));
    CHECK(std::string(out) == "Product:\r\n          Lumeno KB-7\r\n\r\nVersion:\r\n          2.5\r\n\r\n"
                              "Interface:\r\n          PS/2 Interface");
    // One pair has no separator; empty and missing values still get their label.
    SummaryPair empty[] = { { "Program Folder", "" }, { NULL, NULL } };
    CHECK(SummaryBuild(out, sizeof(out), empty, 1));
    CHECK(std::string(out) == "Program Folder:\r\n          ");
    CHECK(SummaryBuild(out, sizeof(out), empty, 2));
    CHECK(std::string(out) == "Program Folder:\r\n          \r\n\r\n:\r\n          ");
    CHECK(SummaryBuild(out, sizeof(out), pairs, 0));
    CHECK(out[0] == '\0');

    // Exactly fitting, then one byte short: nothing past the buffer (the sanitizer watches).
    size_t whole = strlen("Product:\r\n          Lumeno KB-7") + 1;
    char* exact = new char[whole];
    CHECK(SummaryBuild(exact, whole, pairs, 1));
    CHECK(std::string(exact) == "Product:\r\n          Lumeno KB-7");
    delete[] exact;
    char* small = new char[whole - 1];
    CHECK_FALSE(SummaryBuild(small, whole - 1, pairs, 1));
    CHECK(std::string(small) == "Product:\r\n          Lumeno KB-");
    delete[] small;
    CHECK_FALSE(SummaryBuild(NULL, 10, pairs, 1));
    char one[1] = { 'x' };
    CHECK_FALSE(SummaryBuild(one, 1, pairs, 1));
    CHECK(one[0] == '\0');
}

namespace {

std::string Colours(const PercentGlyph* glyphs, int count)
{
    std::string colours;
    for (int i = 0; i < count; ++i)
        colours += glyphs[i].white ? 'W' : 'b';
    return colours;
}

} // namespace

TEST_CASE("percentage: the last digit ends at the centre, '%' one digit right of it, white where the bar "
          "passes a character's right edge, 100 always white")
{
    PercentGlyph g[4];
    // 200 wide, digits 8 wide each: centre 100.
    REQUIRE(PercentLayout(57, 200, 16, g, 4) == 3);
    CHECK(g[0].ch == '5');
    CHECK(g[1].ch == '7');
    CHECK(g[2].ch == '%');
    CHECK(g[0].left == 84);
    CHECK(g[1].left == 92);
    CHECK(g[2].left == 108);
    // Bar end 114: past the digits (right edges 92, 100), not past '%' (116).
    CHECK(PercentBarEnd(57, 200) == 114);
    CHECK(Colours(g, 3) == "WWb");
    // Bar end exactly on a right edge is not beyond it.
    REQUIRE(PercentLayout(50, 200, 16, g, 4) == 3);
    CHECK(Colours(g, 3) == "Wbb");
    REQUIRE(PercentLayout(46, 200, 16, g, 4) == 3);
    CHECK(Colours(g, 3) == "bbb");
    REQUIRE(PercentLayout(0, 200, 8, g, 4) == 2);
    CHECK(g[0].ch == '0');
    CHECK(g[0].left == 92);
    CHECK(g[1].left == 108);
    CHECK(Colours(g, 2) == "bb");

    // 100 in a control too narrow for its sign to sit on the bar: the digits stay white.
    REQUIRE(PercentLayout(100, 30, 30, g, 4) == 4);
    CHECK(std::string({ g[0].ch, g[1].ch, g[2].ch, g[3].ch }) == "100%");
    CHECK(g[0].left == -15);
    CHECK(g[3].left == 25);
    CHECK(Colours(g, 4) == "WWWb");
    REQUIRE(PercentLayout(100, 200, 24, g, 4) == 4);
    CHECK(Colours(g, 4) == "WWWW");

    // Out of range is held to 0..100; no room, no glyphs.
    CHECK(PercentLayout(250, 200, 24, g, 4) == 4);
    CHECK(PercentLayout(-5, 200, 8, g, 4) == 2);
    CHECK(PercentBarEnd(250, 200) == 200);
    CHECK(PercentBarEnd(-1, 200) == 0);
    CHECK(PercentBarEnd(50, -4) == 0);
    CHECK(PercentLayout(100, 200, 24, g, 3) == 0);
    CHECK(PercentLayout(5, 200, 24, NULL, 4) == 0);
    // An unmeasured text still gives places, all at the centre.
    REQUIRE(PercentLayout(12, 200, 0, g, 4) == 3);
    CHECK(g[0].left == 100);
}

TEST_CASE("placement: centred in the work area, never over the title band, bottom on the bottom when both "
          "do not fit, the caption never above the work area")
{
    PlaceRect work = { 0, 0, 1024, 738 };
    int x, y;
    WizardPlace(&work, 480, 360, 0, &x, &y);
    CHECK(x == 272);
    CHECK(y == 189);
    WizardPlace(&work, 480, 360, 250, &x, &y);
    CHECK(y == 250);
    // 738 < 400 + 360: the bottom goes to the work area's bottom.
    WizardPlace(&work, 480, 360, 400, &x, &y);
    CHECK(y == 378);
    // A taskbar at the top moves the work area; the centre follows it.
    PlaceRect shifted = { 0, 30, 1024, 768 };
    WizardPlace(&shifted, 480, 360, 0, &x, &y);
    CHECK(y == 219);
    // Taller than the work area: its top stays on screen.
    PlaceRect low = { 0, 0, 640, 300 };
    WizardPlace(&low, 480, 360, 80, &x, &y);
    CHECK(x == 80);
    CHECK(y == 0);
}
