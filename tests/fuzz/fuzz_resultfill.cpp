// Feeds arbitrary result-page texts, names and buffer sizes to the product-name fill, in a
// buffer of exactly that size, and checks the result against a plain expansion; the size
// the fill asks for is exactly the expansion's.
#include "resultfill.h"

#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    // First byte: buffer size; second: name length. The rest is name, then format.
    size_t room = data[0] + 1, nameLength = data[1] % 64;
    data += 2;
    size -= 2;
    if (nameLength > size)
        nameLength = size;
    std::string name((const char*)data, nameLength), format((const char*)data + nameLength, size - nameLength);
    name = name.c_str();
    format = format.c_str();
    std::string expected;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size() && format[i + 1] == 's') {
            expected += name;
            ++i;
        } else {
            expected += format[i];
        }
    }
    char* out = (char*)malloc(room);
    int whole = ResultFillName(out, room, format.c_str(), name.c_str());
    size_t length = strnlen(out, room);
    if (length >= room || whole != (expected.size() < room) || expected.compare(0, length, out) != 0 ||
        (whole && length != expected.size()))
        abort();
    free(out);
    if (ResultFillSize(format.c_str(), name.c_str()) != expected.size() + 1)
        abort();
    return 0;
}
