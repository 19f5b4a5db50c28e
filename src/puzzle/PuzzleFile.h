#pragma once

// The puzzle file: the JSON form corvana-gen prints and the program opens (keys name, size,
// width, seed, reduced, noShowFirst, starter, solution, user, lists, listsDown, solutions, draws;
// any other key is left alone). Grids are one text per row: '#' a black square, a digit, or '.'
// an empty square of the user grid.
//
// It is read two ways. To play it, the whole puzzle must be there and agree with its template:
// the program builds its lists and checks from it. To solve it, only the grid as given out and
// the lists are needed, so a puzzle written or edited by hand on any square grid can be solved.

#include "puzzle/PuzzleState.h"
#include "puzzle/Templates.h"
#include "solver/Solver.h"

#include <nlohmann/json_fwd.hpp>

#include <optional>
#include <string>
#include <vector>

namespace corvana {

// The largest puzzle file read, by either reader; a Large puzzle takes about 4 KB.
inline constexpr std::size_t kMaxPuzzleFileBytes = 256 * 1024;

// Puzzle and game files nest a few levels deep; a text nested deeper is refused before it is
// parsed, so no reader or message ever walks a hostile depth.
inline constexpr int kMaxJsonDepth = 16;

// True when no array or object in the JSON `text` lies more than `maxDepth` levels deep
// (brackets inside strings do not count). Looks at the text only, so it is safe on any input.
bool JsonDepthWithin(const std::string& text, int maxDepth = kMaxJsonDepth);

// What kept a text from being taken as JSON.
enum class JsonFault { None, TooDeep, NotJson };

// Parses `text` into `j`, refusing a text nested deeper than kMaxJsonDepth before parsing it.
// For NotJson, `words` (when given) gets the parser's own account of where and why. Never throws.
JsonFault ParseJson(const std::string& text, nlohmann::json& j, std::string* words = nullptr);

// ParseJson with the fault in words for the user ("it is not JSON", or nested too deep).
bool ParseJsonText(const std::string& text, nlohmann::json& j, std::string& error);

// A text from a file as it may appear in a message: at most `most` characters, marked "..."
// when cut, and with control characters shown as '?'.
std::string Excerpt(const std::string& text, std::size_t most = 40);

// The text of a puzzle file at `path`: a regular file or a link to one, of at most
// kMaxPuzzleFileBytes. Never waits on a pipe nor opens a device; false with the reason in `error`.
bool ReadPuzzleFileText(const std::string& path, std::string& text, std::string& error);

// --- Reading to play ---

// Takes the puzzle from `j` into `state` (name, options, seed, grids with the user grid as the
// starting state, starting number, lists). The grid must be that of the named template and the
// lists exactly the numbers its solution holds. On any fault returns false with what is wrong
// in `error`, and `state` is untouched.
bool PuzzleForPlayFromJson(const nlohmann::json& j, PuzzleState& state, std::string& error);

// The same from a file's text.
bool PuzzleForPlayFromText(const std::string& text, PuzzleState& state, std::string& error);

// Reads a puzzle file to play; `error` then says what is wrong with it, in words for the user.
bool ReadPuzzleForPlay(const std::string& path, PuzzleState& state, std::string& error);

// --- Reading to solve ---

// Takes the puzzle as given out from a file's text: `width` (2 to 64), the `user` grid and the
// `lists` and `listsDown` by digit count; nothing else is needed. On failure returns what is
// wrong, in a few words on one line.
std::optional<std::string> FillInFromText(const std::string& text, FillIn& puzzle);

// --- Writing ---

// The puzzle in the file's form.
nlohmann::json PuzzleToJson(const PuzzleState& state);

// One text per row of a `width` x `width` grid: '#' where `white` is false, else the cell's
// digit, or '.' for a value that is no digit (an empty square).
template <typename Value>
std::vector<std::string> GridRows(const std::vector<bool>& white, const std::vector<Value>& values,
                                  int width) {
    std::vector<std::string> rows;
    for (int r = 0; r < width; ++r) {
        std::string line;
        for (int c = 0; c < width; ++c) {
            const auto i = static_cast<std::size_t>(r * width + c);
            line += !white[i]                        ? '#'
                    : values[i] < 0 || values[i] > 9 ? '.'
                                                     : static_cast<char>('0' + values[i]);
        }
        rows.push_back(std::move(line));
    }
    return rows;
}

// The lists of a puzzle by digit count ("2" to "10", in that order where the JSON type keeps
// order), only the template's own lengths that hold numbers.
template <typename Json> Json ListsJson(const TemplateRecord& t, const ByDigits<CaptionList>& captions) {
    Json out = Json::object();
    for (int n = kShortest; n <= kLongest; ++n)
        if (t.Group(n) != nullptr && !captions[static_cast<std::size_t>(n)].empty())
            out[std::to_string(n)] = captions[static_cast<std::size_t>(n)];
    return out;
}

} // namespace corvana
