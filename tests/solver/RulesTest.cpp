#include "solver/Rules.h"

#include "Boards.h"

#include <gtest/gtest.h>

#include <cctype>
#include <sstream>
#include <tuple>

using namespace corvana;
using namespace corvana::test;

namespace {

using O = HintStep::Outcome;

std::string Raised(std::string text) { // every digit by 4: the rules read no digit unlike another
    for (char& c : text)
        c = std::isdigit(static_cast<unsigned char>(c)) ? static_cast<char>(c + 4) : c;
    return text;
}

// A board past the first block of 64 numbers of each of its lists of 3 digits or more: in the
// top left of a 64 x 64 grid with its digits raised, and below it 64 numbers of each such length
// shown whole, which come first in their list ("000" to "063").
FillIn PastTheFirstBlock(const std::string& rows, const std::string& numbers) {
    std::vector<std::string> grid(64, std::string(64, '#'));
    std::istringstream board(Raised(rows));
    int r = 0, c = 64;
    for (std::string row; board >> row; ++r)
        grid[At(r)].replace(0, row.size(), row);
    std::map<int, std::vector<std::string>> lists = Puzzle(Raised(rows), Raised(numbers)).across;
    for (auto& [length, list] : lists)
        for (int k = 0; k < 64 && length > 2; ++k, c += length + 1) {
            const std::string shown = std::string(At(length - 2), '0') + std::to_string(100 + k).substr(1);
            if (c + length > 64)
                r += 2, c = 0;
            grid[At(r)].replace(At(c), At(length), shown);
            list.push_back(shown);
        }
    return Board(grid, lists);
}

} // namespace

