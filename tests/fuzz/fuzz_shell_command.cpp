// Feeds arbitrary command lines to the program/argument split; both out buffers are
// exact-size allocations so a write past 260 bytes is caught.
#include "textparse.h"

#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string line((const char*)data, size);
    char* program = (char*)malloc(QV_TEXT_SIZE);
    char* arguments = (char*)malloc(QV_TEXT_SIZE);
    TextSplitCommand(line.c_str(), program, QV_TEXT_SIZE, arguments, QV_TEXT_SIZE);
    if (strlen(program) >= QV_TEXT_SIZE || strlen(arguments) >= QV_TEXT_SIZE)
        abort();
    free(program);
    free(arguments);
    return 0;
}
