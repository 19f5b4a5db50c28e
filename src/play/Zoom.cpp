#include "play/Zoom.h"

#include <cstdint>

namespace corvana {

int ZoomIn(int percent) {
    for (const int step : kZoomSteps)
        if (step > percent)
            return step;
    return kZoomSteps.back();
}

int ZoomOut(int percent) {
    for (auto it = kZoomSteps.rbegin(); it != kZoomSteps.rend(); ++it)
        if (*it < percent)
            return *it;
    return kZoomSteps.front();
}

int ValidZoom(int percent) {
    for (const int step : kZoomSteps)
        if (step == percent)
            return step;
    return 100;
}

int ZoomedPixels(int twips, int percent) {
    const std::int64_t scaled = std::int64_t{twips} * percent;
    return static_cast<int>(scaled >= 0 ? (scaled + 750) / 1500 : -((-scaled + 750) / 1500));
}

int ZoomedSize(int pixels, int percent) {
    return static_cast<int>((std::int64_t{pixels} * percent + 50) / 100);
}

int UnzoomedTwips(int pixels, int percent) {
    return static_cast<int>(std::int64_t{pixels} * 1500 / percent);
}

} // namespace corvana
