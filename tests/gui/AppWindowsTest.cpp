// The main window, the credits, the help window, the colour editor and the program's real
// dialogs as widgets on the offscreen platform: names, captions, what fits, and the commands
// reaching their handlers (what the handlers then do is the model tests' business). A dialog or
// child window is answered from inside its own event loop.

#include "app/AppContext.h"
#include "app/BestTimesWindow.h"
#include "app/Credits.h"
#include "app/CreditsWindow.h"
#include "app/HowToPlayWindow.h"
#include "app/MainWindow.h"
#include "app/QtDialogs.h"
#include "app/QtWindowOpener.h"
#include "colors/ColorEditorWindow.h"
#include "corvana/Version.h"
#include "play/GameStore.h"
#include "play/PlayWindow.h"
#include "print/GridPainter.h"
#include "puzzle/GeneratePuzzle.h"
#include "solver/Rules.h"
#include "ui/QtUtil.h"

#include "../app/AppState.h"
#include "../app/ScriptedOpener.h"
#include "DefaultColors.h"
#include "FakeDialogs.h"
#include "MenuEntries.h"
#include "QtPrinters.h"
#include "TempDir.h"

#include <QTest>
#include <QtWidgets>

#include <gtest/gtest.h>

#include <map>
#include <tuple>

using namespace corvana;
using namespace corvana::test;

namespace {

// Runs `act` on the first visible top-level widget of type T (and of the given name, if one is
// given) once the nested event loop that shows it is running.
template <typename T = QWidget, typename Act> void WhenShown(const QString& name, Act act, int tries = 500) {
    QTimer::singleShot(0, [name, act, tries] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* t = qobject_cast<T*>(w);
                t && t->isVisible() && (name.isEmpty() || w->objectName() == name)) {
                act(t);
                return;
            }
        if (tries > 0)
            WhenShown<T>(name, act, tries - 1);
    });
}

// Shows a window and waits until it is on the screen.
bool OnScreen(QWidget& window) {
    window.show();
    return QTest::qWaitForWindowExposed(&window);
}

const auto Action = [](QWidget& window, const char* name) { return window.findChild<QAction*>(name); };

// A help window's control of the given name and Index property.
template <typename T> T* Indexed(HowToPlayWindow& help, const char* name, int index) {
    for (T* w : help.findChildren<T*>(QString::fromUtf8(name)))
        if (w->property("Index").toInt() == index)
            return w;
    return nullptr;
}

// The Index of the one help page shown, or -1 if not exactly one is.
int PageShown(HowToPlayWindow& help) {
    int shown = -1, count = 0;
    for (QGroupBox* page : help.findChildren<QGroupBox*>(QStringLiteral("fraHowToPlay")))
        if (page->isVisible())
            shown = ++count == 1 ? page->property("Index").toInt() : -1;
    return shown;
}

// Every visible control below `parent` lies inside its parent, overlaps no visible sibling (the
// designed forms let neighbours share a pixel's edge) and shows its whole caption, and a caption's
// letter leads the keyboard to a control; `where` names the window in a failure.
void ExpectWholeAndApart(const QWidget& parent, const std::string& where) {
    QList<QWidget*> shown = parent.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    shown.removeIf([](QWidget* w) { return !w->isVisible() || w->isWindow(); });
    for (qsizetype i = 0; i < shown.size(); ++i) {
        QWidget* w = shown[i];
        const std::string name = where + "/" + w->objectName().toStdString();
        EXPECT_TRUE(parent.contentsRect().contains(w->geometry())) << name << " sticks out of its parent";
        for (qsizetype j = i + 1; j < shown.size(); ++j) {
            const QRect both = w->geometry() & shown[j]->geometry();
            EXPECT_LE(std::min(both.width(), both.height()), 1)
                << name << " overlaps " << shown[j]->objectName().toStdString();
        }
        if (auto* label = qobject_cast<QLabel*>(w)) {
            EXPECT_TRUE(ShowsWholeText(*label)) << name << " cut off";
            // A caption with its letter marked (wrapped prose may quote the menus' marks).
            EXPECT_TRUE(label->wordWrap() || !label->text().contains('&') ||
                        (label->buddy() && label->buddy()->isVisible()))
                << name << ": Alt and the caption's letter lead nowhere";
        } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            // It asks for room around its widest word and a line, and has that room.
            const QSize hint = button->sizeHint();
            int widest = 0;
            for (const QString& word : button->text().remove(QLatin1Char('&')).split(QLatin1Char(' ')))
                widest = std::max(widest, button->fontMetrics().horizontalAdvance(word));
            EXPECT_TRUE(widest < hint.width() && hint.width() <= button->width() &&
                        hint.height() >= button->fontMetrics().height())
                << name << " cut off";
        } else if (auto* table = qobject_cast<QTableWidget*>(w)) {
            for (int c = 0; c < table->columnCount(); ++c)
                for (int r = -1; r < table->rowCount(); ++r) {
                    const QString text = (r < 0 ? table->horizontalHeaderItem(c) : table->item(r, c))->text();
                    EXPECT_GE(table->columnWidth(c), table->fontMetrics().horizontalAdvance(text))
                        << name << " column " << c << " cuts off " << text.toStdString();
                    // A row is as tall as its text and a little air: not cut off, nor spaced out.
                    const int line = table->fontMetrics().height();
                    EXPECT_NEAR(r < 0 ? line : table->rowHeight(r), line * 1.25, line * 0.25)
                        << name << " row " << r;
                }
        } else if (!qobject_cast<QAbstractScrollArea*>(w) && !qobject_cast<QLineEdit*>(w)) {
            ExpectWholeAndApart(*w, name);
        }
        const auto* frame = qobject_cast<QGroupBox*>(w);
        EXPECT_LE(frame ? frame->fontMetrics().horizontalAdvance(frame->title()) : 0, w->width()) << name;
    }
}

Qt::CursorShape Pointer() {
    return QApplication::overrideCursor() ? QApplication::overrideCursor()->shape() : Qt::BitmapCursor;
}

} // namespace

