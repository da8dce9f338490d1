// Feeds arbitrary command lines to setup's option parser; the option array is sized
// exactly, in its own allocation, so a 17th option would be caught.
#include "cmdline.h"

#include <stdint.h>
#include <stdlib.h>

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string text((const char*)data, size);
    SetupOption* options = (SetupOption*)malloc(sizeof(SetupOption) * SETUP_MAX_OPTIONS);
    int n = SetupParseOptions(text.c_str(), options);
    if (n < 0 || n > SETUP_MAX_OPTIONS)
        abort();
    for (int i = 0; i < n; ++i) {
        if (options[i] < SETUP_OPT_UNKNOWN || options[i] > SETUP_OPT_PRELOAD)
            abort();
    }
    free(options);
    return 0;
}
