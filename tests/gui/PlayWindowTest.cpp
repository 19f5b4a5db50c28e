// The play window on the offscreen platform: what it shows must be exactly what the model
// holds, laid out from the twip tables, and every key, click and menu command must reach the
// model (and nothing else: the cells never edit themselves). Printing goes to PDF files, with
// the printer choice scripted.

#include "play/PlayWindow.h"
#include "FakeDialogs.h"
#include "MenuEntries.h"
#include "QtPrinters.h"
#include "TempDir.h"
#include "play/GameStore.h"
#include "play/PlayWidgets.h"
#include "puzzle/GeneratePuzzle.h"
#include "puzzle/Templates.h"
#include "solver/Rules.h"
#include "ui/QtUtil.h"

#include <QPrinter>
#include <QTest>
#include <QtWidgets>

#include <gtest/gtest.h>

#include <tuple>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <filesystem>

#include <sys/resource.h>

using namespace corvana;
using namespace corvana::test;

namespace {

// Distinct red, green and blue bytes in every scheme colour, so a colour read the wrong way
// round (0x00RRGGBB instead of 0x00BBGGRR) shows; or the defaults, saturated, for printing.
ColorScheme TestColors(bool distinct = true) {
    ColorScheme scheme;
    SetDefaultColors(scheme);
    for (std::size_t k = 0; distinct && k < 3; ++k) {
        scheme.BackgroundColor[k] = 0x00D0E0F0 + static_cast<ColorValue>(k); // R F0, G E0, B D0
        scheme.PrimaryColor[k] = 0x00102080;                                 // R 80, G 20, B 10
        scheme.CheckedColor[k] = 0x00008040;                                 // R 40, G 80, B 00
    }
    return scheme;
}

// A generated puzzle of the named template in a real play window, shown and active, with its
// controls found by their names and indexes. Its clock reads `now`, which only the test moves.
struct Window {
    explicit Window(const std::string& name, const ColorScheme& scheme = TestColors()) : colors(scheme) {
        puzzle.PuzzleName = name;
        EXPECT_TRUE(GeneratePuzzle(puzzle, 5));
        window = std::make_unique<PlayWindow>(FormFor(FindTemplate(name)->size), puzzle, exitRequested,
                                              colors, dialogs, [this] { ++helpShown; });
        window->show();
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
        Model().SetClock([this] { return now; });
    }

    PlayForm& Model() { return window->Model(); }
    const FormConfig& Config() { return window->Model().Config(); }
    template <typename T> T* Indexed(const QString& name, int index) const {
        for (T* w : window->findChildren<T*>(name))
            if (w->property("index").toInt() == index)
                return w;
        return nullptr;
    }
    QLineEdit* Cell(int index) const { return Indexed<QLineEdit>(QStringLiteral("txtGrid"), index); }
    QCheckBox* Box(const ListBox& b) const {
        return Indexed<QCheckBox>(QString("chk%1Numbers%2").arg(b.digits).arg(b.down ? "Down" : ""), b.index);
    }
    QAction* Action(const char* name) const { return window->findChild<QAction*>(name); }
    QGroupBox* Frame(const char* name) const { return window->findChild<QGroupBox*>(name); }
    QLabel* Label(const char* name) const { return window->findChild<QLabel*>(name); }
    QRect In(QWidget* w, const char* frame) const { return {w->mapTo(Frame(frame), QPoint()), w->size()}; }
    static std::size_t At(int i) { return static_cast<std::size_t>(i); }
    static QRect Pixels(const TwipRect& r) { return TwipsRect(r.left, r.top, r.width, r.height); }
    // The first white square without a digit (the starting number's hold theirs).
    int FreeCell() const {
        for (int i = 0;; ++i)
            if (puzzle.GridPattern[At(i)] && puzzle.UserArray[At(i)] < 0)
                return i;
    }

    ColorScheme colors;
    PuzzleState puzzle;
    bool exitRequested = false;
    corvana::test::FakeDialogs dialogs;
    int helpShown = 0;
    double now = 0;
    std::unique_ptr<PlayWindow> window;
};

// The colour on screen at a point given in device-independent pixels (the tests also run at
// twice the scale).
QColor Pixel(QWidget* w, QPoint at) {
    const QImage image = w->grab().toImage();
    return image.pixelColor((QPointF(at) * image.devicePixelRatio()).toPoint()); // rounded
}

// The smallest rectangle, in the image's own pixels, holding every pixel `is` picks out at least
// `margin` pixels inside the edge; empty if there is none.
QRect Inked(const QImage& image, const std::function<bool(const QColor&)>& is, int margin = 0) {
    QRect found;
    for (int y = margin; y < image.height() - margin; ++y)
        for (int x = margin; x < image.width() - margin; ++x)
            if (is(image.pixelColor(x, y)))
                found |= QRect(x, y, 1, 1);
    return found;
}
const auto Dark = [](const QColor& c) { return c.lightness() < 128; };

// What a screen reader reads as a widget's name.
std::string ReaderName(QWidget* w) {
    QAccessible::setActive(true);
    const QString name = QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name);
    QAccessible::setActive(false);
    return name.toStdString();
}

const char* const kOnePerSize[] = {"Small Puzzle H", "Normal Puzzle Shield", "Large Puzzle Four Electrodes"};

// A play window whose printer is chosen by script: a PDF printer writing into a temporary
// folder, or nothing (a cancel). While the printer is being chosen the window is in its print
// state, so that is when it is looked at.
struct PrintWindow : Window, PrinterChooser {
    explicit PrintWindow(const std::string& name) : Window(name, TestColors(false)) {
        window->SetPrinterChooser(this);
    }

    std::unique_ptr<QPrinter> ChoosePrinter(QWidget*) override {
        onAsk();
        if (cancel)
            return nullptr;
        auto printer = std::make_unique<QPrinter>(QPrinter::ScreenResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(output);
        if (wide)
            printer->setPageSize(QPageSize(QSizeF(400, 120), QPageSize::Millimeter));
        return printer;
    }
    QTemporaryDir dir;
    QString output = dir.filePath(QStringLiteral("page.pdf"));
    bool cancel = false, wide = false;
    std::function<void()> onAsk = [] {};
};

} // namespace

