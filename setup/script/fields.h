// The setup script's value fields: commas split, double quotes group, and names between
// percent signs become directories or "Strings" texts. No platform header here.
#ifndef QV_SETUP_FIELDS_H
#define QV_SETUP_FIELDS_H

#include <stddef.h>

// What the directory macros stand for. Any directory may be null (read as empty).
struct ScriptMacros {
    const char* setupDir;    // %1%
    const char* windowsDir;  // %10%, and the base of %12% %17% %18%
    const char* systemDir;   // %11%
    const char* installDir;  // %99%
    // Any other name: its text in section "Strings", written into `text` (cut to size-1).
    // Null, or no such name: the macro inserts nothing.
    void (*lookup)(void* context, const char* name, char* text, size_t size);
    void* context;
};

// Reads one field of `text` into `field`, cut to size-1 characters. Returns where the
// next field starts, or null when this field was the last of the line (end of text, or
// an unterminated quote or macro).
const char* ScriptReadField(const char* text, char* field, size_t size, const ScriptMacros* macros);

// Field `number` (from 1) of `text`. Returns 1 when the line has that field; otherwise 0
// and `field` is empty.
int ScriptField(const char* text, int number, char* field, size_t size, const ScriptMacros* macros);

#endif
