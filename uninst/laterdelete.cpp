// See laterdelete.h.
#include "laterdelete.h"

#include "wininit.h"

size_t UninstWininitDelete(char* content, size_t length, size_t capacity, const char* path)
{
    char line[WININIT_LINE_SIZE];
    if (!path[0])
        return 0;
    size_t lineLength = WininitRenameLine(line, sizeof(line), "NUL", path);
    if (!lineLength)
        return 0;
    return WininitAddRename(content, length, capacity, line, lineLength);
}
