#pragma once

// Qt values as a failed check shows them: as they read, not as their bytes.

#include <QColor>
#include <QRect>
#include <QString>

#include <ostream>

inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QColor& color, std::ostream* os) {
    *os << color.name(color.alpha() == 255 ? QColor::HexRgb : QColor::HexArgb).toStdString();
}
inline void PrintTo(const QPoint& point, std::ostream* os) {
    *os << '(' << point.x() << ", " << point.y() << ')';
}
inline void PrintTo(const QSize& size, std::ostream* os) {
    *os << size.width() << " x " << size.height();
}
inline void PrintTo(const QRect& rect, std::ostream* os) {
    *os << rect.width() << " x " << rect.height() << " at (" << rect.x() << ", " << rect.y() << ')';
}
