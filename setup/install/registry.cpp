// Registry entries of the script: "Add Registry" values written one by one and recorded
// for the uninstaller, and "Add Registry Files" handed to the system's registry editor.
#include "setup.h"

#include <string.h>

#include "regline.h"

namespace {

HKEY RootKey(RegLineRoot root)
{
    switch (root) {
    case REGLINE_HKLM:
        return HKEY_LOCAL_MACHINE;
    case REGLINE_HKCU:
        return HKEY_CURRENT_USER;
    case REGLINE_HKCR:
        return HKEY_CLASSES_ROOT;
    default:
        return HKEY_USERS;
    }
}

void WriteLine(HKEY root, const RegLine& line)
{
    HKEY key;
    if (RegCreateKeyExA(root, line.subKey, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL) != ERROR_SUCCESS)
        return;
    switch (line.kind) {
    case REGLINE_TEXT:
        RegSetValueExA(key, line.valueName, 0, REG_SZ, (const BYTE*)line.text, (DWORD)strlen(line.text) + 1);
        break;
    case REGLINE_DWORD: {
        DWORD number = line.number;
        RegSetValueExA(key, line.valueName, 0, REG_DWORD, (const BYTE*)&number, sizeof(number));
        break;
    }
    case REGLINE_BINARY:
        RegSetValueExA(key, line.valueName, 0, REG_BINARY, line.bytes, (DWORD)line.byteCount);
        break;
    case REGLINE_KEY_ONLY:
        break;
    }
    RegCloseKey(key);
}

} // namespace

void SetupAddRegistry(void)
{
    ScriptForEachLine("Add Registry", [](const char* key, const char* value, const ScriptMacros* macros) {
        RegLine line;
        RegLineRead(value, macros, &line);
        // Without a subkey the line would write into, and record for deletion, a whole root.
        if (!line.subKey[0])
            return;
        HKEY root = RootKey(line.root);
        WriteLine(root, line);
        if (g_setup.uninstallKey[0])
            SetupRecordRegItem(root, line.subKey, line.kind == REGLINE_KEY_ONLY ? "" : line.valueName);
    });
}

void SetupAddRegistryFiles(void)
{
    ScriptForEachLine("Add Registry Files", [](const char* key, const char* value, const ScriptMacros* macros) {
        char path[QV_TEXT_SIZE];
        if (!SetupJoinPath(path, sizeof(path), g_setup.setupDir, value))
            return;
        DWORD attributes = GetFileAttributesA(path);
        if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
            return;
        char command[QV_TEXT_SIZE + 16];
        if (!TextCopy(command, sizeof(command), "regedit /S \"") || !TextAppend(command, sizeof(command), path) ||
            !TextAppend(command, sizeof(command), "\""))
            return;
        STARTUPINFOA startup;
        ZeroMemory(&startup, sizeof(startup));
        startup.cb = sizeof(startup);
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = SW_HIDE;
        PROCESS_INFORMATION process;
        if (CreateProcessA(NULL, command, NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process)) {
            CloseHandle(process.hThread);
            CloseHandle(process.hProcess);
        }
    });
}
