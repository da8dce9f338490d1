// The installer's side of the uninstall record: what it put on the machine, written
// where the separate uninstaller and other products sharing a file will look.
#include "setup.h"

#include "uninstlayout.h"

namespace {

const char* RootName(HKEY root)
{
    if (root == HKEY_LOCAL_MACHINE)
        return "HKEY_LOCAL_MACHINE";
    if (root == HKEY_CURRENT_USER)
        return "HKEY_CURRENT_USER";
    if (root == HKEY_CLASSES_ROOT)
        return "HKEY_CLASSES_ROOT";
    return "HKEY_USERS";
}

// a + b + c into `out` (QV_UNINSTALL_TEXT bytes), or false when it does not fit.
bool Compose(char* out, const char* a, const char* b, const char* c = "", const char* d = "")
{
    return TextCopy(out, QV_UNINSTALL_TEXT, a) && TextAppend(out, QV_UNINSTALL_TEXT, b) &&
           TextAppend(out, QV_UNINSTALL_TEXT, c) && TextAppend(out, QV_UNINSTALL_TEXT, d);
}

bool SetText(HKEY key, const char* name, const char* text)
{
    return RegSetValueExA(key, name, 0, REG_SZ, (const BYTE*)text, (DWORD)lstrlenA(text) + 1) == ERROR_SUCCESS;
}

// The product's uninstall key, with the two values the system's list of programs shows.
HKEY OpenProductKey(void)
{
    char path[QV_UNINSTALL_TEXT];
    char command[QV_UNINSTALL_TEXT];
    if (!g_setup.uninstallKey[0] || !Compose(path, QV_UNINSTALL_KEY, g_setup.uninstallKey) ||
        !Compose(command, QV_UNINSTALLER, " ", g_setup.uninstallKey))
        return NULL;
    HKEY key;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, path, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL) != ERROR_SUCCESS)
        return NULL;
    SetText(key, "UninstallString", command);
    SetText(key, "DisplayName", g_setup.uninstallDisplayName[0] ? g_setup.uninstallDisplayName : g_setup.productName);
    return key;
}

// Sets one text value in a subkey of `parent`, creating the subkey.
bool SetInSubKey(HKEY parent, const char* subKey, const char* name, const char* text)
{
    HKEY key;
    if (RegCreateKeyExA(parent, subKey, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL) != ERROR_SUCCESS)
        return false;
    bool ok = SetText(key, name, text);
    RegCloseKey(key);
    return ok;
}

} // namespace

int SetupRecordDirectory(const char* directory, const char* flag)
{
    HKEY product = OpenProductKey();
    if (!product)
        return 0;
    bool ok = SetInSubKey(product, QV_UNINSTALL_DIRS, directory, flag);
    RegCloseKey(product);
    return ok;
}

int SetupRecordFile(const char* path)
{
    // The uninstaller knows a file by its name; the directory is the value's data.
    const char* name = path;
    for (const char* p = path; *p; p = CharNextA(p)) {
        if (*p == '\\')
            name = p + 1;
    }
    char dir[QV_UNINSTALL_TEXT];
    size_t dirLen = name > path ? (size_t)(name - path - 1) : 0;
    if (dirLen >= sizeof(dir))
        return 0;
    lstrcpynA(dir, path, (int)dirLen + 1);
    char shared[QV_UNINSTALL_TEXT];
    if (!Compose(shared, QV_SHARED_FILE_KEY, name))
        return 0;

    HKEY product = OpenProductKey();
    if (!product)
        return 0;
    bool ok = SetInSubKey(product, QV_UNINSTALL_FILES, name, dir);
    RegCloseKey(product);
    if (ok)
        SetInSubKey(HKEY_LOCAL_MACHINE, shared, g_setup.uninstallKey, dir);
    return ok;
}

int SetupRecordRegItem(HKEY root, const char* subKey, const char* valueName)
{
    const char* rootName = RootName(root);
    bool named = valueName && valueName[0];
    char item[QV_UNINSTALL_TEXT];
    char regs[QV_UNINSTALL_TEXT];
    char shared[QV_UNINSTALL_TEXT];
    if (!Compose(item, subKey, named ? "\\\\" : "", named ? valueName : "") ||
        !Compose(regs, QV_UNINSTALL_REGS, "\\", rootName) ||
        !Compose(shared, QV_SHARED_REG_KEY, g_setup.uninstallKey, "\\", rootName))
        return 0;

    HKEY product = OpenProductKey();
    if (!product)
        return 0;
    const char* data = named ? valueName : "";
    bool ok = SetInSubKey(product, regs, item, data);
    RegCloseKey(product);
    if (ok)
        SetInSubKey(HKEY_LOCAL_MACHINE, shared, item, data);
    return ok;
}
