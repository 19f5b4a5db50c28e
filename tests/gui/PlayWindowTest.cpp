// The play window on the offscreen platform: what it shows must be exactly what the model
// holds, laid out from the twip tables, and every key, click and menu command must reach the
// model (and nothing else: the cells never edit themselves).

#include "play/PlayWindow.h"
#include "FakeDialogs.h"
#include "play/PlayWidgets.h"
#include "play/Zoom.h"
#include "puzzle/Templates.h"
#include "ui/QtUtil.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QGroupBox>
#include <QImage>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>

using namespace corvana;
using corvana::test::FakeDialogs;

namespace {

// Distinct red, green and blue bytes in every scheme colour, so a colour read the wrong way
// round (0x00RRGGBB instead of 0x00BBGGRR) shows.
ColorScheme TestColors() {
    ColorScheme scheme;
    SetDefaultColors(scheme);
    for (std::size_t k = 0; k < 3; ++k) {
        scheme.BackgroundColor[k] = 0x00D0E0F0 + static_cast<ColorValue>(k); // R F0, G E0, B D0
        scheme.PrimaryColor[k] = 0x00102080;                                 // R 80, G 20, B 10
        scheme.SecondaryColor[k] = 0x00806020;                               // R 20, G 60, B 80
        scheme.CheckedColor[k] = 0x00008040;                                 // R 40, G 80, B 00
    }
    return scheme;
}

struct OpenWindow {
    explicit OpenWindow(const std::string& name, bool show = true, std::uint64_t seed = 5) {
        puzzle.PuzzleName = name;
        EXPECT_TRUE(GeneratePuzzle(puzzle, dialogs, seed));
        window = std::make_unique<PlayWindow>(FormFor(FindTemplate(name)->size), puzzle, colors, dialogs,
                                              [this] { ++helpShown; });
        if (show) {
            window->show();
            window->activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
            EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
        }
    }

    PlayForm& Model() { return window->Model(); }
    const FormConfig& Config() { return window->Model().Config(); }

    QList<QLineEdit*> Cells() const { return window->findChildren<QLineEdit*>(QStringLiteral("txtGrid")); }
    QLineEdit* Cell(int index) const {
        for (QLineEdit* cell : Cells())
            if (cell->property("index").toInt() == index)
                return cell;
        return nullptr;
    }
    QCheckBox* Box(int digits, int index, bool down = false) const {
        const QString name = QStringLiteral("chk%1Numbers%2").arg(digits).arg(down ? "Down" : "");
        for (QCheckBox* box : window->findChildren<QCheckBox*>(name))
            if (box->property("index").toInt() == index)
                return box;
        return nullptr;
    }
    QAction* Action(const char* name) const { return window->findChild<QAction*>(QString::fromLatin1(name)); }
    QGroupBox* Frame(const char* name) const {
        return window->findChild<QGroupBox*>(QString::fromLatin1(name));
    }
    QWidget* Work() const { return Frame("fraWork"); }

    // A cell or box position in pixels, relative to fraWork (cells: to fraUserGrid).
    QRect InWork(const QWidget* w) const { return QRect(w->mapTo(Work(), QPoint(0, 0)), w->size()); }
    QRect InUserGrid(const QWidget* w) const {
        return QRect(w->mapTo(Frame("fraUserGrid"), QPoint(0, 0)), w->size());
    }

    ColorScheme colors = TestColors();
    PuzzleState puzzle;
    FakeDialogs dialogs;
    int helpShown = 0;
    std::unique_ptr<PlayWindow> window;
};

// The colour on screen at a point given in device-independent pixels (the tests also run at
// twice the scale).
QColor Pixel(QWidget* w, QPoint at) {
    const QImage image = w->grab().toImage();
    const qreal ratio = image.devicePixelRatio();
    return image.pixelColor(QPoint(qRound(at.x() * ratio), qRound(at.y() * ratio)));
}

// The first white square outside the starting number.
int FreeWhiteCell(const PuzzleState& puzzle) {
    for (int i = 0; i < puzzle.CellCount(); ++i)
        if (puzzle.GridPattern[static_cast<std::size_t>(i)] &&
            (i < puzzle.StarterFirstCell || i > puzzle.StarterLastCell))
            return i;
    return -1;
}

int BlackCell(const PuzzleState& puzzle) {
    for (int i = 0; i < puzzle.CellCount(); ++i)
        if (!puzzle.GridPattern[static_cast<std::size_t>(i)])
            return i;
    return -1;
}

const char* const kOneOfEachSize[] = {"Small Puzzle Pinwheel", "Normal Puzzle Shield",
                                      "Large Puzzle Four Electrodes"};

} // namespace

