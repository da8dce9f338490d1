// The copy step: every file of the table to its destination, over an older version only,
// with a numbered substitute beside a destination in use; and its undo after a cancel.
#ifndef QV_SETUP_COPY_H
#define QV_SETUP_COPY_H

#include "progress.h"

// Runs the copy step on the file table, plain or from the cabinet. 1 when it completed;
// 0 when the cabinet could not be extracted (install result 3) or the run was cancelled.
int SetupCopyStep(const SetupPage* page);
// Deletes the file a stopped worker was writing beside its target, if any.
void SetupDiscardPartialCopy(void);
// Deletes what the copy wrote: the file being written, extracted temporary files and
// directory, copied destinations, substitutes (the rename list is emptied). Call only once
// the worker ended.
void SetupUndoCopy(void);

#endif
