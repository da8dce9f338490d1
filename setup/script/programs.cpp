// Programs the script names to run: "PreRun Programs" before any window exists.
#include "setup.h"

#include <string.h>

namespace {

// Whole keys from the 1024-byte list, values of one script line, and the quoting around
// them always fit; a line that still would not is skipped rather than run cut.
enum { kCommandSize = 1024 + 3 * QV_TEXT_SIZE };

} // namespace

void SetupRunPreRunPrograms(void)
{
    ScriptForEachLine("PreRun Programs", [](const char* key, const char* value, const ScriptMacros* macros) {
        char dir[QV_TEXT_SIZE], args[QV_TEXT_SIZE], wait[QV_TEXT_SIZE];
        ScriptField(value, 1, dir, sizeof(dir), macros);
        ScriptField(value, 2, args, sizeof(args), macros);
        ScriptField(value, 3, wait, sizeof(wait), macros);

        char command[kCommandSize];
        if (!TextCopy(command, sizeof(command), "\"") || !TextAppend(command, sizeof(command), dir) ||
            !TextAppend(command, sizeof(command), "\\") || !TextAppend(command, sizeof(command), key) ||
            !TextAppend(command, sizeof(command), "\" ") || !TextAppend(command, sizeof(command), args))
            return;
        STARTUPINFOA startup;
        ZeroMemory(&startup, sizeof(startup));
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION process;
        if (!CreateProcessA(NULL, command, NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process))
            return;
        if (strcmp(wait, "1") == 0)
            WaitForSingleObject(process.hProcess, INFINITE);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    });
}
