#pragma once

// The current puzzle, shared by the main window, the build procedure and the play windows,
// and the dispatch that rebuilds it from a template name.

#include "puzzle/NumberRoutines.h"
#include "solver/Solver.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace corvana {

class Dialogs;

inline constexpr int kShortest = 2;
inline constexpr int kLongest = 10;

// A family of lists indexed by digit count (2 to 10; the first two entries are unused).
template <typename List> using ByDigits = std::array<List, kLongest + 1>;

struct PuzzleState {
    std::string PuzzleName;
    bool ExitRequested = false;
    bool NoShowFirst = false;
    bool ReducedNumbers = false;

    // The starting number runs across from the first to the last cell, on one row.
    int StarterFirstCell = 0;
    int StarterLastCell = 0;

    // One entry per cell in row-major order. GridPattern is true for a white square;
    // SolutionArray holds the digit or -1 for a black square; UserArray the user's digit or -1.
    std::vector<bool> GridPattern;
    std::vector<std::int16_t> SolutionArray;
    std::vector<std::int16_t> UserArray;

    // Build work areas.
    ByDigits<NumberList> Across;
    ByDigits<std::vector<std::string>> DownText;
    ByDigits<NumberList> Down;

    // The lists the user places: Numbers (merged, or across only on Large puzzles) and, on
    // Large puzzles, NumbersDown; each with its zero-padded captions.
    ByDigits<NumberList> Numbers;
    ByDigits<CaptionList> Captions;
    ByDigits<NumberList> NumbersDown;
    ByDigits<CaptionList> CaptionsDown;

    // The seed of the last build, so any puzzle can be made again.
    std::uint64_t Seed = 0;
    // How many builder runs the puzzle took, and the solutions of the last one (2: two or more).
    int Draws = 0;
    int Solutions = 0;

    int CellCount() const { return static_cast<int>(GridPattern.size()); }
};

// A builder run can make a grid that two ways of placing the numbers fill. Such a draw is built
// again from the same seed's next numbers; this many draws in a row never happen in practice,
// and when they do the last draw is kept and reported with Solutions == 2.
inline constexpr int kMaxDraws = 100;

// Rebuilds the puzzle named by state.PuzzleName until it has one solution. Without a seed one
// is drawn from a high-resolution clock. False when the name matches no template (state
// untouched) or a build failed part-way (state partly rebuilt). maxDraws 0 makes one builder
// run and leaves it unchecked (Solutions 0), as generation was before the check.
bool GeneratePuzzle(PuzzleState& state, Dialogs& dialogs, std::optional<std::uint64_t> seed = std::nullopt,
                    int maxDraws = kMaxDraws);

// The built puzzle as the player sees it with the starting number in place, for the solver.
FillIn ShownPuzzle(const PuzzleState& state);

} // namespace corvana
