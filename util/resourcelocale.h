// The thread locale moved to one of the 14 languages our resources carry. Compiled into each
// program that picks its texts by it (QVUtil, setup, the uninstaller, which must not load
// the library it is about to delete).
#ifndef QV_RESOURCELOCALE_H
#define QV_RESOURCELOCALE_H

#include <windows.h>

// Kept when it is one of them; else the one of its language (French of Canada to French);
// else English.
void ChooseResourceLocale(void);

#endif
