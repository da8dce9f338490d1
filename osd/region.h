// Window shapes from one-bit pictures, built in bulk from runs of pixels.
#ifndef QV_OSD_REGION_H
#define QV_OSD_REGION_H

#include <windows.h>

#include "runs.h"

// The region of the rectangles (in banded order); an empty region for none; NULL on failure.
HRGN RegionFromRuns(const RunList* runs);

// The black pixels of `bitmap` (srcWidth x srcHeight) stretched to dstWidth x dstHeight
// and placed at (x0, y0). NULL on failure.
HRGN RegionFromBitmap(HBITMAP bitmap, int x0, int y0, int srcWidth, int srcHeight, int dstWidth, int dstHeight);

// The set bits of a monochrome bitmap of width x height inside the window
// [x0, x1) x [y0, y1), in the bitmap's own coordinates. NULL on failure.
HRGN RegionFromSetBits(HDC dc, HBITMAP bitmap, int width, int height, int x0, int y0, int x1, int y1);

#endif
