// Program launch and window control: the button handlers start programs through the shell
// and bring a program's windows forward (or send them back) by process, so a second press
// never starts a second copy. Toolhelp and PSAPI are bound at run time: NT 4 lacks the one,
// the Windows 95 family the other.
#include "QVUtil.h"
#include "textparse.h"

#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>
#include <tlhelp32.h>

#ifndef SPI_GETFOREGROUNDLOCKTIMEOUT
#define SPI_GETFOREGROUNDLOCKTIMEOUT 0x2000
#define SPI_SETFOREGROUNDLOCKTIMEOUT 0x2001
#endif
#ifndef FILE_ATTRIBUTE_REPARSE_POINT
#define FILE_ATTRIBUTE_REPARSE_POINT 0x400
#endif

namespace {

typedef HANDLE(WINAPI* SnapshotFunc)(DWORD, DWORD);
typedef BOOL(WINAPI* ProcessWalkFunc)(HANDLE, LPPROCESSENTRY32);
typedef BOOL(WINAPI* EnumModulesFunc)(HANDLE, HMODULE*, DWORD, LPDWORD);
typedef DWORD(WINAPI* ModuleNameFunc)(HANDLE, HMODULE, LPSTR, DWORD);

bool g_toolhelpLooked;
SnapshotFunc g_createSnapshot;
ProcessWalkFunc g_process32First;
ProcessWalkFunc g_process32Next;
HWND g_ownTopWindow;
DWORD g_calculatorProcess;
int g_childWindowCount;

const int kActivateTries = 10;
const DWORD kActivateWaitMs = 100;

bool HaveToolhelp()
{
    if (!g_toolhelpLooked) {
        g_toolhelpLooked = true;
        HMODULE kernel = GetModuleHandleA("KERNEL32.DLL");
        if (kernel) {
            g_createSnapshot = (SnapshotFunc)GetProcAddress(kernel, "CreateToolhelp32Snapshot");
            g_process32First = (ProcessWalkFunc)GetProcAddress(kernel, "Process32First");
            g_process32Next = (ProcessWalkFunc)GetProcAddress(kernel, "Process32Next");
        }
    }
    return g_createSnapshot && g_process32First && g_process32Next;
}

HANDLE TakeProcessSnapshot()
{
    if (!HaveToolhelp())
        return INVALID_HANDLE_VALUE;
    return g_createSnapshot(TH32CS_SNAPPROCESS, 0);
}

bool SnapshotHas(HANDLE snapshot, DWORD processId, DWORD parentId)
{
    PROCESSENTRY32 entry;
    entry.dwSize = sizeof(entry);
    for (BOOL more = g_process32First(snapshot, &entry); more; more = g_process32Next(snapshot, &entry)) {
        if (entry.th32ProcessID == processId && entry.th32ParentProcessID == parentId)
            return true;
    }
    return false;
}

// The first child of this process in `after` that `before` does not know.
DWORD FindNewChild(HANDLE before, HANDLE after)
{
    if (before == INVALID_HANDLE_VALUE || after == INVALID_HANDLE_VALUE)
        return 0;
    DWORD self = GetCurrentProcessId();
    PROCESSENTRY32 entry;
    entry.dwSize = sizeof(entry);
    for (BOOL more = g_process32First(after, &entry); more; more = g_process32Next(after, &entry)) {
        if (entry.th32ParentProcessID == self && !SnapshotHas(before, entry.th32ProcessID, self))
            return entry.th32ProcessID;
    }
    return 0;
}

DWORD WindowProcess(HWND wnd)
{
    DWORD processId = 0;
    GetWindowThreadProcessId(wnd, &processId);
    return processId;
}

// The window this process last had in front; it lets the process hand the foreground on.
HWND FindOwnTopWindow()
{
    DWORD self = GetCurrentProcessId();
    if (g_ownTopWindow && IsWindow(g_ownTopWindow) && WindowProcess(g_ownTopWindow) == self)
        return g_ownTopWindow;
    g_ownTopWindow = NULL;
    for (HWND wnd = GetWindow(GetDesktopWindow(), GW_CHILD); wnd; wnd = GetWindow(wnd, GW_HWNDNEXT)) {
        if (!GetParent(wnd) && WindowProcess(wnd) == self) {
            g_ownTopWindow = wnd;
            break;
        }
    }
    return g_ownTopWindow;
}

bool MayMinimize(HWND wnd)
{
    LONG style = GetWindowLongA(wnd, GWL_STYLE);
    return (style & WS_MINIMIZEBOX) && !(style & WS_DISABLED);
}

bool EligibleWindow(HWND wnd, DWORD processId)
{
    if (WindowProcess(wnd) != processId || !IsWindowVisible(wnd))
        return false;
    HWND parent = GetParent(wnd);
    return !parent || !IsWindowVisible(parent);
}

int ModuleNameFromSnapshot(DWORD processId, char* name)
{
    HMODULE kernel = LoadLibraryA("KERNEL32.DLL");
    if (!kernel)
        return 0;
    SnapshotFunc createSnapshot = (SnapshotFunc)GetProcAddress(kernel, "CreateToolhelp32Snapshot");
    ProcessWalkFunc first = (ProcessWalkFunc)GetProcAddress(kernel, "Process32First");
    ProcessWalkFunc next = (ProcessWalkFunc)GetProcAddress(kernel, "Process32Next");
    int found = 0;
    HANDLE snapshot = createSnapshot && first && next ? createSnapshot(TH32CS_SNAPPROCESS, 0) : INVALID_HANDLE_VALUE;
    if (snapshot != INVALID_HANDLE_VALUE) {
        PROCESSENTRY32 entry;
        entry.dwSize = sizeof(entry);
        for (BOOL more = first(snapshot, &entry); more; more = next(snapshot, &entry)) {
            if (entry.th32ProcessID == processId) {
                entry.szExeFile[sizeof(entry.szExeFile) - 1] = '\0';
                found = TextCopy(name, QV_TEXT_SIZE, entry.szExeFile);
                break;
            }
        }
        CloseHandle(snapshot);
    }
    FreeLibrary(kernel);
    return found;
}

int ModuleNameFromPsapi(DWORD processId, char* name)
{
    HMODULE psapi = LoadLibraryA("PSAPI.DLL");
    if (!psapi)
        return 0;
    EnumModulesFunc enumModules = (EnumModulesFunc)GetProcAddress(psapi, "EnumProcessModules");
    ModuleNameFunc moduleName = (ModuleNameFunc)GetProcAddress(psapi, "GetModuleFileNameExA");
    int found = 0;
    HANDLE process = NULL;
    if (enumModules && moduleName)
        process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
    if (process) {
        HMODULE first;
        DWORD needed = 0;
        if (enumModules(process, &first, sizeof(first), &needed) && needed >= sizeof(first)) {
            // One byte more than a path may have: a name that fills it was cut.
            char full[QV_TEXT_SIZE + 1];
            DWORD length = moduleName(process, first, full, sizeof(full));
            if (length > 0 && length < QV_TEXT_SIZE) {
                full[length] = '\0';
                found = TextCopy(name, QV_TEXT_SIZE, full);
            }
        }
        CloseHandle(process);
    }
    FreeLibrary(psapi);
    return found;
}

BOOL CALLBACK CountChildWindow(HWND, LPARAM)
{
    ++g_childWindowCount;
    return TRUE;
}

// The shell never shows the extension of a shortcut; not every GetFileTitleA leaves it out.
void HideShortcutExtension(char* title)
{
    int length = lstrlenA(title);
    if (length > 4 && (lstrcmpiA(title + length - 4, ".lnk") == 0 || lstrcmpiA(title + length - 4, ".pif") == 0))
        title[length - 4] = '\0';
}

// Depth-first; every composed path must fit 260 bytes, which also bounds the depth.
// Linked directories (junctions, symbolic links) are not entered: they can lead back up.
int SearchTree(const char* directory, const char* title, char* found)
{
    char pattern[QV_TEXT_SIZE];
    if (!TextCopy(pattern, sizeof(pattern), directory) || !TextAppend(pattern, sizeof(pattern), "\\*.*"))
        return 0;
    WIN32_FIND_DATAA data;
    HANDLE listing = FindFirstFileA(pattern, &data);
    if (listing == INVALID_HANDLE_VALUE)
        return 0;
    int result = 0;
    do {
        if (lstrcmpA(data.cFileName, ".") == 0 || lstrcmpA(data.cFileName, "..") == 0)
            continue;
        char path[QV_TEXT_SIZE];
        if (!TextCopy(path, sizeof(path), directory) || !TextAppend(path, sizeof(path), "\\") ||
            !TextAppend(path, sizeof(path), data.cFileName))
            continue;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (!(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) && SearchTree(path, title, found)) {
                result = 1;
                break;
            }
            continue;
        }
        char shown[QV_TEXT_SIZE];
        if (GetFileTitleA(path, shown, sizeof(shown)) != 0)
            TextCopy(shown, sizeof(shown), data.cFileName);
        HideShortcutExtension(shown);
        if (lstrcmpiA(shown, title) == 0) {
            TextCopy(found, QV_TEXT_SIZE, path);
            result = 1;
            break;
        }
    } while (FindNextFileA(listing, &data));
    FindClose(listing);
    return result;
}

} // namespace

