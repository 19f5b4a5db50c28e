#include "play/PlayWidgets.h"

#include "play/PlayWindow.h"
#include "play/Zoom.h"

#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOption>

#include <algorithm>

namespace corvana {

int VirtualKeyCode(int qtKey, Qt::KeyboardModifiers modifiers) {
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) {
        const int digit = qtKey - Qt::Key_0;
        return (modifiers & Qt::KeypadModifier) ? vk::Numpad0 + digit : vk::Digit0 + digit;
    }
    switch (qtKey) {
    case Qt::Key_Backspace:
        return vk::Back;
    case Qt::Key_Left:
        return vk::Left;
    case Qt::Key_Up:
        return vk::Up;
    case Qt::Key_Right:
        return vk::Right;
    case Qt::Key_Down:
        return vk::Down;
    case Qt::Key_Delete:
        return vk::Delete;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Escape:
        return 27;
    case Qt::Key_Space:
        return 32;
    default:
        return 0; // no key the grid knows, letters among them
    }
}

namespace {

// The digit of a top-row key from its native codes, -1 for any other key. Windows reports the
// key code itself, the same for every layout and shift state. X11 and Wayland report the key's
// position: keycodes 10 to 19 are the keys 1 to 9 and 0 of the top row.
int TopRowDigit(const QKeyEvent& event, QStringView platform) {
    if (platform == u"windows") {
        const quint32 code = event.nativeVirtualKey();
        if (code >= static_cast<quint32>(vk::Digit0) && code <= static_cast<quint32>(vk::Digit0 + 9))
            return static_cast<int>(code) - vk::Digit0;
        return -1;
    }
    if (platform == u"xcb" || platform.startsWith(u"wayland")) {
        const quint32 position = event.nativeScanCode();
        if (position >= 10 && position <= 19)
            return static_cast<int>((position - 9) % 10);
    }
    return -1;
}

} // namespace

int VirtualKeyCode(const QKeyEvent& event, QStringView platform) {
    if (!(event.modifiers() & Qt::KeypadModifier)) {
        const int digit = TopRowDigit(event, platform);
        if (digit >= 0)
            return vk::Digit0 + digit;
    }
    return VirtualKeyCode(event.key(), event.modifiers());
}

int VirtualKeyCode(const QKeyEvent& event) {
    return VirtualKeyCode(event, QGuiApplication::platformName());
}

int ShiftState(Qt::KeyboardModifiers modifiers) {
    int shift = 0;
    if (modifiers & Qt::ShiftModifier)
        shift |= 1;
    if (modifiers & Qt::ControlModifier)
        shift |= 2;
    if (modifiers & Qt::AltModifier)
        shift |= 4;
    return shift;
}

CellEdit::CellEdit(PlayWindow& window, int cell, QWidget* parent)
    : QLineEdit(parent), window_(window), cell_(cell) {
    setAlignment(Qt::AlignCenter);
    setContextMenuPolicy(Qt::PreventContextMenu);
    setAcceptDrops(false);
    setDragEnabled(false);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setTextMargins(0, 0, 0, 0);
}

void CellEdit::SetMarked(bool marked) {
    if (marked_ == marked)
        return;
    marked_ = marked;
    setAccessibleDescription(marked ? QStringLiteral("Marked wrong by Check") : QString());
    update();
}

bool CellEdit::event(QEvent* e) {
    if (e->type() == QEvent::ShortcutOverride) {
        // Claim only the keys the grid itself uses; everything else, above all Ctrl
        // combinations, is left to the window's menu shortcuts.
        auto* key = static_cast<QKeyEvent*>(e);
        const bool modified = key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
        e->setAccepted(!modified && IsValidGridKey(VirtualKeyCode(*key)));
        return true;
    }
    if (e->type() == QEvent::InputMethod) {
        // Composed text never reaches a cell.
        e->ignore();
        return true;
    }
    return QLineEdit::event(e);
}

