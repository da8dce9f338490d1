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

// The product's uninstall key, with the two values the system's list of programs shows.
HKEY OpenProductKey(void)
{
    char path[QV_UNINSTALL_TEXT];
    char command[QV_UNINSTALL_TEXT];
    if (!g_setup.uninstallKey[0] || !UninstallCompose(path, QV_UNINSTALL_KEY, g_setup.uninstallKey) ||
        !UninstallCompose(command, QV_UNINSTALLER, " ", g_setup.uninstallKey))
        return NULL;
    HKEY key;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, path, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL) != ERROR_SUCCESS)
        return NULL;
    UninstallSetText(key, "UninstallString", command);
    UninstallSetText(key, "DisplayName", g_setup.uninstallDisplayName[0] ? g_setup.uninstallDisplayName : g_setup.productName);
    return key;
}

// Sets one text value in a subkey of `parent`, creating the subkey.
bool SetInSubKey(HKEY parent, const char* subKey, const char* name, const char* text)
{
    HKEY key;
    if (RegCreateKeyExA(parent, subKey, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL) != ERROR_SUCCESS)
        return false;
    bool ok = UninstallSetText(key, name, text);
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
    char dir[QV_UNINSTALL_TEXT];
    const char* name;
    char shared[QV_UNINSTALL_TEXT];
    if (!UninstallSplitFile(path, dir, &name) || !UninstallCompose(shared, QV_SHARED_FILE_KEY, name))
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
    if (!UninstallCompose(item, subKey, named ? "\\\\" : "", named ? valueName : "") ||
        !UninstallCompose(regs, QV_UNINSTALL_REGS, "\\", rootName) ||
        !UninstallCompose(shared, QV_SHARED_REG_KEY, g_setup.uninstallKey, "\\", rootName))
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
