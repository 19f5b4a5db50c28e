#pragma once

// The two widget kinds of a play window that need more than their Qt defaults: the grid cell,
// a text box that never edits itself, and the list check box, whose tick only the model sets.

#include <QCheckBox>
#include <QColor>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProxyStyle>

namespace corvana {

class PlayWindow;

// Key events as the play model understands them.
int VirtualKeyCode(int qtKey, Qt::KeyboardModifiers modifiers);
// The same for a whole event from the named platform plugin. A digit key of the top row counts
// as that digit whatever Shift or the keyboard layout make of it (Shift+7 gives '&' on a US
// keyboard; the unshifted 7 key of a French one gives an accented e), as for a program that
// reads key codes. Only the key's position, in the platform's native codes, tells which it was.
int VirtualKeyCode(const QKeyEvent& event, QStringView platform);
// The same for an event from the running platform.
int VirtualKeyCode(const QKeyEvent& event);
int ShiftState(Qt::KeyboardModifiers modifiers);

// The look of a square Check has marked wrong.
inline const QColor kMarkedBase(255, 214, 214);
inline const QColor kMarkedStroke(204, 0, 0);

// One grid cell. Every key, press and edit goes to the window and from there to the model; the
// line edit's own editing (typing, undo, cut and paste, drag and drop, input methods, its
// context menu) never touches the text, which only Sync sets.
class CellEdit : public QLineEdit {
    Q_OBJECT

public:
    CellEdit(PlayWindow& window, int cell, QWidget* parent);
    int Cell() const { return cell_; }
    // Marked wrong by Check: tinted and struck through diagonally, so colour is not the only cue.
    void SetMarked(bool marked);
    bool Marked() const { return marked_; }

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    PlayWindow& window_;
    int cell_;
    bool marked_ = false;
};

// The widgets inside fraWork paint their own background instead of having Qt fill it: Qt leaves
// "opaque" children out when a parent is repainted, and the window relies on repainting fraWork
// as a whole after a change of hundreds of widgets (see PlayWindow::Touch).

// One number of a list. A click asks the model, which decides the tick; the box never toggles
// itself, so it cannot drift from the model.
class ListCheckBox : public QCheckBox {
    Q_OBJECT

public:
    explicit ListCheckBox(QWidget* parent) : QCheckBox(parent) {}

protected:
    void nextCheckState() override {}
    void paintEvent(QPaintEvent* event) override;
};

// A heading or the credit line, on its own background colour.
class FormLabelWidget : public QLabel {
    Q_OBJECT

public:
    explicit FormLabelWidget(QWidget* parent) : QLabel(parent) {}

protected:
    void paintEvent(QPaintEvent* event) override;
};

// A frame drawn flat in its own background colour (styles shade the inside of a group box,
// which would put a colour on screen that the scheme does not have), with an etched border
// and the caption in the frame's text colour over the top edge. Like any group box that is not
// checkable, it never takes the focus.
class FrameBox : public QGroupBox {
    Q_OBJECT

public:
    explicit FrameBox(QWidget* parent) : QGroupBox(parent) {}

    // The etched border is two lines, one inside the other.
    static constexpr int kBorderWidth = 2;

protected:
    void paintEvent(QPaintEvent* event) override;
};

// A small indicator and tight margins, so that a 2-digit number fits its 33-pixel box. The
// size hint is exactly indicator, spacing and text, so a box whose hint fits its width shows its
// whole caption.
class CompactCheckStyle : public QProxyStyle {
    Q_OBJECT

public:
    // At 100 %; both grow with the zoom level.
    static constexpr int kIndicator = 10;
    static constexpr int kSpacing = 3;

    void SetZoom(int percent);
    int Indicator() const { return indicator_; }
    int Spacing() const { return spacing_; }

    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override;
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& contents,
                           const QWidget* widget) const override;

private:
    int indicator_ = kIndicator;
    int spacing_ = kSpacing;
};

} // namespace corvana
