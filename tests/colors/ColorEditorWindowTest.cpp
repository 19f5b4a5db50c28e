// The colour editor window on the offscreen platform: what it shows, and a walk through it with
// the mouse, the keyboard and the menu.

#include "colors/ColorEditorWindow.h"

#include "FakeDialogs.h"
#include "TempDir.h"

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>

using namespace corvana;
using corvana::test::FakeDialogs;
using corvana::test::TempDir;

namespace {

struct Fixture {
    Fixture() { SetDefaultColors(colors); }
    TempDir dir;
    ColorScheme colors;
    bool exitRequested = false;
    FakeDialogs dialogs;
    std::string Path() const { return dir.File(kColorFileName); }
};

QColor Shown(QWidget* w) {
    return w->palette().color(QPalette::Window);
}

} // namespace

TEST(frmColorsWindow, ShowsEveryControlReadablyWithItsGivenTexts) {
    Fixture fx;
    fx.colors.CheckedColor[1] = 0x0000FF;
    ColorEditorWindow f(fx.colors, fx.exitRequested, fx.dialogs, fx.Path());
    f.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Color Options"));
    EXPECT_TRUE(f.isModal()) << "the other windows wait while colours are chosen";
    QWidget* client = f.findChild<QWidget*>(QStringLiteral("client"));
    EXPECT_EQ(Shown(client), QColor(0, 0, 64));

    const char* frameNames[3] = {"fraSmall", "fraNormal", "fraLarge"};
    const char* rowCaptions[4] = {"Background", "Primary", "Secondary", "Checked"};
    for (int k = 0; k < 3; ++k) {
        QGroupBox* frame = f.Frame(k);
        EXPECT_EQ(frame->objectName(), QString::fromLatin1(frameNames[k]));
        for (const ColorRow row : kColorRows) {
            QLabel* label = f.RowLabel(row, k);
            QWidget* box = f.SampleBox(row, k);
            EXPECT_EQ(label->text(), QString::fromLatin1(rowCaptions[static_cast<int>(row)]));
            EXPECT_LE(label->sizeHint().width(), label->width()) << "caption cut off";
            EXPECT_LT(label->geometry().right(), box->geometry().left()) << "label runs into its box";
            EXPECT_TRUE(frame->contentsRect().contains(box->geometry()));
            EXPECT_EQ(box->accessibleDescription(), QString::fromUtf8(colortexts::kSampleToolTip));
        }
    }
    // Tab walks the boxes frame by frame, row by row.
    QWidget* expected = f.SampleBox(ColorRow::Background, 0);
    expected->setFocus();
    // The focus ring shows on any colour: white under black dashes, none of the sample between.
    const QImage ring = expected->grab().toImage();
    const qreal dpr = ring.devicePixelRatio();
    int white = 0, black = 0;
    for (int x = 3; x < expected->width() - 4; ++x) {
        const QColor c = ring.pixelColor(qRound(x * dpr), qRound(2 * dpr));
        EXPECT_TRUE(c == Qt::white || c == Qt::black) << x;
        white += c == Qt::white;
        black += c == Qt::black;
    }
    EXPECT_GT(white, 0);
    EXPECT_GT(black, 0);
    for (int k = 0; k < 3; ++k)
        for (const ColorRow row : kColorRows) {
            EXPECT_EQ(QApplication::focusWidget(), f.SampleBox(row, k)) << k << static_cast<int>(row);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
    EXPECT_EQ(f.SampleBox(ColorRow::Background, 0)->objectName(), QStringLiteral("picBG"));
    EXPECT_EQ(f.RowLabel(ColorRow::Checked, 2)->objectName(), QStringLiteral("lblChecked"));
    // The boxes show the scheme, red in the low byte.
    EXPECT_EQ(Shown(f.SampleBox(ColorRow::Secondary, 0)), QColor(255, 255, 0));
    EXPECT_EQ(Shown(f.SampleBox(ColorRow::Checked, 1)), QColor(255, 0, 0));

    QLabel* text = f.Instructions();
    EXPECT_EQ(text->text(), QString::fromStdString(InstructionsText()).replace(QStringLiteral("\r\n"), "\n"));
    EXPECT_LE(text->heightForWidth(text->width()), text->height()) << "instructions cut off";
    EXPECT_TRUE(client->rect().contains(text->geometry()));

    QStringList items;
    for (QAction* a : f.MenuBar()->findChild<QMenu*>(QStringLiteral("mnuOptions"))->actions())
        items << a->objectName() + "=" + (a->isSeparator() ? "-" : a->text()) + " " +
                     a->shortcut().toString();
    EXPECT_EQ(items,
              (QStringList{"mnuDefault=Restore Default Colors Ctrl+Z", "mnuSave=Save Color Scheme Ctrl+S",
                           "mnuLine=- ", "mnuReturn=Return to Main Ctrl+R", "mnuExit=E&xit Ctrl+X"}));
    EXPECT_EQ(f.MenuBar()->actions().front()->text(), QStringLiteral("&Options"));
    f.Model().ColorsChanged = false;
    f.close();
}

TEST(frmColorsWindow, ClicksKeysAndMenuReachTheSchemeAndTheFile) {
    Fixture fx;
    ColorEditorWindow f(fx.colors, fx.exitRequested, fx.dialogs, fx.Path());
    f.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    EXPECT_FALSE(f.Model().IsLoading) << "showing the window activates it";

    // A click on a sample box.
    fx.dialogs.colors = {0x0000FF};
    QTest::mouseClick(f.SampleBox(ColorRow::Secondary, 2), Qt::LeftButton);
    EXPECT_EQ(fx.colors.SecondaryColor[2], 0x0000FF);
    EXPECT_EQ(Shown(f.SampleBox(ColorRow::Secondary, 2)), QColor(255, 0, 0));
    EXPECT_TRUE(f.Model().ColorsChanged);
    // Showing the window again must not forget the unsaved change: closing still asks.
    f.hide();
    f.show();
    EXPECT_TRUE(f.Model().ColorsChanged);
    fx.dialogs.answers = {Answer::Cancel};
    f.mnuReturn()->trigger();
    EXPECT_EQ(fx.dialogs.messages.size(), 1u);

    // A click on a label changes the box of its row.
    fx.dialogs.colors = {0x00FF00};
    QTest::mouseClick(f.RowLabel(ColorRow::Background, 0), Qt::LeftButton);
    EXPECT_EQ(Shown(f.SampleBox(ColorRow::Background, 0)), QColor(0, 255, 0));

    // Space on a focused box.
    fx.dialogs.colors = {0xFF0000};
    QTest::keyClick(f.SampleBox(ColorRow::Checked, 1), Qt::Key_Space);
    EXPECT_EQ(fx.colors.CheckedColor[1], 0xFF0000);

    // Save from the menu writes the file.
    f.mnuSave()->trigger();
    ColorScheme saved;
    ASSERT_TRUE(LoadColorFile(saved, fx.Path()));
    EXPECT_EQ(saved, fx.colors);
    EXPECT_FALSE(f.Model().ColorsChanged);

    // Restore Default Colors repaints the boxes.
    f.mnuDefault()->trigger();
    EXPECT_EQ(Shown(f.SampleBox(ColorRow::Background, 0)), QColor(0, 64, 0));

    // Return to Main with a change: Cancel keeps the window, No closes it.
    fx.dialogs.colors = {0x000080};
    QTest::mouseClick(f.SampleBox(ColorRow::Primary, 0), Qt::LeftButton);
    fx.dialogs.answers = {Answer::Cancel};
    f.mnuReturn()->trigger();
    EXPECT_TRUE(f.isVisible());
    fx.dialogs.answers = {Answer::No};
    f.mnuReturn()->trigger();
    EXPECT_FALSE(f.isVisible());
    EXPECT_FALSE(fx.exitRequested);
    EXPECT_EQ(fx.dialogs.messages.size(), 3u);
}

TEST(frmColorsWindow, ExitThenCancelThenClosingTheWindowEndsTheProgram) {
    Fixture fx;
    ColorEditorWindow f(fx.colors, fx.exitRequested, fx.dialogs, fx.Path());
    f.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    fx.dialogs.colors = {0x000080};
    QTest::mouseClick(f.SampleBox(ColorRow::Checked, 2), Qt::LeftButton);

    // Exit by its shortcut.
    f.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
    fx.dialogs.answers = {Answer::Cancel};
    QTest::keyClick(&f, Qt::Key_X, Qt::ControlModifier);
    EXPECT_TRUE(fx.exitRequested);
    EXPECT_TRUE(f.isVisible());

    // Escape (and the title bar's close) go through the same question.
    fx.dialogs.answers = {Answer::Cancel};
    QTest::keyClick(&f, Qt::Key_Escape);
    EXPECT_TRUE(f.isVisible());
    ASSERT_EQ(fx.dialogs.messages.size(), 2u);

    fx.dialogs.answers = {Answer::Yes};
    f.close();
    EXPECT_FALSE(f.isVisible());
    EXPECT_TRUE(fx.exitRequested);
    ColorScheme saved;
    ASSERT_TRUE(LoadColorFile(saved, fx.Path()));
    EXPECT_EQ(saved.CheckedColor[2], 0x000080);
}