// Cells, frames, list boxes and headings show what the model holds, where it puts them; after a
// New Game too.
TEST(PlayWindow, ShowsTheModelsCellsBoxesAndHeadingsWhereTheModelPutsThem) {
    for (const char* name : kOneOfEachSize) {
        SCOPED_TRACE(name);
        OpenWindow w(name);
        const FormConfig& config = w.Config();
        EXPECT_EQ(w.window->windowTitle(), QString::fromLatin1(name));
        EXPECT_EQ(w.window->objectName().toStdString(), std::string(config.name));
        // The keyboard starts in the first cell of the tab order, ready for typing.
        int first = 0;
        for (int i = 0; i < config.CellCount(); ++i)
            if (config.TabIndex(i) < config.TabIndex(first))
                first = i;
        EXPECT_EQ(QApplication::focusWidget(), w.Cell(first));
        ASSERT_EQ(w.Cells().size(), config.CellCount());
        for (int i = 0; i < config.CellCount(); ++i) {
            const TwipRect r = config.CellRect(i);
            EXPECT_EQ(w.InUserGrid(w.Cell(i)), TwipsRect(r.left, r.top, r.width, r.height)) << i;
        }
        ASSERT_NE(w.Frame("fraUserGrid"), nullptr);
        EXPECT_EQ(w.Frame("fraUserGrid")->title(), QStringLiteral("User Grid"));
        const TwipRect& g = config.userGrid;
        EXPECT_EQ(w.InWork(w.Frame("fraUserGrid")), TwipsRect(g.left, g.top, g.width, g.height));
        EXPECT_FALSE(w.window->findChild<QLabel*>(QStringLiteral("lblCopyright"))->isVisible());
        EXPECT_EQ(w.window->findChild<QLabel*>(QStringLiteral("lblAcross")) != nullptr, config.separateLists);

        for (const bool newGame : {false, true}) {
            if (newGame)
                w.Action("mnuNewPuzzle")->trigger();
            for (int i = 0; i < config.CellCount(); ++i) {
                const auto& model = w.Model().Cells()[static_cast<std::size_t>(i)];
                EXPECT_EQ(w.Cell(i)->text().toStdString(), model.text) << i;
                EXPECT_EQ(w.Cell(i)->isEnabled(), model.enabled) << i;
            }
            int shown = 0;
            for (const ListBox& b : w.Model().Boxes()) {
                QCheckBox* box = w.Box(b.digits, b.index, b.down);
                ASSERT_NE(box, nullptr) << b.Name() << " " << b.index;
                EXPECT_EQ(box->isVisible(), b.visible) << b.Name() << " " << b.index;
                EXPECT_EQ(box->text().toStdString(), b.caption);
                EXPECT_EQ(box->isChecked(), b.value == 1);
                if (!b.visible)
                    continue;
                ++shown;
                EXPECT_EQ(w.InWork(box),
                          TwipsRect(b.left, b.top, config.boxWidth[static_cast<std::size_t>(b.digits)], 240))
                    << b.Name() << " " << b.index;
            }
            EXPECT_GT(shown, 20);
        }
        for (const FormLabel& l : w.Model().Labels()) {
            if (l.digits == 0 || !l.visible)
                continue;
            QLabel* label = w.window->findChild<QLabel*>(QString::fromStdString(l.name));
            ASSERT_NE(label, nullptr) << l.name;
            EXPECT_TRUE(label->isVisible()) << l.name;
            EXPECT_EQ(w.InWork(label).topLeft(), QPoint(TwipsToPixels(l.left), TwipsToPixels(l.top)))
                << l.name;
        }
    }
}

