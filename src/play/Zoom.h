#pragma once

// Zoom of a play window's work area: fixed steps from 100 % to 300 %. Every twip position is
// turned into pixels at the zoom level as an edge, rounded, so positions keep their proportions
// and neighbouring controls never drift; at 100 % the pixels are exactly TwipsToPixels'.

#include <array>
#include <cstdint>

namespace corvana {

inline constexpr std::array<int, 7> kZoomSteps = {100, 125, 150, 175, 200, 250, 300};

// The next step up or down, staying at the ends.
inline int ZoomIn(int percent) {
    for (const int step : kZoomSteps)
        if (step > percent)
            return step;
    return kZoomSteps.back();
}
inline int ZoomOut(int percent) {
    for (auto it = kZoomSteps.rbegin(); it != kZoomSteps.rend(); ++it)
        if (*it < percent)
            return *it;
    return kZoomSteps.front();
}
// A remembered level: one of the steps, else 100 %.
inline int ValidZoom(int percent) {
    for (const int step : kZoomSteps)
        if (step == percent)
            return step;
    return 100;
}

// A twip position as pixels at `percent`: twips x percent / 1500, rounded half away from zero.
inline int ZoomedPixels(int twips, int percent) {
    const std::int64_t scaled = std::int64_t{twips} * percent;
    return static_cast<int>(scaled >= 0 ? (scaled + 750) / 1500 : -((-scaled + 750) / 1500));
}
// A size in pixels of the 100 % layout (a font, a tick box) at `percent`, rounded.
inline int ZoomedSize(int pixels, int percent) {
    return static_cast<int>((std::int64_t{pixels} * percent + 50) / 100);
}
// The window's size in twips of the 100 % layout, from its size in pixels at `percent`.
inline int UnzoomedTwips(int pixels, int percent) {
    return static_cast<int>(std::int64_t{pixels} * 1500 / percent);
}

} // namespace corvana
