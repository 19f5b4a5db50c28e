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

#include <filesystem>
#include <functional>
#include <map>

using namespace corvana;
using corvana::test::FakeDialogs;
using corvana::test::ScriptedOpener;

namespace {

struct MainFixture {
    std::string colorFile =
        (std::filesystem::temp_directory_path() / "corvana-gui-no-such-folder" / kColorFileName).string();
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

// Each action of a menu as "name=caption", a separator as "name=-".
QStringList Entries(const QList<QAction*>& actions) {
    QStringList out;
    for (QAction* a : actions)
        out << a->objectName() + "=" + (a->isSeparator() ? QStringLiteral("-") : a->text());
    return out;
}

} // namespace

TEST(MainWindow, MenuTreeHasTheGivenNamesCaptionsOrderAndShortcuts) {
    MainFixture f;
    EXPECT_EQ(f.window.windowTitle(), QStringLiteral("Main Menu"));
    const std::map<QString, QStringList> menus = {
        {"", {"mnuNewPuzzle=New Puzzle", "mnuDifficulty=Difficulty Options", "mnuOther=Other Options"}},
        {"mnuNewPuzzle",
         {"mnuResume=Resume Last Puzzle", "mnuSmall=Small Puzzle", "mnuNormal=Normal Puzzle",
          "mnuLarge=Large Puzzle"}},
        {"mnuSmall",
         {"mnuH=H", "mnuPinwheel=Pinwheel", "mnuFiveSquares=Five Squares", "mnuWheel=Wheel",
          "mnuProjectX=Project X"}},
        {"mnuNormal",
         {"mnuPlus=Plus", "mnuSteps=Steps", "mnuShield=Shield", "mnuBrokenPieces=Broken Pieces",
          "mnuFivePlus=Five Plus", "mnuAngled=Angled", "mnuHTT=HTT"}},
        {"mnuLarge",
         {"mnuCrazyEights=Crazy Eights", "mnuSquares=Squares", "mnuFourElectrodes=Four Electrodes"}},
        {"mnuDifficulty", {"mnuNoShow=Don't Show First Number", "mnuReduced=Reduced Numbers"}},
        {"mnuOther",
         {"mnuHowToPlay=How to Play", "mnuColors=Colors", "mnuSpace=-", "mnuCredits=Credits",
          "mnuExit=E&xit"}},
    };
    EXPECT_EQ(Entries(f.window.menuBar()->actions()), menus.at(""));
    int named = 0;
    for (QMenu* menu : f.window.findChildren<QMenu*>()) {
        if (menu->objectName().isEmpty())
            continue; // the menu bar's own overflow menu
        ++named;
        ASSERT_EQ(menus.count(menu->objectName()), 1u) << menu->objectName().toStdString();
        EXPECT_EQ(Entries(menu->actions()), menus.at(menu->objectName())) << menu->objectName().toStdString();
    }
    EXPECT_EQ(named, static_cast<int>(menus.size()) - 1);
    EXPECT_EQ(Action(f.window, "mnuHowToPlay")->shortcut(), QKeySequence(Qt::Key_F1));
    EXPECT_EQ(Action(f.window, "mnuExit")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_X));
    EXPECT_FALSE(Action(f.window, "mnuExit")->isVisible());
    for (const char* option : {"mnuNoShow", "mnuReduced"}) {
        EXPECT_TRUE(Action(f.window, option)->isCheckable());
        EXPECT_FALSE(Action(f.window, option)->isChecked());
    }
}

TEST(MainWindow, LoadShowsTheProductNameAndEverythingFits) {
    MainFixture f;
    f.window.Form_Load();
    f.window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f.window));
    auto* name = f.window.findChild<QLabel*>(QStringLiteral("lblAppName"));
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->text(), QStringLiteral("Corvana"));
    EXPECT_TRUE(name->font().bold());
    EXPECT_TRUE(ShowsWholeText(*name));
    EXPECT_EQ(name->palette().color(QPalette::WindowText), QColor(192, 192, 0));
    EXPECT_EQ(f.window.centralWidget()->size(), QSize(370, 314));
    EXPECT_EQ(f.window.centralWidget()->palette().color(QPalette::Window), QColor(0, 0, 64));
    EXPECT_NE(f.window.findChild<QWidget*>(QStringLiteral("Image1")), nullptr);

    // The menu bar holds its three menus on one line.
    QMenuBar* bar = f.window.menuBar();
    const QRect first = bar->actionGeometry(bar->actions().first());
    for (QAction* top : bar->actions()) {
        const QRect at = bar->actionGeometry(top);
        EXPECT_EQ(at.top(), first.top()) << top->text().toStdString();
        EXPECT_LE(at.right(), bar->width()) << top->text().toStdString();
        EXPECT_GE(at.width(), bar->fontMetrics().horizontalAdvance(top->text()));
    }
    // No message: the colour file's folder does not exist, so there is no file.
    EXPECT_TRUE(f.dialogs.messages.empty());
}