TEST(PlayWindow, MenusCarryTheirNamesCaptionsShortcutsAndOrder) {
    OpenWindow w("Normal Puzzle Shield");
    const std::string returnCaption(w.Config().returnCaption);
    const std::tuple<const char*, const char*, QKeySequence> entries[] = {
        {"mnuNewPuzzle", "&New Game", QKeySequence(Qt::CTRL | Qt::Key_N)},
        {"mnuRestartGame", "Restart Game", {}},
        {"mnuShowStartingNumber", "Show Starting Number", {}},
        {"mnuPrintNew", "Print Original", {}},
        {"mnuPrintCurrent", "Print Current", {}},
        {"mnuPrintSolution", "Print Solution", {}},
        {"mnuHelp", "&Help", QKeySequence(Qt::Key_F1)},
        {"mnuReturnToMain", returnCaption.c_str(), QKeySequence(Qt::CTRL | Qt::Key_R)},
        {"mnuExit", "E&xit", QKeySequence(Qt::CTRL | Qt::Key_X)},
        {"mnuSolution", "&Show Solution / User Grid", QKeySequence(Qt::CTRL | Qt::Key_S)},
        {"mnuUndo", "Undo ", QKeySequence(Qt::CTRL | Qt::Key_Z)},
        {"mnuBuffer", "Buffer = ", {}},
        {"mnuZoomIn", "Zoom In", QKeySequence(Qt::CTRL | Qt::Key_Plus)},
        {"mnuZoomOut", "Zoom Out", QKeySequence(Qt::CTRL | Qt::Key_Minus)},
        {"mnuActualSize", "Actual Size", QKeySequence(Qt::CTRL | Qt::Key_0)},
    };
    for (const auto& [name, caption, keys] : entries) {
        QAction* action = w.Action(name);
        ASSERT_NE(action, nullptr) << name;
        EXPECT_EQ(action->text(), QString::fromLatin1(caption)) << name;
        EXPECT_EQ(action->shortcut(), keys) << name;
    }
    const auto names = [](const QList<QAction*>& actions) {
        QStringList out;
        for (QAction* a : actions)
            out << a->objectName() + "=" + (a->isSeparator() ? QStringLiteral("-") : a->text());
        return out;
    };
    EXPECT_EQ(names(w.window->menuBar()->actions()),
              (QStringList{"mnuFile=&File", "mnuEdit=&Edit", "mnuView=&View", "mnuBuffer=Buffer = "}));
    EXPECT_EQ(names(w.window->findChild<QMenu*>(QStringLiteral("mnuView"))->actions()),
              (QStringList{"mnuZoomIn=Zoom In", "mnuZoomOut=Zoom Out", "mnuActualSize=Actual Size"}));
    EXPECT_EQ(names(w.window->findChild<QMenu*>(QStringLiteral("mnuFile"))->actions()),
              (QStringList{"mnuNewPuzzle=&New Game", "mnuRestartGame=Restart Game",
                           "mnuShowStartingNumber=Show Starting Number", "mnuPrint=Print", "mnuSpace=-",
                           "mnuHelp=&Help", "mnuSpace2=-",
                           "mnuReturnToMain=" + QString::fromStdString(returnCaption), "mnuExit=E&xit"}));
    // Right after loading: Undo disabled, starting number shown so its entry hidden; with the
    // starter hidden the entry is there.
    EXPECT_FALSE(w.Action("mnuUndo")->isEnabled());
    EXPECT_FALSE(w.Action("mnuShowStartingNumber")->isVisible());
    w.puzzle.NoShowFirst = true;
    w.Action("mnuNewPuzzle")->trigger();
    EXPECT_TRUE(w.Action("mnuShowStartingNumber")->isVisible());
}

TEST(PlayWindow, ColoursAreTheSchemesWithRedInTheLowByte) {
    OpenWindow w("Large Puzzle Four Electrodes");
    const auto k = static_cast<std::size_t>(w.Config().ColorIndex());
    const QColor back = ToQColor(w.colors.BackgroundColor[k]);
    ASSERT_EQ(back, QColor(static_cast<int>(0xF0 + k), 0xE0, 0xD0));

    // The form around fraWork, fraWork itself and the frame of the grid.
    QWidget* client = w.window->centralWidget();
    EXPECT_EQ(Pixel(client, QPoint(client->width() - 2, client->height() - 2)), back);
    EXPECT_EQ(Pixel(w.Work(), QPoint(w.Work()->width() / 2, w.Work()->height() - 4)), back);
    EXPECT_EQ(w.Frame("fraUserGrid")->palette().color(QPalette::WindowText),
              ToQColor(w.colors.PrimaryColor[k]));

    // White and black squares, and the starting number in red.
    QLineEdit* whiteCell = w.Cell(FreeWhiteCell(w.puzzle));
    QLineEdit* blackCell = w.Cell(BlackCell(w.puzzle));
    EXPECT_EQ(Pixel(whiteCell, QPoint(3, whiteCell->height() / 2)), QColor(Qt::white));
    EXPECT_EQ(Pixel(blackCell, QPoint(3, blackCell->height() / 2)), QColor(Qt::black));
    EXPECT_EQ(w.Cell(w.puzzle.StarterFirstCell)->palette().color(QPalette::Text), QColor(255, 0, 0));

    // The list boxes in their list colour, the starting number's box in the Checked colour.
    int ticked = 0;
    for (const ListBox& b : w.Model().Boxes()) {
        if (!b.visible)
            continue;
        QCheckBox* box = w.Box(b.digits, b.index, b.down);
        const QColor fore = box->palette().color(QPalette::WindowText);
        EXPECT_EQ(fore, b.value == 1 ? QColor(0x40, 0x80, 0x00) : ToQColor(b.fore)) << b.Name() << b.index;
        EXPECT_EQ(box->palette().color(QPalette::Window), back);
        EXPECT_EQ(Pixel(box, QPoint(box->width() - 1, 0)), back);
        ticked += b.value;
    }
    EXPECT_EQ(ticked, 1);
}

