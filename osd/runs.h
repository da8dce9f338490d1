// Turns a one-bit picture into the rectangles of its matching pixels: runs along each
// row, rows with the same runs merged into one band. The result is in the banded order
// a region is kept in, so a region built from it is the pixel-by-pixel region, built in
// bulk. No platform header: built natively for the sanitizer tests and the fuzzer.
#ifndef QV_OSD_RUNS_H
#define QV_OSD_RUNS_H

#include <stddef.h>

struct RunRect {
    int left, top, right, bottom;
};

// A one-bit image as a device-independent bitmap holds it: rows of `stride` bytes,
// bit 0x80 >> (x % 8) of byte x / 8; bottom-up means the first row is the lowest.
struct BitImage {
    const unsigned char* bits;
    size_t size;   // bytes readable at `bits`
    int width, height;
    size_t stride;
    int bottomUp;
};

struct RunList {
    RunRect* rects;
    size_t count, capacity;
    int failed;    // an allocation failed; the list is incomplete
};

void RunListInit(RunList* list);
void RunListFree(RunList* list);

// Appends the pixels whose bit equals `match` (0 or 1) inside the window [x0, x1) x
// [y0, y1) of the image (clipped to it), moved by (dx, dy). Returns 0 on allocation
// failure. Call once per list: the bands of two calls are not merged with each other.
int CollectRuns(const BitImage* image, int match, int x0, int y0, int x1, int y1,
                int dx, int dy, RunList* list);

#endif
