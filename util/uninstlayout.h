// Where uninstall records live in the registry (all under HKEY_LOCAL_MACHINE). Shared by
// the installer's writers and QVUtil's exports, which the uninstaller reads alike.
#ifndef QV_UNINSTLAYOUT_H
#define QV_UNINSTLAYOUT_H

#define QV_UNINSTALL_KEY "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
#define QV_UNINSTALL_FILES "DeleteFiles"
#define QV_UNINSTALL_DIRS "DeleteDirectory"
#define QV_UNINSTALL_REGS "DeleteRegs"
#define QV_SHARED_FILE_KEY "Software\\Qelvano\\Uninstall\\SharedFile\\"
#define QV_SHARED_REG_KEY "Software\\Qelvano\\Uninstall\\SharedReg\\"
// Their parents, which the first record makes and the last removal takes when empty.
#define QV_SHARED_PARENT_KEY "Software\\Qelvano\\Uninstall"
#define QV_MAKER_KEY "Software\\Qelvano"
#define QV_UNINSTALLER "QVUninst.exe"

// Composed key paths and names never get cut: one that does not fit this is not written.
enum { QV_UNINSTALL_TEXT = 1024 };

// Helpers both writers compile in (util/uninstrecord.cpp).
#include <windows.h>

// a + b + c + d into `out` (QV_UNINSTALL_TEXT bytes), or false when it does not fit.
bool UninstallCompose(char* out, const char* a, const char* b, const char* c = "", const char* d = "");
bool UninstallSetText(HKEY key, const char* name, const char* text);
// A file record's two parts: the name after the last backslash, and the directory before it
// into `dir` (QV_UNINSTALL_TEXT bytes; empty without a backslash). False if it does not fit.
bool UninstallSplitFile(const char* path, char* dir, const char** name);

#endif
