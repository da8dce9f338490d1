// Removing what the record lists, each entry only after the decisions of paths.h and
// names.h accepted it: files (unless another product shares them), then directories that
// are empty once those are gone, then registry values and emptied keys.
#include "uninst.h"

namespace {

struct Path {
    char text[UNINST_PATH_SIZE];
    bool done;
    bool productFolder;
};

struct RegKey {
    HKEY root;
    char subKey[UNINST_PATH_SIZE];
    bool done;
};

// Pointers to the texts of `list`'s items (at `offset` in each), deepest first. Without
// room on the heap `order` stays empty, nothing of the list is acted on, and the run fails.
void OrderDeepestFirst(UninstContext* run, const UninstList* list, size_t offset, UninstList* order)
{
    UninstListInit(order, sizeof(char*));
    for (int i = 0; i < list->count; ++i) {
        const char* text = (const char*)UninstListAt(list, i) + offset;
        if (!UninstListAdd(order, &text)) {
            UninstListFree(order);
            ++run->failed;
            return;
        }
    }
    UninstSortDeepestFirst((const char**)order->items, (size_t)order->count, UninstLeadByteOf);
}

const HKEY kRoots[UNINST_ROOTS] = { HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER, HKEY_CLASSES_ROOT, HKEY_USERS };

void DeleteOrSchedule(UninstContext* run, const char* path, DWORD attributes)
{
    if (attributes & FILE_ATTRIBUTE_READONLY)
        SetFileAttributesA(path, attributes & ~FILE_ATTRIBUTE_READONLY);
    if (DeleteFileA(path))
        return;
    if (UninstDeleteAtRestart(run, path)) {
        run->restart = 1;
        return;
    }
    // The file stays as it was found.
    SetFileAttributesA(path, attributes);
    ++run->failed;
}

void RemoveFile(UninstContext* run, const char* name, const char* dir, void* param)
{
    char path[UNINST_PATH_SIZE];
    if (UninstJoinFile(dir, name, UninstLeadByteOf, path) != UNINST_OK) {
        ++run->skipped;
        return;
    }
    if (UninstFileSharedElsewhere(run, name))
        return;
    DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        ++run->skipped;
        return;
    }
    DeleteOrSchedule(run, path, attributes);
}

// The installer records its product folder under Program Files ("1") but not the copy of
// the installation medium it puts there for the driver: only such a folder, directly in a
// Program Files directory, is emptied whole. Every other directory goes only once empty.
bool IsProductFolder(const UninstContext* run, const char* dir, const char* flag)
{
    if (lstrcmpA(flag, "1") != 0)
        return false;
    for (int i = 0; i < 2; ++i) {
        if (run->programFiles[i][0] && UninstPathChildOf(dir, run->programFiles[i], UninstLeadByteOf))
            return true;
    }
    return false;
}

// Files in use go at restart, and their directories after them. Links to elsewhere are not
// followed. Each level holds one path, and a deeper one is longer, so the recursion ends.
void EmptyTree(UninstContext* run, const char* dir)
{
    char pattern[UNINST_PATH_SIZE];
    if (!TextCopy(pattern, sizeof(pattern), dir) || !TextAppend(pattern, sizeof(pattern), "\\*")) {
        ++run->skipped;
        return;
    }
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern, &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        if (!lstrcmpA(found.cFileName, ".") || !lstrcmpA(found.cFileName, ".."))
            continue;
        char path[UNINST_PATH_SIZE];
        if (!TextCopy(path, sizeof(path), dir) || !TextAppend(path, sizeof(path), "\\") ||
            !TextAppend(path, sizeof(path), found.cFileName)) {
            ++run->skipped;
            continue;
        }
        if (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
            ++run->skipped;
        } else if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            EmptyTree(run, path);
            if (!RemoveDirectoryA(path))
                UninstRemoveDirAtRestart(run, path);
        } else {
            DeleteOrSchedule(run, path, found.dwFileAttributes);
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

// The flag: "1" for the product folder, "0" for the installation directory, anything from
// other products; see IsProductFolder.
void CollectDirectory(UninstContext* run, const char* dir, const char* flag, void* param)
{
    Path path;
    path.done = false;
    if (UninstCheckDir(dir, &run->protect, path.text) != UNINST_OK) {
        ++run->skipped;
        return;
    }
    path.productFolder = IsProductFolder(run, path.text, flag);
    if (!UninstListAdd((UninstList*)param, &path))
        ++run->failed;
}

enum KeyOutcome { KEY_GONE, KEY_STAYS, KEY_ERROR };

// Deletes the key when nothing but, at most, its unnamed value is left in it: a recorded
// key stands for the key or that value, and anything else in it is someone else's.
KeyOutcome DeleteKeyIfOnlyOurs(HKEY root, const char* subKey)
{
    HKEY key;
    LONG opened = RegOpenKeyExA(root, subKey, 0, KEY_READ, &key);
    if (opened == ERROR_FILE_NOT_FOUND)
        return KEY_GONE;
    if (opened != ERROR_SUCCESS)
        return KEY_ERROR;
    DWORD subKeys = 1, values = 1;
    bool ours = RegQueryInfoKeyA(key, NULL, NULL, NULL, &subKeys, NULL, NULL, &values, NULL, NULL, NULL, NULL) ==
                    ERROR_SUCCESS &&
                subKeys == 0;
    if (ours && values > 0) {
        char name[4];
        DWORD nameLength = sizeof(name);
        ours = values == 1 && RegEnumValueA(key, 0, name, &nameLength, NULL, NULL, NULL, NULL) == ERROR_SUCCESS &&
               nameLength == 0;
    }
    RegCloseKey(key);
    if (!ours)
        return KEY_STAYS;
    return RegDeleteKeyA(root, subKey) == ERROR_SUCCESS ? KEY_GONE : KEY_ERROR;
}

struct RegWalk {
    const char* rootName;
    HKEY root;
    UninstList* keys;
};

void RemoveRegItem(UninstContext* run, const char* item, const char* valueName, void* param)
{
    RegWalk* walk = (RegWalk*)param;
    RegKey entry;
    entry.root = walk->root;
    entry.done = false;
    if (!UninstSplitRegItem(item, valueName, UninstLeadByteOf, entry.subKey)) {
        ++run->skipped;
        return;
    }
    if (UninstRegSharedElsewhere(run, walk->rootName, item))
        return;
    if (!valueName[0]) {
        if (!UninstListAdd(walk->keys, &entry))
            ++run->failed;
        return;
    }
    HKEY key;
    LONG opened = RegOpenKeyExA(walk->root, entry.subKey, 0, KEY_SET_VALUE, &key);
    if (opened == ERROR_FILE_NOT_FOUND)
        return;
    if (opened != ERROR_SUCCESS) {
        ++run->failed;
        return;
    }
    LONG deleted = RegDeleteValueA(key, valueName);
    if (deleted != ERROR_SUCCESS && deleted != ERROR_FILE_NOT_FOUND)
        ++run->failed;
    RegCloseKey(key);
}

} // namespace

