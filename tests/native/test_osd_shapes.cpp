// The display's platform-free parts under the sanitizers: run building against a plain
// pixel walk (the shape must be the same, pixel for pixel), and the geometry at its
// edges: tiny screens, huge bar counts, wild caller rectangles.
#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#include <doctest/doctest.h>

#include "geometry.h"
#include "runs.h"

#include <limits.h>
#include <stdlib.h>

#include <set>
#include <utility>
#include <vector>

namespace {

typedef std::set<std::pair<int, int>> Pixels;

struct Image {
    int width, height;
    size_t stride;
    std::vector<unsigned char> bits;
    Image(int w, int h) : width(w), height(h), stride(((size_t)w + 31) / 32 * 4), bits(stride * h) {}
    // (x, y) with y counted from the top; stored bottom-up like a DIB.
    void Set(int x, int y) { bits[(size_t)(height - 1 - y) * stride + x / 8] |= (unsigned char)(0x80 >> (x % 8)); }
    BitImage View() const { return BitImage{bits.data(), bits.size(), width, height, stride, 1}; }
};

Pixels Walk(const Image& img, int match, int x0, int y0, int x1, int y1, int dx, int dy)
{
    Pixels p;
    for (int y = y0 < 0 ? 0 : y0; y < y1 && y < img.height; ++y)
        for (int x = x0 < 0 ? 0 : x0; x < x1 && x < img.width; ++x) {
            int bit = (img.bits[(size_t)(img.height - 1 - y) * img.stride + x / 8] >> (7 - x % 8)) & 1;
            if (bit == match)
                p.insert({x + dx, y + dy});
        }
    return p;
}

Pixels Covered(const RunList& list)
{
    Pixels p;
    for (size_t i = 0; i < list.count; ++i)
        for (int y = list.rects[i].top; y < list.rects[i].bottom; ++y)
            for (int x = list.rects[i].left; x < list.rects[i].right; ++x)
                CHECK(p.insert({x, y}).second); // no pixel twice: rectangles do not overlap
    return p;
}

// Banded order: bands sorted by top, rectangles of a band share top and bottom and go
// left to right without touching.
void CheckBanded(const RunList& list)
{
    for (size_t i = 1; i < list.count; ++i) {
        const RunRect& a = list.rects[i - 1];
        const RunRect& b = list.rects[i];
        if (a.top == b.top) {
            CHECK(a.bottom == b.bottom);
            CHECK(a.right < b.left);
        } else {
            CHECK(a.bottom <= b.top);
        }
    }
}

} // namespace

TEST_CASE("runs cover exactly the matching pixels, in banded order, for random pictures")
{
    srand(1234);
    for (int round = 0; round < 200; ++round) {
        int w = 1 + rand() % 70, h = 1 + rand() % 40;
        Image img(w, h);
        int density = rand() % 100;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (rand() % 100 < density)
                    img.Set(x, y);
        int match = rand() % 2;
        int x0 = rand() % (w + 10) - 5, x1 = rand() % (w + 10) - 5;
        int y0 = rand() % (h + 10) - 5, y1 = rand() % (h + 10) - 5;
        int dx = rand() % 100 - 50, dy = rand() % 100 - 50;
        BitImage view = img.View();
        RunList list;
        RunListInit(&list);
        REQUIRE(CollectRuns(&view, match, x0, y0, x1, y1, dx, dy, &list));
        CAPTURE(round);
        CHECK(Covered(list) == Walk(img, match, x0, y0, x1, y1, dx, dy));
        CheckBanded(list);
        RunListFree(&list);
    }
}

TEST_CASE("rows with the same runs merge into one band: a filled bar is one rectangle")
{
    Image img(40, 30);
    for (int y = 5; y < 25; ++y)
        for (int x = 10; x < 22; ++x)
            img.Set(x, y);
    BitImage view = img.View();
    RunList list;
    RunListInit(&list);
    CollectRuns(&view, 1, 0, 0, 40, 30, 100, 200, &list);
    REQUIRE(list.count == 1);
    CHECK(list.rects[0].left == 110);
    CHECK(list.rects[0].top == 205);
    CHECK(list.rects[0].right == 122);
    CHECK(list.rects[0].bottom == 225);
    RunListFree(&list);
}

TEST_CASE("a buffer shorter than the image is read only as far as it goes")
{
    Image img(16, 10);
    for (int y = 0; y < 10; ++y)
        img.Set(3, y);
    BitImage view = img.View();
    view.size = img.stride * 4; // only the 4 lowest rows (y 6..9) are there
    RunList list;
    RunListInit(&list);
    CollectRuns(&view, 1, 0, 0, 16, 10, 0, 0, &list);
    REQUIRE(list.count == 1);
    CHECK(list.rects[0].top == 6);
    CHECK(list.rects[0].bottom == 10);
    // A window wider than a row's bytes reads nothing.
    view.size = img.bits.size();
    view.stride = 1;
    RunListFree(&list);
    CollectRuns(&view, 1, 0, 0, 16, 10, 0, 0, &list);
    CHECK(list.count == 0);
    RunListFree(&list);
}

TEST_CASE("reference-screen scaling truncates toward zero")
{
    CHECK(ScaleX(1280, 40) == 50);
    CHECK(ScaleY(1024, 50) == 66);
    CHECK(ScaledFontHeight(1024, -64) == -85);
    CHECK(ScaledFontHeight(768, -64) == -64);
    CHECK(ScaledFontHeight(1080, -64) == -90);
}

TEST_CASE("caller rectangles are rewritten without overflow, whatever their values")
{
    int right = 1240, bottom = 984;
    RewriteMarginRect(1280, 1024, &right, &bottom);
    CHECK(right == 1230);
    CHECK(bottom == 971);
    right = INT_MAX;
    bottom = INT_MIN;
    RewriteMarginRect(1280, 1024, &right, &bottom); // no signed overflow under UBSan
    CHECK(right == INT_MAX);
    CHECK(bottom == INT_MIN);
    right = -5000;
    bottom = -5000;
    RewriteMarginRect(1024, 768, &right, &bottom);
    CHECK(right == -5000); // the reference screen maps every value to itself
    CHECK(bottom == -5000);
}

TEST_CASE("the volume layout stays sane on tiny screens and with huge bar counts")
{
    VolumeBarLayout layout;
    LayoutVolumeBar(1024, 768, 60, 60, 0xFFFFFFFFu, &layout);
    CHECK(layout.pitch == 0);
    CHECK(layout.drawn == 1); // all bars on one spot: bar 0 alone is the same shape
    CHECK(VolumeBarLit(&layout, 0, 1));
    CHECK_FALSE(VolumeBarLit(&layout, 0, 0));
    LayoutVolumeBar(1024, 768, 60, 60, 840, &layout); // exactly one pixel per bar
    CHECK(layout.pitch == 1);
    CHECK(layout.drawn == 840);
    LayoutVolumeBar(1024, 768, 60, 60, 0, &layout);
    CHECK(layout.bars == 32);
    CHECK(layout.drawn == 32);
    CHECK(VolumeBarLit(&layout, 31, 0xFFFF));
    CHECK(VolumeBarLit(&layout, 16, 0x8000));       // 16 * 2047 = 32752
    CHECK_FALSE(VolumeBarLit(&layout, 17, 0x8000)); // 17 * 2047 = 34799
}