// Cells, frames, list boxes and headings show what the model holds, where it puts them, in the
// scheme's colours. The window opens at the designed size, the focus in the first cell.
TEST(PlayWindow, ShowsTheModelWhereTheTwipTablesPutIt) {
    for (const char* name : kOnePerSize) {
        Window w(name);
        const FormConfig& c = w.Config();
        EXPECT_EQ(w.window->windowTitle(), QString::fromLatin1(name));
        EXPECT_EQ(w.window->size(),
                  QSize(ZoomedPixels(c.work.width, 100) + 16,
                        ZoomedPixels(c.work.height, 100) + w.window->menuBar()->sizeHint().height() + 24 +
                            w.window->statusBar()->sizeHint().height()));
        for (int i = 0; i < c.CellCount(); ++i) {
            const GridCell& model = w.Model().Cells()[Window::At(i)];
            EXPECT_EQ(w.In(w.Cell(i), "fraUserGrid"), Window::Pixels(c.CellRect(i))) << i;
            EXPECT_TRUE(w.Frame("fraUserGrid")->rect().contains(w.In(w.Cell(i), "fraUserGrid"))) << i;
            EXPECT_EQ(w.Cell(i)->text().toStdString(), model.text) << i;
            EXPECT_EQ(w.Cell(i)->isEnabled(), model.enabled) << i;
        }
        EXPECT_EQ(w.Frame("fraUserGrid")->title(), QStringLiteral("User Grid"));
        EXPECT_EQ(w.In(w.Frame("fraUserGrid"), "fraWork"), Window::Pixels(c.userGrid));
        EXPECT_EQ(w.window->findChild<QLabel*>(QStringLiteral("lblCopyright"))->alignment(), Qt::AlignCenter);
        const auto* across = w.window->findChild<QLabel*>(QStringLiteral("lblAcross"));
        EXPECT_EQ(across != nullptr, c.separateLists);
        EXPECT_GE(across ? across->y() : 2, 2) << "the heading stands below fraWork's etched border";
        // The focus starts in the first white cell (a black one never takes it): its sunken
        // border, and the focus ring just inside.
        int first = -1, lowest = 0; // the white cell first in tab order, and any cell
        for (int i = 0; i < c.CellCount(); ++i) {
            if (w.puzzle.GridPattern[Window::At(i)] && (first < 0 || c.TabIndex(i) < c.TabIndex(first)))
                first = i;
            lowest = c.TabIndex(i) < c.TabIndex(lowest) ? i : lowest;
        }
        QWidget* at = w.Cell(first);
        for (const int outside : {-1, c.CellCount()}) // a cell outside the grid takes nothing from it
            w.window->SetFocusCell(outside);
        EXPECT_EQ(QApplication::focusWidget(), at);
        EXPECT_EQ(Pixel(at, QPoint(0, 1)), QColor(128, 128, 128));
        EXPECT_EQ(Pixel(at, QPoint(at->width() / 2, 0)), QColor(128, 128, 128));
        EXPECT_EQ(Pixel(at, QPoint(1, 1)), at->palette().color(QPalette::Active, QPalette::Highlight));
        EXPECT_EQ(Pixel(at, QPoint(at->width() - 2, at->height() - 1)), QColor(212, 212, 212));
        EXPECT_EQ(Pixel(at, {at->width() - 1, 0}), QColor(212, 212, 212)) << "the light edge's full height";
        // The focus chain walks the cells in tab index order (Tab passes over the black ones).
        at = w.Cell(lowest);
        for (int step = 1; step < c.CellCount(); ++step, at = at->nextInFocusChain())
            EXPECT_EQ(c.TabIndex(at->nextInFocusChain()->property("index").toInt()),
                      c.TabIndex(at->property("index").toInt()) + 1);
        // The scheme's colours (red in the low byte) on the form, fraWork and the grid's frame;
        // white and black squares, the starting number in red, the lists in their colours.
        const QColor back(static_cast<int>(0xF0 + c.ColorIndex()), 0xE0, 0xD0);
        QWidget *client = w.window->centralWidget(), *work = w.Frame("fraWork");
        EXPECT_EQ(Pixel(client, QPoint(client->width() - 2, client->height() - 2)), back);
        EXPECT_EQ(Pixel(work, QPoint(work->width() / 2, work->height() - 4)), back);
        // fraWork's right edge, its foot and its left edge, a light line inside the dark one.
        for (const QPoint edge :
             {QPoint(work->width() - 2, 40), QPoint(40, work->height() - 2), QPoint(0, 40)}) {
            const int shade = Pixel(work, edge).lightness();
            EXPECT_TRUE(shade > 0 && shade < back.lightness()) << "etched: a shade of the colour, " << shade;
        }
        EXPECT_GT(Pixel(work, QPoint(1, 40)).lightness(), back.lightness()) << "and a light line inside it";
        EXPECT_EQ(w.Frame("fraUserGrid")->palette().color(QPalette::WindowText), QColor(0x80, 0x20, 0x10));
        // The grid frame's etched line runs level with the middle of its caption.
        QGroupBox* frame = w.Frame("fraUserGrid");
        const QImage edge = frame->grab(QRect(frame->width() - 12, 0, 4, 40)).toImage();
        EXPECT_NEAR(Inked(edge, [&back](const QColor& x) { return x != back; }).top(),
                    frame->fontMetrics().height() / 2 * edge.devicePixelRatio(), edge.devicePixelRatio() / 2);
        EXPECT_EQ(Pixel(frame, {9, frame->fontMetrics().height() / 2}), back) << "no line behind the title";
        const QImage caption = frame->grab({0, 0, frame->width(), frame->fontMetrics().height()}).toImage();
        EXPECT_GE(Inked(caption, [](const QColor& x) { return x.green() < 128; }).right(), // the title whole
                  (7 + frame->fontMetrics().horizontalAdvance(frame->title())) * caption.devicePixelRatio());
        for (int i = 0; i < c.CellCount(); i += 7)
            EXPECT_EQ(Pixel(w.Cell(i), {3, 8}), w.puzzle.GridPattern[Window::At(i)] ? Qt::white : Qt::black);
        EXPECT_EQ(w.Cell(w.puzzle.StarterFirstCell)->palette().color(QPalette::Text), QColor(255, 0, 0));
        for (const ListBox& b : w.Model().Boxes()) {
            QCheckBox* box = w.Box(b);
            EXPECT_EQ(std::tuple(box->isVisible(), box->text().toStdString(), box->isChecked()),
                      std::tuple(b.visible, b.caption, b.value == 1));
            if (b.visible) { // a shown box: its place, its caption's colour, the scheme's background
                EXPECT_EQ(std::tuple(w.In(box, "fraWork"), box->palette().color(QPalette::WindowText),
                                     Pixel(box, QPoint(box->width() - 1, 0))),
                          std::tuple(TwipsRect(b.left, b.top, c.boxWidth[Window::At(b.digits)], 240),
                                     b.value == 1 ? QColor(0x40, 0x80, 0x00) : ToQColor(b.fore), back));
            }
        }
        for (const FormLabel& l : w.Model().Labels()) // in the scheme's colours from the first paint
            EXPECT_EQ(w.Label(l.name.c_str())->palette().color(QPalette::Window), ToQColor(l.back)) << l.name;
        // fraWork is never pushed off the window's edge.
        w.window->resize(200, 150);
        EXPECT_EQ(work->pos(), QPoint(0, 0));
        // and in a larger window it stands in the middle, but for the allowances the form keeps
        // for its borders, title and menu bar.
        w.window->resize(client->width() + work->width() + 200, client->height() + work->height() + 100);
        const QPoint off = work->geometry().center() - client->rect().center();
        EXPECT_LE(std::abs(off.x()), TwipsToPixels(c.resizeDx) / 2 + 1);
        EXPECT_LE(std::abs(off.y()), TwipsToPixels(c.resizeDy) / 2 + 1);
        const QPointer<QStyle> tickStyle = w.Box(w.Model().Boxes().front())->style();
        w.window.reset();
        EXPECT_TRUE(tickStyle.isNull()) << "the list boxes' style goes with the window";
    }
}

