// The installer's background window in this process (its class, placement, painted pixels,
// pictures and messages, with the start message taken off the queue so no wizard runs),
// and setup.exe copies beside a script: the window on screen, and "net start hkport"
// after the wizard on NT 5 and later only.
#include <doctest/doctest.h>

#include <windows.h>
#include <prsht.h>

#include "background.h"
#include "pcx.h"
#include "procs.h"
#include "resource.h"
#include "setup.h"
#include "capture.h"
#include "setuptest.h"
#include "wintest.h"
#include "wizard.h"

#include <string>
#include <vector>

using namespace qvtest;
using namespace setuptest;

namespace {

typedef std::vector<unsigned char> Bytes;

struct Rgb {
    int r, g, b;
};
bool operator==(const Rgb& a, const Rgb& b)
{
    return a.r == b.r && a.g == b.g && a.b == b.b;
}
doctest::String toString(const Rgb& c)
{
    return ("(" + std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b) + ")").c_str();
}
const Rgb kTeal = { 0, 128, 128 };

// --- PCX files, written here the way a paint program writes them. ---

void PutWord(Bytes& b, size_t at, int value)
{
    b[at] = (unsigned char)value;
    b[at + 1] = (unsigned char)(value >> 8);
}

Bytes RunLength(const Bytes& line)
{
    Bytes out;
    for (size_t i = 0; i < line.size();) {
        size_t n = 1;
        while (i + n < line.size() && line[i + n] == line[i] && n < 63)
            ++n;
        if (n > 1 || line[i] >= 0xC0) {
            out.push_back((unsigned char)(0xC0 | n));
            out.push_back(line[i]);
        } else {
            out.push_back(line[i]);
        }
        i += n;
    }
    return out;
}

// `rows` holds one byte string per line, `bytesPerLine` long.
Bytes Pcx(int bpp, int planes, int width, int height, int bytesPerLine, const std::vector<Bytes>& rows,
          const std::vector<Rgb>& headerPalette, const std::vector<Rgb>& endPalette)
{
    Bytes file(128, 0);
    file[0] = 10;
    file[1] = 5;
    file[2] = 1;
    file[3] = (unsigned char)bpp;
    PutWord(file, 8, width - 1);
    PutWord(file, 10, height - 1);
    PutWord(file, 12, 96);
    PutWord(file, 14, 96);
    for (size_t i = 0; i < headerPalette.size() && i < 16; ++i) {
        file[16 + i * 3] = (unsigned char)headerPalette[i].r;
        file[17 + i * 3] = (unsigned char)headerPalette[i].g;
        file[18 + i * 3] = (unsigned char)headerPalette[i].b;
    }
    file[65] = (unsigned char)planes;
    PutWord(file, 66, bytesPerLine);
    for (const Bytes& row : rows) {
        Bytes encoded = RunLength(row);
        file.insert(file.end(), encoded.begin(), encoded.end());
    }
    if (!endPalette.empty()) {
        file.push_back(0x0C);
        for (int i = 0; i < 256; ++i) {
            Rgb c = i < (int)endPalette.size() ? endPalette[i] : Rgb{ 7, 7, 7 };
            file.push_back((unsigned char)c.r);
            file.push_back((unsigned char)c.g);
            file.push_back((unsigned char)c.b);
        }
    }
    return file;
}

// Four colours in quadrants: 1 top left, 2 top right, 3 bottom left, 4 bottom right.
int Quadrant(int x, int y, int width, int height)
{
    return 1 + (x >= width / 2) + 2 * (y >= height / 2);
}

// Colour 0 (what a file cut short leaves) and the four quadrants'.
const std::vector<Rgb> kQuadrantColours = {
    { 255, 0, 255 }, { 200, 30, 30 }, { 30, 200, 30 }, { 30, 30, 200 }, { 250, 250, 0 },
};
const std::vector<Rgb> kWrongColours(16, Rgb{ 90, 90, 90 });

Bytes Quadrants256(int width, int height)
{
    int bpl = width + (width & 1);
    std::vector<Bytes> rows;
    for (int y = 0; y < height; ++y) {
        Bytes row((size_t)bpl, 0);
        for (int x = 0; x < width; ++x)
            row[(size_t)x] = (unsigned char)Quadrant(x, y, width, height);
        rows.push_back(row);
    }
    return Pcx(8, 1, width, height, bpl, rows, kWrongColours, kQuadrantColours);
}

Bytes Quadrants16(int width, int height, int planes)
{
    int bpl = (width + 1) / 2;
    bpl += bpl & 1;
    std::vector<Bytes> rows;
    for (int y = 0; y < height; ++y) {
        for (int plane = 0; plane < planes; ++plane) {
            Bytes row((size_t)bpl, 0);
            for (int x = 0; x < width; ++x)
                row[(size_t)x / 2] |= (unsigned char)(Quadrant(x, y, width, height) << (x % 2 ? 0 : 4));
            rows.push_back(row);
        }
    }
    // A palette at the end too, so taking the wrong one shows.
    return Pcx(4, planes, width, height, bpl, rows, kQuadrantColours, kWrongColours);
}

