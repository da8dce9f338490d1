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

// Reads a monochrome bitmap as a bottom-up one-bit DIB; the caller frees the bits.
unsigned char* ReadMonoBits(HDC dc, HBITMAP bitmap, int width, int height, MonoInfo* info, size_t* size)
{
    ZeroMemory(info, sizeof(*info));
    info->header.biSize = sizeof(info->header);
    info->header.biWidth = width;
    info->header.biHeight = height;
    info->header.biPlanes = 1;
    info->header.biBitCount = 1;
    info->header.biCompression = BI_RGB;
    size_t stride = ((size_t)width + 31) / 32 * 4;
    *size = stride * (size_t)height;
    unsigned char* bits = (unsigned char*)malloc(*size ? *size : 1);
    if (!bits)
        return NULL;
    if (GetDIBits(dc, bitmap, 0, (UINT)height, bits, (BITMAPINFO*)info, DIB_RGB_COLORS) != height) {
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
    if (runs->count == 0)
        return CreateRectRgn(0, 0, 0, 0);
    size_t bytes = sizeof(RGNDATAHEADER) + runs->count * sizeof(RECT);
    RGNDATA* data = (RGNDATA*)malloc(bytes);
    if (!data)
        return NULL;
    RECT* rects = (RECT*)data->Buffer;
    RECT bound = {runs->rects[0].left, runs->rects[0].top, runs->rects[0].right, runs->rects[0].bottom};
    for (size_t i = 0; i < runs->count; ++i) {
        const RunRect& r = runs->rects[i];
        SetRect(&rects[i], r.left, r.top, r.right, r.bottom);
        if (r.left < bound.left) bound.left = r.left;
        if (r.top < bound.top) bound.top = r.top;
        if (r.right > bound.right) bound.right = r.right;
        if (r.bottom > bound.bottom) bound.bottom = r.bottom;
    }
    data->rdh.dwSize = sizeof(RGNDATAHEADER);
    data->rdh.iType = RDH_RECTANGLES;
    data->rdh.nCount = (DWORD)runs->count;
    data->rdh.nRgnSize = (DWORD)(runs->count * sizeof(RECT));
    data->rdh.rcBound = bound;
    HRGN region = ExtCreateRegion(NULL, (DWORD)bytes, data);
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
        unsigned char* bits = ReadMonoBits(target, mono, dstWidth, dstHeight, &info, &size);
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
    if (width <= 0 || height <= 0)
        return CreateRectRgn(0, 0, 0, 0);
    MonoInfo info;
    size_t size;
    unsigned char* bits = ReadMonoBits(dc, bitmap, width, height, &info, &size);
    if (!bits)
        return NULL;
    BitImage image = ImageOf(bits, size, width, height);
    RunList runs;
    RunListInit(&runs);
    HRGN region = NULL;
    if (CollectRuns(&image, 1, x0, y0, x1, y1, 0, 0, &runs))
        region = RegionFromRuns(&runs);
    RunListFree(&runs);
    free(bits);
    return region;
}
