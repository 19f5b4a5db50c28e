#pragma once

// The dispatch that rebuilds the current puzzle from its template name. Failure is a value: the
// puzzle core shows no dialogs, so the caller decides who is told and how.

#include "puzzle/PuzzleState.h"
#include "solver/Solver.h"

#include <cstdint>
#include <optional>
#include <string>

namespace corvana {

// A builder run can make a grid that two ways of placing the numbers fill. Such a draw is built
// again from the same seed's next numbers; this many draws in a row never happen in practice,
// and when they do the last draw is kept and reported with Solutions == 2.
inline constexpr int kMaxDraws = 100;

struct GenerateResult {
    bool ok = false;
    // What the number routines found wrong (a length they do not support), for the caller to
    // show before it reports the failed build; empty when there is nothing to say.
    std::string message;

    explicit operator bool() const { return ok; }
};

// Rebuilds the puzzle named by state.PuzzleName until it has one solution. Without a seed one
// is drawn from a high-resolution clock. Fails when the name matches no template (state
// untouched) or a build failed part-way (state partly rebuilt). maxDraws 0 makes one builder
// run and leaves it unchecked (Solutions 0).
GenerateResult GeneratePuzzle(PuzzleState& state, std::optional<std::uint64_t> seed = std::nullopt,
                              int maxDraws = kMaxDraws);

// The built puzzle as the player sees it with the starting number in place, for the solver.
FillIn ShownPuzzle(const PuzzleState& state);

} // namespace corvana
