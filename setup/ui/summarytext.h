// The summary page's configuration text, label and value pairs in one edit control's text.
// Plain text work, free of platform headers, so that it is built natively for the
// sanitizer tests and the fuzzer.
#ifndef QV_SETUP_SUMMARYTEXT_H
#define QV_SETUP_SUMMARYTEXT_H

#include <stddef.h>

struct SummaryPair {
    const char* label;
    const char* value;
};

// "Label:" CR LF, ten blanks and the value for each pair, pairs apart by CR LF CR LF. A null
// label or value counts as empty. Always terminated within `size`; 1 when it all fitted.
int SummaryBuild(char* out, size_t size, const SummaryPair* pairs, int count);

#endif
