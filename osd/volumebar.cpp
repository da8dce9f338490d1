// The volume indication: the speaker picture and a row of bars along the bottom of the
// screen, lit up to the level, as the display window's shape.
#include "QVOSD.h"
#include "geometry.h"
#include "internal.h"
#include "region.h"

namespace {

bool AddRect(HRGN shape, int left, int top, int right, int bottom)
{
    HRGN part = CreateRectRgn(left, top, right, bottom);
    if (!part)
        return false;
    CombineRgn(shape, shape, part, RGN_OR);
    DeleteObject(part);
    return true;
}

} // namespace

int WINAPI OSD_ShowVolume(UINT level, UINT bars)
{
    if (!g_osd.enabled)
        return 0;
    OsdEnsureWindow();
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    HRGN shape = CreateRectRgn(0, 0, 0, 0);
    if (!shape) {
        OsdHide();
        return 0;
    }

    HBITMAP picture = LoadBitmapA(g_osdInstance, MAKEINTRESOURCEA(IDB_SPEAKER));
    BITMAP info = {};
    if (picture)
        GetObjectA(picture, sizeof(info), &info);
    VolumeBarLayout layout;
    LayoutVolumeBar(screenWidth, screenHeight, info.bmWidth, info.bmHeight, bars, &layout);
    if (picture) {
        HRGN speaker = RegionFromBitmap(picture, layout.speakerLeft, layout.speakerTop, info.bmWidth,
                                        info.bmHeight, layout.speakerWidth, layout.speakerHeight);
        if (speaker) {
            CombineRgn(shape, shape, speaker, RGN_OR);
            DeleteObject(speaker);
        }
        DeleteObject(picture);
    }

    int x = layout.firstBarLeft;
    const int base = layout.barTop + layout.barHeight;
    for (unsigned i = 0; i < layout.drawn; ++i, x += layout.pitch) {
        int top = VolumeBarLit(&layout, i, level) ? layout.barTop : base - layout.barWidth;
        AddRect(shape, x, top, x + layout.barWidth, base);
    }
    OsdShowRegion(shape, OSD_SHOW_VOLUME);
    return 1;
}
