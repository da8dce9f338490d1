// Region building at 1920 x 1080, both ways: one CombineRgn per pixel, and the display's
// bulk builder (runs of pixels in one ExtCreateRegion). Checks the two shapes are equal
// and prints the time of each and their ratio.
#include "geometry.h"
#include "region.h"
#include "regions.h"

#include <stdio.h>
#include <stdlib.h>

namespace {

const int kWidth = 1920, kHeight = 1080;

double Now()
{
    static LARGE_INTEGER frequency;
    if (!frequency.QuadPart)
        QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return (double)t.QuadPart * 1000.0 / (double)frequency.QuadPart;
}

void AddPixel(HRGN region, int x, int y)
{
    HRGN pixel = CreateRectRgn(x, y, x + 1, y + 1);
    CombineRgn(region, region, pixel, RGN_OR);
    DeleteObject(pixel);
}

void AddRect(HRGN region, int left, int top, int right, int bottom)
{
    HRGN part = CreateRectRgn(left, top, right, bottom);
    CombineRgn(region, region, part, RGN_OR);
    DeleteObject(part);
}

// The full volume bar (32 bars, all lit) with the speaker, pixel by pixel.
HRGN VolumePerPixel(HBITMAP speaker, const VolumeBarLayout& l)
{
    HRGN region = qvtest::PixelRegionFromBitmap(speaker, l.speakerLeft, l.speakerTop, 60, 60, l.speakerWidth, l.speakerHeight);
    for (unsigned i = 0; i < l.drawn; ++i) {
        int x = l.firstBarLeft + l.pitch * (int)i;
        for (int px = x; px < x + l.barWidth; ++px)
            for (int py = l.barTop; py < l.barTop + l.barHeight; ++py)
                AddPixel(region, px, py);
    }
    return region;
}

// The same as the display builds it: the picture in bulk, one rectangle per bar.
HRGN VolumeBulk(HBITMAP speaker, const VolumeBarLayout& l)
{
    HRGN region = RegionFromBitmap(speaker, l.speakerLeft, l.speakerTop, 60, 60, l.speakerWidth, l.speakerHeight);
    for (unsigned i = 0; i < l.drawn; ++i) {
        int x = l.firstBarLeft + l.pitch * (int)i;
        AddRect(region, x, l.barTop, x + l.barWidth, l.barTop + l.barHeight);
    }
    return region;
}

// A 64-pixel line of text, white on black, across a screen-wide monochrome bitmap.
HBITMAP RenderTextLine(HDC dc, int* textHeight)
{
    HBITMAP canvas = CreateBitmap(kWidth, kHeight, 1, 1, NULL);
    LOGFONTA lf = {};
    lf.lfHeight = -64;
    lf.lfWeight = 400;
    lstrcpyA(lf.lfFaceName, "Helvetica");
    HFONT font = CreateFontIndirectA(&lf);
    HGDIOBJ oldBitmap = SelectObject(dc, canvas);
    HGDIOBJ oldFont = SelectObject(dc, font);
    SetBkColor(dc, RGB(0, 0, 0));
    SetTextColor(dc, RGB(255, 255, 255));
    RECT all = {0, 0, kWidth, kHeight};
    FillRect(dc, &all, (HBRUSH)GetStockObject(BLACK_BRUSH));
    const char* text = "The quick brown fox jumps over the lazy dog, 0123456789 times!";
    SIZE size;
    GetTextExtentPoint32A(dc, text, lstrlenA(text), &size);
    *textHeight = size.cy;
    RECT line = {50, 0, kWidth - 50, kHeight - 50};
    DrawTextA(dc, text, -1, &line, DT_RIGHT | DT_BOTTOM | DT_SINGLELINE);
    SelectObject(dc, oldFont);
    SelectObject(dc, oldBitmap);
    DeleteObject(font);
    return canvas;
}

// The text band pixel by pixel from the bitmap's bits, as a DIB scan would do it.
HRGN TextPerPixel(HDC dc, HBITMAP canvas, int top, int bottom)
{
    struct { BITMAPINFOHEADER h; RGBQUAD c[2]; } info = {};
    info.h.biSize = sizeof(info.h);
    info.h.biWidth = kWidth;
    info.h.biHeight = kHeight;
    info.h.biPlanes = 1;
    info.h.biBitCount = 1;
    int stride = (kWidth + 31) / 32 * 4;
    unsigned char* bits = (unsigned char*)malloc((size_t)stride * kHeight);
    GetDIBits(dc, canvas, 0, kHeight, bits, (BITMAPINFO*)&info, DIB_RGB_COLORS);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    for (int y = bottom - 1; y >= top; --y) {
        const unsigned char* row = bits + (size_t)(kHeight - 1 - y) * stride;
        for (int x = 0; x < kWidth; ++x)
            if (row[x / 8] & (0x80 >> (x % 8)))
                AddPixel(region, x, y);
    }
    free(bits);
    return region;
}

struct Result {
    double perPixel, bulk;
    bool equal;
    unsigned rects;
};

template <class Slow, class Fast>
Result Measure(Slow slow, Fast fast)
{
    Result r;
    double t = Now();
    HRGN a = slow();
    r.perPixel = Now() - t;
    // The bulk builder is fast enough to time as the best of several runs.
    r.bulk = 1e9;
    HRGN b = NULL;
    for (int i = 0; i < 20; ++i) {
        if (b)
            DeleteObject(b);
        t = Now();
        b = fast();
        double took = Now() - t;
        if (took < r.bulk)
            r.bulk = took;
    }
    r.equal = a && b && EqualRgn(a, b);
    r.rects = (unsigned)qvtest::RegionRects(b).size();
    DeleteObject(a);
    DeleteObject(b);
    return r;
}

bool Report(const char* name, const Result& r)
{
    double ratio = r.perPixel / (r.bulk > 0 ? r.bulk : 1e-6);
    bool ok = r.equal && ratio >= 20 && r.bulk <= 5.0;
    printf("%-28s per-pixel %9.2f ms  bulk %7.3f ms  ratio %8.1f  %5u rects  regions %s  %s\n", name, r.perPixel,
           r.bulk, ratio, r.rects, r.equal ? "equal" : "DIFFER", ok ? "ok" : "BELOW TARGET");
    return ok;
}

} // namespace

