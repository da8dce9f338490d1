// The display window under Wine: its shape (GetWindowRgn + GetRegionData) against the
// geometry of a 1024 x 768 and a 1280 x 1024 screen, the hide timer, keep-showing,
// re-creation, display changes, and bad text input. Runs once per screen size.
#include <doctest/doctest.h>

#include "QVOSD.h"
#include "QVUtil.h"
#include "profile.h"
#include "regions.h"
#include "wintest.h"

#include <string.h>

#include <string>

using namespace qvtest;

namespace {

// The literal geometry of each screen the tests run on.
struct Screen {
    int width, height;
    int speakerLeft, speakerTop, speakerWidth, speakerHeight;
    int firstBar, pitch24, pitch32, barTop, barWidth, barHeight;
    RECT muteRect; // (0, 0, W - 40, H - 40) after the rewrite
};

const Screen kScreens[] = {
    {1024, 768, 40, 658, 60, 60, 124, 35, 26, 658, 12, 60, {0, 0, 984, 728}},
    {1280, 1024, 50, 888, 75, 80, 155, 43, 32, 888, 15, 80, {0, 0, 1230, 971}},
};

const Screen& ThisScreen()
{
    int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    for (const Screen& s : kScreens)
        if (s.width == w && s.height == h)
            return s;
    FAIL("unexpected screen " << w << "x" << h);
    return kScreens[0];
}

// An initialised display over a fresh profile; `setup` writes settings before OSD_Init.
struct Display {
    TestProfile profile;
    explicit Display(DWORD durationMs = 5000, bool enabled = true)
    {
        std::string osd = profile.User("OSD");
        WriteDword(HKEY_CURRENT_USER, osd.c_str(), "Duration", durationMs);
        WriteDword(HKEY_CURRENT_USER, osd.c_str(), "Enabled", enabled ? 1 : 0);
        REQUIRE(OSD_Init() == 1);
    }
    ~Display()
    {
        OSD_KeepShowing(0);
        OSD_Destroy();
    }
    HWND Window() const { return FindWindowA("QV_OSD_WNDCLASS", "QV_OSD_WND"); }
};

HBITMAP Picture(int id)
{
    return LoadBitmapA(GetModuleHandleA("QVOSD.dll"), MAKEINTRESOURCEA(id));
}

HRGN PictureRegion(int id, int left, int top, int width, int height)
{
    HBITMAP picture = Picture(id);
    REQUIRE(picture != NULL);
    HRGN region = PixelRegionFromBitmap(picture, left, top, 60, 60, width, height);
    DeleteObject(picture);
    return region;
}

void AddRect(HRGN region, int left, int top, int right, int bottom)
{
    HRGN r = CreateRectRgn(left, top, right, bottom);
    CombineRgn(region, region, r, RGN_OR);
    DeleteObject(r);
}

// The volume shape of `bars` bars with the first `lit` of them full.
HRGN ExpectedVolume(const Screen& s, int bars, int pitch, int lit)
{
    HRGN expected = PictureRegion(101, s.speakerLeft, s.speakerTop, s.speakerWidth, s.speakerHeight);
    int base = s.barTop + s.barHeight;
    for (int i = 0; i < bars; ++i) {
        int x = s.firstBar + pitch * i;
        AddRect(expected, x, i < lit ? s.barTop : base - s.barWidth, x + s.barWidth, base);
    }
    return expected;
}

void CheckShape(HWND window, HRGN expected)
{
    HRGN actual = WindowRegion(window);
    REQUIRE(actual != NULL);
    INFO("window: " << Describe(actual) << "; expected: " << Describe(expected));
    CHECK(EqualRgn(actual, expected));
    DeleteObject(actual);
    DeleteObject(expected);
}

int TextHeight(const char* text)
{
    // The display's default font for this screen: "Helvetica", -64 scaled to the height.
    LOGFONTA font = {};
    font.lfHeight = -64 * GetSystemMetrics(SM_CYSCREEN) / 768;
    font.lfWeight = 400;
    lstrcpyA(font.lfFaceName, "Helvetica");
    HFONT handle = CreateFontIndirectA(&font);
    HDC dc = CreateCompatibleDC(NULL);
    HGDIOBJ old = SelectObject(dc, handle);
    SIZE size = {0, 0};
    GetTextExtentPoint32A(dc, text, lstrlenA(text), &size);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(handle);
    return size.cy;
}

bool Visible(HWND window)
{
    return IsWindowVisible(window) != FALSE;
}

// Pumps until the window is hidden; false after `ms`.
bool HiddenWithin(HWND window, DWORD ms)
{
    DWORD end = GetTickCount() + ms;
    while (Visible(window)) {
        if ((LONG)(end - GetTickCount()) <= 0)
            return false;
        PumpFor(20);
    }
    return true;
}

} // namespace

