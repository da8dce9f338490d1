// The wizard frame's position.
#include "wizardplace.h"

void WizardPlace(const PlaceRect* work, int width, int height, int titleBand, int* x, int* y)
{
    int workWidth = work->right - work->left;
    int workHeight = work->bottom - work->top;
    *x = work->left + (workWidth - width) / 2;
    int top = work->top + (workHeight - height) / 2;
    if (top < titleBand)
        top = titleBand;
    if (workHeight < titleBand + height)
        top = work->bottom - height;
    // A frame taller than the work area keeps its caption on screen, so it can still be moved.
    if (top < work->top)
        top = work->top;
    *y = top;
}
