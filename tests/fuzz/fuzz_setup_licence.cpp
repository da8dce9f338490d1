// Feeds arbitrary locale texts to the licence choice: it must answer one of its own file
// names or none, and never read outside the text.
#include "licencetable.h"

#include <stdint.h>
#include <stdlib.h>
#include <string.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    char* locale = (char*)malloc(size + 1);
    memcpy(locale, data, size);
    locale[size] = '\0';
    int exact = -1;
    const char* file = LicenceFileForLocale(locale, &exact);
    if (exact != 0 && exact != 1)
        abort();
    if (file && (strncmp(file, "LICEN", 5) != 0 || strlen(file) > 12))
        abort();
    if (!file && exact)
        abort();
    free(locale);
    return 0;
}
