// Files that were in use are replaced when the system next starts: Windows 95 reads the
// "[Rename]" section of wininit.ini, later systems keep a list of delayed moves.
#include "install.h"

#include "renames.h"
#include "setup.h"
#include "wininit.h"

namespace {

// A bigger file is nobody's wininit.ini; mapping it whole is not worth the risk.
const DWORD kMaxWininitSize = 16 * 1024 * 1024;

int ScheduleMove(const char* target, const char* substitute)
{
    // The target exists (it was in use): without the replace flag the move at restart fails
    // and the old file stays.
    if (MoveFileExA(substitute, target, MOVEFILE_DELAY_UNTIL_REBOOT | MOVEFILE_REPLACE_EXISTING))
        return 1;
    // 98 and Me have no delayed moves; their start-up reads wininit.ini like 95's.
    if (g_setup.is9x && GetLastError() == ERROR_CALL_NOT_IMPLEMENTED)
        return SetupScheduleWininit(target, substitute);
    return 0;
}

} // namespace

int SetupScheduleWininit(const char* target, const char* substitute)
{
    char line[WININIT_LINE_SIZE];
    size_t lineLength = WininitRenameLine(line, sizeof(line), target, substitute);
    char path[QV_TEXT_SIZE];
    if (!lineLength || !SetupJoinPath(path, sizeof(path), g_setup.windowsDir, "wininit.ini"))
        return 0;
    HANDLE file = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, NULL, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    int done = 0;
    DWORD size = GetFileSize(file, NULL);
    if (size != INVALID_FILE_SIZE && size <= kMaxWininitSize) {
        // The mapping grows the file to its size; it is cut back to what was written.
        DWORD room = size + (DWORD)lineLength + WININIT_SLACK;
        DWORD length = size;
        HANDLE mapping = CreateFileMappingA(file, NULL, PAGE_READWRITE, 0, room, NULL);
        if (mapping) {
            char* view = (char*)MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, room);
            if (view) {
                size_t edited = WininitAddRename(view, size, room, line, lineLength);
                if (edited) {
                    length = (DWORD)edited;
                    done = 1;
                }
                UnmapViewOfFile(view);
            }
            CloseHandle(mapping);
        }
        if (SetFilePointer(file, (LONG)length, NULL, FILE_BEGIN) == INVALID_SET_FILE_POINTER || !SetEndOfFile(file))
            done = 0;
    }
    CloseHandle(file);
    return done;
}

int SetupScheduleRenames(void)
{
    int scheduled = 0;
    for (int i = 0; i < SetupRenameCount(); ++i) {
        const SetupRename* entry = SetupRenameAt(i);
        if (g_setup.isWin95 ? SetupScheduleWininit(entry->target, entry->substitute)
                            : ScheduleMove(entry->target, entry->substitute))
            ++scheduled;
    }
    return scheduled;
}
