// Windows 95 deletes files at its next start from "NUL=path" lines in the "[Rename]"
// section of wininit.ini. The edit reuses the installer's; no platform header here, so it
// is also built natively for the sanitizer tests and the fuzzer.
#ifndef QV_UNINST_LATERDELETE_H
#define QV_UNINST_LATERDELETE_H

#include <stddef.h>

// Room an edit may need beyond the file: the line and the section header.
enum { UNINST_WININIT_ROOM = 4 + 260 + 2 + 12 };

// Puts "NUL=path" first in the "[Rename]" section of the `length` bytes at `content`
// (adding the section when there is none), writing nothing past `capacity`. The new
// length, or 0 when it does not fit or `path` is empty (the content is then unchanged).
size_t UninstWininitDelete(char* content, size_t length, size_t capacity, const char* path);

#endif
