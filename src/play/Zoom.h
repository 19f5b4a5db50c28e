#pragma once

// Zoom of a play window's work area: fixed steps from 100 % to 300 %. Every twip position is
// turned into pixels at the zoom level as an edge, rounded, so positions keep their proportions
// and neighbouring controls never drift; at 100 % the pixels are exactly TwipsToPixels'.

#include <array>

namespace corvana {

inline constexpr std::array<int, 7> kZoomSteps = {100, 125, 150, 175, 200, 250, 300};

// The next step up or down, staying at the ends.
int ZoomIn(int percent);
int ZoomOut(int percent);
// A remembered level: one of the steps, else 100 %.
int ValidZoom(int percent);

// A twip position as pixels at `percent`: twips x percent / 1500, rounded half away from zero.
int ZoomedPixels(int twips, int percent);
// A size in pixels of the 100 % layout (a font, a tick box) at `percent`, rounded.
int ZoomedSize(int pixels, int percent);
// The window's size in twips of the 100 % layout, from its size in pixels at `percent`.
int UnzoomedTwips(int pixels, int percent);

} // namespace corvana