TEST_CASE("the display window is a hidden top-level tool popup over the whole screen")
{
    Display display;
    HWND window = display.Window();
    REQUIRE(window != NULL);
    CHECK_FALSE(Visible(window));
    CHECK((GetWindowLongA(window, GWL_STYLE) & WS_POPUP) != 0);
    CHECK((GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0);
    RECT r;
    GetWindowRect(window, &r);
    CHECK(r.left == 0);
    CHECK(r.top == 0);
    CHECK(r.right == GetSystemMetrics(SM_CXSCREEN));
    CHECK(r.bottom == GetSystemMetrics(SM_CYSCREEN));
}

TEST_CASE("volume 0x8000 of 24 bars: speaker, 13 full bars and 11 squares on the base line")
{
    const Screen& s = ThisScreen();
    Display display;
    CHECK(OSD_ShowVolume(0x8000, 24) != 0);
    HWND window = display.Window();
    CHECK(Visible(window));
    CHECK((GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0);
    // Shown without activation. Other tests share this desktop and may take the foreground
    // meanwhile, so the check is that the display did not.
    CHECK(GetForegroundWindow() != window);
    CHECK(GetActiveWindow() != window);
    CheckShape(window, ExpectedVolume(s, 24, s.pitch24, 13));
}

TEST_CASE("level 0 lights no bar, 0xFFFF lights all, and 0 bars means 32")
{
    const Screen& s = ThisScreen();
    Display display;
    OSD_ShowVolume(0, 24);
    CheckShape(display.Window(), ExpectedVolume(s, 24, s.pitch24, 0));
    OSD_ShowVolume(0xFFFF, 24);
    CheckShape(display.Window(), ExpectedVolume(s, 24, s.pitch24, 24));
    OSD_ShowVolume(0xFFFF, 0);
    CheckShape(display.Window(), ExpectedVolume(s, 32, s.pitch32, 32));
    // One unit above a threshold lights that bar: 2 * (0xFFFF / 24) = 5460.
    OSD_ShowVolume(5461, 24);
    CheckShape(display.Window(), ExpectedVolume(s, 24, s.pitch24, 3));
}

TEST_CASE("a bar count too large for the screen stacks the bars without stalling")
{
    const Screen& s = ThisScreen();
    Display display;
    CHECK(OSD_ShowVolume(0xFFFF, 0xFFFFFFFFu) != 0);
    CheckShape(display.Window(), ExpectedVolume(s, 1, 0, 1));
    OSD_ShowVolume(0, 0xFFFFFFFFu);
    CheckShape(display.Window(), ExpectedVolume(s, 1, 0, 0));
}

TEST_CASE("the text rectangle's right and bottom are rewritten from reference units")
{
    const Screen& s = ThisScreen();
    Display display;
    RECT r = {0, 0, s.width - 40, s.height - 40};
    CHECK(OSD_ShowString("Volume", &r, DT_RIGHT | DT_BOTTOM | DT_SINGLELINE) != 0);
    CHECK(r.left == s.muteRect.left);
    CHECK(r.top == s.muteRect.top);
    CHECK(r.right == s.muteRect.right);
    CHECK(r.bottom == s.muteRect.bottom);
    // Right-aligned on the bottom line of that rectangle.
    HRGN shape = WindowRegion(display.Window());
    RECT box = RegionBox(shape);
    INFO(Describe(shape));
    CHECK(box.right <= r.right);
    CHECK(box.right > r.right - 12);
    CHECK(box.bottom <= r.bottom);
    CHECK(box.top >= r.bottom - TextHeight("Volume"));
    DeleteObject(shape);
}

TEST_CASE("the mute indication shows its text with the crossed-out or plain speaker to the right")
{
    const Screen& s = ThisScreen();
    Display display;
    const int right = s.muteRect.right, bottom = s.muteRect.bottom;
    const int gap = 12 * s.width / 1024;
    const struct { int muted; int picture; const char* text; } cases[] = {
        {1, 102, "Mute On"}, {0, 101, "Mute Off"}};
    for (const auto& c : cases) {
        CAPTURE(c.muted);
        CHECK(OSD_ShowMuteIcon(c.muted) != 0);
        HRGN shape = WindowRegion(display.Window());
        REQUIRE(shape != NULL);
        int h = TextHeight(c.text);
        int top = bottom + (h - s.speakerHeight) / 2 - h;
        HRGN picture = RegionPart(shape, right - s.speakerWidth, 0, right, s.height);
        HRGN expected = PictureRegion(c.picture, right - s.speakerWidth, top, s.speakerWidth, s.speakerHeight);
        INFO("picture: " << Describe(picture) << "; expected: " << Describe(expected));
        CHECK(EqualRgn(picture, expected));
        HRGN text = RegionPart(shape, 0, 0, right - s.speakerWidth, s.height);
        RECT box = RegionBox(text);
        INFO("text: " << Describe(text));
        CHECK_FALSE(RegionEmpty(text));
        CHECK(box.right <= right - s.speakerWidth - gap);
        CHECK(box.right > right - s.speakerWidth - gap - 12);
        CHECK(box.top >= bottom - h);
        CHECK(box.bottom <= bottom);
        DeleteObject(text);
        DeleteObject(expected);
        DeleteObject(picture);
        DeleteObject(shape);
    }
}

TEST_CASE("a text too wide for the space is cut to it and drawn from the left margin")
{
    const Screen& s = ThisScreen();
    Display display;
    std::string text(10000, 'W');
    RECT r = {0, 0, s.width - 40, s.height - 40};
    CHECK(OSD_ShowString(text.c_str(), &r, DT_RIGHT | DT_BOTTOM | DT_SINGLELINE) != 0);
    HRGN shape = WindowRegion(display.Window());
    RECT box = RegionBox(shape);
    INFO(Describe(shape));
    int margin = 40 * s.width / 1024;
    CHECK(box.left >= margin);
    CHECK(box.left < margin + 12);
    CHECK(box.right <= r.right);
    CHECK(box.top >= r.bottom - TextHeight("W"));
    CHECK(box.bottom <= r.bottom);
    DeleteObject(shape);
}

TEST_CASE("a null or empty text shows an empty shape; a null rectangle takes the desktop")
{
    Display display;
    CHECK(OSD_ShowString(NULL, NULL, DT_RIGHT | DT_BOTTOM | DT_SINGLELINE) != 0);
    HRGN shape = WindowRegion(display.Window());
    CHECK(RegionEmpty(shape));
    DeleteObject(shape);
    RECT r = {0, 0, 500, 500};
    CHECK(OSD_ShowString("", &r, DT_RIGHT | DT_BOTTOM | DT_SINGLELINE) != 0);
    shape = WindowRegion(display.Window());
    CHECK(RegionEmpty(shape));
    DeleteObject(shape);

    CHECK(OSD_ShowString("Desk", NULL, DT_RIGHT | DT_BOTTOM | DT_SINGLELINE) != 0);
    shape = WindowRegion(display.Window());
    RECT box = RegionBox(shape);
    INFO(Describe(shape));
    CHECK(box.right <= GetSystemMetrics(SM_CXSCREEN));
    CHECK(box.right > GetSystemMetrics(SM_CXSCREEN) - 12);
    CHECK(box.bottom <= GetSystemMetrics(SM_CYSCREEN));
    CHECK(box.bottom > GetSystemMetrics(SM_CYSCREEN) - TextHeight("Desk"));
    DeleteObject(shape);
}

TEST_CASE("degenerate and wild rectangles show nothing sensible but never fault")
{
    const Screen& s = ThisScreen();
    Display display;
    RECT narrow = {0, 0, 30, s.height - 40}; // right < 40: no room right of the margin
    CHECK(OSD_ShowString("Narrow", &narrow, DT_RIGHT | DT_BOTTOM | DT_SINGLELINE) != 0);
    HRGN shape = WindowRegion(display.Window());
    CHECK(RegionEmpty(shape));
    DeleteObject(shape);
    RECT negative = {0, 0, -5000, -5000};
    CHECK(OSD_ShowString("Negative", &negative, DT_RIGHT | DT_BOTTOM | DT_SINGLELINE) != 0);
    shape = WindowRegion(display.Window());
    CHECK(RegionEmpty(shape));
    DeleteObject(shape);
    RECT huge = {0, 0, 0x7FFFFFFF, 0x7FFFFFFF};
    CHECK(OSD_ShowString("Huge", &huge, DT_RIGHT | DT_BOTTOM | DT_SINGLELINE) != 0);
    CHECK(Visible(display.Window()));
    // Text placed beyond the screen leaves no shape at all, not one off the screen.
    RECT beyond = {0, 0, 5000, 5000};
    CHECK(OSD_ShowString("Beyond", &beyond, DT_RIGHT | DT_BOTTOM | DT_SINGLELINE) != 0);
    shape = WindowRegion(display.Window());
    INFO(Describe(shape));
    CHECK(RegionEmpty(shape));
    DeleteObject(shape);
}

TEST_CASE("a showing hides itself after the duration; a second show restarts it")
{
    Display display(600);
    HWND window = display.Window();
    OSD_ShowVolume(0x8000, 0);
    CHECK(Visible(window));
    PumpFor(350);
    CHECK(Visible(window));
    OSD_ShowVolume(0x9000, 0);
    PumpFor(400); // 750 ms after the first show, 400 after the second
    CHECK(Visible(window));
    CHECK(HiddenWithin(window, 3000));
}

TEST_CASE("keep-showing holds the display until released, then it times out")
{
    Display display(300);
    HWND window = display.Window();
    OSD_ShowMuteIcon(1);
    CHECK(OSD_KeepShowing(1) != 0); // the running hide timer is killed
    PumpFor(700);
    CHECK(Visible(window));
    CHECK(OSD_KeepShowing(0) != 0); // re-armed
    CHECK(Visible(window));
    CHECK(HiddenWithin(window, 3000));
    // Set before a text show, keep-showing arms no timer at all.
    OSD_KeepShowing(1);
    OSD_ShowString("Held", NULL, DT_RIGHT | DT_BOTTOM | DT_SINGLELINE);
    PumpFor(700);
    CHECK(Visible(window));
    OSD_KeepShowing(0);
    CHECK(HiddenWithin(window, 3000));
}

TEST_CASE("with the display disabled nothing is shown and 0 is returned")
{
    Display display(5000, false);
    RECT r = {0, 0, 984, 728};
    CHECK(OSD_ShowVolume(0x8000, 24) == 0);
    CHECK(OSD_ShowMuteIcon(1) == 0);
    CHECK(OSD_ShowString("Off", &r, 42) == 0);
    CHECK(r.right == 984); // untouched
    CHECK_FALSE(Visible(display.Window()));
}

TEST_CASE("a destroyed display window is made again by the next show")
{
    const Screen& s = ThisScreen();
    Display display;
    HWND first = display.Window();
    REQUIRE(first != NULL);
    DestroyWindow(first);
    CHECK(display.Window() == NULL);
    CHECK(OSD_ShowVolume(0xFFFF, 24) != 0);
    HWND second = display.Window();
    REQUIRE(second != NULL);
    CHECK(Visible(second));
    CheckShape(second, ExpectedVolume(s, 24, s.pitch24, 24));
    // Its class still paints the display colour.
    LOGBRUSH brush = {};
    GetObjectA((HBRUSH)GetClassLongPtrA(second, GCLP_HBRBACKGROUND), sizeof(brush), &brush);
    CHECK(brush.lbColor == RGB(0, 255, 0));
}

TEST_CASE("a display change moves the window over the new screen size, top-most")
{
    Display display;
    HWND window = display.Window();
    int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    CHECK(SendMessageA(window, WM_DISPLAYCHANGE, 24, MAKELPARAM(800, 600)) == 0);
    RECT r;
    GetWindowRect(window, &r);
    CHECK(r.right == 800);
    CHECK(r.bottom == 600);
    CHECK((GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0);
    SendMessageA(window, WM_DISPLAYCHANGE, 24, MAKELPARAM(w, h));
    GetWindowRect(window, &r);
    CHECK(r.right == w);
    CHECK(r.bottom == h);
}

TEST_CASE("the font height follows the screen unless the user chose it; a save keeps the stored height")
{
    const Screen& s = ThisScreen();
    // "|" spans about the full character height: 64 pixels scaled to this screen.
    int scaled = 64 * s.height / 768;
    {
        Display display;
        OSD_ShowString("|", NULL, DT_RIGHT | DT_BOTTOM | DT_SINGLELINE);
        HRGN shape = WindowRegion(display.Window());
        RECT box = RegionBox(shape);
        INFO(Describe(shape));
        CHECK(box.bottom - box.top <= scaled);
        CHECK(box.bottom - box.top > scaled * 3 / 4);
        DeleteObject(shape);
        OSD_Destroy();
        int stored = 0;
        CHECK(ReadValue(HKEY_CURRENT_USER, display.profile.User("OSD").c_str(), "Height", NULL, NULL));
        Reg_GetProfileNumber("OSD", "Height", &stored, 0);
        CHECK(stored == -64);
        OSD_Init();
    }
    {
        Display display;
        std::string osd = display.profile.User("OSD");
        WriteDword(HKEY_CURRENT_USER, osd.c_str(), "Height", (DWORD)-40);
        WriteDword(HKEY_CURRENT_USER, osd.c_str(), "UserChanged", 0);
        OSD_LoadSettings();
        OSD_ShowString("|", NULL, DT_RIGHT | DT_BOTTOM | DT_SINGLELINE);
        HRGN shape = WindowRegion(display.Window());
        RECT box = RegionBox(shape);
        INFO(Describe(shape));
        CHECK(box.bottom - box.top <= 40);
        CHECK(box.bottom - box.top > 30);
        DeleteObject(shape);
    }
}