// The menus' names, captions, shortcuts and order; the Show Starting Number entry only while the
// starter is hidden; what a screen reader arriving later reads of cells and lists. The title
// bar closes the window as Return to Main does.
TEST(PlayWindow, MenusAndScreenReaderNamesCarryTheirCaptionsAndTheTitleBarCloses) {
    Window w("Normal Puzzle Shield");
    // A menu's entries, each as name=caption [shortcut], apart by '|'.
    const auto menu = [&w](auto m) { return Entries(w.window->findChild<QMenu*>(m)->actions()).join('|'); };
    EXPECT_EQ(Entries(w.window->menuBar()->actions()),
              (QStringList{"mnuFile=&File", "mnuEdit=&Edit", "mnuView=&View", "mnuBuffer=Buffer = "}));
    EXPECT_EQ(menu("mnuFile"), "mnuNewPuzzle=&New Game [Ctrl+N]|mnuRestartGame=Restart Game|"
                               "mnuShowStartingNumber=Show Starting Number|mnuPrint=Print|mnuSpace=-|"
                               "mnuHelp=&Help [F1]|mnuSpace2=-|mnuReturnToMain=" +
                                   QString::fromUtf8(w.Config().returnCaption) +
                                   " [Ctrl+R]|mnuExit=E&xit [Ctrl+X]");
    EXPECT_EQ(menu("mnuPrint"),
              "mnuPrintNew=Print Original|mnuPrintCurrent=Print Current|mnuPrintSolution=Print Solution");
    EXPECT_EQ(menu("mnuEdit"), "mnuUndo=Undo  [Ctrl+Z]|mnuSolution=&Show Solution / User Grid [Ctrl+S]|"
                               "mnuHint=&Hint [Ctrl+H]|mnuCheck=&Check [Ctrl+K]");
    EXPECT_EQ(menu("mnuView"), "mnuZoomIn=Zoom In [Ctrl++]|mnuZoomOut=Zoom Out [Ctrl+-]|"
                               "mnuActualSize=Actual Size [Ctrl+0]|"
                               "mnuStatusBar=Status &Bar|mnuShowClock=Show &Clock");
    EXPECT_FALSE(w.Action("mnuUndo")->isEnabled() || w.Action("mnuShowStartingNumber")->isVisible());
    w.puzzle.NoShowFirst = true;
    w.Action("mnuNewPuzzle")->trigger();
    EXPECT_TRUE(w.Action("mnuShowStartingNumber")->isVisible());
    // Accessibility is switched on here only. The cells are named when a screen reader arrives
    // (a window opened while one is there cannot be shown: offscreen has no bridge).
    EXPECT_EQ(ReaderName(w.Cell(2 * w.Config().width + 3)), "Column 4 Row 3");
    EXPECT_EQ(ReaderName(w.Box(w.Model().Boxes().front())), w.Model().Boxes().front().caption);
    w.window->close(); // the title bar's close button: back to the main window
    EXPECT_TRUE(w.window->Unloaded() && !w.exitRequested);
}

