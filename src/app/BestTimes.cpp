#include "app/BestTimes.h"

#include "corvana/Version.h"

namespace corvana {

TextTable BestTimesTable(const Records& records) {
    TextTable table{{"Puzzle", "Options", "Grade", "Place", "Time", "Date", "Seed"}, {}};
    for (const auto& [category, times] : records.Best())
        for (std::size_t i = 0; i < times.size(); ++i)
            table.rows.push_back({category.templateName, OptionsText(category), category.grade,
                                  std::to_string(i + 1), ClockText(times[i].seconds), times[i].date,
                                  std::to_string(times[i].seed)});
    return table;
}

TextTable StatisticsTable(const Records& records) {
    TextTable table{{"Puzzle", "Started", "Solved", "Solved without help", "Average time without help"}, {}};
    for (const auto& [name, counts] : records.Counts()) {
        const std::int64_t average = counts.AverageSeconds();
        table.rows.push_back({name, std::to_string(counts.started), std::to_string(counts.solved),
                              std::to_string(counts.solvedUnassisted),
                              average < 0 ? "" : ClockText(average)});
    }
    return table;
}

bool cmdReset_Click(RecordsBook& book, Dialogs& dialogs) {
    if (dialogs.MessageBox(kResetQuestion, version::Title, Buttons::YesNo, Icon::Exclamation) != Answer::Yes)
        return false;
    book.Reset();
    return true;
}

void cmdExport_Click(const RecordsBook& book, Dialogs& dialogs) {
    const std::string path = dialogs.ChooseSaveFile("Export Best Times", "corvana-best-times.csv");
    if (path.empty())
        return;
    const std::string error = book.Export(path);
    if (!error.empty())
        dialogs.MessageBox("The best times could not be written to " + path + " (" + error + ").",
                           version::Title, Buttons::Ok, Icon::Exclamation);
}

} // namespace corvana