bool WriteBytes(const std::string& path, const Bytes& data)
{
    return WriteFileText(path, std::string(data.begin(), data.end()));
}

// --- The window in this process. ---

struct Capture {
    int width = 0, height = 0;
    std::vector<DWORD> pixels;  // top row first, 0x00RRGGBB
    Rgb At(int x, int y) const
    {
        DWORD p = pixels[(size_t)y * width + x];
        return { (int)(p >> 16 & 255), (int)(p >> 8 & 255), (int)(p & 255) };
    }
};

// What the window paints into a 32-bit memory bitmap of its client size.
Capture Print(HWND wnd)
{
    Capture c;
    if (!PrintClientPixels(wnd, 0, &c.width, &c.height, &c.pixels))
        return Capture();
    return c;
}

// Where the title's white letters and black shadow lie, inside `area`.
struct Ink {
    RECT white = { 0, 0, 0, 0 }, black = { 0, 0, 0, 0 };
    int whiteCount = 0, blackCount = 0;
};

void Grow(RECT* r, int* count, int x, int y)
{
    if ((*count)++ == 0) {
        SetRect(r, x, y, x + 1, y + 1);
        return;
    }
    r->left = x < r->left ? x : r->left;
    r->top = y < r->top ? y : r->top;
    r->right = x + 1 > r->right ? x + 1 : r->right;
    r->bottom = y + 1 > r->bottom ? y + 1 : r->bottom;
}

Ink FindInk(const Capture& c, RECT area)
{
    Ink ink;
    for (int y = area.top; y < area.bottom && y < c.height; ++y) {
        for (int x = area.left; x < area.right && x < c.width; ++x) {
            Rgb p = c.At(x, y);
            if (p.r > 200 && p.g > 200 && p.b > 200)
                Grow(&ink.white, &ink.whiteCount, x, y);
            else if (p.r < 40 && p.g < 40 && p.b < 40)
                Grow(&ink.black, &ink.blackCount, x, y);
        }
    }
    return ink;
}

int FrameAndCaption()
{
    return GetSystemMetrics(SM_CYSIZEFRAME) + GetSystemMetrics(SM_CYCAPTION);
}

// Width and height of `text` in a font.
SIZE TextSize(const LOGFONTA& font, const std::string& text)
{
    SIZE size = { 0, 0 };
    HDC dc = GetDC(NULL);
    HFONT f = CreateFontIndirectA(&font);
    HGDIOBJ old = SelectObject(dc, f);
    GetTextExtentPoint32A(dc, text.c_str(), (int)text.size(), &size);
    TEXTMETRICA tm;
    GetTextMetricsA(dc, &tm);
    size.cy = tm.tmHeight;
    SelectObject(dc, old);
    DeleteObject(f);
    ReleaseDC(NULL, dc);
    return size;
}

LOGFONTA TitleFont()
{
    LOGFONTA f;
    ZeroMemory(&f, sizeof(f));
    f.lfHeight = 42;
    f.lfWeight = 600;
    f.lfItalic = TRUE;
    f.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
    lstrcpyA(f.lfFaceName, "Times New Roman");
    return f;
}

LOGFONTA CaptionFont()
{
    NONCLIENTMETRICSA metrics;
    ZeroMemory(&metrics, sizeof(metrics));
    metrics.cbSize = sizeof(metrics);
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    LOGFONTA f = metrics.lfCaptionFont;
    f.lfHeight = 42;
    f.lfItalic = TRUE;
    f.lfWeight = 600;
    return f;
}

const char kLocaleKey[] = "Control Panel\\International";

// The user's "Locale" (the one the installer reads on NT) for the length of a scope;
// put back, or removed again, at its end.
struct UserLocale {
    std::string saved;
    DWORD type = REG_SZ;
    bool had;
    UserLocale() { had = ReadValue(HKEY_CURRENT_USER, kLocaleKey, "Locale", &type, &saved); }
    ~UserLocale()
    {
        HKEY key;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, kLocaleKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
            return;
        if (had)
            RegSetValueExA(key, "Locale", 0, type, (const BYTE*)saved.data(), (DWORD)saved.size());
        else
            RegDeleteValueA(key, "Locale");
        RegCloseKey(key);
    }
    void Set(const char* locale) { WriteString(HKEY_CURRENT_USER, kLocaleKey, "Locale", locale); }
};