QVUTIL_API int WINAPI LaunchProgram(LPCSTR file, LPCSTR parameters, LPCSTR directory, DWORD* processId)
{
    HANDLE before = processId ? TakeProcessSnapshot() : INVALID_HANDLE_VALUE;

    SHELLEXECUTEINFOA request;
    ZeroMemory(&request, sizeof(request));
    request.cbSize = sizeof(request);
    request.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_FLAG_DDEWAIT;
    request.lpFile = file;
    request.lpParameters = parameters;
    request.lpDirectory = directory;
    request.nShow = SW_SHOWNORMAL;

    if (IsWin2000()) {
        HWND own = FindOwnTopWindow();
        if (own)
            ActivateWindow(own);
    }
    int result = file && ShellExecuteExA(&request) ? 1 : 0;

    if (processId && result) {
        HANDLE after = TakeProcessSnapshot();
        DWORD child = FindNewChild(before, after);
        if (child) {
            *processId = child;
            int tries = 0;
            while (!ActivateWindowByProcessId(child, 0)) {
                if (++tries == kActivateTries) {
                    *processId = 0;
                    break;
                }
                Sleep(kActivateWaitMs);
            }
        }
        if (after != INVALID_HANDLE_VALUE)
            CloseHandle(after);
    }
    if (before != INVALID_HANDLE_VALUE)
        CloseHandle(before);
    return result;
}

