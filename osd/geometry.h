// Where the display draws: positions given for a 1024 x 768 screen, scaled to the real
// one. No platform header, so the arithmetic runs natively under the sanitizers.
#ifndef QV_OSD_GEOMETRY_H
#define QV_OSD_GEOMETRY_H

// W*x/1024 and H*y/768, truncated toward zero.
int ScaleX(int screenWidth, int x);
int ScaleY(int screenHeight, int y);

// Font height for drawing from the stored one (which is for a 768-line screen).
int ScaledFontHeight(int screenHeight, int storedHeight);

// A caller's rectangle names a margin in reference units; its right and bottom are
// rewritten in place to screen pixels.
void RewriteMarginRect(int screenWidth, int screenHeight, int* right, int* bottom);

struct VolumeBarLayout {
    int speakerLeft, speakerTop, speakerWidth, speakerHeight;
    int barTop, barHeight, barWidth;
    int firstBarLeft, pitch;
    unsigned bars;      // after 0 was replaced by 32
    unsigned drawn;     // bars worth drawing: all of them, unless they all overlap
    unsigned threshold; // level step per bar
};

void LayoutVolumeBar(int screenWidth, int screenHeight, int pictureWidth, int pictureHeight,
                     unsigned bars, VolumeBarLayout* layout);

// Bar i is drawn full when its threshold lies below the level.
int VolumeBarLit(const VolumeBarLayout* layout, unsigned bar, unsigned level);

#endif
