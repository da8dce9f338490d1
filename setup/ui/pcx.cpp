// The PCX reader of the background picture: header, palette and run-length lines into
// the bottom-up rows a device-independent bitmap takes. Every read is held to the file.
#include "pcx.h"

#include <stdlib.h>
#include <string.h>

namespace {

const size_t kHeaderSize = 128;
const size_t kPaletteSize = 768;
const unsigned char kPaletteMarker = 12;

unsigned Word(const unsigned char* p)
{
    return (unsigned)p[0] | (unsigned)p[1] << 8;
}

// Decodes lines from data[pos..end) until the image is full or the data runs out.
void DecodeLines(const unsigned char* data, size_t pos, size_t end, int bytesPerLine, PcxImage* image)
{
    for (int line = 0; line < image->height; ++line) {
        unsigned char* row = image->pixels + (size_t)(image->height - 1 - line) * (size_t)image->rowBytes;
        int n = 0;
        while (n < bytesPerLine) {
            if (pos >= end)
                return;
            unsigned char b = data[pos++];
            if (b < 192) {
                row[n++] = b;
                continue;
            }
            if (pos >= end)
                return;
            unsigned char value = data[pos++];
            // A run past the line's end is cut there; its rest is not carried over.
            for (int count = b & 63; count > 0 && n < bytesPerLine; --count)
                row[n++] = value;
        }
    }
}

} // namespace

int PcxDecode(const unsigned char* data, size_t size, PcxImage* image)
{
    memset(image, 0, sizeof(*image));
    if (!data || size < kHeaderSize || data[0] != 10)
        return 0;
    int bpp = data[3];
    int planes = data[65];
    if (bpp < 1 || bpp > 8 || planes != 1)
        return 0;
    int colours = 1 << bpp;

    long width = (long)Word(data + 8) - (long)Word(data + 4) + 1;
    long height = (long)Word(data + 10) - (long)Word(data + 6) + 1;
    int bytesPerLine = (int)Word(data + 66);
    if (width <= 0 || height <= 0)
        return 0;
    // The bitmap reads rows as wide as the width needs; shorter lines would send it past
    // the buffer.
    unsigned long long needed = ((unsigned long long)width * (unsigned long long)bpp + 31) / 32 * 4;
    unsigned long long rowBytes = ((unsigned long long)bytesPerLine + 3) & ~3ull;
    if (rowBytes < needed || rowBytes * (unsigned long long)height > PCX_MAX_PIXEL_BYTES)
        return 0;

    size_t dataEnd = size;
    if (colours == 16) {
        memcpy(image->palette, data + 16, 48);
    } else {
        if (size < kHeaderSize + kPaletteSize)
            return 0;
        dataEnd = size - kPaletteSize;
        memcpy(image->palette, data + dataEnd, (size_t)colours * 3);
        // The palette's marker byte is no pixel either, when the lines stop short of it.
        if (dataEnd > kHeaderSize && data[dataEnd - 1] == kPaletteMarker)
            --dataEnd;
    }

    image->pixels = (unsigned char*)calloc((size_t)(rowBytes * (unsigned long long)height), 1);
    if (!image->pixels)
        return 0;
    image->width = (int)width;
    image->height = (int)height;
    image->bitsPerPixel = bpp;
    image->xDpi = (int)Word(data + 12);
    image->yDpi = (int)Word(data + 14);
    image->colours = colours;
    image->rowBytes = (int)rowBytes;
    DecodeLines(data, kHeaderSize, dataEnd, bytesPerLine, image);
    return 1;
}

void PcxFree(PcxImage* image)
{
    free(image->pixels);
    image->pixels = NULL;
}
