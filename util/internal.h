// Declarations shared by QVUtil's own files and not exported.
#ifndef QVUTIL_INTERNAL_H
#define QVUTIL_INTERNAL_H

#include <windows.h>

// The library's module: strings and other resources are loaded from it.
extern HINSTANCE g_qvutilInstance;

#endif
