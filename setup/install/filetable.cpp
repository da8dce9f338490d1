// "Copy Files" read into the file table: each key a source file relative to the setup
// directory, each value its destination directory and optional new name.
#include "filetable.h"

#include "progress.h"
#include "setup.h"

#include <string.h>

SetupFile g_files[SETUP_MAX_FILES];
int g_fileCount;

DWORD SetupFileSize(const char* path)
{
    // A direct look-up where the system has one (98 and NT 4 on): Wine answers a search
    // thirty times slower, and the table sizes every entry before the first copy.
    // Looked up on each call: a function-local static would need the runtime's thread-safe
    // guard, which brings a threads library and imports 95 and NT 4 lack.
    typedef BOOL(WINAPI * AttributesEx)(LPCSTR, GET_FILEEX_INFO_LEVELS, LPVOID);
    AttributesEx attributesEx =
        (AttributesEx)(void*)GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetFileAttributesExA");
    if (attributesEx) {
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (!attributesEx(path, GetFileExInfoStandard, &data))
            return 0;
        return (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? 0 : data.nFileSizeLow;
    }
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA(path, &found);
    if (find == INVALID_HANDLE_VALUE)
        return 0;
    FindClose(find);
    return (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? 0 : found.nFileSizeLow;
}

namespace {

// Reads one field whole; 0 when it would not fit the table's 259 characters.
int ReadWholeField(const char* value, int number, char* field, size_t size, const ScriptMacros* macros)
{
    char whole[2 * QV_TEXT_SIZE];
    ScriptField(value, number, whole, sizeof(whole), macros);
    return strlen(whole) < size && TextCopy(field, size, whole);
}

// Fills one entry from its key and value; 0 when a part does not fit (a cut part would
// name another file or directory than the script meant) or a name or directory is missing.
int ReadEntry(const char* key, const char* value, const ScriptMacros* macros, SetupFile* entry)
{
    ZeroMemory(entry, sizeof(*entry));
    if (!ReadWholeField(value, 1, entry->destinationDir, sizeof(entry->destinationDir), macros) ||
        !ReadWholeField(value, 2, entry->destinationName, sizeof(entry->destinationName), macros))
        return 0;
    // A directory that is not a full path (none at all, or one whose macro named nothing)
    // would put the file wherever the current drive or directory happens to be.
    const char* dir = entry->destinationDir;
    int drive = ((dir[0] | 0x20) >= 'a' && (dir[0] | 0x20) <= 'z' && dir[1] == ':' && (dir[2] == '\\' || !dir[2]));
    if (!drive && !(dir[0] == '\\' && dir[1] == '\\' && dir[2]))
        return 0;
    const char* slash = strrchr(key, '\\');
    if (!slash)
        return TextCopy(entry->sourceName, sizeof(entry->sourceName), key);
    size_t folder = (size_t)(slash - key);
    if (folder >= sizeof(entry->subFolder))
        return 0;
    memcpy(entry->subFolder, key, folder);
    entry->subFolder[folder] = '\0';
    return TextCopy(entry->sourceName, sizeof(entry->sourceName), slash + 1) && slash[1];
}

int Refuse(void)
{
    g_fileCount = 0;
    ZeroMemory(g_files, sizeof(g_files));
    InterlockedExchange(&g_progress.installResult, SETUP_RESULT_FILE_TABLE);
    return -1;
}

} // namespace

int SetupReadCopyFiles(void)
{
    static const char kSection[] = "Copy Files";
    g_fileCount = 0;
    ZeroMemory(g_files, sizeof(g_files));
    char* keys = ScriptSectionKeyList(kSection);
    if (!keys)
        return g_setup.scriptPath[0] ? Refuse() : 0;
    ScriptMacros macros;
    ScriptMacrosInit(&macros);
    int refused = 0;
    for (const char* key = keys; *key; key += strlen(key) + 1) {
        // Part of the product is no installation: a table too small, or an entry that
        // does not fit, stops the run before anything is copied.
        if (g_fileCount == SETUP_MAX_FILES) {
            refused = 1;
            break;
        }
        char value[1024];
        ScriptReadValue(kSection, key, value, sizeof(value));
        SetupFile* entry = &g_files[g_fileCount];
        if (strlen(value) >= sizeof(value) - 2 || !ReadEntry(key, value, &macros, entry)) {
            refused = 1;
            break;
        }
        char path[QV_TEXT_SIZE];
        if (entry->subFolder[0]) {
            char folder[QV_TEXT_SIZE];
            if (SetupJoinPath(folder, sizeof(folder), g_setup.setupDir, entry->subFolder) &&
                SetupJoinPath(path, sizeof(path), folder, entry->sourceName))
                entry->size = SetupFileSize(path);
            if (g_setup.cabFile)
                g_progress.total += entry->size;
        } else if (!g_setup.cabFile) {
            if (SetupJoinPath(path, sizeof(path), g_setup.setupDir, entry->sourceName))
                entry->size = SetupFileSize(path);
        }
        ++g_fileCount;
    }
    ScriptFreeKeyList(keys);
    if (refused) {
        g_progress.total = 0;
        return Refuse();
    }
    return g_fileCount;
}