TEST(MainWindow, WorkFrameStaysCentredAndNeverGoesNegative) {
    MainFixture f;
    f.window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f.window));
    auto* work = f.window.findChild<QFrame*>(QStringLiteral("fraWork"));
    ASSERT_NE(work, nullptr);
    EXPECT_EQ(work->size(), QSize(369, 313));
    f.window.centralWidget()->resize(569, 513);
    EXPECT_EQ(work->pos(), QPoint(100, 100));
    f.window.centralWidget()->resize(200, 100);
    EXPECT_EQ(work->pos(), QPoint(0, 0));
}

TEST(MainWindow, MenuCommandsReachTheirHandlersAndExitClosesTheWindow) {
    MainFixture f;
    f.window.Form_Load();
    f.window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f.window));

    Action(f.window, "mnuNoShow")->trigger();
    EXPECT_TRUE(Action(f.window, "mnuNoShow")->isChecked());
    Action(f.window, "mnuReduced")->trigger();
    EXPECT_TRUE(f.puzzle.ReducedNumbers);
    EXPECT_TRUE(Action(f.window, "mnuReduced")->isChecked());

    Action(f.window, "mnuFourElectrodes")->trigger();
    Action(f.window, "mnuCredits")->trigger();
    QTest::keyClick(&f.window, Qt::Key_F1);
    Action(f.window, "mnuColors")->trigger();
    EXPECT_EQ(f.opener.opened, (std::vector<std::string>{"play:Large", "credits", "help", "colors"}));
    EXPECT_EQ(f.puzzle.PuzzleName, "Large Puzzle Four Electrodes");
    EXPECT_TRUE(f.window.isVisible());

    // While a child window is open, the menu does nothing, also when reached around the
    // modality (a screen reader can trigger its entries).
    f.opener.inPlayForm = [&f] {
        for (const char* name : {"mnuColors", "mnuPlus", "mnuNoShow", "mnuExit"})
            Action(f.window, name)->trigger();
    };
    Action(f.window, "mnuH")->trigger();
    EXPECT_EQ(f.opener.opened.size(), 5u);
    EXPECT_EQ(f.puzzle.PuzzleName, "Small Puzzle H");
    EXPECT_TRUE(Action(f.window, "mnuNoShow")->isChecked());
    EXPECT_TRUE(f.puzzle.NoShowFirst);
    EXPECT_TRUE(f.window.isVisible());

    f.opener.inPlayForm = [&f] { f.puzzle.ExitRequested = true; };
    Action(f.window, "mnuH")->trigger();
    EXPECT_FALSE(f.window.isVisible()) << "Exit in the play form closes the main window";
}

TEST(CreditsWindow, ShowsTheVersionRecordAndEveryTextWhole) {
    CreditsWindow credits;
    credits.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&credits));
    EXPECT_EQ(credits.windowTitle(), QStringLiteral("Corvana Credits"));
    EXPECT_EQ(credits.size(), QSize(419, 286));
    const CreditsTexts given = Credits();
    const std::map<QString, std::string> texts = {
        {"Label1", given.title},     {"Label2", given.version}, {"Label7", given.description},
        {"Label3", given.createdBy}, {"Label4", given.author},
    };
    for (const auto& [name, text] : texts) {
        auto* label = credits.findChild<QLabel*>(name);
        ASSERT_NE(label, nullptr) << name.toStdString();
        EXPECT_EQ(label->text().toStdString(), text);
    }
    for (QLabel* label : credits.findChildren<QLabel*>()) {
        if (label->objectName() == QStringLiteral("Image1"))
            continue;
        EXPECT_TRUE(ShowsWholeText(*label)) << label->objectName().toStdString();
        EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(Qt::white));
        EXPECT_GE(label->font().pointSizeF(), 8.0) << label->objectName().toStdString();
    }
    // The wrapped texts never run into the text below them.
    const auto bottom = [&credits](const char* name) {
        const QLabel* label = credits.findChild<QLabel*>(QString::fromUtf8(name));
        return label->y() + label->heightForWidth(label->width());
    };
    const auto top = [&credits](const char* name) {
        return credits.findChild<QLabel*>(QString::fromUtf8(name))->geometry().top();
    };
    EXPECT_LE(bottom("Label7"), top("Label8"));
    EXPECT_LE(bottom("Label8"), top("Label3"));
    auto* icon = credits.findChild<QLabel*>(QStringLiteral("Image1"));
    ASSERT_NE(icon, nullptr);
    EXPECT_FALSE(icon->pixmap().isNull());
}

