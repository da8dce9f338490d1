// Feeds arbitrary bytes as a one-bit picture with an arbitrary window and size to the run
// builder: it must never read past the buffer, and its rectangles must stay inside the
// window it was given.
#include "runs.h"

#include <stdint.h>
#include <stdlib.h>
#include <string.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 8)
        return 0;
    BitImage image;
    image.width = data[0] % 200;
    image.height = data[1] % 100;
    image.stride = data[2] % 40;
    image.bottomUp = data[3] & 1;
    int x0 = (int8_t)data[4], y0 = (int8_t)data[5], x1 = data[6], y1 = data[7];
    // The picture in an allocation of its own, so any overrun is caught.
    image.size = size - 8;
    unsigned char* bits = (unsigned char*)malloc(image.size ? image.size : 1);
    memcpy(bits, data + 8, image.size);
    image.bits = bits;
    RunList list;
    RunListInit(&list);
    CollectRuns(&image, data[3] >> 1 & 1, x0, y0, x1, y1, 3, -7, &list);
    for (size_t i = 0; i < list.count; ++i) {
        const RunRect& r = list.rects[i];
        if (r.left >= r.right || r.top >= r.bottom || r.left - 3 < 0 || r.top + 7 < 0 ||
            r.right - 3 > x1 || r.bottom + 7 > y1 || r.right - 3 > image.width || r.bottom + 7 > image.height)
            abort();
    }
    RunListFree(&list);
    free(bits);
    return 0;
}
