// One uninstallation: the key from the command line, the record under it, the daemon
// asked to end, then files, directories, registry items and the record itself.
#include "resourcelocale.h"
#include "uninst.h"

#include <string.h>

namespace {

void ReadDisplayName(UninstContext* run)
{
    HKEY key;
    run->displayName[0] = '\0';
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, run->productKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return;
    DWORD type = 0, size = sizeof(run->displayName) - 1;
    if (RegQueryValueExA(key, "DisplayName", NULL, &type, (BYTE*)run->displayName, &size) != ERROR_SUCCESS ||
        type != REG_SZ)
        size = 0;
    run->displayName[size] = '\0';
    RegCloseKey(key);
}

bool RecordExists(const UninstContext* run)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, run->productKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

void AddProtected(UninstContext* run, int* count, const char* dir)
{
    if (*count < UNINST_MAX_PROTECTED && dir[0] && TextCopy(run->protectedDirs[*count], UNINST_PATH_SIZE, dir))
        ++*count;
}

// True when it was added.
bool AddProtectedFromRegistry(UninstContext* run, int* count, const char* name)
{
    HKEY key;
    char dir[UNINST_PATH_SIZE];
    DWORD type = 0, size = sizeof(dir) - 1;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion", 0, KEY_READ, &key) !=
        ERROR_SUCCESS)
        return false;
    int before = *count;
    if (RegQueryValueExA(key, name, NULL, &type, (BYTE*)dir, &size) == ERROR_SUCCESS && type == REG_SZ) {
        dir[size] = '\0';
        AddProtected(run, count, dir);
    }
    RegCloseKey(key);
    return *count > before;
}

// The system's own directories; a failed look-up protects less, but the drive roots and
// relative paths stay refused whatever this finds.
void FindProtected(UninstContext* run)
{
    int count = 0;
    char dir[UNINST_PATH_SIZE];
    UINT n = GetWindowsDirectoryA(dir, sizeof(dir));
    if (n > 0 && n < sizeof(dir)) {
        AddProtected(run, &count, dir);
        // The installer puts its product folder in "Program Files" of the Windows drive.
        if (n >= 2 && dir[1] == ':') {
            dir[2] = '\0';
            TextAppend(dir, sizeof(dir), "\\Program Files");
            AddProtected(run, &count, dir);
            TextCopy(run->programFiles[0], UNINST_PATH_SIZE, dir);
        }
    }
    n = GetSystemDirectoryA(dir, sizeof(dir));
    if (n > 0 && n < sizeof(dir))
        AddProtected(run, &count, dir);
    if (AddProtectedFromRegistry(run, &count, "ProgramFilesDir"))
        TextCopy(run->programFiles[1], UNINST_PATH_SIZE, run->protectedDirs[count - 1]);
    AddProtectedFromRegistry(run, &count, "CommonFilesDir");
    for (int i = 0; i < UNINST_MAX_PROTECTED; ++i)
        run->protect.dirs[i] = i < count ? run->protectedDirs[i] : NULL;
    run->protect.isLead = UninstLeadByteOf;
}

int ResultCode(const UninstContext* run)
{
    return (run->restart ? UNINST_EXIT_RESTART : 0) | (run->skipped ? UNINST_EXIT_SKIPPED : 0) |
           (run->failed ? UNINST_EXIT_FAILED : 0);
}

int Finish(UninstContext* run, int code, bool silent)
{
    if (!silent)
        UninstShowResult(run, code);
    UninstListFree(&run->scheduled);
    return code;
}

} // namespace

int UninstLeadByteOf(unsigned char c)
{
    return IsDBCSLeadByte(c);
}

int UninstRun(const char* commandLine)
{
    static UninstContext run;
    memset(&run, 0, sizeof(run));
    UninstListInit(&run.scheduled, UNINST_PATH_SIZE);
    OSVERSIONINFOA version;
    memset(&version, 0, sizeof(version));
    version.dwOSVersionInfoSize = sizeof(version);
    run.is9x = GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
    // 95's resource loader has no thread locale to follow.
    if (!run.is9x)
        ChooseResourceLocale();
    int silent = 0;
    if (!UninstParseCommand(commandLine, &silent, run.key) || !UninstKeyNameOk(run.key, UninstLeadByteOf) ||
        !UninstallCompose(run.productKey, QV_UNINSTALL_KEY, run.key))
        return Finish(&run, UNINST_EXIT_BAD_KEY, silent != 0);
    if (!RecordExists(&run))
        return Finish(&run, UNINST_EXIT_NO_RECORD, silent != 0);
    ReadDisplayName(&run);
    if (!silent && !UninstConfirm(&run))
        return Finish(&run, UNINST_EXIT_DECLINED, true);
    FindProtected(&run);

    UninstEndDaemon();
    UninstRemoveFiles(&run);
    UninstRemoveDirectories(&run);
    UninstRemoveRegistry(&run);
    // Kept while something could not be removed, so that another run can finish the job.
    if (!run.failed)
        UninstRemoveRecord(&run);
    return Finish(&run, ResultCode(&run), silent != 0);
}
