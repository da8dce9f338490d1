// Reader of "Add Registry" lines. Kept free of Windows so that it is fuzzed with the
// field reader it stands on.
#include "regline.h"

#include <string.h>

namespace {

bool SameWord(const char* a, const char* b)
{
    for (; *a && *b; ++a, ++b) {
        char x = (char)(*a >= 'a' && *a <= 'z' ? *a - 32 : *a);
        if (x != *b)
            return false;
    }
    return *a == *b;
}

// Hexadecimal digits up to the first other character; the low 8 bits count.
unsigned char HexByte(const char* text)
{
    unsigned value = 0;
    for (const char* p = text;; ++p) {
        char c = *p;
        unsigned digit;
        if (c >= '0' && c <= '9')
            digit = (unsigned)(c - '0');
        else if (c >= 'a' && c <= 'f')
            digit = (unsigned)(c - 'a' + 10);
        else if (c >= 'A' && c <= 'F')
            digit = (unsigned)(c - 'A' + 10);
        else
            break;
        value = (value * 16 + digit) & 0xFF;
    }
    return (unsigned char)value;
}

} // namespace

void RegLineRead(const char* value, const ScriptMacros* macros, RegLine* line)
{
    memset(line, 0, sizeof(*line));
    line->kind = REGLINE_KEY_ONLY;

    char field[QV_TEXT_SIZE];
    const char* rest = ScriptReadField(value, field, sizeof(field), macros);
    if (SameWord(field, "HKLM"))
        line->root = REGLINE_HKLM;
    else if (SameWord(field, "HKCU"))
        line->root = REGLINE_HKCU;
    else if (SameWord(field, "HKCR"))
        line->root = REGLINE_HKCR;
    else
        line->root = REGLINE_HKU;
    if (!rest)
        return;
    rest = ScriptReadField(rest, line->subKey, sizeof(line->subKey), macros);
    if (!rest)
        return;
    rest = ScriptReadField(rest, line->valueName, sizeof(line->valueName), macros);
    line->kind = REGLINE_TEXT;
    if (!rest)
        return;
    rest = ScriptReadField(rest, field, sizeof(field), macros);
    bool isText = field[0] == '\0' || strcmp(field, "0") == 0;
    if (isText) {
        if (rest)
            ScriptReadField(rest, line->text, sizeof(line->text), macros);
        return;
    }
    while (rest && line->byteCount < REGLINE_MAX_BYTES) {
        rest = ScriptReadField(rest, field, sizeof(field), macros);
        line->bytes[line->byteCount++] = HexByte(field);
    }
    if (line->byteCount >= 2) {
        line->kind = REGLINE_BINARY;
    } else {
        line->kind = REGLINE_DWORD;
        line->number = line->byteCount ? (uint32_t)(int32_t)(signed char)line->bytes[0] : 0;
    }
}
