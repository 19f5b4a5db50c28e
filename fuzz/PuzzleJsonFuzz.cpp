// Feeds arbitrary bytes to the reader of puzzles to solve (corvana-gen --solve) and, when it
// takes them, to the solver with a small step budget. Whatever the text, the reader must answer with a puzzle
// or a short message, and the solver with a count, "undecided" or a reason, without a crash, a sanitizer
// report or a hang.

#include "puzzle/PuzzleFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    corvana::FillIn puzzle;
    const auto error = corvana::FillInFromText(text, puzzle);
    if (error) {
        // A message is one short line, however large the input.
        if (error->size() > 400 || error->find('\n') != std::string::npos)
            std::abort();
        return 0;
    }
    const corvana::SolveResult result = corvana::Solve(puzzle, 2, 20000);
    if (result.solutions > 2 || result.grids.size() > 2 || (result.undecided && result.steps <= 20000))
        std::abort();
    return 0;
}
