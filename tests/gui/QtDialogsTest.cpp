// The program's real dialogs: what the user sees in a message box, what the colour picker hands
// back, and the busy pointer. Each dialog is answered from inside its own event loop.

#include "app/QtDialogs.h"
#include "ui/QtUtil.h"

#include <QApplication>
#include <QColorDialog>
#include <QCursor>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <tuple>

using namespace corvana;

namespace {

// Runs `act` on the first visible top-level widget of type T once its event loop is running.
template <typename T> void WhenShown(std::function<void(T*)> act, int triesLeft = 200) {
    QTimer::singleShot(0, [act, triesLeft] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* dialog = qobject_cast<T*>(w); dialog != nullptr && dialog->isVisible()) {
                act(dialog);
                return;
            }
        }
        if (triesLeft > 0)
            WhenShown<T>(act, triesLeft - 1);
    });
}

Qt::CursorShape Pointer() {
    return QApplication::overrideCursor() ? QApplication::overrideCursor()->shape() : Qt::BitmapCursor;
}

} // namespace

TEST(QtDialogs, MessageBoxShowsExactTextTitleButtonsAndIconAndReturnsTheAnswer) {
    using Box = QMessageBox;
    QtDialogs dialogs;
    const Box::StandardButtons yesNo = Box::Yes | Box::No, yesNoCancel = yesNo | Box::Cancel;
    // Pressed NoButton: Escape, which answers No, Cancel or OK.
    const std::tuple<Buttons, Icon, Box::StandardButton, Answer, Box::Icon, Box::StandardButtons,
                     Box::StandardButton>
        cases[] = {
            {Buttons::Ok, Icon::Critical, Box::Ok, Answer::Ok, Box::Critical, Box::Ok, Box::Ok},
            {Buttons::YesNo, Icon::Exclamation, Box::No, Answer::No, Box::Warning, yesNo, Box::Yes},
            {Buttons::YesNo, Icon::Information, Box::Yes, Answer::Yes, Box::Information, yesNo, Box::Yes},
            {Buttons::YesNoCancel, Icon::None, Box::Cancel, Answer::Cancel, Box::NoIcon, yesNoCancel,
             Box::Yes},
            {Buttons::YesNo, Icon::None, Box::NoButton, Answer::No, Box::NoIcon, yesNo, Box::Yes},
            {Buttons::YesNoCancel, Icon::None, Box::NoButton, Answer::Cancel, Box::NoIcon, yesNoCancel,
             Box::Yes},
            {Buttons::Ok, Icon::None, Box::NoButton, Answer::Ok, Box::NoIcon, Box::Ok, Box::Ok},
        };
    for (const auto& [buttons, icon, press, answer, qtIcon, qtButtons, qtDefault] : cases) {
        QString seen;
        WhenShown<QMessageBox>([&seen, press = press](QMessageBox* box) {
            // Plain text: the markup stays visible, and CR LF becomes one line break.
            seen = QStringList{box->text(),
                               box->textFormat() == Qt::PlainText ? "plain" : "rich",
                               box->windowTitle(),
                               QString::number(box->icon()),
                               QString::number(box->standardButtons()),
                               QString::number(box->standardButton(box->defaultButton()))}
                       .join('|');
            press == QMessageBox::NoButton ? QTest::keyClick(box, Qt::Key_Escape)
                                           : box->button(press)->click();
        });
        EXPECT_EQ(dialogs.MessageBox("Two  spaces & an ampersand <b>not bold</b>\r\n/x/y.txt",
                                     "Color Scheme Fatal Error", buttons, icon),
                  answer);
        EXPECT_EQ(seen, QStringList({"Two  spaces & an ampersand <b>not bold</b>\n/x/y.txt", "plain",
                                     "Color Scheme Fatal Error", QString::number(qtIcon),
                                     QString::number(qtButtons), QString::number(qtDefault)})
                            .join('|'));
    }
}

// The picker starts on the given colour (0x00BBGGRR) and hands back the choice packed the same
// way, or the given colour on a cancel.
TEST(QtDialogs, ColourPickerStartsOnTheGivenColourAndHandsBackThePackedChoice) {
    QtDialogs dialogs;
    for (const bool accept : {true, false}) {
        QColor shown;
        WhenShown<QColorDialog>([&shown, accept](QColorDialog* dialog) {
            shown = dialog->currentColor();
            dialog->setCurrentColor(QColor(0xAB, 0xCD, 0xEF));
            accept ? dialog->accept() : dialog->reject();
        });
        EXPECT_EQ(dialogs.PickColor(0x00563412), accept ? 0x00EFCDAB : 0x00563412);
        EXPECT_EQ(shown, QColor(0x12, 0x34, 0x56));
    }
}

// Busy is a state, not a count; it leaves a pointer set by others alone, steps aside for a
// message box, and is given back when the dialogs close down.
TEST(QtDialogs, BusyPointerIsAStateThatLeavesOtherPointersAlone) {
    ASSERT_EQ(QApplication::overrideCursor(), nullptr);
    {
        QtDialogs dialogs;
        dialogs.SetBusy(true);
        EXPECT_EQ(Pointer(), Qt::WaitCursor);
        dialogs.SetBusy(true);
        dialogs.SetBusy(false);
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        QApplication::setOverrideCursor(Qt::CrossCursor);
        dialogs.SetBusy(false);
        EXPECT_EQ(Pointer(), Qt::CrossCursor);
        QApplication::restoreOverrideCursor();

        dialogs.SetBusy(true);
        bool busyDuringBox = true;
        WhenShown<QMessageBox>([&busyDuringBox](QMessageBox* box) {
            busyDuringBox = QApplication::overrideCursor() != nullptr;
            box->button(QMessageBox::Ok)->click();
        });
        dialogs.MessageBox("t", "Corvana", Buttons::Ok, Icon::None);
        EXPECT_FALSE(busyDuringBox);
        EXPECT_EQ(Pointer(), Qt::WaitCursor);
    }
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// Cells 300 twips apart stay exactly 20 pixels apart, whatever rounding their widths need. A text
// too long for its label gets the largest font, in half points, that shows it whole; a
// word-wrapped label first grows down as far as it may.
TEST(QtUtil, TwipEdgesNeverDriftAndFitLabelShrinksTheFontJustEnough) {
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(TwipsRect(120 + 300 * i, 240, 252, 288), QRect(8 + 20 * i, 16, 17, 19));
    QLabel label(QStringLiteral("Corvana Corvana"));
    QFont font = label.font();
    font.setPointSizeF(12);
    label.setFont(font);
    label.resize(label.sizeHint().width() * 3 / 4, label.sizeHint().height());
    EXPECT_TRUE(FitLabel(label, -1, 4.0) && ShowsWholeText(label));
    EXPECT_LT(label.font().pointSizeF(), 12.0);
    font.setPointSizeF(label.font().pointSizeF() + 0.5);
    label.setFont(font);
    EXPECT_FALSE(ShowsWholeText(label)) << "half a point larger would not fit";
    EXPECT_FALSE(FitLabel(label, -1, label.font().pointSizeF())) << "not below the minimum";

    QLabel wrapped(QStringLiteral("one two three four five six seven"));
    wrapped.setWordWrap(true);
    wrapped.setGeometry(0, 10, wrapped.fontMetrics().horizontalAdvance(QStringLiteral("three four")), 5);
    EXPECT_TRUE(FitLabel(wrapped, 500));
    EXPECT_EQ(wrapped.height(), wrapped.heightForWidth(wrapped.width()));
    EXPECT_EQ(wrapped.font().pointSizeF(), QLabel().font().pointSizeF()) << "grown, not shrunk";
}
