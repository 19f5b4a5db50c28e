// The Large play window (400 cells, about 100 list boxes) on the offscreen platform: opening
// it, New Game, the solution toggle and one AutoFill, each including the repaint that follows;
// and, for comparison, the bare cost of creating and showing the same number of plain widgets.
// At the end the ratio of opening our window to that floor is printed.

#include "play/PlayWindow.h"
#include "puzzle/GeneratePuzzle.h"
#include "puzzle/Templates.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>

#include <cstdio>
#include <map>
#include <memory>
#include <string>

namespace {

using namespace corvana;

const char* const kTemplate = "Large Puzzle Crazy Eights";

class SilentDialogs : public Dialogs {
public:
    Answer MessageBox(const std::string&, const std::string&, Buttons, Icon) override { return Answer::Yes; }
    ColorValue PickColor(ColorValue c) override { return c; }
    void SetBusy(bool) override {}
};

struct Session {
    Session() {
        SetDefaultColors(colors);
        puzzle.PuzzleName = kTemplate;
        GeneratePuzzle(puzzle, 11);
    }
    ColorScheme colors;
    PuzzleState puzzle;
    bool exitRequested = false;
    SilentDialogs dialogs;
};

// Lets the window paint what changed.
void Settle() {
    QApplication::processEvents();
}

void BM_OpenLargeWindow(benchmark::State& state) {
    Session s;
    std::size_t boxes = 0;
    for (auto _ : state) {
        auto window =
            std::make_unique<PlayWindow>(frmLarge(), s.puzzle, s.exitRequested, s.colors, s.dialogs, [] {});
        window->show();
        Settle();
        boxes = window->Model().Boxes().size();
        window.reset();
        Settle();
    }
    state.counters["boxes"] = static_cast<double>(boxes);
}

// The floor: the same number of line edits, check boxes and labels, placed by hand in a
// main window with a menu bar, shown and painted, with nothing else.
void BM_BareWidgetsFloor(benchmark::State& state) {
    Session s;
    std::size_t boxCount = 0;
    {
        PlayWindow probe(frmLarge(), s.puzzle, s.exitRequested, s.colors, s.dialogs, [] {});
        boxCount = probe.Model().Boxes().size();
    }
    for (auto _ : state) {
        auto window = std::make_unique<QMainWindow>();
        window->menuBar()->addMenu(QStringLiteral("&File"))->addAction(QStringLiteral("&New Game"));
        auto* client = new QWidget(window.get());
        window->setCentralWidget(client);
        for (int i = 0; i < 400; ++i) {
            auto* cell = new QLineEdit(client);
            cell->setGeometry(330 + 20 * (i % 20), 40 + 20 * (i / 20), 17, 19);
        }
        for (std::size_t i = 0; i < boxCount; ++i) {
            auto* box = new QCheckBox(QStringLiteral("12345678"), client);
            box->setGeometry(8 + 60 * static_cast<int>(i / 25), 40 + 16 * static_cast<int>(i % 25), 56, 16);
        }
        for (int i = 0; i < 9; ++i)
            (new QLabel(QStringLiteral("8 Digits:"), client))->move(8 + 60 * i, 20);
        window->resize(753, 535);
        window->show();
        Settle();
        window.reset();
        Settle();
    }
}

struct OpenLarge {
    OpenLarge() : window(frmLarge(), s.puzzle, s.exitRequested, s.colors, s.dialogs, [] {}) {
        window.show();
        Settle();
    }
    Session s;
    PlayWindow window;
};

// New Game: the puzzle drawn and graded, the window laid out again and repainted; with `records`,
// the game counted as started in a records file, as in the program: handed to the writer thread,
// which writes a fresh temporary file, fsync and rename in a folder on the build's own disk while
// the window is repainted. Wall-clock time: a wait for the disk is what the user would feel.
void BM_NewGame(benchmark::State& state, bool records) {
    QTemporaryDir dir(QDir::currentPath() + QStringLiteral("/bench-records-XXXXXX"));
    SilentDialogs quiet;
    RecordsBook book(dir.filePath(QStringLiteral("records.json")).toStdString(), quiet);
    book.Load();
    OpenLarge w;
    if (records)
        w.window.Model().SetRecords(&book);
    for (auto _ : state) {
        w.window.Model().mnuNewPuzzle_Click();
        w.window.Sync();
        Settle();
        // Nobody starts a hundred games a second: each New Game finds the last write done.
        state.PauseTiming();
        book.Flush();
        state.ResumeTiming();
    }
    if (records && book.Data().Counts().empty())
        state.SkipWithError("no game counted");
}

// The records file at its largest: every template, option and grade with ten times. One game
// counted as started, as on New Game: the records copied and handed to the writer thread, which
// turns them into JSON and writes the file beside the user's next moves.
void BM_RecordsWriteFull(benchmark::State& state) {
    QTemporaryDir dir(QDir::currentPath() + QStringLiteral("/bench-records-XXXXXX"));
    SilentDialogs quiet;
    RecordsBook book(dir.filePath(QStringLiteral("records.json")).toStdString(), quiet);
    book.Load();
    for (const TemplateRecord& t : Templates())
        for (const bool reduced : {false, true})
            for (const bool noFirst : {false, true})
                for (const char* grade : {"Easy", "Medium", "Hard", "Expert"})
                    for (std::int64_t k = 0; k < 10; ++k)
                        book.GameSolved({{std::string(t.name), reduced, noFirst, grade},
                                         1000 + static_cast<std::uint64_t>(k),
                                         60 + k,
                                         false});
    state.counters["bytes"] =
        static_cast<double>(QFileInfo(dir.filePath(QStringLiteral("records.json"))).size());
    for (auto _ : state) {
        book.GameStarted(kTemplate);
        state.PauseTiming();
        book.Flush();
        state.ResumeTiming();
    }
}

void BM_SolutionToggle(benchmark::State& state, bool toSolution) {
    OpenLarge w;
    for (auto _ : state) {
        state.PauseTiming();
        if (w.window.Model().SolutionShown() == toSolution) {
            w.window.Model().mnuSolution_Click();
            w.window.Sync();
            Settle();
        }
        state.ResumeTiming();
        w.window.Model().mnuSolution_Click();
        w.window.Sync();
        Settle();
    }
}

// One AutoFill of an 8-digit across number into its empty slot: the list click, the two
// presses on the grid, the write and the repaint. Undo between runs is not timed.
void BM_AutoFill(benchmark::State& state) {
    OpenLarge w;
    PlayForm& model = w.window.Model();
    const TemplateRecord* t = FindTemplate(kTemplate);
    const int start = t->Group(8)->across.front();
    std::string number;
    for (int i = start; i < start + 8; ++i)
        number += std::to_string(w.s.puzzle.SolutionArray[static_cast<std::size_t>(i)]);
    int box = -1;
    for (std::size_t id = 0; id < model.Boxes().size(); ++id)
        if (!model.Boxes()[id].down && model.Boxes()[id].caption == number)
            box = static_cast<int>(id);
    if (box < 0) {
        state.SkipWithError("no box for the number");
        return;
    }
    for (auto _ : state) {
        w.window.BoxClicked(box);
        w.window.CellMouseDown(start);
        w.window.CellMouseDown(start + 1);
        Settle();
        state.PauseTiming();
        if (model.Cells()[static_cast<std::size_t>(start)].text.empty()) {
            state.SkipWithError("AutoFill wrote nothing");
            break;
        }
        model.mnuUndo_Click();
        if (model.Boxes()[static_cast<std::size_t>(box)].value == 1)
            model.BoxClick(box);
        w.window.Sync();
        Settle();
        state.ResumeTiming();
    }
}

// One digit typed into a white cell, as the window receives it (key down and up), including the
// repaint; with `keep`, the game is kept in the state file after it, as in the program: captured
// and handed to the writer thread, which writes the whole file through a fresh temporary file,
// fsync and rename in a folder on the build's own disk while the next digit is typed.
// Wall-clock time, because a wait for the disk is what the user would feel.
void BM_TypeDigit(benchmark::State& state, bool keep) {
    QTemporaryDir dir(QDir::currentPath() + QStringLiteral("/bench-state-XXXXXX"));
    GameStore store(dir.filePath(QStringLiteral("last-game.json")).toStdString());
    OpenLarge w;
    if (keep)
        w.window.KeepGameIn(&store);
    int cell = 0;
    while (!w.s.puzzle.GridPattern[static_cast<std::size_t>(cell)] ||
           (cell >= w.s.puzzle.StarterFirstCell && cell <= w.s.puzzle.StarterLastCell))
        ++cell;
    int digit = 0;
    for (auto _ : state) {
        digit = (digit + 1) % 10;
        const auto key = static_cast<Qt::Key>(Qt::Key_0 + digit);
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(QChar(u'0' + digit)));
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(QChar(u'0' + digit)));
        w.window.CellKeyDown(cell, &press);
        w.window.CellKeyUp(cell, &release);
        Settle();
    }
    store.Flush();
    if (keep && !QFileInfo::exists(QString::fromStdString(store.Path())))
        state.SkipWithError("no state file written");
}

