// The installer's command-line options. No platform header here.
#ifndef QV_SETUP_CMDLINE_H
#define QV_SETUP_CMDLINE_H

enum SetupOption {
    SETUP_OPT_UNKNOWN = 0,
    SETUP_OPT_HIDDEN,    // /H
    SETUP_OPT_SILENT,    // /S
    SETUP_OPT_NORESTART, // /NR
    SETUP_OPT_TYPE_PS2,  // /TYPE:PS2
    SETUP_OPT_TYPE_USB,  // /TYPE:USB
    SETUP_OPT_PRELOAD,   // /PRELOAD or /P
};

enum { SETUP_MAX_OPTIONS = 16, SETUP_OPTION_CHARS = 15 };

// Splits `commandLine` into its options in order: text before the first slash is ignored,
// blanks are removed, case does not matter. At most SETUP_MAX_OPTIONS are taken; one
// longer than SETUP_OPTION_CHARS characters is unknown. Returns the count written.
int SetupParseOptions(const char* commandLine, SetupOption options[SETUP_MAX_OPTIONS]);

#endif