// A background window made in this process from a script in a fresh folder. Its start
// message is taken off the queue, so the wizard never runs and the window stays.
struct Background {
    std::string dir;
    HWND wnd = NULL;
    bool startPosted = false;
    Background(const std::string& setupSection, const char* options = "")
    {
        dir = MakeSetupDir("bkg");
        WriteScript(dir + "\\SETUP2K.INI", "[Setup]\n" + setupSection);
        WriteScript(dir + "\\SETUPNT.INI", "[Setup]\n" + setupSection);
        WriteScript(dir + "\\SETUP95.INI", "[Setup]\n" + setupSection);
        if (!StartIn(dir, options))
            return;
        HINSTANCE instance = GetModuleHandleA(NULL);
        if (!SetupRegisterBackground(instance) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
            return;
        wnd = SetupCreateBackground(instance);
        MSG msg;
        startPosted = PeekMessageA(&msg, wnd, WM_SETUP_START, WM_SETUP_START, PM_REMOVE) != FALSE;
    }
    ~Background()
    {
        if (wnd && IsWindow(wnd))
            DestroyWindow(wnd);
        MSG msg;
        PeekMessageA(&msg, NULL, WM_QUIT, WM_QUIT, PM_REMOVE);
        RemoveTree(dir);
    }
    std::string File(const char* name) const { return dir + "\\" + name; }
};

std::string LogoLine(const std::string& path)
{
    return "BkgLogo=" + path + "\n";
}

// The same rows of the title, whatever the screen: line 1 from y 5, line 2 below it.
RECT Band(int from, int to, int width)
{
    RECT r = { 0, from, width, to };
    return r;
}

} // namespace

TEST_CASE("the class, the caption, maximised over the work area, or hidden with H")
{
    RECT work;
    REQUIRE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0));
    {
        g_titleBandHeight = 0;
        Background b("ProductName=Tavimon\n");
        REQUIRE(b.wnd != NULL);
        CHECK(b.startPosted);
        // Painted once before the start message, so the wizard finds the band's height.
        CHECK(g_titleBandHeight > 0);
        WNDCLASSA wc;
        REQUIRE(GetClassInfoA(GetModuleHandleA(NULL), SETUP_BACKGROUND_CLASS, &wc));
        CHECK(wc.hIcon != NULL);
        CHECK(wc.hIcon == LoadIconA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDI_SETUP)));
        CHECK(wc.hCursor == LoadCursorA(NULL, (LPCSTR)IDC_ARROW));
        CHECK(wc.hbrBackground == (HBRUSH)GetStockObject(WHITE_BRUSH));
        CHECK(wc.lpszMenuName == NULL);
        ICONINFO icon;
        REQUIRE(GetIconInfo(wc.hIcon, &icon));
        BITMAP mask;
        GetObjectA(icon.hbmMask, sizeof(mask), &mask);
        CHECK(mask.bmWidth == 32);
        DeleteObject(icon.hbmMask);
        if (icon.hbmColor)
            DeleteObject(icon.hbmColor);

        // The group holds a 16 x 16 image of its own beside the 32 x 32 one.
        HINSTANCE module = GetModuleHandleA(NULL);
        HRSRC group = FindResourceA(module, MAKEINTRESOURCEA(IDI_SETUP), (LPCSTR)RT_GROUP_ICON);
        REQUIRE(group != NULL);
        PBYTE dir = (PBYTE)LockResource(LoadResource(module, group));
        int big = LookupIconIdFromDirectoryEx(dir, TRUE, 32, 32, LR_DEFAULTCOLOR);
        int small = LookupIconIdFromDirectoryEx(dir, TRUE, 16, 16, LR_DEFAULTCOLOR);
        CHECK(big != 0);
        CHECK(small != 0);
        CHECK(big != small);
        // The wizard pages' side picture fills their 88 x 148 unit column at 96 dpi.
        HBITMAP side = (HBITMAP)LoadImageA(module, MAKEINTRESOURCEA(IDB_SIDE), IMAGE_BITMAP, 0, 0, 0);
        REQUIRE(side != NULL);
        BITMAP sideInfo;
        GetObjectA(side, sizeof(sideInfo), &sideInfo);
        CHECK(sideInfo.bmWidth >= 132);
        CHECK(sideInfo.bmHeight >= 240);
        DeleteObject(side);

        CHECK(WindowText(b.wnd) == "Setup");
        CHECK((GetWindowLongA(b.wnd, GWL_STYLE) & WS_OVERLAPPEDWINDOW) == WS_OVERLAPPEDWINDOW);
        CHECK(IsWindowVisible(b.wnd));
        CHECK(IsZoomed(b.wnd));
        WINDOWPLACEMENT place;
        place.length = sizeof(place);
        REQUIRE(GetWindowPlacement(b.wnd, &place));
        CHECK(place.showCmd == SW_SHOWMAXIMIZED);
        CHECK(place.rcNormalPosition.left == 0);
        CHECK(place.rcNormalPosition.top == 0);
        CHECK(place.rcNormalPosition.right == work.right - work.left);
        CHECK(place.rcNormalPosition.bottom == work.bottom - work.top);
        // Maximised, the client area is the work area's width.
        RECT client;
        GetClientRect(b.wnd, &client);
        CHECK(client.right == work.right - work.left);
    }
    {
        Background b("ProductName=Tavimon\n", "/H");
        REQUIRE(b.wnd != NULL);
        CHECK(b.startPosted);
        CHECK(!IsWindowVisible(b.wnd));
        CHECK(!IsZoomed(b.wnd));
        RECT r;
        GetWindowRect(b.wnd, &r);
        CHECK(r.left == 0);
        CHECK(r.top == 0);
        CHECK(r.right == work.right - work.left);
        CHECK(r.bottom == work.bottom - work.top);
    }
}

