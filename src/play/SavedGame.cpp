#include "play/SavedGame.h"

#include "puzzle/PuzzleFile.h"
#include "puzzle/Templates.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <type_traits>

namespace corvana {

namespace {

using nlohmann::json;

constexpr int kFormat = 1;
constexpr std::size_t kMaxUndoRecords = kLongest + 1;
constexpr std::size_t kMaxUndoText = 40;
constexpr std::int64_t kMaxSeconds = std::int64_t{100} * 366 * 24 * 3600;
constexpr std::uint64_t kMaxCount = 1000000000;

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

} // namespace

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
    if (!PuzzleForPlayFromJson(WithoutForeignLists(*puzzle), g.puzzle, error))
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

} // namespace corvana
