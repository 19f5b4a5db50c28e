// The program's real dialogs: what the user sees in a message box, what the colour picker hands
// back, and the busy pointer. Each dialog is answered from inside its own event loop.

#include "app/QtDialogs.h"
#include "ui/QtUtil.h"

#include <QApplication>
#include <QColorDialog>
#include <QCursor>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

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

struct SeenBox {
    QString text;
    QString title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
};

// Records the next message box and closes it with `press`, or with Escape when `press` is
// NoButton.
std::shared_ptr<SeenBox> AnswerNextBox(QMessageBox::StandardButton press) {
    auto seen = std::make_shared<SeenBox>();
    WhenShown<QMessageBox>([seen, press](QMessageBox* box) {
        seen->text = box->text();
        seen->title = box->windowTitle();
        seen->icon = box->icon();
        seen->buttons = box->standardButtons();
        if (box->defaultButton() != nullptr)
            seen->defaultButton = box->standardButton(box->defaultButton());
        if (press == QMessageBox::NoButton)
            QTest::keyClick(box, Qt::Key_Escape);
        else
            box->button(press)->click();
    });
    return seen;
}

} // namespace

TEST(QtDialogs, MessageBoxShowsExactTextTitleButtonsAndIconAndReturnsTheAnswer) {
    QtDialogs dialogs;
    struct Case {
        Buttons buttons;
        Icon icon;
        QMessageBox::StandardButton press;
        Answer expected;
        QMessageBox::Icon qtIcon;
        QMessageBox::StandardButtons qtButtons;
        QMessageBox::StandardButton qtDefault;
    };
    const QMessageBox::StandardButtons yesNo = QMessageBox::Yes | QMessageBox::No;
    const QMessageBox::StandardButtons yesNoCancel = yesNo | QMessageBox::Cancel;
    const Case cases[] = {
        {Buttons::Ok, Icon::Critical, QMessageBox::Ok, Answer::Ok, QMessageBox::Critical, QMessageBox::Ok,
         QMessageBox::Ok},
        {Buttons::YesNo, Icon::Exclamation, QMessageBox::No, Answer::No, QMessageBox::Warning, yesNo,
         QMessageBox::Yes},
        {Buttons::YesNo, Icon::Information, QMessageBox::Yes, Answer::Yes, QMessageBox::Information, yesNo,
         QMessageBox::Yes},
        {Buttons::YesNoCancel, Icon::None, QMessageBox::Cancel, Answer::Cancel, QMessageBox::NoIcon,
         yesNoCancel, QMessageBox::Yes},
        // Escape (NoButton here) answers No, Cancel or OK.
        {Buttons::YesNo, Icon::None, QMessageBox::NoButton, Answer::No, QMessageBox::NoIcon, yesNo,
         QMessageBox::Yes},
        {Buttons::YesNoCancel, Icon::None, QMessageBox::NoButton, Answer::Cancel, QMessageBox::NoIcon,
         yesNoCancel, QMessageBox::Yes},
        {Buttons::Ok, Icon::None, QMessageBox::NoButton, Answer::Ok, QMessageBox::NoIcon, QMessageBox::Ok,
         QMessageBox::Ok},
    };
    for (const Case& c : cases) {
        const auto seen = AnswerNextBox(c.press);
        const Answer answer = dialogs.MessageBox("Two  spaces & an ampersand <b>not bold</b>\r\n/x/y.txt",
                                                 "Color Scheme Fatal Error", c.buttons, c.icon);
        EXPECT_EQ(answer, c.expected);
        // Plain text: the markup stays visible, and CR LF becomes one line break.
        EXPECT_EQ(seen->text, QStringLiteral("Two  spaces & an ampersand <b>not bold</b>\n/x/y.txt"));
        EXPECT_EQ(seen->title, QStringLiteral("Color Scheme Fatal Error"));
        EXPECT_EQ(seen->icon, c.qtIcon);
        EXPECT_EQ(seen->buttons, c.qtButtons);
        EXPECT_EQ(seen->defaultButton, c.qtDefault);
    }
}

TEST(QtDialogs, ColourPickerStartsOnTheGivenColourAndHandsBackThePackedChoice) {
    QtDialogs dialogs;
    // 0x00BBGGRR: red 0x12, green 0x34, blue 0x56.
    const ColorValue initial = 0x00563412;

    auto shown = std::make_shared<QColor>();
    WhenShown<QColorDialog>([shown](QColorDialog* dialog) {
        *shown = dialog->currentColor();
        dialog->setCurrentColor(QColor(0xAB, 0xCD, 0xEF));
        dialog->accept();
    });
    EXPECT_EQ(dialogs.PickColor(initial), 0x00EFCDAB);
    EXPECT_EQ(*shown, QColor(0x12, 0x34, 0x56));

    WhenShown<QColorDialog>([](QColorDialog* dialog) {
        dialog->setCurrentColor(QColor(0xAB, 0xCD, 0xEF));
        dialog->reject();
    });
    EXPECT_EQ(dialogs.PickColor(initial), initial);
}

TEST(QtDialogs, BusyPointerIsAStateThatLeavesOtherPointersAlone) {
    ASSERT_EQ(QApplication::overrideCursor(), nullptr);
    {
        QtDialogs dialogs;
        dialogs.SetBusy(true);
        ASSERT_NE(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        dialogs.SetBusy(true);
        dialogs.SetBusy(false);
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);

        QApplication::setOverrideCursor(Qt::CrossCursor);
        dialogs.SetBusy(false);
        ASSERT_NE(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::CrossCursor);
        QApplication::restoreOverrideCursor();

        // A message box while busy shows the normal pointer, and busy comes back afterwards.
        dialogs.SetBusy(true);
        auto duringBox = std::make_shared<bool>(true);
        WhenShown<QMessageBox>([duringBox](QMessageBox* box) {
            *duringBox = QApplication::overrideCursor() != nullptr;
            box->button(QMessageBox::Ok)->click();
        });
        dialogs.MessageBox("t", "Corvana", Buttons::Ok, Icon::None);
        EXPECT_FALSE(*duringBox);
        ASSERT_NE(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    }
    // Closing down while busy gives the pointer back.
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(QtUtil, PackedColoursKeepRedInTheLowByte) {
    EXPECT_EQ(ToQColor(0x0000C0C0), QColor(192, 192, 0));
    EXPECT_EQ(ToQColor(0x00400000), QColor(0, 0, 64));
    EXPECT_EQ(ToQColor(0x000000FF), QColor(Qt::red));
    EXPECT_EQ(ToColorValue(QColor(Qt::blue)), 0x00FF0000);
    EXPECT_EQ(ToColorValue(QColor(1, 2, 3, 4)), 0x00030201);
    for (ColorValue v : {0x00000000, 0x00FFFFFF, 0x00808080, 0x00123456})
        EXPECT_EQ(ToColorValue(ToQColor(v)), v);
}

TEST(QtUtil, TwipRectanglesConvertEdgesSoNeighboursNeverDrift) {
    EXPECT_EQ(TwipsRect(0, 0, 1440, 720), QRect(0, 0, 96, 48));
    // Cells 300 twips apart stay exactly 20 pixels apart, whatever rounding their widths need.
    for (int i = 0; i < 10; ++i) {
        const QRect cell = TwipsRect(120 + 300 * i, 240, 252, 288);
        EXPECT_EQ(cell.left(), 8 + 20 * i);
        EXPECT_EQ(TwipsRect(120 + 300 * (i + 1), 240, 252, 288).left() - cell.left(), 20);
    }
}
