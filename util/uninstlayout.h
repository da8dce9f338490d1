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
#define QV_UNINSTALLER "QVUninst.exe"

// Composed key paths and names never get cut: one that does not fit this is not written.
enum { QV_UNINSTALL_TEXT = 1024 };

#endif
