#pragma once

// Positions and sizes of controls are kept in twips (1/1440 inch), exactly as the forms were
// designed. These value types and the one conversion to Qt's device-independent pixels are
// shared by every layer that lays out or draws a window.

namespace corvana {

struct TwipRect {
    int left;
    int top;
    int width;
    int height;
};

struct TwipPoint {
    int left;
    int top;
};

// Twips to device-independent pixels (15 twips a pixel at 96 dpi). Convert edges, not widths,
// so that neighbouring controls never drift apart.
inline int TwipsToPixels(int twips) {
    return (twips >= 0 ? twips + 7 : twips - 7) / 15;
}
inline int TwipsWidthToPixels(int left, int width) {
    return TwipsToPixels(left + width) - TwipsToPixels(left);
}

} // namespace corvana
