// The main window, the credits and the help window as real widgets on the offscreen platform:
// names, captions, what fits, and the commands reaching their handlers.

#include "app/AppContext.h"
#include "app/Credits.h"
#include "app/CreditsWindow.h"
#include "app/HowToPlayWindow.h"
#include "app/MainWindow.h"
#include "app/QtWindowOpener.h"
#include "corvana/Version.h"
#include "ui/QtUtil.h"

#include "../app/ScriptedOpener.h"
#include "FakeDialogs.h"
#include "MenuEntries.h"
#include "TempDir.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <map>

using namespace corvana;
using corvana::test::Entries;
using corvana::test::FakeDialogs;
using corvana::test::ScriptedOpener;

namespace {

struct MainFixture {
    corvana::test::TempDir dir;
    std::string colorFile = dir.File(kColorFileName);
    PuzzleState puzzle;
    ColorScheme colors;
    FakeDialogs dialogs;
    ScriptedOpener opener;
    MainWindow window{puzzle,    colors,
                      dialogs,   opener,
                      colorFile, [](PuzzleState&, Dialogs&, std::optional<std::uint64_t>) { return true; }};
};

QAction* Action(QWidget& window, const char* name) {
    return window.findChild<QAction*>(QString::fromUtf8(name));
}

} // namespace

// The menus with their names, captions and shortcuts; the product name and the menu bar fit;
// fraWork stays centred; commands reach their handlers, but not while a child window is open.
TEST(MainWindow, ShowsItsMenusAndColoursAndCommandsReachTheirHandlers) {
    MainFixture f;
    EXPECT_EQ(f.window.windowTitle(), QStringLiteral("Main Menu"));
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
        {"mnuOther", "mnuHowToPlay=How to Play "
                     "[F1]|mnuColors=Colors|mnuSpace=-|mnuCredits=Credits|mnuExit=E&xit [Ctrl+X]"},
    };
    EXPECT_EQ(Entries(f.window.menuBar()->actions()).join('|'), menus.at(""));
    int named = 0;
    for (QMenu* menu : f.window.findChildren<QMenu*>()) {
        if (menu->objectName().isEmpty())
            continue; // the menu bar's own overflow menu
        ++named;
        EXPECT_EQ(Entries(menu->actions()).join('|'), menus.at(menu->objectName()));
    }
    EXPECT_EQ(named, static_cast<int>(menus.size()) - 1);
    EXPECT_FALSE(Action(f.window, "mnuExit")->isVisible());

    f.window.Form_Load();
    f.window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f.window));
    auto* name = f.window.findChild<QLabel*>(QStringLiteral("lblAppName"));
    EXPECT_EQ(name->text(), QStringLiteral("Corvana"));
    EXPECT_TRUE(name->font().bold());
    EXPECT_TRUE(ShowsWholeText(*name));
    EXPECT_EQ(name->palette().color(QPalette::WindowText), QColor(192, 192, 0));
    EXPECT_EQ(f.window.centralWidget()->size(), QSize(370, 314));
    EXPECT_EQ(f.window.centralWidget()->palette().color(QPalette::Window), QColor(0, 0, 64));
    EXPECT_NE(f.window.findChild<QWidget*>(QStringLiteral("Image1")), nullptr);
    // The menu bar holds its three menus on one line.
    QMenuBar* bar = f.window.menuBar();
    for (QAction* top : bar->actions()) {
        const QRect at = bar->actionGeometry(top);
        EXPECT_EQ(at.top(), bar->actionGeometry(bar->actions().first()).top()) << top->text().toStdString();
        EXPECT_LE(at.right(), bar->width()) << top->text().toStdString();
        EXPECT_GE(at.width(), bar->fontMetrics().horizontalAdvance(top->text()));
    }
    auto* work = f.window.findChild<QFrame*>(QStringLiteral("fraWork"));
    EXPECT_EQ(work->size(), QSize(369, 313));
    f.window.centralWidget()->resize(569, 513);
    EXPECT_EQ(work->pos(), QPoint(100, 100));
    f.window.centralWidget()->resize(200, 100);
    EXPECT_EQ(work->pos(), QPoint(0, 0));

    Action(f.window, "mnuReduced")->trigger();
    EXPECT_TRUE(f.puzzle.ReducedNumbers && Action(f.window, "mnuReduced")->isChecked());
    Action(f.window, "mnuFourElectrodes")->trigger();
    Action(f.window, "mnuCredits")->trigger();
    QTest::keyClick(&f.window, Qt::Key_F1);
    Action(f.window, "mnuColors")->trigger();
    EXPECT_EQ(f.opener.opened, (std::vector<std::string>{"play:Large", "credits", "help", "colors"}));
    EXPECT_TRUE(f.window.isVisible());

    // While a child window is open, the menu does nothing, also when reached around the
    // modality (a screen reader can trigger its entries).
    f.opener.inPlayForm = [&f] {
        for (const char* entry : {"mnuColors", "mnuPlus", "mnuNoShow", "mnuExit"})
            Action(f.window, entry)->trigger();
    };
    Action(f.window, "mnuH")->trigger();
    EXPECT_EQ(f.opener.opened.size(), 5u);
    EXPECT_EQ(f.puzzle.PuzzleName, "Small Puzzle H");
    EXPECT_FALSE(Action(f.window, "mnuNoShow")->isChecked()) << "a refused toggle gets its mark back";
    EXPECT_TRUE(f.window.isVisible());

    f.opener.inPlayForm = [&f] { f.puzzle.ExitRequested = true; };
    Action(f.window, "mnuH")->trigger();
    EXPECT_FALSE(f.window.isVisible()) << "Exit in the play form closes the main window";
}

