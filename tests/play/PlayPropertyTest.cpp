// Long random sessions of keys, clicks, list ticks and menu commands on every size class. Whatever
// the order, a cell holds one digit or nothing, the user grid is what the cells show, and the
// menus say what the form will do.

#include "PlayFixture.h"

#include <algorithm>
#include <iterator>
#include <random>
#include <sstream>

using namespace corvana;
using namespace corvana::test;

namespace {

struct Session {
    PlayFixture& f;
    std::mt19937_64 rng;
    std::uint64_t newGameSeed;
    std::ostringstream log;

    int Pick(int n) { return static_cast<int>(rng() % static_cast<std::uint64_t>(n)); }

    // A cell near the last one touched, so that fills and arrows meet each other often.
    int cursor = 0;
    int AnyCell() {
        const int w = f.W();
        if (Pick(4) == 0)
            cursor = Pick(f.Count());
        else
            cursor = std::clamp(cursor + Pick(2 * w + 3) - w - 1, 0, f.Count() - 1);
        return cursor;
    }

    void Step() {
        static const int keys[] = {48,  49,       50,         53,       57,     96,        100,
                                   105, vk::Back, vk::Delete, vk::Left, vk::Up, vk::Right, vk::Down,
                                   65,  32,       13,         9,        110,    47};
        const int action = Pick(100);
        if (action < 45) {
            const int cell = AnyCell();
            const int key = keys[Pick(static_cast<int>(std::size(keys)))];
            log << "key " << key << "@" << cell << "; ";
            f.Key(cell, key, Pick(3) == 0 ? 1 : 0);
        } else if (action < 70) {
            const int cell = AnyCell();
            f.dialogs.answers.clear();
            f.dialogs.answers.push_back(Pick(2) == 0 ? Answer::Yes : Answer::No);
            log << "press " << cell << "; ";
            f.form->txtGrid_MouseDown(cell);
            if (f.form->UndoArray().size() > 2 && f.form->UndoArray() != lastFill) {
                ++fills;
                lastFill = f.form->UndoArray();
            }
        } else if (action < 84) {
            const int id = Pick(static_cast<int>(f.form->Boxes().size()));
            if (f.form->Boxes()[Ix(id)].visible) {
                log << "box " << id << "; ";
                f.form->BoxClick(id);
            }
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
    }

    ::testing::AssertionResult Check() const {
        const PlayForm& form = *f.form;
        for (int i = 0; i < f.Count(); ++i) {
            const GridCell& cell = f.Cell(i);
            if (!(cell.text.empty() || (cell.text.size() == 1 && cell.text[0] >= '0' && cell.text[0] <= '9')))
                return ::testing::AssertionFailure() << "cell " << i << " holds \"" << cell.text << "\"";
            if (cell.enabled == form.SolutionShown())
                return ::testing::AssertionFailure() << "cell " << i << " enabled in the wrong view";
            const bool selected = i == form.FillStartCell();
            const ColorValue back = selected ? kBlue : (f.White(i) ? kWhite : kBlack);
            if (cell.back != back)
                return ::testing::AssertionFailure() << "cell " << i << " has a stray background";
        }
        if (!form.SolutionShown()) {
            auto grid = f.UserGridMatchesCells();
            if (!grid)
                return grid;
            for (const ListBox& box : form.Boxes())
                if (!box.tag.empty())
                    return ::testing::AssertionFailure() << box.Name() << " keeps a tag in the user grid";
        } else {
            for (const ListBox& box : form.Boxes())
                if (box.value != 1 && box.tag.empty() && box.visible && !restartedInSolution)
                    return ::testing::AssertionFailure() << box.Name() << " unticked in the solution view";
        }
        const auto& undo = form.UndoArray();
        if (undo.empty() || undo[0] != std::to_string(undo.size() - 1))
            return ::testing::AssertionFailure() << "undo count " << (undo.empty() ? "missing" : undo[0]);
        for (std::size_t k = 1; k < undo.size(); ++k) {
            int grid = -1000;
            int oldValue = -1000;
            int newValue = -1000;
            PlayForm::BreakDownUndoArray(undo[k], grid, oldValue, newValue);
            if (grid < 0 || grid >= f.Count() || oldValue < -1 || oldValue > 9 || newValue < -1 ||
                newValue > 9)
                return ::testing::AssertionFailure() << "bad undo record \"" << undo[k] << "\"";
        }
        if (form.UndoEnabled() != (!form.SolutionShown() && undo.size() > 1))
            return ::testing::AssertionFailure() << "Undo entry enabled wrongly";
        if (form.BufferCaption() != "Buffer = " + form.BufferText())
            return ::testing::AssertionFailure() << "buffer caption " << form.BufferCaption();
        if (form.ShowStartingNumberVisible() != form.StarterHidden())
            return ::testing::AssertionFailure() << "Show Starting Number entry out of step";
        if (!form.TrackEntries())
            return ::testing::AssertionFailure() << "left without tracking entries";
        return ::testing::AssertionSuccess();
    }

    bool restartedInSolution = false;
    int fills = 0;
    std::vector<std::string> lastFill;
};

class PlayProperty : public ::testing::TestWithParam<std::tuple<const char*, std::uint64_t>> {};

INSTANTIATE_TEST_SUITE_P(Sessions, PlayProperty,
                         ::testing::Combine(::testing::Values(kSmall, "Small Puzzle Five Squares", kNormal,
                                                              "Normal Puzzle Shield", kLarge,
                                                              "Large Puzzle Four Electrodes"),
                                            ::testing::Values(1u, 2u, 3u, 4u)));

TEST_P(PlayProperty, RandomSessionsKeepCellsUserGridAndMenusConsistent) {
    const auto [name, seed] = GetParam();
    PlayFixture f(name, seed % 2 == 0, seed);
    Session s{f, std::mt19937_64(seed * 7919 + 13), seed * 1000, {}, 0, false, 0, {}};
    for (int step = 0; step < 4000; ++step) {
        s.Step();
        if (HasFatalFailure())
            return;
        const auto ok = s.Check();
        if (!ok) {
            const std::string log = s.log.str();
            FAIL() << ok.message() << "\nafter step " << step
                   << ", last actions: " << log.substr(log.size() > 600 ? log.size() - 600 : 0);
        }
    }
    // The session did reach the interesting paths.
    EXPECT_GT(s.fills, 0);
    bool asked = false;
    for (const auto& m : f.dialogs.messages)
        asked = asked || m.title == "Confirm Overwrite";
    EXPECT_TRUE(asked);
}

// Showing the solution and going back right away gives back exactly the user's state.
TEST_P(PlayProperty, TheSolutionRoundTripChangesNothing) {
    const auto [name, seed] = GetParam();
    PlayFixture f(name, seed % 2 == 1, seed + 100);
    Session s{f, std::mt19937_64(seed * 104729 + 1), seed * 1000 + 500, {}, 0, false, 0, {}};
    for (int round = 0; round < 30; ++round) {
        for (int step = 0; step < 60; ++step) {
            s.Step();
            if (HasFatalFailure())
                return;
        }
        if (f.form->SolutionShown())
            f.form->mnuSolution_Click();
        std::vector<std::string> texts;
        std::vector<ColorValue> fores;
        for (const GridCell& cell : f.form->Cells()) {
            texts.push_back(f.White(static_cast<int>(&cell - f.form->Cells().data())) ? cell.text : "");
            fores.push_back(cell.fore);
        }
        const auto ticks = f.TickedIds();
        const std::string buffer = f.form->BufferText();
        const bool fromAcross = f.form->BufferFromAcross();
        const auto undo = f.form->UndoArray();
        const std::string undoCaption = f.form->UndoCaption();
        f.form->mnuSolution_Click();
        f.form->mnuSolution_Click();
        for (std::size_t i = 0; i < texts.size(); ++i)
            ASSERT_EQ(f.form->Cells()[i].text, texts[i]) << "round " << round << " cell " << i;
        EXPECT_EQ(f.TickedIds(), ticks) << round;
        EXPECT_EQ(f.form->BufferText(), buffer) << round;
        EXPECT_EQ(f.form->BufferFromAcross(), fromAcross) << round;
        EXPECT_EQ(f.form->UndoArray(), undo) << round;
        EXPECT_EQ(f.form->UndoCaption(), undoCaption) << round;
        EXPECT_TRUE(f.UserGridMatchesCells()) << round;
        for (int i = 0; i < f.Count(); ++i) {
            if (!f.InStarter(i) && f.White(i)) {
                EXPECT_EQ(f.Cell(i).fore, fores[Ix(i)]) << "round " << round << " cell " << i;
            }
        }
    }
}

} // namespace
