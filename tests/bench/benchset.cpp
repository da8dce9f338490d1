// The installer benches' copy set.
#include "benchset.h"

namespace bench {

std::string SetFileName(int i) { return "file" + std::to_string(1000 + i) + ".bin"; }

bool MakeSet(const std::string& dir, int count, DWORD bytes)
{
    std::string block(bytes, '\0');
    for (int i = 0; i < count; ++i) {
        for (DWORD j = 0; j < bytes; j += 64)
            block[j] = (char)(i + j / 64);
        HANDLE file = CreateFileA((dir + "\\" + SetFileName(i)).c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
        if (file == INVALID_HANDLE_VALUE)
            return false;
        DWORD written = 0;
        BOOL ok = WriteFile(file, block.data(), bytes, &written, NULL);
        CloseHandle(file);
        if (!ok || written != bytes)
            return false;
    }
    return true;
}

bool CheckAndEmpty(const std::string& dir, int first, int count, DWORD bytes)
{
    bool whole = true;
    for (int i = first; i < first + count; ++i) {
        std::string path = dir + "\\" + SetFileName(i);
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) || data.nFileSizeLow != bytes)
            whole = false;
        DeleteFileA(path.c_str());
    }
    return whole;
}

} // namespace bench
