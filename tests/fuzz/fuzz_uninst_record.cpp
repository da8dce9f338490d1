// Feeds a record in a small text form to the uninstaller's decisions and checks what it
// would act on: lines "key=K", "cmd=LINE", "file=DIR\tNAME", "dir=PATH", "reg=ROOT\tITEM\tVALUE".
// An accepted path is absolute, inside its limits, never a protected directory or one holding
// it, and the directories come out deepest first.
#include "laterdelete.h"
#include "names.h"
#include "paths.h"

#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

namespace {

int Cp932Lead(unsigned char c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

void Check(bool ok)
{
    if (!ok)
        abort();
}

bool Absolute(const char* path)
{
    return ((path[0] | 0x20) >= 'a' && (path[0] | 0x20) <= 'z') && path[1] == ':' && path[2] == '\\' && path[3];
}

std::vector<std::string> Split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        size_t at = text.find(separator, start);
        parts.push_back(text.substr(start, at == std::string::npos ? std::string::npos : at - start));
        if (at == std::string::npos)
            return parts;
        start = at + 1;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    UninstLeadByte isLead = (data[0] & 1) ? Cp932Lead : nullptr;
    std::string text((const char*)data + 1, size - 1);
    if (text.find('\0') != std::string::npos)
        return 0;
    UninstProtected protect = {};
    protect.dirs[0] = "C:\\WINDOWS";
    protect.dirs[1] = "C:\\WINDOWS\\system32";
    protect.dirs[2] = "C:\\Program Files\\";
    protect.isLead = isLead;

    std::vector<std::string> dirs;
    std::string wininit;
    for (const std::string& line : Split(text, '\n')) {
        size_t eq = line.find('=');
        if (eq == std::string::npos)
            continue;
        std::string kind = line.substr(0, eq), rest = line.substr(eq + 1);
        std::vector<std::string> fields = Split(rest, '\t');
        char out[UNINST_PATH_SIZE];
        if (kind == "key") {
            if (UninstKeyNameOk(rest.c_str(), isLead))
                Check(rest.size() < UNINST_KEY_SIZE && rest.find("..") == std::string::npos);
        } else if (kind == "cmd") {
            char key[UNINST_KEY_SIZE];
            int silent;
            if (UninstParseCommand(rest.c_str(), &silent, key))
                Check(key[0] && strlen(key) < UNINST_KEY_SIZE && rest.find(key) != std::string::npos);
            else
                Check(key[0] == '\0');
        } else if (kind == "file" && fields.size() == 2) {
            if (UninstJoinFile(fields[0].c_str(), fields[1].c_str(), isLead, out) == UNINST_OK) {
                Check(Absolute(out) && strlen(out) < UNINST_PATH_SIZE);
                Check(fields[1].size() < strlen(out) && strcmp(out + strlen(out) - fields[1].size(), fields[1].c_str()) == 0);
                size_t grown = UninstWininitDelete(&wininit[0], 0, 0, out);
                Check(grown == 0);
                std::string block = wininit;
                block.resize(wininit.size() + UNINST_WININIT_ROOM);
                size_t n = UninstWininitDelete(&block[0], wininit.size(), block.size(), out);
                Check(n > wininit.size() && n <= block.size());
                block.resize(n);
                Check(block.find(std::string("NUL=") + out + "\r\n") != std::string::npos);
                wininit = block;
            } else {
                Check(out[0] == '\0');
            }
        } else if (kind == "dir") {
            UninstVerdict verdict = UninstCheckDir(rest.c_str(), &protect, out);
            if (verdict == UNINST_OK) {
                Check(Absolute(out) && strlen(out) < UNINST_PATH_SIZE);
                for (const char* kept : protect.dirs) {
                    if (!kept)
                        continue;
                    std::string k = kept;
                    while (!k.empty() && k.back() == '\\')
                        k.pop_back();
                    Check(!UninstPathInside(k.c_str(), out, isLead) && strcasecmp(k.c_str(), out) != 0);
                }
                // A product folder is emptied whole: it must be one step inside Program Files.
                if (UninstPathChildOf(out, protect.dirs[2], isLead))
                    Check(UninstPathInside(out, "C:\\Program Files", isLead) &&
                          (isLead || !strchr(out + strlen("C:\\Program Files\\"), '\\')));
                dirs.push_back(out);
            } else {
                Check(out[0] == '\0');
            }
        } else if (kind == "reg" && fields.size() == 3) {
            char sub[UNINST_PATH_SIZE];
            int root = UninstRootIndex(fields[0].c_str());
            Check(root >= -1 && root < UNINST_ROOTS);
            if (UninstSplitRegItem(fields[1].c_str(), fields[2].c_str(), isLead, sub))
                Check(sub[0] && sub[0] != '\\' && fields[1].compare(0, strlen(sub), sub) == 0);
            else
                Check(sub[0] == '\0');
        }
    }
    std::vector<const char*> order;
    for (const std::string& d : dirs)
        order.push_back(d.c_str());
    UninstSortDeepestFirst(order.data(), order.size(), isLead);
    for (size_t i = 1; i < order.size(); ++i)
        Check(UninstPathDepth(order[i - 1], isLead) >= UninstPathDepth(order[i], isLead));
    return 0;
}