// The menus with their names, captions and shortcuts; the product name and the menu bar fit;
// fraWork stays centred; commands reach their handlers, but not while a child window is open.
TEST(MainWindow, ShowsItsMenusAndColoursAndCommandsReachTheirHandlers) {
    AppState a;
    ScriptedOpener opener;
    MainWindow window(a.puzzle, a.exitRequested, a.colors, a.dialogs, opener, a.colorFile);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Main Menu"));
    const std::map<QString, QString> menus = {
        {"", "mnuNewPuzzle=New Puzzle|mnuDifficulty=Difficulty Options|mnuOther=Other Options"},
        {"mnuNewPuzzle",
         "mnuResume=Resume Last Puzzle|mnuSmall=Small Puzzle|mnuNormal=Normal Puzzle|mnuLarge=Large Puzzle"},
        {"mnuSmall",
         "mnuH=H|mnuPinwheel=Pinwheel|mnuFiveSquares=Five Squares|mnuWheel=Wheel|mnuProjectX=Project X"},
        {"mnuNormal", "mnuPlus=Plus|mnuSteps=Steps|mnuShield=Shield|mnuBrokenPieces=Broken Pieces|"
                      "mnuFivePlus=Five Plus|mnuAngled=Angled|mnuHTT=HTT"},
        {"mnuLarge", "mnuCrazyEights=Crazy Eights|mnuSquares=Squares|mnuFourElectrodes=Four Electrodes"},
        {"mnuDifficulty", "mnuNoShow=Don't Show First Number|mnuReduced=Reduced Numbers"},
        {"mnuOther", "mnuHowToPlay=How to Play [F1]|mnuColors=Colors|mnuSpace=-|mnuCredits=Credits|"
                     "mnuExit=E&xit [Ctrl+X]|mnuBestTimes=Best Times..."}};
    EXPECT_EQ(Entries(window.menuBar()->actions()).join('|'), menus.at(""));
    for (QMenu* menu : window.findChildren<QMenu*>()) // the bar's overflow menu has no name
        EXPECT_TRUE(menu->objectName().isEmpty() ||
                    Entries(menu->actions()).join('|') == menus.at(menu->objectName()));
    EXPECT_FALSE(Action(window, "mnuExit")->isVisible());

    window.Form_Load();
    EXPECT_FALSE(Action(window, "mnuResume")->isEnabled()) << "no game kept to resume";
    ASSERT_TRUE(OnScreen(window));
    auto* name = window.findChild<QLabel*>(QStringLiteral("lblAppName"));
    EXPECT_EQ(std::tuple(name->text().toStdString(), name->font().bold(), name->font().pointSize(),
                         name->palette().color(QPalette::WindowText)),
              std::tuple("Corvana", true, 18, QColor(192, 192, 0)));
    EXPECT_EQ(window.centralWidget()->size(), QSize(370, 314));
    EXPECT_EQ(window.centralWidget()->palette().color(QPalette::Window), QColor(0, 0, 64));
    // The menu bar holds its three menus on one line.
    QMenuBar* bar = window.menuBar();
    for (QAction* top : bar->actions()) {
        const QRect at = bar->actionGeometry(top);
        EXPECT_TRUE(at.top() == bar->actionGeometry(bar->actions()[0]).top() && at.right() <= bar->width());
        EXPECT_GE(at.width(), bar->fontMetrics().horizontalAdvance(top->text()));
    }
    auto* work = window.findChild<QFrame*>(QStringLiteral("fraWork"));
    EXPECT_EQ(work->size(), QSize(369, 313));
    window.centralWidget()->resize(569, 513);
    EXPECT_EQ(work->pos(), QPoint(100, 100));
    window.centralWidget()->resize(200, 100);
    EXPECT_EQ(work->pos(), QPoint(0, 0));

    for (const char* entry : {"mnuReduced", "mnuNoShow", "mnuFourElectrodes", "mnuCredits"})
        Action(window, entry)->trigger();
    EXPECT_TRUE(a.puzzle.ReducedNumbers && Action(window, "mnuReduced")->isChecked());
    EXPECT_TRUE(a.puzzle.NoShowFirst && Action(window, "mnuNoShow")->isChecked());
    QTest::keyClick(&window, Qt::Key_F1);
    Action(window, "mnuColors")->trigger();
    EXPECT_EQ(opener.opened, (std::vector<std::string>{"play:Large", "credits", "help", "colors"}));

    // While a child window is open, the menu does nothing, also when reached around the
    // modality (a screen reader can trigger its entries).
    opener.inPlayForm = [&window] {
        for (const char* entry : {"mnuColors", "mnuPlus", "mnuNoShow", "mnuReduced", "mnuExit"})
            Action(window, entry)->trigger();
        // A refused toggle gets its mark back at once.
        EXPECT_TRUE(Action(window, "mnuNoShow")->isChecked() && Action(window, "mnuReduced")->isChecked());
    };
    Action(window, "mnuH")->trigger();
    EXPECT_EQ(std::tuple(opener.opened.size(), a.puzzle.PuzzleName), std::tuple(5u, "Small Puzzle H"));
    EXPECT_TRUE(window.isVisible());
}

TEST(CreditsWindow, ShowsTheVersionRecordAndEveryTextWholeAndTheProgramCarriesItsIdentity) {
    CreditsWindow credits;
    ASSERT_TRUE(OnScreen(credits));
    EXPECT_EQ(credits.windowTitle(), QStringLiteral("Corvana Credits"));
    EXPECT_EQ(credits.size(), QSize(419, 286));
    const QImage shown = credits.grab().toImage();
    EXPECT_EQ(shown.pixelColor(2, shown.height() - 2).name(), QStringLiteral("#000040")) << "dark blue";
    const auto label = [&credits](const char* name) { return credits.findChild<QLabel*>(name); };
    const CreditsTexts given = Credits();
    const auto text = [&label](const char* name) { return label(name)->text().toStdString(); };
    EXPECT_EQ(std::tuple(text("Label1"), text("Label2"), text("Label7"), text("Label3"), text("Label4")),
              std::tuple(given.title, given.version, given.description, given.createdBy, given.author));
    for (QLabel* l : credits.findChildren<QLabel*>()) // white and at least 8 points
        EXPECT_TRUE(l == label("Image1") ||
                    (l->font().pointSizeF() >= 8.0 && l->palette().color(QPalette::WindowText) == Qt::white))
            << l->objectName().toStdString();
    // The short texts need no shrinking: they keep the designed sizes.
    EXPECT_EQ(label("Label1")->font().pointSizeF(), 12.0);
    EXPECT_EQ(label("Label2")->font().pointSizeF(), 9.75);
    EXPECT_FALSE(label("Image1")->pixmap().isNull());
    EXPECT_TRUE(label("Label6")->textInteractionFlags() & Qt::TextSelectableByMouse) << "a copyable site";
    const QWidget* line = credits.findChild<QWidget*>(QStringLiteral("Line1"));
    EXPECT_EQ(shown.pixelColor(line->geometry().center()), QColor(Qt::white)) << "the white rule";
    // The program's name, version and desktop file id, and the icon every window carries.
    ApplyProgramIdentity();
    EXPECT_EQ(QApplication::applicationName(), QStringLiteral("Corvana"));
    EXPECT_EQ(QApplication::applicationVersion(),
              QStringLiteral("%1.%2.%3").arg(version::Major).arg(version::Minor).arg(version::Revision));
    EXPECT_EQ(QGuiApplication::desktopFileName(), QStringLiteral("org.example.corvana"));
    EXPECT_FALSE(CreditsWindow().windowIcon().pixmap(32, 32).isNull());
}