TEST_CASE("the teal surface, the white title over its black shadow, and the title band's height")
{
    Background b("ProductName=Tavimon Keyboard\n");
    REQUIRE(b.wnd != NULL);
    g_titleBandHeight = 0;
    Capture c = Print(b.wnd);
    REQUIRE(c.width > 600);
    SIZE text = TextSize(TitleFont(), "Tavimon Keyboard Setup");
    CAPTURE(text.cx);
    CAPTURE(text.cy);
    CHECK(c.At(c.width / 2, c.height / 2) == kTeal);
    CHECK(c.At(c.width - 1, 0) == kTeal);
    CHECK(c.At(0, 0) == kTeal);
    CHECK(c.At(c.width - 1, c.height - 1) == kTeal);

    Ink ink = FindInk(c, Band(0, c.height, c.width));
    REQUIRE(ink.whiteCount > 200);
    REQUIRE(ink.blackCount > 200);
    // White from (10, 5), the shadow the same shape 5 pixels right and down.
    CHECK(ink.white.left >= 10);
    CHECK(ink.white.left <= 20);
    CHECK(ink.white.top >= 5);
    CHECK(ink.white.bottom <= 5 + text.cy);
    CHECK(ink.black.left - ink.white.left >= 4);
    CHECK(ink.black.left - ink.white.left <= 6);
    CHECK(ink.black.bottom - ink.white.bottom >= 4);
    CHECK(ink.black.bottom - ink.white.bottom <= 6);
    // The whole title on one line, as wide as the font makes it.
    CHECK(ink.white.right - ink.white.left >= text.cx - 12);
    CHECK(ink.white.right - ink.white.left <= text.cx + 12);
    CHECK(g_titleBandHeight == text.cy + 10 + FrameAndCaption());
}

TEST_CASE("a title wider than the screen breaks at a blank; one without blanks stays one line")
{
    std::string words = "Tavimon Multimedia Keyboard Driver and Utilities for Every Desktop";
    SIZE whole = TextSize(TitleFont(), words + " Setup");
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    REQUIRE(whole.cx + 15 > work.right - work.left);
    {
        Background b("ProductName=x\nSetupTitle=" + words + "\n");
        REQUIRE(b.wnd != NULL);
        Capture c = Print(b.wnd);
        int h = whole.cy;
        Ink first = FindInk(c, Band(0, 5 + h, c.width));
        Ink second = FindInk(c, Band(5 + h, 10 + 2 * h + 5, c.width));
        Ink below = FindInk(c, Band(10 + 2 * h + 5, c.height, c.width));
        CHECK(first.whiteCount > 200);
        CHECK(second.whiteCount > 100);
        CHECK(below.whiteCount == 0);
        CHECK(below.blackCount == 0);
        // Each line fits: no letter reaches the right edge.
        CHECK(first.white.right < c.width - 5);
        CHECK(second.black.right < c.width);
        CHECK(g_titleBandHeight == 2 * h + 10 + FrameAndCaption());
    }
    {
        std::string word;
        for (int i = 0; i < 8; ++i)
            word += "TavimonKeyboard";
        Background b("ProductName=x\nSetupTitle=" + word + "\n");
        REQUIRE(b.wnd != NULL);
        Capture c = Print(b.wnd);
        int h = whole.cy;
        Ink first = FindInk(c, Band(0, 5 + h, c.width));
        Ink rest = FindInk(c, Band(10 + h + 5, c.height, c.width));
        CHECK(first.whiteCount > 200);
        CHECK(first.white.right >= c.width - 30);  // cut by the screen's edge
        CHECK(rest.whiteCount == 0);
        CHECK(rest.blackCount == 0);
        CHECK(g_titleBandHeight == h + 10 + FrameAndCaption());
    }
}

