// The pieces both uninstall-record writers share; see uninstlayout.h.
#include "uninstlayout.h"

#include "pathtext.h"
#include "textparse.h"

bool UninstallCompose(char* out, const char* a, const char* b, const char* c, const char* d)
{
    return TextCopy(out, QV_UNINSTALL_TEXT, a) && TextAppend(out, QV_UNINSTALL_TEXT, b) &&
           TextAppend(out, QV_UNINSTALL_TEXT, c) && TextAppend(out, QV_UNINSTALL_TEXT, d);
}

bool UninstallSetText(HKEY key, const char* name, const char* text)
{
    return RegSetValueExA(key, name, 0, REG_SZ, (const BYTE*)text, (DWORD)lstrlenA(text) + 1) == ERROR_SUCCESS;
}

bool UninstallSplitFile(const char* path, char* dir, const char** name)
{
    const char* slash = LastBackslash(path);
    *name = slash ? slash + 1 : path;
    size_t dirLen = slash ? (size_t)(slash - path) : 0;
    if (dirLen >= QV_UNINSTALL_TEXT)
        return false;
    lstrcpynA(dir, path, (int)dirLen + 1);
    return true;
}
