// Feeds arbitrary files to the background picture's reader: no input may read outside
// the file or the rows, and an accepted picture's rows must hold its whole width.
#include "pcx.h"

#include <stdint.h>
#include <stdlib.h>
#include <string.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The first byte set to 10 and one plane most of the time, so the decoder is reached.
    unsigned char* copy = (unsigned char*)malloc(size ? size : 1);
    if (size)
        memcpy(copy, data, size);
    if (size > 65 && (copy[1] & 1)) {
        copy[0] = 10;
        copy[65] = 1;
    }
    PcxImage image;
    if (PcxDecode(copy, size, &image)) {
        if (image.width <= 0 || image.height <= 0 || image.colours < 2 || image.colours > 256 ||
            (long long)image.rowBytes * 8 < (long long)image.width * image.bitsPerPixel)
            abort();
        // Touch every pixel byte: the buffer must be as large as the image says.
        unsigned sum = 0;
        for (size_t i = 0; i < (size_t)image.rowBytes * (size_t)image.height; ++i)
            sum += image.pixels[i];
        if (sum == 0xFFFFFFFFu)
            abort();
        PcxFree(&image);
    }
    free(copy);
    return 0;
}
