#pragma once

// The printable puzzle book of corvana-gen: a title page with the rules, one puzzle to a page,
// then the solutions four to a page, as one PDF file. Only built with the GUI on, since it
// draws with Qt's PDF writer; CORVANA_GEN_PDF is defined where it is available.

#include "puzzle/PuzzleState.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace corvana {

enum class Paper { A4, Letter };

struct BookPuzzle {
    int number;        // 1-based puzzle number in the book
    PuzzleState state; // a generated puzzle, as GeneratePuzzle left it
};

// Writes the whole book to `path`: 1 + N + ceil(N/4) pages. The file appears whole or not at
// all: on failure (a puzzle that is not a generated one, a folder that is missing or not
// writable, a short write) the result is one line saying what went wrong, and neither the
// target nor a temporary file is left behind (an existing target stays as it was).
// `progress` (may be empty) hears (pages done, pages total) after each page.
// Text needs a QGuiApplication; when there is none, one lives for the duration of the call on
// the `offscreen` platform (unless QT_QPA_PLATFORM names another), so no display is needed.
// Call it from the main thread.
std::optional<std::string> WritePuzzleBook(const std::string& path, const std::vector<BookPuzzle>& puzzles,
                                           Paper paper, const std::function<void(int, int)>& progress);

} // namespace corvana
