#include "FakeDialogs.h"
#include "puzzle/PuzzleState.h"
#include "puzzle/Templates.h"
#include "solver/Solver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

using namespace corvana;
using corvana::test::FakeDialogs;

namespace {

std::int64_t ReadCells(const PuzzleState& s, int first, int step, int digits) {
    std::int64_t value = 0;
    for (int m = 0; m < digits; ++m)
        value = value * 10 + s.SolutionArray[static_cast<std::size_t>(first + m * step)];
    return value;
}

void ExpectSortedAndPadded(const NumberList& numbers, const CaptionList& captions, int digits) {
    ASSERT_EQ(numbers.size(), captions.size());
    EXPECT_TRUE(std::is_sorted(numbers.begin(), numbers.end()));
    for (std::size_t k = 0; k < numbers.size(); ++k) {
        const std::string plain = std::to_string(numbers[k]);
        EXPECT_EQ(captions[k], std::string(static_cast<std::size_t>(digits) - plain.size(), '0') + plain);
    }
}

void CheckInvariants(const PuzzleState& s, const TemplateRecord& t) {
    const int w = t.Width();
    const auto cells = static_cast<std::size_t>(w * w);
    ASSERT_EQ(s.GridPattern.size(), cells);
    ASSERT_EQ(s.SolutionArray.size(), cells);
    ASSERT_EQ(s.UserArray.size(), cells);
    // The puzzle as the player sees it has one solution, the generator's own.
    const SolveResult solved = Solve(ShownPuzzle(s), 2);
    ASSERT_EQ(solved.solutions, 1);
    EXPECT_EQ(s.Solutions, 1);
    for (std::size_t i = 0; i < cells; ++i) {
        EXPECT_EQ(s.GridPattern[i], !t.IsBlack(static_cast<int>(i)));
        EXPECT_EQ(solved.grids[0][i], s.GridPattern[i] ? s.SolutionArray[i] : -1);
        if (s.GridPattern[i]) {
            EXPECT_GE(s.SolutionArray[i], 0);
            EXPECT_LE(s.SolutionArray[i], s.ReducedNumbers ? 5 : 9);
        } else {
            EXPECT_EQ(s.SolutionArray[i], -1);
        }
        const bool starter =
            static_cast<int>(i) >= s.StarterFirstCell && static_cast<int>(i) <= s.StarterLastCell;
        EXPECT_EQ(s.UserArray[i], starter && !s.NoShowFirst ? s.SolutionArray[i] : -1) << "cell " << i;
    }
    EXPECT_EQ(s.StarterFirstCell, t.StarterFirstCell());
    EXPECT_EQ(s.StarterLastCell, t.StarterLastCell());

    for (int n = kShortest; n <= kLongest; ++n) {
        SCOPED_TRACE(n);
        const auto at = static_cast<std::size_t>(n);
        const SlotGroup* group = t.Group(n);
        if (group == nullptr) {
            EXPECT_TRUE(s.Numbers[at].empty());
            if (t.SeparateLists()) {
                EXPECT_TRUE(s.NumbersDown[at].empty());
            }
            continue;
        }
        ExpectSortedAndPadded(s.Numbers[at], s.Captions[at], n);
        const SlotGroup& g = *group;

        // The across numbers are in the grid; the down numbers are what the grid spells.
        NumberList across, down;
        for (const int f : g.across) {
            across.push_back(ReadCells(s, f, 1, n));
            EXPECT_EQ(std::to_string(across.back()).size(), static_cast<std::size_t>(n))
                << "across numbers never start with 0";
        }
        for (const int f : g.down)
            down.push_back(ReadCells(s, f, w, n));
        std::sort(across.begin(), across.end());
        std::sort(down.begin(), down.end());
        if (t.SeparateLists()) {
            EXPECT_EQ(s.Numbers[at], across);
            ExpectSortedAndPadded(s.NumbersDown[at], s.CaptionsDown[at], n);
            EXPECT_EQ(s.NumbersDown[at], down);
        } else {
            NumberList all(across);
            all.insert(all.end(), down.begin(), down.end());
            std::sort(all.begin(), all.end());
            EXPECT_EQ(s.Numbers[at], all);
        }

        // Up to six digits, normal draws are raised apart unless only a seventh digit could do it.
        if (!s.ReducedNumbers && n <= 6) {
            for (std::size_t k = 1; k < across.size(); ++k)
                if (across[k] == across[k - 1]) {
                    EXPECT_EQ(std::to_string(across[k]), std::string(static_cast<std::size_t>(n), '9'));
                }
        }
    }
}

} // namespace