QVUTIL_API int WINAPI GetWndFileName(HWND hwnd, LPSTR buffer, int maxLength)
{
    if (!buffer || maxLength < 0)
        return 0;
    DWORD processId = 0;
    if (!hwnd || !GetWindowThreadProcessId(hwnd, &processId))
        return 0;
    char name[QV_TEXT_SIZE];
    int found = IsNT() ? ModuleNameFromPsapi(processId, name) : ModuleNameFromSnapshot(processId, name);
    if (!found)
        return 0;
    int length = lstrlenA(name);
    if (length > maxLength)
        return 0;
    CopyMemory(buffer, name, (SIZE_T)length + 1);
    return 1;
}

QVUTIL_API HWND WINAPI FindWindowByPath(LPCSTR programPath)
{
    if (!programPath || !programPath[0])
        return NULL;
    HWND best = NULL;
    int bestCount = 0;
    for (HWND wnd = GetWindow(GetDesktopWindow(), GW_CHILD); wnd; wnd = GetWindow(wnd, GW_HWNDNEXT)) {
        if (GetParent(wnd) || !IsWindowVisible(wnd))
            continue;
        char longName[QV_TEXT_SIZE + 1];
        if (!GetWndFileName(wnd, longName, QV_TEXT_SIZE))
            continue;
        char shortName[QV_TEXT_SIZE];
        DWORD shortLength = GetShortPathNameA(longName, shortName, sizeof(shortName));
        bool shortMatch = shortLength > 0 && shortLength < sizeof(shortName) && lstrcmpiA(programPath, shortName) == 0;
        if (!shortMatch && lstrcmpiA(programPath, longName) != 0)
            continue;
        g_childWindowCount = 0;
        EnumChildWindows(wnd, CountChildWindow, 0);
        if (!best || g_childWindowCount > bestCount) {
            best = wnd;
            bestCount = g_childWindowCount;
        }
    }
    return best;
}

QVUTIL_API int WINAPI FindProgram(LPCSTR directory, LPCSTR title, LPSTR path)
{
    if (!directory || !directory[0] || !title || !title[0])
        return 0;
    char found[QV_TEXT_SIZE];
    if (!SearchTree(directory, title, found))
        return 0;
    if (path)
        TextCopy(path, QV_TEXT_SIZE, found);
    return 1;
}

