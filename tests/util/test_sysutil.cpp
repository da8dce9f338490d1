// System and text helpers of QVUtil as a caller sees them: version facts in every
// Windows mode, the exported splitters' 260-byte bound, the resource language,
// the error box and the foreground window.
#include <doctest/doctest.h>

#include "QVUtil.h"
#include "wintest.h"

#include <string.h>

#include <string>

using namespace qvtest;

QV_CHILD(osbits)
{
    return IsWin95() | IsWin98() << 1 | IsWinME() << 2 | IsNT() << 3 | IsWin2000() << 4;
}

TEST_CASE("version tests answer for each Windows mode")
{
    struct Mode {
        const char* name;
        int bits;  // IsWin95, IsWin98, IsWinME, IsNT, IsWin2000
    } modes[] = {
        { "win95", 0x01 },
        { "win98", 0x02 },
        { "winme", 0x06 },  // Me is also a 98
        { "nt40", 0x08 },
        { "win2k", 0x18 },
        { "winxp", 0x18 },  // XP is also a 2000
    };
    for (const Mode& mode : modes) {
        CAPTURE(mode.name);
        CHECK(RunAsMode(mode.name, SelfPath(), "--child osbits", 20000) == (DWORD)mode.bits);
    }
}

TEST_CASE("exported field splitter: offsets, quotes and the 259-character cut")
{
    char field[270];
    memset(field, '#', sizeof(field));
    CHECK(Str_GetField("a\\b\\c", 2, field, '\\') == 2);
    CHECK(std::string(field) == "b");
    CHECK(Str_GetField("a\\b\\c", 4, field, '\\') == -1);
    CHECK(field[0] == '\0');

    std::string text = "\"" + std::string(600, 'q') + "\" next";
    memset(field, '#', sizeof(field));
    CHECK(Str_GetField(text.c_str(), 1, field, ' ') == 0);
    CHECK(strlen(field) == 259);
    CHECK(field[260] == '#');
    CHECK(Str_GetField(text.c_str(), 2, field, ' ') == 603);
    CHECK(std::string(field) == "next");

    int start = 7;
    LPCSTR rest = Str_GetFirstField("  key\\rest", field, '\\', &start);
    CHECK(std::string(field) == "key");
    CHECK(start == 2);
    CHECK(std::string(rest) == "rest");
}

TEST_CASE("exported number parser")
{
    CHECK(StringToInteger("0x1A") == 26);
    CHECK(StringToInteger("12x5") == 5);
    CHECK(StringToInteger("-5") == 0);
}

TEST_CASE("exported shell command split never writes past 260 bytes")
{
    char program[270], args[270];
    ParseShellCommand("\"C:\\Program Files\\Mail\\mail.exe\" /compose \"%1\"", program, args);
    CHECK(std::string(program) == "C:\\Program Files\\Mail\\mail.exe");
    CHECK(std::string(args) == "/compose \"%1\"");

    std::string line = "C:\\" + std::string(300, 'p') + "\\x.exe " + std::string(300, 'a');
    memset(program, '#', sizeof(program));
    memset(args, '#', sizeof(args));
    ParseShellCommand(line.c_str(), program, args);
    CHECK(strlen(program) == 259);
    CHECK(strlen(args) == 259);
    CHECK(program[260] == '#');
    CHECK(args[260] == '#');
    ParseShellCommand(line.c_str(), NULL, NULL);
}

static LCID LocaleAfter(LCID start)
{
    SetThreadLocale(start);
    SetThreadResourceLocale();
    return GetThreadLocale();
}

TEST_CASE("thread locale moves to the nearest resource language")
{
    LCID saved = GetThreadLocale();
    CHECK(LocaleAfter(0x0C0A) == 0x080A);  // Spanish, modern sort
    CHECK(LocaleAfter(0x0816) == 0x0416);  // Portuguese, Portugal
    CHECK(LocaleAfter(0x0C04) == 0x0404);  // Chinese, Hong Kong
    CHECK(LocaleAfter(0x1004) == 0x0404);  // Chinese, Singapore
    CHECK(LocaleAfter(0x0809) == 0x0409);  // English, UK
    CHECK(LocaleAfter(0x0412) == 0x0409);  // Korean: no match
    CHECK(LocaleAfter(0x0407) == 0x0407);  // already one of ours
    CHECK(LocaleAfter(0x0807) == 0x0407);  // German, Switzerland
    SetThreadLocale(saved);
}

static std::string LoadUtilString(UINT id)
{
    char text[270];
    int n = LoadStringA(GetModuleHandleA("QVUtil.dll"), id, text, 260);
    return std::string(text, n > 0 ? n : 0);
}

