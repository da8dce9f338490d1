// The copy loop and its undo. A copy either completes or is not started: the cancel flag
// is read after each wait, never in the middle of a file, and each file is written under a
// fresh name beside its target first, so even a worker stopped mid-copy leaves the old file.
#include "copy.h"

#include "cabinet.h"
#include "copyname.h"
#include "filetable.h"
#include "renames.h"
#include "resource.h"
#include "setup.h"
#include "versions.h"

#include <string.h>

// The file being written beside its target (empty between files) and the two handles of
// that copy, kept here so that a worker ended mid-copy leaves nothing open.
char g_partialCopy[QV_TEXT_SIZE];
HANDLE g_copyFrom = INVALID_HANDLE_VALUE;
HANDLE g_copyTo = INVALID_HANDLE_VALUE;

namespace {

enum { COPY_FAILED = 0, COPY_DONE = 1, COPY_CANCELLED = 2 };

const DWORD kWholeCopyBytes = 4u << 20;
char g_copyBuffer[256 * 1024];

void CloseCopyHandles(void)
{
    if (g_copyFrom != INVALID_HANDLE_VALUE)
        CloseHandle(g_copyFrom);
    if (g_copyTo != INVALID_HANDLE_VALUE)
        CloseHandle(g_copyTo);
    g_copyFrom = g_copyTo = INVALID_HANDLE_VALUE;
}

// Puts `temp` in place of `target`. The 95 family has no MoveFileEx: there the old file
// goes first, and a stop between the two calls leaves the new file under its fresh name.
int ReplaceWith(const char* temp, const char* target)
{
    if (!g_setup.is9x)
        return MoveFileExA(temp, target, MOVEFILE_REPLACE_EXISTING);
    if (!DeleteFileA(target) && GetLastError() != ERROR_FILE_NOT_FOUND)
        return 0;
    return MoveFileA(temp, target);
}

int WriteAll(HANDLE file, const char* data, DWORD size)
{
    while (size > 0) {
        DWORD wrote = 0;
        if (!WriteFile(file, data, size, &wrote, NULL) || wrote == 0)
            return 0;
        data += wrote;
        size -= wrote;
    }
    return 1;
}

// Copies `source` with its last-write time into a fresh file in `target`'s directory
// (g_partialCopy). A large file goes in blocks with the cancel flag read between them, so a
// stop asked for in its middle ends the copy there; a small one is left to the system's
// copy, which under Wine is several times faster and ends within any stop's bound. Nothing
// is left unless COPY_DONE.
int CopyBeside(const char* source, const char* target, DWORD knownSize)
{
    char dir[QV_TEXT_SIZE];
    const char* slash = strrchr(target, '\\');
    size_t length = slash ? (size_t)(slash - target) : 0;
    if (!slash || length >= sizeof(dir))
        return COPY_FAILED;
    memcpy(dir, target, length);
    dir[length] = '\0';
    // One name per directory: there is one worker, and a file left by a run that was ended
    // is simply written over. A target of that very name takes the other one.
    const char* name = lstrcmpiA(slash + 1, "qvcopy.tmp") ? "qvcopy.tmp" : "qvcopy2.tmp";
    if (!SetupJoinPath(g_partialCopy, sizeof(g_partialCopy), dir, name)) {
        g_partialCopy[0] = '\0';
        return COPY_FAILED;
    }
    SetFileAttributesA(g_partialCopy, FILE_ATTRIBUTE_NORMAL);
    // The table's size decides without opening the file; 0 (unknown) takes the blocks.
    if (knownSize > 0 && knownSize <= kWholeCopyBytes) {
        if (CopyFileA(source, g_partialCopy, FALSE)) {
            SetFileAttributesA(g_partialCopy, FILE_ATTRIBUTE_NORMAL);
            return COPY_DONE;
        }
        SetupDiscardPartialCopy();
        return COPY_FAILED;
    }
    g_copyFrom = CreateFileA(source, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN,
                             NULL);
    if (g_copyFrom == INVALID_HANDLE_VALUE) {
        g_partialCopy[0] = '\0';
        return COPY_FAILED;
    }
    g_copyTo = CreateFileA(g_partialCopy, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    int result = g_copyTo != INVALID_HANDLE_VALUE ? COPY_DONE : COPY_FAILED;
    while (result == COPY_DONE) {
        DWORD got = 0;
        if (!ReadFile(g_copyFrom, g_copyBuffer, sizeof(g_copyBuffer), &got, NULL))
            result = COPY_FAILED;
        else if (got == 0)
            break;
        else if (!WriteAll(g_copyTo, g_copyBuffer, got))
            result = COPY_FAILED;
        else if (g_progress.cancel)
            result = COPY_CANCELLED;
    }
    FILETIME written;
    if (result == COPY_DONE && GetFileTime(g_copyFrom, NULL, NULL, &written))
        SetFileTime(g_copyTo, NULL, NULL, &written);
    if (result != COPY_DONE)
        SetupDiscardPartialCopy();
    CloseCopyHandles();
    return result;
}

// The destination directory and name; a directory given with its trailing backslash
// ("%99%" of "C:\Tools\", or a root) gets no second one.
int DestinationPath(const SetupFile& entry, char* path, size_t size)
{
    const char* name = entry.destinationName[0] ? entry.destinationName : entry.sourceName;
    size_t length = strlen(entry.destinationDir);
    if (length > 0 && entry.destinationDir[length - 1] == '\\') {
        if (TextCopy(path, size, entry.destinationDir) && TextAppend(path, size, name))
            return 1;
        path[0] = '\0';
        return 0;
    }
    return SetupJoinPath(path, size, entry.destinationDir, name);
}

// Puts the copy written beside a destination in use (g_partialCopy) in place of the first
// numbered substitute that takes it, and lists the pair for replacement at restart.
void CopyToSubstitute(const char* destination, char* lastWritten, size_t size)
{
    for (int digit = 0; digit <= 9; ++digit) {
        char substitute[QV_TEXT_SIZE];
        if (!SubstituteName(substitute, sizeof(substitute), destination, digit))
            break;
        SetFileAttributesA(substitute, FILE_ATTRIBUTE_NORMAL);
        if (ReplaceWith(g_partialCopy, substitute)) {
            g_partialCopy[0] = '\0';
            TextCopy(lastWritten, size, substitute);
            // A full list leaves the substitute unlisted; the undo cannot find it then, so
            // it is not kept.
            if (!SetupAddRename(destination, substitute)) {
                DeleteFileA(substitute);
                lastWritten[0] = '\0';
            }
            return;
        }
    }
    SetupDiscardPartialCopy();
}

void SourcePath(const SetupFile& entry, char* path, size_t size)
{
    path[0] = '\0';
    if (entry.subFolder[0]) {
        char folder[QV_TEXT_SIZE];
        if (SetupJoinPath(folder, sizeof(folder), g_setup.setupDir, entry.subFolder))
            SetupJoinPath(path, size, folder, entry.sourceName);
        return;
    }
    SetupJoinPath(path, size, g_setup.cabFile ? g_tempDir : g_setup.setupDir, entry.sourceName);
}

// The copy loop; 0 when it stopped for a cancel.
int CopyLoop(const SetupPage* page)
{
    for (int i = 0; i < g_fileCount; ++i) {
        SetupFile& entry = g_files[i];
        char destination[QV_TEXT_SIZE];
        char source[QV_TEXT_SIZE];
        int named = DestinationPath(entry, destination, sizeof(destination));
        SourcePath(entry, source, sizeof(source));
        PageSetText(page, PROGRESS_SOURCE, entry.sourceName);
        PageSetText(page, PROGRESS_DESTINATION, destination);
        if (named)
            SetupRecordFile(destination);
        // A directory of that name is not the file's to replace, now or at restart.
        DWORD existing = named ? GetFileAttributesA(destination) : INVALID_FILE_ATTRIBUTES;
        int isDirectory = existing != INVALID_FILE_ATTRIBUTES && (existing & FILE_ATTRIBUTE_DIRECTORY);
        int copy = named && source[0] && !isDirectory &&
                   (existing == INVALID_FILE_ATTRIBUTES || ShouldCopyOver(source, destination));
        if (!SetupWaitToGoOn())
            return 0;
        if (copy) {
            if (existing != INVALID_FILE_ATTRIBUTES)
                SetFileAttributesA(destination, FILE_ATTRIBUTE_NORMAL);
            char lastWritten[QV_TEXT_SIZE];
            lastWritten[0] = '\0';
            int copied = CopyBeside(source, destination, entry.size);
            if (copied == COPY_CANCELLED)
                return 0;
            if (copied == COPY_DONE) {
                if (ReplaceWith(g_partialCopy, destination)) {
                    g_partialCopy[0] = '\0';
                    entry.copied = 1;
                    TextCopy(lastWritten, sizeof(lastWritten), destination);
                } else {
                    CopyToSubstitute(destination, lastWritten, sizeof(lastWritten));
                }
            }
            if (lastWritten[0])
                SetFileAttributesA(lastWritten, FILE_ATTRIBUTE_NORMAL);
        }
        if (g_setup.cabFile && !entry.subFolder[0] && entry.extracted && source[0]) {
            SetFileAttributesA(source, FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(source);
            entry.extracted = 0;
            InterlockedDecrement(&g_progress.extracted);
        }
        SetupAddDone(entry.size);
        PageRepaint(page);
    }
    return 1;
}

void ShowCopying(const SetupPage* page, int visible)
{
    static const int kIds[] = { PROGRESS_FROM_LABEL, PROGRESS_TO_LABEL, PROGRESS_SOURCE, PROGRESS_DESTINATION,
                                PROGRESS_PERCENT };
    for (int id : kIds)
        PageShow(page, id, visible);
}

void EndAnimation(const SetupPage* page)
{
    PageStop(page, PROGRESS_COPY_ANIMATION);
    PageShow(page, PROGRESS_COPY_ANIMATION, 0);
}

} // namespace

int SetupCopyStep(const SetupPage* page)
{
    if (g_fileCount == 0) {
        InterlockedExchange(&g_progress.percent, 100);
        PageRepaint(page);
        return 1;
    }
    int completed;
    if (g_setup.cabFile) {
        InterlockedExchange(&g_progress.cabinetBusy, 1);
        if (!SetupMakeTempDir() || !SetupExtractCabinet(g_setup.cabPath)) {
            // Whatever was unpacked before the failure goes, and the directory with it:
            // nothing of a failed run is left in the Windows directory.
            SetupUndoCopy();
            InterlockedExchange(&g_progress.installResult, SETUP_RESULT_CABINET);
            InterlockedExchange(&g_progress.cabinetBusy, 0);
            return 0;
        }
        PagePlay(page, PROGRESS_COPY_ANIMATION, IDR_AVI_COPY);
        ShowCopying(page, 1);
        completed = CopyLoop(page);
        // After a cancel the undo still needs the directory for what is left in it.
        if (completed)
            SetupRemoveTempDir();
        InterlockedExchange(&g_progress.cabinetBusy, 0);
    } else {
        g_progress.total = 0;
        for (int i = 0; i < g_fileCount; ++i)
            g_progress.total += g_files[i].size;
        PagePlay(page, PROGRESS_COPY_ANIMATION, IDR_AVI_COPY);
        ShowCopying(page, 1);
        completed = CopyLoop(page);
    }
    EndAnimation(page);
    return completed;
}

void SetupDiscardPartialCopy(void)
{
    CloseCopyHandles();
    if (!g_partialCopy[0])
        return;
    SetFileAttributesA(g_partialCopy, FILE_ATTRIBUTE_NORMAL);
    // A worker ended inside the system's copy still holds the file open; a copy that
    // failed before making it leaves nothing to schedule.
    if (!DeleteFileA(g_partialCopy) && !g_setup.is9x && GetFileAttributesA(g_partialCopy) != INVALID_FILE_ATTRIBUTES)
        MoveFileExA(g_partialCopy, NULL, MOVEFILE_DELAY_UNTIL_REBOOT);
    g_partialCopy[0] = '\0';
}

void SetupUndoCopy(void)
{
    char path[QV_TEXT_SIZE];
    SetupDiscardPartialCopy();
    if (g_tempDir[0]) {
        for (int i = 0; i < g_fileCount && g_progress.extracted > 0; ++i) {
            if (!g_files[i].extracted)
                continue;
            if (SetupJoinPath(path, sizeof(path), g_tempDir, g_files[i].sourceName)) {
                SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(path);
            }
            g_files[i].extracted = 0;
            InterlockedDecrement(&g_progress.extracted);
        }
        SetupRemoveTempDir();
    }
    for (int i = 0; i < g_fileCount; ++i) {
        SetupFile& entry = g_files[i];
        if (!entry.copied)
            continue;
        if (DestinationPath(entry, path, sizeof(path))) {
            SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(path);
        }
        entry.copied = 0;
    }
    for (int i = 0; i < SetupRenameCount(); ++i) {
        const SetupRename* rename = SetupRenameAt(i);
        if (rename) {
            SetFileAttributesA(rename->substitute, FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(rename->substitute);
        }
    }
    SetupClearRenames();
}
