// The uninstaller's command line and the names a record is addressed by: its key, the
// registry roots and the recorded registry items. No platform header here: built
// natively for the sanitizer tests and the fuzzer too.
#ifndef QV_UNINST_NAMES_H
#define QV_UNINST_NAMES_H

#include <stddef.h>

#include "paths.h"

// The registry's own limit for one key name.
enum { UNINST_KEY_SIZE = 256 };

// "[/S] KEY [/S]": KEY is the rest of the line, blanks and all (the installer writes it
// unquoted), without surrounding quotes. *silent gets whether "/S" was given. 1 when a key
// was given and fits UNINST_KEY_SIZE, 0 otherwise (`key` is then empty).
int UninstParseCommand(const char* line, int* silent, char* key);

// A key name the uninstaller may open under ...\Uninstall: one step (no backslash or
// slash), no "..", no control character, not only blanks, at most 255 characters.
int UninstKeyNameOk(const char* key, UninstLeadByte isLead);

enum UninstRoot { UNINST_HKLM, UNINST_HKCU, UNINST_HKCR, UNINST_HKU, UNINST_ROOTS };

// The root a record names, or -1 for a name the installer does not write.
int UninstRootIndex(const char* name);

// A recorded registry item: the value's name "SUBKEY" or "SUBKEY\\VALUE" and its data VALUE.
// `subKey` (UNINST_PATH_SIZE bytes) gets SUBKEY. 0 when the item is malformed: no subkey,
// an empty step, a name that does not end in its data, or a subkey over 259 characters.
int UninstSplitRegItem(const char* item, const char* valueName, UninstLeadByte isLead, char* subKey);

#endif
