#pragma once

// The state file: the game in progress, written after every change so that ending the program
// any way loses nothing, and read back by Resume Last Puzzle. It holds the puzzle in
// corvana-gen's JSON form (its user grid the user's entries) and the play form's PlayRecord.

#include "play/PlayForm.h"
#include "puzzle/modQUAVArrays.h"

#include <nlohmann/json.hpp>

#include <optional>
#include <string>

namespace corvana {

struct SavedGame {
    PuzzleState puzzle;
    PlayRecord play;
};

// $XDG_STATE_HOME/corvana/last-game.json, or ~/.local/state/corvana/last-game.json when the
// variable is unset, empty or not an absolute path (as the XDG rules say). Empty when neither
// gives a place.
std::string GameFilePath(const std::string& xdgStateHome, const std::string& home);

nlohmann::json GameToJson(const PuzzleState& puzzle, const PlayRecord& play);
nlohmann::json GameToJson(const SavedGame& game);
// False with the reason in `error` for anything that is not a whole, consistent game.
bool GameFromJson(const nlohmann::json& j, SavedGame& game, std::string& error);

// The state file of one program run.
class GameStore {
public:
    explicit GameStore(std::string path) : path_(std::move(path)) {}

    const std::string& Path() const { return path_; }

    struct Loaded {
        std::optional<SavedGame> game; // none when there is no (readable) game
        std::string message;           // for the user, once: the file was damaged and moved aside
    };
    // Reads the state file. A damaged one is renamed with ".bad" added, so it is reported
    // only once and never stands in the way again.
    Loaded Load();

    // Writes the game atomically. On failure returns the message for the user, once per run of
    // failures (the next success re-arms it); empty otherwise.
    std::string Save(const SavedGame& game);
    // The same for a game already in JSON form, whose user grid is `solved` or not.
    std::string Save(const nlohmann::json& game, bool solved);

    // True while the last game read or written exists and its grid is not yet solved.
    bool Resumable() const { return resumable_; }

private:
    std::string path_;
    bool resumable_ = false;
    bool failureReported_ = false;
};

// Keeps one play form's game in a store: after every change the window reports, the game is
// captured and, if anything but the running time differs from what was last written, written.
class GameKeeper {
public:
    GameKeeper(const PlayForm& form, const PuzzleState& puzzle, GameStore& store)
        : form_(form), puzzle_(puzzle), store_(store) {}

    // Returns a message for the user when the write failed (once, see GameStore::Save).
    // `always` writes even when only the time has changed (on closing the window).
    std::string Changed(bool always = false);

private:
    const PlayForm& form_;
    const PuzzleState& puzzle_;
    GameStore& store_;
    nlohmann::json last_;
};

} // namespace corvana
