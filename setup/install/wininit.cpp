// The "[Rename]" edit of wininit.ini: the newest line goes first in the section, so the
// last replacement scheduled is the first carried out.
#include "wininit.h"

#include <string.h>

namespace {

const char kHeader[] = "[Rename]\r\n";
const size_t kHeaderLength = sizeof(kHeader) - 1;

char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? (char)(c - 'A' + 'a') : c;
}

// Finds the first "[Rename]\r\n" and gives the offset just past it. The system reads
// section names in any case, and a second section of the same name would be ignored.
bool FindHeaderEnd(const char* content, size_t length, size_t* end)
{
    for (size_t at = 0; at + kHeaderLength <= length; ++at) {
        size_t i = 0;
        while (i < kHeaderLength && Lower(content[at + i]) == Lower(kHeader[i]))
            ++i;
        if (i == kHeaderLength) {
            *end = at + kHeaderLength;
            return true;
        }
    }
    return false;
}

} // namespace

size_t WininitRenameLine(char* line, size_t size, const char* target, const char* substitute)
{
    size_t targetLength = strlen(target), substituteLength = strlen(substitute);
    size_t total = targetLength + 1 + substituteLength + 2;
    if (size == 0)
        return 0;
    if (total >= size) {
        line[0] = '\0';
        return 0;
    }
    memcpy(line, target, targetLength);
    line[targetLength] = '=';
    memcpy(line + targetLength + 1, substitute, substituteLength);
    memcpy(line + total - 2, "\r\n", 3);
    return total;
}

size_t WininitAddRename(char* content, size_t length, size_t capacity, const char* line, size_t lineLength)
{
    if (length > capacity || lineLength == 0)
        return 0;
    size_t at;
    if (FindHeaderEnd(content, length, &at)) {
        if (lineLength > capacity - length)
            return 0;
        memmove(content + at + lineLength, content + at, length - at);
        memcpy(content + at, line, lineLength);
        return length + lineLength;
    }
    // A header glued to a last line without its line end would be no section at all.
    size_t lineEnd = length > 0 && content[length - 1] != '\n' ? 2 : 0;
    size_t added = lineEnd + kHeaderLength + lineLength;
    if (added < lineLength || added > capacity - length)
        return 0;
    memcpy(content + length, "\r\n", lineEnd);
    memcpy(content + length + lineEnd, kHeader, kHeaderLength);
    memcpy(content + length + lineEnd + kHeaderLength, line, lineLength);
    return length + added;
}
