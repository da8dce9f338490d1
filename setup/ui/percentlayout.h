// Where the progress page's percentage goes and which of its characters stand on the bar.
// Plain arithmetic, free of platform headers, built natively for the sanitizer tests.
#ifndef QV_SETUP_PERCENTLAYOUT_H
#define QV_SETUP_PERCENTLAYOUT_H

struct PercentGlyph {
    char ch;
    int left;   // from the control's left edge
    int white;  // 1: drawn white (the bar covers it), 0: black
};

// The bar's right end in a control `width` wide; the percentage is held to 0..100.
int PercentBarEnd(int percent, int width);

// Lays out the digits of `percent` and a '%' sign: every character one digit wide (the
// digits' measured width `digitsWidth` over their count), the last digit ending at the
// centre and '%' starting one digit width right of it. Returns the number of glyphs
// written (digits and the sign), 0 when `room` is too small.
int PercentLayout(int percent, int width, int digitsWidth, PercentGlyph* glyphs, int room);

#endif
