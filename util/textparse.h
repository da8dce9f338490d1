// Text parsing shared by QVUtil and setup. No platform header here, so the same code
// is built natively for the sanitizer tests and the fuzzers.
#ifndef QV_TEXTPARSE_H
#define QV_TEXTPARSE_H

#include <stddef.h>

// The system's fixed text buffer: 259 characters and the terminator.
enum { QV_TEXT_SIZE = 260 };

// Bounded copy and append; the result is always terminated (when size > 0).
// Both return 1 when the whole source fitted, 0 when it was cut.
int TextCopy(char* dst, size_t size, const char* src);
int TextAppend(char* dst, size_t size, const char* src);

// Decimal, or hexadecimal after an 'x' anywhere; a-f are passed over in decimal;
// any other character ends the scan. Wraps at 32 bits.
int TextToInteger(const char* text);

// Splits off the first field at `separator`; double quotes group and are removed,
// leading blanks and tabs are skipped. The field is cut to size-1 characters.
// *startOffset gets the field's offset in `text`, or -1 when there is no field.
const char* TextFirstField(const char* text, char* field, size_t size, char separator, int* startOffset);

// Field `number` (from 1): its offset in `text`, or -1.
int TextField(const char* text, int number, char* field, size_t size, char separator);

// Splits a registered shell command into program and arguments (either may be null).
void TextSplitCommand(const char* commandLine, char* program, size_t programSize,
                      char* arguments, size_t argumentsSize);

#endif
