// Feeds arbitrary bytes to the simulated disc's description parser; whatever it accepts
// must be a disc whose tracks lie inside it.
#include "discfile.h"

#include <stdint.h>
#include <stdlib.h>
#include <string.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // A copy without terminator, so reading one byte too far is caught.
    char* text = (char*)malloc(size ? size : 1);
    memcpy(text, data, size);
    DiscInfo disc;
    int line = 0;
    if (DiscParse(text, size, &disc, &line) == DISC_OK) {
        if (disc.count < 0 || disc.count > DISC_MAX_TRACKS || disc.end > DISC_MAX_FRAMES)
            abort();
        for (int i = 0; i < disc.count; ++i) {
            if (disc.tracks[i].frames <= 0 || disc.tracks[i].start + disc.tracks[i].frames > disc.end)
                abort();
        }
        if (disc.initialFrame < 0 || disc.initialFrame > disc.end)
            abort();
    }
    free(text);
    return 0;
}
