// Where the background window's title breaks when it is wider than the screen. Kept free
// of Windows so the rule is tested natively with made-up text widths.
#ifndef QV_SETUP_TITLELINES_H
#define QV_SETUP_TITLELINES_H

// Width in pixels of the first `length` characters of `text`.
typedef int (*TitleMeasureFn)(const char* text, int length, void* context);

struct TitleLines {
    int count;        // 1 or 2
    int firstLength;  // line 1 is text[0 .. firstLength)
    int secondStart;  // line 2 is text[secondStart .. secondStart + secondLength)
    int secondLength;
};

// Splits `text` for a client area `clientWidth` wide; a line fits when its width plus the
// 15 pixels of the title's margin and shadow do not exceed it.
void SplitTitle(const char* text, int clientWidth, TitleMeasureFn measure, void* context, TitleLines* lines);

#endif
