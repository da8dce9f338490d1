// Driver installation: each "Update Driver" line goes first to the system's driver update
// (Me) or the maker's library, and when nothing got installed its INF is put where the
// system will find it. Every library is loaded by name and freed after its use, since
// any of them may be missing on a given system.
#include "drivers.h"

#include "anycall.h"
#include "driverline.h"
#include "pathtext.h"
#include "setup.h"

#include <string.h>

namespace {

const char kSection[] = "Update Driver";
const char kLibrary[] = "qvsetup.dll";
const char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run\\";
const char kPreloadValue[] = "Keyboard Preload Check";
const DWORD kSettleMs = 3000;  // lets the system finish with a freshly installed device
const int kPolls = 30;
const DWORD kPollMs = 1000;

// From the platform SDK, which the headers of 0x0400 hide.
const DWORD kInstallFlagForce = 0x00000001;
const DWORD kSpostPath = 1;

typedef BOOL(WINAPI* UpdateDriverFn)(HWND, LPCSTR, LPCSTR, DWORD, PBOOL);
typedef BOOL(WINAPI* CopyOemInfFn)(PCSTR, PCSTR, DWORD, DWORD, PSTR, DWORD, PDWORD, PSTR*);

// a + b + c; false (and an empty text) when it does not fit, since a cut path names
// another file.
bool Join(char* out, const char* a, const char* b, const char* c = "")
{
    if (TextCopy(out, QV_TEXT_SIZE, a) && TextAppend(out, QV_TEXT_SIZE, b) && TextAppend(out, QV_TEXT_SIZE, c))
        return true;
    out[0] = '\0';
    return false;
}

void DeleteAnyFile(const char* path)
{
    SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path);
}

// The system's copy of a line's INF, which a fallback replaces.
void DeleteSystemInf(const DriverLine& line)
{
    char path[QV_TEXT_SIZE];
    if (Join(path, g_setup.windowsDir, "\\inf\\", line.field[DRIVER_INF]))
        DeleteAnyFile(path);
}

bool IsClass(const DriverLine& line, const char* word)
{
    return DriverSameWord(line.field[DRIVER_CLASS], word) != 0;
}

// InstallPnPDeviceDriver confirmed by GetConnectedDeviceNumber: above 0 installed, 0
// nothing, below 0 a failure.
int InstallThroughLibrary(const DriverLine& line, const char* infPath)
{
    HMODULE library = LoadLibraryA(kLibrary);
    if (!library)
        return 0;
    FARPROC install = GetProcAddress(library, "InstallPnPDeviceDriver");
    FARPROC connected = GetProcAddress(library, "GetConnectedDeviceNumber");
    int result = 0;
    if (install) {
        const DWORD args[] = {
            (DWORD)line.field[DRIVER_CLASS], (DWORD)infPath, (DWORD)line.field[DRIVER_ARG5],
            (DWORD)line.field[DRIVER_ARG3], (DWORD)line.field[DRIVER_ARG4],
            (DWORD)DriverLineFlag(line.field[DRIVER_FLAG]), (DWORD)(g_setup.callConfigMg ? 1 : 0),
        };
        result = AnyCall(install, args, 7);
    }
    if (connected) {
        const DWORD args[] = { (DWORD)line.field[DRIVER_CLASS], (DWORD)line.field[DRIVER_ARG5],
                               (DWORD)line.field[DRIVER_ARG3] };
        if (AnyCall(connected, args, 3) == 0)
            result = 0;
    }
    FreeLibrary(library);
    return result;
}

// Removes the device and waits, at most about 30 seconds, for it to come back.
void Reenumerate(const char* hardwareId)
{
    HMODULE library = LoadLibraryA(kLibrary);
    if (!library)
        return;
    FARPROC remove = GetProcAddress(library, "RemoveAndReenumerateDevice");
    FARPROC find = GetProcAddress(library, "FindExistingDevice");
    const DWORD args[] = { (DWORD)"", (DWORD)hardwareId };
    if (remove && AnyCall(remove, args, 2) != 0 && find) {
        for (int poll = 1; poll <= kPolls; ++poll) {
            if (AnyCall(find, args, 2) != 0)
                break;
            if (poll < kPolls)
                Sleep(kPollMs);
        }
    }
    FreeLibrary(library);
}

bool SetupDirOnFixedDisk(void)
{
    char root[4];
    lstrcpynA(root, g_setup.setupDir, sizeof(root));
    return GetDriveTypeA(root) == DRIVE_FIXED;
}