// Every build keeps the invariants and has one solution. Among the builds: Steps with a 0 in cell 93, where a
// 9-digit down number starts on the last digit of a 4-digit across one, so that down number keeps its leading
// zero in its caption and sorts first.
TEST(GeneratePuzzle, EveryTemplateKeepsItsInvariantsOverManySeedsAndOptions) {
    FakeDialogs dialogs;
    int downFromZero = 0, redrawn = 0;
    for (const auto& t : Templates()) {
        for (int options = 0; options < 4; ++options) {
            PuzzleState s;
            s.PuzzleName = std::string(t.name);
            s.ReducedNumbers = options & 1;
            s.NoShowFirst = options & 2;
            for (std::uint64_t seed = 0; seed < 40; ++seed) {
                SCOPED_TRACE(std::string(t.name) + " options " + std::to_string(options) + " seed " +
                             std::to_string(seed));
                ASSERT_TRUE(GeneratePuzzle(s, dialogs, seed));
                CheckInvariants(s, t);
                if (::testing::Test::HasFailure())
                    return;
                downFromZero += s.PuzzleName == "Normal Puzzle Steps" && s.SolutionArray[93] == 0;
                redrawn += s.Draws > 1;
            }
        }
    }
    EXPECT_GT(downFromZero, 3);
    EXPECT_GT(redrawn, 5) << "some first draws have two solutions and are drawn again";
    EXPECT_TRUE(dialogs.messages.empty());
}

// A seed makes the same puzzle again, another seed other digits, and no seed a clock seed that is
// reported; a build leaves nothing of the one before, and an unknown name changes nothing at all.
TEST(GeneratePuzzle, SeedsRepeatBuildsReplaceEachOtherAndAnUnknownNameChangesNothing) {
    FakeDialogs dialogs;
    PuzzleState a, b;
    a.PuzzleName = b.PuzzleName = "Large Puzzle Squares";
    ASSERT_TRUE(GeneratePuzzle(a, dialogs, 1234));
    ASSERT_TRUE(GeneratePuzzle(b, dialogs, 1234));
    EXPECT_EQ(a.SolutionArray, b.SolutionArray);
    EXPECT_EQ(a.Seed, 1234u);
    ASSERT_TRUE(GeneratePuzzle(b, dialogs, 1235));
    EXPECT_EQ(a.GridPattern, b.GridPattern);
    EXPECT_NE(a.SolutionArray, b.SolutionArray);
    ASSERT_TRUE(GeneratePuzzle(a, dialogs));
    ASSERT_TRUE(GeneratePuzzle(b, dialogs));
    EXPECT_NE(a.Seed, b.Seed);
    PuzzleState again;
    again.PuzzleName = a.PuzzleName;
    ASSERT_TRUE(GeneratePuzzle(again, dialogs, a.Seed));
    EXPECT_EQ(again.SolutionArray, a.SolutionArray);

    PuzzleState s;
    for (const char* name : {"Large Puzzle Crazy Eights", "Small Puzzle H", "Large Puzzle Four Electrodes"}) {
        SCOPED_TRACE(name);
        s.PuzzleName = name;
        ASSERT_TRUE(GeneratePuzzle(s, dialogs, 7));
        CheckInvariants(s, *FindTemplate(name));
    }
    const PuzzleState before = s;
    s.PuzzleName = "Large Puzzle four Electrodes";
    EXPECT_FALSE(GeneratePuzzle(s, dialogs, 6));
    EXPECT_EQ(s.SolutionArray, before.SolutionArray);
    EXPECT_EQ(s.Captions, before.Captions);
    EXPECT_EQ(s.Seed, before.Seed);
    EXPECT_TRUE(dialogs.messages.empty());
}
