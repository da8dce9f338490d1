// Windows 95 replaces files in use at its next start from the "[Rename]" section of
// wininit.ini. This edits that file's bytes in memory; no platform header, so it is also
// built natively for the sanitizer tests and the fuzzer.
#ifndef QV_SETUP_WININIT_H
#define QV_SETUP_WININIT_H

#include <stddef.h>

// Room for "target=substitute\r\n" of two 260-byte paths.
enum { WININIT_LINE_SIZE = 2 * 260 + 4 };

// Room beyond the file and the line that an edit may need: the section header and, when the
// file's last line has no line end, one for it.
enum { WININIT_SLACK = 12 };

// Writes "target=substitute\r\n" into `line`. Its length, or 0 (and an empty line) when it
// does not fit `size`.
size_t WininitRenameLine(char* line, size_t size, const char* target, const char* substitute);

// Puts `line` first in the "[Rename]" section of the `length` bytes at `content`, or appends
// the section with the line when there is none. Nothing is written past `capacity` bytes.
// The new length, or 0 when the result would not fit (the content is then unchanged).
size_t WininitAddRename(char* content, size_t length, size_t capacity, const char* line, size_t lineLength);

#endif
