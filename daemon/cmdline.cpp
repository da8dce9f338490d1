// The daemon's switches: compared case-blind over the switch's own length, so a field that
// only begins with a switch still counts, and the first switch that matches wins.
#include "daemon.h"

#include "QVUtil.h"

static BOOL StartsWithSwitch(const char* field, const char* name)
{
    for (; *name; field++, name++) {
        char a = *field, b = *name;
        if (a >= 'a' && a <= 'z')
            a = (char)(a - 'a' + 'A');
        if (b >= 'a' && b <= 'z')
            b = (char)(b - 'a' + 'A');
        if (a != b)
            return FALSE;
    }
    return TRUE;
}

void ParseCommandLine(LPCSTR text)
{
    static const char kRegKey[] = "/RegKey:";
    char field[DAEMON_TEXT_SIZE];
    for (int number = 1;; number++) {
        field[0] = '\0';
        if (Str_GetField(text, number, field, ' ') == -1)
            break;
        if (StartsWithSwitch(field, "/RunOnce"))
            g_runOnce = TRUE;
        else if (StartsWithSwitch(field, kRegKey))
            lstrcpynA(g_profileKey, field + sizeof(kRegKey) - 1, sizeof(g_profileKey));
        else if (StartsWithSwitch(field, "/ShowIcon"))
            g_showIcon = TRUE;
        // "/AddStartMenu" is accepted and does nothing; unknown fields are ignored.
    }
}
