#include "ui/QtUtil.h"

#include "play/FormConfig.h"

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

} // namespace corvana
