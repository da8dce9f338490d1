// See pathtext.h.
#include "pathtext.h"

const char* LastBackslash(const char* path)
{
    const char* last = NULL;
    for (const char* p = path; *p; p = CharNextA(p)) {
        if (*p == '\\')
            last = p;
    }
    return last;
}
