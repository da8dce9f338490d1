// The settings store: typed registry values under explicit keys, and the product
// profile that reads a per-user layer before the machine defaults.
// Keys are opened and closed within each call; only the profile names live on.
#include "QVUtil.h"
#include "textparse.h"

#include <string.h>

namespace {

char g_basePath[QV_TEXT_SIZE];
char g_userName[QV_TEXT_SIZE];
bool g_machineOnly;

// The profile fields hold at most 258 characters: the historic copy is bounded at 259 bytes.
const size_t kProfileFieldSize = QV_TEXT_SIZE - 1;
const DWORD kScratchSize = QV_TEXT_SIZE;
const DWORD kBinaryScratchSize = 1040;

// Reads a value into `data` (capacity *size); on return *size holds what the registry reported.
LONG QueryValue(HKEY root, LPCSTR subKey, LPCSTR valueName, DWORD* type, BYTE* data, DWORD* size)
{
    HKEY key;
    LONG status = RegOpenKeyExA(root, subKey, 0, KEY_READ, &key);
    if (status != ERROR_SUCCESS)
        return status;
    status = RegQueryValueExA(key, valueName, NULL, type, data, size);
    RegCloseKey(key);
    return status;
}

int SetValue(HKEY root, LPCSTR subKey, LPCSTR valueName, DWORD type, const BYTE* data, DWORD size)
{
    HKEY key;
    if (RegOpenKeyExA(root, subKey, 0, KEY_WRITE, &key) != ERROR_SUCCESS)
        return 0;
    LONG status = RegSetValueExA(key, valueName, 0, type, data, size);
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

// Scratch text for numbers and booleans: always terminated, whatever the registry held.
bool QueryScratch(HKEY root, LPCSTR subKey, LPCSTR valueName, DWORD* type, DWORD* size, char (&scratch)[QV_TEXT_SIZE + 1])
{
    ZeroMemory(scratch, sizeof(scratch));
    *size = kScratchSize;
    return QueryValue(root, subKey, valueName, type, (BYTE*)scratch, size) == ERROR_SUCCESS;
}

int LittleEndian32(const char* bytes)
{
    const BYTE* b = (const BYTE*)bytes;
    return (int)((DWORD)b[0] | (DWORD)b[1] << 8 | (DWORD)b[2] << 16 | (DWORD)b[3] << 24);
}

bool ComposePath(char (&path)[QV_TEXT_SIZE], LPCSTR section, bool perUser)
{
    bool fits = TextCopy(path, sizeof(path), g_basePath);
    if (perUser && g_userName[0]) {
        fits = fits && TextAppend(path, sizeof(path), "\\users\\");
        fits = fits && TextAppend(path, sizeof(path), g_userName);
    }
    if (section && section[0]) {
        fits = fits && TextAppend(path, sizeof(path), "\\");
        fits = fits && TextAppend(path, sizeof(path), section);
    }
    return fits;
}

// Tries the per-user layer (unless machine-only), then the machine layer.
template <typename Read>
int ReadProfile(LPCSTR section, Read read)
{
    char path[QV_TEXT_SIZE];
    if (!g_machineOnly && ComposePath(path, section, true) && read(HKEY_CURRENT_USER, path))
        return 1;
    if (ComposePath(path, section, false) && read(HKEY_LOCAL_MACHINE, path))
        return 1;
    return 0;
}

// Creates the target key, whole or level by level; the write that follows reports the outcome.
void CreateKeyPath(HKEY root, LPCSTR path)
{
    HKEY key;
    if (RegCreateKeyExA(root, path, 0, NULL, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, NULL, &key, NULL) == ERROR_SUCCESS) {
        RegCloseKey(key);
        return;
    }
    HKEY parent = root;
    char field[QV_TEXT_SIZE];
    for (int n = 1; TextField(path, n, field, sizeof(field), '\\') >= 0; ++n) {
        LONG status = RegCreateKeyExA(parent, field, 0, NULL, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, NULL, &key, NULL);
        if (parent != root)
            RegCloseKey(parent);
        if (status != ERROR_SUCCESS)
            return;
        parent = key;
    }
    if (parent != root)
        RegCloseKey(parent);
}

template <typename Write>
int WriteProfile(LPCSTR section, Write write)
{
    char path[QV_TEXT_SIZE];
    HKEY root = g_machineOnly ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
    if (!ComposePath(path, section, !g_machineOnly))
        return 0;
    CreateKeyPath(root, path);
    return write(root, path);
}

} // namespace

QVUTIL_API void WINAPI Reg_InitProfile(LPCSTR basePath, LPCSTR userName)
{
    TextCopy(g_basePath, kProfileFieldSize, basePath ? basePath : "");
    g_userName[0] = '\0';
    g_machineOnly = userName == NULL;
    if (userName)
        TextCopy(g_userName, kProfileFieldSize, userName);
}

QVUTIL_API int WINAPI Reg_GetValueString(HKEY root, LPCSTR subKey, LPCSTR valueName, LPSTR buffer, int bufferSize)
{
    if (!buffer || bufferSize <= 0)
        return 0;
    DWORD type = 0;
    DWORD size = (DWORD)bufferSize;
    if (QueryValue(root, subKey, valueName, &type, (BYTE*)buffer, &size) != ERROR_SUCCESS)
        return 0;
    // Stored text need not carry its terminator; one that leaves no room for it does not fit.
    if (size < (DWORD)bufferSize)
        buffer[size] = '\0';
    else if (buffer[bufferSize - 1] != '\0')
        return 0;
    if (type != REG_EXPAND_SZ)
        return 1;
    // The work copy is as long as the stored text, so a long value is expanded whole.
    int length = lstrlenA(buffer);
    LPSTR work = (LPSTR)LocalAlloc(LMEM_FIXED, (SIZE_T)length + 1);
    if (!work)
        return 0;
    CopyMemory(work, buffer, (SIZE_T)length + 1);
    DWORD needed = ExpandEnvironmentStringsA(work, buffer, (DWORD)bufferSize);
    LocalFree(work);
    if (needed == 0 || needed > (DWORD)bufferSize) {
        buffer[0] = '\0';  // an expansion that does not fit is a value larger than the buffer
        return 0;
    }
    return 1;
}

QVUTIL_API int WINAPI Reg_GetValueNumber(HKEY root, LPCSTR subKey, LPCSTR valueName, int* value)
{
    char scratch[QV_TEXT_SIZE + 1];
    DWORD type = 0;
    DWORD size = 0;
    if (!QueryScratch(root, subKey, valueName, &type, &size, scratch))
        return 0;
    int result;
    if (type == REG_SZ)
        result = TextToInteger(scratch);
    else if (type == REG_DWORD || (type == REG_BINARY && size == 4))
        result = LittleEndian32(scratch);
    else
        return 0;
    if (value)
        *value = result;
    return 1;
}

QVUTIL_API int WINAPI Reg_GetValueBool(HKEY root, LPCSTR subKey, LPCSTR valueName, int* value)
{
    char scratch[QV_TEXT_SIZE + 1];
    DWORD type = 0;
    DWORD size = 0;
    if (!QueryScratch(root, subKey, valueName, &type, &size, scratch))
        return 0;
    int result;
    if (type == REG_SZ) {
        if (lstrcmpiA(scratch, "TRUE") == 0)
            result = 1;
        else if (lstrcmpiA(scratch, "FALSE") == 0)
            result = 0;
        else
            result = TextToInteger(scratch);
    } else if (type == REG_DWORD || type == REG_BINARY) {
        result = LittleEndian32(scratch);  // a shorter value reads its missing bytes as zero
    } else {
        return 0;
    }
    if (value)
        *value = result;
    return 1;
}

QVUTIL_API int WINAPI Reg_GetValueBinary(HKEY root, LPCSTR subKey, LPCSTR valueName, BYTE* buffer, DWORD* size)
{
    DWORD capacity = size ? *size : 0;
    DWORD type = 0;
    HKEY key;
    if (RegOpenKeyExA(root, subKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return 0;
    LONG status = RegQueryValueExA(key, valueName, NULL, &type, buffer, &capacity);
    RegCloseKey(key);
    if (size)
        *size = capacity;
    return status == ERROR_SUCCESS;
}

QVUTIL_API int WINAPI Reg_SetValueString(HKEY root, LPCSTR subKey, LPCSTR valueName, LPCSTR text)
{
    if (!text)
        return 0;
    return SetValue(root, subKey, valueName, REG_SZ, (const BYTE*)text, (DWORD)lstrlenA(text) + 1);
}

QVUTIL_API int WINAPI Reg_SetValueNumber(HKEY root, LPCSTR subKey, LPCSTR valueName, int value)
{
    DWORD data = (DWORD)value;
    return SetValue(root, subKey, valueName, REG_DWORD, (const BYTE*)&data, sizeof(data));
}

QVUTIL_API int WINAPI Reg_SetValueBool(HKEY root, LPCSTR subKey, LPCSTR valueName, int value)
{
    BYTE data[4] = { (BYTE)value, (BYTE)(value >> 8), (BYTE)(value >> 16), (BYTE)(value >> 24) };
    return SetValue(root, subKey, valueName, REG_BINARY, data, sizeof(data));
}

QVUTIL_API int WINAPI Reg_SetValueBinary(HKEY root, LPCSTR subKey, LPCSTR valueName, const BYTE* data, int size)
{
    if (size < 0 || (size > 0 && !data))
        return 0;
    return SetValue(root, subKey, valueName, REG_BINARY, data, (DWORD)size);
}

QVUTIL_API int WINAPI Reg_GetProfileString(LPCSTR section, LPCSTR valueName, LPSTR buffer, int bufferSize, LPCSTR defaultText)
{
    int found = ReadProfile(section, [&](HKEY root, LPCSTR path) {
        return Reg_GetValueString(root, path, valueName, buffer, bufferSize);
    });
    if (!found && defaultText && buffer && bufferSize > 0)
        TextCopy(buffer, (size_t)bufferSize, defaultText);
    return found;
}

QVUTIL_API int WINAPI Reg_GetProfileNumber(LPCSTR section, LPCSTR valueName, int* value, int defaultValue)
{
    int found = ReadProfile(section, [&](HKEY root, LPCSTR path) {
        return Reg_GetValueNumber(root, path, valueName, value);
    });
    if (!found && value)
        *value = defaultValue;
    return found;
}

QVUTIL_API int WINAPI Reg_GetProfileBool(LPCSTR section, LPCSTR valueName, int* value, int defaultValue)
{
    int found = ReadProfile(section, [&](HKEY root, LPCSTR path) {
        return Reg_GetValueBool(root, path, valueName, value);
    });
    if (!found && value)
        *value = defaultValue;
    return found;
}

QVUTIL_API int WINAPI Reg_GetProfileBinary(LPCSTR section, LPCSTR valueName, BYTE* buffer, DWORD* size, const BYTE* defaultData, int defaultSize)
{
    DWORD capacity = size ? *size : 0;
    int found = ReadProfile(section, [&](HKEY root, LPCSTR path) {
        if (size)
            *size = capacity;  // each layer is offered the caller's full capacity
        return Reg_GetValueBinary(root, path, valueName, buffer, size);
    });
    if (found)
        return 1;
    if (size)
        *size = capacity;
    if (defaultData && buffer && size && defaultSize > 0) {
        DWORD n = (DWORD)defaultSize < capacity ? (DWORD)defaultSize : capacity;
        CopyMemory(buffer, defaultData, n);
        *size = n;
    }
    return 0;
}

QVUTIL_API int WINAPI Reg_SetProfileString(LPCSTR section, LPCSTR valueName, LPCSTR text)
{
    if (!text)
        return 0;
    char current[QV_TEXT_SIZE];
    if (Reg_GetProfileString(section, valueName, current, sizeof(current), NULL) && lstrcmpA(current, text) == 0)
        return 0;
    return WriteProfile(section, [&](HKEY root, LPCSTR path) {
        return Reg_SetValueString(root, path, valueName, text);
    });
}

QVUTIL_API int WINAPI Reg_SetProfileNumber(LPCSTR section, LPCSTR valueName, int value)
{
    int current = 0;
    if (Reg_GetProfileNumber(section, valueName, &current, 0) && current == value)
        return 0;
    return WriteProfile(section, [&](HKEY root, LPCSTR path) {
        return Reg_SetValueNumber(root, path, valueName, value);
    });
}

QVUTIL_API int WINAPI Reg_SetProfileBool(LPCSTR section, LPCSTR valueName, int value)
{
    int current = 0;
    if (Reg_GetProfileBool(section, valueName, &current, 0) && current == value)
        return 0;
    return WriteProfile(section, [&](HKEY root, LPCSTR path) {
        return Reg_SetValueNumber(root, path, valueName, value);
    });
}

QVUTIL_API int WINAPI Reg_SetProfileBinary(LPCSTR section, LPCSTR valueName, const BYTE* data, int size)
{
    if (size < 0 || (size > 0 && !data))
        return 0;
    BYTE current[kBinaryScratchSize];
    DWORD currentSize = sizeof(current);
    if (Reg_GetProfileBinary(section, valueName, current, &currentSize, NULL, 0) &&
        currentSize == (DWORD)size && (size == 0 || memcmp(current, data, (size_t)size) == 0))
        return 0;
    return WriteProfile(section, [&](HKEY root, LPCSTR path) {
        return Reg_SetValueBinary(root, path, valueName, data, size);
    });
}
