// The display's look: enabled, duration, colour and font, read from and written to the
// "OSD" section of the profile. Defaults follow the screen height and, on a Japanese
// system, the caption font, since "Helvetica" has no Japanese glyphs.
#include "QVOSD.h"
#include "QVUtil.h"
#include "geometry.h"
#include "internal.h"

#include <commdlg.h>
#include <string.h>

OsdSettings g_osd = {TRUE, RGB(0, 255, 0), 1000, 0, {}, FALSE, NULL};

namespace {

const char kJapaneseLocale[] = "00000411";
const int kLocaleSize = 260;
const DWORD kFontDialogFlags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_EFFECTS | CF_TTONLY;

// Until settings are loaded or chosen, the font is all zero: saving that would wipe the
// user's stored font (a host that shuts the display down without having started it).
bool g_haveSettings;

// Copies the registry value (any length) into `locale`, cut to its size.
void ReadLocaleValue(HKEY root, const char* path, const char* name, char (&locale)[kLocaleSize])
{
    HKEY key;
    if (RegOpenKeyA(root, path, &key) != ERROR_SUCCESS)
        return;
    DWORD type, size = 0;
    if (RegQueryValueExA(key, name, NULL, &type, NULL, &size) == ERROR_SUCCESS && size > 0) {
        HANDLE heap = GetProcessHeap();
        // One spare zero byte: the stored text need not be terminated.
        char* data = (char*)HeapAlloc(heap, HEAP_ZERO_MEMORY, size + 1);
        if (data) {
            if (RegQueryValueExA(key, name, NULL, &type, (BYTE*)data, &size) == ERROR_SUCCESS)
                lstrcpynA(locale, data, kLocaleSize);
            HeapFree(heap, 0, data);
        }
    }
    RegCloseKey(key);
}

// Fills `caption` with the title-bar font on a Japanese system; false elsewhere, or
// when the metrics cannot be read (the plain defaults then apply).
bool JapaneseCaptionFont(LOGFONTA* caption)
{
    char locale[kLocaleSize] = "00000409";
    if (IsNT())
        ReadLocaleValue(HKEY_CURRENT_USER, "Control Panel\\International", "Locale", locale);
    else
        ReadLocaleValue(HKEY_CURRENT_USER, "Control Panel\\Desktop\\ResourceLocale", NULL, locale);
    if (lstrcmpiA(locale, kJapaneseLocale) != 0)
        return false;
    NONCLIENTMETRICSA metrics;
    ZeroMemory(&metrics, sizeof(metrics));
    metrics.cbSize = sizeof(metrics); // 340 bytes: the record Windows 95 and NT 4 know
    if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
        return false;
    *caption = metrics.lfCaptionFont;
    return true;
}

int Number(const char* name, int defaultValue)
{
    int value = defaultValue;
    Reg_GetProfileNumber(OSD_SECTION, name, &value, defaultValue);
    return value;
}

BYTE Byte(const char* name, BYTE defaultValue)
{
    return (BYTE)(Number(name, defaultValue) & 0xFF);
}

} // namespace

bool OsdUserChangedStored()
{
    int ignored;
    return Reg_GetProfileNumber(OSD_SECTION, "UserChanged", &ignored, 0) != 0;
}

int WINAPI OSD_LoadSettings(void)
{
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    LOGFONTA caption;
    const bool japanese = JapaneseCaptionFont(&caption);
    LOGFONTA& font = g_osd.font;

    g_osd.storedHeight = Number("Height", -64);
    const bool userChanged = OsdUserChangedStored();
    font.lfWeight = Number("Weight", 400);
    font.lfWidth = Number("Width", 0);
    font.lfEscapement = Number("Esc", 0);
    font.lfOrientation = Number("Orient", 0);
    font.lfItalic = Byte("Italic", 0);
    font.lfUnderline = Byte("Underline", 0);
    font.lfStrikeOut = Byte("StrikeOut", 0);
    font.lfCharSet = Byte("CharSet", japanese ? caption.lfCharSet : 0);
    font.lfOutPrecision = Byte("OutPrec", 0);
    font.lfClipPrecision = Byte("ClipPrec", 0);
    font.lfQuality = Byte("Quality", 0);
    font.lfPitchAndFamily = Byte("Pitch&Family", japanese ? caption.lfPitchAndFamily : 0);
    Reg_GetProfileString(OSD_SECTION, "FaceName", font.lfFaceName, LF_FACESIZE,
                         japanese ? caption.lfFaceName : "Helvetica");
    font.lfHeight = userChanged ? g_osd.storedHeight : ScaledFontHeight(screenHeight, g_osd.storedHeight);
    OSD_SetColor((COLORREF)Number("Color", RGB(0, 255, 0)));
    g_osd.duration = (DWORD)Number("Duration", 1000);
    int enabled = 1;
    int found = Reg_GetProfileBool(OSD_SECTION, "Enabled", &enabled, 1);
    g_osd.enabled = enabled;
    g_haveSettings = true;
    return found ? 1 : 0;
}

