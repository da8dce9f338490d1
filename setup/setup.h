// The installer's steps, one family per file. setup.exe runs them in order; the tests
// call them one by one in their own process.
#ifndef QV_SETUP_H
#define QV_SETUP_H

#include <windows.h>

#include "fields.h"
#include "state.h"

// Start-up (startup.cpp).
// Step 1: system flags, the word "Setup", installation and setup directories. A null
// `setupDir` means the directory of the running program.
void SetupInitState(const char* setupDir);
// Step 2, NT only: a thread locale among the resource languages, by language if need be.
void SetupChooseUiLanguage(void);
// Step 6: the options override what the script said.
void SetupApplyCommandLine(const char* commandLine);
// Steps 1 to 7; shows the unsupported-system message when no script fits. Exit code.
int SetupRun(const char* commandLine);
// A string of the program's resources, cut to size-1; empty when missing.
void SetupLoadString(UINT id, char* text, int size);

// Script (script.cpp).
// Step 3: fills g_setup.scriptPath and returns 1, or returns 0 when this system has none.
int SetupChooseScript(void);
// Step 4: section "Setup", the licence, the interface type and "Restart".
void SetupReadScript(void);

// Locale and licence (licence.cpp).
// The user's locale name such as "00000409" (that one when it cannot be read).
void SetupReadLocale(char* locale, int size);
// Licence path and length for "LicenseFolder" (may be empty).
void SetupChooseLicence(const char* licenceFolder);

// List sections of the chosen script (sections.cpp).
// Key names in file order, as a double-terminated list; only whole names that fit.
int ScriptSectionKeys(const char* section, char* keys, DWORD size);
// The whole key list of a section, however long, on the process heap; null when the
// section cannot be read whole. Freed with ScriptFreeKeyList.
char* ScriptSectionKeyList(const char* section);
void ScriptFreeKeyList(char* keys);
void ScriptReadValue(const char* section, const char* key, char* value, DWORD size);
// The same for a script named by its path.
int ScriptFileSectionKeys(const char* script, const char* section, char* keys, DWORD size);
void ScriptFileReadValue(const char* script, const char* section, const char* key, char* value, DWORD size);
// Directory macros of the current state and "Strings" of the chosen script.
void ScriptMacrosInit(ScriptMacros* macros);
// Calls `line` for every key of a list section of the chosen script, in file order, with
// its value and the script's macros; the keys are those of the 1024-byte list.
typedef void (*ScriptLineFn)(const char* key, const char* value, const ScriptMacros* macros);
void ScriptForEachLine(const char* section, ScriptLineFn line);
// dir, a backslash and name; 0 (and an empty result) when that does not fit `size`.
int SetupJoinPath(char* out, size_t size, const char* dir, const char* name);

// Program runs (programs.cpp).
void SetupRunPreRunPrograms(void);

// Registry entries (registry.cpp).
void SetupAddRegistry(void);
void SetupAddRegistryFiles(void);

// Uninstall records (uninstall.cpp); each does nothing and answers 0 without an uninstall key.
int SetupRecordDirectory(const char* directory, const char* flag);
int SetupRecordFile(const char* path);
int SetupRecordRegItem(HKEY root, const char* subKey, const char* valueName);

#endif