QVUTIL_API int WINAPI FindProgramPath(LPCSTR title, LPCSTR startDirectory, LPSTR path)
{
    if (path)
        path[0] = '\0';
    if (!title || !title[0])
        return 0;
    char start[QV_TEXT_SIZE];
    start[0] = '\0';
    if (startDirectory && startDirectory[0]) {
        if (!TextCopy(start, sizeof(start), startDirectory))
            return 0;
    } else {
        LPITEMIDLIST programs = NULL;
        if (SHGetSpecialFolderLocation(NULL, CSIDL_PROGRAMS, &programs) == S_OK && programs) {
            if (!SHGetPathFromIDListA(programs, start))
                start[0] = '\0';
            IMalloc* allocator = NULL;
            if (SHGetMalloc(&allocator) == S_OK && allocator) {
                allocator->Free(programs);
                allocator->Release();
            }
        }
        if (!start[0]) {
            UINT length = GetWindowsDirectoryA(start, sizeof(start));
            if (length == 0 || length >= sizeof(start))
                return 0;
        }
    }
    // A folder given with its closing backslash would otherwise double it in every path.
    int length = lstrlenA(start);
    if (length > 3 && start[length - 1] == '\\')
        start[length - 1] = '\0';
    return FindProgram(start, title, path);
}

QVUTIL_API int WINAPI ActivateWindow(HWND hwnd)
{
    if (!hwnd || !IsWindow(hwnd))
        return 0;
    HWND target = GetLastActivePopup(hwnd);
    if (!target || target == hwnd || !IsWindowVisible(target))
        target = hwnd;
    if (IsIconic(target))
        ShowWindow(target, SW_RESTORE);

    if (IsWin98()) {
        // Windows 98 refuses the foreground to a process that does not hold it, unless the lock is off.
        DWORD timeout = 0;
        BOOL haveTimeout = SystemParametersInfoA(SPI_GETFOREGROUNDLOCKTIMEOUT, 0, &timeout, 0);
        SystemParametersInfoA(SPI_SETFOREGROUNDLOCKTIMEOUT, 0, (PVOID)0, 0);
        SetForegroundWindow(target);
        if (haveTimeout)
            SystemParametersInfoA(SPI_SETFOREGROUNDLOCKTIMEOUT, 0, (PVOID)(UINT_PTR)timeout, 0);
    } else if (IsWin2000()) {
        // Sharing input with the foreground thread lets the foreground pass to another process.
        HWND foreground = GetForegroundWindow();
        DWORD foregroundThread = foreground ? GetWindowThreadProcessId(foreground, NULL) : 0;
        DWORD selfThread = GetCurrentThreadId();
        DWORD targetThread = GetWindowThreadProcessId(target, NULL);
        BOOL withForeground = foregroundThread && foregroundThread != targetThread &&
                              AttachThreadInput(targetThread, foregroundThread, TRUE);
        BOOL withSelf = selfThread != targetThread && selfThread != foregroundThread &&
                        AttachThreadInput(targetThread, selfThread, TRUE);
        SetForegroundWindow(target);
        if (withForeground)
            AttachThreadInput(targetThread, foregroundThread, FALSE);
        if (withSelf)
            AttachThreadInput(targetThread, selfThread, FALSE);
        // Some systems (Wine) leave no active window behind on detaching: ask once more.
        if ((withForeground || withSelf) && GetForegroundWindow() != target)
            SetForegroundWindow(target);
    } else {
        SetForegroundWindow(target);
    }
    return 1;
}

QVUTIL_API int WINAPI ActivateWindowByProcessId(DWORD processId, int toggle)
{
    if (!processId)
        return 0;
    bool wasInFront = false;
    HWND front = GetForegroundTopWindow();
    if (toggle && front && WindowProcess(front) == processId && !IsIconic(front) && MayMinimize(front)) {
        ShowWindow(front, SW_MINIMIZE);
        wasInFront = true;
    }

    // Activating or minimising reorders the windows, so a walk along the live Z order could
    // visit the same windows forever: the eligible ones are listed first.
    int count = 0;
    for (HWND wnd = GetWindow(GetDesktopWindow(), GW_CHILD); wnd; wnd = GetWindow(wnd, GW_HWNDNEXT)) {
        if (EligibleWindow(wnd, processId))
            ++count;
    }
    if (count == 0)
        return 0;
    HWND* windows = (HWND*)LocalAlloc(LMEM_FIXED, sizeof(HWND) * (SIZE_T)count);
    if (!windows)
        return 0;
    int listed = 0;
    for (HWND wnd = GetWindow(GetDesktopWindow(), GW_CHILD); wnd && listed < count; wnd = GetWindow(wnd, GW_HWNDNEXT)) {
        if (EligibleWindow(wnd, processId))
            windows[listed++] = wnd;
    }
    // Bottom first, so the program's own top window ends up in front again.
    for (int i = listed - 1; i >= 0; --i) {
        if (!IsWindow(windows[i]))
            continue;
        if (wasInFront) {
            if (MayMinimize(windows[i]))
                ShowWindow(windows[i], SW_MINIMIZE);
        } else {
            ActivateWindow(windows[i]);
        }
    }
    LocalFree(windows);
    return listed > 0 ? 1 : 0;
}

