// Version resources and file times of the copy loop's two files, handed to the platform-free
// version rule. Any read that fails counts as "not known", never as a failed copy.
#include "versions.h"

#include "textparse.h"
#include "versioncheck.h"

#include <string.h>

namespace {

// The "FileVersion" text of the first translation, bounded by the block and the buffer.
void ReadVersionText(void* block, DWORD blockSize, char* text)
{
    text[0] = '\0';
    void* translation = NULL;
    UINT size = 0;
    if (!VerQueryValueA(block, (LPSTR) "\\VarFileInfo\\Translation", &translation, &size) || !translation ||
        size < 4)
        return;
    DWORD pair = *(const DWORD*)translation;
    char query[64];
    wsprintfA(query, "\\StringFileInfo\\%04x%04x\\FileVersion", LOWORD(pair), HIWORD(pair));
    LPSTR value = NULL;
    if (!VerQueryValueA(block, query, (void**)&value, &size) || !value)
        return;
    const char* end = (const char*)block + blockSize;
    if (value < (const char*)block || value >= end)
        return;
    int n = 0;
    while (n < QV_TEXT_SIZE - 1 && value + n < end && value[n]) {
        text[n] = value[n];
        ++n;
    }
    text[n] = '\0';
}

FileVersions ReadFileVersions(LPCSTR path)
{
    FileVersions facts = { { 0, 0, 0 }, { 0, 0, 0 } };
    DWORD unused = 0;
    DWORD size = GetFileVersionInfoSizeA((LPSTR)path, &unused);
    if (size == 0)
        return facts;
    void* block = HeapAlloc(GetProcessHeap(), 0, size);
    if (!block)
        return facts;
    if (GetFileVersionInfoA((LPSTR)path, 0, size, block)) {
        VS_FIXEDFILEINFO* info = NULL;
        UINT length = 0;
        if (VerQueryValueA(block, (LPSTR) "\\", (void**)&info, &length) && info && length >= sizeof(*info)) {
            facts.fixed.known = 1;
            facts.fixed.high = info->dwFileVersionMS;
            facts.fixed.low = info->dwFileVersionLS;
        }
        char text[QV_TEXT_SIZE];
        ReadVersionText(block, size, text);
        facts.text = VersionFromText(text);
    }
    HeapFree(GetProcessHeap(), 0, block);
    return facts;
}

// Last-write time, 0 when unreadable. A file held open without read sharing (a destination in
// use) cannot be opened, so its directory entry answers instead.
uint64_t LastWriteTime(LPCSTR path)
{
    FILETIME written = { 0, 0 };
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING, 0, NULL);
    if (file != INVALID_HANDLE_VALUE) {
        if (!GetFileTime(file, NULL, NULL, &written))
            written.dwLowDateTime = written.dwHighDateTime = 0;
        CloseHandle(file);
    } else if (!strpbrk(path, "*?")) {
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA(path, &found);
        if (search != INVALID_HANDLE_VALUE) {
            written = found.ftLastWriteTime;
            FindClose(search);
        }
    }
    return ((uint64_t)written.dwHighDateTime << 32) | written.dwLowDateTime;
}

} // namespace

int ShouldCopyOver(LPCSTR source, LPCSTR destination)
{
    if (GetFileAttributesA(destination) == INVALID_FILE_ATTRIBUTES)
        return 1;
    FileVersions from = ReadFileVersions(source);
    FileVersions to = ReadFileVersions(destination);
    VersionOrder order = CompareFileVersions(&from, &to);
    return ReplacesDestination(order, LastWriteTime(source), LastWriteTime(destination));
}
