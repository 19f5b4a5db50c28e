#include "print/GridPainter.h"

#include <algorithm>

namespace corvana {

void PaintGrid(QPainter& p, const QRectF& square, int width, std::string_view cells, const GridLook& look,
               std::string_view marked) {
    const qreal cell = square.width() / width;
    // Edges, not widths, are computed, so rounding never lets the cells drift.
    const auto edge = [&](qreal origin, int k) { return origin + square.width() * k / width; };
    const auto thickness = [&](qreal given) { return given > 0 ? given : std::max<qreal>(1.0, cell / 14); };
    const auto at = [&](int row, int col) { return static_cast<std::size_t>(row * width + col); };
    QFont font = look.font;
    if (look.wholePixels)
        font.setPixelSize(std::max(1, static_cast<int>(cell * look.digitSize)));
    else
        font.setPointSizeF(cell * look.digitSize);
    p.save();
    p.setFont(font);
    p.fillRect(square, Qt::white);
    for (int row = 0; row < width; ++row)
        for (int col = 0; col < width; ++col) {
            const char c = cells[at(row, col)];
            const QRectF r(QPointF(edge(square.left(), col), edge(square.top(), row)),
                           QPointF(edge(square.left(), col + 1), edge(square.top(), row + 1)));
            const bool mark = at(row, col) < marked.size() && marked[at(row, col)] != ' ';
            if (c == '#') {
                p.fillRect(r, Qt::black);
            } else if (c != '.' && look.digits) {
                p.setPen(mark ? look.markedDigit : QColor(Qt::black));
                p.drawText(r, Qt::AlignCenter, QString(QLatin1Char(c)));
            } else if (c != '.' && mark) {
                p.setPen(Qt::NoPen);
                p.setBrush(look.markedDigit);
                p.drawEllipse(r.center(), cell / 4, cell / 4);
            }
        }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::black, thickness(look.rule)));
    for (int k = 1; k < width; ++k) {
        p.drawLine(QPointF(edge(square.left(), k), square.top()),
                   QPointF(edge(square.left(), k), square.bottom()));
        p.drawLine(QPointF(square.left(), edge(square.top(), k)),
                   QPointF(square.right(), edge(square.top(), k)));
    }
    p.setPen(QPen(Qt::black, thickness(look.frame)));
    p.drawRect(square);
    p.restore();
}

} // namespace corvana
