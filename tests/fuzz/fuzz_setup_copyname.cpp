// Feeds arbitrary destinations, digits and room to the substitute namer and checks that the
// result stays in its room and keeps the destination's directory part whole.
#include "copyname.h"

#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    int digit = data[0] % 12 - 1;
    size_t room = data[1] % 64 + 1;
    std::string destination((const char*)data + 2, size - 2);
    destination = destination.c_str();
    char* out = (char*)malloc(room);
    int ok = SubstituteName(out, room, destination.c_str(), digit);
    if (ok) {
        size_t n = strlen(out);
        if (n >= room || n < 2 || out[n - 1] != '0' + digit || out[n - 2] != '.')
            abort();
        size_t slash = destination.find_last_of("\\/:");
        size_t folder = slash == std::string::npos ? 0 : slash + 1;
        if (n < folder || memcmp(out, destination.data(), folder) != 0)
            abort();
    } else if (room > 0 && out[0] != '\0') {
        abort();
    }
    free(out);
    return 0;
}
