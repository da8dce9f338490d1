// The background picture's PCX reader, kept apart from the window so that every byte of a
// file the script names can be checked natively and fuzzed. Knows no Windows types.
#ifndef QV_SETUP_PCX_H
#define QV_SETUP_PCX_H

#include <stddef.h>

// Largest pixel buffer a picture may need; a background logo is a few hundred pixels wide.
#define PCX_MAX_PIXEL_BYTES (32u * 1024u * 1024u)

struct PcxImage {
    int width, height;
    int bitsPerPixel;
    int xDpi, yDpi;
    int colours;                   // 2 to the bits per pixel, 2..256
    unsigned char palette[768];    // red, green, blue per colour
    int rowBytes;                  // bytes per line rounded up to 4
    unsigned char* pixels;         // `height` rows of `rowBytes`, bottom row first; malloc'ed
};

// Decodes a whole PCX file. 1 and a filled image (free it with PcxFree), or 0 when the
// file is not a picture this reader shows: not starting with 10, an unsupported colour
// layout, too short for its header or palette, an empty or oversized image, or lines too
// short for the width. Data ending early leaves the rest of the image at colour 0.
int PcxDecode(const unsigned char* data, size_t size, PcxImage* image);
void PcxFree(PcxImage* image);

#endif
