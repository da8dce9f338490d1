// Where the wizard frame goes on the screen: centred in the work area, below the background
// window's title band. Plain arithmetic, built natively for the sanitizer tests.
#ifndef QV_SETUP_WIZARDPLACE_H
#define QV_SETUP_WIZARDPLACE_H

struct PlaceRect {
    int left, top, right, bottom;
};

// The frame's top-left corner for a `width` x `height` frame.
void WizardPlace(const PlaceRect* work, int width, int height, int titleBand, int* x, int* y);

#endif
