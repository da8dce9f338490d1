// Command-line options of setup.exe, kept apart from Windows so the parser is fuzzed.
#include "cmdline.h"

#include <stddef.h>

namespace {

SetupOption Classify(const char* option, size_t len)
{
    static const struct {
        const char* text;
        SetupOption option;
    } names[] = {
        { "H", SETUP_OPT_HIDDEN },         { "S", SETUP_OPT_SILENT },
        { "NR", SETUP_OPT_NORESTART },     { "TYPE:PS2", SETUP_OPT_TYPE_PS2 },
        { "TYPE:USB", SETUP_OPT_TYPE_USB }, { "PRELOAD", SETUP_OPT_PRELOAD },
        { "P", SETUP_OPT_PRELOAD },
    };
    for (const auto& name : names) {
        size_t i = 0;
        for (; i < len && name.text[i]; ++i) {
            char c = option[i];
            if (c >= 'a' && c <= 'z')
                c = (char)(c - 32);
            if (c != name.text[i])
                break;
        }
        if (i == len && name.text[i] == '\0')
            return name.option;
    }
    return SETUP_OPT_UNKNOWN;
}

} // namespace

int SetupParseOptions(const char* commandLine, SetupOption options[SETUP_MAX_OPTIONS])
{
    int count = 0;
    const char* p = commandLine;
    while (*p && *p != '/')
        ++p;
    while (*p == '/' && count < SETUP_MAX_OPTIONS) {
        ++p;
        char option[SETUP_OPTION_CHARS];
        size_t len = 0;
        bool tooLong = false;
        for (; *p && *p != '/'; ++p) {
            if (*p == ' ' || *p == '\t')
                continue;
            if (len < sizeof(option))
                option[len++] = *p;
            else
                tooLong = true;
        }
        options[count++] = tooLong ? SETUP_OPT_UNKNOWN : Classify(option, len);
    }
    return count;
}
