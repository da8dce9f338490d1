// The installer's background window: a teal surface under the wizard with the setup title
// at the top left and the script's PCX picture at the top right, kept in its own palette.
// It starts the wizard as soon as it exists and ends the program when the wizard is over.
#include "background.h"

#include "install.h"
#include "pcx.h"
#include "resource.h"
#include "setup.h"
#include "titlelines.h"
#include "wizard.h"

namespace {

const COLORREF kSurface = RGB(0, 128, 128);
const int kTitleHeight = 42;
const int kTitleWeight = 600;
// Every picture the decoder accepts fits; RLE takes at most two bytes a pixel byte.
const DWORD kMaxPictureFile = 2 * PCX_MAX_PIXEL_BYTES + 128 + 768;

struct Background {
    HBITMAP bitmap;
    HPALETTE palette;
    int hasPicture;
    int pictureWidth, pictureHeight, pictureLeft;
    int japanese;
    HFONT captionFont;  // the title font under the Japanese locale, made once
};

Background g_background;

int ClientWidth(HWND wnd)
{
    RECT client;
    if (!GetClientRect(wnd, &client))
        return 0;
    return client.right - client.left;
}

void WorkArea(RECT* work)
{
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, work, 0))
        SetRect(work, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
}

// The whole file on the process heap, or null.
BYTE* ReadWholeFile(const char* path, DWORD* size)
{
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return NULL;
    DWORD high = 0;
    DWORD low = GetFileSize(file, &high);
    BYTE* data = NULL;
    if (low != INVALID_FILE_SIZE && high == 0 && low <= kMaxPictureFile)
        data = (BYTE*)HeapAlloc(GetProcessHeap(), 0, low ? low : 1);
    DWORD got = 0;
    if (data && !(ReadFile(file, data, low, &got, NULL) && got == low)) {
        HeapFree(GetProcessHeap(), 0, data);
        data = NULL;
    }
    CloseHandle(file);
    *size = got;
    return data;
}

HPALETTE MakePalette(const PcxImage& image)
{
    struct {
        WORD version;
        WORD count;
        PALETTEENTRY entries[256];
    } logical;
    logical.version = 0x300;
    logical.count = (WORD)image.colours;
    for (int i = 0; i < image.colours; ++i) {
        logical.entries[i].peRed = image.palette[i * 3];
        logical.entries[i].peGreen = image.palette[i * 3 + 1];
        logical.entries[i].peBlue = image.palette[i * 3 + 2];
        logical.entries[i].peFlags = 0;
    }
    return CreatePalette((LOGPALETTE*)&logical);
}

// The window's palette into its device context; a full repaint when colours changed.
void RealisePalette(HWND wnd)
{
    HDC dc = GetDC(wnd);
    if (!dc)
        return;
    HPALETTE old = SelectPalette(dc, g_background.palette, FALSE);
    UINT changed = RealizePalette(dc);
    if (changed != 0 && changed != GDI_ERROR)
        InvalidateRect(wnd, NULL, TRUE);
    if (old)
        SelectPalette(dc, old, FALSE);
    ReleaseDC(wnd, dc);
}

HBITMAP MakeBitmap(const PcxImage& image)
{
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[256];
    } info;
    ZeroMemory(&info, sizeof(info));
    info.header.biSize = sizeof(info.header);
    info.header.biWidth = image.width;
    info.header.biHeight = image.height;
    info.header.biPlanes = 1;
    info.header.biBitCount = (WORD)image.bitsPerPixel;
    info.header.biCompression = BI_RGB;
    info.header.biXPelsPerMeter = image.xDpi * 39;
    info.header.biYPelsPerMeter = image.yDpi * 39;
    info.header.biClrUsed = (DWORD)image.colours;
    info.header.biClrImportant = (DWORD)image.colours;
    for (int i = 0; i < image.colours; ++i) {
        info.colours[i].rgbRed = image.palette[i * 3];
        info.colours[i].rgbGreen = image.palette[i * 3 + 1];
        info.colours[i].rgbBlue = image.palette[i * 3 + 2];
    }
    HDC screen = GetDC(NULL);
    if (!screen)
        return NULL;
    HBITMAP bitmap = NULL;
    HPALETTE palette = MakePalette(image);
    if (palette) {
        HPALETTE old = SelectPalette(screen, palette, FALSE);
        RealizePalette(screen);
        bitmap = CreateDIBitmap(screen, &info.header, CBM_INIT, image.pixels, (BITMAPINFO*)&info, DIB_RGB_COLORS);
        if (old)
            SelectPalette(screen, old, FALSE);
        DeleteObject(palette);
    }
    ReleaseDC(NULL, screen);
    return bitmap;
}

