// The percentage's geometry and its white-or-black rule.
#include "percentlayout.h"

namespace {

int Clamp(int percent) { return percent < 0 ? 0 : percent > 100 ? 100 : percent; }

} // namespace

int PercentBarEnd(int percent, int width)
{
    if (width <= 0)
        return 0;
    return (int)((long long)width * Clamp(percent) / 100);
}

int PercentLayout(int percent, int width, int digitsWidth, PercentGlyph* glyphs, int room)
{
    percent = Clamp(percent);
    char digits[4];
    int count = 0;
    if (percent == 100) {
        digits[0] = '1', digits[1] = '0', digits[2] = '0', count = 3;
    } else if (percent >= 10) {
        digits[0] = (char)('0' + percent / 10), digits[1] = (char)('0' + percent % 10), count = 2;
    } else {
        digits[0] = (char)('0' + percent), count = 1;
    }
    if (!glyphs || room < count + 1)
        return 0;
    int digitWidth = digitsWidth > 0 ? digitsWidth / count : 0;
    int centre = width / 2;
    int barEnd = PercentBarEnd(percent, width);
    for (int i = 0; i <= count; ++i) {
        PercentGlyph& g = glyphs[i];
        g.ch = i < count ? digits[i] : '%';
        g.left = i < count ? centre - (count - i) * digitWidth : centre + digitWidth;
        // A full bar's number is white whatever the control's size.
        g.white = (i < count && percent == 100) || barEnd > g.left + digitWidth;
    }
    return count + 1;
}