// The Large window with the first half of its white squares (in reading order) filled from the
// solution, the starting number shown.
struct HalfFilledLarge : OpenLarge {
    HalfFilledLarge() {
        const auto& p = s.puzzle;
        const auto white = static_cast<int>(std::count(p.GridPattern.begin(), p.GridPattern.end(), true));
        for (int i = 0, filled = 0; filled < white / 2; ++i)
            if (p.GridPattern[static_cast<std::size_t>(i)]) {
                window.Model().SetCellText(i, std::to_string(p.SolutionArray[static_cast<std::size_t>(i)]));
                ++filled;
            }
        window.Sync();
        Settle();
    }
    QAction* Action(const char* name) { return window.findChild<QAction*>(QString::fromLatin1(name)); }
};

// Edit > Hint from a half-filled grid: the check for wrong squares, the rules' next step, the
// number written and ticked, the status bar and the repaint. Undo between runs is not timed.
void BM_Hint(benchmark::State& state) {
    HalfFilledLarge w;
    PlayForm& model = w.window.Model();
    for (auto _ : state) {
        w.Action("mnuHint")->trigger();
        Settle();
        state.PauseTiming();
        if (!model.UndoEnabled()) {
            state.SkipWithError(model.StatusText().c_str());
            break;
        }
        model.mnuUndo_Click();
        w.window.Sync();
        Settle();
        state.ResumeTiming();
    }
}