namespace {

QLineEdit* Cell(HowToPlayWindow& help, int index) {
    for (QLineEdit* cell : help.findChildren<QLineEdit*>(QStringLiteral("txtGrid")))
        if (cell->property("Index").toInt() == index)
            return cell;
    return nullptr;
}

QAbstractButton* Option(HowToPlayWindow& help, int index) {
    for (QAbstractButton* b : help.findChildren<QAbstractButton*>(QStringLiteral("optSelection")))
        if (b->property("Index").toInt() == index)
            return b;
    return nullptr;
}

bool PageShown(HowToPlayWindow& help, int index) {
    for (QGroupBox* frame : help.findChildren<QGroupBox*>(QStringLiteral("fraHowToPlay")))
        if (frame->property("Index").toInt() == index)
            return frame->isVisible();
    return false;
}

} // namespace

TEST(HowToPlayWindow, ButtonsAndSelectorsSwitchPagesAndShowTheExample) {
    PuzzleState puzzle;
    HowToPlayWindow help(puzzle);
    help.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&help));
    EXPECT_EQ(help.windowTitle(), QStringLiteral("How To Play"));
    auto* back = help.findChild<QPushButton*>(QStringLiteral("cmdBack"));
    auto* forward = help.findChild<QPushButton*>(QStringLiteral("cmdForward"));
    auto* buffer = help.findChild<QAction*>(QStringLiteral("mnuBuffer"));
    ASSERT_TRUE(back && forward && buffer);
    EXPECT_EQ(back->text(), QStringLiteral("<< Previous"));
    EXPECT_EQ(forward->text(), QStringLiteral("Next >>"));
    EXPECT_FALSE(back->isEnabled());

    QTest::mouseClick(forward, Qt::LeftButton);
    QTest::mouseClick(forward, Qt::LeftButton);
    EXPECT_TRUE(PageShown(help, 2));
    EXPECT_FALSE(PageShown(help, 0));
    EXPECT_TRUE(Option(help, 2)->isChecked());
    EXPECT_EQ(buffer->text(), QStringLiteral("Buffer = 0157"));
    EXPECT_EQ(Cell(help, 60)->palette().color(QPalette::Base), QColor(0, 0, 255));
    EXPECT_EQ(Cell(help, 65)->text(), QStringLiteral("5"));
    EXPECT_EQ(Cell(help, 65)->palette().color(QPalette::Text), QColor(255, 0, 0));
    EXPECT_TRUE(help.findChild<QCheckBox*>(QStringLiteral("Check1"))->isChecked());

    QTest::mouseClick(Option(help, 3), Qt::LeftButton);
    EXPECT_TRUE(PageShown(help, 3));
    EXPECT_FALSE(forward->isEnabled());
    EXPECT_EQ(Cell(help, 70)->text() + Cell(help, 80)->text() + Cell(help, 90)->text(),
              QStringLiteral("157"));

    // A screen reader's Toggle checks a selector without a click; the page follows all the same.
    QAccessible::queryAccessibleInterface(Option(help, 1))
        ->actionInterface()
        ->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_TRUE(Option(help, 1)->isChecked());
    EXPECT_TRUE(PageShown(help, 1));
    EXPECT_FALSE(PageShown(help, 3));
    EXPECT_EQ(Cell(help, 70)->text(), QString());

    // The example never reacts to typing or clicking; its cells are named for a screen reader.
    auto* check = help.findChild<QCheckBox*>(QStringLiteral("Check2"));
    QLineEdit* cell = Cell(help, 0);
    ASSERT_TRUE(cell->isVisible() && check->isVisible());
    QTest::mouseClick(cell, Qt::LeftButton);
    QTest::keyClicks(cell, QStringLiteral("7"));
    EXPECT_EQ(cell->text(), QString());
    QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(5, check->height() / 2));
    EXPECT_FALSE(check->isChecked());
    EXPECT_EQ(Cell(help, 12)->accessibleName(), QStringLiteral("Column 3 Row 2"));
    EXPECT_EQ(help.findChildren<QLineEdit*>(QStringLiteral("txtGrid")).size(), 100);
}

