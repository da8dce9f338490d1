// Operating-system facts, text helpers and the resource language of QVUtil.
// Exported wrappers only; the parsing itself lives in textparse.cpp.
#include "QVUtil.h"
#include "resourcelocale.h"
#include "textparse.h"

namespace {

struct OsFacts {
    DWORD platform;
    DWORD major;
    DWORD minor;
};

// A failed GetVersionExA leaves the record zeroed, so every test answers false.
OsFacts QueryOs()
{
    OSVERSIONINFOA info;
    ZeroMemory(&info, sizeof(info));
    info.dwOSVersionInfoSize = sizeof(info);
    if (!GetVersionExA(&info))
        ZeroMemory(&info, sizeof(info));
    OsFacts os = { info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion };
    return os;
}

} // namespace

QVUTIL_API int WINAPI IsWin98(void)
{
    OsFacts os = QueryOs();
    return os.platform == VER_PLATFORM_WIN32_WINDOWS && os.major == 4 && os.minor > 0;
}

QVUTIL_API int WINAPI IsWinME(void)
{
    OsFacts os = QueryOs();
    return os.platform == VER_PLATFORM_WIN32_WINDOWS && os.major == 4 && os.minor >= 90;
}

QVUTIL_API int WINAPI IsWin95(void)
{
    return QueryOs().platform == VER_PLATFORM_WIN32_WINDOWS && !IsWin98();
}

QVUTIL_API int WINAPI IsNT(void)
{
    return QueryOs().platform == VER_PLATFORM_WIN32_NT;
}

QVUTIL_API int WINAPI IsWin2000(void)
{
    OsFacts os = QueryOs();
    return os.platform == VER_PLATFORM_WIN32_NT && os.major >= 5;
}

QVUTIL_API int WINAPI StringToInteger(LPCSTR text)
{
    return TextToInteger(text);
}

QVUTIL_API LPCSTR WINAPI Str_GetFirstField(LPCSTR text, LPSTR field, char separator, int* startOffset)
{
    return TextFirstField(text, field, QV_TEXT_SIZE, separator, startOffset);
}

QVUTIL_API int WINAPI Str_GetField(LPCSTR text, int fieldNumber, LPSTR field, char separator)
{
    return TextField(text, fieldNumber, field, QV_TEXT_SIZE, separator);
}

QVUTIL_API void WINAPI ParseShellCommand(LPCSTR commandLine, LPSTR program, LPSTR arguments)
{
    TextSplitCommand(commandLine, program, QV_TEXT_SIZE, arguments, QV_TEXT_SIZE);
}

QVUTIL_API void WINAPI SetThreadResourceLocale(void)
{
    ChooseResourceLocale();
}

QVUTIL_API void WINAPI ShowErrorMessage(LPCSTR caption)
{
    DWORD error = GetLastError();
    LPSTR text = NULL;
    FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                   NULL, error, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), (LPSTR)&text, 0, NULL);
    // The box needs some text even for a code the system cannot describe.
    char fallback[32];
    if (!text)
        wsprintfA(fallback, "Error %lu", error);
    MessageBoxA(NULL, text ? text : fallback, caption, MB_OK | MB_ICONINFORMATION);
    if (text)
        LocalFree(text);
}

QVUTIL_API HWND WINAPI GetForegroundTopWindow(void)
{
    HWND wnd = GetForegroundWindow();
    if (!wnd)
        return NULL;
    for (HWND parent = GetParent(wnd); parent && IsWindowVisible(parent); parent = GetParent(wnd))
        wnd = parent;
    return wnd;
}
