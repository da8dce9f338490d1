// setup.exe's two progress animations in a real animation control: each opens from the
// shipped program's resources, and every frame the control draws matches the stored
// pixels the right way up (Wine opens top-down frames but draws nothing of them).
#include <doctest/doctest.h>

#include "resource.h"
#include "wintest.h"

#include <commctrl.h>

#include <set>
#include <string>
#include <vector>

using namespace qvtest;

namespace {

// An AVI resource read by the test itself: the 8-bit frames and their palette.
struct Avi {
    LONG width = 0, height = 0;
    bool topDown = false;
    const RGBQUAD* palette = NULL;
    std::vector<const BYTE*> frames;
};

DWORD Le32(const BYTE* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | ((DWORD)p[3] << 24); }

// Walks the chunks of [data, end), descending into RIFF and LIST, bounded by every size.
void Walk(const BYTE* data, const BYTE* end, Avi* avi)
{
    while (end - data >= 8) {
        DWORD size = Le32(data + 4);
        const BYTE* body = data + 8;
        if (size > (DWORD)(end - body))
            return;
        if (!memcmp(data, "RIFF", 4) || !memcmp(data, "LIST", 4)) {
            if (size >= 4)
                Walk(body + 4, body + size, avi);
        } else if (!memcmp(data, "strf", 4) && size >= sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD)) {
            const BITMAPINFOHEADER* info = (const BITMAPINFOHEADER*)body;
            if (info->biBitCount == 8 && info->biCompression == BI_RGB) {
                avi->width = info->biWidth;
                avi->topDown = info->biHeight < 0;
                avi->height = avi->topDown ? -info->biHeight : info->biHeight;
                avi->palette = (const RGBQUAD*)(body + info->biSize);
            }
        } else if (!memcmp(data, "00db", 4) && avi->width > 0 && avi->height > 0 &&
                   size == (DWORD)(((avi->width + 3) & ~3) * avi->height)) {
            avi->frames.push_back(body);
        }
        data = body + size + (size & 1);
    }
}

Avi ReadAvi(HMODULE module, int id)
{
    Avi avi;
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), "AVI");
    if (!found)
        return avi;
    const BYTE* data = (const BYTE*)LockResource(LoadResource(module, found));
    if (data)
        Walk(data, data + SizeofResource(module, found), &avi);
    return avi;
}

// What the control shows now, top row first, as 0x00RRGGBB.
std::vector<DWORD> Capture(HWND control, LONG width, LONG height)
{
    std::vector<DWORD> pixels;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = NULL;
    HDC screen = GetDC(control);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    if (bitmap && bits) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
        GdiFlush();
        pixels.assign((const DWORD*)bits, (const DWORD*)bits + width * height);
        for (DWORD& p : pixels)
            p &= 0xFFFFFF;
        SelectObject(memory, old);
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(control, screen);
    return pixels;
}

// Pixels of the capture that differ from the stored frame.
int Mismatches(const Avi& avi, int frame, const std::vector<DWORD>& shown)
{
    if (shown.size() != (size_t)(avi.width * avi.height))
        return avi.width * avi.height;
    LONG stride = (avi.width + 3) & ~3;
    int wrong = 0;
    for (LONG y = 0; y < avi.height; ++y) {
        const BYTE* row = avi.frames[frame] + (avi.topDown ? y : avi.height - 1 - y) * stride;
        for (LONG x = 0; x < avi.width; ++x) {
            RGBQUAD c = avi.palette[row[x]];
            DWORD want = ((DWORD)c.rgbRed << 16) | (c.rgbGreen << 8) | c.rgbBlue;
            wrong += shown[y * avi.width + x] != want;
        }
    }
    return wrong;
}

// Pixels of a capture's box [x0, x1) x [y0, y1) (top row 0) unlike its top-left corner.
int DrawnIn(const std::vector<DWORD>& shown, LONG width, LONG x0, LONG y0, LONG x1, LONG y1)
{
    int count = 0;
    for (LONG y = y0; y < y1; ++y)
        for (LONG x = x0; x < x1; ++x)
            count += shown[y * width + x] != shown[0];
    return count;
}

// The frame of `avi` the capture shows, or -1.
int ShownFrame(const Avi& avi, const std::vector<DWORD>& shown)
{
    for (size_t i = 0; i < avi.frames.size(); ++i)
        if (Mismatches(avi, (int)i, shown) == 0)
            return (int)i;
    return -1;
}

