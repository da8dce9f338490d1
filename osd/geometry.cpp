// Display geometry; see geometry.h for why it stands alone.
#include "geometry.h"

#include <limits.h>

int ScaleX(int screenWidth, int x)
{
    return (int)((long long)screenWidth * x / 1024);
}

int ScaleY(int screenHeight, int y)
{
    return (int)((long long)screenHeight * y / 768);
}

int ScaledFontHeight(int screenHeight, int storedHeight)
{
    return ScaleY(screenHeight, storedHeight);
}

static int Saturate(long long value)
{
    return value > INT_MAX ? INT_MAX : value < INT_MIN ? INT_MIN : (int)value;
}

void RewriteMarginRect(int screenWidth, int screenHeight, int* right, int* bottom)
{
    // 64-bit and saturated: a wild caller rectangle must not wrap around into a sane one.
    *right = Saturate(screenWidth - (long long)screenWidth * ((long long)screenWidth - *right) / 1024);
    *bottom = Saturate(screenHeight - (long long)screenHeight * ((long long)screenHeight - *bottom) / 768);
}

void LayoutVolumeBar(int screenWidth, int screenHeight, int pictureWidth, int pictureHeight,
                     unsigned bars, VolumeBarLayout* layout)
{
    const int gap = ScaleX(screenWidth, 12);
    const int barHeight = ScaleY(screenHeight, 60);
    const int rightMargin = ScaleX(screenWidth, 60);
    const int bottomMargin = ScaleY(screenHeight, 50);
    const int leftMargin = ScaleX(screenWidth, 40);
    if (bars == 0)
        bars = 32;

    layout->speakerLeft = leftMargin;
    layout->speakerWidth = ScaleX(screenWidth, pictureWidth);
    layout->speakerHeight = ScaleY(screenHeight, pictureHeight);
    // The picture's own (unscaled) height centres it on the bar row.
    layout->speakerTop = screenHeight + (barHeight - pictureHeight) / 2 - bottomMargin - barHeight;

    int room = screenWidth - layout->speakerWidth - leftMargin - rightMargin - 2 * gap;
    layout->pitch = room > 0 ? (int)((unsigned)room / bars) : 0;
    layout->barTop = layout->speakerTop - (barHeight - layout->speakerHeight) / 2;
    layout->barHeight = barHeight;
    layout->barWidth = gap;
    layout->firstBarLeft = leftMargin + layout->speakerWidth + 2 * gap;
    layout->threshold = 0xFFFFu / bars;
    layout->bars = bars;
    // With no room per bar they all stand on one spot: bar 0 alone gives the same shape
    // (it is full whenever any bar is), and a huge count cannot stall the caller.
    layout->drawn = layout->pitch > 0 ? bars : 1;
}

int VolumeBarLit(const VolumeBarLayout* layout, unsigned bar, unsigned level)
{
    return bar * layout->threshold < level;
}
