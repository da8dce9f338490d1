// Builds the summary page's text within the caller's buffer.
#include "summarytext.h"

namespace {

struct Writer {
    char* out;
    size_t size;
    size_t used;
    int whole;

    void Put(const char* text)
    {
        for (const char* p = text ? text : ""; *p; ++p) {
            if (used + 1 >= size) {
                whole = 0;
                return;
            }
            out[used++] = *p;
        }
    }
};

} // namespace

int SummaryBuild(char* out, size_t size, const SummaryPair* pairs, int count)
{
    if (!out || !size)
        return 0;
    Writer w = { out, size, 0, 1 };
    for (int i = 0; pairs && i < count; ++i) {
        if (i > 0)
            w.Put("\r\n\r\n");
        w.Put(pairs[i].label);
        w.Put(":\r\n          ");
        w.Put(pairs[i].value);
    }
    out[w.used] = '\0';
    return w.whole;
}
