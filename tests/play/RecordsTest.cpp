// Best times and statistics: the rules of a record, the play form's counts, the records file's
// round trip and damaged cases, and the CSV export.

#include "PlayFixture.h"
#include "TempDir.h"

#include "play/GameStore.h"
#include "play/Records.h"

#include <nlohmann/json.hpp>

#include <filesystem>

using namespace corvana;
using namespace corvana::test;
using nlohmann::json;

namespace {

const RecordCategory kH{"Small Puzzle H", false, false, ""};

FinishedGame Game(std::int64_t seconds, std::uint64_t seed = 1, bool assisted = false,
                  const RecordCategory& category = kH) {
    return {category, seed, seconds, assisted};
}

// The kept times of a category as "seconds/seed ...".
std::string Times(const Records& r, const RecordCategory& category = kH) {
    std::string s;
    if (r.Best().count(category))
        for (const BestTime& t : r.Best().at(category))
            s += (s.empty() ? "" : " ") + std::to_string(t.seconds) + "/" + std::to_string(t.seed);
    return s;
}

// A folder for the records file, and the dialogs its book reports to.
struct RecordsFile : ::testing::Test {
    TempDir dir;
    FakeDialogs dialogs;
};

} // namespace

// A helped game is solved but never a best time; the ten best stay, a new time after equal ones;
// options and grade make separate categories; started counts apart from solved.
TEST(Records, TheTenBestUnassistedTimesAreKeptPerCategoryAndEveryGameCounts) {
    Records r;
    r.Started(kH.templateName);
    r.Started(kH.templateName);
    // A helped game has no place and is no best time.
    EXPECT_EQ((std::tuple{r.Solved(Game(50, 9, true), "2024-01-02"), Times(r)}), std::tuple(0, ""));
    const std::vector<std::pair<std::int64_t, int>> solved = {{300, 1}, {200, 1},  {300, 3}, {100, 1},
                                                              {400, 5}, {500, 6},  {600, 7}, {700, 8},
                                                              {800, 9}, {900, 10}, {950, 0}, {250, 3}};
    for (std::size_t i = 0; i < solved.size(); ++i)
        EXPECT_EQ(r.Solved(Game(solved[i].first, 100 + i), "2024-01-02"), solved[i].second) << "game " << i;
    EXPECT_EQ(Times(r), "100/103 200/101 250/111 300/100 300/102 400/104 500/105 600/106 700/107 800/108");
    // 6000 s: the sum of the twelve unassisted times.
    EXPECT_EQ(r.Counts().at(kH.templateName), (TemplateCounts{2, 13, 12, 6000}));
    EXPECT_EQ(r.Counts().at(kH.templateName).AverageSeconds(), 500);

    for (const RecordCategory& other :
         {RecordCategory{kH.templateName, true, false, ""}, RecordCategory{kH.templateName, false, true, ""},
          RecordCategory{kH.templateName, false, false, "Easy"},
          RecordCategory{"Small Puzzle Wheel", false, false, ""}}) {
        EXPECT_FALSE(other == kH) << "one field apart: " << OptionsText(other) << other.grade;
        EXPECT_EQ(r.Solved(Game(999, 5, false, other), "2024-01-03"), 1) << OptionsText(other) << other.grade;
    }
    EXPECT_EQ(r.Counts().at("Small Puzzle Wheel"), (TemplateCounts{0, 1, 1, 999}));
    EXPECT_EQ(TemplateCounts{}.AverageSeconds(), -1);
    r.Clear();
    EXPECT_TRUE(r.Empty());
}

