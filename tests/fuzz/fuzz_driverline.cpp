// Feeds arbitrary "Update Driver" values to the installer's splitter and the preload
// texts built from the fields; every field sits in its own allocation so an overrun shows.
#include "driverline.h"

#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string text((const char*)data, size);  // NUL bytes end the value early, as in a C string
    DriverLine* line = (DriverLine*)malloc(sizeof(DriverLine));
    int count = DriverLineSplit(text.c_str(), line);
    if (count < 0 || count > DRIVER_LINE_FIELDS)
        abort();
    for (int i = 0; i < DRIVER_LINE_FIELDS; ++i) {
        if (strlen(line->field[i]) >= QV_TEXT_SIZE || (i >= count && line->field[i][0]))
            abort();
    }
    const char* end = text.c_str() + strlen(text.c_str());
    for (const char* rest = text.c_str(); *rest;) {
        char* field = (char*)malloc(QV_TEXT_SIZE);
        int present = 0;
        const char* next = DriverLineField(rest, field, QV_TEXT_SIZE, &present);
        free(field);
        if (next <= rest || next > end)
            abort();
        rest = next;
    }
    char* out = (char*)malloc(QV_TEXT_SIZE);
    DriverFolderName(out, QV_TEXT_SIZE, line->field[0]);
    if (strchr(out, '/'))
        abort();
    if (DriverPreloadCommand(out, QV_TEXT_SIZE, line->field[9], line->field[8], line->field[0]) && !strstr(out, "Preload.exe"))
        abort();
    DriverLineFlag(line->field[7]);
    free(out);
    free(line);
    return 0;
}