TEST(CreditsWindow, ShowsTheVersionRecordAndEveryTextWholeAndTheProgramCarriesItsIdentity) {
    CreditsWindow credits;
    credits.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&credits));
    EXPECT_EQ(credits.windowTitle(), QStringLiteral("Corvana Credits"));
    EXPECT_EQ(credits.size(), QSize(419, 286));
    const auto label = [&credits](const char* name) {
        return credits.findChild<QLabel*>(QString::fromUtf8(name));
    };
    const CreditsTexts given = Credits();
    for (const auto& [name, text] : {std::pair{"Label1", given.title},
                                     {"Label2", given.version},
                                     {"Label7", given.description},
                                     {"Label3", given.createdBy},
                                     {"Label4", given.author}})
        EXPECT_EQ(label(name)->text().toStdString(), text);
    for (QLabel* l : credits.findChildren<QLabel*>()) {
        if (l == label("Image1"))
            continue;
        EXPECT_TRUE(ShowsWholeText(*l)) << l->objectName().toStdString();
        EXPECT_EQ(l->palette().color(QPalette::WindowText), QColor(Qt::white));
        EXPECT_GE(l->font().pointSizeF(), 8.0) << l->objectName().toStdString();
    }
    // The short texts need no shrinking: they keep the designed sizes.
    EXPECT_EQ(label("Label1")->font().pointSizeF(), 12.0);
    EXPECT_EQ(label("Label2")->font().pointSizeF(), 9.75);
    // The wrapped texts never run into the text below them.
    const auto bottom = [&label](const char* name) {
        return label(name)->y() + label(name)->heightForWidth(label(name)->width());
    };
    EXPECT_LE(bottom("Label7"), label("Label8")->y());
    EXPECT_LE(bottom("Label8"), label("Label3")->y());
    EXPECT_FALSE(label("Image1")->pixmap().isNull());
    // The program's name, version and desktop file id, and the icon every window carries.
    ApplyProgramIdentity();
    EXPECT_EQ(QApplication::applicationName(), QStringLiteral("Corvana"));
    EXPECT_EQ(QApplication::applicationVersion(),
              QStringLiteral("%1.%2.%3").arg(version::Major).arg(version::Minor).arg(version::Revision));
    EXPECT_EQ(QGuiApplication::desktopFileName(), QStringLiteral("org.example.corvana"));
    EXPECT_FALSE(QApplication::windowIcon().pixmap(32, 32).isNull());
    EXPECT_FALSE(CreditsWindow().windowIcon().isNull());
}

