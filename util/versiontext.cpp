// Version text to version numbers, for files whose fixed version record disagrees with
// the text their makers wrote.
#include "versiontext.h"

#include "textparse.h"

int32_t VersionDecimal(const char* text)
{
    while (*text == ' ' || *text == '\t')
        ++text;
    int negative = 0;
    if (*text == '+' || *text == '-')
        negative = *text++ == '-';
    int64_t value = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        value = value * 10 + (*text - '0');
        if (value > (int64_t)INT32_MAX + 1)
            value = (int64_t)INT32_MAX + 1;
    }
    if (negative)
        return (int32_t)-value;
    return value > INT32_MAX ? INT32_MAX : (int32_t)value;
}

void VersionTextToParts(const char* text, int32_t parts[4])
{
    for (int i = 0; i < 4; ++i)
        parts[i] = 0;
    int count = 0;
    while (count < 4 && *text) {
        char component[QV_TEXT_SIZE];
        size_t length = 0;
        for (; *text && *text != ',' && *text != '.'; ++text) {
            if (*text != ' ' && length + 1 < sizeof(component))
                component[length++] = *text;
        }
        component[length] = '\0';
        parts[count++] = VersionDecimal(component);
        if (*text)
            ++text;
    }
}

void VersionTextToNumbers(const char* text, uint32_t* high, uint32_t* low)
{
    int32_t parts[4];
    VersionTextToParts(text, parts);
    *high = (uint32_t)parts[0] * 65536u + (uint32_t)parts[1];
    *low = (uint32_t)parts[2] * 65536u + (uint32_t)parts[3];
}
