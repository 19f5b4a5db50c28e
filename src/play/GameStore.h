#pragma once

// The state file: the game in progress, written after every change so that ending the program
// any way loses nothing, and read back by Resume Last Puzzle. Writes go through a thread of
// their own, so the user's typing never waits for the disk.

#include "play/PlayForm.h"
#include "play/SavedGame.h"

#include <nlohmann/json_fwd.hpp>

#include <memory>
#include <optional>
#include <string>

namespace corvana {

// $XDG_STATE_HOME/corvana/last-game.json, or ~/.local/state/corvana/last-game.json when the
// variable is unset, empty or not an absolute path (as the XDG rules say). Empty when neither
// gives a place.
std::string GameFilePath(const std::string& xdgStateHome, const std::string& home);

// The state file of one program run.
class GameStore {
public:
    explicit GameStore(std::string path);
    // Finishes the writes handed over with SaveSoon first.
    ~GameStore();
    GameStore(const GameStore&) = delete;
    GameStore& operator=(const GameStore&) = delete;

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

    // Hands the game to a writer thread and returns at once, so the disk's flush never holds up
    // the user's typing; of several games waiting only the latest is written. Returns the
    // message of an earlier write that failed, as Save does.
    std::string SaveSoon(const nlohmann::json& game, bool solved);
    // Waits until every game handed over is on the disk; the message as Save's.
    std::string Flush();

    // True while the last game read or written exists and its grid is not yet solved.
    bool Resumable() const { return resumable_; }

private:
    class Writer;
    void RemoveLeftovers() const;
    // The message for the outcome of a write: empty on success, and for a failure already
    // reported since the last success.
    std::string Report(const std::string& error);
    // The outcome of the writer's writes since the last look, as Report's message.
    std::string WriterReport();

    std::string path_;
    bool resumable_ = false;
    bool failureReported_ = false;
    std::unique_ptr<Writer> writer_;
};

// Keeps one play form's game in a store: after every change the window reports, the game is
// captured and, if anything but the running time differs from what was last written, written.
class GameKeeper {
public:
    GameKeeper(const PlayForm& form, const PuzzleState& puzzle, GameStore& store)
        : form_(form), puzzle_(puzzle), store_(store) {}

    // Returns a message for the user when a write failed (once, see GameStore::Save).
    // `always` writes even when only the time has changed (on closing the window). The write
    // goes on beside the user's next moves (GameStore::SaveSoon).
    std::string Changed(bool always = false);
    // Waits until the game is on the disk (before the window goes, or a message waits for OK).
    std::string Flush() { return store_.Flush(); }

private:
    const PlayForm& form_;
    const PuzzleState& puzzle_;
    GameStore& store_;
    std::string last_; // the game last written, without the time spent
};

} // namespace corvana
