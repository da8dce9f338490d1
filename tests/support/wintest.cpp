// Implementation of the shared Wine test helpers.
#include "wintest.h"

#include <shlwapi.h>
#include <stdio.h>

#include <string>
#include <vector>

namespace qvtest {

static bool WriteRaw(HKEY root, const char* path, const char* name, DWORD type, const void* data, DWORD size)
{
    HKEY key;
    if (RegCreateKeyExA(root, path, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL) != ERROR_SUCCESS)
        return false;
    LONG status = RegSetValueExA(key, name, 0, type, (const BYTE*)data, size);
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

bool WriteString(HKEY root, const char* path, const char* name, const char* text, DWORD type)
{
    return WriteRaw(root, path, name, type, text, (DWORD)strlen(text) + 1);
}

bool WriteDword(HKEY root, const char* path, const char* name, DWORD value)
{
    return WriteRaw(root, path, name, REG_DWORD, &value, sizeof(value));
}

bool WriteBinary(HKEY root, const char* path, const char* name, const void* data, DWORD size)
{
    return WriteRaw(root, path, name, REG_BINARY, data, size);
}

bool ReadValue(HKEY root, const char* path, const char* name, DWORD* type, std::string* data)
{
    HKEY key;
    if (RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    DWORD size = 0;
    DWORD t = 0;
    LONG status = RegQueryValueExA(key, name, NULL, &t, NULL, &size);
    if (status == ERROR_SUCCESS) {
        std::string bytes(size, '\0');
        status = RegQueryValueExA(key, name, NULL, &t, size ? (BYTE*)&bytes[0] : NULL, &size);
        bytes.resize(size);
        if (data)
            *data = bytes;
    }
    RegCloseKey(key);
    if (type)
        *type = t;
    return status == ERROR_SUCCESS;
}

bool KeyExists(HKEY root, const char* path)
{
    HKEY key;
    if (RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

void DeleteTree(HKEY root, const char* path)
{
    SHDeleteKeyA(root, path);
}

std::string SelfPath()
{
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(NULL, path, sizeof(path));
    return std::string(path, n);
}

std::string DirOf(const std::string& path)
{
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

std::string SimDir()
{
    return DirOf(SelfPath()) + "\\sim";
}

DWORD RunProgram(const std::string& commandLine, DWORD timeoutMs)
{
    STARTUPINFOA si;
    PROCESS_INFORMATION pi;
    ZeroMemory(&si, sizeof(si));
    si.cb = sizeof(si);
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    if (!CreateProcessA(NULL, line.data(), NULL, NULL, FALSE, 0, NULL, NULL, &si, &pi))
        return kNoExit;
    DWORD code = kNoExit;
    if (WaitForSingleObject(pi.hProcess, timeoutMs) == WAIT_OBJECT_0)
        GetExitCodeProcess(pi.hProcess, &code);
    else
        TerminateProcess(pi.hProcess, kNoExit);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return code;
}

bool SetProgramMode(const std::string& exeName, const char* mode)
{
    std::string key = "Software\\Wine\\AppDefaults\\" + exeName;
    return WriteString(HKEY_CURRENT_USER, key.c_str(), "Version", mode);
}

DWORD RunAsMode(const char* mode, const std::string& exePath, const std::string& args, DWORD timeoutMs)
{
    std::string dir = DirOf(exePath);
    std::string base = exePath.substr(dir.size() + 1);
    if (base.size() > 4 && lstrcmpiA(base.c_str() + base.size() - 4, ".exe") == 0)
        base.resize(base.size() - 4);
    // The process id keeps parallel runs of the same test from sharing a copy.
    char suffix[64];
    wsprintfA(suffix, "-%s-%lu.exe", mode, GetCurrentProcessId());
    std::string name = base + suffix;
    std::string copy = dir + "\\" + name;
    if (!CopyFileA(exePath.c_str(), copy.c_str(), FALSE) || !SetProgramMode(name, mode))
        return kNoExit;
    DWORD code = RunProgram("\"" + copy + "\" " + args, timeoutMs);
    DeleteFileA(copy.c_str());
    std::string key = "Software\\Wine\\AppDefaults\\" + name;
    DeleteTree(HKEY_CURRENT_USER, key.c_str());
    return code;
}

void PumpFor(DWORD ms)
{
    DWORD end = GetTickCount() + ms;
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        LONG left = (LONG)(end - GetTickCount());
        if (left <= 0)
            return;
        MsgWaitForMultipleObjects(0, NULL, FALSE, (DWORD)left, QS_ALLINPUT);
    }
}

HWND WaitForWindow(const char* className, const char* title, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        HWND wnd = FindWindowA(className, title);
        if (wnd)
            return wnd;
        if (GetTickCount() - start >= timeoutMs)
            return NULL;
        PumpFor(20);
    }
}

struct OwnWindowSearch {
    const char* className;
    HWND found;
};

static BOOL CALLBACK MatchOwnWindow(HWND wnd, LPARAM param)
{
    OwnWindowSearch* search = (OwnWindowSearch*)param;
    DWORD pid = 0;
    char name[64];
    GetWindowThreadProcessId(wnd, &pid);
    if (pid != GetCurrentProcessId() || !GetClassNameA(wnd, name, sizeof(name)) || lstrcmpiA(name, search->className))
        return TRUE;
    search->found = wnd;
    return FALSE;
}

HWND FindOwnWindow(const char* className)
{
    OwnWindowSearch search = { className, NULL };
    EnumWindows(MatchOwnWindow, (LPARAM)&search);
    return search.found;
}

struct ThreadWindowSearch {
    const char* className;
    HWND found;
};

static BOOL CALLBACK MatchThreadWindow(HWND wnd, LPARAM param)
{
    ThreadWindowSearch* search = (ThreadWindowSearch*)param;
    char name[256];
    if (!IsWindowVisible(wnd) || !GetClassNameA(wnd, name, sizeof(name)))
        return TRUE;
    if (search->className && lstrcmpiA(name, search->className) != 0)
        return TRUE;
    search->found = wnd;
    return FALSE;
}

HWND WaitForThreadWindow(DWORD threadId, const char* className, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        ThreadWindowSearch search = { className, NULL };
        EnumThreadWindows(threadId, MatchThreadWindow, (LPARAM)&search);
        if (search.found)
            return search.found;
        if (GetTickCount() - start >= timeoutMs)
            return NULL;
        Sleep(20);
    }
}

std::string WindowText(HWND wnd)
{
    char text[1024];
    int n = GetWindowTextA(wnd, text, sizeof(text));
    return std::string(text, n > 0 ? n : 0);
}

std::string MakeTempDir(const char* tag)
{
    char base[MAX_PATH];
    GetTempPathA(sizeof(base), base);
    static LONG counter;
    char name[MAX_PATH];
    wsprintfA(name, "%sqv-%s-%lu-%ld", base, tag, GetCurrentProcessId(), InterlockedIncrement(&counter));
    RemoveTree(name);
    CreateDirectoryA(name, NULL);
    return name;
}

bool WriteFileText(const std::string& path, const std::string& text)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok = WriteFile(file, text.data(), (DWORD)text.size(), &written, NULL);
    CloseHandle(file);
    return ok && written == text.size();
}

void RemoveTree(const std::string& path)
{
    std::vector<char> from(path.begin(), path.end());
    from.push_back('\0');
    from.push_back('\0');
    SHFILEOPSTRUCTA op;
    ZeroMemory(&op, sizeof(op));
    op.wFunc = FO_DELETE;
    op.pFrom = from.data();
    op.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
    SHFileOperationA(&op);
}

bool WalkTree(const std::string& dir, const TreeVisit& visit)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((dir + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    bool ok = true;
    do {
        std::string name = found.cFileName;
        if (name == "." || name == "..")
            continue;
        std::string path = dir + "\\" + name;
        if (visit(path, found) && (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            ok = WalkTree(path, visit) && ok;
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return ok;
}

// Wine's own mount manager interface (ddk/mountmgr.h of Wine 8).
struct MountmgrUnixDrive {
    ULONG size;
    ULONG type;
    ULONG fsType;
    DWORD serial;
    ULONGLONG unixDev;
    WCHAR letter;
    USHORT mountPointOffset;
    USHORT deviceOffset;
    USHORT labelOffset;
};
static const DWORD kDefineUnixDrive = CTL_CODE('m', 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS);

static bool DefineDrive(char letter, const char* unixPath, UINT type)
{
    HANDLE manager = CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING, 0, NULL);
    if (manager == INVALID_HANDLE_VALUE)
        return false;
    size_t pathLen = unixPath ? strlen(unixPath) + 1 : 0;
    std::vector<char> buffer(sizeof(MountmgrUnixDrive) + pathLen, '\0');
    MountmgrUnixDrive* drive = (MountmgrUnixDrive*)buffer.data();
    drive->size = (ULONG)buffer.size();
    drive->type = type;
    drive->letter = (WCHAR)(letter | 0x20);
    if (unixPath) {
        drive->mountPointOffset = sizeof(MountmgrUnixDrive);
        memcpy(buffer.data() + sizeof(MountmgrUnixDrive), unixPath, pathLen);
    }
    DWORD returned = 0;
    BOOL ok = DeviceIoControl(manager, kDefineUnixDrive, buffer.data(), (DWORD)buffer.size(), NULL, 0, &returned, NULL);
    CloseHandle(manager);
    return ok != FALSE;
}

bool MapDrive(char letter, const std::string& folder, UINT type)
{
    typedef char*(CDECL * UnixNameFunc)(LPCWSTR);
    UnixNameFunc unixName = (UnixNameFunc)GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name");
    if (!unixName)
        return false;
    WCHAR wide[MAX_PATH];
    if (!MultiByteToWideChar(CP_ACP, 0, folder.c_str(), -1, wide, MAX_PATH))
        return false;
    char* path = unixName(wide);
    if (!path)
        return false;
    bool ok = DefineDrive(letter, path, type);
    HeapFree(GetProcessHeap(), 0, path);
    return ok;
}

bool UnmapDrive(char letter)
{
    return DefineDrive(letter, NULL, DRIVE_NO_ROOT_DIR);
}

} // namespace qvtest

namespace {
struct ChildEntry {
    const char* name;
    QvChildFunc func;
};
std::vector<ChildEntry>& Children()
{
    static std::vector<ChildEntry> children;
    return children;
}
} // namespace

QvChildReg::QvChildReg(const char* name, QvChildFunc func)
{
    Children().push_back(ChildEntry{ name, func });
}

int QvRunChild(int argc, char** argv)
{
    for (const ChildEntry& child : Children()) {
        if (strcmp(child.name, argv[2]) == 0)
            return child.func(argc - 3, argv + 3);
    }
    fprintf(stderr, "no child entry named %s\n", argv[2]);
    return 255;
}
