// Window shapes from one-bit pictures. A union per pixel costs seconds for a line of
// large text; reading the bits once and handing the runs over in one call does not.
#include "region.h"

#include <stdlib.h>
#include <string.h>

namespace {

struct MonoInfo {
    BITMAPINFOHEADER header;
    RGBQUAD colors[2];
};

// Reads rows [top, top + rows) of a monochrome bitmap as a bottom-up one-bit DIB of
// `rows` rows; the caller frees the bits. Reading only the rows needed is what keeps a
// screen-sized canvas cheap.
unsigned char* ReadMonoBits(HDC dc, HBITMAP bitmap, int width, int height, int top, int rows, MonoInfo* info, size_t* size)
{
    ZeroMemory(info, sizeof(*info));
    info->header.biSize = sizeof(info->header);
    info->header.biWidth = width;
    info->header.biHeight = height;
    info->header.biPlanes = 1;
    info->header.biBitCount = 1;
    info->header.biCompression = BI_RGB;
    size_t stride = ((size_t)width + 31) / 32 * 4;
    *size = stride * (size_t)rows;
    unsigned char* bits = (unsigned char*)malloc(*size ? *size : 1);
    if (!bits)
        return NULL;
    UINT firstScan = (UINT)(height - (top + rows)); // scan 0 is the bottom row
    if (GetDIBits(dc, bitmap, firstScan, (UINT)rows, bits, (BITMAPINFO*)info, DIB_RGB_COLORS) != rows) {
        free(bits);
        return NULL;
    }
    return bits;
}

BitImage ImageOf(const unsigned char* bits, size_t size, int width, int height)
{
    BitImage image;
    image.bits = bits;
    image.size = size;
    image.width = width;
    image.height = height;
    image.stride = ((size_t)width + 31) / 32 * 4;
    image.bottomUp = 1;
    return image;
}

bool IsBlack(const RGBQUAD& c)
{
    return c.rgbRed == 0 && c.rgbGreen == 0 && c.rgbBlue == 0;
}

} // namespace

HRGN RegionFromRuns(const RunList* runs)
{
    if (runs->failed)
        return NULL;
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    if (!region || runs->count == 0)
        return region;
    // Wine's ExtCreateRegion unites its rectangles one by one, which grows with the square
    // of their number; one call per band, appended below the bands before, does not.
    RGNDATA* data = (RGNDATA*)malloc(sizeof(RGNDATAHEADER) + runs->count * sizeof(RECT));
    if (!data) {
        DeleteObject(region);
        return NULL;
    }
    for (size_t first = 0; first < runs->count && region;) {
        size_t end = first;
        RECT* rects = (RECT*)data->Buffer;
        const RunRect& head = runs->rects[first];
        while (end < runs->count && runs->rects[end].top == head.top) {
            const RunRect& r = runs->rects[end];
            SetRect(&rects[end - first], r.left, r.top, r.right, r.bottom);
            ++end;
        }
        DWORD count = (DWORD)(end - first);
        data->rdh.dwSize = sizeof(RGNDATAHEADER);
        data->rdh.iType = RDH_RECTANGLES;
        data->rdh.nCount = count;
        data->rdh.nRgnSize = count * sizeof(RECT);
        SetRect(&data->rdh.rcBound, rects[0].left, head.top, rects[count - 1].right, head.bottom);
        HRGN band = ExtCreateRegion(NULL, (DWORD)(sizeof(RGNDATAHEADER) + count * sizeof(RECT)), data);
        if (!band || CombineRgn(region, region, band, RGN_OR) == ERROR) {
            DeleteObject(region);
            region = NULL;
        }
        if (band)
            DeleteObject(band);
        first = end;
    }
    free(data);
    return region;
}

HRGN RegionFromBitmap(HBITMAP bitmap, int x0, int y0, int srcWidth, int srcHeight, int dstWidth, int dstHeight)
{
    if (dstWidth <= 0 || dstHeight <= 0)
        return CreateRectRgn(0, 0, 0, 0);
    HRGN region = NULL;
    HDC source = CreateCompatibleDC(NULL);
    HDC target = CreateCompatibleDC(NULL);
    HBITMAP mono = CreateBitmap(dstWidth, dstHeight, 1, 1, NULL);
    if (source && target && mono) {
        HGDIOBJ oldSource = SelectObject(source, bitmap);
        HGDIOBJ oldTarget = SelectObject(target, mono);
        StretchBlt(target, 0, 0, dstWidth, dstHeight, source, 0, 0, srcWidth, srcHeight, SRCCOPY);
        SelectObject(source, oldSource);
        SelectObject(target, oldTarget);

        MonoInfo info;
        size_t size;
        unsigned char* bits = ReadMonoBits(target, mono, dstWidth, dstHeight, 0, dstHeight, &info, &size);
        if (bits) {
            BitImage image = ImageOf(bits, size, dstWidth, dstHeight);
            RunList runs;
            RunListInit(&runs);
            int black = IsBlack(info.colors[0]) ? 0 : 1;
            if (CollectRuns(&image, black, 0, 0, dstWidth, dstHeight, x0, y0, &runs))
                region = RegionFromRuns(&runs);
            RunListFree(&runs);
            free(bits);
        }
    }
    if (mono) DeleteObject(mono);
    if (target) DeleteDC(target);
    if (source) DeleteDC(source);
    return region;
}

HRGN RegionFromSetBits(HDC dc, HBITMAP bitmap, int width, int height, int x0, int y0, int x1, int y1)
{
    if (y0 < 0)
        y0 = 0;
    if (y1 > height)
        y1 = height;
    if (width <= 0 || y1 <= y0)
        return CreateRectRgn(0, 0, 0, 0);
    MonoInfo info;
    size_t size;
    unsigned char* bits = ReadMonoBits(dc, bitmap, width, height, y0, y1 - y0, &info, &size);
    if (!bits)
        return NULL;
    BitImage image = ImageOf(bits, size, width, y1 - y0);
    RunList runs;
    RunListInit(&runs);
    HRGN region = NULL;
    if (CollectRuns(&image, 1, x0, 0, x1, y1 - y0, 0, y0, &runs))
        region = RegionFromRuns(&runs);
    RunListFree(&runs);
    free(bits);
    return region;
}
