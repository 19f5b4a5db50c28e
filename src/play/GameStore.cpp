#include "play/GameStore.h"

#include "files/FileAccess.h"
#include "puzzle/PuzzleFile.h"

#include <nlohmann/json.hpp>

#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <system_error>
#include <thread>

namespace corvana {

namespace fs = std::filesystem;
using nlohmann::json;

std::string GameFilePath(const std::string& xdgStateHome, const std::string& home) {
    return UserFilePath(xdgStateHome, home, ".local/state", "last-game.json");
}

// One thread that writes the games handed to it, the latest first and only: a game replaced
// before its turn was never going to be read.
class GameStore::Writer {
public:
    explicit Writer(std::string path) : path_(std::move(path)), thread_([this] { Run(); }) {}
    ~Writer() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            stop_ = true;
        }
        wake_.notify_one();
        thread_.join();
    }
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;

    void Submit(std::string text) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            pending_ = std::move(text);
        }
        wake_.notify_one();
    }
    void Wait() {
        std::unique_lock<std::mutex> lock(mutex_);
        idle_.wait(lock, [this] { return !pending_ && !busy_; });
    }
    // The outcome of the writes since the last call: nullopt when none ended, else the error
    // of the last one (empty: it succeeded).
    std::optional<std::string> TakeOutcome() {
        std::lock_guard<std::mutex> lock(mutex_);
        std::optional<std::string> outcome = std::move(outcome_);
        outcome_.reset();
        return outcome;
    }

private:
    void Run() {
        std::unique_lock<std::mutex> lock(mutex_);
        for (;;) {
            wake_.wait(lock, [this] { return stop_ || pending_; });
            // Asked to stop, the game still waiting is written first.
            if (!pending_)
                return;
            const std::string text = std::move(*pending_);
            pending_.reset();
            busy_ = true;
            lock.unlock();
            std::string error;
            const bool written = WriteFileAtomically(path_, text, error, FileMode::Private, Folder::Make);
            lock.lock();
            busy_ = false;
            outcome_ = written ? std::string() : (error.empty() ? std::string("unknown error") : error);
            idle_.notify_all();
        }
    }

    const std::string path_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::optional<std::string> pending_;
    std::optional<std::string> outcome_;
    bool busy_ = false;
    bool stop_ = false;
    std::thread thread_; // last: it starts running at once
};

GameStore::GameStore(std::string path) : path_(std::move(path)) {}

void GameStore::RemoveLeftovers() const {
    // A write cut short by a kill or a power cut leaves its temporary file (".last-game.json."
    // and six characters) beside the state file; the state file itself is whole. Another
    // instance may be writing one right now: only old, unlocked ones go.
    if (path_.empty())
        return;
    const fs::path target(path_);
    const std::string prefix = "." + target.filename().string() + ".";
    std::error_code ec;
    for (fs::directory_iterator it(target.parent_path(), ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() == prefix.size() + 6 && name.compare(0, prefix.size(), prefix) == 0 &&
            IsLeftover(it->path().string())) {
            std::error_code ignored;
            fs::remove(it->path(), ignored);
        }
    }
}

GameStore::~GameStore() = default;

std::string GameStore::SaveSoon(const json& game, bool solved) {
    if (path_.empty())
        return {};
    if (!writer_)
        writer_ = std::make_unique<Writer>(path_);
    writer_->Submit(game.dump(1));
    // Assumed written; a failure is reported when it is known.
    resumable_ = !solved;
    return WriterReport();
}

std::string GameStore::Flush() {
    if (!writer_)
        return {};
    writer_->Wait();
    return WriterReport();
}

std::string GameStore::WriterReport() {
    const std::optional<std::string> outcome = writer_ ? writer_->TakeOutcome() : std::nullopt;
    return outcome ? Report(*outcome) : std::string();
}

std::string GameStore::Report(const std::string& error) {
    if (error.empty()) {
        failureReported_ = false;
        return {};
    }
    if (failureReported_)
        return {};
    failureReported_ = true;
    return "The game could not be saved to " + path_ + " (" + error +
           ").  You can go on playing, but this game cannot be resumed after the program ends.";
}

GameStore::Loaded GameStore::Load() {
    // A game still on its way to the disk is the one to read.
    Flush();
    RemoveLeftovers();
    Loaded loaded;
    resumable_ = false;
    std::error_code ec;
    if (path_.empty() || fs::symlink_status(path_, ec).type() == fs::file_type::not_found)
        return loaded;
    std::string text;
    std::string error;
    SavedGame game;
    if (ReadRegularFile(path_, kMaxPuzzleFileBytes, text, error) && GameFromText(text, game, error)) {
        resumable_ = !GameSolved(game.puzzle, game.play.starterHidden);
        loaded.game = std::move(game);
        return loaded;
    }
    loaded.message = "The last game could not be read from " + path_ + " (" + error + ").  ";
    // A file the user may not read is not damaged: it may be fine once the permissions are.
    if (error == std::strerror(EACCES) || error == std::strerror(EPERM)) {
        loaded.message += "It has been left where it is.";
        return loaded;
    }
    std::string bad;
    const int code = MoveAside(path_, bad);
    loaded.message += code != 0
                          ? "It could not be moved aside either: " + std::string(std::strerror(code)) + "."
                          : "It has been moved aside to " + bad + ".";
    return loaded;
}

std::string GameStore::Save(const SavedGame& game) {
    return Save(GameToJson(game), GameSolved(game.puzzle, game.play.starterHidden));
}

std::string GameStore::Save(const json& game, bool solved) {
    if (path_.empty())
        return {};
    // Games handed to the writer earlier must not land after this one.
    const std::string earlier = Flush();
    std::string error;
    if (WriteFileAtomically(path_, game.dump(1), error, FileMode::Private, Folder::Make))
        resumable_ = !solved;
    const std::string now = Report(error);
    return now.empty() ? earlier : now;
}

std::string GameKeeper::Changed(bool always) {
    json j = GameToJson(puzzle_, form_.CapturePlay());
    json& play = j["play"];
    const json seconds = play["secondsSpent"];
    play["secondsSpent"] = 0;
    std::string text = j.dump();
    if (!always && text == last_)
        return {};
    last_ = std::move(text);
    play["secondsSpent"] = seconds;
    return store_.SaveSoon(j, form_.GridSolved());
}

} // namespace corvana
