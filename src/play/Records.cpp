#include "play/Records.h"

#include "corvana/Version.h"
#include "files/BackgroundWriter.h"
#include "files/FileAccess.h"
#include "puzzle/Templates.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <limits>
#include <optional>
#include <system_error>
#include <tuple>

namespace corvana {

namespace {

namespace fs = std::filesystem;
using nlohmann::json;

constexpr int kFormat = 1;
// Fifteen templates, four option sets and five grades of ten times each stay far below this.
constexpr std::size_t kMaxRecordsFileBytes = 1024 * 1024;
constexpr std::int64_t kMaxSeconds = std::int64_t{100} * 366 * 24 * 3600;
// Counts this high mean a damaged file, and sums of times stay far from overflowing.
constexpr std::uint64_t kMaxCount = 1'000'000'000;

// The whole records file, its folder made when missing; false with the reason in `error`.
bool WriteRecords(const std::string& path, const Records& records, std::string& error) {
    return WriteFileAtomically(path, RecordsToJson(records).dump(1), error, FileMode::Private, Folder::Make);
}

const std::array<const char*, 4> kGrades = {"Easy", "Medium", "Hard", "Expert"};

bool KnownGrade(const std::string& grade) {
    return grade.empty() || std::find(kGrades.begin(), kGrades.end(), grade) != kGrades.end();
}

bool IsDate(const std::string& date) {
    if (date.size() != 10 || date[4] != '-' || date[7] != '-')
        return false;
    for (std::size_t i = 0; i < date.size(); ++i)
        if (i != 4 && i != 7 && (date[i] < '0' || date[i] > '9'))
            return false;
    const int month = std::stoi(date.substr(5, 2));
    const int day = std::stoi(date.substr(8, 2));
    return month >= 1 && month <= 12 && day >= 1 && day <= 31;
}

std::string LocalDate() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    char text[16] = {};
    if (localtime_r(&now, &local) == nullptr || std::strftime(text, sizeof text, "%Y-%m-%d", &local) == 0)
        return "1970-01-01";
    return text;
}

// The value at `key` as an unsigned number no larger than `max`.
bool GetCount(const json& j, const char* key, std::uint64_t max, std::uint64_t& value, std::string& error) {
    const auto it = j.find(key);
    if (it == j.end() || !it->is_number_unsigned() || it->get<std::uint64_t>() > max) {
        error = std::string("\"") + key + "\" is missing or out of range";
        return false;
    }
    value = it->get<std::uint64_t>();
    return true;
}

bool GetFlag(const json& j, const char* key, bool& value, std::string& error) {
    const auto it = j.find(key);
    if (it == j.end() || !it->is_boolean()) {
        error = std::string("\"") + key + "\" is missing or of the wrong kind";
        return false;
    }
    value = it->get<bool>();
    return true;
}

bool GetText(const json& j, const char* key, std::string& value, std::string& error) {
    const auto it = j.find(key);
    if (it == j.end() || !it->is_string()) {
        error = std::string("\"") + key + "\" is missing or of the wrong kind";
        return false;
    }
    value = it->get<std::string>();
    return true;
}

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (const char c : text)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

} // namespace

bool RecordCategory::operator<(const RecordCategory& o) const {
    return std::tie(templateName, reduced, noFirst, grade) <
           std::tie(o.templateName, o.reduced, o.noFirst, o.grade);
}

bool RecordCategory::operator==(const RecordCategory& o) const {
    return templateName == o.templateName && reduced == o.reduced && noFirst == o.noFirst && grade == o.grade;
}

std::int64_t TemplateCounts::AverageSeconds() const {
    return solvedUnassisted > 0 ? unassistedSeconds / solvedUnassisted : -1;
}

void Records::Started(const std::string& templateName) {
    ++counts_[templateName].started;
}

int Records::Solved(const FinishedGame& game, const std::string& date) {
    const std::int64_t seconds = std::clamp<std::int64_t>(game.seconds, 0, kMaxSeconds);
    TemplateCounts& counts = counts_[game.category.templateName];
    ++counts.solved;
    if (game.assisted)
        return 0;
    ++counts.solvedUnassisted;
    counts.unassistedSeconds += seconds;
    std::vector<BestTime>& times = best_[game.category];
    const auto at = std::upper_bound(times.begin(), times.end(), seconds,
                                     [](std::int64_t s, const BestTime& t) { return s < t.seconds; });
    const auto place = static_cast<std::size_t>(at - times.begin());
    if (place >= kBestTimesKept)
        return 0;
    times.insert(at, BestTime{seconds, date, game.seed});
    if (times.size() > kBestTimesKept)
        times.resize(kBestTimesKept);
    return static_cast<int>(place) + 1;
}

void Records::Clear() {
    best_.clear();
    counts_.clear();
}

