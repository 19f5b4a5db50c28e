#pragma once

// A puzzle in the JSON form corvana-gen prints (keys name, size, width, seed, reduced,
// noShowFirst, starter, solution, user, lists, listsDown, solutions, draws; any other key is
// left alone). Grids
// are one text per row: '#' a black square, a digit, or '.' an empty square of the user grid.

#include "puzzle/PuzzleState.h"

#include <nlohmann/json_fwd.hpp>

#include <string>

namespace corvana {

// The largest puzzle file read; a Large puzzle takes about 4 KB.
inline constexpr std::size_t kMaxPuzzleFileBytes = 256 * 1024;

// Takes the puzzle from `j` into `state` (name, options, seed, grids with the user grid as the
// starting state, starting number, lists). The grid must be that of the named template and the
// lists exactly the numbers its solution holds. On any fault returns false with what is wrong
// in `error`, and `state` is untouched.
bool PuzzleFromJson(const nlohmann::json& j, PuzzleState& state, std::string& error);

// The puzzle in the same form.
nlohmann::json PuzzleToJson(const PuzzleState& state);

// Reads a puzzle file as above; `error` then says what is wrong with it, in words for the user.
bool ReadPuzzleFile(const std::string& path, PuzzleState& state, std::string& error);

// True when every white square of the user grid holds its digit of the solution.
bool UserGridSolved(const PuzzleState& state);

} // namespace corvana
