// Feeds arbitrary wininit.ini contents, lines and room to the "[Rename]" edit, in a block
// of exactly that room, and checks that the file's bytes survive around the new line.
#include "wininit.h"

#include <stdint.h>
#include <stdlib.h>
#include <string.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    // First byte: line length; second: extra room. The rest is the file.
    size_t lineLength = data[0] % 40, extra = data[1] % 32;
    data += 2;
    size -= 2;
    if (lineLength > size)
        lineLength = size;
    const char* line = (const char*)data;
    const char* file = (const char*)data + lineLength;
    size_t length = size - lineLength;
    size_t capacity = length + extra + (extra > 16 ? lineLength : 0);
    char* block = (char*)malloc(capacity ? capacity : 1);
    memcpy(block, file, length);
    size_t n = WininitAddRename(block, length, capacity, line, lineLength);
    if (n == 0) {
        if (memcmp(block, file, length) != 0)
            abort();
    } else {
        if (n > capacity || n < length + lineLength || n > length + lineLength + WININIT_SLACK)
            abort();
        // The line is in there whole, and the file's bytes keep their order around it.
        const char* at = NULL;
        for (size_t i = 0; i + lineLength <= n && !at; ++i) {
            if (memcmp(block + i, line, lineLength) == 0)
                at = block + i;
        }
        if (!at || memcmp(block, file, at - block > (long)length ? length : at - block) != 0)
            abort();
    }
    free(block);
    return 0;
}
