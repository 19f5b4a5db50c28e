#pragma once

// Best times and statistics. Qt-free. A solved game adds a record to its category (template,
// options and grade): the ten best times of games solved without help are kept with their date
// and seed, and every template counts its games started and solved. The records live in one small
// JSON file, replaced whole on every change.

#include "seam/Dialogs.h"

#include <nlohmann/json_fwd.hpp>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace corvana {

class BackgroundWriter;

// The kind of puzzle a best time is compared within.
struct RecordCategory {
    std::string templateName;
    bool reduced = false; // Reduced Numbers
    bool noFirst = false; // Don't Show First Number
    // "Easy", "Medium", "Hard", "Expert", or empty while the puzzle's grade is not known.
    std::string grade;

    bool operator<(const RecordCategory& o) const;
    bool operator==(const RecordCategory& o) const;
};

struct BestTime {
    std::int64_t seconds = 0;
    std::string date; // the local date it was solved, YYYY-MM-DD
    std::uint64_t seed = 0;
    bool operator==(const BestTime& o) const {
        return seconds == o.seconds && date == o.date && seed == o.seed;
    }
};

// What one template's games came to.
struct TemplateCounts {
    std::int64_t started = 0;
    std::int64_t solved = 0;            // with or without help
    std::int64_t solvedUnassisted = 0;  // without help
    std::int64_t unassistedSeconds = 0; // their times together, for the average
    bool operator==(const TemplateCounts& o) const {
        return started == o.started && solved == o.solved && solvedUnassisted == o.solvedUnassisted &&
               unassistedSeconds == o.unassistedSeconds;
    }
    // The average time of the games solved without help; -1 when there are none.
    std::int64_t AverageSeconds() const;
};

// One game that has just been solved.
struct FinishedGame {
    RecordCategory category;
    std::uint64_t seed = 0;
    std::int64_t seconds = 0;
    // Helped along (a hint, a check, the solution or a hidden starting number shown): it counts
    // as solved, never as a best time.
    bool assisted = false;
};

inline constexpr std::size_t kBestTimesKept = 10;

class Records {
public:
    // A game was started: opened, New Game or Restart Game. A resumed game goes on and is not
    // started again.
    void Started(const std::string& templateName);
    // Counts a solved game and, unless it was helped, keeps its time when it is among the ten
    // best of its category. Returns its place among them (1 the best), 0 when it is not kept.
    // A time equal to an earlier one comes after it.
    int Solved(const FinishedGame& game, const std::string& date);
    void Clear();
    bool Empty() const { return best_.empty() && counts_.empty(); }

    // Every category with a time, best first within each.
    const std::map<RecordCategory, std::vector<BestTime>>& Best() const { return best_; }
    const std::map<std::string, TemplateCounts>& Counts() const { return counts_; }

    bool operator==(const Records& o) const { return best_ == o.best_ && counts_ == o.counts_; }

private:
    friend bool RecordsFromJson(const nlohmann::json& j, Records& records, std::string& error);
    std::map<RecordCategory, std::vector<BestTime>> best_;
    std::map<std::string, TemplateCounts> counts_;
};

// The running time as a clock shows it: "0:07", "12:34", "1:02:03" past an hour.
std::string ClockText(std::int64_t seconds);
// For the solved notice: "That is your best time for this kind of puzzle.", "That is your
// second best time for this kind of puzzle." ... up to tenth; empty for place 0.
std::string PlaceSentence(int place);
// "Reduced Numbers, Don't Show First Number", one of them, or "None".
std::string OptionsText(const RecordCategory& category);

nlohmann::json RecordsToJson(const Records& records);
// False with the reason in `error` for anything that is not a whole records file of this
// program (unknown templates and grades, malformed dates, more than ten times, and so on).
bool RecordsFromJson(const nlohmann::json& j, Records& records, std::string& error);
// One row per best time under a header row, fields quoted where CSV needs it, lines ending CR LF.
std::string RecordsCsv(const Records& records);

// $XDG_DATA_HOME/corvana/records.json, or ~/.local/share/corvana/records.json when the
// variable is unset, empty or not absolute. Empty when neither gives a place.
std::string RecordsFilePath(const std::string& xdgDataHome, const std::string& home);

// The play form tells it of games started and solved.
class RecordsSink {
public:
    virtual ~RecordsSink() = default;
    virtual void GameStarted(const std::string& templateName) = 0;
    // The game's place among the best of its category, 0 when none (see Records::Solved).
    virtual int GameSolved(const FinishedGame& game) = 0;
    // Returns once what was told so far is on the disk (or its failure reported).
    virtual void Flush() {}
};

// The records of one program run, kept in their file: every change is handed at once to a
// writer thread, so the disk never holds up New Game or the solved notice. A failure is reported
// through `dialogs` when it is known (at the next change or Flush), once until a write succeeds
// again.
class RecordsBook : public RecordsSink {
public:
    using Today = std::function<std::string()>;
    // `today` gives the local date as YYYY-MM-DD (by default the system's).
    RecordsBook(std::string path, Dialogs& dialogs, Today today = {});
    // Finishes the write still waiting.
    ~RecordsBook() override;
    RecordsBook(const RecordsBook&) = delete;
    RecordsBook& operator=(const RecordsBook&) = delete;

    const std::string& Path() const { return path_; }
    const Records& Data() const { return records_; }

    // Reads the file. A damaged one is moved aside with ".bad" added, so it is reported once and
    // never in the way again; returns the message for the user, empty when all is well. While a
    // damaged file could not be moved aside nothing is written over it.
    std::string Load();

    void GameStarted(const std::string& templateName) override;
    int GameSolved(const FinishedGame& game) override;
    void Flush() override;
    // Forgets every time and count (the kept game is not the records' business); returns once
    // that is on the disk.
    void Reset();
    // Writes the records as CSV to `path`; empty, or what went wrong. A link there is followed to
    // its file; only a regular file is replaced.
    std::string Export(const std::string& path) const;

private:
    void Save();
    // Tells the user of the writes done since the last look, as the class says.
    void Report();

    std::string path_;
    Dialogs& dialogs_;
    Today today_;
    Records records_;
    bool writable_ = true;
    bool failureReported_ = false;
    std::unique_ptr<BackgroundWriter> writer_; // made with the first write
};

} // namespace corvana