void FreePicture(void)
{
    if (g_background.bitmap)
        DeleteObject(g_background.bitmap);
    if (g_background.palette)
        DeleteObject(g_background.palette);
    g_background.bitmap = NULL;
    g_background.palette = NULL;
    g_background.hasPicture = 0;
    g_background.pictureWidth = 0;
    g_background.pictureHeight = 0;
}

// Any fault in the file leaves no picture; the window goes on without one.
void LoadPicture(HWND wnd)
{
    FreePicture();
    const char* path = g_setup.bkgLogo;
    DWORD attributes = path[0] ? GetFileAttributesA(path) : INVALID_FILE_ATTRIBUTES;
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return;
    DWORD size = 0;
    BYTE* data = ReadWholeFile(path, &size);
    if (!data)
        return;
    PcxImage image;
    int decoded = PcxDecode(data, size, &image);
    HeapFree(GetProcessHeap(), 0, data);
    if (!decoded)
        return;
    g_background.bitmap = MakeBitmap(image);
    g_background.palette = g_background.bitmap ? MakePalette(image) : NULL;
    if (g_background.bitmap && g_background.palette) {
        g_background.hasPicture = 1;
        g_background.pictureWidth = image.width;
        g_background.pictureHeight = image.height;
        RealisePalette(wnd);
    } else {
        FreePicture();
    }
    PcxFree(&image);
}

// The title is in the system's code page; GDI would read it in the font's (the caption
// font's or Times New Roman's, both Western under some systems), so it is widened first.
int WidenTitle(const char* text, int length, WCHAR* wide, int size)
{
    if (length <= 0)
        return 0;
    return MultiByteToWideChar(CP_ACP, 0, text, length, wide, size);
}

int MeasureText(const char* text, int length, void* context)
{
    WCHAR wide[QV_TEXT_SIZE];
    int count = WidenTitle(text, length, wide, QV_TEXT_SIZE);
    SIZE size;
    if (count <= 0 || !GetTextExtentPoint32W((HDC)context, wide, count, &size))
        return 0;
    return size.cx;
}

void DrawTitleText(HDC dc, int x, int y, const char* text, int length)
{
    WCHAR wide[QV_TEXT_SIZE];
    int count = WidenTitle(text, length, wide, QV_TEXT_SIZE);
    if (count > 0)
        TextOutW(dc, x, y, wide, count);
}

HFONT MakeTitleFont(void)
{
    if (g_background.japanese)
        return g_background.captionFont;
    return CreateFontA(kTitleHeight, 0, 0, 0, kTitleWeight, TRUE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, VARIABLE_PITCH | FF_SWISS, "Times New Roman");
}

void DrawPicture(HDC dc)
{
    HDC memory = CreateCompatibleDC(dc);
    if (!memory)
        return;
    HPALETTE oldPalette = SelectPalette(dc, g_background.palette, TRUE);
    RealizePalette(dc);
    HGDIOBJ oldBitmap = SelectObject(memory, g_background.bitmap);
    POINT size = { g_background.pictureWidth, g_background.pictureHeight };
    DPtoLP(dc, &size, 1);
    BitBlt(dc, g_background.pictureLeft, 0, size.x, size.y, memory, 0, 0, SRCCOPY);
    SelectObject(memory, oldBitmap);
    DeleteDC(memory);
    if (oldPalette)
        SelectPalette(dc, oldPalette, TRUE);
}

