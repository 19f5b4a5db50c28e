#pragma once

// The rules a person uses to fill in a puzzle, for the grade of a puzzle, the Hint and the Check.
// Qt-free.
//
// A run is a maximal line of two or more white squares. Its candidates are the numbers of its list
// (the joined list, or ACROSS / DOWN when the lists are apart) of its length that are not yet placed
// (counting copies) and agree with every digit already in its squares. A run whose squares are all
// filled counts as placed with the number its digits spell.
// - Rule 1, singles: a run with one candidate takes it; a number that is a candidate of exactly as
//   many open runs as it has unplaced copies goes into all of them.
// - Rule 2, a crossing round: a digit stays possible in a square only while some candidate of its
//   across run and some candidate of its down run both put it there (repeated until nothing
//   changes); Rule 1 on the candidates so narrowed then places numbers.
// - Rule 3, a trial: one candidate is put into one run and Rules 1 and 2 applied until stuck; when
//   that leads to a contradiction the candidate is struck from the run.

#include "solver/Solver.h"

#include <string>
#include <vector>

namespace corvana {

enum class Grade { Easy, Medium, Hard, Expert };

// "Easy", "Medium", "Hard" or "Expert".
const char* GradeName(Grade grade);

// How hard the puzzle is as shown (`given` holds the digits in the grid): Rule 1 until stuck,
// then one crossing round, Rule 1 again and so on. Easy: Rule 1 alone finishes it; Medium: one
// crossing round was needed; Hard: two or more; Expert: a trial would be needed, or the rules do
// not finish it (a puzzle that has more than one solution, or one that cannot be read).
Grade GradePuzzle(const FillIn& puzzle);

// The rule behind a hint; the numbers are the rules' own.
enum class Rule { None = 0, Singles = 1, Crossing = 2, Trial = 3 };

struct HintStep {
    enum class Outcome {
        Placed,   // `number` goes into `cells`
        Complete, // every square is filled and the numbers fit: nothing to hint
        Stuck,    // no rule makes progress
        Conflict, // the digits in the grid fit no solution together
        Error,    // the puzzle cannot be read; `text` says why
    };
    Outcome outcome = Outcome::Stuck;
    Rule rule = Rule::None;
    std::string number;      // the number's digits, leading zeros included
    std::vector<int> cells;  // its squares, first to last (row-major cell indexes)
    bool down = false;       // runs down rather than across
    int row = 0, column = 0; // its first square, counted from 1
    std::string text;        // the explanation in plain words, for every outcome
};

// The next step from the grid in `grid.given` (the player's digits count as placed): the lowest
// rule that makes progress and one number it places, with the reason.
HintStep NextStep(const FillIn& grid, std::int64_t budget = kSolveBudget);

// What Hint and Check say when the solver's step budget runs out before the solutions are known:
// only a hand-made puzzle far more open than any template gets there.
inline constexpr const char* kUndecidedText =
    "Cannot tell: the puzzle has too many ways to fill it to search them all.";

struct CheckResult {
    std::string error;      // the puzzle cannot be read; nothing was checked
    bool undecided = false; // the search ran out of steps; nothing was judged
    int solutions = 0;      // of the puzzle as shown, up to kCheckLimit
    std::vector<int> wrong; // the filled squares whose digit no solution has there
    int filled = 0;         // the filled white squares
    int squares = 0;        // the white squares
};

// Solutions listed by CheckGrid; past this many, a square is only called wrong once a solve with
// its digit fixed finds nothing.
inline constexpr int kCheckLimit = 16;

// The squares of `grid` (a digit or -1 per cell) whose digit no solution of `shown` has there.
// Every digit is judged alone, so two right digits of two different solutions both pass.
CheckResult CheckGrid(const FillIn& shown, const std::vector<int>& grid, std::int64_t budget = kSolveBudget);

// "2 squares are wrong", or "No mistakes so far: 41 of 96 squares filled".
std::string CheckText(const CheckResult& result);

// True when `grid` fills every white square, keeps every digit shown in `shown` and spells in its
// runs exactly the numbers of the lists (with copies): any solution, not only the generated one.
bool IsSolved(const FillIn& shown, const std::vector<int>& grid);

} // namespace corvana
