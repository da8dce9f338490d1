// Feeds arbitrary text to the number parser.
#include "textparse.h"

#include <stdint.h>
#include <string.h>

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string text((const char*)data, size);
    TextToInteger(text.c_str());
    return 0;
}
