// Product name into the result page's texts, bounded by the caller's buffer.
#include "resultfill.h"

int ResultFillName(char* out, size_t size, const char* format, const char* name)
{
    if (!out || !size)
        return 0;
    size_t used = 0;
    const char* p = format ? format : "";
    const char* insert = name ? name : "";
    while (*p) {
        const char* piece = p;
        size_t length = 1;
        if (p[0] == '%' && p[1] == 's') {
            piece = insert;
            length = 0;
            while (piece[length])
                ++length;
            p += 2;
        } else {
            ++p;
        }
        for (size_t i = 0; i < length; ++i) {
            if (used + 1 >= size) {
                out[used] = '\0';
                return 0;
            }
            out[used++] = piece[i];
        }
    }
    out[used] = '\0';
    return 1;
}

size_t ResultFillSize(const char* format, const char* name)
{
    size_t nameLength = 0;
    while (name && name[nameLength])
        ++nameLength;
    size_t size = 1;
    for (const char* p = format ? format : ""; *p;) {
        if (p[0] == '%' && p[1] == 's') {
            size += nameLength;
            p += 2;
        } else {
            ++size;
            ++p;
        }
    }
    return size;
}
