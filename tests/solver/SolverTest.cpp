#include "solver/Solver.h"
#include "puzzle/GeneratePuzzle.h"
#include "solver/Rules.h"

#include "Boards.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

using namespace corvana;
using namespace corvana::test;

// Nine 2 x 2 blocks of 0s and 1s, one number changed so that nothing fits: every arrangement of
// the alike blocks must be tried, far more than any budget allows. The search stops at its
// budget and says it cannot tell.
TEST(Solver, ABoardMadeToDefeatTheSearchStopsAtItsBudgetUndecided) {
    const FillIn blocks = [] {
        std::mt19937 random(7);
        std::vector<std::string> numbers;
        for (int b = 0; b < 9; ++b) { // a block's four digits row by row, then its rows and columns
            std::string d(4, '0');
            std::generate(d.begin(), d.end(), [&random] { return static_cast<char>('0' + random() % 2); });
            numbers.insert(numbers.end(), {d.substr(0, 2), d.substr(2, 2), {d[0], d[2]}, {d[1], d[3]}});
        }
        numbers.back()[0] = numbers.back()[0] == '0' ? '1' : '0';
        return Board(
            {"..#..#..", "..#..#..", "########", "..#..#..", "..#..#..", "########", "..#..#..", "..#..#.."},
            {{2, numbers}});
    }();
    const SolveResult stopped = Solve(blocks, 2, 1'000'000);
    EXPECT_EQ(std::pair(stopped.undecided, stopped.solutions), std::pair(true, 0));
    EXPECT_TRUE(stopped.steps > 1'000'000 && stopped.steps < 1'001'000)
        << stopped.steps << " steps: the search ends soon after the budget runs out";

    // Hint and Check stop at the same budget and say they cannot tell, judging nothing.
    const CheckResult check = CheckGrid(blocks, std::vector<int>(64, -1), 1'000'000);
    EXPECT_EQ(std::tuple(check.undecided, check.wrong.size(), CheckText(check)),
              std::tuple(true, std::size_t{0}, kUndecidedText)); // no square called wrong undecided
    const HintStep hint = NextStep(blocks, 1'000'000);
    EXPECT_EQ(std::tuple(hint.outcome, hint.text), std::tuple(HintStep::Outcome::Stuck, kUndecidedText));
}

TEST(Solver, NamesWhatIsWrongWithABoard) {
    // A square given what no digit is, or a digit on a black square.
    const auto given = [](int cell, int digit) {
        FillIn board = Puzzle(".. ##", "12");
        cell < 0 ? board.given.pop_back() : void(board.given[At(cell)] = digit);
        return board;
    };
    const std::pair<FillIn, std::string> cases[] = {
        {given(1, 10), "the square at column 2 row 1 holds something other than a digit"},
        {given(0, -2), "the square at column 1 row 1 holds something other than a digit"},
        {given(3, 0), "the square at column 2 row 2 holds something other than a digit"},
        {Board({"..", "..", ".."}, {}), "the grid does not have 3 x 3 squares"},
        {given(-1, 0), "the grid does not have 2 x 2 squares"}, // a digit short
        {Board({"."}, {}), "the grid is 1 squares wide (2 to 64 expected)"},
        {Board({".#", "#."}, {}), "the white square at column 1 row 1 belongs to no number"},
        {Puzzle(".. ##", "12 34"), "the grid has 1 places for the 2-digit list but it holds 2 numbers"},
        {Puzzle(".. ##", "1x"), "the 2-digit list holds \"1x\", which is not a 2-digit number"},
        // A number of 40 characters is shown whole; a longer one is cut short.
        {Board({"..", "##"}, {{2, {std::string(40, '7')}}}),
         "the 2-digit list holds \"" + std::string(40, '7') + "\", which is not a 2-digit number"},
        {Puzzle(".. ##", "12 123"), "the grid has no place for the 3-digit list"},
        {FillIn{2, {true, true, true, false}, {-1, -1, -1, -1}, true, {{2, {"12"}}}, {{2, {"13", "14"}}}},
         "the grid has 1 places for the 2-digit DOWN list but it holds 2 numbers"}};
    for (const auto& [board, message] : cases) {
        const SolveResult r = Solve(board);
        EXPECT_EQ(std::tuple(r.error, r.solutions, r.grids.size()), std::tuple(message, 0, std::size_t{0}));
        // A hint refuses the same boards, in the same words.
        EXPECT_EQ(NextStep(board).text, "The puzzle cannot be read: " + message + ".");
    }
    std::vector<std::string> widest(64, std::string(64, '#')); // as wide as a grid may be
    widest[0].replace(0, 2, "..");
    EXPECT_EQ(Solve(Board(widest, {{2, {"12"}}})).solutions, 1);
}

// Generation draws again until the shown puzzle has one solution; a bound on the draws keeps the last
// draw and says it is not unique, and a bound of 0 skips the check.
TEST(Solver, ABoundOnDrawsKeepsTheLastDrawAndSaysItIsNotUnique) {
    PuzzleState s;
    s.PuzzleName = "Normal Puzzle Steps";
    std::uint64_t seed = 1;
    while (GeneratePuzzle(s, seed, 1) && s.Solutions == 1)
        ++seed;
    ASSERT_EQ(std::pair(s.Solutions, s.Draws), std::pair(2, 1));
    const std::vector<std::int16_t> firstDraw = s.SolutionArray;

    ASSERT_TRUE(GeneratePuzzle(s, seed));
    // Drawn again, and still made again from its seed.
    EXPECT_EQ(std::tuple(s.Solutions, s.Draws > 1, s.Seed), std::tuple(1, true, seed));
    EXPECT_NE(s.SolutionArray, firstDraw);

    ASSERT_TRUE(GeneratePuzzle(s, seed, 0));
    // Unchecked generation is the first draw: no solutions counted, one draw made.
    EXPECT_EQ(std::tuple(s.SolutionArray, s.Solutions, s.Draws), std::tuple(firstDraw, 0, 1));
}