// Every level of the path, each failure ignored; CharNextA keeps a DBCS trail byte of
// 0x5C from passing for a backslash.
void CreateLevels(const char* path)
{
    char prefix[QV_TEXT_SIZE];
    for (const char* p = path; *p; p = CharNextA(p)) {
        size_t length = (size_t)(p - path);
        if (*p == '\\' && length > 0 && length < sizeof(prefix)) {
            lstrcpynA(prefix, path, (int)length + 1);
            CreateDirectoryA(prefix, NULL);
        }
    }
    CreateDirectoryA(path, NULL);
}

// Copies the tree under `from` into `to`. The target itself is never entered, should it
// lie inside the source.
void CopyTree(const char* from, const char* to, const char* target)
{
    char pattern[QV_TEXT_SIZE];
    if (!Join(pattern, from, "\\*.*"))
        return;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern, &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        if (lstrcmpA(found.cFileName, ".") == 0 || lstrcmpA(found.cFileName, "..") == 0)
            continue;
        char source[QV_TEXT_SIZE];
        char destination[QV_TEXT_SIZE];
        if (!Join(source, from, "\\", found.cFileName) || !Join(destination, to, "\\", found.cFileName))
            continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (lstrcmpiA(source, target) == 0)
                continue;
            CreateDirectoryA(destination, NULL);
            CopyTree(source, destination, target);
        } else {
            SetFileAttributesA(destination, FILE_ATTRIBUTE_NORMAL);
            CopyFileA(source, destination, FALSE);
            SetFileAttributesA(destination, FILE_ATTRIBUTE_NORMAL);
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

// Where the driver files stay once the medium is gone: the setup directory on a fixed
// disk, else a copy of it in the product's folder under Program Files.
bool PrepareStaging(char* staging)
{
    if (SetupDirOnFixedDisk())
        return TextCopy(staging, QV_TEXT_SIZE, g_setup.setupDir) != 0;
    char parent[QV_TEXT_SIZE];
    char folder[QV_TEXT_SIZE];
    TextCopy(parent, sizeof(parent), g_setup.windowsDir);
    char* slash = LastBackslash(parent);
    if (!slash || !DriverFolderName(folder, sizeof(folder), g_setup.productName))
        return false;
    slash[1] = '\0';
    if (!Join(staging, parent, "Program Files\\", folder))
        return false;
    if (GetFileAttributesA(staging) == INVALID_FILE_ATTRIBUTES) {
        SetupRecordDirectory(staging, "1");
        CreateLevels(staging);
    }
    CopyTree(g_setup.setupDir, staging, staging);
    return true;
}

void WritePreloadRun(const DriverLine& line, const char* staging)
{
    char command[QV_TEXT_SIZE];
    if (!DriverPreloadCommand(command, sizeof(command), staging, line.field[DRIVER_HWID], line.field[DRIVER_CLASS]))
        return;
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRunKey, 0, KEY_READ | KEY_WRITE, &key) != ERROR_SUCCESS)
        return;
    RegSetValueExA(key, kPreloadValue, 0, REG_SZ, (const BYTE*)command, (DWORD)lstrlenA(command) + 1);
    RegCloseKey(key);
}

// Me: the system's own driver update. True when it took the device.
bool UpdateDriverOnMe(const DriverLine& line, const char* infPath)
{
    HMODULE newdev = LoadLibraryA("newdev.dll");
    if (!newdev)
        return false;
    UpdateDriverFn update = (UpdateDriverFn)GetProcAddress(newdev, "UpdateDriverForPlugAndPlayDevicesA");
    BOOL reboot = FALSE;
    bool done = update && update(NULL, line.field[DRIVER_HWID], infPath, kInstallFlagForce, &reboot);
    FreeLibrary(newdev);
    if (!done)
        return false;
    char cached[QV_TEXT_SIZE];
    if (Join(cached, g_setup.windowsDir, "\\inf\\INTERNET\\", line.field[DRIVER_ARG3]) &&
        TextAppend(cached, sizeof(cached), line.field[DRIVER_INF]) && GetFileAttributesA(cached) != INVALID_FILE_ATTRIBUTES)
        SetupRecordFile(cached);
    Sleep(kSettleMs);
    return true;
}

// True when the line is done, false when the fallback is to run.
bool FirstAttempt(const DriverLine& line, const char* infPath)
{
    if (g_setup.isMe)
        return UpdateDriverOnMe(line, infPath);
    if (IsClass(line, "Unknown") || (g_setup.isNT5plus && !IsClass(line, "Keyboard")))
        return false;
    int result = InstallThroughLibrary(line, infPath);
    if (result > 0)
        Sleep(kSettleMs);
    return result != 0;
}

