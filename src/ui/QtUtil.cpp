#include "ui/QtUtil.h"

#include "core/Twips.h"

#include <QAbstractButton>
#include <QFontMetrics>
#include <QLabel>
#include <QRegularExpression>

namespace corvana {

QColor ToQColor(ColorValue value) {
    const auto packed = static_cast<std::uint32_t>(value);
    return QColor(static_cast<int>(packed & 0xFFu), static_cast<int>((packed >> 8) & 0xFFu),
                  static_cast<int>((packed >> 16) & 0xFFu));
}

ColorValue ToColorValue(const QColor& color) {
    const QColor rgb = color.toRgb();
    return static_cast<ColorValue>(static_cast<std::uint32_t>(rgb.red()) |
                                   (static_cast<std::uint32_t>(rgb.green()) << 8) |
                                   (static_cast<std::uint32_t>(rgb.blue()) << 16));
}

QRect TwipsRect(int left, int top, int width, int height) {
    const int x = TwipsToPixels(left);
    const int y = TwipsToPixels(top);
    return QRect(x, y, TwipsToPixels(left + width) - x, TwipsToPixels(top + height) - y);
}

bool ShowsWholeText(const QLabel& label) {
    if (!label.wordWrap()) {
        const QSize hint = label.sizeHint();
        return hint.width() <= label.width() && hint.height() <= label.height();
    }
    if (label.heightForWidth(label.width()) > label.height())
        return false;
    const QFontMetrics metrics(label.font());
    const int lineWidth = label.contentsRect().width() - 2 * label.margin();
    const QStringList words =
        label.text().split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    for (const QString& word : words) {
        if (metrics.horizontalAdvance(word) > lineWidth)
            return false;
    }
    return true;
}

bool ShowsWholeText(const QAbstractButton& button) {
    const QSize hint = button.sizeHint();
    return hint.width() <= button.width() && hint.height() <= button.height();
}

bool FitLabel(QLabel& label, int maxBottom, double minimumPointSize) {
    if (label.wordWrap() && maxBottom > label.y()) {
        const int needed = label.heightForWidth(label.width());
        if (needed > label.height())
            label.resize(label.width(), std::min(needed, maxBottom - label.y()));
    }
    QFont font = label.font();
    while (!ShowsWholeText(label) && font.pointSizeF() - 0.5 >= minimumPointSize) {
        font.setPointSizeF(font.pointSizeF() - 0.5);
        label.setFont(font);
    }
    return ShowsWholeText(label);
}

} // namespace corvana
