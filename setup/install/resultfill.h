// The result page's texts carry "%s" where the product name goes, once or more, in each
// language. Filling them is plain text work, kept free of platform headers so that it is
// also built natively for the sanitizer tests and the fuzzer.
#ifndef QV_SETUP_RESULTFILL_H
#define QV_SETUP_RESULTFILL_H

#include <stddef.h>

// Writes `format` into `out` with every "%s" replaced by `name`; any other '%' is copied as
// it is (a translation's percent sign is no format). Always terminated within `size`.
// 1 when the whole text fitted, 0 when it was cut.
int ResultFillName(char* out, size_t size, const char* format, const char* name);

// The buffer size (terminator included) that ResultFillName needs to fit the whole text.
size_t ResultFillSize(const char* format, const char* name);

#endif