int main()
{
    HMODULE osd = LoadLibraryA("QVOSD.dll");
    HBITMAP speaker = osd ? LoadBitmapA(osd, MAKEINTRESOURCEA(101)) : NULL;
    if (!speaker) {
        printf("cannot load the speaker picture from QVOSD.dll\n");
        return 2;
    }
    printf("screen %dx%d (target: ratio >= 20, bulk <= 5 ms, regions equal)\n", kWidth, kHeight);
    VolumeBarLayout layout;
    LayoutVolumeBar(kWidth, kHeight, 60, 60, 32, &layout);
    bool ok = Report("full volume bar (32 bars)", Measure([&] { return VolumePerPixel(speaker, layout); },
                                                          [&] { return VolumeBulk(speaker, layout); }));

    HDC dc = CreateCompatibleDC(NULL);
    int textHeight = 0;
    HBITMAP canvas = RenderTextLine(dc, &textHeight);
    int bottom = kHeight - 50, top = bottom - textHeight;
    ok = Report("64-pixel text line", Measure([&] { return TextPerPixel(dc, canvas, top, bottom); },
                                              [&] { return RegionFromSetBits(dc, canvas, kWidth, kHeight, 0, top, kWidth, bottom); })) && ok;
    DeleteObject(canvas);
    DeleteDC(dc);
    DeleteObject(speaker);
    FreeLibrary(osd);
    return ok ? 0 : 1;
}
