#pragma once

// Small helpers every Qt window of the program shares (library corvana_qtutil):
//  - packed colour values (0x00BBGGRR, red in the low byte, as the colour scheme and the colour
//    file keep them) to and from QColor;
//  - rectangles given in twips to Qt's device-independent pixels, converting edges so that
//    neighbouring controls never drift apart (see TwipsToPixels in core/Twips.h);
//  - checks that a label or button shows its whole text, and fitting a label's text to its room.
// Windows use these instead of converting by hand, so a colour is never read the wrong way round.

#include "core/ColorValue.h"

#include <QColor>
#include <QRect>

class QAbstractButton;
class QLabel;

namespace corvana {

QColor ToQColor(ColorValue value);
// The alpha channel is dropped: the scheme has no transparency.
ColorValue ToColorValue(const QColor& color);

// A rectangle in twips (left, top, width, height) as a QRect in device-independent pixels.
QRect TwipsRect(int left, int top, int width, int height);

// True when the label shows its whole text at its present size and font: a single-line label is
// wide and tall enough; a word-wrapped one has room for all its lines and no word is wider than
// a line.
bool ShowsWholeText(const QLabel& label);
// True when the button's caption fits its width and height.
bool ShowsWholeText(const QAbstractButton& button);

// Makes the label show its whole text: a word-wrapped label may first grow downwards as far as
// `maxBottom` (pixels in its parent; -1: no growing); then the font is lowered in half points,
// not below `minimumPointSize`. Returns ShowsWholeText afterwards.
bool FitLabel(QLabel& label, int maxBottom = -1, double minimumPointSize = 7.0);

} // namespace corvana
