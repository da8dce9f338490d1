// Cabinet mode: the medium's files come packed in one cabinet, unpacked into a temporary
// directory under the Windows directory before the copy loop takes them from there.
#ifndef QV_SETUP_CABINET_H
#define QV_SETUP_CABINET_H

#include "textparse.h"

// The temporary directory of this run; empty when none was made.
extern char g_tempDir[QV_TEXT_SIZE];

// Creates "_QelvanoTempDir<n>" in the Windows directory for the first n that can be made,
// trying at most 1000 numbers and stopping at a failure other than an existing name.
// 1 when made (g_tempDir names it).
int SetupMakeTempDir(void);
// Removes the temporary directory (it must be empty by then) and forgets it.
void SetupRemoveTempDir(void);
// Unpacks the cabinet's files that the file table names into the temporary directory,
// through the setup service loaded at run time. 0 when the cabinet is missing, the
// service or its iteration function cannot be had, or the iteration fails.
int SetupExtractCabinet(const char* cabinetPath);

#endif