// The status bar under the work area names the seed and options and the grade, and answers Hint
// and Check (Ctrl+H and Ctrl+K work from a cell), all read by a screen reader; Check strikes a
// wrong square through. Hidden, the window shrinks by the bar and the work area stays put.
TEST(PlayWindow, TheStatusBarAnswersHintAndCheckAndCheckStrikesAWrongSquareThrough) {
    Window w("Small Puzzle H");
    const auto text = [&w](const char* name) {
        return w.Label(name)->isVisible() ? ReaderName(w.Label(name)) : "(hidden)";
    };
    EXPECT_EQ(
        std::tuple(text("lblPuzzle"), text("lblGrade"), text("lblMessage")),
        std::tuple("seed 5", std::string("Grade: ") + GradeName(GradePuzzle(ShownPuzzle(w.puzzle))), ""));
    EXPECT_GE(w.window->statusBar()->geometry().top(), w.window->centralWidget()->geometry().bottom());
    // The seed and the grade at the left, the clock at the right end, the answer under all three.
    const auto place = [&w](const char* name) { return w.Label(name)->geometry(); };
    for (const char* name : {"lblPuzzle", "lblGrade", "lblClock", "lblMessage"}) // what each one is for
        EXPECT_FALSE(w.Label(name)->accessibleDescription().isEmpty()) << name;
    EXPECT_EQ(std::tuple(place("lblMessage").left(), place("lblMessage").right(),
                         place("lblMessage").height() / w.Label("lblMessage")->fontMetrics().lineSpacing()),
              std::tuple(place("lblPuzzle").left(), place("lblClock").right(), 2)); // two lines of room
    // The answer a pixel under the row above it; that row's three apart, left to right.
    const int row =
        std::max({place("lblPuzzle").bottom(), place("lblGrade").bottom(), place("lblClock").bottom()});
    EXPECT_TRUE(place("lblMessage").top() == row + 2 &&
                place("lblPuzzle").right() < place("lblGrade").left() &&
                place("lblGrade").right() < place("lblClock").left());
    EXPECT_EQ(place("lblClock").width(), w.Label("lblClock")->sizeHint().width());

    const int i = w.FreeCell();
    QLineEdit* cell = w.Cell(i);
    cell->setFocus();
    QTest::keyClick(cell, static_cast<Qt::Key>(Qt::Key_0 + (w.puzzle.SolutionArray[Window::At(i)] + 1) % 10));
    // The stroke's red, anywhere in the square.
    const auto strokeRed = [](const QColor& c) { return c == QColor(204, 0, 0); };
    const auto struck = [cell, strokeRed] { return !Inked(cell->grab().toImage(), strokeRed).isEmpty(); };
    EXPECT_FALSE(struck());
    QTest::keyClick(cell, Qt::Key_H, Qt::ControlModifier);
    EXPECT_EQ(text("lblMessage"), w.Model().StatusText());
    QTest::keyClick(cell, Qt::Key_K, Qt::ControlModifier);
    EXPECT_EQ(std::tuple(text("lblMessage"), struck()), std::tuple("1 square is wrong", true));
    EXPECT_TRUE(ShowsWholeText(*w.Label("lblMessage")));
    EXPECT_EQ(w.Label("lblMessage")->toolTip(), "1 square is wrong") << "a hover away";
    const QImage drawn = cell->grab().toImage(); // from corner to corner: as far from each edge
    const QRect red = Inked(drawn, strokeRed);
    EXPECT_EQ(red.topLeft() + red.bottomRight(), QPoint(drawn.width() - 1, drawn.height() - 1));
    EXPECT_EQ(Pixel(cell, QPoint(3, 3)), QColor(255, 214, 214)) << "tinted as well";

    const QPoint at = w.Frame("fraWork")->pos();
    const int height = w.window->height(), bar = w.window->statusBar()->height();
    w.Action("mnuStatusBar")->trigger();
    EXPECT_EQ(std::tuple(text("lblPuzzle"), w.window->height(), w.Frame("fraWork")->pos()),
              std::tuple("(hidden)", height - bar, at));
    EXPECT_FALSE(w.window->statusBar()->isSizeGripEnabled()) << "the window's size is the program's";
    w.Action("mnuSolution")->trigger(); // the busy pointer while the grid changes
    EXPECT_EQ(w.dialogs.busyCalls, (std::vector<bool>{true, false}));
}

// The clock shows the time spent, read out in words, and ticks when the next second is due; it
// stands still while the window is minimised, and View > Show Clock (or the status bar, which
// holds it) hides it.
TEST(PlayWindow, TheClockShowsTheTimeSpentAndStandsStillWhileMinimised) {
    Window w("Small Puzzle H");
    w.Action("mnuNewPuzzle")->trigger(); // the time starts now, without the moments of opening
    auto* timer = w.window->findChild<QTimer*>(QStringLiteral("tmrClock"));
    const auto tick = [&, label = w.window->ClockLabel()](double seconds) {
        w.now += seconds;
        if (timer->isActive())
            QMetaObject::invokeMethod(timer, "timeout");
        return label->isVisible() ? label->text().toStdString() + "|" + ReaderName(label) : "(hidden)";
    };
    EXPECT_EQ(tick(61.75), "1:01|Time spent: 1 minute 1 second");
    // Due once, a millisecond past the next whole second.
    EXPECT_EQ(std::pair(timer->interval(), timer->isSingleShot()), std::pair(251, true));
    w.window->setWindowState(Qt::WindowMinimized);
    EXPECT_EQ(tick(3600), "1:01|Time spent: 1 minute 1 second");
    EXPECT_FALSE(timer->isActive());
    w.window->setWindowState(Qt::WindowNoState);
    EXPECT_EQ(tick(1.5), "1:03|Time spent: 1 minute 3 seconds");
    for (const char* hides : {"mnuShowClock", "mnuStatusBar"}) { // the bar holds the clock
        w.Action(hides)->trigger();
        EXPECT_EQ((std::tuple{timer->isActive(), tick(0.5)}), std::tuple(false, "(hidden)")) << hides;
        w.Action(hides)->trigger();
        EXPECT_TRUE(timer->isActive()) << hides;
    }
    EXPECT_EQ(tick(0), "1:04|Time spent: 1 minute 4 seconds");
}