// Every template at every zoom level: no list caption, heading or menu entry is cut off, for
// every number a list of that length could show.
TEST(PlayWindow, EveryCaptionFitsOnEveryTemplateAtEveryZoom) {
    for (const int zoom : kZoomSteps)
        for (const auto& t : Templates()) {
            SCOPED_TRACE(std::string(t.name) + " at " + std::to_string(zoom) + "%");
            OpenWindow w(std::string(t.name));
            w.window->SetZoom(zoom);
            int checked = 0;
            for (QCheckBox* box : w.window->findChildren<QCheckBox*>()) {
                if (!box->isVisible())
                    continue;
                EXPECT_LE(box->sizeHint().width(), box->width()) << box->text().toStdString();
                EXPECT_LE(box->fontMetrics().height(), box->height()) << box->text().toStdString();
                const int digits = static_cast<int>(box->text().size());
                const QString shown = box->text();
                for (char16_t d = u'0'; d <= u'9'; ++d) {
                    box->setText(QString(digits, QChar(d)));
                    EXPECT_LE(box->sizeHint().width(), box->width())
                        << box->objectName().toStdString() << " " << digits;
                }
                box->setText(shown);
                ++checked;
            }
            EXPECT_GT(checked, 20);
            for (QLabel* label : w.window->findChildren<QLabel*>()) {
                if (!label->isVisible())
                    continue;
                EXPECT_LE(label->sizeHint().width(), label->width()) << label->text().toStdString();
                EXPECT_LE(label->sizeHint().height(), label->height()) << label->text().toStdString();
            }
            QGroupBox* grid = w.Frame("fraUserGrid");
            EXPECT_LE(grid->fontMetrics().horizontalAdvance(QStringLiteral("Solution Grid")),
                      grid->width() - 20);
            // Every entry of the menu bar is on the bar, none in an overflow, even with the longest
            // number of the form in the buffer.
            std::size_t longest = 0;
            const auto& boxes = w.Model().Boxes();
            for (std::size_t id = 0; id < boxes.size(); ++id)
                if (boxes[id].caption.size() > boxes[longest].caption.size())
                    longest = id;
            w.window->BoxClicked(static_cast<int>(longest));
            QMenuBar* bar = w.window->menuBar();
            EXPECT_EQ(w.Action("mnuBuffer")->text().toStdString(), "Buffer = " + boxes[longest].caption);
            for (QAction* a : bar->actions())
                EXPECT_TRUE(bar->actionGeometry(a).right() < bar->width()) << a->text().toStdString();
            for (QMenu* menu : w.window->findChildren<QMenu*>()) {
                menu->popup(w.window->mapToGlobal(QPoint(0, 0)));
                EXPECT_LE(menu->sizeHint().width(), menu->width()) << menu->title().toStdString();
                menu->close();
            }
            // A digit fits inside a cell.
            QLineEdit* cell = w.Cell(0);
            EXPECT_LE(cell->fontMetrics().height(), cell->height() - 4);
            EXPECT_LE(cell->fontMetrics().horizontalAdvance(QStringLiteral("8")), cell->width() - 6);
        }
}

// Accessibility is switched on for these tests only. The cells are named when a screen reader
// arrives (or at once in a window opened while one is there, which the offscreen platform,
// having no accessibility bridge, cannot show).
class ScreenReader : public ::testing::Test {
protected:
    void TearDown() override { QAccessible::setActive(false); }
};