// Drawn by hand: a flat square in the cell's colours with a thin sunken edge, its digit
// centred, and a bold edge in the highlight colour while it has the focus. The style's line
// edit panel is antialiased and shaded, and costs ten times as much; the Large form repaints
// 400 of them whenever the solution is toggled.
void CellEdit::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPalette& pal = palette();
    const int w = width();
    const int h = height();
    const QColor base = pal.color(QPalette::Base);
    // A square marked by Check: a pale red in place of white (a square picked for AutoFill keeps
    // its blue), and a red stroke from corner to corner under the digit.
    painter.fillRect(0, 0, w, h, marked_ && base == Qt::white ? kMarkedBase : base);
    if (marked_) {
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(kMarkedStroke, std::max(2.0, h / 10.0)));
        painter.drawLine(QPointF(2, h - 2), QPointF(w - 2, 2));
        painter.restore();
    }
    painter.fillRect(0, 0, w, 1, QColor(128, 128, 128));
    painter.fillRect(0, 0, 1, h, QColor(128, 128, 128));
    painter.fillRect(0, h - 1, w, 1, QColor(212, 212, 212));
    painter.fillRect(w - 1, 0, 1, h, QColor(212, 212, 212));
    if (hasFocus()) {
        const QColor focus = pal.color(QPalette::Active, QPalette::Highlight);
        painter.fillRect(1, 1, w - 2, 2, focus);
        painter.fillRect(1, h - 3, w - 2, 2, focus);
        painter.fillRect(1, 1, 2, h - 2, focus);
        painter.fillRect(w - 3, 1, 2, h - 2, focus);
    }
    const QString digit = text();
    if (digit.isEmpty())
        return;
    painter.setPen(pal.color(QPalette::Text));
    if (const QStaticText* prepared = window_.DigitText(digit)) {
        const QSizeF size = prepared->size();
        painter.drawStaticText(QPointF((w - size.width()) / 2, (h - size.height()) / 2), *prepared);
    } else {
        painter.drawText(rect(), Qt::AlignCenter, digit);
    }
}

void CellEdit::keyPressEvent(QKeyEvent* e) {
    window_.CellKeyDown(cell_, e);
}

void CellEdit::keyReleaseEvent(QKeyEvent* e) {
    window_.CellKeyUp(cell_, e);
}

void CellEdit::mousePressEvent(QMouseEvent* e) {
    e->accept();
    window_.CellMouseDown(cell_);
}

// The line edit would select text on drag and paste the selection on a middle-button release.
void CellEdit::mouseReleaseEvent(QMouseEvent* e) {
    e->accept();
}
void CellEdit::mouseMoveEvent(QMouseEvent* e) {
    e->accept();
}
// The second press of a double click is not a new press on the cell (it would otherwise undo
// the AutoFill start the first press selected); nor may it select the digit.
void CellEdit::mouseDoubleClickEvent(QMouseEvent* e) {
    e->accept();
}

void CellEdit::focusInEvent(QFocusEvent* e) {
    // setFocus() ignores the focus policy (an accessibility action calls it): a black square
    // hands the focus on at once.
    if (focusPolicy() == Qt::NoFocus) {
        e->accept();
        if (!focusNextChild())
            clearFocus();
        return;
    }
    QLineEdit::focusInEvent(e);
    // Tabbing into a line edit selects its text; a cell shows its digit plain, caret before it.
    deselect();
    setCursorPosition(0);
}

void CellEdit::inputMethodEvent(QInputMethodEvent* e) {
    e->ignore();
}
void CellEdit::contextMenuEvent(QContextMenuEvent* e) {
    e->accept();
}

void FrameBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    const QFontMetrics fm = fontMetrics();
    const QString caption = title();
    const int top = caption.isEmpty() ? 0 : fm.height() / 2;
    const QRect r = rect().adjusted(0, top, -1, -1);
    const QColor back = palette().color(QPalette::Window);
    // An etched line: a dark line with a light one just inside it.
    painter.setPen(back.darker(160));
    painter.drawRect(r.adjusted(0, 0, -1, -1));
    painter.setPen(back.lighter(160));
    painter.drawRect(r.adjusted(1, 1, 0, 0));
    if (caption.isEmpty())
        return;
    const int width = fm.horizontalAdvance(caption);
    const QRect text(8, 0, std::min(width + 4, std::max(0, this->width() - 10)), fm.height());
    painter.fillRect(text, back);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(text.adjusted(2, 0, -2, 0), Qt::AlignLeft | Qt::AlignVCenter, caption);
}

void ListCheckBox::paintEvent(QPaintEvent* event) {
    {
        QPainter painter(this);
        painter.fillRect(rect(), palette().color(QPalette::Window));
    }
    QCheckBox::paintEvent(event);
}

void FormLabelWidget::paintEvent(QPaintEvent* event) {
    {
        QPainter painter(this);
        painter.fillRect(rect(), palette().color(QPalette::Window));
    }
    QLabel::paintEvent(event);
}

void CompactCheckStyle::SetZoom(int percent) {
    indicator_ = ZoomedSize(kIndicator, percent);
    spacing_ = ZoomedSize(kSpacing, percent);
}

int CompactCheckStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                                   const QWidget* widget) const {
    switch (metric) {
    case PM_IndicatorWidth:
    case PM_IndicatorHeight:
        return indicator_;
    case PM_CheckBoxLabelSpacing:
        return spacing_;
    default:
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
}

QSize CompactCheckStyle::sizeFromContents(ContentsType type, const QStyleOption* option,
                                          const QSize& contents, const QWidget* widget) const {
    if (type == CT_CheckBox)
        return {indicator_ + spacing_ + contents.width(), std::max(contents.height(), indicator_)};
    return QProxyStyle::sizeFromContents(type, option, contents, widget);
}

} // namespace corvana
