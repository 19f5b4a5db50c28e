#pragma once

// The program's own pictures, drawn in code so that they scale cleanly and need no files: the
// program icon (a corner of a fill-in grid with a red starting number, as in the desktop icon)
// and the larger puzzle picture of the main window.

#include <QIcon>
#include <QPixmap>
#include <QWidget>

class QPainter;

namespace corvana {

// The icon at `size` x `size` device-independent pixels.
QPixmap ProgramIconPixmap(int size, qreal devicePixelRatio = 1.0);
// The icon at the usual sizes, for the windows' title bars.
QIcon ProgramIcon();

// Draws the main window's puzzle picture into `area`.
void DrawPuzzlePicture(QPainter& painter, const QRectF& area);

// A widget that shows the puzzle picture at whatever size it has.
class PuzzlePicture : public QWidget {
public:
    explicit PuzzlePicture(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace corvana