std::string ClockText(std::int64_t seconds) {
    seconds = std::max<std::int64_t>(seconds, 0);
    const std::int64_t hours = seconds / 3600;
    const std::int64_t minutes = seconds / 60 % 60;
    const auto two = [](std::int64_t n) { return (n < 10 ? "0" : "") + std::to_string(n); };
    if (hours > 0)
        return std::to_string(hours) + ":" + two(minutes) + ":" + two(seconds % 60);
    return std::to_string(minutes) + ":" + two(seconds % 60);
}

std::string PlaceSentence(int place) {
    static const std::array<const char*, 11> kOrdinals = {"",        "",       "second ", "third ",
                                                          "fourth ", "fifth ", "sixth ",  "seventh ",
                                                          "eighth ", "ninth ", "tenth "};
    if (place < 1 || place > static_cast<int>(kBestTimesKept))
        return {};
    return std::string("That is your ") + kOrdinals[static_cast<std::size_t>(place)] +
           "best time for this kind of puzzle.";
}

std::string OptionsText(const RecordCategory& category) {
    if (category.reduced && category.noFirst)
        return "Reduced Numbers, Don't Show First Number";
    if (category.reduced)
        return "Reduced Numbers";
    return category.noFirst ? "Don't Show First Number" : "None";
}

json RecordsToJson(const Records& records) {
    json best = json::array();
    for (const auto& [category, times] : records.Best()) {
        json list = json::array();
        for (const BestTime& t : times)
            list.push_back({{"seconds", t.seconds}, {"date", t.date}, {"seed", t.seed}});
        best.push_back({{"template", category.templateName},
                        {"reducedNumbers", category.reduced},
                        {"dontShowFirstNumber", category.noFirst},
                        {"grade", category.grade},
                        {"times", std::move(list)}});
    }
    json counts = json::object();
    for (const auto& [name, c] : records.Counts())
        counts[name] = {{"started", c.started},
                        {"solved", c.solved},
                        {"solvedWithoutHelp", c.solvedUnassisted},
                        {"secondsWithoutHelp", c.unassistedSeconds}};
    return {{"corvanaRecords", kFormat}, {"best", std::move(best)}, {"counts", std::move(counts)}};
}

bool RecordsFromJson(const json& j, Records& records, std::string& error) {
    if (!j.is_object() || j.value("corvanaRecords", json()) != json(kFormat)) {
        error = "it is not a records file of this program";
        return false;
    }
    const auto best = j.find("best");
    const auto counts = j.find("counts");
    if (best == j.end() || !best->is_array() || counts == j.end() || !counts->is_object()) {
        error = "\"best\" or \"counts\" is missing";
        return false;
    }
    Records read;
    for (const json& entry : *best) {
        if (!entry.is_object()) {
            error = "\"best\" holds something that is no category";
            return false;
        }
        RecordCategory c;
        if (!GetText(entry, "template", c.templateName, error) ||
            !GetFlag(entry, "reducedNumbers", c.reduced, error) ||
            !GetFlag(entry, "dontShowFirstNumber", c.noFirst, error) ||
            !GetText(entry, "grade", c.grade, error))
            return false;
        if (FindTemplate(c.templateName) == nullptr) {
            error = "\"" + c.templateName + "\" is no template of this program";
            return false;
        }
        if (!KnownGrade(c.grade)) {
            error = "\"" + c.grade + "\" is no grade";
            return false;
        }
        const auto times = entry.find("times");
        if (times == entry.end() || !times->is_array() || times->empty() || times->size() > kBestTimesKept) {
            error = "\"times\" of " + c.templateName + " is missing or of the wrong size";
            return false;
        }
        if (read.best_.count(c) != 0) {
            error = "a category of " + c.templateName + " is there twice";
            return false;
        }
        std::vector<BestTime>& list = read.best_[c];
        for (const json& time : *times) {
            std::uint64_t seconds = 0;
            BestTime t;
            if (!time.is_object() ||
                !GetCount(time, "seconds", static_cast<std::uint64_t>(kMaxSeconds), seconds, error) ||
                !GetText(time, "date", t.date, error) ||
                !GetCount(time, "seed", std::numeric_limits<std::uint64_t>::max(), t.seed, error)) {
                if (!time.is_object())
                    error = "\"times\" holds something that is no time";
                return false;
            }
            if (!IsDate(t.date)) {
                error = "\"" + t.date + "\" is no date";
                return false;
            }
            t.seconds = static_cast<std::int64_t>(seconds);
            list.push_back(std::move(t));
        }
        // Best first, equal times in the order they came.
        std::stable_sort(list.begin(), list.end(),
                         [](const BestTime& a, const BestTime& b) { return a.seconds < b.seconds; });
    }
    for (const auto& [name, entry] : counts->items()) {
        if (FindTemplate(name) == nullptr || !entry.is_object()) {
            error = "\"counts\" has an unknown template \"" + name + "\"";
            return false;
        }
        std::uint64_t started = 0, solved = 0, unassisted = 0, seconds = 0;
        if (!GetCount(entry, "started", kMaxCount, started, error) ||
            !GetCount(entry, "solved", kMaxCount, solved, error) ||
            !GetCount(entry, "solvedWithoutHelp", solved, unassisted, error) ||
            !GetCount(entry, "secondsWithoutHelp", unassisted * static_cast<std::uint64_t>(kMaxSeconds),
                      seconds, error))
            return false;
        read.counts_[name] = {static_cast<std::int64_t>(started), static_cast<std::int64_t>(solved),
                              static_cast<std::int64_t>(unassisted), static_cast<std::int64_t>(seconds)};
    }
    records = std::move(read);
    return true;
}

