// A version text ("5.00.2614.3500", "4, 0, 0, 1") made into the two numbers of a
// file version. No platform header here: built natively for the sanitizer tests too.
#ifndef QV_VERSIONTEXT_H
#define QV_VERSIONTEXT_H

#include <stdint.h>

// Leading blanks, a sign, then digits, like the C library's atoi; saturates at the
// 32-bit limits instead of overflowing. Text without leading digits is 0.
int32_t VersionDecimal(const char* text);

// Up to four components ended by a comma, a point or the end, blanks dropped, each read
// by VersionDecimal; missing components 0.
void VersionTextToParts(const char* text, int32_t parts[4]);

// The same components as two numbers: high = first * 65536 + second, low = third *
// 65536 + fourth, unchecked, so a component above 65535 runs into its neighbour's bits.
void VersionTextToNumbers(const char* text, uint32_t* high, uint32_t* low);

#endif
