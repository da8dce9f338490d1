// Calls into the maker's device-installation library, whose calling convention nobody
// has told us: stdcall and cdecl entry points both come back with the stack intact.
#ifndef QV_SETUP_ANYCALL_H
#define QV_SETUP_ANYCALL_H

#include <windows.h>

// Calls `entry` with `count` 32-bit arguments (args[0] first) and returns its 32-bit result.
int AnyCall(FARPROC entry, const DWORD* args, int count);

#endif
