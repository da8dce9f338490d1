// Field splitting and number parsing for command lines, key paths and setup scripts.
// Every write is bounded by the caller's size: these parse text from the registry and
// from scripts, which nobody promises will fit a 260-byte buffer.
#include "textparse.h"

#include <stdlib.h>
#include <string.h>

int TextCopy(char* dst, size_t size, const char* src)
{
    if (size == 0)
        return 0;
    dst[0] = '\0';
    return TextAppend(dst, size, src);
}

int TextAppend(char* dst, size_t size, const char* src)
{
    if (size == 0)
        return 0;
    size_t used = strnlen(dst, size - 1);
    size_t room = size - 1 - used;
    size_t len = strlen(src);
    size_t n = len < room ? len : room;
    memcpy(dst + used, src, n);
    dst[used + n] = '\0';
    return n == len;
}

int TextToInteger(const char* text)
{
    unsigned base = 10;
    unsigned value = 0;
    for (const char* p = text; *p; ++p) {
        char c = *p;
        if (c >= '0' && c <= '9') {
            value = value * base + (unsigned)(c - '0');
        } else if ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F')) {
            if (base == 16)
                value = value * 16 + (unsigned)((c | 0x20) - 'a' + 10);
        } else if (c == 'x' || c == 'X') {
            base = 16;
            value = 0;
        } else {
            break;
        }
    }
    return (int)value;
}

const char* TextFirstField(const char* text, char* field, size_t size, char separator, int* startOffset)
{
    if (field && size)
        field[0] = '\0';
    int start = -1;
    size_t copied = 0;  // characters of the field, also those cut off
    bool quoted = false;
    const char* p = text;
    for (; *p; ++p) {
        char c = *p;
        if ((c == ' ' || c == '\t') && copied == 0 && !quoted)
            continue;
        if (c == '"') {
            quoted = !quoted;
            if (start < 0)
                start = (int)(p - text);
            continue;
        }
        if (c == separator && !quoted) {
            if (start < 0)
                start = 0;
            ++p;
            break;
        }
        if (copied == 0 && start < 0)
            start = (int)(p - text);
        if (field && size && copied < size - 1)
            field[copied] = c;
        ++copied;
    }
    if (field && size)
        field[copied < size - 1 ? copied : size - 1] = '\0';
    if (startOffset)
        *startOffset = start;
    return p;
}

int TextField(const char* text, int number, char* field, size_t size, char separator)
{
    if (number < 1)
        return -1;
    const char* rest = text;
    const char* last = text;
    int start = -1;
    for (int i = 0; i < number; ++i) {
        last = rest;
        rest = TextFirstField(rest, field, size, separator, &start);
        if (start < 0)
            return -1;
    }
    return (int)(last - text) + start;
}

static int FieldHasBackslash(const char* commandLine, int number, char* work, size_t size)
{
    return TextField(commandLine, number, work, size, ' ') >= 0 && strchr(work, '\\') != NULL;
}

void TextSplitCommand(const char* commandLine, char* program, size_t programSize,
                      char* arguments, size_t argumentsSize)
{
    // The work area holds any field whole, so a backslash past 259 characters still counts.
    size_t len = strlen(commandLine);
    char* work = (char*)malloc(len + 1);
    int count = 1;
    if (work) {
        while (FieldHasBackslash(commandLine, count + 1, work, len + 1))
            ++count;
    }
    free(work);

    int next = TextField(commandLine, count + 1, NULL, 0, ' ');
    if (program && programSize) {
        program[0] = '\0';
        if (count == 1) {
            TextField(commandLine, 1, program, programSize, ' ');
        } else if (next >= 0) {
            size_t n = (size_t)next;
            while (n > 0 && commandLine[n - 1] == ' ')
                --n;
            if (n > programSize - 1)
                n = programSize - 1;
            memcpy(program, commandLine, n);
            program[n] = '\0';
        } else {
            TextCopy(program, programSize, commandLine);
        }
    }
    if (arguments && argumentsSize) {
        arguments[0] = '\0';
        if (next >= 0)
            TextCopy(arguments, argumentsSize, commandLine + next);
    }
}
