// Feeds arbitrary text to the version text splitter.
#include "versiontext.h"

#include <stdint.h>
#include <string.h>

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string text((const char*)data, size);
    uint32_t high, low;
    VersionTextToNumbers(text.c_str(), &high, &low);
    return 0;
}
