// Access to the list sections of the chosen script, shared by every step that processes
// one, and the directory macros that their fields may use.
#include "setup.h"

#include <string.h>

namespace {

void LookupString(void* context, const char* name, char* text, size_t size)
{
    GetPrivateProfileStringA("Strings", name, "", text, (DWORD)size, g_setup.scriptPath);
}

} // namespace

int ScriptFileSectionKeys(const char* script, const char* section, char* keys, DWORD size)
{
    if (size < 2)
        return 0;
    keys[0] = keys[1] = '\0';
    if (!script || !script[0])
        return 0;
    DWORD n = GetPrivateProfileStringA(section, NULL, "", keys, size, script);
    // Wine's ANSI version ends a cut list with one terminator only.
    keys[size - 1] = keys[size - 2] = '\0';
    if (n > 0 && n >= size - 2) {
        // The list was cut: its last name may be a fragment of a key, which must not be read
        // as a key of its own.
        char* last = keys;
        for (char* p = keys; *p; p += strlen(p) + 1)
            last = p;
        char probe[8];
        static const char kMissing[] = "\x01?";
        GetPrivateProfileStringA(section, last, kMissing, probe, sizeof(probe), script);
        if (strcmp(probe, kMissing) == 0)
            last[0] = '\0';
    }
    return keys[0] != '\0';
}

char* ScriptSectionKeyList(const char* section)
{
    if (!g_setup.scriptPath[0])
        return NULL;
    HANDLE heap = GetProcessHeap();
    // A cut list reports size - 2; anything less is the whole section.
    for (DWORD size = 32768; size <= 16u * 1024 * 1024; size *= 2) {
        char* keys = (char*)HeapAlloc(heap, 0, size);
        if (!keys)
            return NULL;
        keys[0] = keys[1] = '\0';
        DWORD n = GetPrivateProfileStringA(section, NULL, "", keys, size, g_setup.scriptPath);
        if (n < size - 2) {
            keys[n] = keys[n + 1] = '\0';
            return keys;
        }
        HeapFree(heap, 0, keys);
    }
    return NULL;
}

void ScriptFreeKeyList(char* keys)
{
    if (keys)
        HeapFree(GetProcessHeap(), 0, keys);
}

int ScriptSectionKeys(const char* section, char* keys, DWORD size)
{
    return ScriptFileSectionKeys(g_setup.scriptPath, section, keys, size);
}

void ScriptFileReadValue(const char* script, const char* section, const char* key, char* value, DWORD size)
{
    if (size == 0)
        return;
    value[0] = '\0';
    if (script && script[0])
        GetPrivateProfileStringA(section, key, "", value, size, script);
}

void ScriptReadValue(const char* section, const char* key, char* value, DWORD size)
{
    ScriptFileReadValue(g_setup.scriptPath, section, key, value, size);
}

void ScriptMacrosInit(ScriptMacros* macros)
{
    macros->setupDir = g_setup.setupDir;
    macros->windowsDir = g_setup.windowsDir;
    macros->systemDir = g_setup.systemDir;
    macros->installDir = g_setup.installDir;
    macros->lookup = g_setup.scriptPath[0] ? LookupString : NULL;
    macros->context = NULL;
}

int SetupJoinPath(char* out, size_t size, const char* dir, const char* name)
{
    if (size == 0)
        return 0;
    // A cut path names another file; better none at all.
    if (TextCopy(out, size, dir) && TextAppend(out, size, "\\") && TextAppend(out, size, name))
        return 1;
    out[0] = '\0';
    return 0;
}

void ScriptForEachLine(const char* section, ScriptLineFn line)
{
    char keys[1024];
    if (!ScriptSectionKeys(section, keys, sizeof(keys)))
        return;
    ScriptMacros macros;
    ScriptMacrosInit(&macros);
    for (const char* key = keys; *key; key += strlen(key) + 1) {
        char value[QV_TEXT_SIZE];
        ScriptReadValue(section, key, value, sizeof(value));
        line(key, value, &macros);
    }
}