namespace {

// A help window's control of the given name and Index property.
template <typename T> T* Indexed(HowToPlayWindow& help, const char* name, int index) {
    for (T* w : help.findChildren<T*>(QString::fromUtf8(name)))
        if (w->property("Index").toInt() == index)
            return w;
    return nullptr;
}

bool PageShown(HowToPlayWindow& help, int index) {
    return Indexed<QGroupBox>(help, "fraHowToPlay", index)->isVisible();
}

} // namespace

// Buttons, Return and Enter on a focused button, and the selectors switch pages; the example on
// each page is shown, and never reacts to typing or clicking.
TEST(HowToPlayWindow, ButtonsKeysAndSelectorsSwitchPagesAndShowTheExample) {
    PuzzleState puzzle;
    HowToPlayWindow help(puzzle);
    help.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&help));
    EXPECT_EQ(help.windowTitle(), QStringLiteral("How To Play"));
    auto* back = help.findChild<QPushButton*>(QStringLiteral("cmdBack"));
    auto* forward = help.findChild<QPushButton*>(QStringLiteral("cmdForward"));
    const auto cell = [&help](int i) { return Indexed<QLineEdit>(help, "txtGrid", i); };
    const auto option = [&help](int i) { return Indexed<QAbstractButton>(help, "optSelection", i); };
    EXPECT_EQ(back->text(), QStringLiteral("<< Previous"));
    EXPECT_EQ(forward->text(), QStringLiteral("Next >>"));
    EXPECT_FALSE(back->isEnabled());

    QTest::mouseClick(forward, Qt::LeftButton);
    QTest::keyClick(forward, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_TRUE(PageShown(help, 2));
    EXPECT_FALSE(PageShown(help, 0));
    EXPECT_TRUE(option(2)->isChecked());
    EXPECT_EQ(cell(60)->palette().color(QPalette::Base), QColor(0, 0, 255));
    EXPECT_EQ(cell(65)->palette().color(QPalette::Text), QColor(255, 0, 0));
    QTest::keyClick(back, Qt::Key_Return);
    EXPECT_TRUE(PageShown(help, 1));
    // Return elsewhere presses no button behind the user's back.
    QTest::keyClick(option(0), Qt::Key_Return);
    EXPECT_TRUE(PageShown(help, 1));
    QTest::keyClick(back, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_TRUE(PageShown(help, 1)) << "only a plain Return presses the button";

    QTest::mouseClick(option(3), Qt::LeftButton);
    EXPECT_TRUE(PageShown(help, 3));
    EXPECT_FALSE(forward->isEnabled());
    EXPECT_EQ(cell(70)->text() + cell(80)->text() + cell(90)->text(), QStringLiteral("157"));
    // A screen reader's Toggle checks a selector without a click; the page follows all the same.
    QAccessible::queryAccessibleInterface(option(1))->actionInterface()->doAction(
        QAccessibleActionInterface::toggleAction());
    EXPECT_TRUE(PageShown(help, 1));
    EXPECT_FALSE(PageShown(help, 3));
    EXPECT_EQ(cell(70)->text(), QString());

    auto* check = help.findChild<QCheckBox*>(QStringLiteral("Check2"));
    ASSERT_TRUE(cell(0)->isVisible() && check->isVisible());
    QTest::mouseClick(cell(0), Qt::LeftButton);
    QTest::keyClicks(cell(0), QStringLiteral("7"));
    EXPECT_EQ(cell(0)->text(), QString());
    QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(5, check->height() / 2));
    EXPECT_FALSE(check->isChecked());
    EXPECT_EQ(cell(12)->accessibleName(), QStringLiteral("Column 3 Row 2"));

    // Every text is whole, inside its page.
    EXPECT_GE(help.TextPointSize(), 7.5);
    for (QGroupBox* frame : help.findChildren<QGroupBox*>(QStringLiteral("fraHowToPlay"))) {
        for (QLabel* label : frame->findChildren<QLabel*>()) {
            EXPECT_TRUE(ShowsWholeText(*label)) << label->objectName().toStdString();
            EXPECT_LE(label->geometry().bottom(), frame->contentsRect().bottom());
        }
        EXPECT_LE(frame->fontMetrics().horizontalAdvance(frame->title()), frame->width());
    }
    for (QAbstractButton* button : help.findChildren<QAbstractButton*>())
        EXPECT_LE(button->sizeHint().width(), button->width()) << button->objectName().toStdString();

    // Escape closes the window like Return to Main: the program goes on.
    QTest::keyClick(&help, Qt::Key_Escape);
    EXPECT_TRUE(help.isHidden());
    EXPECT_FALSE(puzzle.ExitRequested);
    // Exit by its shortcut sets the flag and closes.
    help.show();
    help.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&help));
    EXPECT_EQ(help.findChild<QAction*>(QStringLiteral("mnuExit"))->text(), QStringLiteral("E&xit"));
    EXPECT_EQ(help.findChild<QAction*>(QStringLiteral("mnuReturnToMain"))->shortcut(),
              QKeySequence(Qt::CTRL | Qt::Key_R));
    QTest::keyClick(&help, Qt::Key_X, Qt::ControlModifier);
    EXPECT_FALSE(help.isVisible());
    EXPECT_TRUE(puzzle.ExitRequested);
}