void UninstRemoveFiles(UninstContext* run)
{
    char path[QV_UNINSTALL_TEXT];
    if (UninstallCompose(path, run->productKey, "\\", QV_UNINSTALL_FILES))
        UninstForEachValue(run, path, RemoveFile, NULL);
}

void UninstRemoveDirectories(UninstContext* run)
{
    char path[QV_UNINSTALL_TEXT];
    UninstList dirs, order;
    UninstListInit(&dirs, sizeof(Path));
    if (!UninstallCompose(path, run->productKey, "\\", QV_UNINSTALL_DIRS) ||
        !UninstForEachValue(run, path, CollectDirectory, &dirs))
        return;
    for (int i = 0; i < dirs.count; ++i) {
        Path* dir = (Path*)UninstListAt(&dirs, i);
        if (dir->productFolder)
            EmptyTree(run, dir->text);
    }
    OrderDeepestFirst(run, &dirs, offsetof(Path, text), &order);
    const char** texts = (const char**)order.items;
    // Deepest first, and again while that empties a parent recorded out of order.
    for (bool progress = true; progress;) {
        progress = false;
        for (int i = 0; i < order.count; ++i) {
            Path* dir = (Path*)(texts[i] - offsetof(Path, text));
            if (dir->done)
                continue;
            DWORD attributes = GetFileAttributesA(dir->text);
            if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
                dir->done = true;
            else if (RemoveDirectoryA(dir->text))
                dir->done = progress = true;
        }
    }
    // What stays holds files the record did not list, or files that go at restart.
    for (int i = 0; i < order.count; ++i) {
        if (!((Path*)(texts[i] - offsetof(Path, text)))->done)
            UninstRemoveDirAtRestart(run, texts[i]);
    }
    UninstListFree(&order);
    UninstListFree(&dirs);
}

void UninstRemoveRegistry(UninstContext* run)
{
    char regs[QV_UNINSTALL_TEXT];
    HKEY rootsKey;
    if (!UninstallCompose(regs, run->productKey, "\\", QV_UNINSTALL_REGS) ||
        RegOpenKeyExA(HKEY_LOCAL_MACHINE, regs, 0, KEY_READ, &rootsKey) != ERROR_SUCCESS)
        return;
    UninstList keys;
    UninstListInit(&keys, sizeof(RegKey));
    for (DWORD index = 0;; ++index) {
        char rootName[QV_UNINSTALL_TEXT];
        DWORD nameLength = sizeof(rootName);
        LONG got = RegEnumKeyExA(rootsKey, index, rootName, &nameLength, NULL, NULL, NULL, NULL);
        if (got == ERROR_NO_MORE_ITEMS)
            break;
        int root = got == ERROR_SUCCESS ? UninstRootIndex(rootName) : -1;
        if (root < 0) {
            ++run->skipped;
            continue;
        }
        char items[QV_UNINSTALL_TEXT];
        RegWalk walk = { rootName, kRoots[root], &keys };
        if (UninstallCompose(items, regs, "\\", rootName))
            UninstForEachValue(run, items, RemoveRegItem, &walk);
    }
    RegCloseKey(rootsKey);

    UninstList order;
    OrderDeepestFirst(run, &keys, offsetof(RegKey, subKey), &order);
    const char** texts = (const char**)order.items;
    for (bool progress = true; progress;) {
        progress = false;
        for (int i = 0; i < order.count; ++i) {
            RegKey* key = (RegKey*)(texts[i] - offsetof(RegKey, subKey));
            if (key->done)
                continue;
            KeyOutcome outcome = DeleteKeyIfOnlyOurs(key->root, key->subKey);
            if (outcome == KEY_ERROR)
                ++run->failed;
            key->done = outcome != KEY_STAYS;
            progress = progress || outcome == KEY_GONE;
        }
    }
    UninstListFree(&order);
    UninstListFree(&keys);
}