TEST_CASE("the picture at the top right in its palette's colours: 256 colours, 16 colours, 4 planes, cut short")
{
    struct {
        const char* name;
        Bytes file;
        int width, height;
        bool shown;
        int cutRow;  // rows from here down were not in the file (colour 0)
    } cases[] = {
        { "256 colours", Quadrants256(40, 24), 40, 24, true, 24 },
        { "256 colours, taller than the title", Quadrants256(30, 90), 30, 90, true, 90 },
        { "16 colours", Quadrants16(41, 25, 1), 41, 25, true, 25 },
        { "16 colours in 4 planes", Quadrants16(40, 24, 4), 40, 24, false, 0 },
        { "256 colours cut after 10 lines", Bytes(), 40, 24, true, 10 },
        { "not a PCX", Bytes(300, 7), 40, 24, false, 0 },
    };
    {
        // Ten lines of data, then the palette.
        Bytes whole = Quadrants256(40, 24);
        Bytes cut(whole.begin(), whole.begin() + 128);
        for (int y = 0; y < 10; ++y) {
            Bytes row(40);
            for (int x = 0; x < 40; ++x)
                row[(size_t)x] = (unsigned char)Quadrant(x, y, 40, 24);
            Bytes encoded = RunLength(row);
            cut.insert(cut.end(), encoded.begin(), encoded.end());
        }
        cut.insert(cut.end(), whole.end() - 769, whole.end());
        cases[4].file = cut;
    }
    SIZE text = TextSize(TitleFont(), "Tavimon Setup");
    for (const auto& t : cases) {
        std::string name = t.name;
        CAPTURE(name);
        std::string dir = MakeTempDir("pcx");
        std::string logo = dir + "\\logo.pcx";
        REQUIRE(WriteBytes(logo, t.file));
        Background b("ProductName=Tavimon\n" + LogoLine(logo));
        REQUIRE(b.wnd != NULL);
        Capture c = Print(b.wnd);
        int left = c.width - t.width;
        if (!t.shown) {
            CHECK(c.At(c.width - 1, 0) == kTeal);
            CHECK(c.At(c.width - t.width / 2, t.height / 2) == kTeal);
            CHECK(g_titleBandHeight == text.cy + 10 + FrameAndCaption());
            RemoveTree(dir);
            continue;
        }
        CHECK(c.At(left - 1, 0) == kTeal);
        CHECK(c.At(c.width - 1, t.height) == kTeal);
        int wrong = 0;
        for (int y = 0; y < t.height; ++y) {
            for (int x = 0; x < t.width; ++x) {
                int index = y < t.cutRow ? Quadrant(x, y, t.width, t.height) : 0;
                if (!(c.At(left + x, y) == kQuadrantColours[(size_t)index])) {
                    if (wrong++ == 0)
                        MESSAGE("first wrong pixel " << x << "," << y << " " << toString(c.At(left + x, y)));
                }
            }
        }
        CHECK(wrong == 0);
        CHECK(c.At(left, 0) == kQuadrantColours[1]);
        CHECK(c.At(c.width - 1, 0) == kQuadrantColours[2]);
        int band = t.height > text.cy + 10 ? t.height : text.cy + 10;
        CHECK(g_titleBandHeight == band + FrameAndCaption());
        RemoveTree(dir);
    }
}

TEST_CASE("under the Japanese locale the title takes the caption font")
{
    DWORD typeBefore = 0, typeAfter = 0;
    std::string before, after;
    bool had = ReadValue(HKEY_CURRENT_USER, kLocaleKey, "Locale", &typeBefore, &before);
    {
        UserLocale locale;
        std::string title = "Tavimon Keyboard Setup";
        SIZE times = TextSize(TitleFont(), title);
        SIZE caption = TextSize(CaptionFont(), title);
        CAPTURE(times.cx);
        CAPTURE(caption.cx);
        // Only fonts of different widths tell which one painted.
        REQUIRE(abs(times.cx - caption.cx) > 30);
        int widths[2];
        const char* locales[] = { "00000409", "00000411" };
        for (int i = 0; i < 2; ++i) {
            locale.Set(locales[i]);
            Background b("ProductName=Tavimon Keyboard\n");
            REQUIRE(b.wnd != NULL);
            Capture c = Print(b.wnd);
            Ink ink = FindInk(c, Band(0, 5 + 60, c.width));
            widths[i] = ink.white.right - ink.white.left;
        }
        CAPTURE(widths[0]);
        CAPTURE(widths[1]);
        CHECK(abs(widths[0] - times.cx) < 15);
        CHECK(abs(widths[1] - caption.cx) < 15);
    }
    // The user's locale is left as it was found.
    CHECK(ReadValue(HKEY_CURRENT_USER, kLocaleKey, "Locale", &typeAfter, &after) == had);
    CHECK(typeAfter == typeBefore);
    CHECK(after == before);
}

namespace {

// How many more GDI objects this process can make: GetGuiResources is a stub in Wine,
// but a leak still eats into the handle table.
int GdiRoom()
{
    std::vector<HBRUSH> made;
    for (int i = 0; i < 200000; ++i) {
        HBRUSH b = CreateSolidBrush(RGB(i & 255, 0, 0));
        if (!b)
            break;
        made.push_back(b);
    }
    for (HBRUSH b : made)
        DeleteObject(b);
    return (int)made.size();
}

} // namespace

