// One line of the script's "Add Registry" section, read into what it asks the registry
// for. No platform header here.
#ifndef QV_SETUP_REGLINE_H
#define QV_SETUP_REGLINE_H

#include <stdint.h>

#include "fields.h"
#include "textparse.h"

enum RegLineRoot { REGLINE_HKLM, REGLINE_HKCU, REGLINE_HKCR, REGLINE_HKU };

enum RegLineKind {
    REGLINE_KEY_ONLY,  // only the subkey is created
    REGLINE_TEXT,      // REG_SZ `text`
    REGLINE_DWORD,     // REG_DWORD `number`
    REGLINE_BINARY,    // REG_BINARY `bytes`
};

enum { REGLINE_MAX_BYTES = 260 };

struct RegLine {
    RegLineRoot root;
    char subKey[QV_TEXT_SIZE];
    char valueName[QV_TEXT_SIZE];  // empty: the key's unnamed value
    RegLineKind kind;
    char text[QV_TEXT_SIZE];
    uint32_t number;
    unsigned char bytes[REGLINE_MAX_BYTES];
    int byteCount;
};

// Fields: root, subkey, value name, type flag ("0" or empty: text), then the text or the
// bytes in hexadecimal. One byte becomes a sign-extended REG_DWORD, none a REG_DWORD 0.
void RegLineRead(const char* value, const ScriptMacros* macros, RegLine* line);

#endif
