// See names.h.
#include "names.h"

#include <string.h>

namespace {

const char* const kRootNames[UNINST_ROOTS] = { "HKEY_LOCAL_MACHINE", "HKEY_CURRENT_USER", "HKEY_CLASSES_ROOT",
                                               "HKEY_USERS" };

char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? (char)(c - 'A' + 'a') : c;
}

bool SameText(const char* a, const char* b)
{
    while (*a && Lower(*a) == Lower(*b)) {
        ++a;
        ++b;
    }
    return *a == *b;
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

const char* SkipBlanks(const char* p)
{
    while (IsBlank(*p))
        ++p;
    return p;
}

// "/S" or "-S" standing alone at `p`.
bool IsSilentFlag(const char* p)
{
    return (p[0] == '/' || p[0] == '-') && (p[1] == 'S' || p[1] == 's') && (p[2] == '\0' || IsBlank(p[2]));
}

// Backslashes of `text` that are no DBCS trail byte, with an empty step (leading, trailing or
// doubled backslash) reported as false.
bool StepsNotEmpty(const char* text, UninstLeadByte isLead)
{
    if (!text[0] || text[0] == '\\')
        return false;
    const char* p = text;
    while (*p) {
        if (*p == '\\' && (p[1] == '\\' || p[1] == '\0'))
            return false;
        p += isLead && isLead((unsigned char)*p) && p[1] ? 2 : 1;
    }
    return true;
}

} // namespace

int UninstParseCommand(const char* line, int* silent, char* key)
{
    *silent = 0;
    key[0] = '\0';
    const char* p = SkipBlanks(line);
    while (IsSilentFlag(p)) {
        *silent = 1;
        p = SkipBlanks(p + 2);
    }
    const char* end = p + strlen(p);
    // A trailing flag, as "KEY /S".
    for (;;) {
        while (end > p && IsBlank(end[-1]))
            --end;
        if (end - p >= 3 && IsBlank(end[-3]) && IsSilentFlag(end - 2)) {
            *silent = 1;
            end -= 2;
            continue;
        }
        if (end - p == 2 && IsSilentFlag(p)) {
            *silent = 1;
            end = p;
        }
        break;
    }
    if (end - p >= 2 && *p == '"' && end[-1] == '"') {
        ++p;
        --end;
    }
    size_t length = (size_t)(end - p);
    if (length == 0 || length >= UNINST_KEY_SIZE)
        return 0;
    memcpy(key, p, length);
    key[length] = '\0';
    return 1;
}

int UninstKeyNameOk(const char* key, UninstLeadByte isLead)
{
    size_t length = strlen(key);
    if (length == 0 || length >= UNINST_KEY_SIZE || strstr(key, ".."))
        return 0;
    bool visible = false;
    for (const char* p = key; *p;) {
        unsigned char c = (unsigned char)*p;
        if (isLead && isLead(c) && p[1]) {
            visible = true;
            p += 2;
            continue;
        }
        if (c < 0x20 || c == '\\' || c == '/')
            return 0;
        if (!IsBlank((char)c) && c != '.')
            visible = true;
        ++p;
    }
    return visible;
}

int UninstRootIndex(const char* name)
{
    for (int i = 0; i < UNINST_ROOTS; ++i) {
        if (SameText(name, kRootNames[i]))
            return i;
    }
    return -1;
}

int UninstSplitRegItem(const char* item, const char* valueName, UninstLeadByte isLead, char* subKey)
{
    subKey[0] = '\0';
    size_t itemLength = strlen(item), valueLength = strlen(valueName);
    size_t keyLength = itemLength;
    if (valueLength > 0) {
        // The value's own name may hold backslashes: it is known from the data, not split off.
        if (itemLength < valueLength + 3 || strcmp(item + itemLength - valueLength, valueName) != 0 ||
            item[itemLength - valueLength - 1] != '\\' || item[itemLength - valueLength - 2] != '\\')
            return 0;
        keyLength = itemLength - valueLength - 2;
    }
    if (keyLength == 0 || keyLength >= UNINST_PATH_SIZE)
        return 0;
    memcpy(subKey, item, keyLength);
    subKey[keyLength] = '\0';
    if (!StepsNotEmpty(subKey, isLead)) {
        subKey[0] = '\0';
        return 0;
    }
    return 1;
}