TEST_F(ScreenReader, ArrivingAfterTheWindowGetsCellPlacesValuesAndCaptions) {
    OpenWindow w("Normal Puzzle Steps");
    QAccessible::setActive(true);
    const int width = w.Config().width;
    for (const int i : {0, 1, width, 2 * width + 3, w.Config().CellCount() - 1}) {
        QLineEdit* cell = w.Cell(i);
        const QString expected = QStringLiteral("Column %1 Row %2").arg(i % width + 1).arg(i / width + 1);
        EXPECT_EQ(cell->accessibleName(), expected);
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(cell);
        ASSERT_NE(face, nullptr);
        EXPECT_EQ(face->text(QAccessible::Name), expected);
        EXPECT_EQ(face->text(QAccessible::Value), cell->text());
    }
    const int starter = w.puzzle.StarterFirstCell;
    QAccessibleInterface* starterFace = QAccessible::queryAccessibleInterface(w.Cell(starter));
    EXPECT_EQ(starterFace->text(QAccessible::Value).toStdString(),
              std::to_string(w.puzzle.SolutionArray[static_cast<std::size_t>(starter)]));

    QCheckBox* box = w.Box(3, 0);
    QAccessibleInterface* boxFace = QAccessible::queryAccessibleInterface(box);
    EXPECT_EQ(boxFace->text(QAccessible::Name).toStdString(), w.puzzle.Captions[3][0]);

    QMenu* file = w.window->findChild<QMenu*>(QStringLiteral("mnuFile"));
    QAccessibleInterface* menuFace = QAccessible::queryAccessibleInterface(file);
    ASSERT_NE(menuFace, nullptr);
    ASSERT_GT(menuFace->childCount(), 0);
    EXPECT_EQ(menuFace->child(0)->text(QAccessible::Name), QStringLiteral("New Game"));
}

TEST(PlayWindow, TabWalksTheCellsInTabIndexOrder) {
    for (const char* name : {"Small Puzzle H", "Large Puzzle Squares"}) {
        SCOPED_TRACE(name);
        OpenWindow w(name, false);
        const FormConfig& config = w.Config();
        // Walk the focus chain from the cell with the lowest tab index.
        int first = 0;
        for (int i = 0; i < config.CellCount(); ++i)
            if (config.TabIndex(i) < config.TabIndex(first))
                first = i;
        QWidget* at = w.Cell(first);
        int previous = first;
        for (int step = 1; step < config.CellCount(); ++step) {
            at = at->nextInFocusChain();
            auto* cell = qobject_cast<QLineEdit*>(at);
            ASSERT_NE(cell, nullptr) << step;
            const int index = cell->property("index").toInt();
            EXPECT_EQ(config.TabIndex(index), config.TabIndex(previous) + 1) << step;
            previous = index;
        }
    }
}

TEST(PlayWindow, FraWorkIsCentredFromTheOuterSizeAndNeverPushedOff) {
    OpenWindow w("Normal Puzzle Angled");
    const FormConfig& config = w.Config();
    w.window->resize(1000, 800);
    QCoreApplication::processEvents();
    const QSize outer = w.window->frameGeometry().size();
    const int left = (outer.width() * 15 - config.work.width - config.resizeDx) / 2;
    const int top = (outer.height() * 15 - config.work.height - config.resizeDy) / 2;
    EXPECT_EQ(w.Work()->pos(), QPoint(TwipsToPixels(left), TwipsToPixels(top)));
    EXPECT_GT(w.Work()->x(), 50);

    w.window->resize(200, 150);
    QCoreApplication::processEvents();
    EXPECT_EQ(w.Work()->pos(), QPoint(0, 0));
}

TEST(PlayWindow, ListClickTicksTheBoxAndFillsTheBuffer) {
    OpenWindow w("Small Puzzle H");
    const auto& boxes = w.Model().Boxes();
    std::size_t id = 0;
    while (id < boxes.size() && (boxes[id].value == 1 || !boxes[id].visible))
        ++id;
    ASSERT_LT(id, boxes.size());
    QCheckBox* box = w.Box(boxes[id].digits, boxes[id].index, boxes[id].down);
    ASSERT_NE(box, nullptr);
    const QString caption = box->text();
    QTest::mouseClick(box, Qt::LeftButton);
    EXPECT_TRUE(box->isChecked());
    EXPECT_EQ(w.Model().Boxes()[id].value, 1);
    EXPECT_EQ(w.Action("mnuBuffer")->text(), QStringLiteral("Buffer = ") + caption);
    EXPECT_EQ(box->palette().color(QPalette::WindowText), QColor(0x40, 0x80, 0x00));

    // Space on the focused box is a click as well; it unticks and still fills the buffer.
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Space);
    EXPECT_FALSE(box->isChecked());
    EXPECT_EQ(w.Model().Boxes()[id].value, 0);
    EXPECT_EQ(box->palette().color(QPalette::WindowText), ToQColor(w.Model().Boxes()[id].fore));
    EXPECT_NE(box->palette().color(QPalette::WindowText), QColor(0x40, 0x80, 0x00));
}