namespace {

// Runs `act` on the first visible top-level window named `name` once the nested loop that
// shows it is running.
void WhenWindowShown(const QString& name, std::function<void(QWidget*)> act, int triesLeft = 500) {
    QTimer::singleShot(0, [name, act, triesLeft] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->objectName() == name && w->isVisible()) {
                act(w);
                return;
            }
        }
        if (triesLeft > 0)
            WhenWindowShown(name, act, triesLeft - 1);
    });
}

void Trigger(QWidget* window, const char* action) {
    QAction* a = window->findChild<QAction*>(QString::fromUtf8(action));
    ASSERT_NE(a, nullptr) << action;
    a->trigger();
}

} // namespace

TEST(ExitChain, ExitInHelpOpenedFromAPlayWindowClosesAllThreeWindows) {
    corvana::test::TempDir dir;
    const std::string colorFile = dir.File(kColorFileName);
    PuzzleState puzzle;
    ColorScheme colors;
    FakeDialogs dialogs;
    QtWindowOpener opener(puzzle, colors, dialogs, colorFile);
    MainWindow window(puzzle, colors, dialogs, opener, colorFile);
    opener.SetParent(&window);
    window.Form_Load();
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    // Credits and the colour editor open as modal windows over the main window.
    const std::pair<const char*, const char*> children[] = {{"mnuCredits", "frmCredits"},
                                                            {"mnuColors", "frmColors"}};
    for (const auto& [entry, name] : children) {
        QWidget* parent = nullptr;
        WhenWindowShown(QString::fromLatin1(name), [&parent](QWidget* child) {
            parent = child->parentWidget();
            child->close();
        });
        Trigger(&window, entry);
        EXPECT_EQ(parent, &window) << name;
    }

    // Help on the play window, Exit in help: help, play window and main window all close.
    bool helpOverPlay = false;
    WhenWindowShown(QStringLiteral("frmSmallSize"), [&helpOverPlay](QWidget* play) {
        WhenWindowShown(QStringLiteral("frmHowToPlay"), [&helpOverPlay, play](QWidget* help) {
            helpOverPlay = help->parentWidget() == play;
            Trigger(help, "mnuExit");
        });
        Trigger(play, "mnuHelp");
    });
    Trigger(&window, "mnuH");
    EXPECT_TRUE(helpOverPlay) << "help opens over the play window";
    EXPECT_TRUE(puzzle.ExitRequested);
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(dialogs.messages.empty());
    for (QWidget* w : QApplication::topLevelWidgets())
        EXPECT_FALSE(w->isVisible()) << w->objectName().toStdString();
}
