#pragma once

// A game in progress in the form it is kept in: the puzzle in the puzzle file's form (its user
// grid the user's entries) beside the play form's PlayRecord, under "corvanaGame": 1.

#include "play/PlayForm.h"
#include "puzzle/PuzzleState.h"

#include <nlohmann/json_fwd.hpp>

#include <string>

namespace corvana {

struct SavedGame {
    PuzzleState puzzle;
    PlayRecord play;
};

nlohmann::json GameToJson(const PuzzleState& puzzle, const PlayRecord& play);
nlohmann::json GameToJson(const SavedGame& game);
// False with the reason in `error` for anything that is not a whole, consistent game.
bool GameFromJson(const nlohmann::json& j, SavedGame& game, std::string& error);
// The same from a file's text: not JSON, or nested too deep, is such a fault too.
bool GameFromText(const std::string& text, SavedGame& game, std::string& error);

} // namespace corvana