// No list caption, heading or menu entry is cut off, for every number a list of that length
// could show: one template of each size class (the list widths and fonts are the class's) at
// every zoom.
TEST(PlayWindow, EveryCaptionFitsOnEverySizeAndZoom) {
    QFont wide = QApplication::font();
    wide.setStretch(150); // a desktop font of wide figures, where the type must shrink to fit
    for (const QFont& desktop : {wide, QApplication::font()}) // the usual font last: it stays
        for (const char* name : kOnePerSize)
            for (const int zoom : kZoomSteps) {
                SCOPED_TRACE(name + (" at " + std::to_string(zoom) + (desktop == wide ? "%, wide" : "%")));
                QApplication::setFont(desktop);
                Window w(name);
                const QSize designed = w.window->frameGeometry().size();
                const QCheckBox* first = w.window->findChild<QCheckBox*>();
                const auto tick = [first] { return first->style()->pixelMetric(QStyle::PM_IndicatorWidth); };
                const int tickAt100 = tick();
                w.window->SetZoom(zoom);
                EXPECT_EQ(tick(), ZoomedSize(tickAt100, zoom)) << "the tick box grows as the captions do";
                // A zoomed window is no larger than the screen leaves room for, or than at 100 %.
                const QSize room = w.window->screen()->availableGeometry().size().expandedTo(designed);
                EXPECT_EQ(w.window->frameGeometry().size().boundedTo(room), w.window->frameGeometry().size());
                // The fonts are the largest that fit; under the usual font not a fallback to the smallest.
                const int least = desktop == wide ? 6 : ZoomedSize(9, zoom),
                          listPx = w.window->ListFont().pixelSize();
                EXPECT_EQ(std::clamp(listPx, least, ZoomedSize(12, zoom)), listPx);
                for (QCheckBox* box : w.window->findChildren<QCheckBox*>()) {
                    if (box->isHidden())
                        continue;
                    EXPECT_EQ(box->font(), w.window->ListFont());
                    EXPECT_LT(box->fontMetrics().height(), box->height()) << "a line and a pixel to spare";
                    const QString shown = box->text();
                    for (char16_t d = u'0'; d <= u'9'; ++d) {
                        box->setText(QString(shown.size(), QChar(d)));
                        EXPECT_LE(box->sizeHint().width(), box->width()) << box->objectName().toStdString();
                    }
                    box->setText(shown);
                    // and it asks for room for its tick and its whole caption
                    EXPECT_LE(tick() + box->fontMetrics().horizontalAdvance(shown), box->sizeHint().width());
                }
                for (QLabel* label : w.window->findChildren<QLabel*>())
                    EXPECT_TRUE(label->isHidden() || ShowsWholeText(*label)) << label->text().toStdString();
                // The headings are in the list font; ACROSS and DOWN stand out in bold.
                for (QLabel* l : w.window->findChildren<QLabel*>(QRegularExpression("^lbl\\w+[ns]$")))
                    EXPECT_EQ(std::pair(l->font().pixelSize(), l->font().bold()),
                              std::pair(listPx, !l->objectName().endsWith("Digits")))
                        << l->objectName().toStdString();
                QGroupBox* grid = w.Frame("fraUserGrid");
                EXPECT_LE(grid->fontMetrics().horizontalAdvance("Solution Grid"), grid->width() - 20);
                // A digit fits inside every cell's border and focus ring (cells differ by a pixel).
                const int cellPx = w.window->CellFont().pixelSize();
                EXPECT_EQ(std::clamp(cellPx, least, ZoomedSize(13, zoom)), cellPx);
                for (QLineEdit* cell : w.window->findChildren<QLineEdit*>(QStringLiteral("txtGrid"))) {
                    EXPECT_EQ(cell->font(), w.window->CellFont());
                    EXPECT_LE(cell->fontMetrics().height(), cell->height() - 4);
                    EXPECT_LE(cell->fontMetrics().horizontalAdvance(QStringLiteral("8")), cell->width() - 6);
                }
                // Every entry of the menu bar is on the bar, even with the longest number in the buffer.
                w.window->BoxClicked(w.Model().FindBox(FindTemplate(name)->lists.back().digits, false, 0));
                QMenuBar* bar = w.window->menuBar();
                for (QAction* a : bar->actions())
                    EXPECT_LT(bar->actionGeometry(a).right(), bar->width()) << a->text().toStdString();
                // Zoomed in once more, where the screen may hold the window's size, the scroll
                // area still takes in all of fraWork.
                w.window->SetZoom(zoom + 50);
                EXPECT_EQ(w.Frame("fraWork")->parentWidget()->minimumSize(), w.Frame("fraWork")->size());
            }
}

// A click (or Space) on a list box ticks it and fills the buffer; two clicks on cells fill the
// number in; a right click marks the start square blue. Return to Main unloads the window.
TEST(PlayWindow, ClicksOnListsCellsAndReturnToMainReachTheModel) {
    // "Small Puzzle H": row 5 is white from edge to edge, so an unticked 2-digit number fits from column 3.
    Window w("Small Puzzle H");
    const auto& boxes = w.Model().Boxes();
    QCheckBox* box = w.Box(*std::find_if(boxes.begin(), boxes.end(), [](const ListBox& b) {
        return b.digits == 2 && b.value != 1 && b.visible;
    }));
    const QString number = box->text();
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(5, box->height() / 2));
    EXPECT_TRUE(box->isChecked());
    box->setFocus(); // Space on the focused box is a click as well
    QTest::keyClick(box, Qt::Key_Space);
    EXPECT_FALSE(box->isChecked());
    EXPECT_EQ(w.Action("mnuBuffer")->text(), QStringLiteral("Buffer = ") + number);

    QTest::mouseClick(w.Cell(53), Qt::RightButton);
    EXPECT_TRUE(w.Cell(53)->hasFocus());
    EXPECT_EQ(Pixel(w.Cell(53), QPoint(3, w.Cell(53)->height() / 2)), QColor(0, 0, 255));
    QTest::mouseClick(w.Cell(56), Qt::LeftButton);
    EXPECT_EQ(w.Cell(53)->text() + w.Cell(54)->text(), number);
    EXPECT_EQ(w.Action("mnuUndo")->text(), QStringLiteral("Undo ") + number);

    // A black square takes neither the focus nor a digit: not by a click, not by Tab, not by the
    // accessibility actions a screen reader offers.
    const std::size_t black = 2; // the first row's third square, where its black squares begin
    QLineEdit* square = w.Cell(static_cast<int>(black));
    QTest::mouseClick(square, Qt::LeftButton);
    EXPECT_FALSE(square->hasFocus());
    QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(square);
    ASSERT_NE(reader, nullptr);
    reader->actionInterface()->doAction(QAccessibleActionInterface::setFocusAction());
    EXPECT_FALSE(square->hasFocus());
    reader->setText(QAccessible::Value, QStringLiteral("9"));
    if (QAccessibleEditableTextInterface* text = reader->editableTextInterface())
        text->insertText(0, QStringLiteral("9"));
    EXPECT_EQ(std::tuple(square->text().toStdString(), w.puzzle.UserArray[black]), std::tuple("", -1));
    w.Cell(53)->setFocus();
    for (int tab = 0; tab < 120; ++tab) {
        ASSERT_NE(QApplication::focusWidget(), nullptr);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_NE(QApplication::focusWidget(), square) << "after " << tab + 1 << " Tab keys";
    }
    QTest::keyClick(w.Cell(1), Qt::Key_Left);
    EXPECT_TRUE(w.Cell(0)->hasFocus()) << "an arrow key reaches the first square";
    w.Action("mnuReturnToMain")->trigger();
    EXPECT_TRUE(w.window->Unloaded() && !w.window->isVisible() && !w.exitRequested);
}

