// The colour editor window on the offscreen platform: what it shows, and a walk through it with
// the mouse, the keyboard and the menu. What the editor then does to the scheme and the file is
// the model tests' business; here each way in only has to reach it.

#include "colors/ColorEditorWindow.h"

#include "FakeDialogs.h"
#include "MenuEntries.h"
#include "TempDir.h"

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include <gtest/gtest.h>

using namespace corvana;

namespace {

// A shown colour editor on the default scheme, its dialogs scripted.
struct Editor {
    Editor() {
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    QColor Shown(ColorRow row, int k) const {
        return window.SampleBox(row, k)->palette().color(QPalette::Window);
    }

    corvana::test::TempDir dir;
    ColorScheme colors = [] {
        ColorScheme scheme;
        SetDefaultColors(scheme);
        scheme.CheckedColor[1] = 0x0000FF;
        return scheme;
    }();
    bool exitRequested = false;
    corvana::test::FakeDialogs dialogs;
    ColorEditorWindow window{colors, exitRequested, dialogs, dir.File(kColorFileName)};
};

} // namespace

TEST(frmColorsWindow, ShowsEveryControlReadablyWithItsGivenTexts) {
    Editor e;
    ColorEditorWindow& f = e.window;
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Color Options"));
    EXPECT_TRUE(f.isModal()) << "the other windows wait while colours are chosen";
    QWidget* client = f.findChild<QWidget*>(QStringLiteral("client"));
    EXPECT_EQ(client->palette().color(QPalette::Window), QColor(0, 0, 64));
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
    EXPECT_EQ(f.SampleBox(ColorRow::Background, 0)->objectName(), QStringLiteral("picBG"));
    EXPECT_EQ(f.RowLabel(ColorRow::Checked, 2)->objectName(), QStringLiteral("lblChecked"));
    // The boxes show the scheme, red in the low byte.
    EXPECT_EQ(e.Shown(ColorRow::Secondary, 0), QColor(255, 255, 0));
    EXPECT_EQ(e.Shown(ColorRow::Checked, 1), QColor(255, 0, 0));
    // The focus ring shows on any colour: white under black dashes, none of the sample between.
    QWidget* first = f.SampleBox(ColorRow::Background, 0);
    first->setFocus();
    const QImage ring = first->grab().toImage();
    const qreal dpr = ring.devicePixelRatio();
    int white = 0, black = 0;
    for (int x = 3; x < first->width() - 4; ++x) {
        const QColor c = ring.pixelColor(qRound(x * dpr), qRound(2 * dpr));
        EXPECT_TRUE(c == Qt::white || c == Qt::black) << x;
        white += c == Qt::white;
        black += c == Qt::black;
    }
    EXPECT_TRUE(white > 0 && black > 0);
    // Tab walks the boxes frame by frame, row by row.
    for (int k = 0; k < 3; ++k)
        for (const ColorRow row : kColorRows) {
            EXPECT_EQ(QApplication::focusWidget(), f.SampleBox(row, k)) << k << static_cast<int>(row);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
    QLabel* text = f.Instructions();
    EXPECT_EQ(text->text(), QString::fromStdString(InstructionsText()).replace(QStringLiteral("\r\n"), "\n"));
    EXPECT_LE(text->heightForWidth(text->width()), text->height()) << "instructions cut off";
    EXPECT_TRUE(client->rect().contains(text->geometry()));
    EXPECT_EQ(f.MenuBar()->actions().front()->text(), QStringLiteral("&Options"));
    EXPECT_EQ(corvana::test::Entries(f.MenuBar()->findChild<QMenu*>(QStringLiteral("mnuOptions"))->actions()),
              (QStringList{"mnuDefault=Restore Default Colors [Ctrl+Z]", "mnuSave=Save Color Scheme [Ctrl+S]",
                           "mnuLine=-", "mnuReturn=Return to Main [Ctrl+R]", "mnuExit=E&xit [Ctrl+X]"}));
    f.Model().ColorsChanged = false;
}

// A click on a box or on its label, Space on a focused box, the menu entries, Ctrl+X, Escape and
// the title bar each reach the editor; the boxes repaint.
TEST(frmColorsWindow, ClicksKeysAndMenuReachTheSchemeAndTheFile) {
    Editor e;
    ColorEditorWindow& f = e.window;
    EXPECT_FALSE(f.Model().IsLoading) << "showing the window activates it";
    e.dialogs.colors = {0x0000FF, 0x00FF00, 0xFF0000};
    QTest::mouseClick(f.SampleBox(ColorRow::Secondary, 2), Qt::LeftButton);
    EXPECT_EQ(e.colors.SecondaryColor[2], 0x0000FF);
    EXPECT_EQ(e.Shown(ColorRow::Secondary, 2), QColor(255, 0, 0));
    QTest::mouseClick(f.RowLabel(ColorRow::Background, 0), Qt::LeftButton);
    EXPECT_EQ(e.Shown(ColorRow::Background, 0), QColor(0, 255, 0));
    QTest::keyClick(f.SampleBox(ColorRow::Checked, 1), Qt::Key_Space);
    EXPECT_EQ(e.colors.CheckedColor[1], 0xFF0000);
    // Showing the window again must not forget the unsaved change: closing still asks.
    f.hide();
    f.show();
    e.dialogs.answers = {Answer::Cancel};
    f.mnuReturn()->trigger();
    EXPECT_EQ(e.dialogs.messages.size(), 1u);
    EXPECT_TRUE(f.isVisible());

    f.mnuSave()->trigger();
    EXPECT_FALSE(f.Model().ColorsChanged);
    f.mnuDefault()->trigger();
    EXPECT_EQ(e.Shown(ColorRow::Background, 0), QColor(0, 64, 0));

    // With a change, Exit by its shortcut and Escape ask; Cancel keeps the window, Yes saves.
    e.dialogs.colors = {0x000080};
    QTest::mouseClick(f.SampleBox(ColorRow::Checked, 2), Qt::LeftButton);
    f.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
    e.dialogs.answers = {Answer::Cancel, Answer::Cancel, Answer::Yes};
    QTest::keyClick(&f, Qt::Key_X, Qt::ControlModifier);
    EXPECT_TRUE(e.exitRequested);
    QTest::keyClick(&f, Qt::Key_Escape);
    EXPECT_TRUE(f.isVisible());
    EXPECT_EQ(e.dialogs.messages.size(), 3u);
    f.close();
    EXPECT_FALSE(f.isVisible());
    ColorScheme saved;
    ASSERT_TRUE(LoadColorFile(saved, e.dir.File(kColorFileName)));
    EXPECT_EQ(saved.CheckedColor[2], 0x000080);
}