TEST(PlayWindow, AutoFillByTwoClicksWritesTheBufferedNumberAndUndoTakesItBack) {
    // "Small Puzzle H": row 5 is white from edge to edge, so a 2-digit number fits from column 3.
    OpenWindow w("Small Puzzle H");
    QCheckBox* box = w.Box(2, 3);
    ASSERT_NE(box, nullptr);
    const QString number = box->text();
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(5, box->height() / 2));
    EXPECT_EQ(w.Action("mnuBuffer")->text(), QStringLiteral("Buffer = ") + number);

    QTest::mouseClick(w.Cell(53), Qt::LeftButton);
    QTest::mouseClick(w.Cell(56), Qt::LeftButton);
    EXPECT_EQ(w.Cell(53)->text(), number.left(1));
    EXPECT_EQ(w.Cell(54)->text(), number.mid(1, 1));
    EXPECT_EQ(w.puzzle.UserArray[54], number.mid(1, 1).toShort());
    EXPECT_EQ(w.Action("mnuBuffer")->text(), QStringLiteral("Buffer = "));
    EXPECT_EQ(w.Action("mnuUndo")->text(), QStringLiteral("Undo ") + number);

    QTest::keyClick(w.Cell(56), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(w.Cell(53)->text(), QString());
    EXPECT_EQ(w.Cell(54)->text(), QString());
    EXPECT_FALSE(box->isChecked()) << "undoing the fill unticks its number";
    EXPECT_FALSE(w.Action("mnuUndo")->isEnabled());
}

TEST(PlayWindow, TypedDigitsReachTheModelAndNothingElseEntersACell) {
    OpenWindow w("Small Puzzle Wheel");
    const int i = FreeWhiteCell(w.puzzle);
    QLineEdit* cell = w.Cell(i);
    cell->setFocus();

    QTest::keyClick(cell, Qt::Key_7);
    EXPECT_EQ(cell->text(), QStringLiteral("7"));
    EXPECT_EQ(w.puzzle.UserArray[static_cast<std::size_t>(i)], 7);

    QTest::keyClick(cell, Qt::Key_3, Qt::KeypadModifier);
    EXPECT_EQ(cell->text(), QStringLiteral("3"));
    EXPECT_EQ(w.puzzle.UserArray[static_cast<std::size_t>(i)], 3);

    // Letters, space, punctuation and Enter do nothing.
    QTest::keyClicks(cell, QStringLiteral("ab .,+"));
    QTest::keyClick(cell, Qt::Key_Return);
    EXPECT_EQ(cell->text(), QStringLiteral("3"));
    EXPECT_EQ(w.Model().Cells()[static_cast<std::size_t>(i)].text, "3");

    // Composed text from an input method never arrives.
    QInputMethodEvent compose;
    compose.setCommitString(QStringLiteral("5"));
    QApplication::sendEvent(cell, &compose);
    EXPECT_EQ(cell->text(), QStringLiteral("3"));
    EXPECT_FALSE(cell->testAttribute(Qt::WA_InputMethodEnabled));

    // Paste, its own undo and drops stay out of the cell.
    EXPECT_FALSE(cell->acceptDrops());
    EXPECT_EQ(cell->contextMenuPolicy(), Qt::PreventContextMenu);
    EXPECT_EQ(w.Model().Cells()[static_cast<std::size_t>(i)].text, "3");

    // Delete clears the digit through the model.
    QTest::keyClick(cell, Qt::Key_Delete);
    EXPECT_EQ(cell->text(), QString());
    EXPECT_EQ(w.puzzle.UserArray[static_cast<std::size_t>(i)], -1);
}

// The key as the platform reports it: Qt key, modifiers, the native scan code and virtual key.
int KeyFrom(QStringView platform, int qtKey, Qt::KeyboardModifiers modifiers, quint32 scanCode,
            quint32 virtualKey, const QString& text) {
    const QKeyEvent event(QEvent::KeyPress, qtKey, modifiers, scanCode, virtualKey, 0, text);
    return VirtualKeyCode(event, platform);
}