TEST_CASE("every GDI object is released: pictures good and bad, reloads, paints, the Japanese font")
{
    std::string dir = MakeTempDir("pcxleak");
    std::string good = dir + "\\good.pcx", planes = dir + "\\planes.pcx", junk = dir + "\\junk.pcx";
    REQUIRE(WriteBytes(good, Quadrants256(40, 24)));
    REQUIRE(WriteBytes(planes, Quadrants16(40, 24, 4)));
    REQUIRE(WriteBytes(junk, Bytes(1000, 10)));
    UserLocale locale;
    auto lifecycle = [&](int round) {
        locale.Set(round % 2 ? "00000411" : "00000409");
        const std::string& logo = round % 3 == 0 ? good : round % 3 == 1 ? planes : junk;
        Background b("ProductName=Tavimon\n" + LogoLine(logo));
        if (!b.wnd)
            return false;
        Print(b.wnd);
        InvalidateRect(b.wnd, NULL, TRUE);
        UpdateWindow(b.wnd);
        SendMessageA(b.wnd, WM_DISPLAYCHANGE, 32, 0);
        SendMessageA(b.wnd, WM_QUERYNEWPALETTE, 0, 0);
        SendMessageA(b.wnd, WM_PALETTECHANGED, (WPARAM)GetDesktopWindow(), 0);
        SendMessageA(b.wnd, WM_SETTINGCHANGE, 0, 0);
        Print(b.wnd);
        return true;
    };
    REQUIRE(lifecycle(0));  // whatever the system makes once and keeps
    REQUIRE(lifecycle(1));
    int before = GdiRoom();
    REQUIRE(before > 1000);
    for (int round = 0; round < 30; ++round)
        REQUIRE(lifecycle(round));
    int after = GdiRoom();
    CHECK(after == before);
    RemoveTree(dir);
}

TEST_CASE("palette, session and change messages; destroy ends the loop with 0")
{
    std::string dir = MakeTempDir("pcxmsg");
    std::string logo = dir + "\\logo.pcx";
    REQUIRE(WriteBytes(logo, Quadrants256(40, 24)));
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    for (bool withPicture : { true, false }) {
        CAPTURE(withPicture);
        Background b("ProductName=Tavimon\n" + (withPicture ? LogoLine(logo) : std::string()));
        REQUIRE(b.wnd != NULL);
        HWND other = GetDesktopWindow();
        CHECK(SendMessageA(b.wnd, WM_QUERYNEWPALETTE, 0, 0) == TRUE);
        CHECK(SendMessageA(b.wnd, WM_PALETTECHANGED, (WPARAM)other, 0) == TRUE);
        CHECK(SendMessageA(b.wnd, WM_PALETTECHANGED, (WPARAM)b.wnd, 0) == TRUE);
        CHECK(SendMessageA(b.wnd, WM_QUERYENDSESSION, 0, 0) == TRUE);

        // A setting change puts the size back, not the place; the picture follows the edge.
        ShowWindow(b.wnd, SW_RESTORE);
        MoveWindow(b.wnd, 40, 30, 500, 300, TRUE);
        SendMessageA(b.wnd, WM_SETTINGCHANGE, 0, 0);
        RECT r;
        GetWindowRect(b.wnd, &r);
        CHECK(r.left == 40);
        CHECK(r.top == 30);
        CHECK(r.right - r.left == work.right - work.left);
        CHECK(r.bottom - r.top == work.bottom - work.top);
        Capture c = Print(b.wnd);
        CHECK(c.At(c.width - 1, 0) == (withPicture ? kQuadrantColours[2] : kTeal));
        CHECK(c.At(c.width - 41, 0) == kTeal);

        // A display change reloads the picture there is, and moves the window back.
        REQUIRE(WriteBytes(logo, Quadrants16(60, 20, 1)));
        MoveWindow(b.wnd, 40, 30, 500, 300, TRUE);
        SendMessageA(b.wnd, WM_DISPLAYCHANGE, 32, MAKELPARAM(work.right, work.bottom));
        GetWindowRect(b.wnd, &r);
        c = Print(b.wnd);
        if (withPicture) {
            CHECK(r.left == 0);
            CHECK(r.top == 0);
            CHECK(r.right == work.right - work.left);
            CHECK(c.At(c.width - 60, 0) == kQuadrantColours[1]);
            CHECK(c.At(c.width - 61, 0) == kTeal);
            CHECK(c.At(c.width - 1, 19) == kQuadrantColours[4]);
        } else {
            // Without a picture a display change does nothing.
            CHECK(r.left == 40);
            CHECK(c.At(c.width - 1, 0) == kTeal);
        }
        REQUIRE(WriteBytes(logo, Quadrants256(40, 24)));

        DestroyWindow(b.wnd);
        MSG msg;
        CHECK(PeekMessageA(&msg, NULL, WM_QUIT, WM_QUIT, PM_REMOVE));
        CHECK(msg.message == WM_QUIT);
        CHECK(msg.wParam == 0);
    }
    RemoveTree(dir);
}

