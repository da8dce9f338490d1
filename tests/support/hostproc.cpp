// See hostproc.h.
#include "hostproc.h"

#include <windows.h>
#include <stdlib.h>

namespace qvtest {

static std::string ReadHostFile(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return std::string();
    std::string text;
    char buffer[4096];
    DWORD got;
    while (text.size() < (1u << 20) && ReadFile(file, buffer, sizeof(buffer), &got, NULL) && got)
        text.append(buffer, got);
    CloseHandle(file);
    return text;
}

std::string HostProcessDir(const char* exeName)
{
    char prefix[MAX_PATH];
    DWORD n = GetEnvironmentVariableA("WINEPREFIX", prefix, sizeof(prefix));
    if (n == 0 || n >= sizeof(prefix))
        return std::string();
    std::string marker = std::string("WINEPREFIX=") + prefix;
    marker.push_back('\0');
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA("Z:\\proc\\*", &found);
    if (find == INVALID_HANDLE_VALUE)
        return std::string();
    std::string result;
    long newest = -1;
    do {
        char* end;
        long pid = strtol(found.cFileName, &end, 10);
        if (*end || pid <= newest)
            continue;
        std::string dir = std::string("Z:\\proc\\") + found.cFileName;
        if (ReadHostFile(dir + "\\cmdline").find(exeName) == std::string::npos)
            continue;
        if (ReadHostFile(dir + "\\environ").find(marker) != std::string::npos) {
            result = dir;
            newest = pid;
        }
    } while (FindNextFileA(find, &found));
    FindClose(find);
    return result;
}

long long HostCpuTicks(const std::string& dir)
{
    std::string stat = ReadHostFile(dir + "\\stat");
    size_t close = stat.rfind(')');
    if (close == std::string::npos)
        return -1;
    // The name may hold blanks; the fields after it start with field 3; utime is 14, stime 15.
    const char* p = stat.c_str() + close + 1;
    long long utime = -1, stime = -1;
    for (int field = 3; field <= 15 && *p; field++) {
        while (*p == ' ')
            p++;
        long long value = strtoll(p, NULL, 10);
        if (field == 14)
            utime = value;
        if (field == 15)
            stime = value;
        while (*p && *p != ' ')
            p++;
    }
    return utime < 0 || stime < 0 ? -1 : utime + stime;
}

} // namespace qvtest
