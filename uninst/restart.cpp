// Files still in use are deleted when the system next starts: the NT family keeps a list of
// delayed moves, the 95 family reads "NUL=path" lines from wininit.ini.
#include "uninst.h"

#include "laterdelete.h"

namespace {

// A bigger file is nobody's wininit.ini.
const DWORD kMaxWininitSize = 16 * 1024 * 1024;

bool AddToWininit(const char* path)
{
    char ini[UNINST_PATH_SIZE];
    UINT n = GetWindowsDirectoryA(ini, sizeof(ini));
    if (n == 0 || n >= sizeof(ini) || !TextAppend(ini, sizeof(ini), ini[n - 1] == '\\' ? "wininit.ini" : "\\wininit.ini"))
        return false;
    HANDLE file = CreateFileA(ini, GENERIC_READ | GENERIC_WRITE, 0, NULL, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    bool done = false;
    DWORD size = GetFileSize(file, NULL);
    char* content = size != INVALID_FILE_SIZE && size <= kMaxWininitSize
                        ? (char*)HeapAlloc(GetProcessHeap(), 0, size + UNINST_WININIT_ROOM)
                        : NULL;
    DWORD read = 0;
    if (content && ReadFile(file, content, size, &read, NULL) && read == size) {
        size_t length = UninstWininitDelete(content, size, size + UNINST_WININIT_ROOM, path);
        DWORD written = 0;
        done = length > 0 && SetFilePointer(file, 0, NULL, FILE_BEGIN) == 0 &&
               WriteFile(file, content, (DWORD)length, &written, NULL) && written == length && SetEndOfFile(file);
    }
    if (content)
        HeapFree(GetProcessHeap(), 0, content);
    CloseHandle(file);
    return done;
}

} // namespace

bool UninstDeleteAtRestart(UninstContext* run, const char* path)
{
    bool done = run->is9x ? AddToWininit(path) : MoveFileExA(path, NULL, MOVEFILE_DELAY_UNTIL_REBOOT) != 0;
    if (!done)
        return false;
    // Without room the file still goes at restart; only its directory would not follow.
    char entry[UNINST_PATH_SIZE];
    if (TextCopy(entry, sizeof(entry), path))
        UninstListAdd(&run->scheduled, entry);
    return true;
}

void UninstRemoveDirAtRestart(UninstContext* run, const char* dir)
{
    if (run->is9x)
        return;
    for (int i = 0; i < run->scheduled.count; ++i) {
        // Scheduled after the files, so it is carried out after them; it fails harmlessly
        // if the directory still holds anything then.
        if (UninstPathInside((const char*)UninstListAt(&run->scheduled, i), dir, UninstLeadByteOf)) {
            MoveFileExA(dir, NULL, MOVEFILE_DELAY_UNTIL_REBOOT);
            return;
        }
    }
}