namespace {

std::string SetupExe()
{
    char path[MAX_PATH];
    if (!SearchPathA(NULL, "setup.exe", NULL, sizeof(path), path, NULL))
        return "";
    return path;
}

// A copy of setup.exe in `dir`, named after the mode and started there, with the net
// command's stand-in beside it.
struct SetupCopy {
    std::string dir, name, log;
    PROCESS_INFORMATION process;
    bool started = false;
    SetupCopy(const std::string& folder, const char* mode, const char* args, const char* holdEvent = NULL) : dir(folder)
    {
        ZeroMemory(&process, sizeof(process));
        name = std::string("setup-") + mode + "-" + std::to_string(GetCurrentProcessId()) + ".exe";
        log = dir + "\\net.log";
        if (!CopyFileA(SetupExe().c_str(), (dir + "\\" + name).c_str(), FALSE) ||
            !CopyFileA(SimProgram("netcmd.exe").c_str(), (dir + "\\net.exe").c_str(), FALSE) ||
            !SetProgramMode(name, mode))
            return;
        SetEnvironmentVariableA("QV_SIM_LOG", log.c_str());
        SetEnvironmentVariableA("QV_NET_HOLD", holdEvent);
        STARTUPINFOA startup;
        ZeroMemory(&startup, sizeof(startup));
        startup.cb = sizeof(startup);
        std::string line = "\"" + dir + "\\" + name + "\" " + args;
        std::vector<char> text(line.begin(), line.end());
        text.push_back('\0');
        // Started in its folder, where a relative picture name is looked for.
        started = CreateProcessA(NULL, text.data(), NULL, NULL, FALSE, 0, NULL, dir.c_str(), &startup, &process) !=
                  FALSE;
        SetEnvironmentVariableA("QV_SIM_LOG", NULL);
        SetEnvironmentVariableA("QV_NET_HOLD", NULL);
    }
    DWORD Finish(DWORD timeoutMs)
    {
        DWORD code = kNoExit;
        if (!started)
            return code;
        if (WaitForSingleObject(process.hProcess, timeoutMs) == WAIT_OBJECT_0)
            GetExitCodeProcess(process.hProcess, &code);
        else
            TerminateProcess(process.hProcess, kNoExit);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        started = false;
        return code;
    }
    ~SetupCopy()
    {
        Finish(0);
        DeleteTree(HKEY_CURRENT_USER, ("Software\\Wine\\AppDefaults\\" + name).c_str());
    }
};

const char kAllScripts[] = "[Setup]\nProductName=Tavimon\nBkgLogo=logo.pcx\n";

std::string MakeScriptDir(const char* tag)
{
    std::string dir = MakeSetupDir(tag);
    for (const char* script : { "SETUP95.INI", "SETUP98.INI", "SETUPNT.INI", "SETUP2K.INI" })
        WriteScript(dir + "\\" + script, kAllScripts);
    CopyFileA((DirOf(SelfPath()) + "\\setup-logo.pcx").c_str(), (dir + "\\logo.pcx").c_str(), FALSE);
    return dir;
}

// What the screen shows in `r`, through the screen's device context.
Capture Screen(RECT r)
{
    Capture c;
    if (!ScreenPixels(r, &c.width, &c.height, &c.pixels))
        return Capture();
    return c;
}

} // namespace

TEST_CASE("after the wizard: net start hkport on NT 5 and later, not on NT 4 or the 95 family; exit code 0")
{
    REQUIRE(SetupExe() != "");
    struct {
        const char* mode;
        bool net;
    } cases[] = { { "win95", false }, { "win98", false }, { "nt40", false }, { "win2k", true }, { "winxp", true } };
    for (const auto& c : cases) {
        CAPTURE(c.mode);
        std::string dir = MakeScriptDir("net");
        // Silent and without a restart, so a wizard goes through by itself.
        SetupCopy run(dir, c.mode, "/S /NR /H");
        REQUIRE(run.started);
        CHECK(run.Finish(120000) == 0);
        CHECK(ReadTextFile(run.log) == (c.net ? "net start hkport\r\n" : ""));
        RemoveTree(dir);
    }
}

