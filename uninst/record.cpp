// Reading the uninstall record and, once its items are gone, removing it: the product's
// key under ...\Uninstall (and so its line in the list of installed programs), its
// SharedReg subtree and its values in SharedFile.
#include "uninst.h"

namespace {

// Deep enough for any record; a deeper tree is nobody's record and is left.
const int kMaxTreeDepth = 16;

bool KeyIsEmpty(HKEY key)
{
    DWORD subKeys = 0, values = 0;
    return RegQueryInfoKeyA(key, NULL, NULL, NULL, &subKeys, NULL, NULL, &values, NULL, NULL, NULL, NULL) ==
               ERROR_SUCCESS &&
           subKeys == 0 && values == 0;
}

bool DeleteTreeAt(HKEY root, const char* path, int depth)
{
    if (depth > kMaxTreeDepth)
        return false;
    HKEY key;
    LONG opened = RegOpenKeyExA(root, path, 0, KEY_READ | KEY_WRITE, &key);
    if (opened == ERROR_FILE_NOT_FOUND)
        return true;
    if (opened != ERROR_SUCCESS)
        return false;
    bool whole = true;
    DWORD index = 0;
    for (;;) {
        char name[QV_UNINSTALL_TEXT];
        DWORD nameLength = sizeof(name);
        LONG got = RegEnumKeyExA(key, index, name, &nameLength, NULL, NULL, NULL, NULL);
        if (got == ERROR_NO_MORE_ITEMS)
            break;
        char child[QV_UNINSTALL_TEXT];
        // A subkey that stays is stepped over, so the walk always ends.
        if (got != ERROR_SUCCESS || !UninstallCompose(child, path, "\\", name) || !DeleteTreeAt(root, child, depth + 1)) {
            whole = false;
            ++index;
        }
    }
    RegCloseKey(key);
    return whole && RegDeleteKeyA(root, path) == ERROR_SUCCESS;
}

// Whether any value of HKEY_LOCAL_MACHINE\path is named other than `own`. A name too long
// to read is someone else's.
bool OtherValueThan(const char* path, const char* own)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    bool other = false;
    for (DWORD index = 0; !other; ++index) {
        char name[QV_UNINSTALL_TEXT];
        DWORD nameLength = sizeof(name);
        LONG got = RegEnumValueA(key, index, name, &nameLength, NULL, NULL, NULL, NULL);
        if (got == ERROR_NO_MORE_ITEMS)
            break;
        other = got != ERROR_SUCCESS || lstrcmpiA(name, own) != 0;
    }
    RegCloseKey(key);
    return other;
}

void RemoveSharedFileValue(UninstContext* run, const char* name, const char* data, void* param)
{
    char path[QV_UNINSTALL_TEXT];
    if (!UninstallCompose(path, QV_SHARED_FILE_KEY, name))
        return;
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_READ | KEY_SET_VALUE, &key) != ERROR_SUCCESS)
        return;
    RegDeleteValueA(key, run->key);
    bool empty = KeyIsEmpty(key);
    RegCloseKey(key);
    if (empty)
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, path);
}

} // namespace

bool UninstForEachValue(UninstContext* run, const char* path, UninstValueFunc func, void* param)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    for (DWORD index = 0;; ++index) {
        char name[QV_UNINSTALL_TEXT];
        char data[QV_UNINSTALL_TEXT];
        DWORD nameLength = sizeof(name), dataLength = sizeof(data) - 1, type = 0;
        LONG got = RegEnumValueA(key, index, name, &nameLength, NULL, &type, (BYTE*)data, &dataLength);
        if (got == ERROR_NO_MORE_ITEMS)
            break;
        if (got != ERROR_SUCCESS || type != REG_SZ) {
            ++run->skipped;
            continue;
        }
        // Stored with or without its terminator: either way it ends here.
        data[dataLength] = '\0';
        func(run, name, data, param);
    }
    RegCloseKey(key);
    return true;
}

bool UninstFileSharedElsewhere(UninstContext* run, const char* name)
{
    char path[QV_UNINSTALL_TEXT];
    // A name that cannot be looked up might be shared: it stays.
    return !UninstallCompose(path, QV_SHARED_FILE_KEY, name) || OtherValueThan(path, run->key);
}

bool UninstRegSharedElsewhere(UninstContext* run, const char* rootName, const char* item)
{
    // The layout's name ends in a backslash, made for appending.
    char sharedPath[QV_UNINSTALL_TEXT];
    HKEY shared;
    if (!UninstallCompose(sharedPath, QV_SHARED_REG_KEY, ""))
        return true;
    sharedPath[lstrlenA(sharedPath) - 1] = '\0';
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, sharedPath, 0, KEY_READ, &shared) != ERROR_SUCCESS)
        return false;
    bool found = false;
    for (DWORD index = 0; !found; ++index) {
        char product[QV_UNINSTALL_TEXT];
        DWORD productLength = sizeof(product);
        LONG got = RegEnumKeyExA(shared, index, product, &productLength, NULL, NULL, NULL, NULL);
        if (got == ERROR_NO_MORE_ITEMS)
            break;
        if (got != ERROR_SUCCESS) {
            found = true;
            break;
        }
        if (lstrcmpiA(product, run->key) == 0)
            continue;
        char path[QV_UNINSTALL_TEXT];
        HKEY items;
        if (!UninstallCompose(path, product, "\\", rootName)) {
            found = true;
            break;
        }
        if (RegOpenKeyExA(shared, path, 0, KEY_READ, &items) != ERROR_SUCCESS)
            continue;
        found = RegQueryValueExA(items, item, NULL, NULL, NULL, NULL) == ERROR_SUCCESS;
        RegCloseKey(items);
    }
    RegCloseKey(shared);
    return found;
}

bool UninstDeleteTree(HKEY root, const char* path)
{
    return DeleteTreeAt(root, path, 0);
}

namespace {

// The shared lists and the maker's key are made by whichever product recorded first; each
// goes with the last product's record, only when nothing at all is left in it.
void DeleteIfEmpty(const char* layoutPath)
{
    char path[QV_UNINSTALL_TEXT];
    if (!UninstallCompose(path, layoutPath, ""))
        return;
    size_t length = lstrlenA(path);
    if (length > 0 && path[length - 1] == '\\')
        path[length - 1] = '\0';
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return;
    DWORD subKeys = 1, values = 1;
    bool empty = RegQueryInfoKeyA(key, NULL, NULL, NULL, &subKeys, NULL, NULL, &values, NULL, NULL, NULL, NULL) ==
                     ERROR_SUCCESS &&
                 subKeys == 0 && values == 0;
    RegCloseKey(key);
    if (empty)
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, path);
}

} // namespace

void UninstRemoveRecord(UninstContext* run)
{
    char files[QV_UNINSTALL_TEXT];
    char sharedRegs[QV_UNINSTALL_TEXT];
    if (UninstallCompose(files, run->productKey, "\\", QV_UNINSTALL_FILES))
        UninstForEachValue(run, files, RemoveSharedFileValue, NULL);
    if (UninstallCompose(sharedRegs, QV_SHARED_REG_KEY, run->key) && !UninstDeleteTree(HKEY_LOCAL_MACHINE, sharedRegs))
        run->failed++;
    if (!UninstDeleteTree(HKEY_LOCAL_MACHINE, run->productKey))
        run->failed++;
    DeleteIfEmpty(QV_SHARED_FILE_KEY);
    DeleteIfEmpty(QV_SHARED_REG_KEY);
    DeleteIfEmpty(QV_SHARED_PARENT_KEY);
    DeleteIfEmpty(QV_MAKER_KEY);
}