TEST(Records, ClockPlaceAndOptionsTexts) {
    EXPECT_EQ(ClockText(0) + " " + ClockText(7) + " " + ClockText(754) + " " + ClockText(3599) + " " +
                  ClockText(3600) + " " + ClockText(36000 + 610) + " " + ClockText(-3),
              "0:00 0:07 12:34 59:59 1:00:00 10:10:10 0:00");
    // The solved notice's time: seconds are left out past an hour, a zero part always.
    EXPECT_EQ(SpentText(-5) + "," + SpentText(1) + "," + SpentText(60) + "," + SpentText(61) + "," +
                  SpentText(3600) + "," + SpentText(3661) + "," + SpentText(7325),
              "0 seconds,1 second,1 minute,1 minute 1 second,1 hour,1 hour 1 minute,2 hours 2 minutes");
    for (const auto& [n, nth] : {std::pair(1, std::string()), {2, " second"}, {3, " third"}, {10, " tenth"}})
        EXPECT_EQ(PlaceSentence(n), "That is your" + nth + " best time for this kind of puzzle.");
    EXPECT_EQ(PlaceSentence(0) + PlaceSentence(11), "") << "no place but the ten best";
    EXPECT_EQ(OptionsText({"", true, true, ""}), "Reduced Numbers, Don't Show First Number");
    EXPECT_EQ(OptionsText({"", false, true, ""}), "Don't Show First Number");
    EXPECT_EQ(OptionsText({"", false, false, ""}), "None");
}

// New Game and Restart Game start a game; solving reports its time with the puzzle's seed,
// options, grade and help. With its starting number hidden, Shield reads mirrored too: that
// other fill is solved as well.
TEST(Records, ThePlayFormCountsNewGameRestartAndTheSolvedGameEvenItsMirroredFill) {
    struct Sink : RecordsSink {
        void GameStarted(const std::string& name) override { started.push_back(name); }
        int GameSolved(const FinishedGame& game) override { return solved.push_back(game), 0; } // no place
        std::vector<std::string> started;
        void Flush() override { flushed = solved.size(); } // the record is written before the notice waits
        std::vector<FinishedGame> solved;
        std::size_t flushed = 0;
    } sink;
    const char* shield = "Normal Puzzle Shield";
    PlayFixture f(shield, true);
    EXPECT_EQ(f.form->PuzzleText(), "seed 11, Don't Show First Number") << "for the status bar";
    double now = 10;
    f.form->SetClock([&now] { return now; });
    f.form->SetRecords(&sink);
    f.form->RestartGame();
    f.form->mnuNewPuzzle_Click();
    EXPECT_EQ(sink.started, (std::vector<std::string>{shield, shield}));
    FillIn shown = ShownPuzzle(f.puzzle);
    shown.given.assign(shown.given.size(), -1);
    const SolveResult both = Solve(shown, 3);
    ASSERT_EQ(both.solutions, 2);
    const SolvedGrid own(f.puzzle.SolutionArray.begin(), f.puzzle.SolutionArray.end());
    const SolvedGrid& mirror = both.grids[0] == own ? both.grids[1] : both.grids[0];
    f.form->mnuCheck_Click();
    now += 83.5;
    for (int i = 0; i < f.Count(); ++i)
        if (f.White(i))
            f.Type(i, mirror[Ix(i)]);
    EXPECT_EQ(f.dialogs.messages,
              std::vector{Notice("Well done!  You have solved Normal Puzzle Shield in 1 minute "
                                 "23 seconds.  Solved with help: 0 hints and 1 check.")});
    ASSERT_EQ(std::pair(sink.solved.size(), sink.flushed), std::pair(1ul, 1ul));
    const FinishedGame& g = sink.solved[0];
    EXPECT_EQ(g.category, (RecordCategory{shield, false, true, "Expert"}));
    EXPECT_EQ(std::tuple(g.seed, g.seconds, g.assisted), std::tuple(f.puzzle.Seed, 83, true));
}

// Without an absolute XDG folder the records and the kept game live under home; without a home, nowhere.
TEST_F(RecordsFile, TheRecordsAndTheKeptGameLiveUnderHomeWithoutAnAbsoluteXdgFolder) {
    EXPECT_EQ(RecordsFilePath("", "/h") + " " + RecordsFilePath("rel", "/h") + " " + RecordsFilePath("", ""),
              "/h/.local/share/corvana/records.json /h/.local/share/corvana/records.json ");
    EXPECT_EQ(GameFilePath("", "/h") + " " + GameFilePath("rel", "/h") + " " + GameFilePath("", ""),
              "/h/.local/state/corvana/last-game.json /h/.local/state/corvana/last-game.json ");
}

