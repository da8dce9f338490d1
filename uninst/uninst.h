// What the uninstaller's Windows-side files share: one run's context and the steps that
// act on the machine. The decisions they rely on are platform-free (paths.h, names.h).
#ifndef QV_UNINST_H
#define QV_UNINST_H

#include <windows.h>

#include "names.h"
#include "paths.h"
#include "textparse.h"
#include "uninstlayout.h"

// Exit codes. 0, 1, 2 and 4 are flags of a run that acted on the record, or-ed together:
//   0  everything the record listed is gone (or was already, or stays for another product)
//   1  some files were in use: they go when the system restarts
//   2  some entries were malformed or not safe to act on (a relative path, a drive root,
//      a system directory, an unknown root, a name too long): they were left alone
//   4  some entries could not be removed: the record is kept, so a later run can retry
// The rest mean nothing was done:
//   16 no key on the command line, or one that is no plain key name
//   17 no uninstall record under that key
//   18 the user declined at the confirmation
enum {
    UNINST_EXIT_DONE = 0,
    UNINST_EXIT_RESTART = 1,
    UNINST_EXIT_SKIPPED = 2,
    UNINST_EXIT_FAILED = 4,
    UNINST_EXIT_BAD_KEY = 16,
    UNINST_EXIT_NO_RECORD = 17,
    UNINST_EXIT_DECLINED = 18
};

// How long a running daemon is given to end after it was asked to.
enum { UNINST_DAEMON_WAIT_MS = 8000 };

// A growing array of fixed-size items on the process heap.
struct UninstList {
    char* items;
    size_t itemSize;
    int count, room;
};
void UninstListInit(UninstList* list, size_t itemSize);
// False when the heap has no room (the list is then unchanged).
bool UninstListAdd(UninstList* list, const void* item);
void* UninstListAt(const UninstList* list, int index);
void UninstListFree(UninstList* list);

struct UninstContext {
    char key[UNINST_KEY_SIZE];
    char productKey[QV_UNINSTALL_TEXT];  // ...\Uninstall\KEY under HKEY_LOCAL_MACHINE
    char displayName[QV_UNINSTALL_TEXT];
    bool is9x;
    char protectedDirs[UNINST_MAX_PROTECTED][UNINST_PATH_SIZE];
    UninstProtected protect;
    char programFiles[2][UNINST_PATH_SIZE];  // where the installer's product folder ("1") lies
    UninstList scheduled;  // paths (UNINST_PATH_SIZE) deleted at restart, so their directories can follow
    int restart, skipped, failed;
};

int UninstLeadByteOf(unsigned char c);

// run.cpp
int UninstRun(const char* commandLine);

// record.cpp: the record's values, and the record itself.
typedef void (*UninstValueFunc)(UninstContext* run, const char* name, const char* data, void* param);
// Calls `func` for each text value of HKEY_LOCAL_MACHINE\path; one whose name or data does not
// fit QV_UNINSTALL_TEXT, or that is no text, counts as skipped. False when the key is absent.
bool UninstForEachValue(UninstContext* run, const char* path, UninstValueFunc func, void* param);
// True when a product other than this run's records the file name under "SharedFile".
bool UninstFileSharedElsewhere(UninstContext* run, const char* name);
// True when a product other than this run's records the item under "SharedReg".
bool UninstRegSharedElsewhere(UninstContext* run, const char* rootName, const char* item);
// The key, its subkeys and values; false when something stayed.
bool UninstDeleteTree(HKEY root, const char* path);
// The product key, its SharedReg subtree and its SharedFile values.
void UninstRemoveRecord(UninstContext* run);

// remove.cpp
void UninstRemoveFiles(UninstContext* run);
void UninstRemoveDirectories(UninstContext* run);
void UninstRemoveRegistry(UninstContext* run);

// restart.cpp: deletion when the system next starts.
bool UninstDeleteAtRestart(UninstContext* run, const char* path);
// Directories left because a file in them goes at restart follow it (not on the 95 family,
// whose start-up deletes files only).
void UninstRemoveDirAtRestart(UninstContext* run, const char* dir);

// daemon.cpp
void UninstEndDaemon(void);

// messages.cpp
bool UninstConfirm(const UninstContext* run);
void UninstShowResult(const UninstContext* run, int code);

#endif