// Each board is worked out by hand, as far as its comment goes: the rule named is the lowest that
// makes progress on it, and the grade follows from the rules the whole solve needs. The later
// boards were found by comparing the rules with and without a fault on many small random boards;
// each tells apart a fault that the boards before it do not.
TEST(Rules, EachBoardIsHintedAndGradedByTheLowestRuleThatMakesProgress) {
    // The board's rows and numbers, the rule and the grade, the solutions (of two looked for) and the text.
    const std::tuple<const char*, const char*, Rule, Grade, int, const char*> cases[] = {
        // Across at row 2 only 01 begins with 0 (the 10s begin with 1).
        {"..# #0. ..0", "01 01 10 100 100", Rule::Singles, Grade::Easy, 1,
         "01 goes across at row 2, column 2: it is the only 2-digit number that fits 0 _."},
        // Every run has two or three candidates, but 135 alone has a 3 in the middle, and the
        // middles of row 2 and column 2 are 1: column 3 is its only place.
        {"#.. .1. #..", "11 15 213 111 135", Rule::Singles, Grade::Easy, 1,
         "135 goes down at row 1, column 3: no other place fits 135."},
        // 12 is listed four times, and the rows that begin with 3 leave it four places.
        {"..#.. ##### ..#.. ##### 3.#3.", "12 12 12 12 34 35", Rule::Singles, Grade::Expert, 2,
         "12 goes across at row 1, column 1: 12 is listed 4 times and fits only 4 places."},
        // Eight times with eight places: counted one by one, as so many copies are rare.
        {"..#..#.. ######## ..#..#.. ######## ..#..#3. ######## 3.#3.#3. ########",
         "12 12 12 12 12 12 12 12 30 31 32 33", Rule::Singles, Grade::Expert, 2,
         "12 goes across at row 1, column 1: 12 is listed 8 times and fits only 8 places."},
        // Rule 1 is stuck (two candidates everywhere); the 2-digit lists all begin with 1, so the
        // second square of row 1 is 1, and of 111 and 100 only 111 fits 1 1 _.
        {"1.. ... ##.", "11 10 111 100 100", Rule::Crossing, Grade::Medium, 1,
         "111 goes across at row 1, column 1: the down number through row 1, column 2 can only have 1 there, "
         "so 111 is the only 3-digit number that fits 1 _ _."},
        // The squares where runs cross can only take 1 or 2, the first digits, so 20 has one place.
        {"..# #.. ###", "21 20 12", Rule::Crossing, Grade::Medium, 1,
         "20 goes across at row 2, column 2: the crossing numbers through row 1, column 2 and row 2, column "
         "2 limit the digits there, so no other place fits 20."},
        // Both 2-digit numbers begin with 0, so row 2 ends in 0 (100 or 000) and row 2, column 2 is
        // 0; column 2 (012, 000 or 100) leaves row 3, column 2 no 1. Only column 1 is left for 012;
        // row 2, column 2, which rules out both row 2 and column 2, is named once.
        {"..# ... ...", "00 01 100 201 012 000", Rule::Crossing, Grade::Medium, 1,
         "012 goes down at row 1, column 1: the crossing numbers through row 2, column 2 and row 3, column 2 "
         "limit the digits there, so no other place fits 012."},
        // Row 1 and column 1 begin with 2, which 021 does not: column 2 is its only place.
        {"2.. ..# ..#", "02 11 203 201 021", Rule::Singles, Grade::Easy, 1,
         "021 goes down at row 1, column 2: no other place fits 021."},
        // Column 2 is the only 2-digit run, and 33 the only 2-digit number.
        {"... ... .#.", "33 332 333 333 231", Rule::Singles, Grade::Medium, 1,
         "33 goes down at row 1, column 2: it is the only 2-digit number left."},
        // A trial that empties a run's candidates names the run; the crossings it narrows are
        // followed both ways from each placed number.
        {"..... .#... ...#. ..### .....", "03 31 313 133 330 033 332 33033 10331 31101", Rule::Trial,
         Grade::Expert, 1,
         "313 goes across at row 2, column 3: trying 133 there leaves no number that fits the 3-digit down "
         "run at row 3, column 2, so 133 cannot go there and 313 is the only 3-digit number left."},
        // Only 3-digit run is column 1, from row 3; its list has only 132.
        {"#.... #.... .##.. ..#.. ..#..", "20 33 31 20 22 32 30 00 132 3022 2013 21232 23012", Rule::Singles,
         Grade::Medium, 1, "132 goes down at row 3, column 1: it is the only 3-digit number left."},
        // Column 3 (_ 0 _) takes 101 or 001, both ending in 1, so row 3 ends in 1 and 220 is left
        // row 1 alone; a square in one run only (row 1, column 1) crosses nothing.
        {"... ##0 ...", "220 101 001", Rule::Crossing, Grade::Medium, 1,
         "220 goes across at row 1, column 1: the down number through row 3, column 3 can only have 1 there, "
         "so no other place fits 220."},
        // Column 3 (_ 0 _) takes 203 or 303, so row 3 ends in 3 and begins with 2 or 3: 012 fits
        // neither it nor column 3.
        {".#. .#0 ...", "203 012 303", Rule::Crossing, Grade::Medium, 1,
         "012 goes down at row 1, column 1: the down number through row 3, column 1 can only have 2 or 3 "
         "there, so no other place fits 012."},
        // Column 3 is given whole, so 303 is placed before any hint and 203 alone ends in 3.
        {".#3 .#0 ..3", "203 012 303", Rule::Singles, Grade::Easy, 1,
         "203 goes across at row 3, column 1: it is the only 3-digit number that fits _ _ 3."},
        // 321 and 112 cross at row 3, column 2 and so end row 3 in 1 or 2; column 3 below row 1
        // then takes 21 or 12, which puts 1 or 2 at the end of row 2: 13 fits neither. The
        // 3-digit runs, which 13 cannot fill, are not named.
        {"..# #.. ...", "13 21 12 321 112", Rule::Crossing, Grade::Medium, 1,
         "13 goes across at row 1, column 1: the crossing numbers through row 2, column 3 and row 3, column "
         "3 limit the digits there, so no other place fits 13."},
        // A trial that meets a number already in a run names the first square where they differ.
        {"#... .... 0... ..2.", "000 303 0113 0122 0222 3112 0122 3322", Rule::Trial, Grade::Expert, 2,
         "0122 goes across at row 3, column 1: trying 0222 there puts two digits in the square at row 2, "
         "column 1, so 0222 cannot go there and 0122 is the only 4-digit number that fits 0 _ _ _."},
        // Row 1 (30 or 03) starts columns 1 and 2 with 3 or 0, which 130 does not.
        {"..# ... ..#", "30 03 130 310 033", Rule::Crossing, Grade::Medium, 1,
         "130 goes across at row 2, column 1: the crossing numbers through row 1, column 1 and row 1, column "
         "2 limit the digits there, so no other place fits 130."},
        // Row 1 and column 1 share their first digit, row 3 and column 3 their last: only 13 and 11
        // and the two 23s pair up, so the 23s stand at row 3 and column 3.
        {"..# .#. #..", "13 23 11 23", Rule::Trial, Grade::Expert, 2,
         "23 goes across at row 3, column 2: trying 23 down at row 1, column 1 leaves no number that fits "
         "the 2-digit down run at row 2, column 3, so 23 cannot go there and 23 is listed 2 times and fits "
         "only 2 places."},
        // Row 1 and column 1 begin with 2, so they take two of 22, 23 and 22, and the other two
        // share a last digit: only the two 22s leave that (23 and 33). A 22 in row 3 would leave
        // 23 or 33 to begin column 1.
        {"2.# .#. #..", "22 23 22 33", Rule::Trial, Grade::Expert, 2,
         "22 goes across at row 1, column 1: trying 22 across at row 3, column 2 leaves no number that fits "
         "the 2-digit down run at row 1, column 1, so 22 cannot go there and 22 is listed 2 times and fits "
         "only 2 places."},
        // A number listed once that a trial leaves without a place is named as such.
        {"... ..3 ...", "221 233 203 222 230 133", Rule::Trial, Grade::Expert, 1,
         "221 goes across at row 1, column 1: trying 222 there leaves no place for 230, so 222 cannot go "
         "there and 221 is the only 3-digit number left."},
        // Every run may take 00 or 22 and every square 0 or 2; 00 across at the top would leave
        // column 3 beginning with 0 and no number for it.
        {"#.. .#. .##", "22 00 22", Rule::Trial, Grade::Expert, 1,
         "22 goes across at row 1, column 2: trying 00 there leaves no number that fits the 2-digit down run "
         "at row 1, column 3, so 00 cannot go there and 22 is the only 2-digit number left."},
        // Every run may take every number, and the two fills mirror each other. 001 in row 1 starts
        // columns 1 and 2 with 0, and with them row 2: three runs for the two numbers left that
        // begin with 0. The trial follows the crossing round's placements to that end; 001 then
        // has only its two places of the fills.
        {"... ... ...", "110 000 001 001 100 100", Rule::Trial, Grade::Expert, 2,
         "001 goes across at row 3, column 1: trying 001 across at row 1, column 1 leaves no number that "
         "fits the 3-digit across run at row 2, column 1, so 001 cannot go there and 001 is listed 2 times "
         "and fits only 2 places."},
        // Each trial starts its round afresh: nothing left queued by the one before it.
        {"... 0.. .2.", "300 021 122 301 022 012", Rule::Trial, Grade::Expert, 1,
         "300 goes across at row 1, column 1: trying 301 there leaves no number that fits the 3-digit down "
         "run at row 1, column 2, so 301 cannot go there and 300 is the only 3-digit number left."},
        // A run that the crossings a trial narrows leave without a number is named, the first
        // across run among them.
        {"... ... ...", "003 000 311 003 001 301", Rule::Trial, Grade::Expert, 2,
         "003 goes across at row 1, column 1: trying 000 there leaves no number that fits the 3-digit down "
         "run at row 1, column 3, so 000 cannot go there and 003 is the only 3-digit number left."},
        // Placements of one round of a trial that disagree are its contradiction.
        {"... ... ...", "001 010 011 101 110 110", Rule::Trial, Grade::Expert, 2,
         "110 goes across at row 2, column 1: trying 101 there leaves no number that fits the 3-digit across "
         "run at row 1, column 1, so 101 cannot go there and 110 is the only 3-digit number left."},
        // 11 is listed 8 times: its places, counted one by one, are among the open runs only.
        {"#..#. ..#.. ##### .##.. ..#..", "00 00 01 11 11 11 11 11 11 11 11", Rule::Trial, Grade::Expert, 2,
         "11 goes down at row 4, column 5: trying 00 across at row 4, column 4 leaves no number that fits "
         "the 2-digit down run at row 4, column 5, so 00 cannot go there and 11 is the only 2-digit number "
         "left."},
        {".0. ... ...", "300 301 103 331 000 013", Rule::Trial, Grade::Expert, 1,
         "000 goes down at row 1, column 2: trying 013 there leaves no number that fits the 3-digit across "
         "run at row 1, column 1, so 013 cannot go there and 000 is the only 3-digit number that fits "
         "0 _ _."}};
    for (const auto& [rows, numbers, rule, grade, solutions, text] : cases) {
        const FillIn board = Puzzle(rows, numbers);
        const HintStep step = NextStep(board);
        // The number is the one the text names, and its squares the run at its row and column.
        std::vector<int> run;
        for (int k = 0; k < int(step.number.size()); ++k)
            run.push_back((step.row - 1) * board.width + step.column - 1 + k * (step.down ? board.width : 1));
        EXPECT_EQ(std::tuple(std::string(GradeName(GradePuzzle(board))), Solve(board).solutions, step.outcome,
                             step.rule, step.text, step.cells),
                  std::tuple(GradeName(grade), solutions, O::Placed, rule, text, run));
        EXPECT_EQ(step.text.substr(0, step.number.size() + 1), step.number + " ");
        // The same board past the first block of 64 numbers of its lists (the rules and the search
        // keep a list's numbers in blocks of 64, as bits): the same step, grade and solutions.
        const FillIn far = PastTheFirstBlock(rows, numbers);
        const HintStep there = NextStep(far);
        EXPECT_EQ(std::tuple(there.rule, there.number, GradeName(GradePuzzle(far)), Solve(far).solutions),
                  std::tuple(rule, Raised(step.number), GradeName(grade), solutions))
            << text;
    }
}