// The key as the platform reports it (Qt key, modifiers, native scan code and virtual key):
// top-row digit keys are digits whatever Shift or the layout make of them.
TEST(PlayWindow, TopRowDigitKeysAreDigitsWhateverShiftOrLayoutMakeOfThem) {
    const std::tuple<const char16_t*, int, Qt::KeyboardModifiers, quint32, quint32, QString, int> keys[] = {
        // The row's ends: 1 and 0 on X11 and Wayland, 0 and 9 on Windows.
        {u"xcb", Qt::Key_Exclam, Qt::ShiftModifier, 10, 0x21, "!", vk::Digit0 + 1},
        {u"xcb", Qt::Key_ParenRight, Qt::ShiftModifier, 19, 0x29, ")", vk::Digit0},
        {u"windows", Qt::Key_ParenRight, Qt::ShiftModifier, 11, 0x30, ")", vk::Digit0},
        {u"windows", Qt::Key_ParenLeft, Qt::ShiftModifier, 10, 0x39, "(", vk::Digit0 + 9},
        // The keys next to the row are no digits; where native codes mean nothing, the Qt key counts.
        {u"xcb", Qt::Key_Minus, Qt::NoModifier, 20, 0x2d, "-", 0},
        {u"windows", Qt::Key_Colon, Qt::ShiftModifier, 39, 0x3a, ":", 0},
        {u"offscreen", Qt::Key_Ampersand, Qt::ShiftModifier, 16, 0x26, "&", 0}};
    for (const auto& [platform, key, modifiers, scan, virtualKey, text, expected] : keys) {
        const QKeyEvent event(QEvent::KeyPress, key, modifiers, scan, virtualKey, 0, text);
        EXPECT_EQ(VirtualKeyCode(event, QStringView(platform)), expected) << text.toStdString();
    }
}

