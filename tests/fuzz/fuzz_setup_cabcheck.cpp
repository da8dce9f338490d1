// Feeds arbitrary files to the cabinet check: every offset the file names must be held to
// its size, so no input reads outside it, and the answer is always 0 or 1.
#include "cabcheck.h"

#include <stdint.h>
#include <stdlib.h>
#include <string.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The header's size field set to the input's, so the walk gets past it often.
    unsigned char* copy = (unsigned char*)malloc(size ? size : 1);
    if (size)
        memcpy(copy, data, size);
    if (size >= 12) {
        memcpy(copy, "MSCF", 4);
        copy[8] = (unsigned char)size;
        copy[9] = (unsigned char)(size >> 8);
        copy[10] = (unsigned char)(size >> 16);
        copy[11] = (unsigned char)(size >> 24);
    }
    int whole = CabinetIsWhole(copy, size);
    if (whole != 0 && whole != 1)
        abort();
    free(copy);
    return 0;
}
