// Feeds arbitrary script values to the installer's field reader. "Strings" answers every
// name with text built from the name itself (also the name between percent signs), and
// the field buffer sits in its own allocation so any overrun is caught.
#include "fields.h"
#include "textparse.h"

#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <string>

static void Lookup(void*, const char* name, char* text, size_t size)
{
    std::string answer = std::string("%") + name + "%," + name + name;
    size_t n = answer.size() < size - 1 ? answer.size() : size - 1;
    memcpy(text, answer.data(), n);
    text[n] = '\0';
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string text((const char*)data, size);  // NUL bytes end the value early, as in a C string
    std::string dir(300, 'd');
    ScriptMacros macros = { dir.c_str(), "C:\\WINDOWS", NULL, "", Lookup, NULL };
    char* field = (char*)malloc(QV_TEXT_SIZE);
    const char* rest = text.c_str();
    const char* end = text.c_str() + strlen(text.c_str());
    while (rest) {
        const char* next = ScriptReadField(rest, field, QV_TEXT_SIZE, &macros);
        if (strlen(field) >= QV_TEXT_SIZE || (next && (next <= rest || next > end)))
            abort();
        rest = next;
    }
    ScriptField(text.c_str(), 3, field, QV_TEXT_SIZE, &macros);
    free(field);
    return 0;
}
