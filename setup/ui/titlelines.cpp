// The title's line break: at the last blank whose first part still fits, else before the
// first word break, so a long title never needs more than two lines.
#include "titlelines.h"

#include <string.h>

namespace {

const int kMargin = 15;

// A blank that follows a non-blank ends a word; only there may a line break.
bool EndsWord(const char* text, int i)
{
    return i > 0 && text[i] == ' ' && text[i - 1] != ' ';
}

} // namespace

void SplitTitle(const char* text, int clientWidth, TitleMeasureFn measure, void* context, TitleLines* lines)
{
    int length = (int)strlen(text);
    lines->count = 1;
    lines->firstLength = length;
    lines->secondStart = length;
    lines->secondLength = 0;
    if (measure(text, length, context) + kMargin <= clientWidth)
        return;

    int breakAt = -1;
    for (int i = length - 1; i > 0; --i) {
        if (EndsWord(text, i) && measure(text, i, context) + kMargin <= clientWidth) {
            breakAt = i;
            break;
        }
    }
    if (breakAt < 0) {
        for (int i = 1; i < length; ++i) {
            if (EndsWord(text, i)) {
                lines->firstLength = i;
                break;
            }
        }
        return;
    }
    int start = breakAt + 1;
    while (text[start] == ' ')
        ++start;
    lines->firstLength = breakAt;
    lines->secondStart = start;
    lines->secondLength = length - start;
    // Only blanks after the break: nothing to show on a second line.
    if (lines->secondLength > 0)
        lines->count = 2;
}
