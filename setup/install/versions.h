// The copy loop's question for a file that is already installed: may the medium's file
// replace it? Read from the two files' version resources and last-write times.
#ifndef QV_SETUP_VERSIONS_H
#define QV_SETUP_VERSIONS_H

#include <windows.h>

// 1 when `source` is to be copied over `destination`: the destination is missing, the
// source's version is newer, or the versions are equal or unreadable and the source was
// written later. 0 keeps the destination.
int ShouldCopyOver(LPCSTR source, LPCSTR destination);

#endif