TEST_CASE("setup.exe shows the background window with its title and the script's picture")
{
    REQUIRE(SetupExe() != "");
    std::string dir = MakeScriptDir("show");
    std::string holdName = "qv-net-hold-" + std::to_string(GetCurrentProcessId());
    HANDLE hold = CreateEventA(NULL, TRUE, FALSE, holdName.c_str());
    REQUIRE(hold != NULL);
    // The stand-in holds setup in "net start" after the wizard, with the window still up.
    SetupCopy run(dir, "win2k", "/S /NR", holdName.c_str());
    REQUIRE(run.started);
    CHECK(WaitForText(run.log, "net start hkport", 120000));
    // Still held there: WinExec waits for the command to go idle, which it never does.
    CHECK(WaitForSingleObject(run.process.hProcess, 2000) == WAIT_TIMEOUT);
    HWND wnd = FindWindowA(SETUP_BACKGROUND_CLASS, "Setup");
    REQUIRE(wnd != NULL);
    CHECK(WindowProcess(wnd) == run.process.dwProcessId);
    CHECK(IsWindowVisible(wnd));
    CHECK(IsZoomed(wnd));

    RECT client;
    GetClientRect(wnd, &client);
    POINT origin = { 0, 0 };
    ClientToScreen(wnd, &origin);
    RECT top = { 0, 0, GetSystemMetrics(SM_CXSCREEN), origin.y + 120 };
    Capture c = Screen(top);
    REQUIRE(c.width > 400);
    // Right of the frame's edge, which the screen may show in black.
    RECT title = { 8, origin.y, 400, origin.y + 60 };
    Ink ink = FindInk(c, title);
    CHECK(ink.whiteCount > 200);
    CHECK(ink.blackCount > 200);
    CHECK(c.At(c.width / 2, origin.y + 100) == kTeal);

    // The sample logo, pixel for pixel at the top right. Without a window manager Wine
    // shows a maximised window a few pixels off its Win32 place, so the logo is looked for
    // near where it belongs, and compared where the screen shows it.
    std::string data = ReadTextFile(dir + "\\logo.pcx");
    PcxImage logo;
    REQUIRE(PcxDecode((const unsigned char*)data.data(), data.size(), &logo));
    int expectedX = origin.x + client.right - logo.width, expectedY = origin.y;
    // The client area's last column the screen shows: teal below the band.
    int visibleRight = c.width;
    while (visibleRight > 0 && !(c.At(visibleRight - 1, origin.y + 100) == kTeal))
        --visibleRight;
    int best = -1, bestDx = 0, bestDy = 0, compared = 0;
    for (int dy = -8; dy <= 8; ++dy) {
        for (int dx = -8; dx <= 8; ++dx) {
            int wrong = 0, seen = 0;
            for (int y = 0; y < logo.height; ++y) {
                const unsigned char* row = logo.pixels + (size_t)(logo.height - 1 - y) * logo.rowBytes;
                for (int x = 0; x < logo.width; ++x) {
                    int sx = expectedX + dx + x, sy = expectedY + dy + y;
                    if (sx < 0 || sy < 0 || sx >= visibleRight || sy >= c.height)
                        continue;
                    const unsigned char* p = logo.palette + row[x] * 3;
                    ++seen;
                    wrong += !(c.At(sx, sy) == Rgb{ p[0], p[1], p[2] });
                }
            }
            if (best < 0 || wrong < best) {
                best = wrong;
                bestDx = dx;
                bestDy = dy;
                compared = seen;
            }
        }
    }
    PcxFree(&logo);
    CAPTURE(bestDx);
    CAPTURE(bestDy);
    CHECK(best == 0);
    CHECK(compared > logo.width * logo.height * 9 / 10);
    MESSAGE("the logo is shown " << bestDx << "," << bestDy << " pixels off the window's place; the screen shows "
            "the client area up to x " << visibleRight);

    SetEvent(hold);
    CHECK(run.Finish(60000) == 0);
    CHECK(!IsWindow(wnd));
    CloseHandle(hold);
    RemoveTree(dir);
}

namespace {

struct DialogSearch {
    DWORD process;
    HWND sheet, confirm;
};

BOOL CALLBACK FindDialogs(HWND wnd, LPARAM param)
{
    DialogSearch* s = (DialogSearch*)param;
    char name[32];
    if (WindowProcess(wnd) != s->process || !GetClassNameA(wnd, name, sizeof(name)) || lstrcmpA(name, "#32770") != 0)
        return TRUE;
    // The exit confirmation has its two texts; the wizard frame is the other dialog.
    if (GetDlgItem(wnd, 1032) && GetDlgItem(wnd, 1033))
        s->confirm = wnd;
    else if (IsWindowVisible(wnd))
        s->sheet = wnd;
    return TRUE;
}

} // namespace

TEST_CASE("leaving the wizard by Exit Setup still runs net start hkport on NT 5 and later")
{
    REQUIRE(SetupExe() != "");
    for (const char* mode : { "winxp", "nt40" }) {
        CAPTURE(mode);
        std::string dir = MakeScriptDir("exit");
        SetupCopy run(dir, mode, "");
        REQUIRE(run.started);
        // Whatever wizard shows: Cancel on it, then "Exit Setup" in the confirmation.
        bool cancelled = false;
        DWORD start = GetTickCount();
        while (WaitForSingleObject(run.process.hProcess, 50) == WAIT_TIMEOUT && GetTickCount() - start < 60000) {
            DialogSearch s = { run.process.dwProcessId, NULL, NULL };
            EnumWindows(FindDialogs, (LPARAM)&s);
            if (s.confirm)
                PostMessageA(s.confirm, WM_COMMAND, IDCANCEL, 0);
            else if (s.sheet && !cancelled)
                cancelled = PostMessageA(s.sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0) != FALSE;
        }
        CHECK(run.Finish(1000) == 0);
        CHECK(ReadTextFile(run.log) == (std::string(mode) == "winxp" ? "net start hkport\r\n" : ""));
        RemoveTree(dir);
    }
}
