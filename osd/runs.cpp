// Run building for region shapes; see runs.h for why it stands alone.
#include "runs.h"

#include <stdlib.h>
#include <string.h>

void RunListInit(RunList* list)
{
    list->rects = NULL;
    list->count = list->capacity = 0;
    list->failed = 0;
}

void RunListFree(RunList* list)
{
    free(list->rects);
    RunListInit(list);
}

static int Push(RunList* list, int left, int top, int right, int bottom)
{
    if (list->count == list->capacity) {
        size_t capacity = list->capacity ? list->capacity * 2 : 64;
        RunRect* grown = (RunRect*)realloc(list->rects, capacity * sizeof(RunRect));
        if (!grown) {
            list->failed = 1;
            return 0;
        }
        list->rects = grown;
        list->capacity = capacity;
    }
    RunRect* r = &list->rects[list->count++];
    r->left = left;
    r->top = top;
    r->right = right;
    r->bottom = bottom;
    return 1;
}

static int Bit(const unsigned char* row, int x)
{
    return (row[x >> 3] >> (7 - (x & 7))) & 1;
}

int CollectRuns(const BitImage* image, int match, int x0, int y0, int x1, int y1,
                int dx, int dy, RunList* list)
{
    if (x0 < 0) x0 = 0;
    if (y0 < 0) y0 = 0;
    if (x1 > image->width) x1 = image->width;
    if (y1 > image->height) y1 = image->height;
    // Rows beyond what the buffer holds are left out rather than read.
    if (image->stride == 0 || (size_t)(x1 + 7) / 8 > image->stride)
        return 1;
    size_t rows = image->size / image->stride;
    match = match ? 1 : 0;

    size_t bandStart = list->count; // the current band's rectangles
    size_t bandCount = 0;
    for (int y = y0; y < y1; ++y) {
        size_t index = image->bottomUp ? (size_t)(image->height - 1 - y) : (size_t)y;
        if (index >= rows)
            continue;
        const unsigned char* row = image->bits + index * image->stride;
        size_t rowStart = list->count;
        for (int x = x0; x < x1;) {
            if (Bit(row, x) != match) {
                ++x;
                continue;
            }
            int start = x;
            while (x < x1 && Bit(row, x) == match)
                ++x;
            if (!Push(list, start + dx, y + dy, x + dx, y + dy + 1))
                return 0;
        }
        size_t rowCount = list->count - rowStart;
        // The row continues the band above when its runs are the same and it touches it.
        bool same = rowCount > 0 && rowCount == bandCount && bandCount > 0 &&
                    list->rects[bandStart].bottom == y + dy;
        for (size_t i = 0; same && i < rowCount; ++i) {
            same = list->rects[bandStart + i].left == list->rects[rowStart + i].left &&
                   list->rects[bandStart + i].right == list->rects[rowStart + i].right;
        }
        if (same) {
            for (size_t i = 0; i < bandCount; ++i)
                list->rects[bandStart + i].bottom = y + dy + 1;
            list->count = rowStart;
        } else {
            bandStart = rowStart;
            bandCount = rowCount;
        }
    }
    return 1;
}
