// Region helpers for the display tests and the benchmark: a window's shape as
// rectangles, and the pixel-by-pixel region of a picture to compare shapes against.
#ifndef QV_TEST_REGIONS_H
#define QV_TEST_REGIONS_H

#include <windows.h>

#include <string>
#include <vector>

namespace qvtest {

// The window's region (a copy the caller deletes), or NULL when it has none.
HRGN WindowRegion(HWND window);
std::vector<RECT> RegionRects(HRGN region);
RECT RegionBox(HRGN region);
bool RegionEmpty(HRGN region);
// `region` restricted to a rectangle (a new region).
HRGN RegionPart(HRGN region, int left, int top, int right, int bottom);
std::string Describe(HRGN region);

// The black pixels of `bitmap` stretched to dstWidth x dstHeight at (x0, y0), one
// CombineRgn per pixel read with GetPixel: the slow, plain way to the same shape.
HRGN PixelRegionFromBitmap(HBITMAP bitmap, int x0, int y0, int srcWidth, int srcHeight, int dstWidth, int dstHeight);

} // namespace qvtest

#endif
