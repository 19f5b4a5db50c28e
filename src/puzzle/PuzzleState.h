#pragma once

// The current puzzle, shared by the main window, the build procedure and the play windows.

#include "puzzle/NumberRoutines.h"
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace corvana {

inline constexpr int kShortest = 2;
inline constexpr int kLongest = 10;

// A family of lists indexed by digit count (2 to 10; the first two entries are unused).
template <typename List> using ByDigits = std::array<List, kLongest + 1>;

struct PuzzleState {
    std::string PuzzleName;
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

} // namespace corvana