// Edit > Check on the same grid: every filled square judged against the solutions.
void BM_Check(benchmark::State& state) {
    HalfFilledLarge w;
    for (auto _ : state) {
        w.Action("mnuCheck")->trigger();
        Settle();
    }
}

// Zoom In from 100 % to 200 % and back on the Large window: fonts, 400 cells and every list box
// laid out anew and the window repainted.
void BM_Zoom(benchmark::State& state) {
    OpenLarge w;
    for (auto _ : state) {
        w.window.SetZoom(w.window.Zoom() == 100 ? 200 : 100);
        Settle();
    }
}

// Keeps the CPU time of every benchmark (the median when repeated), so the ratio can be
// printed at the end; CPU time, because this machine is shared with builds.
class RecordingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            const bool single = run.run_type == Run::RT_Iteration && run.repetitions <= 1;
            if (median || single)
                time[run.run_name.function_name] = run.GetAdjustedCPUTime(); // all in milliseconds
        }
    }
    std::map<std::string, double> time;
};

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    benchmark::RegisterBenchmark("OpenLargeWindow", BM_OpenLargeWindow)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BareWidgetsFloor", BM_BareWidgetsFloor)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("NewGame/Alone", BM_NewGame, false)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("NewGame/WithRecords", BM_NewGame, true)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("RecordsWrite/Full", BM_RecordsWriteFull)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("SolutionToggle/ToSolution", BM_SolutionToggle, true)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("SolutionToggle/ToUserGrid", BM_SolutionToggle, false)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("AutoFill", BM_AutoFill)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("TypeDigit/Alone", BM_TypeDigit, false)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("TypeDigit/KeepingTheGame", BM_TypeDigit, true)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("Hint/HalfFilledLarge", BM_Hint)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Check/HalfFilledLarge", BM_Check)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Zoom/100To200AndBack", BM_Zoom)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();

    benchmark::Initialize(&argc, argv);
    RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const auto open = reporter.time.find("OpenLargeWindow");
    const auto floor = reporter.time.find("BareWidgetsFloor");
    if (open != reporter.time.end() && floor != reporter.time.end() && floor->second > 0)
        std::printf(
            "Opening the Large window costs %.2f times the bare widget floor in CPU time (goal: at most "
            "1.5)\n",
            open->second / floor->second);
    return 0;
}
