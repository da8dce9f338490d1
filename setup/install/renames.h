// The destinations that were in use during the copy and the numbered substitutes written
// beside them: kept until the result page schedules their replacement at restart.
#ifndef QV_SETUP_RENAMES_H
#define QV_SETUP_RENAMES_H

#include "textparse.h"

enum { SETUP_MAX_RENAMES = 128 };

struct SetupRename {
    char target[QV_TEXT_SIZE];      // the destination in use
    char substitute[QV_TEXT_SIZE];  // its numbered copy
};

// 1 when added; 0 when the list is full or a path does not fit (nothing is added then:
// a cut path would replace another file).
int SetupAddRename(const char* target, const char* substitute);
void SetupClearRenames(void);
int SetupRenameCount(void);
// Entry `index` (from 0), or null.
const SetupRename* SetupRenameAt(int index);

#endif
