#include "solver/Solver.h"
#include "puzzle/GeneratePuzzle.h"
#include "solver/Rules.h"

#include "Boards.h"

#include <gtest/gtest.h>

#include <random>

using namespace corvana;
using namespace corvana::test;

namespace {

// The places of the numbers, found independently of the solver: runs of two or more white
// squares, across then down.
std::vector<std::vector<int>> Runs(const std::vector<bool>& white, int w) {
    std::vector<std::vector<int>> runs;
    for (int dir = 0; dir < 2; ++dir)
        for (int line = 0; line < w; ++line) {
            std::vector<int> run;
            for (int k = 0; k <= w; ++k) {
                const int cell = dir == 0 ? line * w + k : k * w + line;
                if (k < w && white[At(cell)]) {
                    run.push_back(cell);
                    continue;
                }
                if (run.size() >= 2)
                    runs.push_back(run);
                run.clear();
            }
        }
    return runs;
}

// Counts solutions by plain backtracking over slots in order, each taking any unused copy.
int BruteForce(const std::vector<std::vector<int>>& runs, std::size_t slot, std::vector<int>& grid,
               std::map<std::string, int>& copies) {
    if (slot == runs.size())
        return 1;
    int found = 0;
    for (auto& [number, left] : copies) {
        if (left == 0 || number.size() != runs[slot].size())
            continue;
        std::vector<int> before = grid;
        bool fits = true;
        for (std::size_t k = 0; k < number.size() && fits; ++k) {
            int& cell = grid[At(runs[slot][k])];
            fits = cell < 0 || cell == number[k] - '0';
            cell = number[k] - '0';
        }
        if (fits) {
            --left;
            found += BruteForce(runs, slot + 1, grid, copies);
            ++left;
        }
        grid = before;
    }
    return found;
}

} // namespace

TEST(Solver, CountsNoFurtherThanTheLimitAskedFor) {
    EXPECT_EQ(Solve(Board({"..", ".."}, {{2, {"12", "34", "13", "24"}}}), 1).solutions, 1);
}

// Nine 2 x 2 blocks of 0s and 1s, one number changed so that nothing fits: every arrangement of
// the alike blocks must be tried, far more than any budget allows. The search stops at its
// budget and says it cannot tell.
TEST(Solver, ABoardMadeToDefeatTheSearchStopsAtItsBudgetUndecided) {
    const auto blocks = [](int count) {
        std::vector<std::string> rows(8, "########");
        std::mt19937 random(7);
        std::vector<std::string> numbers;
        for (int b = 0; b < count; ++b) {
            const std::size_t r = At(b / 3 * 3), c = At(b % 3 * 3);
            for (const std::size_t k : {r, r + 1})
                for (const std::size_t m : {c, c + 1})
                    rows[k][m] = static_cast<char>('0' + random() % 2);
            numbers.insert(numbers.end(), {rows[r].substr(c, 2),
                                           rows[r + 1].substr(c, 2),
                                           {rows[r][c], rows[r + 1][c]},
                                           {rows[r][c + 1], rows[r + 1][c + 1]}});
            for (const std::size_t k : {r, r + 1})
                rows[k].replace(c, 2, "..");
        }
        numbers.back()[0] = numbers.back()[0] == '0' ? '1' : '0';
        return Board(rows, {{2, numbers}});
    };
    const SolveResult stopped = Solve(blocks(9), 2, 1'000'000);
    EXPECT_TRUE(stopped.undecided);
    EXPECT_EQ(stopped.solutions, 0);
    EXPECT_GT(stopped.steps, 1'000'000);
    EXPECT_LT(stopped.steps, 1'001'000) << "the search ends soon after the budget runs out";

    // Hint and Check stop at the same budget and say they cannot tell, judging nothing.
    const std::vector<int> empty(64, -1);
    const CheckResult check = CheckGrid(blocks(9), empty, 1'000'000);
    EXPECT_TRUE(check.undecided);
    EXPECT_TRUE(check.wrong.empty());
    EXPECT_EQ(CheckText(check), kUndecidedText);
    const HintStep hint = NextStep(blocks(9), 1'000'000);
    EXPECT_EQ(hint.outcome, HintStep::Outcome::Stuck);
    EXPECT_EQ(hint.text, kUndecidedText);
}