// Every change is on the disk at once and reads back whole; the folder is made when missing; a
// write that fails is reported once.
TEST_F(RecordsFile, EveryChangeIsWrittenAndReadsBackWhole) {
    const std::string path = dir.File("data/corvana/records.json");
    RecordsBook book(path, dialogs, [] { return std::string("2024-12-31"); }); // the largest month and day
    EXPECT_EQ(book.Load(), "");
    book.GameStarted(kH.templateName);
    // Kept as the longest time there may be, a hundred years of 366 days; the largest seed.
    book.GameSolved(Game(INT64_MAX, 18446744073709551615u));
    book.GameSolved(Game(40, 3, true, {"Large Puzzle Squares", true, true, "Expert"}));
    book.Flush();
    RecordsBook again(path, dialogs);
    EXPECT_EQ((std::pair{again.Load(), again.Data()}), std::pair(std::string(), book.Data()));
    EXPECT_EQ(Times(again.Data()), "3162240000/18446744073709551615");
    EXPECT_EQ(fs::status(path).permissions() & ~fs::perms::owner_all, fs::perms::none); // the user's alone
    again.Reset();
    RecordsBook reset(path, dialogs);
    EXPECT_TRUE(reset.Load().empty() && reset.Data().Empty() && again.Data().Empty()) << "reset on disk too";
    again.GameSolved(Game(10)); // dated by the system's clock
    EXPECT_THAT(again.Data().Best().at(kH).front().date, testing::MatchesRegex("20[0-9]{2}(-[0-9]{2}){2}"));

    WriteText(dir.File("file"), "");
    RecordsBook blocked(dir.File("file/records.json"), dialogs);
    EXPECT_EQ(blocked.Load(), "");
    blocked.GameStarted(kH.templateName);
    blocked.Flush();
    blocked.GameStarted(kH.templateName);
    blocked.Flush();
    ASSERT_EQ(dialogs.messages.size(), 1u) << "reported once, the writes before it silent";
    EXPECT_THAT(dialogs.messages[0].text,
                testing::StartsWith("The best times could not be saved to " + dir.File("file/records.json") +
                                    " (cannot create the folder "));
}

