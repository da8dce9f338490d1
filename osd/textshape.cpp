// A line of text, or the mute indication (text with a speaker picture to its right),
// rendered into a one-bit bitmap whose set pixels become the display window's shape.
#include "QVOSD.h"
#include "geometry.h"
#include "internal.h"
#include "region.h"

namespace {

enum ShapeKind { SHAPE_TEXT = 0, SHAPE_MUTED = 1, SHAPE_SPEAKER = 2 };

const UINT kCutFormat = DT_SINGLELINE | DT_BOTTOM;

void AddRegion(HRGN target, HRGN part)
{
    if (part) {
        CombineRgn(target, target, part, RGN_OR);
        DeleteObject(part);
    }
}

// The speaker picture to the right of the text; returns the width it takes with its gap.
int AddPicture(HRGN shape, int kind, int screenWidth, int screenHeight, int right, int bottom, int textHeight)
{
    int id = kind == SHAPE_MUTED ? IDB_SPEAKER_MUTED : IDB_SPEAKER;
    HBITMAP picture = LoadBitmapA(g_osdInstance, MAKEINTRESOURCEA(id));
    if (!picture)
        return 0;
    BITMAP info;
    int allowance = 0;
    if (GetObjectA(picture, sizeof(info), &info)) {
        int width = ScaleX(screenWidth, info.bmWidth);
        int height = ScaleY(screenHeight, info.bmHeight);
        int top = bottom + (textHeight - height) / 2 - textHeight;
        AddRegion(shape, RegionFromBitmap(picture, right - width, top, info.bmWidth, info.bmHeight, width, height));
        allowance = width + ScaleX(screenWidth, 12);
    }
    DeleteObject(picture);
    return allowance;
}

// Draws the text white on black into a monochrome bitmap and adds the set pixels of the
// text's band to the shape. The bitmap stops at the screen's edge: nothing beyond it can
// show, and a caller's huge rectangle must not cost a huge bitmap.
void AddText(HRGN shape, HDC memory, LPCSTR text, int length, const RECT& work, int margin,
             int allowance, int textWidth, int textHeight, UINT format, int screenWidth, int screenHeight)
{
    const int right = work.right, bottom = work.bottom;
    const int canvasWidth = right < screenWidth ? right : screenWidth;
    const int canvasHeight = bottom < screenHeight ? bottom : screenHeight;
    if (canvasWidth <= 0 || canvasHeight <= 0)
        return;
    HBITMAP canvas = CreateBitmap(canvasWidth, canvasHeight, 1, 1, NULL);
    if (!canvas)
        return;
    HGDIOBJ oldBitmap = SelectObject(memory, canvas);
    SetBkColor(memory, RGB(0, 0, 0));
    SetTextColor(memory, RGB(255, 255, 255));
    FillRect(memory, &work, (HBRUSH)GetStockObject(BLACK_BRUSH));
    RECT target = {margin, 0, right - allowance, bottom};
    if (length > 0 && target.right > target.left)
        DrawTextA(memory, text, length, &target, format);
    SelectObject(memory, oldBitmap);
    // Only the text's band: the rows of the bottom line, from the text's left edge.
    AddRegion(shape, RegionFromSetBits(memory, canvas, canvasWidth, canvasHeight, right - allowance - textWidth,
                                       bottom - textHeight, right, bottom));
    DeleteObject(canvas);
}

int RenderTextShape(LPCSTR text, LPRECT rect, UINT format, int kind)
{
    if (!g_osd.enabled)
        return 0;
    HRGN shape = CreateRectRgn(0, 0, 0, 0);
    if (!shape)
        return 0;
    HWND window = OsdEnsureWindow();
    HDC windowDc = window ? GetDC(window) : NULL;
    if (windowDc) {
        const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
        const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
        if (!text)
            text = "";
        int length = lstrlenA(text);
        HFONT font = CreateFontIndirectA(&g_osd.font);
        HDC memory = CreateCompatibleDC(windowDc);
        if (font && memory) {
            HGDIOBJ oldFont = SelectObject(memory, font);
            RECT work;
            if (rect) {
                int right = rect->right, bottom = rect->bottom;
                RewriteMarginRect(screenWidth, screenHeight, &right, &bottom);
                rect->right = right;
                rect->bottom = bottom;
                work = *rect;
            } else {
                GetClientRect(GetDesktopWindow(), &work);
            }
            SIZE extent = {0, 0};
            GetTextExtentPoint32A(memory, text, length, &extent);
            int allowance = kind == SHAPE_TEXT ? 0 : AddPicture(shape, kind, screenWidth, screenHeight,
                                                                 work.right, work.bottom, extent.cy);
            int margin = ScaleX(screenWidth, 40);
            int textWidth = extent.cx;
            if (textWidth > work.right - margin) {
                textWidth = work.right - margin;
                format = kCutFormat;
            }
            AddText(shape, memory, text, length, work, margin, allowance, textWidth, extent.cy, format,
                    screenWidth, screenHeight);
            SelectObject(memory, oldFont);
        }
        if (memory) DeleteDC(memory);
        if (font) DeleteObject(font);
        ReleaseDC(window, windowDc);
    }
    OsdShowRegion(shape, OSD_SHOW_TEXT);
    return 1;
}

} // namespace

int WINAPI OSD_ShowString(LPCSTR text, LPRECT rect, UINT format)
{
    return RenderTextShape(text, rect, format, SHAPE_TEXT);
}

int WINAPI OSD_ShowMuteIcon(int muted)
{
    int kind = muted ? SHAPE_MUTED : SHAPE_SPEAKER;
    char text[260] = "";
    LoadStringA(g_osdInstance, kind == SHAPE_MUTED ? IDS_MUTE_ON : IDS_MUTE_OFF, text, sizeof(text));
    RECT rect = {0, 0, GetSystemMetrics(SM_CXSCREEN) - 40, GetSystemMetrics(SM_CYSCREEN) - 40};
    return RenderTextShape(text, &rect, DT_RIGHT | DT_BOTTOM | DT_SINGLELINE, kind);
}
