// Feeds arbitrary "Add Registry" values to the line reader, whose record sits in its own
// allocation so a write past any of its buffers is caught.
#include "regline.h"

#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <string>

static void Lookup(void*, const char* name, char* text, size_t size)
{
    // Every name stands for a long list of bytes, to push the 260-byte bound.
    std::string answer;
    while (answer.size() + 3 < size)
        answer += "ff,";
    memcpy(text, answer.c_str(), answer.size() + 1);
    (void)name;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string text((const char*)data, size);
    ScriptMacros macros = { "S", "W", "Y", "I", Lookup, NULL };
    RegLine* line = (RegLine*)malloc(sizeof(RegLine));
    RegLineRead(text.c_str(), &macros, line);
    if (line->byteCount < 0 || line->byteCount > REGLINE_MAX_BYTES)
        abort();
    if (strlen(line->subKey) >= QV_TEXT_SIZE || strlen(line->valueName) >= QV_TEXT_SIZE ||
        strlen(line->text) >= QV_TEXT_SIZE)
        abort();
    if (line->kind == REGLINE_BINARY && line->byteCount < 2)
        abort();
    free(line);
    return 0;
}
