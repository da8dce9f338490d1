// See paths.h. Paths are compared without regard to ASCII case, as the file system does;
// the bytes of a DBCS character are compared as they are.
#include "paths.h"

#include <string.h>

namespace {

int IsLead(UninstLeadByte isLead, const char* p)
{
    return isLead && isLead((unsigned char)*p) && p[1];
}

const char* Next(const char* p, UninstLeadByte isLead)
{
    return p + (IsLead(isLead, p) ? 2 : 1);
}

char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? (char)(c - 'A' + 'a') : c;
}

bool IsLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool BadChar(unsigned char c)
{
    return c < 0x20 || strchr("/:*?\"<>|", c) != NULL;
}

// One step of a path: not empty, not "." or "..", no character a name cannot have, and not
// ending in a blank or dot (the system would drop those and name another file).
bool StepOk(const char* step, size_t length)
{
    if (length == 0 || step[length - 1] == '.' || step[length - 1] == ' ')
        return false;
    for (size_t i = 0; i < length; ++i) {
        if (BadChar((unsigned char)step[i]))
            return false;
    }
    return true;
}

// Steps of `text` from `p` on, each checked; `p` points just past "X:\".
bool StepsOk(const char* p, UninstLeadByte isLead)
{
    const char* step = p;
    for (;;) {
        if (*p == '\\' || *p == '\0') {
            if (!StepOk(step, (size_t)(p - step)))
                return false;
            if (*p == '\0')
                return true;
            step = p + 1;
            ++p;
            continue;
        }
        // A lead byte's partner is part of the step whatever its value.
        p = Next(p, isLead);
    }
}

// `a` equals `b` (n == 0) or `a` is `b`'s ancestor: compared step by step.
enum Relation { UNRELATED, SAME, ANCESTOR };

Relation Relate(const char* a, const char* b, UninstLeadByte isLead)
{
    while (*a && *b) {
        if (IsLead(isLead, a)) {
            if (a[0] != b[0] || a[1] != b[1])
                return UNRELATED;
            a += 2;
            b += 2;
            continue;
        }
        if (Lower(*a) != Lower(*b))
            return UNRELATED;
        ++a;
        ++b;
    }
    if (*a)
        return UNRELATED;
    if (!*b)
        return SAME;
    return *b == '\\' ? ANCESTOR : UNRELATED;
}

// "X:\steps" or "X:" into `out` without a trailing backslash.
UninstVerdict Normalize(const char* path, UninstLeadByte isLead, char* out)
{
    size_t length = strlen(path);
    if (length >= UNINST_PATH_SIZE)
        return UNINST_TOO_LONG;
    if (length < 2 || !IsLetter(path[0]) || path[1] != ':' || (length > 2 && path[2] != '\\'))
        return UNINST_NOT_ABSOLUTE;
    memcpy(out, path, length + 1);
    // One trailing backslash is a way of writing the directory; a trail byte is not one.
    const char* last = NULL;
    for (const char* p = out; *p; p = Next(p, isLead))
        last = p;
    if (last && *last == '\\')
        out[last - out] = '\0';
    if (out[2] == '\0')
        return UNINST_DRIVE_ROOT;
    return StepsOk(out + 3, isLead) ? UNINST_OK : UNINST_NOT_ABSOLUTE;
}

} // namespace

UninstVerdict UninstCheckDir(const char* dir, const UninstProtected* protect, char* out)
{
    out[0] = '\0';
    UninstVerdict verdict = Normalize(dir, protect->isLead, out);
    if (verdict != UNINST_OK) {
        out[0] = '\0';
        return verdict;
    }
    for (const char* kept : protect->dirs) {
        char own[UNINST_PATH_SIZE];
        if (!kept || !kept[0])
            continue;
        // A protected directory that is not a plain path protects at least its drive.
        UninstVerdict form = Normalize(kept, protect->isLead, own);
        if (form != UNINST_OK && form != UNINST_DRIVE_ROOT)
            continue;
        if (Relate(out, own, protect->isLead) != UNRELATED) {
            out[0] = '\0';
            return UNINST_PROTECTED;
        }
    }
    return UNINST_OK;
}

UninstVerdict UninstJoinFile(const char* dir, const char* name, UninstLeadByte isLead, char* out)
{
    out[0] = '\0';
    if (!dir[0])
        return UNINST_NO_DIRECTORY;
    char base[UNINST_PATH_SIZE];
    UninstVerdict verdict = Normalize(dir, isLead, base);
    if (verdict != UNINST_OK && verdict != UNINST_DRIVE_ROOT)
        return verdict;
    size_t nameLength = strlen(name);
    for (const char* p = name; *p; p = Next(p, isLead)) {
        if (*p == '\\')
            return UNINST_NOT_ABSOLUTE;
    }
    if (!StepOk(name, nameLength))
        return UNINST_NOT_ABSOLUTE;
    size_t baseLength = strlen(base);
    if (baseLength + 1 + nameLength >= UNINST_PATH_SIZE)
        return UNINST_TOO_LONG;
    memcpy(out, base, baseLength);
    out[baseLength] = '\\';
    memcpy(out + baseLength + 1, name, nameLength + 1);
    return UNINST_OK;
}

int UninstPathInside(const char* path, const char* dir, UninstLeadByte isLead)
{
    return Relate(dir, path, isLead) == ANCESTOR;
}

int UninstPathChildOf(const char* path, const char* dir, UninstLeadByte isLead)
{
    char base[UNINST_PATH_SIZE];
    UninstVerdict verdict = Normalize(dir, isLead, base);
    return (verdict == UNINST_OK || verdict == UNINST_DRIVE_ROOT) && Relate(base, path, isLead) == ANCESTOR &&
           UninstPathDepth(path, isLead) == UninstPathDepth(base, isLead) + 1;
}

int UninstPathDepth(const char* path, UninstLeadByte isLead)
{
    int depth = 0;
    for (const char* p = path; *p; p = Next(p, isLead))
        depth += *p == '\\';
    return depth;
}

void UninstSortDeepestFirst(const char** paths, size_t count, UninstLeadByte isLead)
{
    // Records are short; an insertion sort keeps equal depths in record order.
    for (size_t i = 1; i < count; ++i) {
        const char* moving = paths[i];
        int depth = UninstPathDepth(moving, isLead);
        size_t j = i;
        while (j > 0 && UninstPathDepth(paths[j - 1], isLead) < depth) {
            paths[j] = paths[j - 1];
            --j;
        }
        paths[j] = moving;
    }
}
