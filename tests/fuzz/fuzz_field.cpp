// Feeds arbitrary text to the field splitter; the first byte picks the separator and the
// field number. The out buffer sits in its own allocation so any overrun is caught.
#include "textparse.h"

#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    char separator = (char)data[0];
    int number = data[1] % 8;
    std::string text((const char*)data + 2, size - 2);
    char* field = (char*)malloc(QV_TEXT_SIZE);
    int offset = TextField(text.c_str(), number, field, QV_TEXT_SIZE, separator);
    if (offset >= 0) {
        if ((size_t)offset > text.size() || strlen(field) >= QV_TEXT_SIZE)
            abort();
    }
    const char* rest = text.c_str();
    for (int i = 0; i < 64 && *rest; ++i)
        rest = TextFirstField(rest, field, QV_TEXT_SIZE, separator, NULL);
    free(field);
    return 0;
}
