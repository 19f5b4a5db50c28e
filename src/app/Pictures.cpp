#include "app/Pictures.h"

#include "print/GridPainter.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <array>
#include <string>

namespace corvana {

namespace {

// Cells of the icon's 4 x 4 grid: 'X' black, '.' white, a digit written in it; digits in the
// first row are the starting number and drawn in red.
constexpr std::array<const char*, 4> kIconGrid = {"47X.", "0X3.", "1..X", "X.5."};

// The main window's picture: a 7 x 7 puzzle, half filled in.
constexpr std::array<const char*, 7> kPictureGrid = {
    "407X281", "3X5.4X.", "81.X..6", "X......", "...X...", ".X...X.", "...X...",
};

const QColor kFrameBlue(0, 0, 64);
const QColor kStarterRed(0xCC, 0, 0);

// The grid centred in `area`, its first row (the starting number) marked in red.
void DrawGrid(QPainter& painter, const QRectF& area, const char* const* rows, int count, bool digits) {
    std::string cells, marked;
    for (int r = 0; r < count; ++r)
        for (int c = 0; c < count; ++c) {
            cells += rows[r][c] == 'X' ? '#' : rows[r][c];
            marked += r == 0 ? 'x' : ' ';
        }
    const qreal side = std::min(area.width(), area.height()) / count * count;
    GridLook look;
    look.font = painter.font();
    look.font.setBold(true);
    look.digitSize = 0.7;
    look.wholePixels = true;
    look.rule = look.frame = 0; // a share of the cell
    look.markedDigit = kStarterRed;
    look.digits = digits;
    PaintGrid(painter, QRectF(area.center().x() - side / 2, area.center().y() - side / 2, side, side), count,
              cells, look, marked);
}

} // namespace

QPixmap ProgramIconPixmap(int size, qreal devicePixelRatio) {
    QPixmap pixmap(QSize(size, size) * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF whole(0, 0, size, size);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kFrameBlue);
    painter.drawRoundedRect(whole.adjusted(size / 32.0, size / 32.0, -size / 32.0, -size / 32.0), size / 9.0,
                            size / 9.0);
    const qreal inset = size * 0.125;
    DrawGrid(painter, whole.adjusted(inset, inset, -inset, -inset), kIconGrid.data(),
             static_cast<int>(kIconGrid.size()), size >= 48);
    return pixmap;
}

QIcon ProgramIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(ProgramIconPixmap(size));
    return icon;
}

void DrawPuzzlePicture(QPainter& painter, const QRectF& area) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    // A sheet of paper with a soft shadow, the grid on it.
    const qreal side = std::min(area.width(), area.height());
    const QRectF sheet(area.center().x() - side / 2, area.center().y() - side / 2, side, side);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 90));
    painter.drawRoundedRect(sheet.adjusted(6, 6, -2, -2), 8, 8);
    painter.setBrush(QColor(0xF4, 0xF1, 0xE6));
    painter.drawRoundedRect(sheet.adjusted(2, 2, -6, -6), 8, 8);
    const qreal margin = side * 0.09;
    DrawGrid(painter, sheet.adjusted(margin, margin, -margin - 4, -margin - 4), kPictureGrid.data(),
             static_cast<int>(kPictureGrid.size()), true);
    painter.restore();
}

PuzzlePicture::PuzzlePicture(QWidget* parent) : QWidget(parent) {}

void PuzzlePicture::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    DrawPuzzlePicture(painter, QRectF(rect()));
}

} // namespace corvana
