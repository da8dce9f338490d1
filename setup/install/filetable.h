// The files the script's "Copy Files" section names, read once per run into a fixed
// table that the copy loop, the cabinet extraction and the undo walk.
#ifndef QV_SETUP_FILETABLE_H
#define QV_SETUP_FILETABLE_H

#include <windows.h>

#include "textparse.h"

enum { SETUP_MAX_FILES = 128 };

struct SetupFile {
    DWORD size;                            // 0 until known
    char destinationDir[QV_TEXT_SIZE];     // macros expanded
    char sourceName[QV_TEXT_SIZE];         // the key after its last backslash
    char subFolder[QV_TEXT_SIZE];          // the key before it; empty without one
    char destinationName[QV_TEXT_SIZE];    // empty: the source name
    int extracted;                         // in the temporary directory now
    int copied;                            // written to its destination
};

extern SetupFile g_files[SETUP_MAX_FILES];
extern int g_fileCount;

// Reads "Copy Files" of the chosen script into the table, sizes included (cabinet mode:
// entries with a sub-folder add theirs to the total at once). Returns the count; -1, an
// empty table and install result SETUP_RESULT_FILE_TABLE when the section has more entries
// than the table's room, or an entry whose key or fields do not fit 259 characters.
int SetupReadCopyFiles(void);
// The size of a file, 0 when it cannot be found.
DWORD SetupFileSize(const char* path);

#endif
