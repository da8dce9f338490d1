// Field reader shared by every list section of the setup script. Values come from a
// file anyone may edit, so every write is bounded and every scan stops at the text's end.
#include "fields.h"

#include <string.h>

#include "textparse.h"

namespace {

struct Out {
    char* field;
    size_t size;
    size_t used;
};

void PutChars(Out* out, const char* text, size_t len)
{
    if (!out->field || out->size == 0)
        return;
    size_t room = out->size - 1 - out->used;
    size_t n = len < room ? len : room;
    memcpy(out->field + out->used, text, n);
    out->used += n;
    out->field[out->used] = '\0';
}

void PutText(Out* out, const char* text)
{
    if (text)
        PutChars(out, text, strlen(text));
}

bool SameName(const char* a, const char* b)
{
    for (; *a && *b; ++a, ++b) {
        char x = (char)(*a >= 'A' && *a <= 'Z' ? *a + 32 : *a);
        char y = (char)(*b >= 'A' && *b <= 'Z' ? *b + 32 : *b);
        if (x != y)
            return false;
    }
    return *a == *b;
}

void PutMacro(Out* out, const char* name, size_t len, const ScriptMacros* macros)
{
    // A name that fills no key of the script cannot match one; insert nothing rather than
    // look up a cut name that might.
    char key[QV_TEXT_SIZE];
    if (len >= sizeof(key) || !macros)
        return;
    memcpy(key, name, len);
    key[len] = '\0';

    static const struct {
        const char* name;
        const char* suffix;
    } windowsDirs[] = {
        { "10", "" },
        { "12", "\\System32\\Drivers" },
        { "17", "\\Inf" },
        { "18", "\\Help" },
    };
    if (SameName(key, "1")) {
        PutText(out, macros->setupDir);
        return;
    }
    if (SameName(key, "11")) {
        PutText(out, macros->systemDir);
        return;
    }
    if (SameName(key, "99")) {
        PutText(out, macros->installDir);
        return;
    }
    for (const auto& dir : windowsDirs) {
        if (SameName(key, dir.name)) {
            PutText(out, macros->windowsDir);
            PutText(out, dir.suffix);
            return;
        }
    }
    if (!macros->lookup || key[0] == '\0')
        return;
    char text[QV_TEXT_SIZE];
    text[0] = '\0';
    macros->lookup(macros->context, key, text, sizeof(text));
    text[sizeof(text) - 1] = '\0';
    PutText(out, text);
}

} // namespace

const char* ScriptReadField(const char* text, char* field, size_t size, const ScriptMacros* macros)
{
    Out out = { field, size, 0 };
    if (field && size)
        field[0] = '\0';
    const char* p = text;
    while (*p == ' ' || *p == '\t')
        ++p;
    for (;;) {
        char c = *p;
        if (c == '\0')
            return NULL;
        if (c == ',')
            return p + 1;
        if (c == '"' || c == '%') {
            const char* close = strchr(p + 1, c);
            if (!close) {
                // An open quote takes the rest of the line as it is; an open macro names nothing.
                if (c == '"')
                    PutText(&out, p + 1);
                return NULL;
            }
            if (c == '"')
                PutChars(&out, p + 1, (size_t)(close - p - 1));
            else
                PutMacro(&out, p + 1, (size_t)(close - p - 1), macros);
            p = close + 1;
            continue;
        }
        PutChars(&out, p, 1);
        ++p;
    }
}

int ScriptField(const char* text, int number, char* field, size_t size, const ScriptMacros* macros)
{
    if (field && size)
        field[0] = '\0';
    const char* rest = text;
    for (int i = 1; i <= number; ++i) {
        if (!rest) {
            if (field && size)
                field[0] = '\0';
            return 0;
        }
        rest = ScriptReadField(rest, field, size, macros);
    }
    return number >= 1;
}
