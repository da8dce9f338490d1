// The few growing lists of a run (directories, registry keys, files scheduled at restart)
// on the process heap: the runtime's containers would pull in imports Windows 95 lacks.
#include "uninst.h"

void UninstListInit(UninstList* list, size_t itemSize)
{
    list->items = NULL;
    list->itemSize = itemSize;
    list->count = list->room = 0;
}

bool UninstListAdd(UninstList* list, const void* item)
{
    if (list->count == list->room) {
        int room = list->room ? list->room * 2 : 16;
        void* grown = list->items ? HeapReAlloc(GetProcessHeap(), 0, list->items, room * list->itemSize)
                                  : HeapAlloc(GetProcessHeap(), 0, room * list->itemSize);
        if (!grown)
            return false;
        list->items = (char*)grown;
        list->room = room;
    }
    CopyMemory(list->items + list->count * list->itemSize, item, list->itemSize);
    ++list->count;
    return true;
}

void* UninstListAt(const UninstList* list, int index)
{
    return list->items + index * list->itemSize;
}

void UninstListFree(UninstList* list)
{
    if (list->items)
        HeapFree(GetProcessHeap(), 0, list->items);
    UninstListInit(list, list->itemSize);
}