TEST(PlayWindow, TopRowDigitKeysAreDigitsWhateverShiftOrLayoutMakeOfThem) {
    // Shift+7 on a US keyboard: X11 and Wayland tell the key by its position, Windows by its code.
    EXPECT_EQ(KeyFrom(u"xcb", Qt::Key_Ampersand, Qt::ShiftModifier, 16, 0x26, "&"), vk::Digit0 + 7);
    EXPECT_EQ(KeyFrom(u"wayland", Qt::Key_Ampersand, Qt::ShiftModifier, 16, 0x26, "&"), vk::Digit0 + 7);
    EXPECT_EQ(KeyFrom(u"windows", Qt::Key_Ampersand, Qt::ShiftModifier, 8, 0x37, "&"), vk::Digit0 + 7);
    // Shift+0 and Shift+1, the ends of the row.
    EXPECT_EQ(KeyFrom(u"xcb", Qt::Key_ParenRight, Qt::ShiftModifier, 19, 0x29, ")"), vk::Digit0);
    EXPECT_EQ(KeyFrom(u"xcb", Qt::Key_Exclam, Qt::ShiftModifier, 10, 0x21, "!"), vk::Digit0 + 1);
    // The unshifted 7 key of a French keyboard.
    EXPECT_EQ(KeyFrom(u"xcb", Qt::Key_Egrave, Qt::NoModifier, 16, 0xe8, QStringLiteral("\u00e8")),
              vk::Digit0 + 7);

    // The keypad keeps its own codes; the keys next to the row are no digits.
    EXPECT_EQ(KeyFrom(u"xcb", Qt::Key_7, Qt::KeypadModifier, 79, 0xffb7, "7"), vk::Numpad0 + 7);
    EXPECT_FALSE(IsValidGridKey(KeyFrom(u"xcb", Qt::Key_Minus, Qt::NoModifier, 20, 0x2d, "-")));
    EXPECT_FALSE(IsValidGridKey(KeyFrom(u"xcb", Qt::Key_QuoteLeft, Qt::NoModifier, 49, 0x60, "`")));
    // Where the native codes mean nothing known, only the Qt key counts.
    EXPECT_FALSE(IsValidGridKey(KeyFrom(u"offscreen", Qt::Key_Ampersand, Qt::ShiftModifier, 16, 0x26, "&")));
    EXPECT_EQ(KeyFrom(u"offscreen", Qt::Key_7, Qt::NoModifier, 0, 0, "7"), vk::Digit0 + 7);
}

