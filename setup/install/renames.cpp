// The rename list: one process-wide table, filled by the copy on the worker thread and
// read by the result page after the worker has ended.
#include "renames.h"

#include <string.h>

namespace {

SetupRename g_renames[SETUP_MAX_RENAMES];
int g_renameCount;

} // namespace

int SetupAddRename(const char* target, const char* substitute)
{
    if (g_renameCount >= SETUP_MAX_RENAMES || strlen(target) >= QV_TEXT_SIZE || strlen(substitute) >= QV_TEXT_SIZE)
        return 0;
    SetupRename* entry = &g_renames[g_renameCount];
    TextCopy(entry->target, sizeof(entry->target), target);
    TextCopy(entry->substitute, sizeof(entry->substitute), substitute);
    ++g_renameCount;
    return 1;
}

void SetupClearRenames(void)
{
    memset(g_renames, 0, sizeof(g_renames));
    g_renameCount = 0;
}

int SetupRenameCount(void)
{
    return g_renameCount;
}

const SetupRename* SetupRenameAt(int index)
{
    return index >= 0 && index < g_renameCount ? &g_renames[index] : 0;
}
