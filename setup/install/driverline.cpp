// The installer's own splitter for "Update Driver" values and the preload texts built
// from them. The script is anyone's to edit: every write is bounded, every scan ends at
// the text's end.
#include "driverline.h"

#include <string.h>

const char* DriverLineField(const char* text, char* field, size_t size, int* present)
{
    if (field && size)
        field[0] = '\0';
    bool started = false;
    size_t copied = 0;  // also the characters cut off
    bool quoted = false;
    const char* p = text;
    for (; *p; ++p) {
        char c = *p;
        if ((c == ' ' || c == '\t') && copied == 0 && !quoted)
            continue;
        if (c == '"') {
            // Unlike the library's splitter, a quote does not start a field: a line that
            // ends in nothing but quotes has no further field.
            quoted = !quoted;
            continue;
        }
        if (c == ',' && !quoted) {
            started = true;
            ++p;
            break;
        }
        started = true;
        if (field && size && copied < size - 1)
            field[copied] = c;
        ++copied;
    }
    if (field && size)
        field[copied < size - 1 ? copied : size - 1] = '\0';
    if (present)
        *present = started;
    return p;
}

int DriverLineSplit(const char* text, DriverLine* line)
{
    int count = 0;
    const char* rest = text;
    bool ended = false;
    for (int i = 0; i < DRIVER_LINE_FIELDS; ++i) {
        char* field = line->field[i];
        field[0] = '\0';
        if (ended)
            continue;
        int present = 0;
        rest = DriverLineField(rest, field, QV_TEXT_SIZE, &present);
        if (!present) {
            field[0] = '\0';
            ended = true;
            continue;
        }
        ++count;
    }
    return count;
}

int DriverSameWord(const char* a, const char* b)
{
    for (; *a && *b; ++a, ++b) {
        char x = (char)(*a >= 'A' && *a <= 'Z' ? *a + 32 : *a);
        char y = (char)(*b >= 'A' && *b <= 'Z' ? *b + 32 : *b);
        if (x != y)
            return 0;
    }
    return *a == *b;
}

int DriverLineFlag(const char* text)
{
    return strcmp(text, "1") == 0 || DriverSameWord(text, "TRUE");
}

int DriverFolderName(char* out, size_t size, const char* productName)
{
    int whole = TextCopy(out, size, productName);
    for (char* p = out; *p; ++p) {
        if (*p == '/')
            *p = '.';
    }
    return whole;
}

int DriverPreloadCommand(char* out, size_t size, const char* stagingDir, const char* hardwareId,
                         const char* deviceClass)
{
    const char* parts[] = { stagingDir, "\\Preload.exe /DEVID:", hardwareId, " /CLASS:", deviceClass,
                            " /RunValue:\"Keyboard Preload Check\"" };
    if (size == 0)
        return 0;
    out[0] = '\0';
    for (const char* part : parts) {
        if (!TextAppend(out, size, part)) {
            // A cut command would start Preload.exe with a wrong device.
            out[0] = '\0';
            return 0;
        }
    }
    return 1;
}
