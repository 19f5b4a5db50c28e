#include "solver/Solver.h"
#include "puzzle/GeneratePuzzle.h"
#include "solver/Rules.h"

#include "Boards.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <set>

using namespace corvana;
using namespace corvana::test;

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
    const CheckResult check = CheckGrid(blocks(9), std::vector<int>(64, -1), 1'000'000);
    EXPECT_TRUE(check.undecided);
    EXPECT_TRUE(check.wrong.empty());
    EXPECT_EQ(CheckText(check), kUndecidedText);
    const HintStep hint = NextStep(blocks(9), 1'000'000);
    EXPECT_EQ(hint.outcome, HintStep::Outcome::Stuck);
    EXPECT_EQ(hint.text, kUndecidedText);
}

TEST(Solver, NamesWhatIsWrongWithABoard) {
    const struct {
        FillIn board;
        std::string message;
    } cases[] = {
        {Board({"..", "..", ".."}, {}), "the grid does not have 3 x 3 squares"},
        {Board({"."}, {}), "the grid is 1 squares wide (2 to 64 expected)"},
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

namespace {

// A small random board and its fills, found by trying every number in every run.
struct PlainBoard {
    using Copies = std::map<std::string, int>; // by number, after "D" (the DOWN list apart) or "A"
    FillIn p;
    std::vector<std::vector<int>> runs;
    std::vector<std::string> list; // per run, "D" when it takes the DOWN list apart, else "A"
    Copies copies;

    // A random pattern and a fill in a few digits (so numbers repeat and many boards have more than
    // one fill), the lists read from the fill, some of its digits shown, and one in ten boards with
    // a shown digit that no fill has.
    explicit PlainBoard(std::mt19937& random) {
        const int w = p.width = 3 + static_cast<int>(random() % 4);
        const unsigned digits = 2 + random() % 2;
        std::vector<int> fill;
        for (int c = 0; c < w * w; ++c) {
            p.white.push_back(random() % 10 >= 3);
            fill.push_back(static_cast<int>(random() % digits));
        }
        p.separate = random() % 2;
        std::vector<bool> inRun(At(w * w));
        for (const bool across : {true, false})
            for (int line = 0; line < w; ++line)
                for (int k = 0, end; k < w; k = end + 1) {
                    const auto cell = [&](int m) { return across ? line * w + m : m * w + line; };
                    for (end = k; end < w && p.white[At(cell(end))];)
                        ++end;
                    for (int m = k; m < end && end - k >= 2; ++m) {
                        (m == k ? runs.emplace_back() : runs.back()).push_back(cell(m));
                        inRun[At(cell(m))] = true;
                    }
                    if (end - k >= 2) {
                        list.push_back(p.separate && !across ? "D" : "A");
                        (list.back() == "A" ? p.across : p.down)[end - k].push_back(
                            Spelled(fill, runs.size() - 1));
                        ++copies[list.back() + (list.back() == "A" ? p.across : p.down)[end - k].back()];
                    }
                }
        p.white = inRun;
        for (int c = 0; c < w * w; ++c)
            p.given.push_back(inRun[At(c)] && random() % 12 == 0 ? fill[At(c)] : -1);
        if (random() % 10 == 0 && !runs.empty())
            p.given[At(runs[0][0])] = (fill[At(runs[0][0])] + 1) % 10;
    }
    std::string Spelled(const std::vector<int>& grid, std::size_t run) const {
        std::string number;
        for (const int c : runs[run])
            number += grid[At(c)] < 0 ? '.' : static_cast<char>('0' + grid[At(c)]);
        return number;
    }
    // The numbers of the run's list that are left and fit its digits.
    std::vector<std::string> Fitting(const std::vector<int>& grid, std::size_t run,
                                     const Copies& left) const {
        std::vector<std::string> fit;
        for (const auto& [key, n] : left) {
            bool fits = n > 0 && key.size() == runs[run].size() + 1 && key[0] == list[run][0];
            for (std::size_t k = 0; fits && k < runs[run].size(); ++k) {
                const int c = runs[run][k], digit = key[k + 1] - '0';
                fits = grid[At(c)] < 0 || grid[At(c)] == digit;
            }
            if (fits)
                fit.push_back(key.substr(1));
        }
        return fit;
    }
    // Every fill (up to 300), each run given each number of its list that is left and fits.
    void Fill(const std::vector<int>& grid, const Copies& left, std::size_t run,
              std::set<std::vector<int>>& out) const {
        if (run == runs.size() || out.size() > 300)
            out.insert(grid);
        for (const std::string& number :
             run < runs.size() ? Fitting(grid, run, left) : std::vector<std::string>{}) {
            auto next = grid;
            for (std::size_t k = 0; k < number.size(); ++k)
                next[At(runs[run][k])] = number[k] - '0';
            Copies rest = left;
            --rest[list[run] + number];
            Fill(next, rest, run + 1, out);
        }
    }
};

} // namespace

TEST(Rules, RandomBoardsAreSolvedCheckedHintedAndGradedAsTheirFillsSay) {
    std::mt19937 random(2026);
    for (int round = 0; round < 600; ++round) {
        const PlainBoard b(random);
        std::set<std::vector<int>> fills;
        b.Fill(b.p.given, b.copies, 0, fills);
        if (b.runs.empty() || fills.size() > 300)
            continue;
        const SolveResult solved = Solve(b.p, 301);
        ASSERT_EQ(solved.error, "");
        std::set<std::vector<int>> found;
        for (const SolvedGrid& g : solved.grids)
            found.insert(std::vector<int>(g.begin(), g.end()));
        ASSERT_EQ(found, fills) << "round " << round;

        // Check marks the squares no fill has; a fill is solved, and with a digit changed only if
        // that is a fill too.
        if (!fills.empty()) {
            std::vector<int> grid = *std::next(fills.begin(), static_cast<long>(random() % fills.size()));
            EXPECT_TRUE(IsSolved(b.p, grid)) << "round " << round;
            const int changed = b.runs[random() % b.runs.size()][0];
            grid[At(changed)] = (grid[At(changed)] + 1) % 10;
            EXPECT_EQ(IsSolved(b.p, grid), fills.count(grid) == 1) << "round " << round;
            std::vector<int> wrong;
            int filled = 0;
            for (std::size_t c = 0; c < grid.size(); ++c) {
                if (random() % 3 == 0)
                    grid[c] = -1;
                filled += grid[c] >= 0;
                if (grid[c] >= 0 && std::none_of(fills.begin(), fills.end(),
                                                 [&](const auto& fill) { return fill[c] == grid[c]; }))
                    wrong.push_back(static_cast<int>(c));
            }
            const CheckResult check = CheckGrid(b.p, grid);
            EXPECT_EQ(check.wrong, wrong) << "round " << round;
            EXPECT_EQ(std::make_pair(check.filled, check.squares),
                      std::make_pair(filled,
                                     static_cast<int>(std::count(b.p.white.begin(), b.p.white.end(), true))));
            EXPECT_EQ(check.solutions, std::min(static_cast<int>(fills.size()), kCheckLimit));
        }

        // Hints one after another, each right in every fill, until none is left or the digits fit no fill.
        std::vector<int> grid = b.p.given;
        HintStep step;
        Rule highest = Rule::None;
        for (std::size_t k = 0; k <= b.runs.size(); ++k) {
            FillIn shown = b.p;
            shown.given = grid;
            step = NextStep(shown);
            if (step.outcome != HintStep::Outcome::Placed)
                break;
            highest = std::max(highest, step.rule);
            for (std::size_t m = 0; m < step.cells.size(); ++m) {
                grid[At(step.cells[m])] = step.number[m] - '0';
                for (const auto& fill : fills)
                    ASSERT_EQ(fill[At(step.cells[m])], grid[At(step.cells[m])])
                        << "round " << round << ": " << step.text;
            }
        }
        EXPECT_EQ(step.outcome == HintStep::Outcome::Conflict, fills.empty()) << "round " << round;
        const bool byRules =
            fills.size() == 1 && step.outcome == HintStep::Outcome::Complete && highest < Rule::Trial;
        const Grade grade = GradePuzzle(b.p);
        EXPECT_EQ(grade == Grade::Easy, byRules && highest <= Rule::Singles) << "round " << round;
        EXPECT_EQ(grade == Grade::Expert, !byRules) << "round " << round;
    }
}