TEST(Rules, AHintThatPlacesNothingSaysWhy) {
    FillIn joinedWithDownLists = Puzzle(".. ..", "12 34 13 24");
    joinedWithDownLists.down = joinedWithDownLists.across;
    const std::string unread = "The puzzle cannot be read: ";
    // The board, and the outcome and text of its hint.
    const std::tuple<FillIn, O, std::string> cases[] = {
        {Puzzle("12 34", "12 34 13 24"), O::Complete, "Nothing to hint: the puzzle is solved."},
        // 12 and 34 across read 13 and 24 down, and so does their mirror image.
        {Puzzle(".. ..", "12 34 13 24"), O::Stuck,
         "No rule finds the next number: the grid can still be filled in more than one way, and Show "
         "Starting Number tells which."},
        {Puzzle("1. .2", "12 34 13 24"), O::Conflict,
         "The digits in the grid do not fit together: no solution has them all."},
        {Puzzle(".. ##", "12 34"), O::Error,
         unread + "the grid has 1 places for the 2-digit list but it holds 2 numbers."},
        {Puzzle(".. ##", "5 12"), O::Error, unread + "there is a list of 1-digit numbers."},
        {Puzzle(".# ##", ""), O::Error, unread + "the white square at column 1 row 1 belongs to no number."},
        {Puzzle(".", ""), O::Error, unread + "the grid is 1 squares wide (2 to 64 expected)."},
        {joinedWithDownLists, O::Error, unread + "down lists are given for a puzzle whose lists are joined."},
    };
    for (const auto& [board, outcome, text] : cases) {
        const HintStep step = NextStep(board);
        EXPECT_EQ(std::pair(step.outcome, step.text), std::pair(outcome, text));
        EXPECT_TRUE(step.number.empty() && step.cells.empty()) << text;
    }
}

