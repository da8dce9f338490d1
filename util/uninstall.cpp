// Uninstall records added on behalf of other programs: entries for files and directories
// under product uninstall keys that an installer has already made.
#include "QVUtil.h"
#include "textparse.h"
#include "uninstlayout.h"

namespace {

// Creates `list` under the product's existing uninstall key. The product key itself is
// never created here: a record without its product would be one no uninstaller finds.
LONG OpenList(const char* keyName, const char* list, HKEY* key)
{
    char path[QV_UNINSTALL_TEXT];
    if (!UninstallCompose(path, QV_UNINSTALL_KEY, keyName))
        return ERROR_FILENAME_EXCED_RANGE;
    HKEY product;
    LONG status = RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_ALL_ACCESS, &product);
    if (status != ERROR_SUCCESS)
        return status;
    status = RegCreateKeyExA(product, list, 0, NULL, 0, KEY_ALL_ACCESS, NULL, key, NULL);
    RegCloseKey(product);
    return status;
}

LONG RecordFile(LPCSTR path, LPCSTR keyName)
{
    if (!keyName || !keyName[0])
        return ERROR_SUCCESS;
    char dir[QV_UNINSTALL_TEXT];
    const char* name;
    char shared[QV_UNINSTALL_TEXT];
    if (!UninstallSplitFile(path, dir, &name) || !UninstallCompose(shared, QV_SHARED_FILE_KEY, name))
        return ERROR_FILENAME_EXCED_RANGE;

    HKEY files;
    LONG status = OpenList(keyName, QV_UNINSTALL_FILES, &files);
    if (status != ERROR_SUCCESS)
        return status;
    bool written = UninstallSetText(files, name, dir);
    RegCloseKey(files);
    if (!written)
        return ERROR_SUCCESS;
    HKEY sharedKey;
    status = RegCreateKeyExA(HKEY_LOCAL_MACHINE, shared, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &sharedKey, NULL);
    if (status != ERROR_SUCCESS)
        return status;
    UninstallSetText(sharedKey, keyName, dir);
    RegCloseKey(sharedKey);
    return ERROR_SUCCESS;
}

LONG RecordDirectory(LPCSTR directory, LPCSTR flagText, LPCSTR keyName)
{
    if (!keyName || !keyName[0])
        return ERROR_SUCCESS;
    HKEY dirs;
    LONG status = OpenList(keyName, QV_UNINSTALL_DIRS, &dirs);
    if (status != ERROR_SUCCESS)
        return status;
    UninstallSetText(dirs, directory, flagText ? flagText : "");
    RegCloseKey(dirs);
    return ERROR_SUCCESS;
}

} // namespace

// The first product's outcome is deliberately not reported.
QVUTIL_API LONG __cdecl CreateUninstallDeleteFileRegistry(LPCSTR path, LPCSTR keyName1, LPCSTR keyName2)
{
    if (!path)
        return ERROR_INVALID_PARAMETER;
    RecordFile(path, keyName1);
    return RecordFile(path, keyName2);
}

QVUTIL_API LONG __cdecl CreateUninstallDeleteDirRegistry(LPCSTR directory, LPCSTR flagText, LPCSTR keyName1, LPCSTR keyName2)
{
    if (!directory)
        return ERROR_INVALID_PARAMETER;
    RecordDirectory(directory, flagText, keyName1);
    return RecordDirectory(directory, flagText, keyName2);
}