// Buttons, Return and Enter on a focused button, and the selectors switch pages; the example on
// each page is shown, and never reacts to typing or clicking.
TEST(HowToPlayWindow, ButtonsKeysAndSelectorsSwitchPagesAndShowTheExample) {
    bool exitRequested = false;
    const QFont desktop = QApplication::font();
    QApplication::setFont(QFont(desktop.family(), 6)); // made under a small desktop font
    HowToPlayWindow help(exitRequested);
    const auto cell = [&help](int i) { return Indexed<QLineEdit>(help, "txtGrid", i); };
    // The example's digits in 9 points on frameless squares, whatever the desktop's font.
    EXPECT_EQ(std::pair(cell(0)->font().pointSize(), cell(0)->hasFrame()), std::pair(9, false));
    QApplication::setFont(desktop);
    ASSERT_TRUE(OnScreen(help));
    EXPECT_EQ(help.windowTitle(), QStringLiteral("How To Play"));
    const QImage shown = help.grab().toImage();
    EXPECT_EQ(shown.pixelColor(shown.width() - 2, shown.height() - 2), ToQColor(kHelpBackground))
        << "the pages stand on the help's own background";
    // A page's text and the example's captions are white.
    for (const char* name : {"lblPage1Text1", "fraUserGrid", "Frame1"})
        EXPECT_EQ(help.findChild<QWidget*>(name)->palette().color(QPalette::WindowText), Qt::white) << name;
    EXPECT_EQ(Entries(help.findChild<QMenu*>(QStringLiteral("mnuOptions"))->actions()),
              (QStringList{"mnuReturnToMain=&Return [Ctrl+R]", "mnuAbout=-", "mnuExit=E&xit [Ctrl+X]"}));
    auto* back = help.findChild<QPushButton*>(QStringLiteral("cmdBack"));
    auto* forward = help.findChild<QPushButton*>(QStringLiteral("cmdForward"));
    const auto option = [&help](int i) { return Indexed<QAbstractButton>(help, "optSelection", i); };
    EXPECT_EQ(back->text() + " | " + forward->text(), QStringLiteral("<< Previous | Next >>"));
    forward->setFocus();
    QTest::keyClick(forward, Qt::Key_Backtab); // to the page's selector: the ring is for keyboard users
    // A focus ring 3 pixels inside each edge of the selector, darker than the face within it.
    const QImage ring = option(0)->grab().toImage();
    const int dpr = int(ring.devicePixelRatio()), in = 3 * dpr, r = ring.width() - 1, b = ring.height() - 1;
    for (const auto& [at, step] : {std::pair{QPoint(in, b / 2), QPoint(dpr, 0)},
                                   {QPoint(r - in, b / 2), QPoint(-dpr, 0)},
                                   {QPoint(r / 2, in), QPoint(0, dpr)},
                                   {QPoint(r / 2, b - in), QPoint(0, -dpr)}})
        EXPECT_LT(ring.pixelColor(at).lightness(), ring.pixelColor(at + step).lightness())
            << at.x() << "," << at.y();
    EXPECT_FALSE(back->isEnabled());
    for (int i = 0; i < kHelpPages; ++i) { // each selector's caption, wrapped, clear of its edge and ring
        const QRect room = option(i)->rect().adjusted(4, 4, -4, -4);
        const int flags = Qt::AlignCenter | Qt::TextWordWrap;
        EXPECT_LE(option(i)->fontMetrics().boundingRect(room, flags, option(i)->text()).height(),
                  room.height());
    }

    QTest::mouseClick(forward, Qt::LeftButton);
    QTest::keyClick(forward, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(std::pair(PageShown(help), option(2)->isChecked()), std::pair(2, true));
    EXPECT_EQ(cell(60)->palette().color(QPalette::Base), QColor(0, 0, 255));
    EXPECT_EQ(cell(60)->focusPolicy(), Qt::NoFocus) << "the example grid is a picture: Tab passes it by";
    EXPECT_EQ(cell(65)->palette().color(QPalette::Text), QColor(255, 0, 0));
    // 0157 is in the buffer and its box ticked, its caption greyed.
    auto *box = help.findChild<QCheckBox*>("Check1"), *check = help.findChild<QCheckBox*>("Check2");
    EXPECT_EQ(Action(help, "mnuBuffer")->text(), QStringLiteral("Buffer = 0157"));
    EXPECT_TRUE(box->isChecked() && box->palette().color(QPalette::WindowText) == QColor(128, 128, 128));
    // The disabled example's tick boxes keep an enabled box's white square and black tick.
    const QPalette ticks = box->palette();
    EXPECT_EQ(std::pair(ticks.color(QPalette::Disabled, QPalette::Base),
                        ticks.color(QPalette::Disabled, QPalette::Text)),
              std::pair(QColor(Qt::white), QColor(Qt::black)));
    QTest::keyClick(back, Qt::Key_Return);
    EXPECT_EQ(PageShown(help), 1);
    // Only a plain Return on a button presses it.
    QTest::keyClick(option(0), Qt::Key_Return);
    QTest::keyClick(back, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(PageShown(help), 1);
    QTest::keyClick(forward, Qt::Key_Space);
    EXPECT_EQ(PageShown(help), 2) << "Space presses a button as a click does";

    QTest::mouseClick(option(3), Qt::LeftButton);
    EXPECT_EQ(std::pair(PageShown(help), forward->isEnabled()), std::pair(3, false)) << "the last page";
    EXPECT_EQ(cell(70)->text() + cell(80)->text() + cell(90)->text(), QStringLiteral("157"));
    // The checked selector's caption is bold: it leaves more ink than when it is unchecked.
    const auto ink = [](QWidget* w) {
        const QImage image = w->grab().toImage();
        int dark = 0;
        for (int y = 6; y < image.height() - 6; ++y)
            for (int x = 6; x < image.width() - 6; ++x)
                dark += image.pixelColor(x, y).lightness() < 96;
        return dark;
    };
    const int boldInk = ink(option(3));
    // A screen reader's Toggle checks a selector without a click; the page follows all the same.
    QAccessible::queryAccessibleInterface(option(1))->actionInterface()->doAction(
        QAccessibleActionInterface::toggleAction());
    EXPECT_EQ(PageShown(help), 1);
    EXPECT_GT(boldInk * 2, ink(option(3)) * 3);

    QTest::mouseClick(cell(0), Qt::LeftButton);
    QTest::keyClicks(cell(0), QStringLiteral("7"));
    QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(5, check->height() / 2));
    EXPECT_EQ(std::pair(cell(0)->text(), check->isChecked()), std::pair(QString(), false));
    EXPECT_EQ(cell(12)->accessibleName(), QStringLiteral("Column 3 Row 2"));
    EXPECT_TRUE(QAccessible::queryAccessibleInterface(cell(12))->state().readOnly) << "to a screen reader";

    EXPECT_GE(help.TextPointSize(), 7.5);

    // Escape closes the window, as Return does: the program goes on.
    QTest::keyClick(&help, Qt::Key_Escape);
    EXPECT_TRUE(help.isHidden());
    help.show();
    Action(help, "mnuReturnToMain")->trigger();
    EXPECT_EQ(std::pair(help.isHidden(), exitRequested), std::pair(true, false));
}

TEST(ExitChain, ExitInHelpOpenedFromAPlayWindowClosesAllThreeWindows) {
    AppState a;
    QtWindowOpener opener(a.puzzle, a.exitRequested, a.colors, a.dialogs, a.colorFile);
    MainWindow window(a.puzzle, a.exitRequested, a.colors, a.dialogs, opener, a.colorFile);
    opener.SetParent(&window);
    window.Form_Load();
    ASSERT_TRUE(OnScreen(window));

    // Credits and the colour editor open as modal windows centred over the main window, where
    // the screen has room for them there.
    window.move(150, 100);
    int shown = 0;
    for (const auto& [entry, name] : {std::pair{"mnuCredits", "frmCredits"}, {"mnuColors", "frmColors"}}) {
        WhenShown(QString::fromLatin1(name), [&window, &shown](QWidget* child) {
            QRect centred(QPoint(), child->frameGeometry().size());
            centred.moveCenter(window.frameGeometry().center());
            const QPoint off = child->frameGeometry().center() - centred.center();
            EXPECT_EQ(child->parentWidget(), &window);
            EXPECT_TRUE(!window.screen()->availableGeometry().contains(centred) || off.manhattanLength() <= 2)
                << child->objectName().toStdString() << " off centre by " << off.x() << "," << off.y();
            shown += child->close();
        });
        Action(window, entry)->trigger();
    }
    EXPECT_EQ(shown, 2) << "both windows shown";

    // Help on the play window, Exit in help: help, play window and main window all close.
    WhenShown(QStringLiteral("frmSmallSize"), [](QWidget* play) {
        EXPECT_EQ(play->windowModality(), Qt::ApplicationModal);
        WhenShown(QStringLiteral("frmHowToPlay"), [play](QWidget* help) {
            EXPECT_EQ(help->parentWidget(), play) << "help opens over the play window";
            Action(*help, "mnuExit")->trigger();
        });
        Action(*play, "mnuHelp")->trigger();
    });
    Action(window, "mnuH")->trigger();
    EXPECT_EQ(std::tuple(a.exitRequested, a.dialogs.messages.size()), std::tuple(true, 0u));
    for (QWidget* w : QApplication::topLevelWidgets())
        EXPECT_FALSE(w->isVisible()) << w->objectName().toStdString();
}

// A message box shows its text exactly, as plain text (the markup stays visible, CR LF is one
// line break), with its title, buttons and icon. Escape (pressed: NoButton) answers No or
// Cancel; Enter would choose the first button.
TEST(QtDialogs, MessageBoxAndColourPickerShowWhatTheyAreGivenAndReturnTheAnswer) {
    using Box = QMessageBox;
    QtDialogs dialogs;
    const Box::StandardButtons yesNo = Box::Yes | Box::No;
    const std::tuple<Buttons, Icon, Box::StandardButton, Answer, Box::Icon, Box::StandardButtons> cases[] = {
        {Buttons::Ok, Icon::Critical, Box::Ok, Answer::Ok, Box::Critical, Box::Ok},
        {Buttons::YesNo, Icon::Exclamation, Box::No, Answer::No, Box::Warning, yesNo},
        {Buttons::YesNo, Icon::Information, Box::Yes, Answer::Yes, Box::Information, yesNo},
        {Buttons::YesNo, Icon::None, Box::NoButton, Answer::No, Box::NoIcon, yesNo},
        {Buttons::YesNoCancel, Icon::None, Box::NoButton, Answer::Cancel, Box::NoIcon, yesNo | Box::Cancel}};
    for (const auto& [buttons, icon, press, answer, qtIcon, qtButtons] : cases) {
        WhenShown<QMessageBox>({}, [press = press, qtIcon = qtIcon, qtButtons = qtButtons](QMessageBox* box) {
            EXPECT_EQ(box->text(), QStringLiteral("Two  spaces & an ampersand <b>not bold</b>\n/x/y.txt"));
            EXPECT_EQ(std::tuple(box->windowTitle(), box->textFormat(), box->icon(), box->standardButtons()),
                      std::tuple("Color Scheme Fatal Error", Qt::PlainText, qtIcon, qtButtons));
            EXPECT_EQ(box->defaultButton(), box->button(qtButtons == Box::Ok ? Box::Ok : Box::Yes));
            press == Box::NoButton ? QTest::keyClick(box, Qt::Key_Escape) : box->button(press)->click();
        });
        EXPECT_EQ(answer, dialogs.MessageBox("Two  spaces & an ampersand <b>not bold</b>\r\n/x/y.txt",
                                             "Color Scheme Fatal Error", buttons, icon));
    }
    // The picker starts on the given colour (0x00BBGGRR) and hands back the choice packed the
    // same way, or the given colour on a cancel.
    for (const bool accept : {true, false}) {
        QColor shown;
        WhenShown<QColorDialog>({}, [&shown, accept](QColorDialog* dialog) {
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
        WhenShown<QMessageBox>({}, [](QMessageBox* box) {
            EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "busy steps aside for a message";
            box->button(QMessageBox::Ok)->click();
        });
        dialogs.MessageBox("t", "Corvana", Buttons::Ok, Icon::None);
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
    label.setFont(QFont(label.font().family(), 12));
    label.resize(label.sizeHint().width() * 3 / 4, label.sizeHint().height());
    EXPECT_TRUE(FitLabel(label, -1, 4.0) && ShowsWholeText(label)); // at three quarters of its width: smaller
    QFont font = label.font();
    font.setPointSizeF(font.pointSizeF() + 0.5);
    label.setFont(font);
    EXPECT_FALSE(ShowsWholeText(label)) << "half a point larger would not fit";
    EXPECT_FALSE(FitLabel(label, -1, label.font().pointSizeF())) << "not below the minimum";
    EXPECT_TRUE(FitLabel(label, -1, label.font().pointSizeF() - 0.5)) << "down to the minimum itself";

    QPushButton button(QStringLiteral("Corvana"));
    button.resize(button.sizeHint());
    EXPECT_TRUE(ShowsWholeText(button)) << "a button exactly as large as it asks to be";
    button.resize(button.width() - 1, button.height());
    EXPECT_FALSE(ShowsWholeText(button));

    QLabel wrapped(QStringLiteral("one two three four five six seven"));
    wrapped.setWordWrap(true);
    wrapped.setGeometry(0, 10, wrapped.fontMetrics().horizontalAdvance(QStringLiteral("three four")), 5);
    EXPECT_TRUE(FitLabel(wrapped, 500));
    EXPECT_EQ(wrapped.height(), wrapped.heightForWidth(wrapped.width()));
    EXPECT_EQ(wrapped.font().pointSizeF(), QLabel().font().pointSizeF()) << "grown, not shrunk";
    wrapped.resize(wrapped.width(), wrapped.height() - 1);
    EXPECT_FALSE(ShowsWholeText(wrapped)) << "a pixel short of its last line";
    // Grown down to the bottom it may reach, and no further; a bottom at its top leaves no room to grow into.
    for (const auto& [bottom, height] : {std::pair{20, 10}, {10, 5}}) {
        wrapped.resize(wrapped.width(), 5);
        FitLabel(wrapped, bottom);
        EXPECT_EQ(wrapped.height(), height) << "grown down to the bottom at " << bottom << " and no further";
    }
}

// Every control shows readably with its given texts; then the clicks, keys and menu reach it.
TEST(ColorEditorWindow, ShowsEveryControlReadablyAndClicksKeysAndMenuReachTheSchemeAndTheFile) {
    AppState a;
    a.colors = Defaults();
    a.colors.CheckedColor[1] = 0x0000FF;
    ColorEditorWindow f{a.colors, a.exitRequested, a.dialogs, a.colorFile};
    ASSERT_TRUE(OnScreen(f));
    const auto fill = [&](ColorRow r, int k) { return f.SampleBox(r, k)->palette().color(QPalette::Window); };
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Color Options"));
    EXPECT_TRUE(f.isModal()) << "the other windows wait while colours are chosen";
    EXPECT_EQ(f.findChild<QWidget*>("client")->palette().color(QPalette::Window), QColor(0, 0, 64));
    // The focus ring shows on any colour: white under black dashes, none of the sample between.
    QWidget* first = f.SampleBox(ColorRow::Background, 0);
    first->setFocus();
    const QImage ring = first->grab().toImage();
    const qreal dpr = ring.devicePixelRatio();
    QSet<QRgb> along;
    for (int x = 3; x < first->width() - 4; ++x) // along its four sides
        for (const int y : {2, first->height() - 3})
            along.insert(ring.pixel(qRound(x * dpr), qRound(y * dpr)));
    for (int y = 3; y < first->height() - 4; ++y)
        for (const int x : {2, first->width() - 3})
            along.insert(ring.pixel(qRound(x * dpr), qRound(y * dpr)));
    EXPECT_EQ(along, (QSet<QRgb>{qRgb(255, 255, 255), qRgb(0, 0, 0)}));
    EXPECT_NE(ring.pixelColor(0, ring.height() / 2), fill(ColorRow::Background, 0)) << "a sunken edge";
    const char* rowCaptions[4] = {"Background", "Primary", "Secondary", "Checked"};
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(f.Frame(k)->objectName(), (QStringList{"fraSmall", "fraNormal", "fraLarge"}[k]));
        for (const ColorRow row : kColorRows) {
            QLabel* label = f.RowLabel(row, k);
            QWidget* box = f.SampleBox(row, k);
            EXPECT_EQ(label->text(), QString::fromLatin1(rowCaptions[static_cast<int>(row)]));
            for (const QString& hint : {box->toolTip(), box->accessibleDescription()})
                EXPECT_EQ(hint, QString::fromUtf8(colortexts::kSampleToolTip));
            EXPECT_EQ(box->accessibleName(), f.Frame(k)->title() + ' ' + label->text()) << "read out whole";
            EXPECT_EQ(label->buddy(), box) << "the caption leads the keyboard to its box";
            EXPECT_EQ(box->cursor().shape(), Qt::PointingHandCursor) << "a hand where a click works";
            EXPECT_EQ(label->cursor().shape(), Qt::PointingHandCursor) << "a hand where a click works";
            // Tab walks the boxes frame by frame, row by row.
            EXPECT_EQ(QApplication::focusWidget(), box) << k << static_cast<int>(row);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
    }
    EXPECT_EQ(f.SampleBox(ColorRow::Background, 0)->objectName(), QStringLiteral("picBG"));
    EXPECT_EQ(f.RowLabel(ColorRow::Checked, 2)->objectName(), QStringLiteral("lblChecked"));
    // The boxes show the scheme, red in the low byte.
    EXPECT_EQ(fill(ColorRow::Checked, 1), QColor(255, 0, 0));
    EXPECT_EQ(f.Instructions()->text(), QString::fromStdString(InstructionsText()).replace("\r\n", "\n"));
    EXPECT_EQ(f.MenuBar()->actions().front()->text(), QStringLiteral("&Options"));
    EXPECT_EQ(Entries(f.MenuBar()->findChild<QMenu*>(QStringLiteral("mnuOptions"))->actions()),
              (QStringList{"mnuDefault=Restore Default Colors [Ctrl+Z]", "mnuSave=Save Color Scheme [Ctrl+S]",
                           "mnuLine=-", "mnuReturn=Return to Main [Ctrl+R]", "mnuExit=E&xit [Ctrl+X]"}));
    // A click on a box or on its label, Space or Return on a focused box, the menu entries, Ctrl+X, Escape
    // and the title bar each reach the editor; the boxes repaint.
    a.dialogs.colors = {0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF};
    QTest::mouseClick(f.SampleBox(ColorRow::Secondary, 2), Qt::LeftButton);
    EXPECT_EQ(fill(ColorRow::Secondary, 2), QColor(255, 0, 0));
    QTest::mouseClick(f.RowLabel(ColorRow::Background, 0), Qt::LeftButton);
    EXPECT_EQ(fill(ColorRow::Background, 0), QColor(0, 255, 0));
    QTest::keyClicks(f.SampleBox(ColorRow::Checked, 1), QStringLiteral(" \r")); // Space, then Return
    EXPECT_EQ(fill(ColorRow::Checked, 1), QColor(255, 255, 0));
    QTest::mousePress(first, Qt::LeftButton);
    QTest::mouseRelease(first, Qt::LeftButton, {}, QPoint(-2, -2));
    QTest::mouseRelease(first, Qt::LeftButton); // nor is a release with no press before it
    EXPECT_EQ(a.dialogs.colorRequests.size(), 4u) << "a press let go outside the box is no click";
    // Showing the window again must not forget the unsaved change: closing still asks.
    f.hide();
    f.show();
    a.dialogs.answers = {Answer::Cancel};
    f.mnuReturn()->trigger();
    EXPECT_EQ(std::tuple(f.isVisible(), a.dialogs.messages.size()), std::tuple(true, 1u));

    f.mnuSave()->trigger();
    EXPECT_FALSE(f.Model().ColorsChanged);
    f.mnuDefault()->trigger();
    EXPECT_EQ(fill(ColorRow::Background, 0), QColor(0, 64, 0)) << "the defaults are shown";

    // With a change, Exit by its shortcut, Escape and the title bar ask; Cancel keeps the window.
    a.dialogs.colors = {0x000080};
    QTest::mouseClick(f.SampleBox(ColorRow::Checked, 2), Qt::LeftButton);
    f.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
    a.dialogs.answers = {Answer::Cancel, Answer::Cancel, Answer::Yes};
    QTest::keyClick(&f, Qt::Key_X, Qt::ControlModifier);
    EXPECT_TRUE(a.exitRequested);
    QTest::keyClick(f.SampleBox(ColorRow::Checked, 2), Qt::Key_Escape); // from a box, on to the window
    EXPECT_EQ(std::tuple(f.isVisible(), a.dialogs.messages.size()), std::tuple(true, 3u));
    f.close();
    EXPECT_EQ(std::tuple(f.isVisible(), a.dialogs.messages.size()), std::tuple(false, 4u));
}

// A puzzle solved in its play window, opened from the menu, is in the Best Times table with its
// time, date and seed, and has its row of games; the tables have headers, names for a screen reader, and
// columns wide enough for every text at every zoom level.
TEST(BestTimesWindow, ASolvedPuzzlesTimeIsInTheTable) {
    AppState a;
    RecordsBook book(a.dir.File("records.json"), a.dialogs, [] { return std::string("2024-09-10"); });
    QtWindowOpener opener(a.puzzle, a.exitRequested, a.colors, a.dialogs, a.colorFile, nullptr, &book);
    const auto seed21 = [](PuzzleState& p, Dialogs&, auto) { return GeneratePuzzle(p, 21).ok; };
    MainWindow window(a.puzzle, a.exitRequested, a.colors, a.dialogs, opener, a.colorFile, seed21, nullptr,
                      &book);
    opener.SetParent(&window);
    ASSERT_TRUE(OnScreen(window));

    double now = 0;
    WhenShown<PlayWindow>(QStringLiteral("frmSmallSize"), [&a, &now](PlayWindow* play) {
        play->Model().SetClock([&now] { return now; });
        now = 754.5;
        for (QLineEdit* cell : play->findChildren<QLineEdit*>(QStringLiteral("txtGrid"))) {
            const auto i = static_cast<std::size_t>(cell->property("index").toInt());
            if (a.puzzle.GridPattern[i] && a.puzzle.UserArray[i] != a.puzzle.SolutionArray[i])
                QTest::keyClick(cell, static_cast<Qt::Key>(Qt::Key_0 + a.puzzle.SolutionArray[i]));
        }
        play->close();
    });
    Action(window, "mnuH")->trigger();

    QStringList shown;
    WhenShown(QStringLiteral("frmBestTimes"), [&shown, &a](QWidget* times) {
        auto* table = times->findChild<QTableWidget*>(QStringLiteral("tblBestTimes"));
        shown << times->windowTitle() << table->accessibleName()
              << QString::number(table->rowCount()) +
                     (table->verticalHeader()->isVisible() ? " numbered" : "");
        const bool roomLeft = times->width() < times->screen()->availableGeometry().width() * 9 / 10;
        for (auto* each : times->findChildren<QTableWidget*>())
            EXPECT_TRUE(!roomLeft || each->horizontalScrollBar()->maximum() == 0) << "every column whole";
        EXPECT_GE(table->horizontalHeader()->length(), table->viewport()->width()) << "last takes the rest";
        for (int c = 0; c < table->columnCount() && table->rowCount() > 0; ++c)
            shown << table->horizontalHeaderItem(c)->text() + "=" + table->item(0, c)->text();
        shown << QString::number(times->findChild<QTableWidget*>("tblStatistics")->rowCount()); // games
        table->setCurrentCell(0, 0);
        QTest::keyClick(table, Qt::Key_F2);
        EXPECT_FALSE(table->findChild<QLineEdit*>()) << "the records are not to be edited";
        EXPECT_EQ(table->selectionMode(), QAbstractItemView::SingleSelection) << "one record at a time";
        QTest::keyClick(table, Qt::Key_Tab);
        EXPECT_EQ(table->currentColumn(), 0) << "Tab leaves the table rather than walk its cells";
        const auto at = [&](const char* name) { return times->findChild<QPushButton*>(name)->geometry(); };
        EXPECT_GT(at("cmdClose").left() - at("cmdExport").right(),
                  at("cmdExport").left() - at("cmdReset").right())
            << "Close stands apart at the right, Reset and Export together at the left";
        QTest::mouseClick(times->findChild<QPushButton*>(QStringLiteral("cmdExport")), Qt::LeftButton);
        QTest::mouseClick(times->findChild<QPushButton*>(QStringLiteral("cmdClose")), Qt::LeftButton);
        // Export asks where to write the times (a cancel here); Close closes the window.
        EXPECT_EQ(std::pair(a.dialogs.saveRequests.size() == 1, times->isVisible()), std::pair(true, false));
        times->close();
    });
    Action(window, "mnuBestTimes")->trigger();
    const QString grade = QString::fromUtf8(GradeName(GradePuzzle(ShownPuzzle(a.puzzle))));
    EXPECT_EQ(shown.join('|'), "Best Times|Best times of games solved without help|1|"
                               "Puzzle=Small Puzzle H|Options=None|Grade=" +
                                   grade + "|Place=1|Time=12:34|Date=2024-09-10|Seed=21|1");
}

// A play form opener over a generated Small puzzle, keeping nothing but what a test asks for.
struct Opener : AppState {
    bool generated = (puzzle.PuzzleName = "Small Puzzle H", GeneratePuzzle(puzzle, 5).ok);
    GameStore store{dir.File("last-game.json")};
    QtWindowOpener opener{puzzle, exitRequested, colors, dialogs, colorFile, &store};

    // What a play window, new or resuming `kept`, shows once the actions named are triggered in it.
    std::string View(std::vector<const char*> actions, const PlayRecord* kept = nullptr) {
        std::string seen;
        WhenShown<PlayWindow>({}, [&seen, actions, kept](PlayWindow* play) {
            for (const char* name : actions)
                play->findChild<QAction*>(name)->trigger();
            seen = std::string(play->statusBar()->isVisible() ? "bar" : "no bar") +
                   (play->findChild<QAction*>("mnuStatusBar")->isChecked() ? " ticked" : "") +
                   (play->ClockLabel()->isVisible() ? ", clock" : ", no clock") +
                   (play->findChild<QAction*>("mnuShowClock")->isChecked() ? " ticked" : "") + ", zoom " +
                   std::to_string(play->Zoom()) +
                   (kept ? ", time " + play->ClockLabel()->text().toStdString() : "");
            play->close();
        });
        opener.ShowPlayForm(SizeClass::Small, kept);
        return seen;
    }
};

// View > Status Bar, View > Show Clock and the zoom are kept in the settings file, and the next
// play window opens with them (and Best Times at that zoom); a resumed game opens as it was kept.
TEST(QtWindowOpener, APlayWindowOpensWithTheKeptViewChoicesAndAResumedGameWithItsTime) {
    Opener o;
    ASSERT_TRUE(o.generated);
    o.opener.RememberZoomIn(o.dir.File("settings.ini"));
    PlayRecord kept; // Resume Last Puzzle opens the window on the kept game: here its time spent
    kept.secondsSpent = 42;
    EXPECT_EQ(o.View({}, &kept), "bar ticked, clock ticked, zoom 100, time 0:42");
    o.store.Flush();
    EXPECT_TRUE(o.store.Load().game) << "the game played is kept";
    const std::string chosen = o.View({"mnuStatusBar", "mnuShowClock", "mnuZoomIn"});
    EXPECT_EQ(chosen.substr(0, 19), "no bar, no clock, z");
    EXPECT_EQ((std::tuple{o.View({}), o.dialogs.messages.size()}), std::tuple(chosen, 0u)); // and no message
    qreal points = 0;
    WhenShown(QStringLiteral("frmBestTimes"), [&points](QWidget* times) {
        points = times->font().pointSizeF();
        times->close();
    });
    o.opener.ShowBestTimes();
    EXPECT_EQ(points, QApplication::font().pointSizeF() * 1.25);
    GameStore unread{o.dir.File("last-game.json")}; // the kept game, read first at start-up
    MainWindow menu(o.puzzle, o.exitRequested, o.colors, o.dialogs, o.opener, o.colorFile, {}, &unread);
    menu.Form_Load();
    EXPECT_TRUE(Action(menu, "mnuResume")->isEnabled()) << "Resume Last Puzzle offers the kept game";
}

// A settings file that cannot be written is reported at the first change, and only then.
TEST(QtWindowOpener, AViewChoiceThatCannotBeKeptIsReportedOnce) {
    Opener o;
    ASSERT_TRUE(o.generated);
    WriteText(o.dir.File("file"), "");
    o.opener.RememberZoomIn(o.dir.File("file/settings.ini"));
    o.View({"mnuShowClock", "mnuStatusBar", "mnuZoomIn"});
    const std::string said =
        "The clock setting could not be saved to " + o.dir.File("file/settings.ini") + ".";
    EXPECT_EQ(o.dialogs.messages, (std::vector{Message{said, "Corvana", Buttons::Ok, Icon::Exclamation}}));
}

// Each of the user's files is where the XDG variables put it; the colour file stays beside a
// program in a folder the user may write.
TEST(AppContext, EachFileIsWhereItsXdgFolderOrTheProgramFolderPutsIt) {
    const TempDir dir; // a colour file put wrongly under the configuration folder lands here
    const std::string x = dir.path().string();
    // Each variable, its folder, and its value before the test.
    std::tuple<const char*, const char*, QByteArray> vars[] = {
        {"XDG_STATE_HOME", "/state", {}}, {"XDG_DATA_HOME", "/data", {}}, {"XDG_CONFIG_HOME", "/config", {}}};
    for (auto& [name, folder, saved] : vars) {
        saved = qgetenv(name);
        qputenv(name, QByteArray::fromStdString(x + folder));
    }
    const std::vector<std::string> paths = {ProgramGameFilePath(), ProgramRecordsFilePath(),
                                            ProgramSettingsPath(), ProgramColorFilePath()};
    for (const auto& [name, folder, saved] : vars)
        qputenv(name, saved);
    EXPECT_EQ(paths, (std::vector<std::string>{
                         x + "/state/corvana/last-game.json", x + "/data/corvana/records.json",
                         x + "/config/corvana/settings.ini",
                         QCoreApplication::applicationDirPath().toStdString() + "/" + kColorFileName}));
}

TEST(AppWindows, EveryControlIsWholeInsideItsParentAndClearOfItsSiblings) {
    AppState a;
    a.colors = Defaults();
    ScriptedOpener opener;
    RecordsBook book(a.dir.File("records.json"), a.dialogs);
    BestTimesWindow zoomed(book, a.dialogs, 300); // made before any record: it shows its notice of none
    book.GameStarted("Large Puzzle Four Electrodes");
    book.GameSolved({{"Large Puzzle Four Electrodes", true, true, "Expert"}, UINT64_MAX, 35999, false});
    MainWindow main(a.puzzle, a.exitRequested, a.colors, a.dialogs, opener, a.colorFile);
    CreditsWindow credits;
    HowToPlayWindow help(a.exitRequested);
    ColorEditorWindow editor{a.colors, a.exitRequested, a.dialogs, a.colorFile};
    BestTimesWindow times(book, a.dialogs, 75); // a zoom below 100 % keeps the desktop's type
    for (QWidget* w : std::initializer_list<QWidget*>{&main, &credits, &help, &editor, &times, &zoomed}) {
        ASSERT_TRUE(OnScreen(*w));
        ExpectWholeAndApart(*w, w->objectName().toStdString());
    }
    editor.mnuReturn()->trigger(); // nothing to save: Return to Main closes the editor without a question
    EXPECT_EQ(std::pair(editor.isVisible(), a.dialogs.messages.size()), std::pair(false, std::size_t{0}));
    // Zoomed, Best Times is as wide as nine tenths of the screen, or as its buttons need.
    const int room = zoomed.screen()->availableGeometry().width() * 9 / 10;
    EXPECT_EQ(zoomed.width(), std::max(room, zoomed.minimumSizeHint().width()));
    EXPECT_EQ(times.font().pointSizeF(), QApplication::font().pointSizeF());
    const auto notice = [](const QWidget& w) { return w.findChild<QLabel*>("lblNoRecords")->isVisible(); };
    EXPECT_EQ(std::pair(notice(zoomed), notice(times)), std::pair(true, false)) << "no records, then one";
    a.dialogs.answers = {Answer::Yes}; // Reset, agreed to, empties the window at once
    times.findChild<QPushButton*>("cmdReset")->click();
    EXPECT_EQ(std::pair(notice(times), times.findChild<QTableWidget*>("tblBestTimes")->rowCount()),
              std::pair(true, 0));
    for (const QLabel* label : times.findChildren<QLabel*>()) // a table's caption leads to it, in bold
        EXPECT_EQ(label->font().bold(), label->buddy() != nullptr) << label->text().toStdString();
    for (int page = 0; page < kHelpPages; ++page) { // each of the help's pages, with each of its texts
        Indexed<QAbstractButton>(help, "optSelection", page)->click();
        ExpectWholeAndApart(help, "frmHowToPlay page " + std::to_string(page));
        for (std::size_t i = 0; i < HelpPages()[static_cast<std::size_t>(page)].labels.size(); ++i) {
            const auto* text = help.findChild<QLabel*>(QString("lblPage%1Text%2").arg(page + 1).arg(i + 1));
            EXPECT_EQ(text && text->isVisible() ? text->text().toStdString() : "no label shown",
                      HelpPages()[static_cast<std::size_t>(page)].labels[i].text);
        }
    }
}

// Each square of a painted grid takes the colour its character gives it, across its whole width.
TEST(GridPainter, EachSquareIsBlackOrWhiteAsItsCharacterSays) {
    QImage image(40, 40, QImage::Format_RGB32);
    const auto paint = [&image](const char* cells, const GridLook& look = {}, const char* marked = "") {
        image.fill(Qt::red);
        QPainter painter(&image);
        PaintGrid(painter, QRectF(0, 0, 40, 40), 2, cells, look, marked);
    };
    paint("#..#");
    const auto at = [&image](int x, int y) { return image.pixelColor(x, y).name().toStdString() + " "; };
    EXPECT_EQ(at(10, 10) + at(30, 10) + at(10, 30) + at(30, 30), "#000000 #ffffff #ffffff #000000 ");
    for (const QPoint rule : {QPoint(20, 10), QPoint(10, 20)}) // on the rules between the squares
        EXPECT_LT(image.pixelColor(rule).lightness(), 160) << rule.x() << "," << rule.y();
    // Too small for digits, a marked square shows a dot in its middle, red to its edge, white around it.
    GridLook dots;
    dots.digits = false;
    dots.markedDigit = Qt::red;
    dots.frame = 4; // and the frame, as wide as asked, reaches 2 pixels in
    paint("#5.#", dots, " x  ");
    EXPECT_EQ(at(30, 10) + at(25, 10) + at(30, 3) + at(37, 10) + at(38, 10),
              "#ff0000 #ff0000 #ffffff #ffffff #000000 ");
    dots.digits = true; // with digits, only a marked square's digit takes the mark colour
    paint("5..7", dots, "   x");
    int red[2] = {0, 0}; // in the left column (the 5) and the right (the 7)
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x)
            red[x / 20] += image.pixelColor(x, y).red() - image.pixelColor(x, y).green() > 100;
    EXPECT_EQ(std::pair(red[0] > 0, red[1] > 0), std::pair(false, true)) << "red in the 5, in the 7";
}
