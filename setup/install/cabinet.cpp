// The cabinet's extraction through setupapi's iteration, loaded at run time because the
// installer must start on systems where that library is absent or old.
#include "cabinet.h"

#include "cabcheck.h"
#include "filetable.h"
#include "progress.h"
#include "setup.h"

#include <setupapi.h>
#include <string.h>

char g_tempDir[QV_TEXT_SIZE];

namespace {

typedef BOOL(WINAPI* IterateCabinet)(PCSTR, DWORD, PSP_FILE_CALLBACK_A, PVOID);

// The date and time of the file being extracted, from its file-in-cabinet notice.
WORD g_dosDate, g_dosTime;

UINT FileInCabinet(FILE_IN_CABINET_INFO_A* info)
{
    SetupWaitToGoOn();
    const char* name = info->NameInCabinet;
    int index = -1;
    for (int i = 0; i < g_fileCount; ++i) {
        if (lstrcmpiA(g_files[i].sourceName, name) == 0) {
            index = i;
            break;
        }
    }
    if (index < 0)
        return FILEOP_SKIP;
    SetupFile* entry = &g_files[index];
    // A second file of that name in the cabinet would overwrite the first one's copy.
    if (entry->extracted)
        return FILEOP_SKIP;
    if (!SetupJoinPath(info->FullTargetName, sizeof(info->FullTargetName), g_tempDir, entry->sourceName))
        return FILEOP_SKIP;
    entry->size = info->FileSize;
    g_progress.total += info->FileSize;
    g_dosDate = info->DosDate;
    g_dosTime = info->DosTime;
    if (g_progress.cancel)
        return FILEOP_SKIP;
    InterlockedIncrement(&g_progress.extracted);
    entry->extracted = 1;
    return FILEOP_DOIT;
}

void FileExtracted(const FILEPATHS_A* paths)
{
    if (!paths || !paths->Target)
        return;
    FILETIME local, utc;
    if (DosDateTimeToFileTime(g_dosDate, g_dosTime, &local) && LocalFileTimeToFileTime(&local, &utc)) {
        HANDLE file = CreateFileA(paths->Target, GENERIC_WRITE, 0, NULL, OPEN_EXISTING, 0, NULL);
        if (file != INVALID_HANDLE_VALUE) {
            SetFileTime(file, &utc, NULL, &utc);
            CloseHandle(file);
        }
    }
    SetFileAttributesA(paths->Target, FILE_ATTRIBUTE_NORMAL);
}

UINT CALLBACK CabinetCallback(PVOID, UINT notification, UINT_PTR param1, UINT_PTR)
{
    switch (notification) {
    case SPFILENOTIFY_FILEINCABINET:
        return FileInCabinet((FILE_IN_CABINET_INFO_A*)param1);
    case SPFILENOTIFY_FILEEXTRACTED:
        FileExtracted((const FILEPATHS_A*)param1);
        return NO_ERROR;
    default:
        return NO_ERROR;
    }
}

} // namespace

int SetupMakeTempDir(void)
{
    g_tempDir[0] = '\0';
    for (int n = 0; n < 1000; ++n) {
        char name[32];
        wsprintfA(name, "_QelvanoTempDir%d", n);
        char path[QV_TEXT_SIZE];
        if (!SetupJoinPath(path, sizeof(path), g_setup.windowsDir, name))
            return 0;
        if (CreateDirectoryA(path, NULL)) {
            TextCopy(g_tempDir, sizeof(g_tempDir), path);
            return 1;
        }
        // Anything but an existing name (no room, no right) fails the same way for every n.
        DWORD error = GetLastError();
        if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS)
            return 0;
    }
    return 0;
}

void SetupRemoveTempDir(void)
{
    if (g_tempDir[0])
        RemoveDirectoryA(g_tempDir);
    g_tempDir[0] = '\0';
}

namespace {

// Wine's extraction unpacks a block whose checksum fails as it is; the check comes first.
int CabinetFileIsWhole(const char* path)
{
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    DWORD high = 0;
    DWORD size = GetFileSize(file, &high);
    int whole = 0;
    if (size != INVALID_FILE_SIZE && high == 0 && size > 0) {
        HANDLE mapping = CreateFileMappingA(file, NULL, PAGE_READONLY, 0, 0, NULL);
        if (mapping) {
            const unsigned char* view = (const unsigned char*)MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0);
            if (view) {
                whole = CabinetIsWhole(view, size);
                UnmapViewOfFile(view);
            }
            CloseHandle(mapping);
        }
    }
    CloseHandle(file);
    return whole;
}

} // namespace

int SetupExtractCabinet(const char* cabinetPath)
{
    if (!cabinetPath || !cabinetPath[0] || !CabinetFileIsWhole(cabinetPath))
        return 0;
    HMODULE library = LoadLibraryA("setupapi.dll");
    if (!library)
        return 0;
    IterateCabinet iterate = (IterateCabinet)GetProcAddress(library, "SetupIterateCabinetA");
    BOOL ok = iterate && iterate(cabinetPath, 0, CabinetCallback, NULL);
    FreeLibrary(library);
    return ok ? 1 : 0;
}
