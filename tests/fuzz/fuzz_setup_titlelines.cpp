// Arbitrary titles and widths for the title's line break: the lines must lie inside the
// text, line 1 must end before line 2 starts, and widths come from a ruler that varies.
#include "titlelines.h"

#include <stdint.h>
#include <stdlib.h>
#include <string.h>

namespace {

int Ruler(const char* text, int length, void*)
{
    int width = 0;
    for (int i = 0; i < length; ++i)
        width += 1 + ((unsigned char)text[i] & 15);
    return width;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    int clientWidth = (int)data[0] * 4;
    size_t length = size - 1;
    char* text = (char*)malloc(length + 1);
    memcpy(text, data + 1, length);
    text[length] = '\0';
    // Most bytes made blanks or letters, so breaks are found.
    for (size_t i = 0; i < length; ++i)
        text[i] = text[i] & 1 ? ' ' : (char)('a' + ((unsigned char)text[i] >> 4));
    TitleLines lines;
    SplitTitle(text, clientWidth, Ruler, NULL, &lines);
    int n = (int)length;
    if (lines.count < 1 || lines.count > 2 || lines.firstLength < 0 || lines.firstLength > n ||
        lines.secondStart < lines.firstLength || lines.secondStart + lines.secondLength > n ||
        (lines.count == 2 && (lines.secondLength == 0 || text[lines.secondStart] == ' ' ||
                              Ruler(text, lines.firstLength, NULL) + 15 > clientWidth)))
        abort();
    free(text);
    return 0;
}
