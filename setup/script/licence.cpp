// The user's locale and the licence text that goes with it.
#include "setup.h"

#include "licencetable.h"

void SetupReadLocale(char* locale, int size)
{
    if (size <= 0)
        return;
    const char* path = g_setup.isNT ? "Control Panel\\International" : "Control Panel\\Desktop\\ResourceLocale";
    const char* name = g_setup.isNT ? "Locale" : NULL;
    char text[QV_TEXT_SIZE];
    text[0] = '\0';
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) == ERROR_SUCCESS) {
        DWORD bytes = sizeof(text) - 1;
        DWORD type = 0;
        if (RegQueryValueExA(key, name, NULL, &type, (BYTE*)text, &bytes) == ERROR_SUCCESS && type == REG_SZ)
            text[bytes < sizeof(text) ? bytes : sizeof(text) - 1] = '\0';
        else
            text[0] = '\0';
        RegCloseKey(key);
    }
    TextCopy(locale, (size_t)size, text[0] ? text : "00000409");
}

void SetupChooseLicence(const char* licenceFolder)
{
    char dir[QV_TEXT_SIZE];
    if (licenceFolder && licenceFolder[0])
        SetupJoinPath(dir, sizeof(dir), g_setup.setupDir, licenceFolder);
    else
        TextCopy(dir, sizeof(dir), g_setup.setupDir);
    TextCopy(g_setup.licencePath, sizeof(g_setup.licencePath), dir);
    g_setup.licenceLength = 0;

    char locale[QV_TEXT_SIZE];
    SetupReadLocale(locale, sizeof(locale));
    const char* file = LicenceFileForLocale(locale, NULL);
    char path[QV_TEXT_SIZE];
    if (!file || !dir[0] || !SetupJoinPath(path, sizeof(path), dir, file))
        return;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(path, &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    FindClose(search);
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return;
    TextCopy(g_setup.licencePath, sizeof(g_setup.licencePath), path);
    // The page reads the text whole into memory; a length past 4 GB is not one it can hold.
    g_setup.licenceLength = found.nFileSizeHigh ? 0 : found.nFileSizeLow;
}
