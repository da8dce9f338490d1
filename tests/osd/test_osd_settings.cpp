// The display's settings against the profile in Wine's registry: defaults, the order of
// the stored values, the brush kept to one, the font dialog driven from a timer (OK and
// Cancel), and the Japanese caption-font defaults on both platform branches.
#include <doctest/doctest.h>

#include "QVOSD.h"
#include "QVUtil.h"
#include "profile.h"
#include "wintest.h"

#include <string.h>

#include <string>

using namespace qvtest;

namespace {

DWORD Dword(const TestProfile& p, const char* name)
{
    DWORD type = 0;
    std::string data;
    if (!ReadValue(HKEY_CURRENT_USER, p.User("OSD").c_str(), name, &type, &data) || type != REG_DWORD ||
        data.size() != 4)
        return 0xBADBAD;
    DWORD v;
    memcpy(&v, data.data(), 4);
    return v;
}

std::string Text(const TestProfile& p, const char* name)
{
    DWORD type = 0;
    std::string data;
    if (!ReadValue(HKEY_CURRENT_USER, p.User("OSD").c_str(), name, &type, &data) || type != REG_SZ)
        return "<absent>";
    return std::string(data.c_str());
}

bool Has(const TestProfile& p, const char* name)
{
    return ReadValue(HKEY_CURRENT_USER, p.User("OSD").c_str(), name, NULL, NULL);
}

HWND DisplayWindow()
{
    return FindWindowA("QV_OSD_WNDCLASS", "QV_OSD_WND");
}

HBRUSH ClassBrush()
{
    return (HBRUSH)GetClassLongPtrA(DisplayWindow(), GCLP_HBRBACKGROUND);
}

COLORREF BrushColor(HBRUSH brush)
{
    LOGBRUSH info = {};
    if (!GetObjectA(brush, sizeof(info), &info))
        return 0xFFFFFFFF;
    return info.lbColor;
}

LOGFONTA CaptionFont()
{
    NONCLIENTMETRICSA metrics;
    ZeroMemory(&metrics, sizeof(metrics));
    metrics.cbSize = sizeof(metrics);
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    return metrics.lfCaptionFont;
}

// The font dialog, driven from a thread timer that the dialog's own loop dispatches.
struct FontDialogScript {
    bool ok;
    COLORREF color;      // picked in the colour box when ok
    bool seen;
    LOGFONTA offered;    // what the dialog hands back on OK
};
FontDialogScript g_script;

BOOL CALLBACK FindDialog(HWND window, LPARAM found)
{
    char name[32];
    GetClassNameA(window, name, sizeof(name));
    if (strcmp(name, "#32770") == 0 && IsWindowVisible(window)) {
        *(HWND*)found = window;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK DriveFontDialog(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND dialog = NULL;
    EnumThreadWindows(GetCurrentThreadId(), FindDialog, (LPARAM)&dialog);
    if (!dialog)
        return;
    KillTimer(NULL, timer);
    g_script.seen = true;
    if (!g_script.ok) {
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        return;
    }
    const int colorBox = 0x473; // cmb4
    HWND box = GetDlgItem(dialog, colorBox);
    int count = (int)SendMessageA(box, CB_GETCOUNT, 0, 0);
    for (int i = 0; i < count; ++i) {
        if ((COLORREF)SendMessageA(box, CB_GETITEMDATA, i, 0) == g_script.color) {
            SendMessageA(box, CB_SETCURSEL, i, 0);
            SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(colorBox, CBN_SELCHANGE), (LPARAM)box);
        }
    }
    SendMessageA(dialog, WM_CHOOSEFONT_GETLOGFONT, 0, (LPARAM)&g_script.offered);
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
}

int RunFontDialog(bool ok, COLORREF color)
{
    ZeroMemory(&g_script, sizeof(g_script));
    g_script.ok = ok;
    g_script.color = color;
    UINT_PTR timer = SetTimer(NULL, 0, 100, DriveFontDialog);
    int result = OSD_SelectFont(NULL);
    KillTimer(NULL, timer);
    return result;
}

// Sets HKCU\Control Panel\International "Locale" for the length of a scope. Wine itself
// keeps this value, so it is put back at once.
struct NtLocale {
    std::string saved;
    bool had;
    explicit NtLocale(const char* locale)
    {
        had = ReadValue(HKEY_CURRENT_USER, "Control Panel\\International", "Locale", NULL, &saved);
        WriteString(HKEY_CURRENT_USER, "Control Panel\\International", "Locale", locale);
    }
    ~NtLocale()
    {
        if (had)
            WriteString(HKEY_CURRENT_USER, "Control Panel\\International", "Locale", saved.c_str());
    }
};

} // namespace

TEST_CASE("an empty store gives the defaults, and a save writes them in full")
{
    TestProfile p;
    CHECK(OSD_LoadSettings() == 0); // no "Enabled" in the store
    CHECK(OSD_SaveSettings() == 0); // no user change
    CHECK(Dword(p, "Height") == (DWORD)-64);
    CHECK(Dword(p, "Weight") == 400);
    const char* zeros[] = {"Width", "Esc", "Orient", "Italic", "Underline", "StrikeOut", "CharSet",
                           "OutPrec", "ClipPrec", "Quality", "Pitch&Family"};
    for (const char* name : zeros) {
        CAPTURE(name);
        CHECK(Dword(p, name) == 0);
    }
    CHECK(Text(p, "FaceName") == "Helvetica");
    CHECK(Dword(p, "Color") == 0xFF00);
    CHECK(Dword(p, "Duration") == 1000);
    CHECK_FALSE(Has(p, "Enabled"));
    CHECK_FALSE(Has(p, "UserChanged"));
}

TEST_CASE("a save before any load leaves the stored settings alone")
{
    TestProfile p;
    WriteDword(HKEY_CURRENT_USER, p.User("OSD").c_str(), "Height", (DWORD)-40);
    WriteString(HKEY_CURRENT_USER, p.User("OSD").c_str(), "FaceName", "Kept Face");
    CHECK(RunProgram("\"" + SelfPath() + "\" --child destroy_only " + p.base, 60000) == 0);
    CHECK(Dword(p, "Height") == (DWORD)-40);
    CHECK(Text(p, "FaceName") == "Kept Face");
    CHECK_FALSE(Has(p, "Weight"));
}

QV_CHILD(destroy_only)
{
    if (argc < 1)
        return 20;
    Reg_InitProfile(argv[0], "alice");
    return OSD_Destroy() + OSD_SaveSettings();
}

TEST_CASE("stored values are read back; 8-bit fields keep their low byte")
{
    TestProfile p;
    std::string osd = p.User("OSD");
    WriteDword(HKEY_CURRENT_USER, osd.c_str(), "Italic", 257);
    WriteDword(HKEY_CURRENT_USER, osd.c_str(), "CharSet", 0x180);
    WriteDword(HKEY_CURRENT_USER, osd.c_str(), "Weight", 700);
    WriteDword(HKEY_CURRENT_USER, osd.c_str(), "Duration", 2500);
    WriteDword(HKEY_CURRENT_USER, osd.c_str(), "Color", 0x123456);
    WriteDword(HKEY_CURRENT_USER, osd.c_str(), "Enabled", 0);
    WriteString(HKEY_CURRENT_USER, osd.c_str(), "FaceName",
                "A face name far longer than the thirty-one characters a font allows");
    CHECK(OSD_LoadSettings() == 1);
    OSD_SaveSettings();
    CHECK(Dword(p, "Italic") == 1);
    CHECK(Dword(p, "CharSet") == 0x80);
    CHECK(Dword(p, "Weight") == 700);
    CHECK(Dword(p, "Duration") == 2500);
    CHECK(Dword(p, "Color") == 0x123456);
    CHECK(Text(p, "FaceName") == "Helvetica"); // too long to read: the default
    CHECK(Dword(p, "Enabled") == 0); // never written by a save
}

TEST_CASE("without a display window a colour is only remembered")
{
    TestProfile p;
    OSD_LoadSettings();
    CHECK(DisplayWindow() == NULL);
    CHECK(OSD_SetColor(RGB(10, 20, 30)) == 0);
    OSD_SaveSettings();
    CHECK(Dword(p, "Color") == RGB(10, 20, 30));
}

TEST_CASE("the class brush follows the colour and exactly one brush stays alive")
{
    TestProfile p;
    WriteDword(HKEY_CURRENT_USER, p.User("OSD").c_str(), "Color", RGB(0, 0, 255));
    REQUIRE(OSD_Init() == 1);
    HBRUSH first = ClassBrush();
    CHECK(BrushColor(first) == RGB(0, 0, 255));
    OSD_LoadSettings();
    HBRUSH second = ClassBrush();
    CHECK(second != first);
    CHECK(GetObjectType(first) == 0); // deleted
    CHECK(BrushColor(second) == RGB(0, 0, 255));
    CHECK(OSD_SetColor(RGB(255, 0, 0)) != 0);
    HBRUSH third = ClassBrush();
    CHECK(GetObjectType(second) == 0);
    CHECK(BrushColor(third) == RGB(255, 0, 0));
    OSD_Destroy();
    CHECK(GetObjectType(third) == 0);
    CHECK(DisplayWindow() == NULL);
}

TEST_CASE("choosing a font takes its description and colour, and marks the user's change")
{
    TestProfile p;
    WriteString(HKEY_CURRENT_USER, p.User("OSD").c_str(), "FaceName", "DejaVu Sans");
    REQUIRE(OSD_Init() == 1);
    int result = RunFontDialog(true, RGB(255, 0, 0));
    REQUIRE(g_script.seen);
    CHECK(result != 0);
    CHECK(BrushColor(ClassBrush()) == RGB(255, 0, 0));
    CHECK(OSD_SaveSettings() == 1);
    CHECK(Dword(p, "UserChanged") == 1);
    CHECK(Dword(p, "Color") == RGB(255, 0, 0));
    CHECK(Dword(p, "Height") == (DWORD)g_script.offered.lfHeight);
    CHECK(Dword(p, "Weight") == (DWORD)g_script.offered.lfWeight);
    CHECK(Text(p, "FaceName") == g_script.offered.lfFaceName);
    // The flag stays for the process: a removed "UserChanged" is written again.
    CHECK(OSD_SaveSettings() == 0); // already 1 in the store
    HKEY key;
    REQUIRE(RegOpenKeyExA(HKEY_CURRENT_USER, p.User("OSD").c_str(), 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS);
    RegDeleteValueA(key, "UserChanged");
    RegCloseKey(key);
    CHECK(OSD_Destroy() == 1);
    CHECK(Dword(p, "UserChanged") == 1);
}

TEST_CASE("cancelling the font dialog changes nothing")
{
    TestProfile p;
    // A fresh process: the user-changed flag of the case above lives for the process.
    CHECK(RunProgram("\"" + SelfPath() + "\" --child cancel_font " + p.base, 60000) == 0);
    CHECK_FALSE(Has(p, "UserChanged"));
    CHECK(Dword(p, "Color") == 0xFF00);
    CHECK(Dword(p, "Height") == (DWORD)-64);
}

QV_CHILD(cancel_font)
{
    if (argc < 1)
        return 20;
    Reg_InitProfile(argv[0], "alice");
    OSD_Init();
    HBRUSH before = ClassBrush();
    int failures = RunFontDialog(false, 0) != 0;
    failures += !g_script.seen;
    failures += ClassBrush() != before;
    failures += OSD_Destroy() != 0;
    return failures;
}

TEST_CASE("a Japanese locale on NT takes the caption font's face, character set and pitch")
{
    REQUIRE(IsNT());
    LOGFONTA caption = CaptionFont();
    TestProfile p;
    {
        NtLocale japanese("00000411");
        OSD_LoadSettings();
    }
    OSD_SaveSettings();
    CHECK(Text(p, "FaceName") == caption.lfFaceName);
    CHECK(Dword(p, "CharSet") == caption.lfCharSet);
    CHECK(Dword(p, "Pitch&Family") == caption.lfPitchAndFamily);

    // Values in the store still win; the locale compares without case.
    TestProfile stored;
    WriteString(HKEY_CURRENT_USER, stored.User("OSD").c_str(), "FaceName", "Stored Face");
    WriteDword(HKEY_CURRENT_USER, stored.User("OSD").c_str(), "CharSet", 2);
    {
        NtLocale japanese("00000411");
        OSD_LoadSettings();
    }
    OSD_SaveSettings();
    CHECK(Text(stored, "FaceName") == "Stored Face");
    CHECK(Dword(stored, "CharSet") == 2);
}

TEST_CASE("NT ignores the 9x resource locale; Windows 95 reads it")
{
    LOGFONTA caption = CaptionFont();
    REQUIRE(strcmp(caption.lfFaceName, "Helvetica") != 0);
    TestProfile p;
    WriteString(HKEY_CURRENT_USER, "Control Panel\\Desktop\\ResourceLocale", "", "00000411");
    OSD_LoadSettings();
    OSD_SaveSettings();
    CHECK(Text(p, "FaceName") == "Helvetica");

    TestProfile p95;
    CHECK(RunAsMode("win95", SelfPath(), "--child load_and_save " + p95.base, 60000) == 0);
    CHECK(Text(p95, "FaceName") == caption.lfFaceName);
    DeleteTree(HKEY_CURRENT_USER, "Control Panel\\Desktop\\ResourceLocale");
}

QV_CHILD(load_and_save)
{
    if (IsNT())
        return 10;
    if (argc < 1)
        return 20;
    Reg_InitProfile(argv[0], "alice");
    OSD_LoadSettings();
    OSD_SaveSettings();
    return 0;
}
