#include "play/GameFile.h"

#include "files/FileAccess.h"
#include "puzzle/PuzzleFile.h"
#include "puzzle/Templates.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <system_error>
#include <thread>

#include <fcntl.h>

namespace corvana {

namespace {

namespace fs = std::filesystem;
using nlohmann::json;

constexpr int kFormat = 1;
constexpr std::size_t kMaxUndoRecords = kLongest + 1;
constexpr std::size_t kMaxUndoText = 40;
constexpr std::int64_t kMaxSeconds = std::int64_t{100} * 366 * 24 * 3600;
constexpr std::uint64_t kMaxCount = 1000000000;

// The whole game file, its folder made when missing; false with the reason in `error`.
bool WriteGame(const std::string& path, const std::string& text, std::string& error) {
    std::error_code ec;
    const fs::path folder = fs::path(path).parent_path();
    fs::create_directories(folder, ec);
    if (ec) {
        error = "cannot create the folder " + folder.string() + ": " + ec.message();
        return false;
    }
    return WriteFileAtomically(path, text, error);
}

std::size_t At(int index) {
    return static_cast<std::size_t>(index);
}

json Ticks(const PlayRecord& r, bool down) {
    json out = json::object();
    for (const auto& t : r.ticks)
        if (t.down == down)
            out[std::to_string(t.digits)].push_back(t.index);
    return out;
}

bool ReadTicks(const json& play, const char* key, bool down, const PuzzleState& puzzle, PlayRecord& r,
               std::string& error) {
    const auto it = play.find(key);
    if (it == play.end() || !it->is_object()) {
        error = std::string("\"") + key + "\" is missing";
        return false;
    }
    for (const auto& [digitsText, indexes] : it->items()) {
        int digits = 0;
        for (int n = kShortest; n <= kLongest; ++n)
            if (digitsText == std::to_string(n))
                digits = n;
        const auto& list = down ? puzzle.NumbersDown : puzzle.Numbers;
        if (digits == 0 || !indexes.is_array()) {
            error = std::string("\"") + key + "\" has an unknown list \"" + Excerpt(digitsText) + "\"";
            return false;
        }
        for (const json& index : indexes) {
            if (!index.is_number_unsigned() || index.get<std::uint64_t>() >= list[At(digits)].size()) {
                error = std::string("\"") + key + "\" ticks a number that is not in the list";
                return false;
            }
            r.ticks.push_back({digits, down, static_cast<int>(index.get<std::uint64_t>())});
        }
    }
    return true;
}

template <typename T> bool Get(const json& j, const char* key, T& value, std::string& error) {
    const auto it = j.find(key);
    bool fits = it != j.end();
    if constexpr (std::is_same_v<T, bool>)
        fits = fits && it->is_boolean();
    else if constexpr (std::is_same_v<T, std::string>)
        fits = fits && it->is_string();
    else
        fits = fits && it->is_number_unsigned();
    if (!fits) {
        error = std::string("\"") + key + "\" is missing or of the wrong kind";
        return false;
    }
    value = it->get<T>();
    return true;
}

// An earlier version kept, beside a template's own lists, the captions of lengths it lacks that
// an earlier puzzle had left; they were never shown nor ticked, so they are dropped here. A tick
// of such a length still fails, since the lists read have none of that length.
json WithoutForeignLists(const json& puzzle) {
    const auto name = puzzle.is_object() ? puzzle.find("name") : puzzle.end();
    const TemplateRecord* t = name != puzzle.end() && name->is_string()
                                  ? FindTemplate(name->get_ref<const std::string&>())
                                  : nullptr;
    if (t == nullptr)
        return puzzle;
    json out = puzzle;
    for (const char* key : {"lists", "listsDown"}) {
        const auto lists = out.find(key);
        if (lists == out.end() || !lists->is_object())
            continue;
        for (int n = kShortest; n <= kLongest; ++n)
            if (t->Group(n) == nullptr)
                lists->erase(std::to_string(n));
    }
    return out;
}

// Renames `path` to the first of path.bad, path.bad.1, path.bad.2, ... that is not there, never
// over an earlier one. Returns 0, or the errno of the failure.
int MoveAside(const std::string& path, std::string& made) {
    for (int k = 0; k < 1000; ++k) {
        made = path + ".bad" + (k == 0 ? std::string() : "." + std::to_string(k));
        if (::renameat2(AT_FDCWD, path.c_str(), AT_FDCWD, made.c_str(), RENAME_NOREPLACE) == 0)
            return 0;
        if (errno == EEXIST)
            continue;
        if (errno != EINVAL && errno != ENOSYS)
            return errno;
        // A file system without the flag: look first, at the price of a race nobody runs.
        std::error_code ec;
        if (fs::exists(fs::symlink_status(made, ec)))
            continue;
        return ::rename(path.c_str(), made.c_str()) == 0 ? 0 : errno;
    }
    return EEXIST;
}

} // namespace

std::string GameFilePath(const std::string& xdgStateHome, const std::string& home) {
    fs::path base;
    if (!xdgStateHome.empty() && fs::path(xdgStateHome).is_absolute())
        base = fs::path(xdgStateHome);
    else if (!home.empty())
        base = fs::path(home) / ".local" / "state";
    else
        return {};
    return (base / "corvana" / "last-game.json").string();
}

json GameToJson(const SavedGame& game) {
    return GameToJson(game.puzzle, game.play);
}

json GameToJson(const PuzzleState& puzzle, const PlayRecord& r) {
    json play;
    play["ticks"] = Ticks(r, false);
    play["ticksDown"] = Ticks(r, true);
    play["buffer"] = r.buffer;
    play["bufferFromAcross"] = r.bufferFromAcross;
    play["undo"] = r.undo;
    play["starterHidden"] = r.starterHidden;
    play["solutionShown"] = r.solutionShown;
    play["secondsSpent"] = std::max<std::int64_t>(r.secondsSpent, 0);
    play["solvedNoticeShown"] = r.solvedNoticeShown;
    play["assisted"] = r.assisted;
    play["hints"] = std::max(r.hints, 0);
    play["checks"] = std::max(r.checks, 0);
    play["checkMarks"] = r.checkMarks;
    json j;
    j["corvanaGame"] = kFormat;
    j["puzzle"] = PuzzleToJson(puzzle);
    j["play"] = std::move(play);
    return j;
}

bool GameFromJson(const json& j, SavedGame& game, std::string& error) {
    if (!j.is_object() || j.value("corvanaGame", json()) != json(kFormat)) {
        error = "it is not a game of this program";
        return false;
    }
    const auto puzzle = j.find("puzzle");
    const auto play = j.find("play");
    if (puzzle == j.end() || play == j.end() || !play->is_object()) {
        error = "the puzzle or the state of play is missing";
        return false;
    }
    SavedGame g;
    if (!PuzzleFromJson(WithoutForeignLists(*puzzle), g.puzzle, error))
        return false;
    PlayRecord& r = g.play;
    std::uint64_t seconds = 0;
    if (!ReadTicks(*play, "ticks", false, g.puzzle, r, error) ||
        !ReadTicks(*play, "ticksDown", true, g.puzzle, r, error) || !Get(*play, "buffer", r.buffer, error) ||
        !Get(*play, "bufferFromAcross", r.bufferFromAcross, error) ||
        !Get(*play, "starterHidden", r.starterHidden, error) ||
        !Get(*play, "solutionShown", r.solutionShown, error) || !Get(*play, "secondsSpent", seconds, error) ||
        !Get(*play, "solvedNoticeShown", r.solvedNoticeShown, error))
        return false;
    // The buffer only ever holds a list caption.
    if (r.buffer.size() > At(kLongest) ||
        !std::all_of(r.buffer.begin(), r.buffer.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        error = "\"buffer\" holds no number of a list";
        return false;
    }
    if (r.starterHidden && !g.puzzle.NoShowFirst) {
        error = "the starting number is hidden in a puzzle that shows it";
        return false;
    }
    if (seconds > static_cast<std::uint64_t>(kMaxSeconds)) {
        error = "\"secondsSpent\" is out of range";
        return false;
    }
    r.secondsSpent = static_cast<std::int64_t>(seconds);
    // The help taken came later than the rest; a game kept before it has none of these keys.
    std::uint64_t hints = 0;
    std::uint64_t checks = 0;
    if ((play->contains("assisted") && !Get(*play, "assisted", r.assisted, error)) ||
        (play->contains("hints") && !Get(*play, "hints", hints, error)) ||
        (play->contains("checks") && !Get(*play, "checks", checks, error)))
        return false;
    if (hints > kMaxCount || checks > kMaxCount) {
        error = "\"hints\" or \"checks\" is out of range";
        return false;
    }
    r.hints = static_cast<int>(hints);
    r.checks = static_cast<int>(checks);
    if (const auto marks = play->find("checkMarks"); marks != play->end()) {
        const std::size_t cells = g.puzzle.GridPattern.size();
        if (!marks->is_array() || marks->size() > cells) {
            error = "\"checkMarks\" is not a list of squares";
            return false;
        }
        for (const json& cell : *marks) {
            if (!cell.is_number_unsigned() || cell.get<std::uint64_t>() >= cells ||
                !g.puzzle.GridPattern[At(static_cast<int>(cell.get<std::uint64_t>()))]) {
                error = "\"checkMarks\" names a square that is not a white square of the grid";
                return false;
            }
            r.checkMarks.push_back(static_cast<int>(cell.get<std::uint64_t>()));
        }
    }
    const auto undo = play->find("undo");
    if (undo == play->end() || !undo->is_array() || undo->empty() || undo->size() > kMaxUndoRecords) {
        error = "\"undo\" is missing or of the wrong size";
        return false;
    }
    r.undo.clear();
    for (const json& record : *undo) {
        if (!record.is_string() || record.get_ref<const std::string&>().size() > kMaxUndoText) {
            error = "\"undo\" holds something that is no undo record";
            return false;
        }
        r.undo.push_back(record.get<std::string>());
    }
    game = std::move(g);
    return true;
}

bool GameFromText(const std::string& text, SavedGame& game, std::string& error) {
    json j;
    return ParseJsonText(text, j, error) && GameFromJson(j, game, error);
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
            const bool written = WriteGame(path_, text, error);
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
    if (WriteGame(path_, game.dump(1), error))
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
