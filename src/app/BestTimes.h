#pragma once

// What the Best Times window shows and does, without the window: its two tables as text, and
// its Reset and Export... buttons. Qt-free.

#include "play/Records.h"
#include "seam/Dialogs.h"

#include <string>
#include <vector>

namespace corvana {

// A table as the window shows it: column headers and rows of cell texts.
struct TextTable {
    std::vector<std::string> headers;
    std::vector<std::vector<std::string>> rows;
};

// Every best time, one row each: puzzle, options, grade, place, time, date, seed.
TextTable BestTimesTable(const Records& records);
// One row per template that has been played: games started, solved, solved without help, and
// the average time of those solved without help.
TextTable StatisticsTable(const Records& records);

inline constexpr const char* kBestTimesTitle = "Best Times";
inline constexpr const char* kNoRecordsText = "No puzzle has been started or solved yet.";
inline constexpr const char* kResetQuestion =
    "Clear every best time and count?  The game in progress is kept.";

// Reset: asks first; true when the records were cleared.
bool cmdReset_Click(RecordsBook& book, Dialogs& dialogs);
// Export...: asks where, then writes the records there as CSV; a failure is reported.
void cmdExport_Click(const RecordsBook& book, Dialogs& dialogs);

} // namespace corvana
