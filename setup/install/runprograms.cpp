// Programs started after the installation: "Run Programs" through the shell, and the
// keyboard driver's service on NT 5 and later. None is waited for.
#include "install.h"

#include <shellapi.h>
#include <string.h>

#include "setup.h"

void SetupRunPrograms(void)
{
    // A preload installation leaves the programs to the next full one.
    if (g_setup.preload)
        return;
    ScriptForEachLine("Run Programs", [](const char* key, const char* value, const ScriptMacros* macros) {
        char dir[QV_TEXT_SIZE], parameters[QV_TEXT_SIZE], file[QV_TEXT_SIZE];
        ScriptField(value, 1, dir, sizeof(dir), macros);
        ScriptField(value, 2, parameters, sizeof(parameters), macros);
        if (!SetupJoinPath(file, sizeof(file), dir, key))
            return;
        // Quoted also when empty: the programs expect one argument, possibly an empty one.
        char quoted[QV_TEXT_SIZE + 2];
        if (!TextCopy(quoted, sizeof(quoted), "\"") || !TextAppend(quoted, sizeof(quoted), parameters) ||
            !TextAppend(quoted, sizeof(quoted), "\""))
            return;
        ShellExecuteA(NULL, NULL, file, quoted, dir, SW_SHOWDEFAULT);
    });
}

int SetupStartDriverService(void)
{
    if (!g_setup.isNT5plus)
        return 0;
    return WinExec("net start hkport", SW_SHOWNORMAL) > 31;
}