struct Stage {
    HWND window = NULL, control = NULL;
    Stage()
    {
        InitCommonControls();
        window = CreateWindowExA(WS_EX_TOPMOST, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 200, 120, NULL, NULL,
                                 GetModuleHandleA(NULL), NULL);
        // No ACS_CENTER: the control takes the frame's size at its own top-left corner.
        control = CreateWindowExA(0, ANIMATE_CLASSA, NULL, WS_CHILD | WS_VISIBLE, 10, 10, 120, 80, window, NULL,
                                  GetModuleHandleA(NULL), NULL);
        UpdateWindow(window);
        PumpFor(100);
    }
    ~Stage()
    {
        if (window)
            DestroyWindow(window);
    }
};

std::string SetupPath()
{
    char path[MAX_PATH] = "";
    if (!SearchPathA(NULL, "setup.exe", NULL, sizeof(path), path, NULL))
        return "";
    return path;
}

} // namespace

TEST_CASE("each progress animation opens from setup.exe and draws its stored frames the right way up")
{
    std::string path = SetupPath();
    REQUIRE(!path.empty());
    HMODULE setup = LoadLibraryExA(path.c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
    REQUIRE(setup != NULL);
    Stage stage;
    REQUIRE(stage.control != NULL);

    // Per animation, a box of its first frame that is bare and one that is drawn on when the
    // picture stands upright: the folders stand at the bottom; the big gear is low on the left.
    struct {
        int id;
        RECT bare, drawn;
    } cases[] = { { IDR_AVI_COPY, { 0, 0, 80, 12 }, { 0, 38, 80, 50 } },
                  { IDR_AVI_DRIVER, { 0, 0, 30, 12 }, { 0, 38, 30, 50 } } };
    for (const auto& c : cases) {
        int id = c.id;
        CAPTURE(id);
        Avi avi = ReadAvi(setup, id);
        REQUIRE(avi.palette != NULL);
        CHECK_FALSE(avi.topDown);
        // The boxes above are for this size.
        REQUIRE(avi.width == 80);
        REQUIRE(avi.height == 50);
        CHECK(avi.frames.size() >= 12);

        REQUIRE(SendMessageA(stage.control, ACM_OPENA, (WPARAM)setup, (LPARAM)MAKEINTRESOURCEA(id)) != 0);
        RECT box;
        GetClientRect(stage.control, &box);
        CHECK(box.right == avi.width);
        CHECK(box.bottom == avi.height);

        // Every frame, sought one by one, shows exactly its stored pixels.
        for (size_t frame = 0; frame < avi.frames.size(); ++frame) {
            CAPTURE(frame);
            REQUIRE(Animate_Seek(stage.control, frame));
            PumpFor(20);
            std::vector<DWORD> shown = Capture(stage.control, avi.width, avi.height);
            CHECK(Mismatches(avi, (int)frame, shown) == 0);
            if (frame == 0 && shown.size() == (size_t)(avi.width * avi.height)) {
                CHECK(DrawnIn(shown, avi.width, c.bare.left, c.bare.top, c.bare.right, c.bare.bottom) == 0);
                CHECK(DrawnIn(shown, avi.width, c.drawn.left, c.drawn.top, c.drawn.right, c.drawn.bottom) > 50);
            }
        }

        // Played from the first to the last frame, repeating, the control walks through
        // distinct frames: the picture moves.
        REQUIRE(Animate_Play(stage.control, 0, -1, -1));
        std::set<int> seen;
        for (int i = 0; i < 40; ++i) {
            PumpFor(30);
            seen.insert(ShownFrame(avi, Capture(stage.control, avi.width, avi.height)));
        }
        seen.erase(-1);
        CHECK(seen.size() >= 6);
        CHECK(Animate_Stop(stage.control));
        CHECK(Animate_Close(stage.control));
    }
    FreeLibrary(setup);
}

TEST_CASE("an animation id setup.exe does not carry does not open")
{
    std::string path = SetupPath();
    HMODULE setup = LoadLibraryExA(path.c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
    REQUIRE(setup != NULL);
    Stage stage;
    CHECK(SendMessageA(stage.control, ACM_OPENA, (WPARAM)setup, (LPARAM)MAKEINTRESOURCEA(IDR_AVI_DRIVER + 1)) == 0);
    CHECK(SendMessageA(stage.control, ACM_OPENA, (WPARAM)setup, (LPARAM)MAKEINTRESOURCEA(IDR_AVI_COPY)) != 0);
    // Beyond the last frame there is nothing to seek to.
    Avi avi = ReadAvi(setup, IDR_AVI_COPY);
    REQUIRE(!avi.frames.empty());
    CHECK(Animate_Seek(stage.control, avi.frames.size() - 1));
    CHECK_FALSE(Animate_Seek(stage.control, avi.frames.size()));
    FreeLibrary(setup);
}
