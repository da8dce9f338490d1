// Substitute names for destinations in use, kept apart from the copy loop so that the
// sanitizer tests and the fuzzer reach them without Windows.
#include "copyname.h"

#include <string.h>

int SubstituteName(char* out, size_t size, const char* destination, int digit)
{
    if (!out || size == 0)
        return 0;
    out[0] = '\0';
    if (!destination || digit < 0 || digit > 9)
        return 0;
    size_t length = strlen(destination);
    size_t nameStart = 0;
    for (size_t i = 0; i < length; ++i)
        if (destination[i] == '\\' || destination[i] == '/' || destination[i] == ':')
            nameStart = i + 1;
    size_t keep = length;
    bool addDot = true;
    for (size_t i = length; i > nameStart; --i) {
        if (destination[i - 1] == '.') {
            keep = i;
            addDot = false;
            break;
        }
    }
    size_t needed = keep + (addDot ? 1 : 0) + 2;  // the digit and the terminator
    if (needed > size)
        return 0;
    memcpy(out, destination, keep);
    size_t n = keep;
    if (addDot)
        out[n++] = '.';
    out[n++] = (char)('0' + digit);
    out[n] = '\0';
    return 1;
}
