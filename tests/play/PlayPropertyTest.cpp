// Long random sessions of keys, clicks, list ticks and menu commands on every size class. Whatever
// the order, a cell holds one digit or nothing, the user grid is what the cells show, the menus
// say what the form will do, and showing the solution and going back changes nothing.

#include "PlayFixture.h"

#include <algorithm>
#include <random>

using namespace corvana;
using namespace corvana::test;

namespace {

class PlayProperty : public ::testing::TestWithParam<std::tuple<const char*, std::uint64_t>> {};
INSTANTIATE_TEST_SUITE_P(Sessions, PlayProperty,
                         ::testing::Combine(::testing::Values(kSmall, "Small Puzzle Five Squares", kNormal,
                                                              "Normal Puzzle Shield", kLarge,
                                                              "Large Puzzle Four Electrodes"),
                                            ::testing::Values(1u, 6u)));

TEST_P(PlayProperty, RandomSessionsKeepCellsUserGridAndMenusConsistent) {
    const auto [name, seed] = GetParam();
    PlayFixture f(name, seed % 2 == 0, seed);
    std::mt19937_64 rng(seed * 7919 + 13);
    const auto pick = [&rng](int n) { return static_cast<int>(rng() % static_cast<std::uint64_t>(n)); };
    std::uint64_t newGameSeed = seed * 1000;
    int fills = 0, cursor = 0;
    const int keys[] = {48, 49, 50, 53, 57, 96, 100, 105, 8, 46, 37, 38, 39, 40, 65, 32, 13, 9, 110, 47};
    for (int step = 0; step < 4000; ++step) {
        // A cell near the last one touched, so that fills and arrows meet each other often.
        cursor = pick(4) == 0 ? pick(f.Count())
                              : std::clamp(cursor + pick(2 * f.W() + 3) - f.W() - 1, 0, f.Count() - 1);
        const int action = pick(100), box = pick(static_cast<int>(f.form->Boxes().size()));
        if (action < 45) {
            f.Key(cursor, keys[pick(20)], pick(3) == 0 ? 1 : 0);
        } else if (action < 70) {
            f.dialogs.answers.assign(1, pick(2) == 0 ? Answer::Yes : Answer::No);
            const auto undo = f.form->UndoArray();
            f.form->txtGrid_MouseDown(cursor);
            fills += f.form->UndoArray().size() > 2 && f.form->UndoArray() != undo;
        } else if (action < 84 && f.Box(box).visible) {
            f.form->BoxClick(box);
        } else if (action >= 84 && action < 91) {
            f.form->mnuUndo_Click();
        } else if (action >= 91 && action < 96) {
            f.form->mnuSolution_Click();
        } else if (action >= 96 && action < 98) {
            f.form->RestartGame();
        } else if (action == 98) {
            f.form->mnuShowStartingNumber_Click();
        } else if (action == 99) { // New Game with a pinned seed, so that a failing session can be replayed
            ASSERT_TRUE(GeneratePuzzle(f.puzzle, newGameSeed++));
            f.form->LoadPuzzle(false);
        }
        SCOPED_TRACE(step);
        const PlayForm& form = *f.form;
        for (int i = 0; i < f.Count(); ++i) {
            ASSERT_TRUE(f.Text(i).empty() || (f.Text(i).size() == 1 && std::isdigit(f.Text(i)[0]))) << i;
            ASSERT_NE(f.Cell(i).enabled, form.SolutionShown()) << i;
            ASSERT_EQ(f.Cell(i).back, i == form.FillStartCell() ? kBlue : (f.White(i) ? kWhite : kBlack));
        }
        const auto& undo = form.UndoArray();
        ASSERT_EQ(undo.at(0), std::to_string(undo.size() - 1));
        ASSERT_EQ(form.UndoEnabled(), !form.SolutionShown() && undo.size() > 1);
        ASSERT_EQ(form.BufferCaption(), "Buffer = " + form.BufferText());
        ASSERT_EQ(form.ShowStartingNumberVisible(), form.StarterHidden());
        ASSERT_TRUE(form.TrackEntries());
        if (!form.SolutionShown()) {
            ASSERT_TRUE(f.UserGridMatchesCells());
            for (const ListBox& b : form.Boxes())
                ASSERT_FALSE(b.keptTick) << b.Name() << " keeps a tick aside in the user grid";
            // The solution's round trip changes nothing; a digit typed into a black square, which
            // shows nothing, is dropped on the way back, so these are cleared first.
            if (step % 50 == 49) {
                for (int i = 0; i < f.Count(); ++i)
                    f.form->SetCellText(i, f.White(i) ? f.Text(i) : "");
                const std::string before = Picture(form);
                f.form->mnuSolution_Click();
                f.form->mnuSolution_Click();
                ASSERT_EQ(Picture(form), before);
            }
        }
    }
    // The session did reach the interesting paths.
    EXPECT_GT(fills, 0);
    const auto& m = f.dialogs.messages;
    EXPECT_TRUE(
        std::any_of(m.begin(), m.end(), [](const auto& x) { return x.title == "Confirm Overwrite"; }));
}

} // namespace
