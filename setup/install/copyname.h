// The name of the numbered substitute written beside a destination in use. No platform
// header here: built natively for the sanitizer tests and the fuzzer too.
#ifndef QV_SETUP_COPYNAME_H
#define QV_SETUP_COPYNAME_H

#include <stddef.h>

// The destination cut after the last dot of its file name, with `digit` (0-9) appended:
// "C:\dir\driver.dll" gives "C:\dir\driver.0". A file name without a dot gets a dot and the
// digit ("C:\v1.2\driver" gives "C:\v1.2\driver.0"), never a cut in a directory's name.
// 0 (and an empty text) when it does not fit `size`.
int SubstituteName(char* out, size_t size, const char* destination, int digit);

#endif
