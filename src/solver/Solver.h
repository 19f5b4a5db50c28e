#pragma once

// Counts and finds the solutions of a fill-in as the player sees it: the black and white
// squares, the digits already in the grid and the number lists. Generation uses it to keep only
// puzzles with one solution; corvana-gen --solve reads puzzles from files. Qt-free.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace corvana {

struct FillIn {
    int width = 0; // square grids: width x width cells, row-major
    std::vector<bool> white;
    std::vector<int> given; // the digit shown in a cell, or -1
    // The numbers by digit count, as the player reads them (leading zeros are digits; a number
    // may be listed twice, and each copy is placed once). Unless `separate`, one list of each
    // length serves across and down alike; with `separate`, `across` and `down` are apart.
    bool separate = false;
    std::map<int, std::vector<std::string>> across;
    std::map<int, std::vector<std::string>> down;
};

using SolvedGrid = std::vector<std::int8_t>; // the digit of every cell, -1 for a black square

struct SolveResult {
    std::string error; // what is wrong with the puzzle's shape; nothing was solved
    int solutions = 0; // counted up to the limit
    std::vector<SolvedGrid> grids;
    // True when the step budget ran out before the count was decided: `solutions` and `grids`
    // are then only those found so far.
    bool undecided = false;
    std::int64_t steps = 0; // the search steps taken
};

// The search steps a solve may take. A step is one look at which numbers (64 at a time) fit one
// square of a place; the puzzles of the templates take a few thousand, while boards made to
// defeat the search would take hours. This many keep the worst case near 2 s of CPU on a
// desktop machine.
inline constexpr std::int64_t kSolveBudget = 120'000'000;

// Counts solutions up to `limit` (2 tells unique from not) and returns them, within `budget`
// search steps.
SolveResult Solve(const FillIn& puzzle, int limit = 2, std::int64_t budget = kSolveBudget);

} // namespace corvana
