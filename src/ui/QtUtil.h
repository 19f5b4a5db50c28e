#pragma once

// Small helpers every Qt window of the program shares (library corvana_qtutil):
//  - packed colour values (0x00BBGGRR, red in the low byte, as the colour scheme and the colour
//    file keep them) to and from QColor;
//  - rectangles given in twips to Qt's device-independent pixels, converting edges so that
//    neighbouring controls never drift apart (see TwipsToPixels in play/FormConfig.h).
// Windows use these instead of converting by hand, so a colour is never read the wrong way round.

#include "seam/Dialogs.h"

#include <QColor>
#include <QRect>

namespace corvana {

QColor ToQColor(ColorValue value);
// The alpha channel is dropped: the scheme has no transparency.
ColorValue ToColorValue(const QColor& color);

// A rectangle in twips (left, top, width, height) as a QRect in device-independent pixels.
QRect TwipsRect(int left, int top, int width, int height);

} // namespace corvana