TEST(PlayWindow, MenuShortcutsFireWhileACellHasTheFocus) {
    OpenWindow w("Normal Puzzle HTT");
    const int i = FreeWhiteCell(w.puzzle);
    QLineEdit* cell = w.Cell(i);
    cell->setFocus();
    ASSERT_TRUE(cell->hasFocus());
    QTest::keyClick(cell, Qt::Key_4);
    ASSERT_TRUE(w.Action("mnuUndo")->isEnabled());
    EXPECT_TRUE(w.Action("mnuUndo")->text().startsWith(QStringLiteral("Undo 4")));

    // Ctrl+Z is the menu's Undo, not the line edit's.
    QTest::keyClick(cell, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(cell->text(), QString());
    EXPECT_EQ(w.puzzle.UserArray[static_cast<std::size_t>(i)], -1);
    EXPECT_FALSE(w.Action("mnuUndo")->isEnabled());
    EXPECT_EQ(w.Action("mnuUndo")->text(), QStringLiteral("Undo "));

    // Ctrl+S shows the solution: every cell locked, and the focus does not wander off
    // through the grid; Ctrl+S again brings the user grid and the focus back.
    QTest::keyClick(cell, Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(w.Model().SolutionShown());
    EXPECT_FALSE(cell->isEnabled());
    EXPECT_EQ(cell->text().toStdString(),
              std::to_string(w.puzzle.SolutionArray[static_cast<std::size_t>(i)]));
    QTest::keyClick(w.window.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(w.Model().SolutionShown());
    EXPECT_TRUE(cell->isEnabled());
    EXPECT_TRUE(cell->hasFocus());
    EXPECT_EQ(cell->text(), QString());

    // F1 asks for help.
    QTest::keyClick(cell, Qt::Key_F1);
    EXPECT_EQ(w.helpShown, 1);

    // Ctrl+N: a new game in place.
    const std::uint64_t seed = w.puzzle.Seed;
    QTest::keyClick(cell, Qt::Key_N, Qt::ControlModifier);
    EXPECT_NE(w.puzzle.Seed, seed);
    EXPECT_FALSE(w.window->Unloaded());

    // Ctrl+= zooms in, Ctrl+- out, Ctrl+0 back to actual size; the cells grow with it.
    const int width = cell->width();
    QTest::keyClick(cell, Qt::Key_Equal, Qt::ControlModifier);
    QTest::keyClick(cell, Qt::Key_Equal, Qt::ControlModifier);
    EXPECT_EQ(w.window->Zoom(), 150);
    EXPECT_EQ(cell->width(), ZoomedPixels(252, 150));
    QTest::keyClick(cell, Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_EQ(w.window->Zoom(), 125);
    QTest::keyClick(cell, Qt::Key_0, Qt::ControlModifier);
    EXPECT_EQ(w.window->Zoom(), 100);
    EXPECT_EQ(cell->width(), width);
    EXPECT_EQ(cell->text(), QString()) << "no key reached the cell";

    // Ctrl+X is Exit, not Cut.
    QTest::keyClick(cell, Qt::Key_X, Qt::ControlModifier);
    EXPECT_TRUE(w.puzzle.ExitRequested);
    EXPECT_TRUE(w.window->Unloaded());
}

TEST(PlayWindow, AMousePressGoesToTheModelAndFocusesTheCell) {
    OpenWindow w("Small Puzzle Five Squares");
    const int i = FreeWhiteCell(w.puzzle);
    QLineEdit* cell = w.Cell(i);
    QTest::mouseClick(cell, Qt::RightButton);
    EXPECT_TRUE(cell->hasFocus());
    EXPECT_EQ(w.Model().FillStartCell(), i);
    // The start square turns blue on screen.
    EXPECT_EQ(cell->palette().color(QPalette::Base), QColor(0, 0, 255));
    EXPECT_EQ(Pixel(cell, QPoint(3, cell->height() / 2)), QColor(0, 0, 255));
    // No context menu popped up from the right button.
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);

    QTest::mouseClick(cell, Qt::LeftButton);
    EXPECT_EQ(w.Model().FillStartCell(), -1);
    EXPECT_EQ(cell->palette().color(QPalette::Base), QColor(Qt::white));
}

TEST(PlayWindow, ExecReturnsOnceTheWindowIsUnloadedByReturnOrTheTitleBar) {
    for (const bool titleBar : {false, true}) {
        OpenWindow w("Small Puzzle Project X", false);
        QTimer::singleShot(0, w.window.get(), [&w, titleBar] {
            if (titleBar)
                w.window->close();
            else
                w.Action("mnuReturnToMain")->trigger();
        });
        w.window->exec();
        EXPECT_TRUE(w.window->Unloaded());
        EXPECT_FALSE(w.window->isVisible());
        EXPECT_FALSE(w.puzzle.ExitRequested);
        EXPECT_EQ(w.window->windowModality(), Qt::ApplicationModal);
    }
}

// A change of hundreds of widgets at once (the solution view) is painted as one repaint of the
// form; what reaches the screen must still be every changed cell and box.
TEST(PlayWindow, BulkChangesReachTheScreen) {
    OpenWindow w("Large Puzzle Four Electrodes");
    auto onScreen = [&w] {
        QCoreApplication::processEvents();
        return w.window->screen()->grabWindow(w.window->winId()).toImage();
    };
    // Dark pixels inside a widget, as the screen shows it.
    auto ink = [&w](const QImage& screen, QWidget* widget) {
        const qreal ratio = w.window->devicePixelRatio();
        const QPoint origin = widget->mapTo(w.window.get(), QPoint(0, 0));
        int dark = 0;
        for (int y = 3; y < widget->height() - 3; ++y)
            for (int x = 3; x < widget->width() - 3; ++x)
                if (screen
                        .pixelColor(
                            QPoint(qRound((origin.x() + x) * ratio), qRound((origin.y() + y) * ratio)))
                        .lightness() < 100)
                    ++dark;
        return dark;
    };
    // The last white square and the last list box: they are synchronised after the window has
    // switched to one repaint for all.
    int i = w.puzzle.CellCount() - 1;
    while (!w.puzzle.GridPattern[static_cast<std::size_t>(i)])
        --i;
    QLineEdit* cell = w.Cell(i);
    const ListBox& last = w.Model().Boxes().back();
    QCheckBox* box = w.Box(last.digits, last.index, last.down);
    ASSERT_NE(box, nullptr);
    ASSERT_EQ(last.value, 0);
    // Keep the focus off the cells, so that no focus change repaints the form by itself.
    w.Box(last.digits, 0, last.down)->setFocus();

    const QImage before = onScreen();
    if (before.width() < qRound(w.window->width() * w.window->devicePixelRatio()))
        GTEST_SKIP() << "this platform grabs only a corner of a window drawn at more than one pixel a pixel";
    EXPECT_EQ(ink(before, cell), 0);
    const int unticked = ink(before, box);

    w.Action("mnuSolution")->trigger();
    const QImage solution = onScreen();
    EXPECT_GT(ink(solution, cell), 3) << "the solution digit is on screen";
    EXPECT_GT(ink(solution, box), unticked + 3) << "the tick is on screen";

    w.Action("mnuSolution")->trigger();
    const QImage user = onScreen();
    EXPECT_EQ(ink(user, cell), 0) << "the empty user cell is back on screen";
    EXPECT_EQ(ink(user, box), unticked) << "the box is unticked on screen";
}
