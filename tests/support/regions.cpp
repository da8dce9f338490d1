// Region helpers for the display tests and the benchmark.
#include "regions.h"

#include <stdio.h>

namespace qvtest {

HRGN WindowRegion(HWND window)
{
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    if (GetWindowRgn(window, region) == ERROR) {
        DeleteObject(region);
        return NULL;
    }
    return region;
}

std::vector<RECT> RegionRects(HRGN region)
{
    std::vector<RECT> rects;
    DWORD size = GetRegionData(region, 0, NULL);
    if (size == 0)
        return rects;
    std::vector<char> buffer(size);
    RGNDATA* data = (RGNDATA*)buffer.data();
    if (GetRegionData(region, size, data) == 0)
        return rects;
    const RECT* r = (const RECT*)data->Buffer;
    rects.assign(r, r + data->rdh.nCount);
    return rects;
}

RECT RegionBox(HRGN region)
{
    RECT box = {0, 0, 0, 0};
    GetRgnBox(region, &box);
    return box;
}

bool RegionEmpty(HRGN region)
{
    RECT box;
    return GetRgnBox(region, &box) == NULLREGION;
}

HRGN RegionPart(HRGN region, int left, int top, int right, int bottom)
{
    HRGN part = CreateRectRgn(left, top, right, bottom);
    CombineRgn(part, part, region, RGN_AND);
    return part;
}

std::string Describe(HRGN region)
{
    RECT box = RegionBox(region);
    char text[128];
    snprintf(text, sizeof(text), "box (%ld,%ld)-(%ld,%ld), %u rects", (long)box.left, (long)box.top,
             (long)box.right, (long)box.bottom, (unsigned)RegionRects(region).size());
    return text;
}

static void AddPixel(HRGN region, int x, int y)
{
    HRGN pixel = CreateRectRgn(x, y, x + 1, y + 1);
    CombineRgn(region, region, pixel, RGN_OR);
    DeleteObject(pixel);
}

HRGN PixelRegionFromBitmap(HBITMAP bitmap, int x0, int y0, int srcWidth, int srcHeight, int dstWidth, int dstHeight)
{
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    HDC source = CreateCompatibleDC(NULL);
    HDC target = CreateCompatibleDC(NULL);
    HBITMAP mono = CreateBitmap(dstWidth, dstHeight, 1, 1, NULL);
    HGDIOBJ oldSource = SelectObject(source, bitmap);
    HGDIOBJ oldTarget = SelectObject(target, mono);
    StretchBlt(target, 0, 0, dstWidth, dstHeight, source, 0, 0, srcWidth, srcHeight, SRCCOPY);
    for (int x = 0; x < dstWidth; ++x)
        for (int y = 0; y < dstHeight; ++y)
            if (GetPixel(target, x, y) == 0)
                AddPixel(region, x0 + x, y0 + y);
    SelectObject(source, oldSource);
    SelectObject(target, oldTarget);
    DeleteObject(mono);
    DeleteDC(target);
    DeleteDC(source);
    return region;
}

} // namespace qvtest
