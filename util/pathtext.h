// Path texts read character by character, so that a DBCS trail byte of 0x5C is never taken
// for a backslash. Compiled into each program that needs it (QVUtil, setup, the daemon).
#ifndef QV_PATHTEXT_H
#define QV_PATHTEXT_H

#include <windows.h>

// The last backslash of `path`, or NULL when it has none.
const char* LastBackslash(const char* path);
inline char* LastBackslash(char* path)
{
    return (char*)LastBackslash((const char*)path);
}

#endif