// Check on a template's grid is tried in the play form's tests; here, past the solutions it lists,
// Check asks a solve with the digit fixed. Six runs apart take 10 to 15 in any order, so the first
// may end in 5 (no solution listed has that) but none begins with 9.
TEST(Rules, CheckMarksExactlyTheSquaresNoSolutionHas) {
    const FillIn apart = Puzzle("..#.. ##### ..#.. ##### ..#..", "10 11 12 13 14 15");
    EXPECT_EQ(Solve(apart, kCheckLimit).solutions, kCheckLimit);
    const CheckResult check = CheckGrid(apart, Puzzle(".5#9. ##### 10#.. ##### ..#..", "").given);
    EXPECT_EQ(std::tuple(check.wrong, check.filled, check.squares), std::tuple(std::vector<int>{3}, 4, 12));
    EXPECT_EQ(CheckText(check), "1 square is wrong");
    EXPECT_EQ(CheckText({"", false, 2, {3, 1}, 4, 12}), "2 squares are wrong");
    EXPECT_EQ(CheckText({"", false, 2, {}, 4, 12}), "No mistakes so far: 4 of 12 squares filled");
    EXPECT_EQ(CheckGrid(apart, {1, 0}).error, "the grid does not have the puzzle's squares");
    // A shown digit written over is no solution, though the grid is another fill; so is a digit
    // on a black square.
    for (auto [grid, ok] : {std::pair("10# ### 12#", true), {"12# ### 10#", false}, {"101 ### 12#", false}})
        EXPECT_EQ(IsSolved(Puzzle(".0# ### ..#", "10 12"), Puzzle(grid, "").given), ok) << grid;
}
