// Uninstall records added on behalf of other programs: entries for files and directories
// under product uninstall keys that an installer has already made.
#include "QVUtil.h"
#include "textparse.h"
#include "uninstlayout.h"

namespace {

bool Compose(char* out, const char* a, const char* b)
{
    return TextCopy(out, QV_UNINSTALL_TEXT, a) && TextAppend(out, QV_UNINSTALL_TEXT, b);
}

bool SetText(HKEY key, const char* name, const char* text)
{
    return RegSetValueExA(key, name, 0, REG_SZ, (const BYTE*)text, (DWORD)lstrlenA(text) + 1) == ERROR_SUCCESS;
}

// Creates `list` under the product's existing uninstall key. The product key itself is
// never created here: a record without its product would be one no uninstaller finds.
LONG OpenList(const char* keyName, const char* list, HKEY* key)
{
    char path[QV_UNINSTALL_TEXT];
    if (!Compose(path, QV_UNINSTALL_KEY, keyName))
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
    const char* name = path;
    for (const char* p = path; *p; p = CharNextA(p)) {
        if (*p == '\\')
            name = p + 1;
    }
    char dir[QV_UNINSTALL_TEXT];
    size_t dirLen = name > path ? (size_t)(name - path - 1) : 0;
    char shared[QV_UNINSTALL_TEXT];
    if (dirLen >= sizeof(dir) || !Compose(shared, QV_SHARED_FILE_KEY, name))
        return ERROR_FILENAME_EXCED_RANGE;
    lstrcpynA(dir, path, (int)dirLen + 1);

    HKEY files;
    LONG status = OpenList(keyName, QV_UNINSTALL_FILES, &files);
    if (status != ERROR_SUCCESS)
        return status;
    bool written = SetText(files, name, dir);
    RegCloseKey(files);
    if (!written)
        return ERROR_SUCCESS;
    HKEY sharedKey;
    status = RegCreateKeyExA(HKEY_LOCAL_MACHINE, shared, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &sharedKey, NULL);
    if (status != ERROR_SUCCESS)
        return status;
    SetText(sharedKey, keyName, dir);
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
    SetText(dirs, directory, flagText ? flagText : "");
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