TEST(Solver, CountsAgreeWithBruteForceOnRandomBoards) {
    // Small random boards with few digits, so that repeats, leading zeros, mirror images and
    // swaps all turn up; each count is checked against plain backtracking.
    std::mt19937 random(7);
    int multiple = 0;
    for (int round = 0; round < 300; ++round) {
        const int w = 3 + round % 3;
        std::vector<bool> white(At(w * w));
        for (auto&& square : white)
            square = random() % 5 != 0;
        const auto runs = Runs(white, w);
        // Only squares of a run are white, or the board would be an error.
        white.assign(white.size(), false);
        for (const auto& run : runs)
            for (const int cell : run)
                white[At(cell)] = true;
        if (runs.empty() || runs.size() > 8)
            continue;

        FillIn p;
        p.width = w;
        p.white = white;
        p.given.assign(white.size(), -1);
        std::vector<int> digits(white.size(), -1);
        for (std::size_t c = 0; c < white.size(); ++c)
            if (white[c]) {
                digits[c] = static_cast<int>(random() % 3);
                if (round % 2 && random() % 6 == 0)
                    p.given[c] = digits[c];
            }
        std::map<std::string, int> copies;
        for (const auto& run : runs) {
            std::string number;
            for (const int cell : run)
                number += static_cast<char>('0' + digits[At(cell)]);
            p.across[static_cast<int>(run.size())].push_back(number);
            ++copies[number];
        }

        std::vector<int> grid = p.given;
        const int expected = BruteForce(runs, 0, grid, copies);
        const SolveResult r = Solve(p, 1000);
        ASSERT_TRUE(r.error.empty()) << r.error;
        EXPECT_EQ(r.solutions, expected) << "round " << round;
        multiple += expected > 1;
        for (std::size_t c = 0; expected == 1 && c < white.size(); ++c)
            EXPECT_EQ(r.grids[0][c], digits[c]) << "round " << round;
    }
    EXPECT_GT(multiple, 10) << "the boards should include ambiguous ones";
}

TEST(Solver, NamesWhatIsWrongWithABoard) {
    const struct {
        FillIn board;
        std::string message;
    } cases[] = {
        {Board({"..", "..", ".."}, {}), "the grid does not have 3 x 3 squares"},
        {Board({".#", "#."}, {}), "the white square at column 1 row 1 belongs to no number"},
        {Board({"..", "##"}, {{2, {"12", "34"}}}),
         "the grid has 1 places for the 2-digit list but it holds 2 numbers"},
        {Board({"..", "##"}, {{2, {"1x"}}}), "the 2-digit list holds \"1x\", which is not a 2-digit number"},
        // A number of 40 characters is shown whole; a longer one is cut short.
        {Board({"..", "##"}, {{2, {std::string(40, '7')}}}),
         "the 2-digit list holds \"" + std::string(40, '7') + "\", which is not a 2-digit number"},
        {Board({"..", "##"}, {{2, {"12"}}, {3, {"123"}}}), "the grid has no place for the 3-digit list"},
    };
    for (const auto& c : cases) {
        const SolveResult r = Solve(c.board);
        EXPECT_EQ(r.error, c.message);
        EXPECT_EQ(r.solutions, 0);
        EXPECT_TRUE(r.grids.empty());
    }
}

// Generation draws again until the shown puzzle has one solution; a bound on the draws keeps the last
// draw and says it is not unique, and a bound of 0 skips the check.
TEST(Solver, ABoundOnDrawsKeepsTheLastDrawAndSaysItIsNotUnique) {
    PuzzleState s;
    s.PuzzleName = "Normal Puzzle Steps";
    std::uint64_t seed = 1;
    while (GeneratePuzzle(s, seed, 1) && s.Solutions == 1)
        ++seed;
    ASSERT_EQ(s.Solutions, 2);
    EXPECT_EQ(s.Draws, 1);
    const std::vector<std::int16_t> firstDraw = s.SolutionArray;

    ASSERT_TRUE(GeneratePuzzle(s, seed));
    EXPECT_EQ(s.Solutions, 1);
    EXPECT_GT(s.Draws, 1);
    EXPECT_NE(s.SolutionArray, firstDraw);
    EXPECT_EQ(s.Seed, seed) << "the puzzle is still made again from its seed";

    ASSERT_TRUE(GeneratePuzzle(s, seed, 0));
    EXPECT_EQ(s.SolutionArray, firstDraw) << "unchecked generation is the first draw";
    EXPECT_EQ(s.Solutions, 0);
}
