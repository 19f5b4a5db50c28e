// Long random sessions of keys, clicks, list ticks and menu commands on every size class. Whatever
// the order, a cell holds one digit or nothing, the user grid is what the cells show, the menus
// say what the form will do, and showing the solution and going back changes nothing.

#include "PlayFixture.h"

#include <algorithm>
#include <iterator>
#include <random>
#include <sstream>

using namespace corvana;
using namespace corvana::test;

namespace {

class PlayProperty : public ::testing::TestWithParam<std::tuple<const char*, std::uint64_t>> {};

INSTANTIATE_TEST_SUITE_P(Sessions, PlayProperty,
                         ::testing::Combine(::testing::Values(kSmall, "Small Puzzle Five Squares", kNormal,
                                                              "Normal Puzzle Shield", kLarge,
                                                              "Large Puzzle Four Electrodes"),
                                            ::testing::Values(1u, 3u)));

// What the user sees and keeps of the game, except the colours of the starting number's cells.
std::string State(const PlayFixture& f) {
    std::ostringstream s;
    for (int i = 0; i < f.Count(); ++i)
        s << (f.White(i) ? f.Text(i) : "") << (f.InStarter(i) ? 0 : f.Cell(i).fore) << ",";
    for (const int id : f.TickedIds())
        s << id << " ";
    for (const auto& record : f.form->UndoArray())
        s << record << ";";
    s << f.form->BufferText() << f.form->BufferFromAcross() << f.form->UndoCaption();
    return s.str();
}

::testing::AssertionResult Consistent(const PlayFixture& f, bool restartedInSolution) {
    const PlayForm& form = *f.form;
    for (int i = 0; i < f.Count(); ++i) {
        const std::string& t = f.Text(i);
        if (!(t.empty() || (t.size() == 1 && t[0] >= '0' && t[0] <= '9')))
            return ::testing::AssertionFailure() << "cell " << i << " holds \"" << t << "\"";
        if (f.Cell(i).enabled == form.SolutionShown())
            return ::testing::AssertionFailure() << "cell " << i << " enabled in the wrong view";
        if (f.Cell(i).back != (i == form.FillStartCell() ? kBlue : (f.White(i) ? kWhite : kBlack)))
            return ::testing::AssertionFailure() << "cell " << i << " has a stray background";
    }
    for (const ListBox& box : form.Boxes()) {
        if (!form.SolutionShown() && !box.tag.empty())
            return ::testing::AssertionFailure() << box.Name() << " keeps a tag in the user grid";
        if (form.SolutionShown() && box.visible && box.value != 1 && box.tag.empty() && !restartedInSolution)
            return ::testing::AssertionFailure() << box.Name() << " unticked in the solution view";
    }
    if (!form.SolutionShown() && !f.UserGridMatchesCells())
        return f.UserGridMatchesCells();
    const auto& undo = form.UndoArray();
    if (undo.empty() || undo[0] != std::to_string(undo.size() - 1))
        return ::testing::AssertionFailure() << "undo count " << (undo.empty() ? "missing" : undo[0]);
    for (std::size_t k = 1; k < undo.size(); ++k) {
        int grid = -1000, oldValue = -1000, newValue = -1000;
        PlayForm::BreakDownUndoArray(undo[k], grid, oldValue, newValue);
        if (grid < 0 || grid >= f.Count() || std::min(oldValue, newValue) < -1 ||
            std::max(oldValue, newValue) > 9)
            return ::testing::AssertionFailure() << "bad undo record \"" << undo[k] << "\"";
    }
    if (form.UndoEnabled() != (!form.SolutionShown() && undo.size() > 1))
        return ::testing::AssertionFailure() << "Undo entry enabled wrongly";
    if (form.BufferCaption() != "Buffer = " + form.BufferText())
        return ::testing::AssertionFailure() << "buffer caption " << form.BufferCaption();
    if (form.ShowStartingNumberVisible() != form.StarterHidden() || !form.TrackEntries())
        return ::testing::AssertionFailure() << "Show Starting Number entry or tracking out of step";
    return ::testing::AssertionSuccess();
}

TEST_P(PlayProperty, RandomSessionsKeepCellsUserGridAndMenusConsistent) {
    const auto [name, seed] = GetParam();
    PlayFixture f(name, seed % 2 == 0, seed);
    std::mt19937_64 rng(seed * 7919 + 13);
    const auto pick = [&rng](int n) { return static_cast<int>(rng() % static_cast<std::uint64_t>(n)); };
    std::uint64_t newGameSeed = seed * 1000;
    std::ostringstream log;
    bool restartedInSolution = false;
    int fills = 0, cursor = 0;
    static const int keys[] = {48,       49,     50,        53,       57, 96, 100, 105, vk::Back, vk::Delete,
                               vk::Left, vk::Up, vk::Right, vk::Down, 65, 32, 13,  9,   110,      47};
    for (int step = 0; step < 4000; ++step) {
        // A cell near the last one touched, so that fills and arrows meet each other often.
        cursor = pick(4) == 0 ? pick(f.Count())
                              : std::clamp(cursor + pick(2 * f.W() + 3) - f.W() - 1, 0, f.Count() - 1);
        const int action = pick(100);
        if (action < 45) {
            const int key = keys[pick(static_cast<int>(std::size(keys)))];
            log << "key " << key << "@" << cursor << "; ";
            f.Key(cursor, key, pick(3) == 0 ? 1 : 0);
        } else if (action < 70) {
            f.dialogs.answers.assign(1, pick(2) == 0 ? Answer::Yes : Answer::No);
            log << "press " << cursor << "; ";
            const auto undo = f.form->UndoArray();
            f.form->txtGrid_MouseDown(cursor);
            fills += f.form->UndoArray().size() > 2 && f.form->UndoArray() != undo;
        } else if (action < 84) {
            const int id = pick(static_cast<int>(f.form->Boxes().size()));
            log << "box " << id << "; ";
            if (f.Box(id).visible)
                f.form->BoxClick(id);
        } else if (action < 91) {
            log << "undo; ";
            f.form->mnuUndo_Click();
        } else if (action < 96) {
            log << "solution; ";
            f.form->mnuSolution_Click();
            restartedInSolution = restartedInSolution && f.form->SolutionShown();
        } else if (action < 98) {
            log << "restart; ";
            f.form->RestartGame();
            restartedInSolution = restartedInSolution || f.form->SolutionShown();
        } else if (action < 99) {
            log << "show starter; ";
            f.form->mnuShowStartingNumber_Click();
        } else {
            // New Game with a pinned seed, so that a failing session can be replayed.
            log << "new game; ";
            ASSERT_TRUE(GeneratePuzzle(f.puzzle, f.dialogs, newGameSeed++));
            f.form->LoadPuzzle(false);
            restartedInSolution = false;
        }
        const auto ok = Consistent(f, restartedInSolution);
        const std::string text = log.str();
        ASSERT_TRUE(ok) << "after step " << step << ", last actions: "
                        << text.substr(text.size() - std::min<std::size_t>(text.size(), 600));
        if (step % 50 == 49 && !f.form->SolutionShown()) {
            const std::string before = State(f);
            f.form->mnuSolution_Click();
            f.form->mnuSolution_Click();
            ASSERT_EQ(State(f), before) << "the solution's round trip, step " << step;
        }
    }
    // The session did reach the interesting paths.
    EXPECT_GT(fills, 0);
    const auto& m = f.dialogs.messages;
    EXPECT_TRUE(
        std::any_of(m.begin(), m.end(), [](const auto& x) { return x.title == "Confirm Overwrite"; }));
}

} // namespace