int WINAPI OSD_SaveSettings(void)
{
    if (!g_haveSettings)
        return 0;
    const LOGFONTA& font = g_osd.font;
    Reg_SetProfileNumber(OSD_SECTION, "Height", g_osd.storedHeight);
    Reg_SetProfileNumber(OSD_SECTION, "Weight", font.lfWeight);
    Reg_SetProfileNumber(OSD_SECTION, "Width", font.lfWidth);
    Reg_SetProfileNumber(OSD_SECTION, "Esc", font.lfEscapement);
    Reg_SetProfileNumber(OSD_SECTION, "Orient", font.lfOrientation);
    Reg_SetProfileNumber(OSD_SECTION, "Italic", font.lfItalic);
    Reg_SetProfileNumber(OSD_SECTION, "Underline", font.lfUnderline);
    Reg_SetProfileNumber(OSD_SECTION, "StrikeOut", font.lfStrikeOut);
    Reg_SetProfileNumber(OSD_SECTION, "CharSet", font.lfCharSet);
    Reg_SetProfileNumber(OSD_SECTION, "OutPrec", font.lfOutPrecision);
    Reg_SetProfileNumber(OSD_SECTION, "ClipPrec", font.lfClipPrecision);
    Reg_SetProfileNumber(OSD_SECTION, "Quality", font.lfQuality);
    Reg_SetProfileNumber(OSD_SECTION, "Pitch&Family", font.lfPitchAndFamily);
    Reg_SetProfileString(OSD_SECTION, "FaceName", font.lfFaceName);
    Reg_SetProfileNumber(OSD_SECTION, "Color", (int)g_osd.color);
    Reg_SetProfileNumber(OSD_SECTION, "Duration", (int)g_osd.duration);
    if (!g_osd.userChanged)
        return 0;
    return Reg_SetProfileNumber(OSD_SECTION, "UserChanged", 1) ? 1 : 0;
}

void OsdEnsureBrush(HWND window)
{
    if (g_osd.brush)
        return;
    g_osd.brush = CreateSolidBrush(g_osd.color);
    if (g_osd.brush)
        SetClassLongPtrA(window, GCLP_HBRBACKGROUND, (LONG_PTR)g_osd.brush);
}

int WINAPI OSD_SetColor(COLORREF color)
{
    g_osd.color = color;
    if (!g_osdWindow || !IsWindow(g_osdWindow))
        return 0;
    HBRUSH brush = CreateSolidBrush(color);
    if (!brush)
        return 0;
    SetClassLongPtrA(g_osdWindow, GCLP_HBRBACKGROUND, (LONG_PTR)brush);
    // Only the brush this library made is deleted; there is exactly one alive.
    if (g_osd.brush)
        DeleteObject(g_osd.brush);
    g_osd.brush = brush;
    return 1;
}

int WINAPI OSD_SelectFont(HWND owner)
{
    LOGFONTA chosen = g_osd.font;
    char style[LF_FACESIZE] = "";
    CHOOSEFONTA dialog;
    ZeroMemory(&dialog, sizeof(dialog));
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner;
    dialog.lpLogFont = &chosen;
    dialog.lpszStyle = style;
    dialog.Flags = kFontDialogFlags;
    dialog.rgbColors = g_osd.color;
    if (!ChooseFontA(&dialog))
        return 0;
    g_osd.font = chosen;
    g_osd.storedHeight = chosen.lfHeight;
    g_osd.userChanged = TRUE;
    g_haveSettings = true;
    return OSD_SetColor(dialog.rgbColors);
}