// A file that is not whole records of this program is moved aside with ".bad" and reported
// once; it never stops anything, and the next write starts afresh.
TEST_F(RecordsFile, ADamagedFileIsMovedAsideAndReportedOnce) {
    Records some;
    some.Started(kH.templateName);
    for (int i = 0; i < 10; ++i) // as many times as a file keeps
        some.Solved(Game(30), "2024-03-04");
    const json good = RecordsToJson(some);
    EXPECT_EQ(good["corvanaRecords"], 1) << "the format of the files players already have";
    const auto with = [&good](const char* pointer, json value) {
        json j = good;
        j[json::json_pointer(pointer)] = std::move(value);
        return j.dump();
    };
    const json eleven(11, good["best"][0]["times"][0]);
    std::vector<std::pair<std::string, std::string>> cases = {
        {"{\"corvanaRecords\": 1", "it is not JSON"},
        {with("/corvanaRecords", 2), "it is not a records file of this program"},
        {with("/counts", json::array()), "\"best\" or \"counts\" is missing"},
        {with("/best", json::object()), "\"best\" or \"counts\" is missing"},
        {with("/best/0", 7), "\"best\" holds something that is no category"},
        {with("/best/0/template", "Huge Puzzle"), "\"Huge Puzzle\" is no template of this program"},
        {with("/best/0/grade", "Easyish"), "\"Easyish\" is no grade"},
        {with("/best/0/reducedNumbers", 1), "\"reducedNumbers\" is missing or of the wrong kind"},
        {with("/best/0/times", eleven), "\"times\" of Small Puzzle H is missing or of the wrong size"},
        {with("/best/0/times", 5), "\"times\" of Small Puzzle H is missing or of the wrong size"},
        {with("/best/1", good["best"][0]), "a category of Small Puzzle H is there twice"},
        {with("/best/0/times/0/seconds", 3162240001u), "\"seconds\" is missing or out of range"},
        {with("/counts/Small Puzzle H/started", "1"), "\"started\" is missing or out of range"},
        {with("/counts/Small Puzzle H/solved", 1'000'000'001), "\"solved\" is missing or out of range"},
        {with("/counts/Small Puzzle H/solvedWithoutHelp", 11),
         "\"solvedWithoutHelp\" is missing or out of range"},
        {with("/counts/Tiny", json::object()), "\"counts\" has an unknown template \"Tiny\""},
        {std::string(1100 * 1024, ' '), "it is too large (more than 1048576 bytes)"}};
    // No such day, or no number where one belongs.
    for (const std::string date : {"2024-13-01", "2024-12-32", "2024-00-10", "2024-12-00", "x024-10-05"})
        cases.emplace_back(with("/best/0/times/0/date", date), '"' + date + "\" is no date");
    for (const auto& [text, reason] : cases) {
        TempDir fresh; // the moved-aside file of one case must not change the next one's name
        const std::string path = fresh.File("records.json");
        WriteText(path, text);
        RecordsBook book(path, dialogs);
        EXPECT_EQ(book.Load(), "The best times could not be read from " + path + " (" + reason +
                                   ").  It has been moved aside to " + path + ".bad.");
        EXPECT_TRUE(fs::exists(fs::symlink_status(path + ".bad")));
        book.GameStarted(kH.templateName);
        book.Flush();
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(path))) << "this session's times are kept";
        EXPECT_EQ(book.Load(), "") << "reported once, and the new file reads";
    }
    const std::string path = dir.File("records.json");
    for (const char* name : {".bad", ".bad.1"}) { // never over an earlier one
        WriteText(path, name);
        EXPECT_EQ(RecordsBook(path, dialogs).Load(), "The best times could not be read from " + path +
                                                         " (it is not JSON).  It has been moved aside to " +
                                                         path + name + ".");
    }
    EXPECT_EQ(ReadText(path + ".bad") + ReadText(path + ".bad.1"), ".bad.bad.1");
}

// One row per time under the header; a link leads to the file written, and only a regular file
// is replaced (what else is refused is the output file's own business).
TEST_F(RecordsFile, ExportWritesTheHeaderAndOneRowPerTime) {
    RecordsBook book(dir.File("records.json"), dialogs, [] { return std::string("2024-05-06"); });
    ASSERT_EQ(book.Load(), "");
    book.GameSolved(Game(3725, 42, false, {"Normal Puzzle Plus", true, false, "Medium"}));
    book.GameSolved(Game(65, 7));
    book.GameSolved(Game(64, 8, true));
    book.GameSolved(Game(9, 5, false, {"My \"H\", too", false, false, "Easy"})); // a name read from a file
    const std::string csv = dir.File("out.csv");
    fs::create_symlink(dir.File("elsewhere.csv"), csv);
    EXPECT_EQ(book.Export(csv), "");
    EXPECT_EQ(ReadText(csv),
              "Puzzle,Reduced Numbers,Don't Show First Number,Grade,Place,Time,Seconds,Date,Seed\r\n"
              "\"My \"\"H\"\", too\",No,No,Easy,1,0:09,9,2024-05-06,5\r\n" // quoted, its quotes doubled
              "Normal Puzzle Plus,Yes,No,Medium,1,1:02:05,3725,2024-05-06,42\r\n"
              "Small Puzzle H,No,No,,1,1:05,65,2024-05-06,7\r\n");
    EXPECT_EQ(ReadText(dir.File("elsewhere.csv")), ReadText(csv)) << "the link leads to the file written";
    EXPECT_EQ(book.Export(dir.path().string()), "it is a folder, not a regular file");
}
