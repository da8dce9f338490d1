// Log files of the stand-ins: one line a call or message, which the tests read back.
// Several processes may log to one file, so every line is a single appending write.
#ifndef QV_SIM_SIMLOG_H
#define QV_SIM_SIMLOG_H

#include <windows.h>

// Appends `line` and a line break; lines longer than 1000 characters are cut.
void SimLogLine(const char* path, const char* line);

// The log path: the environment variable if set, else `fallback` (may be empty).
void SimLogPath(const char* variable, const char* fallback, char* path, DWORD size);

#endif