TEST(HowToPlayWindow, ReturnOrEnterPressesTheFocusedButtonOnlyAndEscapeCloses) {
    PuzzleState puzzle;
    HowToPlayWindow help(puzzle);
    help.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&help));
    auto* back = help.findChild<QPushButton*>(QStringLiteral("cmdBack"));
    auto* forward = help.findChild<QPushButton*>(QStringLiteral("cmdForward"));
    ASSERT_TRUE(back && forward);
    QTest::keyClick(forward, Qt::Key_Return);
    EXPECT_TRUE(PageShown(help, 1));
    QTest::keyClick(forward, Qt::Key_Enter);
    EXPECT_TRUE(PageShown(help, 2));
    QTest::keyClick(back, Qt::Key_Return);
    EXPECT_TRUE(PageShown(help, 1));
    // Return elsewhere presses no button behind the user's back.
    QTest::keyClick(Option(help, 0), Qt::Key_Return);
    EXPECT_TRUE(PageShown(help, 1));
    // Escape closes the window like Return to Main: the program goes on.
    QTest::keyClick(&help, Qt::Key_Escape);
    EXPECT_TRUE(help.isHidden());
    EXPECT_FALSE(puzzle.ExitRequested);
}

TEST(HowToPlayWindow, EveryTextIsShownWhole) {
    PuzzleState puzzle;
    HowToPlayWindow help(puzzle);
    help.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&help));
    EXPECT_GE(help.TextPointSize(), 7.5);
    for (QGroupBox* frame : help.findChildren<QGroupBox*>(QStringLiteral("fraHowToPlay"))) {
        for (QLabel* label : frame->findChildren<QLabel*>()) {
            EXPECT_TRUE(ShowsWholeText(*label)) << label->objectName().toStdString();
            EXPECT_LE(label->geometry().bottom(), frame->contentsRect().bottom())
                << label->objectName().toStdString();
        }
        EXPECT_LE(frame->fontMetrics().horizontalAdvance(frame->title()), frame->width());
    }
    for (int k = 0; k < 4; ++k)
        EXPECT_TRUE(ShowsWholeText(*Option(help, k))) << k;
    for (QPushButton* button : help.findChildren<QPushButton*>())
        EXPECT_LE(button->sizeHint().width(), button->width()) << button->objectName().toStdString();
    for (QCheckBox* check : help.findChildren<QCheckBox*>())
        EXPECT_LE(check->sizeHint().width(), check->width()) << check->objectName().toStdString();
}

TEST(HowToPlayWindow, ExitByItsShortcutSetsTheFlagAndCloses) {
    PuzzleState puzzle;
    HowToPlayWindow help(puzzle);
    help.show();
    help.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&help));
    auto* exit = help.findChild<QAction*>(QStringLiteral("mnuExit"));
    EXPECT_EQ(exit->text(), QStringLiteral("E&xit"));
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
    const std::string colorFile =
        (std::filesystem::temp_directory_path() / "corvana-gui-no-such-folder" / kColorFileName).string();
    PuzzleState puzzle;
    ColorScheme colors;
    FakeDialogs dialogs;
    QtWindowOpener opener(puzzle, colors, dialogs, colorFile);
    MainWindow window(puzzle, colors, dialogs, opener, colorFile);
    opener.SetParent(&window);
    window.Form_Load();
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    // Return To Main on the play window: back in the main window, which stays.
    WhenWindowShown(QStringLiteral("frmSmallSize"), [](QWidget* play) { Trigger(play, "mnuReturnToMain"); });
    Trigger(&window, "mnuPinwheel");
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(puzzle.ExitRequested);

    // Help on the play window, Exit in help: help, play window and main window all close.
    bool helpSeen = false;
    WhenWindowShown(QStringLiteral("frmSmallSize"), [&helpSeen](QWidget* play) {
        WhenWindowShown(QStringLiteral("frmHowToPlay"), [&helpSeen](QWidget* help) {
            helpSeen = true;
            Trigger(help, "mnuExit");
        });
        Trigger(play, "mnuHelp");
    });
    Trigger(&window, "mnuH");
    EXPECT_TRUE(helpSeen);
    EXPECT_TRUE(puzzle.ExitRequested);
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(dialogs.messages.empty());
    for (QWidget* w : QApplication::topLevelWidgets())
        EXPECT_FALSE(w->isVisible()) << w->objectName().toStdString();
}

