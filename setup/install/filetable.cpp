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
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA(path, &found);
    if (find == INVALID_HANDLE_VALUE)
        return 0;
    FindClose(find);
    return (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? 0 : found.nFileSizeLow;
}

namespace {

// Fills one entry from its key and value; 0 when a part does not fit (the entry would
// name another file than the script meant).
int ReadEntry(const char* key, const char* value, const ScriptMacros* macros, SetupFile* entry)
{
    ZeroMemory(entry, sizeof(*entry));
    ScriptField(value, 1, entry->destinationDir, sizeof(entry->destinationDir), macros);
    ScriptField(value, 2, entry->destinationName, sizeof(entry->destinationName), macros);
    const char* slash = strrchr(key, '\\');
    if (!slash)
        return TextCopy(entry->sourceName, sizeof(entry->sourceName), key);
    size_t folder = (size_t)(slash - key);
    if (folder >= sizeof(entry->subFolder))
        return 0;
    memcpy(entry->subFolder, key, folder);
    entry->subFolder[folder] = '\0';
    return TextCopy(entry->sourceName, sizeof(entry->sourceName), slash + 1);
}

} // namespace

int SetupReadCopyFiles(void)
{
    static const char kSection[] = "Copy Files";
    g_fileCount = 0;
    ZeroMemory(g_files, sizeof(g_files));
    static char keys[32768];
    if (!ScriptSectionKeys(kSection, keys, sizeof(keys)))
        return 0;
    ScriptMacros macros;
    ScriptMacrosInit(&macros);
    for (const char* key = keys; *key && g_fileCount < SETUP_MAX_FILES; key += strlen(key) + 1) {
        char value[1024];
        ScriptReadValue(kSection, key, value, sizeof(value));
        SetupFile* entry = &g_files[g_fileCount];
        if (!ReadEntry(key, value, &macros, entry) || !entry->sourceName[0])
            continue;
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
    return g_fileCount;
}
