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

// Puzzle and game files nest a few levels deep; a text nested deeper is refused before it is
// parsed, so no reader or message ever walks a hostile depth.
inline constexpr int kMaxJsonDepth = 16;

// True when no array or object in the JSON `text` lies more than `maxDepth` levels deep
// (brackets inside strings do not count). Looks at the text only, so it is safe on any input.
bool JsonDepthWithin(const std::string& text, int maxDepth = kMaxJsonDepth);

// Parses `text` into `j`; false with the reason in `error` ("it is not JSON", or nested too
// deep). Never throws.
bool ParseJsonText(const std::string& text, nlohmann::json& j, std::string& error);

// A text from a file as it may appear in a message: at most `most` characters, marked "..."
// when cut, and with control characters shown as '?'.
std::string Excerpt(const std::string& text, std::size_t most = 40);

// Takes the puzzle from `j` into `state` (name, options, seed, grids with the user grid as the
// starting state, starting number, lists). The grid must be that of the named template and the
// lists exactly the numbers its solution holds. On any fault returns false with what is wrong
// in `error`, and `state` is untouched.
bool PuzzleFromJson(const nlohmann::json& j, PuzzleState& state, std::string& error);

// The puzzle in the same form.
nlohmann::json PuzzleToJson(const PuzzleState& state);

// The same from a file's text.
bool PuzzleFromText(const std::string& text, PuzzleState& state, std::string& error);

// Reads a puzzle file as above; `error` then says what is wrong with it, in words for the user.
bool ReadPuzzleFile(const std::string& path, PuzzleState& state, std::string& error);

// True when every white square of the user grid holds its digit of the solution.
bool UserGridSolved(const PuzzleState& state);

} // namespace corvana