// Digits reach the model and nothing else enters a cell; the menu's shortcuts fire while a cell
// has the focus (QLineEdit would claim Ctrl+Z, Ctrl+X and friends for itself).
TEST(PlayWindow, TypedDigitsAndMenuShortcutsReachTheModelFromACell) {
    Window w("Normal Puzzle HTT");
    const int i = w.FreeCell();
    QLineEdit* cell = w.Cell(i);
    cell->setFocus();
    // A key on the cell; then the cell's value in the model's user grid.
    const auto userAfter = [&](Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(cell, key, modifiers);
        return w.puzzle.UserArray[Window::At(i)];
    };
    // The digit reaches the model, and the screen follows a single change.
    EXPECT_EQ((std::tuple{userAfter(Qt::Key_8), cell->updatesEnabled()}), std::tuple(8, true));
    // The 8 is drawn in the middle of its square (in its line the digit itself stands a little
    // high), here at a zoom where a misplaced one would show.
    w.window->SetZoom(300);
    const QImage drawn = cell->grab().toImage();
    const QRect ink = Inked(drawn, Dark, qRound(3 * drawn.devicePixelRatio())); // inside border and ring
    EXPECT_NEAR(ink.left(), drawn.width() - 1 - ink.right(), drawn.width() / 25);
    EXPECT_NEAR(ink.top(), drawn.height() - 1 - ink.bottom(), drawn.height() / 12);
    // The focused cell's ring: two pixels of the highlight on every side, inside a sunken border.
    const qreal r = drawn.devicePixelRatio();
    const int W = cell->width(), H = cell->height();
    const auto at = [&](qreal x, qreal y) { return drawn.pixelColor(qRound(x * r), qRound(y * r)).name(); };
    EXPECT_EQ((std::vector{at(W / 2, 1.5), at(W / 2, H - 2.5), at(1.5, H / 2), at(W - 2.5, H / 2)}),
              std::vector<QString>(4, cell->palette().color(QPalette::Active, QPalette::Highlight).name()));
    // The border is sampled beside its corners, where a ring drawn too long would show.
    EXPECT_EQ((std::vector{at(W - 2.5, 0), at(0, H - 2.5), at(1.5, H - 1 / r), at(W - 1 / r, 1.5)}),
              (std::vector<QString>{"#808080", "#808080", "#d4d4d4", "#d4d4d4"}));
    // Zoomed beyond the screen, a cell the model moves the focus to (as an arrow key does) is
    // brought into view.
    int last = w.Config().CellCount() - 1;
    while (!w.puzzle.GridPattern[Window::At(last)])
        --last;
    w.window->SetFocusCell(last);
    QWidget* view = w.window->findChild<QScrollArea*>()->viewport();
    EXPECT_TRUE(view->rect().contains(QRect(w.Cell(last)->mapTo(view, QPoint()), w.Cell(last)->size())));
    w.window->SetZoom(100);
    // Each digit is painted from its own prepared text; anything else the plain way.
    for (char16_t c = u'/'; c <= u':'; ++c) { // '/' and ':' stand either side of the digits
        const QStaticText* shown = w.window->DigitText(QString(QChar(c)));
        EXPECT_EQ(shown ? shown->text() : QString(), c == u'/' || c == u':' ? QString() : QString(QChar(c)));
    }
    EXPECT_EQ(userAfter(Qt::Key_4, Qt::KeypadModifier), 4);
    // Letters, space and punctuation do nothing (nor move the focus); no input method composes text
    // into a cell.
    const QWidget* focused = QApplication::focusWidget();
    QTest::keyClicks(cell, QStringLiteral("abcdefghijklmnopqrstuvwxyz .,+"));
    EXPECT_EQ(std::tuple(cell->text(), QApplication::focusWidget()), std::tuple("4", focused));
    EXPECT_EQ(std::tuple(cell->testAttribute(Qt::WA_InputMethodEnabled), cell->acceptDrops(),
                         cell->contextMenuPolicy()),
              std::tuple(false, false, Qt::PreventContextMenu));
    // Coming back to a cell by Tab shows its digit plain, the caret before it.
    cell->clearFocus();
    cell->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(std::tuple(cell->cursorPosition(), cell->hasSelectedText()), std::tuple(0, false));
    // A grid key is the cell's, pressed and let go; any other goes on to the window and its scroll area.
    for (const auto& [key, text, taken] : {std::tuple{Qt::Key_3, "3", true}, {Qt::Key_A, "a", false}})
        for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
            QKeyEvent event(type, key, Qt::NoModifier, QString::fromLatin1(text));
            event.setAccepted(!taken); // it comes marked the other way: the cell must decide
            QApplication::sendEvent(cell, &event);
            EXPECT_EQ(event.isAccepted(), taken) << text << (type == QEvent::KeyPress ? " down" : " up");
        }
    // Ctrl+Z is the menu's Undo (back to the 4), not the line edit's.
    EXPECT_EQ(userAfter(Qt::Key_Z, Qt::ControlModifier), 4);
    EXPECT_EQ(userAfter(Qt::Key_Delete), -1);
    // Ctrl+S shows the solution, every cell locked; again brings the user grid and the focus back.
    QTest::keyClick(cell, Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(cell->isEnabled());
    QTest::keyClick(w.window.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(cell->hasFocus() && w.Frame("fraWork")->updatesEnabled()) << "and the window paints again";
    // An arrow moves the focus to the cell the model names.
    QTest::keyClick(cell, Qt::Key_Right);
    EXPECT_TRUE(qApp->focusWidget() != cell && qApp->focusWidget()->objectName() == "txtGrid");
    cell->setFocus();
    QTest::keyClick(cell, Qt::Key_F1);
    EXPECT_EQ(w.helpShown, 1);
    // Ctrl+= zooms in as Ctrl++ does, Ctrl+- out, Ctrl+0 back to actual size.
    for (const Qt::Key key : {Qt::Key_Equal, Qt::Key_Equal, Qt::Key_Minus})
        QTest::keyClick(cell, key, Qt::ControlModifier);
    EXPECT_EQ(w.window->Zoom(), 125);
    QTest::keyClick(cell, Qt::Key_0, Qt::ControlModifier);
    // Back to 100 %, and no key reached the cell.
    EXPECT_EQ(std::tuple(w.window->Zoom(), cell->text()), std::tuple(100, QString()));
    // Ctrl+X is Exit, not Cut.
    QTest::keyClick(cell, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(std::tuple(w.exitRequested, w.window->Unloaded()), std::tuple(true, true));
}

// Every template, each kind of print from each size class: one page, black on white; while the
// printer is chosen the credit line is shown whole, inside fraWork and clear of the grid, the
// lists and their headings. Afterwards the window is back as it was, the focus in its cell.
TEST(PrintWindow, EveryTemplatePrintsOnePageBlackOnWhiteWithItsCreditLine) {
    std::map<SizeClass, int> printed;
    for (const auto& t : Templates()) {
        const int kind = printed[t.size]++ % 3;
        SCOPED_TRACE(std::string(t.name) + " kind " + std::to_string(kind));
        PrintWindow f(std::string(t.name));
        QLineEdit* typed = f.Cell(f.FreeCell());
        typed->setFocus();
        QTest::keyClick(typed, Qt::Key_1);
        QWidget* work = f.Frame("fraWork");
        QLabel* credit = work->findChild<QLabel*>(QStringLiteral("lblCopyright"));
        QString creditShown;
        f.onAsk = [&] {
            creditShown = credit->isVisible() ? credit->text() : QString();
            EXPECT_EQ(credit->sizeHint().boundedTo(credit->size()), credit->sizeHint()) << "the credit fits";
            // 9.75 points (13 pixels), less only to fit, and never too small to read
            EXPECT_EQ(std::clamp(credit->font().pixelSize(), 10, 13), credit->font().pixelSize());
            // In a row clear of controls, centred as designed.
            const int mid = Window::Pixels(f.Config().copyright).center().x();
            EXPECT_NEAR(t.name == "Small Puzzle H" ? credit->geometry().center().x() : mid, mid, 1);
            // Every control of fraWork lies inside it, and none overlaps another (the designed
            // list columns may share their edge pixel).
            const auto shown = work->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
            for (const QWidget* a : shown) // six pixels clear of a control in its row
                EXPECT_TRUE(a == credit || a->isHidden() ||
                            !a->geometry().intersects(credit->geometry().adjusted(-6, 0, 6, 0)))
                    << a->objectName().toStdString();
            for (QWidget* a : shown)
                for (QWidget* b : shown)
                    EXPECT_TRUE(a->isHidden() ||
                                (work->rect().contains(a->geometry()) &&
                                 (a == b || b->isHidden() ||
                                  !a->geometry().adjusted(1, 1, -1, -1).intersects(b->geometry()))))
                        << a->objectName().toStdString() << a->property("index").toInt() << " "
                        << b->objectName().toStdString() << b->property("index").toInt();
        };
        f.Action(kind == 0 ? "mnuPrintNew" : kind == 1 ? "mnuPrintCurrent" : "mnuPrintSolution")->trigger();
        EXPECT_EQ(creditShown.toStdString(), "(c) " + std::string(t.name) + " by the Corvana developers");
        const QByteArray bytes = QByteArray::fromStdString(corvana::test::ReadText(f.output.toStdString()));
        EXPECT_EQ(bytes.count("/Type /Page") - bytes.count("/Type /Pages"), 1) << "pages";
        const QImage& image = f.window->LastPrintedImage();
        EXPECT_EQ(image.size(), f.window->centralWidget()->size() * image.devicePixelRatio());
        // Grey levels (black text on white, anti-aliased) only: no red starter, no scheme colours.
        EXPECT_EQ(Inked(image, [](const QColor& c) { return c.hsvSaturation() > 40; }), QRect());
        EXPECT_EQ(f.Cell(f.puzzle.StarterFirstCell)->palette().color(QPalette::Text), QColor(Qt::red));
        // The credit line hidden again, the focus back in its cell.
        EXPECT_EQ(std::tuple(credit->isVisible(), QApplication::focusWidget()), std::tuple(false, typed));
    }
}

// Zoomed on screen, the page is still the work area at 100 %: the page printed at 200 % is the one
// printed at 100 % afterwards. The screen keeps its zoom, and its credit line whole while the
// printer is chosen. The page image, as poppler draws it at 24 dots an inch, is centred across
// the paper.
TEST(PrintWindow, ThePageIsTheWindowAt100PercentCentredOnThePaper) {
    PrintWindow f("Normal Puzzle Five Plus");
    f.wide = true;
    f.window->SetZoom(200); // zoomed first: no page printed before can stand in for its own
    const QSize zoomedSize = f.window->size();
    f.onAsk = [&f] { // meanwhile the screen shows the credit line whole, at the screen's zoom
        EXPECT_TRUE(ShowsWholeText(*f.Label("lblCopyright")));
        EXPECT_GE(f.Label("lblCopyright")->font().pixelSize(), ZoomedSize(10, f.window->Zoom()));
    };
    f.Action("mnuPrintCurrent")->trigger();
    const QImage zoomed = f.window->LastPrintedImage();
    EXPECT_EQ(std::tuple(f.window->Zoom(), f.window->size()), std::tuple(200, zoomedSize));
    f.window->SetZoom(100);
    QCoreApplication::processEvents();
    f.Action("mnuPrintCurrent")->trigger();
    EXPECT_EQ(f.window->LastPrintedImage(), zoomed);
    QProcess::execute(QStringLiteral("pdftoppm"), {"-r", "24", "-png", "-singlefile", f.output, f.output});
    const QImage page(f.output + QStringLiteral(".png"));
    const QRect ink = Inked(page, Dark);
    ASSERT_GT(ink.left(), 20) << "the window is narrower than the page";
    EXPECT_NEAR(ink.left(), page.width() - 1 - ink.right(), 5);
}

// A cancel prints nothing; a folder for a file is named. A disk that fills up while the page is written
// (here: a file size limit for this process): the user is told the system's error number, and the PDF that
// was there before is neither cut off nor joined by anything.
TEST(PrintWindow, CancelPrintsNothingAndAFailingPrinterSaysWhy) {
    PrintWindow f("Normal Puzzle Plus");
    f.cancel = true;
    f.Action("mnuPrintCurrent")->trigger();
    EXPECT_FALSE(QFile::exists(f.output));

    f.cancel = false;
    const QString page = std::exchange(f.output, f.dir.path()); // a folder: the PDF cannot be written there
    f.Action("mnuPrintNew")->trigger();
    ASSERT_EQ(f.dialogs.messages.size(), 1u);
    EXPECT_THAT(f.dialogs.messages[0].text, HasSubstr(f.output.toStdString() + " is a folder, not a file."));
    f.output = page;
    corvana::test::WriteText(f.output.toStdString(), "an older page");
    rlimit kept{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &kept), 0);
    const auto keptSignal = std::signal(SIGXFSZ, SIG_IGN);
    f.onAsk = [full = rlimit{2048, kept.rlim_max}] { setrlimit(RLIMIT_FSIZE, &full); };
    f.Action("mnuPrintSolution")->trigger();
    setrlimit(RLIMIT_FSIZE, &kept);
    std::signal(SIGXFSZ, keptSignal);
    ASSERT_EQ(f.dialogs.messages.size(), 2u);
    EXPECT_EQ(f.dialogs.messages[1].text, std::to_string(EFBIG) + "\r\n" + f.output.toStdString() +
                                              " could not be written whole: File too large");
    EXPECT_EQ(f.dialogs.messages[1].title, "Corvana");
    EXPECT_EQ(QDir(f.dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"page.pdf"});
    EXPECT_EQ(corvana::test::ReadText(f.output.toStdString()), "an older page");
}

// A digit typed in the window reaches the kept game at once, and the time spent when the window
// closes; a game that cannot be kept is reported once, in its own words, by the time the window
// has closed, and no temporary file is left.
TEST(PlayWindow, TheKeptGameFollowsTheWindowAndAFailureIsReportedOnce) {
    corvana::test::TempDir dir;
    std::filesystem::create_directories(dir.File("blocked/inside"));
    for (const auto& [file, kept] : {std::pair{"last-game.json", true}, {"blocked", false}}) {
        SCOPED_TRACE(file);
        Window w("Small Puzzle H");
        GameStore store(dir.File(file));
        w.window->KeepGameIn(&store);
        const int cell = w.FreeCell();
        const auto flushed = [&store] { // the kept game, the writer thread's work done
            store.Flush();
            return store.Load().game.value();
        };
        QTest::keyClick(w.Cell(cell), Qt::Key_7);
        EXPECT_EQ(kept ? flushed().puzzle.UserArray[Window::At(cell)] : 7, 7);
        w.Action("mnuUndo")->trigger(); // a menu command is kept as a key is
        EXPECT_EQ(kept ? flushed().puzzle.UserArray[Window::At(cell)] : -1, -1);
        w.now = 30; // minimised, the window may never be shown again: the time so far is kept
        w.window->setWindowState(Qt::WindowMinimized);
        EXPECT_EQ(kept ? flushed().play.secondsSpent : 30, 30);
        w.window->setWindowState(Qt::WindowNoState);
        w.now = 42;
        w.window->close();
        EXPECT_EQ(kept ? store.Load().game.value().play.secondsSpent : 42, 42);
        ASSERT_EQ(w.dialogs.messages.size(), kept ? 0u : 1u);
        const std::string said = kept ? "" : w.dialogs.messages[0].text;
        const std::string cause = "The game could not be saved to " + store.Path() + " (cannot rename ";
        const std::string effect =
            ").  You can go on playing, but this game cannot be resumed after the program ends.";
        EXPECT_TRUE(kept || (said.rfind(cause, 0) == 0 && said.find(effect) != std::string::npos)) << said;
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2) << "no temporary file";
}