void DrawTitle(HWND wnd, HDC dc, HFONT font)
{
    HGDIOBJ oldFont = SelectObject(dc, font);
    const char* title = g_setup.setupTitle;
    TitleLines lines;
    SplitTitle(title, ClientWidth(wnd), MeasureText, dc, &lines);
    TEXTMETRICA metrics;
    int height = GetTextMetricsA(dc, &metrics) ? metrics.tmHeight : kTitleHeight;

    int oldMode = SetBkMode(dc, TRANSPARENT);
    COLORREF oldColour = SetTextColor(dc, RGB(0, 0, 0));
    // The shadow first, then the letters over it.
    const struct {
        COLORREF colour;
        int x, y;
    } passes[] = { { RGB(0, 0, 0), 15, 10 }, { RGB(255, 255, 255), 10, 5 } };
    for (const auto& pass : passes) {
        SetTextColor(dc, pass.colour);
        DrawTitleText(dc, pass.x, pass.y, title, lines.firstLength);
        if (lines.count == 2)
            DrawTitleText(dc, pass.x, pass.y + height, title + lines.secondStart, lines.secondLength);
    }
    SetTextColor(dc, oldColour);
    SetBkMode(dc, oldMode);
    SelectObject(dc, oldFont);

    int band = height * lines.count + 10;
    if (g_background.hasPicture && g_background.pictureHeight > band)
        band = g_background.pictureHeight;
    band += GetSystemMetrics(SM_CYSIZEFRAME) + GetSystemMetrics(SM_CYCAPTION);
    InterlockedExchange((LONG*)&g_titleBandHeight, band);
}

// For WM_PAINT and WM_PRINTCLIENT alike.
void Paint(HWND wnd, HDC dc, const RECT* area)
{
    HBRUSH brush = CreateSolidBrush(kSurface);
    HFONT font = MakeTitleFont();
    if (brush && font) {
        FillRect(dc, area, brush);
        if (g_background.hasPicture)
            DrawPicture(dc);
        DrawTitle(wnd, dc, font);
    }
    if (brush)
        DeleteObject(brush);
    if (font && font != g_background.captionFont)
        DeleteObject(font);
}

void PlaceInWorkArea(HWND wnd, UINT flags)
{
    RECT work;
    WorkArea(&work);
    SetWindowPos(wnd, NULL, work.left, work.top, work.right - work.left, work.bottom - work.top,
                 flags | SWP_NOZORDER | SWP_NOACTIVATE);
}

void OnCreate(HWND wnd)
{
    char locale[QV_TEXT_SIZE];
    SetupReadLocale(locale, sizeof(locale));
    g_background.japanese = lstrcmpiA(locale, "00000411") == 0;
    if (g_background.japanese) {
        NONCLIENTMETRICSA metrics;
        ZeroMemory(&metrics, sizeof(metrics));
        metrics.cbSize = sizeof(metrics);
        if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
            LOGFONTA font = metrics.lfCaptionFont;
            font.lfHeight = kTitleHeight;
            font.lfItalic = TRUE;
            font.lfWeight = kTitleWeight;
            g_background.captionFont = CreateFontIndirectA(&font);
        }
    }
    if (g_setup.bkgLogo[0])
        LoadPicture(wnd);
    // Not yet maximised: the frame still takes its share of the work area's width.
    g_background.pictureLeft =
        ClientWidth(wnd) + 2 * GetSystemMetrics(SM_CXSIZEFRAME) - g_background.pictureWidth;
    PostMessageA(wnd, WM_SETUP_START, 0, 0);
}

void OnStart(HWND wnd)
{
    SetupRunWizard(wnd);
    if (g_setup.isNT5plus)
        SetupStartDriverService();
    // Through WM_CLOSE, so the window is destroyed and not only told it was.
    PostMessageA(wnd, WM_CLOSE, 0, 0);
}