// The command line's --template and --seed open the puzzle that seed makes, over the main window;
// typing its grid to the end brings the solved notice once, and the kept game, being solved, is
// no longer offered for resuming.
TEST(StartRequest, OpensBySeedAndTypingTheGridToTheEndBringsTheNotice) {
    corvana::test::TempDir dir;
    const std::string colorFile = dir.File(kColorFileName);
    GameStore store(dir.File("state/last-game.json"));
    PuzzleState puzzle;
    ColorScheme colors;
    FakeDialogs dialogs;
    QtWindowOpener opener(puzzle, colors, dialogs, colorFile, &store);
    MainWindow window(puzzle, colors, dialogs, opener, colorFile, {}, &store);
    opener.SetParent(&window);
    window.Form_Load();
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_FALSE(Action(window, "mnuResume")->isEnabled());

    PuzzleState expected;
    expected.PuzzleName = "Small Puzzle Wheel";
    expected.NoShowFirst = true;
    ASSERT_TRUE(GeneratePuzzle(expected, dialogs, 42));
    StartRequest request;
    request.kind = StartRequest::Kind::Template;
    request.templateName = expected.PuzzleName;
    request.seed = 42;
    request.noFirst = true;

    std::size_t messagesBeforeLastDigit = 99;
    WhenWindowShown(QStringLiteral("frmSmallSize"), [&](QWidget* play) {
        EXPECT_EQ(puzzle.SolutionArray, expected.SolutionArray);
        EXPECT_EQ(puzzle.Captions, expected.Captions);
        EXPECT_TRUE(store.Resumable()) << "the game is kept from the start";
        QList<QLineEdit*> cells = play->findChildren<QLineEdit*>(QStringLiteral("txtGrid"));
        std::sort(cells.begin(), cells.end(), [](QLineEdit* a, QLineEdit* b) {
            return a->property("index").toInt() < b->property("index").toInt();
        });
        for (QLineEdit* cell : cells) {
            const auto i = static_cast<std::size_t>(cell->property("index").toInt());
            if (!puzzle.GridPattern[i])
                continue;
            messagesBeforeLastDigit = dialogs.messages.size();
            QTest::keyClick(cell, static_cast<Qt::Key>(Qt::Key_0 + puzzle.SolutionArray[i]));
        }
        Trigger(play, "mnuReturnToMain");
    });
    window.Open(request);
    EXPECT_EQ(messagesBeforeLastDigit, 0u) << "no notice before the last digit";
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text.rfind("Well done!  You have solved Small Puzzle Wheel in ", 0), 0u)
        << dialogs.messages[0].text;
    EXPECT_EQ(dialogs.messages[0].title, "Corvana");
    EXPECT_EQ(dialogs.messages[0].buttons, Buttons::Ok);
    EXPECT_TRUE(Action(window, "mnuNoShow")->isChecked()) << "as if chosen from the menu";
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(GameStore(store.Path()).Load().game);
    EXPECT_FALSE(Action(window, "mnuResume")->isEnabled());
}

TEST(ProgramIdentity, NameVersionDesktopEntryAndIconComeFromTheVersionRecord) {
    ApplyProgramIdentity();
    EXPECT_EQ(QApplication::applicationName(), QStringLiteral("Corvana"));
    EXPECT_EQ(QApplication::applicationVersion(),
              QStringLiteral("%1.%2.%3").arg(version::Major).arg(version::Minor).arg(version::Revision));
    // The id of the installed desktop file and icon, without ".desktop".
    EXPECT_EQ(QGuiApplication::desktopFileName(), QStringLiteral("org.example.corvana"));
    EXPECT_EQ(QGuiApplication::desktopFileName(), QString::fromUtf8(version::AppId));
    const QIcon icon = QApplication::windowIcon();
    ASSERT_FALSE(icon.isNull());
    EXPECT_FALSE(icon.pixmap(32, 32).isNull());
    // Every window of the program carries it.
    CreditsWindow credits;
    EXPECT_FALSE(credits.windowIcon().isNull());
}
