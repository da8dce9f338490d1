// Start-up of the installer: what the system is, which language, which script, what the
// command line asks. Runs before any window exists.
#include "setup.h"

#include "background.h"
#include "cmdline.h"
#include "pathtext.h"
#include "resourcelocale.h"
#include "resource.h"

namespace {

// Windows Me reports itself as 4.90 only through the registry's version text.
int ReadIsMe(void)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion", 0, KEY_READ, &key) != ERROR_SUCCESS)
        return 0;
    char text[QV_TEXT_SIZE];
    DWORD size = sizeof(text) - 1;
    DWORD type = 0;
    LONG status = RegQueryValueExA(key, "VersionNumber", NULL, &type, (BYTE*)text, &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS)
        return 0;
    text[size < sizeof(text) ? size : sizeof(text) - 1] = '\0';
    if (lstrlenA(text) < 4)
        return 0;
    text[4] = '\0';
    return lstrcmpiA(text, "4.90") == 0;
}

void ComputeOsFlags(void)
{
    OSVERSIONINFOA info;
    ZeroMemory(&info, sizeof(info));
    info.dwOSVersionInfoSize = sizeof(info);
    if (!GetVersionExA(&info))
        ZeroMemory(&info, sizeof(info));
    g_setup.is9x = info.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
    g_setup.is98plus = g_setup.is9x && (info.dwMajorVersion > 4 || (info.dwMajorVersion == 4 && info.dwMinorVersion != 0));
    g_setup.isWin95 = g_setup.is9x && !g_setup.is98plus;
    g_setup.isMe = g_setup.is98plus && ReadIsMe();
    g_setup.isNT = info.dwPlatformId == VER_PLATFORM_WIN32_NT;
    g_setup.isNT5plus = g_setup.isNT && info.dwMajorVersion >= 5;
    g_setup.isXP = g_setup.isNT && info.dwMajorVersion == 5 && info.dwMinorVersion == 1;
}

void ProgramDirectory(char* dir, DWORD size)
{
    DWORD n = GetModuleFileNameA(NULL, dir, size);
    if (n == 0 || n >= size) {
        dir[0] = '\0';
        return;
    }
    char* slash = LastBackslash(dir);
    if (slash)
        *slash = '\0';
}

void ShowUnsupported(void)
{
    char caption[QV_TEXT_SIZE];
    char text[QV_TEXT_SIZE];
    SetupLoadString(IDS_SETUP_WARNING, caption, sizeof(caption));
    SetupLoadString(IDS_UNSUPPORTED_OS, text, sizeof(text));
    MessageBoxA(NULL, text, caption, MB_OK);
}

} // namespace

void SetupLoadString(UINT id, char* text, int size)
{
    if (size <= 0)
        return;
    text[0] = '\0';
    if (LoadStringA(GetModuleHandleA(NULL), id, text, size) <= 0)
        text[0] = '\0';
}

void SetupInitState(const char* setupDir)
{
    SetupResetState();
    ComputeOsFlags();
    SetupLoadString(IDS_SETUP, g_setup.setupWord, sizeof(g_setup.setupWord));
    UINT n = GetSystemDirectoryA(g_setup.systemDir, sizeof(g_setup.systemDir));
    if (n == 0 || n >= sizeof(g_setup.systemDir))
        g_setup.systemDir[0] = '\0';
    n = GetWindowsDirectoryA(g_setup.windowsDir, sizeof(g_setup.windowsDir));
    if (n == 0 || n >= sizeof(g_setup.windowsDir))
        g_setup.windowsDir[0] = '\0';
    TextCopy(g_setup.installDir, sizeof(g_setup.installDir), g_setup.systemDir);
    if (setupDir)
        TextCopy(g_setup.setupDir, sizeof(g_setup.setupDir), setupDir);
    else
        ProgramDirectory(g_setup.setupDir, sizeof(g_setup.setupDir));
}

void SetupChooseUiLanguage(void)
{
    if (!g_setup.isNT)
        return;
    ChooseResourceLocale();
}

void SetupApplyCommandLine(const char* commandLine)
{
    SetupOption options[SETUP_MAX_OPTIONS];
    int count = SetupParseOptions(commandLine ? commandLine : "", options);
    for (int i = 0; i < count; ++i) {
        switch (options[i]) {
        case SETUP_OPT_HIDDEN:
            g_setup.hidden = 1;
            break;
        case SETUP_OPT_SILENT:
            g_setup.silent = 1;
            g_setup.askType = 0;
            g_setup.askPath = 0;
            g_setup.askProgramFolder = 0;
            break;
        case SETUP_OPT_NORESTART:
            g_setup.noRestart = 1;
            break;
        case SETUP_OPT_TYPE_PS2:
            SetupChooseType(SETUP_TYPE_PS2);
            g_setup.askType = 0;
            break;
        case SETUP_OPT_TYPE_USB:
            SetupChooseType(SETUP_TYPE_USB);
            g_setup.askType = 0;
            break;
        case SETUP_OPT_PRELOAD:
            g_setup.preload = 1;
            break;
        case SETUP_OPT_UNKNOWN:
            break;
        }
    }
}

int SetupRun(const char* commandLine)
{
    SetupInitState(NULL);
    SetupChooseUiLanguage();
    if (!SetupChooseScript()) {
        ShowUnsupported();
        return 0;
    }
    SetupReadScript();
    SetupRunPreRunPrograms();
    SetupApplyCommandLine(commandLine);
    return SetupRunBackground(GetModuleHandleA(NULL));
}