QVUTIL_API int WINAPI CloseCurrentWindow(void)
{
    HWND foreground = GetForegroundWindow();
    if (foreground)
        PostMessageA(foreground, WM_CLOSE, 0, 0);
    return 1;
}

QVUTIL_API int WINAPI SwitchNextWindow(void)
{
    HWND foreground = GetForegroundWindow();
    if (!foreground)
        return 1;
    // One full circle at most: should the foreground window vanish meanwhile, the walk
    // would never meet it again.
    HWND found = NULL;
    int wraps = 0;
    for (HWND wnd = foreground;;) {
        wnd = GetWindow(wnd, GW_HWNDNEXT);
        if (!wnd) {
            if (++wraps > 1)
                break;
            wnd = GetWindow(GetDesktopWindow(), GW_CHILD);
        }
        if (!wnd || wnd == foreground)
            break;
        if (IsWindowVisible(wnd) && !(GetWindowLongA(wnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW)) {
            found = wnd;
            break;
        }
    }
    if (found && IsWindow(found)) {
        // Not activated on the way down: activation would raise it again (as Wine does).
        SetWindowPos(foreground, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        ActivateWindow(found);
    }
    return 1;
}

QVUTIL_API int WINAPI ActivateScreenSaver(void)
{
    return (int)SendMessageA(GetDesktopWindow(), WM_SYSCOMMAND, SC_SCREENSAVE, 0);
}

QVUTIL_API int WINAPI LaunchCalculator(void)
{
    if (g_calculatorProcess) {
        if (ActivateWindowByProcessId(g_calculatorProcess, 1))
            return 1;
        g_calculatorProcess = 0;
    }
    return LaunchProgram("calc.exe", NULL, NULL, &g_calculatorProcess);
}

QVUTIL_API int WINAPI LaunchSystemHelp(void)
{
    char help[QV_TEXT_SIZE];
    help[0] = '\0';
    int named;
    if (IsWinME()) {
        named = Reg_GetValueString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\HELPCTR.EXE",
                                   NULL, help, sizeof(help)) && help[0];
        if (!named) {
            UINT length = GetWindowsDirectoryA(help, sizeof(help));
            named = length > 0 && length < sizeof(help) &&
                    TextAppend(help, sizeof(help), "\\PCHEALTH\\HELPCTR\\BINARIES\\HELPCTR.EXE");
        }
    } else if (IsNT() && !IsWin2000()) {
        UINT length = GetSystemDirectoryA(help, sizeof(help));
        named = length > 0 && length < sizeof(help) && TextAppend(help, sizeof(help), "\\Windows.hlp");
    } else {
        UINT length = GetWindowsDirectoryA(help, sizeof(help));
        named = length > 0 && length < sizeof(help) && TextAppend(help, sizeof(help), "\\Help\\Windows.chm");
    }
    if (!named || !FileExisted(help))
        return 0;
    return LaunchProgram(help, NULL, NULL, NULL);
}

QVUTIL_API int WINAPI LaunchMyDocuments(void)
{
    IMalloc* allocator = NULL;
    if (SHGetMalloc(&allocator) != S_OK || !allocator)
        return 0;
    LPITEMIDLIST documents = NULL;
    int result = 0;
    if (SHGetSpecialFolderLocation(NULL, CSIDL_PERSONAL, &documents) == S_OK && documents) {
        SHELLEXECUTEINFOA request;
        ZeroMemory(&request, sizeof(request));
        request.cbSize = sizeof(request);
        request.fMask = SEE_MASK_INVOKEIDLIST | SEE_MASK_FLAG_NO_UI;
        request.lpIDList = documents;
        request.nShow = SW_SHOWDEFAULT;
        result = ShellExecuteExA(&request) ? 1 : 0;
        allocator->Free(documents);
    }
    allocator->Release();
    return result;
}
