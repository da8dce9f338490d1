// Which recorded paths the uninstaller may act on, and in what order. A record may come
// from another product or an older version, so nothing in it is trusted. No platform
// header here: built natively for the sanitizer tests and the fuzzer too.
#ifndef QV_UNINST_PATHS_H
#define QV_UNINST_PATHS_H

#include <stddef.h>

// True for a DBCS lead byte of the system's code page, so that its trail byte is never
// taken for a backslash. Null for a single-byte code page.
typedef int (*UninstLeadByte)(unsigned char c);

enum { UNINST_PATH_SIZE = 260, UNINST_MAX_PROTECTED = 8 };

// Directories that are never removed, nor any directory that holds one of them.
struct UninstProtected {
    const char* dirs[UNINST_MAX_PROTECTED];  // empty or null entries are passed over
    UninstLeadByte isLead;
};

enum UninstVerdict {
    UNINST_OK,
    UNINST_NOT_ABSOLUTE,  // no "X:\", an empty, "." or ".." step, or a character no path has
    UNINST_TOO_LONG,      // more than 259 characters
    UNINST_NO_DIRECTORY,  // a file recorded without its directory
    UNINST_DRIVE_ROOT,
    UNINST_PROTECTED      // the Windows or system directory, Program Files, or one holding them
};

// A recorded directory as it may be removed: `out` (UNINST_PATH_SIZE bytes) gets it without
// a trailing backslash. Anything but UNINST_OK leaves the directory alone.
UninstVerdict UninstCheckDir(const char* dir, const UninstProtected* protect, char* out);

// A recorded file: its directory and name joined into `out` (UNINST_PATH_SIZE bytes). The
// directory may be a drive root ("C:" or "C:\"); the name must be one plain step.
UninstVerdict UninstJoinFile(const char* dir, const char* name, UninstLeadByte isLead, char* out);

// True when `path` lies inside `dir` (both as UninstCheckDir gives them).
int UninstPathInside(const char* path, const char* dir, UninstLeadByte isLead);

// True when `path` (as UninstCheckDir gives it) is a directory's direct entry; `dir` may end
// in a backslash or be a drive root.
int UninstPathChildOf(const char* path, const char* dir, UninstLeadByte isLead);

// Backslashes outside DBCS characters.
int UninstPathDepth(const char* path, UninstLeadByte isLead);

// Deepest first, so that a parent is tried after what it holds; equal depths keep their order.
void UninstSortDeepestFirst(const char** paths, size_t count, UninstLeadByte isLead);

#endif
