#pragma once

// The one painting of a fill-in grid, for the puzzle book's pages and the program's pictures.

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QRectF>

#include <string_view>

namespace corvana {

// How a grid looks; the defaults are the puzzle book's.
struct GridLook {
    QFont font;                     // the digits' family and weight; the size comes from the cell
    qreal digitSize = 0.6;          // the digits' size, a share of the cell
    bool wholePixels = false;       // digits sized in whole pixels (for pictures) rather than points
    qreal rule = 0.5;               // the lines between cells; 0 for a cell's width / 14, at least 1
    qreal frame = 1.2;              // the line around the grid; 0 as for `rule`
    QColor markedDigit = Qt::black; // the digits of marked cells (a starting number)
    bool digits = true;             // false when the cells are too small: a dot marks each marked cell
};

// Paints a `width` x `width` grid in the square `square`: `cells` holds one character per cell,
// row by row ('#' a black square, '.' an empty one, else its digit); `marked` (empty, or one
// character per cell, non-space for a marked one) picks the cells that stand out.
void PaintGrid(QPainter& painter, const QRectF& square, int width, std::string_view cells,
               const GridLook& look = {}, std::string_view marked = {});

} // namespace corvana
