// The copy loop and its undo. A copy either completes or is not started: the cancel flag
// is read after each wait, never in the middle of a file.
#include "copy.h"

#include "cabinet.h"
#include "copyname.h"
#include "filetable.h"
#include "renames.h"
#include "resource.h"
#include "setup.h"
#include "versions.h"

#include <string.h>

namespace {

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

// Writes the source beside a destination in use as the first numbered substitute that
// takes it, and lists the pair for replacement at restart.
void CopyToSubstitute(const char* source, const char* destination, char* lastWritten, size_t size)
{
    for (int digit = 0; digit <= 9; ++digit) {
        char substitute[QV_TEXT_SIZE];
        if (!SubstituteName(substitute, sizeof(substitute), destination, digit))
            return;
        SetFileAttributesA(substitute, FILE_ATTRIBUTE_NORMAL);
        if (CopyFileA(source, substitute, FALSE)) {
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
            if (CopyFileA(source, destination, FALSE)) {
                entry.copied = 1;
                TextCopy(lastWritten, sizeof(lastWritten), destination);
            } else {
                DWORD error = GetLastError();
                if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND)
                    CopyToSubstitute(source, destination, lastWritten, sizeof(lastWritten));
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

void SetupUndoCopy(void)
{
    char path[QV_TEXT_SIZE];
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