// One string of one language, read from the table itself rather than through the locale.
static std::wstring StringInLanguage(HMODULE module, UINT id, WORD lang)
{
    HRSRC res = FindResourceExA(module, RT_STRING, MAKEINTRESOURCEA(id / 16 + 1), lang);
    if (!res)
        return std::wstring();
    const WCHAR* p = (const WCHAR*)LockResource(LoadResource(module, res));
    for (UINT i = 0; i < id % 16; ++i)
        p += 1 + *p;
    return std::wstring(p + 1, *p);
}

TEST_CASE("strings follow the thread's resource language, with the same ids everywhere")
{
    LCID saved = GetThreadLocale();
    CHECK(LocaleAfter(0x0409) == 0x0409);
    CHECK(LoadUtilString(53) == "Power");
    CHECK(LoadUtilString(30002) == "There is no CD in the drive.  Please insert an audio CD, VCD or DVD and try again.");
    std::string english = LoadUtilString(4);
    CHECK(english == "Calculator");

    LocaleAfter(0x0C07);  // German, Austria -> German
    std::string german = LoadUtilString(4);
    CHECK(german != english);
    CHECK(!german.empty());
    LocaleAfter(0x040C);
    std::string french = LoadUtilString(4);
    CHECK(french != english);
    CHECK(french != german);

    // Every language carries every id the button table and the disc messages use.
    static const UINT ids[] = { 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12, 18, 19, 20, 21, 22, 23, 24, 25, 26,
                                28, 31, 39, 53, 54, 30000, 30002, 30003, 30004, 30005, 30006 };
    static const LCID langs[] = { 0x0404, 0x0804, 0x0406, 0x0413, 0x0409, 0x040B, 0x040C,
                                  0x0407, 0x0410, 0x0411, 0x0414, 0x0416, 0x080A, 0x041D };
    HMODULE util = GetModuleHandleA("QVUtil.dll");
    for (LCID lang : langs) {
        for (UINT id : ids) {
            CAPTURE(lang);
            CAPTURE(id);
            CHECK(!StringInLanguage(util, id, (WORD)lang).empty());
        }
    }
    SetThreadLocale(saved);
}

struct ErrorBoxArgs {
    DWORD error;
};

static DWORD WINAPI ShowErrorThread(LPVOID param)
{
    ErrorBoxArgs* args = (ErrorBoxArgs*)param;
    SetLastError(args->error);
    ShowErrorMessage("Tavimon test caption");
    return 0;
}

TEST_CASE("error box shows the system text of the last error under the given caption")
{
    ErrorBoxArgs args = { ERROR_FILE_NOT_FOUND };
    DWORD threadId = 0;
    HANDLE thread = CreateThread(NULL, 0, ShowErrorThread, &args, 0, &threadId);
    REQUIRE(thread != NULL);
    HWND box = WaitForThreadWindow(threadId, "#32770", 10000);
    REQUIRE(box != NULL);
    CHECK(WindowText(box) == "Tavimon test caption");
    char expected[512] = "";
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, NULL, ERROR_FILE_NOT_FOUND,
                   MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), expected, sizeof(expected), NULL);
    char shown[512] = "";
    GetDlgItemTextA(box, 0xFFFF, shown, sizeof(shown));
    CHECK(expected[0] != '\0');
    CHECK(std::string(shown) == std::string(expected));
    CHECK(GetWindow(box, GW_OWNER) == NULL);
    // The box has only OK and the thread goes on once it is closed.
    CHECK(GetDlgItem(box, IDCANCEL) == NULL);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    CHECK(WaitForSingleObject(thread, 10000) == WAIT_OBJECT_0);
    CloseHandle(thread);
}

static HWND MakeWindow(const char* title, DWORD style, HWND owner)
{
    static bool registered;
    if (!registered) {
        WNDCLASSA wc;
        ZeroMemory(&wc, sizeof(wc));
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(NULL);
        wc.lpszClassName = "QvTestTop";
        RegisterClassA(&wc);
        registered = true;
    }
    return CreateWindowExA(0, "QvTestTop", title, style, 10, 10, 200, 100, owner, NULL, GetModuleHandleA(NULL), NULL);
}

TEST_CASE("foreground top window climbs to a visible owner, not past a hidden one")
{
    HWND owner = MakeWindow("owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, NULL);
    HWND popup = MakeWindow("popup", WS_POPUP | WS_CAPTION | WS_VISIBLE, owner);
    REQUIRE(owner != NULL);
    REQUIRE(popup != NULL);
    SetForegroundWindow(popup);
    PumpFor(100);
    REQUIRE(GetForegroundWindow() == popup);
    CHECK(GetForegroundTopWindow() == owner);

    ShowWindow(owner, SW_HIDE);
    SetForegroundWindow(popup);
    PumpFor(100);
    REQUIRE(GetForegroundWindow() == popup);
    CHECK(GetForegroundTopWindow() == popup);

    DestroyWindow(popup);
    DestroyWindow(owner);
}