void OnPaint(HWND wnd)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(wnd, &ps);
    if (dc)
        Paint(wnd, dc, &ps.rcPaint);
    EndPaint(wnd, &ps);
}

void OnPrintClient(HWND wnd, HDC dc)
{
    RECT client;
    GetClientRect(wnd, &client);
    Paint(wnd, dc, &client);
}

void OnDisplayChange(HWND wnd)
{
    if (!g_background.hasPicture)
        return;
    LoadPicture(wnd);
    PlaceInWorkArea(wnd, 0);
    g_background.pictureLeft = ClientWidth(wnd) - g_background.pictureWidth;
    InvalidateRect(wnd, NULL, TRUE);
}

void OnSettingChange(HWND wnd)
{
    InvalidateRect(wnd, NULL, TRUE);
    PlaceInWorkArea(wnd, SWP_NOMOVE);
    g_background.pictureLeft = ClientWidth(wnd) - g_background.pictureWidth;
}

void OnPaletteChanged(HWND wnd, HWND changer)
{
    if (changer != wnd && g_background.hasPicture)
        RealisePalette(wnd);
}

void OnQueryNewPalette(HWND wnd)
{
    if (g_background.hasPicture)
        RealisePalette(wnd);
}

void OnDestroy(void)
{
    FreePicture();
    if (g_background.captionFont)
        DeleteObject(g_background.captionFont);
    g_background.captionFont = NULL;
    g_background.japanese = 0;
    PostQuitMessage(0);
}

LRESULT CALLBACK BackgroundProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        OnCreate(wnd);
        return 0;
    case WM_SETUP_START:
        OnStart(wnd);
        return 0;
    case WM_PAINT:
        OnPaint(wnd);
        return 0;
    case WM_PRINTCLIENT:
        OnPrintClient(wnd, (HDC)wParam);
        return 0;
    case WM_DISPLAYCHANGE:
        OnDisplayChange(wnd);
        return 0;
    case WM_SETTINGCHANGE:
        OnSettingChange(wnd);
        return 0;
    case WM_QUERYNEWPALETTE:
        OnQueryNewPalette(wnd);
        return TRUE;
    case WM_PALETTECHANGED:
        OnPaletteChanged(wnd, (HWND)wParam);
        return TRUE;
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_DESTROY:
        OnDestroy();
        return 0;
    }
    return DefWindowProcA(wnd, message, wParam, lParam);
}

} // namespace

ATOM SetupRegisterBackground(HINSTANCE instance)
{
    WNDCLASSA wc;
    ZeroMemory(&wc, sizeof(wc));
    wc.lpfnWndProc = BackgroundProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_SETUP));
    wc.hCursor = LoadCursorA(NULL, (LPCSTR)IDC_ARROW);
    wc.hbrBackground = (HBRUSH)GetStockObject(WHITE_BRUSH);
    wc.lpszClassName = SETUP_BACKGROUND_CLASS;
    return RegisterClassA(&wc);
}

HWND SetupCreateBackground(HINSTANCE instance)
{
    char caption[QV_TEXT_SIZE];
    SetupLoadString(IDS_SETUP, caption, sizeof(caption));
    RECT work;
    WorkArea(&work);
    HWND wnd = CreateWindowExA(0, SETUP_BACKGROUND_CLASS, caption, WS_OVERLAPPEDWINDOW, 0, 0,
                               work.right - work.left, work.bottom - work.top, NULL, NULL, instance, NULL);
    if (!wnd)
        return NULL;
    ShowWindow(wnd, g_setup.hidden ? SW_HIDE : SW_SHOWMAXIMIZED);
    UpdateWindow(wnd);
    return wnd;
}

int SetupRunBackground(HINSTANCE instance)
{
    // A second run in one process finds its class already there.
    if (!SetupRegisterBackground(instance) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        return 0;
    if (!SetupCreateBackground(instance))
        return 0;
    MSG msg;
    int status;
    while ((status = GetMessageA(&msg, NULL, 0, 0)) != 0) {
        if (status == -1)
            return 0;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return (int)msg.wParam;
}