// 95, 98, NT 4: the INF goes into the INF directory under the line's name.
void CopyInfFallback(const DriverLine& line)
{
    if (!line.field[DRIVER_INF9X][0])
        return;
    char target[QV_TEXT_SIZE];
    char source[QV_TEXT_SIZE];
    if (!Join(target, g_setup.windowsDir, "\\inf\\", line.field[DRIVER_INF]) ||
        !Join(source, g_setup.setupDir, "\\", line.field[DRIVER_INF9X]))
        return;
    DeleteAnyFile(target);
    if (CopyFileA(source, target, FALSE)) {
        SetFileAttributesA(target, FILE_ATTRIBUTE_NORMAL);
        SetupRecordFile(target);
    }
    if (IsClass(line, "Unknown"))
        Reenumerate(line.field[DRIVER_HWID]);
}

// Me, 2000, XP from a medium the user will take away: Preload.exe finishes the job.
void PreloadFallback(const DriverLine& line)
{
    char staging[QV_TEXT_SIZE];
    bool staged = PrepareStaging(staging);
    DeleteSystemInf(line);
    if (staged)
        WritePreloadRun(line, staging);
}

// The setup API keeps a precompiled copy beside the INF it registered (x.inf, x.pnf), which
// would outlive the INF at uninstall.
void RecordPrecompiledInf(const char* inf)
{
    char pnf[QV_TEXT_SIZE];
    const char* dot = strrchr(inf, '.');
    const char* slash = strrchr(inf, '\\');
    if (!dot || (slash && dot < slash) || !TextCopy(pnf, sizeof(pnf), inf))
        return;
    pnf[dot + 1 - inf] = '\0';
    if (TextAppend(pnf, sizeof(pnf), "pnf") && GetFileAttributesA(pnf) != INVALID_FILE_ATTRIBUTES)
        SetupRecordFile(pnf);
}

// Me, 2000, XP: the INF registered with the setup API, then offered again from there.
void OemInfFallback(const DriverLine& line)
{
    HMODULE setupapi = LoadLibraryA("setupapi.dll");
    if (!setupapi)
        return;
    CopyOemInfFn copyOemInf = (CopyOemInfFn)GetProcAddress(setupapi, "SetupCopyOEMInfA");
    char staging[QV_TEXT_SIZE];
    char source[QV_TEXT_SIZE];
    if (copyOemInf && PrepareStaging(staging) &&
        Join(source, staging, "\\", line.field[DRIVER_SUBDIR]) && TextAppend(source, sizeof(source), line.field[DRIVER_INF])) {
        DeleteSystemInf(line);
        char destination[QV_TEXT_SIZE] = "";
        if (copyOemInf(source, NULL, kSpostPath, 0, destination, sizeof(destination), NULL, NULL)) {
            destination[sizeof(destination) - 1] = '\0';
            if (IsClass(line, "Unknown")) {
                Reenumerate(line.field[DRIVER_HWID]);
            } else if (g_setup.isNT5plus) {
                if (InstallThroughLibrary(line, destination) > 0)
                    Sleep(kSettleMs);
            }
            SetupRecordFile(destination);
            RecordPrecompiledInf(destination);
        }
    }
    FreeLibrary(setupapi);
}

void InstallLine(const char* value)
{
    DriverLine line;
    DriverLineSplit(value, &line);
    char infPath[QV_TEXT_SIZE];
    if (!Join(infPath, g_setup.setupDir, "\\", line.field[DRIVER_SUBDIR]) ||
        !TextAppend(infPath, sizeof(infPath), line.field[DRIVER_INF]))
        return;
    if (FirstAttempt(line, infPath))
        return;
    if (!g_setup.isMe && !g_setup.isNT5plus)
        CopyInfFallback(line);
    else if (g_setup.preload)
        PreloadFallback(line);
    else
        OemInfFallback(line);
}

} // namespace

void SetupInstallDrivers(const char* scriptPath)
{
    if (g_setup.deleteInfIndex) {
        // The system rebuilds its driver index and so sees the INF files about to arrive.
        char path[QV_TEXT_SIZE];
        if (Join(path, g_setup.windowsDir, "\\INF\\DRVIDX.BIN"))
            DeleteAnyFile(path);
        if (Join(path, g_setup.windowsDir, "\\INF\\DRVDATA.BIN"))
            DeleteAnyFile(path);
    }
    char keys[QV_TEXT_SIZE];
    if (!ScriptFileSectionKeys(scriptPath, kSection, keys, sizeof(keys)))
        return;
    for (const char* key = keys; *key; key += lstrlenA(key) + 1) {
        char value[QV_TEXT_SIZE];
        ScriptFileReadValue(scriptPath, kSection, key, value, sizeof(value));
        if (value[0])
            InstallLine(value);
    }
}