std::string RecordsCsv(const Records& records) {
    std::string csv = "Puzzle,Reduced Numbers,Don't Show First Number,Grade,Place,Time,Seconds,Date,Seed\r\n";
    for (const auto& [category, times] : records.Best())
        for (std::size_t i = 0; i < times.size(); ++i) {
            const BestTime& t = times[i];
            csv += CsvField(category.templateName) + "," + (category.reduced ? "Yes" : "No") + "," +
                   (category.noFirst ? "Yes" : "No") + "," + category.grade + "," + std::to_string(i + 1) +
                   "," + ClockText(t.seconds) + "," + std::to_string(t.seconds) + "," + t.date + "," +
                   std::to_string(t.seed) + "\r\n";
        }
    return csv;
}

std::string RecordsFilePath(const std::string& xdgDataHome, const std::string& home) {
    return UserFilePath(xdgDataHome, home, ".local/share", "records.json");
}

RecordsBook::RecordsBook(std::string path, Dialogs& dialogs, Today today)
    : path_(std::move(path)), dialogs_(dialogs), today_(today ? std::move(today) : Today(LocalDate)) {}

RecordsBook::~RecordsBook() = default;

std::string RecordsBook::Load() {
    // A write still under way is the file to read.
    if (writer_)
        writer_->Wait();
    records_.Clear();
    writable_ = false;
    if (path_.empty())
        return {};
    std::error_code ec;
    if (fs::symlink_status(path_, ec).type() == fs::file_type::not_found) {
        writable_ = true;
        return {};
    }
    std::string text;
    std::string error;
    if (ReadRegularFile(path_, kMaxRecordsFileBytes, text, error)) {
        const json j = json::parse(text, nullptr, false);
        if (j.is_discarded())
            error = "it is not JSON";
        else if (RecordsFromJson(j, records_, error)) {
            writable_ = true;
            return {};
        }
    }
    std::string bad;
    const int code = MoveAside(path_, bad);
    writable_ = code == 0;
    std::string message = "The best times could not be read from " + path_ + " (" + error + ").  ";
    message += code != 0 ? "It could not be moved aside either (" + std::string(std::strerror(code)) +
                               "), so the times of this session are not kept."
                         : "It has been moved aside to " + bad + ".";
    return message;
}

void RecordsBook::GameStarted(const std::string& templateName) {
    records_.Started(templateName);
    Save();
}

int RecordsBook::GameSolved(const FinishedGame& game) {
    const int place = records_.Solved(game, today_());
    Save();
    return place;
}

void RecordsBook::Reset() {
    records_.Clear();
    Save();
    Flush();
}

std::string RecordsBook::Export(const std::string& path) const {
    // The user named the file: a link there is followed, and nothing but a regular file replaced.
    std::string file;
    std::string error;
    if (OutputFile(path, file, error))
        WriteFileAtomically(file, RecordsCsv(records_), error, FileMode::Usual);
    return error;
}

void RecordsBook::Save() {
    if (!writable_)
        return;
    if (!writer_)
        writer_ = std::make_unique<BackgroundWriter>();
    // The thread writes a copy: the records go on changing meanwhile.
    writer_->Submit([path = path_, records = records_](std::string& error) {
        return WriteRecords(path, records, error);
    });
    Report();
}

void RecordsBook::Flush() {
    if (!writer_)
        return;
    writer_->Wait();
    Report();
}

void RecordsBook::Report() {
    const std::optional<std::string> outcome = writer_->TakeOutcome();
    if (!outcome)
        return;
    if (outcome->empty()) {
        failureReported_ = false;
        return;
    }
    if (failureReported_)
        return;
    failureReported_ = true;
    dialogs_.MessageBox("The best times could not be saved to " + path_ + " (" + *outcome + ").",
                        version::Title, Buttons::Ok, Icon::Exclamation);
}

} // namespace corvana
