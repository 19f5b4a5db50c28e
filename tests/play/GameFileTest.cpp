// Keeping a game: the solved notice, and the state file's round trip and damaged cases.

#include "PlayFixture.h"
#include "TempDir.h"

#include "files/SettingsFile.h"
#include "play/GameStore.h"
#include "play/Records.h"
#include "puzzle/Templates.h"

#include <nlohmann/json.hpp>

#include <chrono>
#include <filesystem>
#include <functional>
#include <set>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

using namespace corvana;
using namespace corvana::test;
using nlohmann::json;

namespace {

// Types the solution's digit into every white square that does not hold it yet, except `skip`.
void TypeSolution(PlayFixture& f, const std::set<int>& skip = {}) {
    for (int i = 0; i < f.Count(); ++i)
        if (f.White(i) && !skip.count(i) && f.User(i) != f.Solution(i))
            f.Type(i, f.Solution(i));
}

// A folder for the state file, and the store that keeps the game in it.
struct StateFile : ::testing::Test {
    TempDir dir;
    GameStore store{dir.File("last-game.json")};
};

} // namespace

// The notice comes once, when the user's own digit or AutoFill completes the grid, and names the
// puzzle, the time spent and, when it is among the best, its place (a first game is the best);
// never for digits the program wrote, nor again in a resumed game. The time stands still from
// the notice on.
TEST(SolvedNotice, ComesOnceWhenTheUsersEntryCompletesTheGrid) {
    const std::string notice = "Well done!  You have solved Small Puzzle H in 2 minutes 5 seconds.";
    const std::string best = "  That is your best time for this kind of puzzle.";
    for (int kind = 0; kind < 4; ++kind) {
        PlayFixture f(kSmall, kind == 2);
        RecordsBook book("", f.dialogs); // kept in memory only
        book.Load();
        if (kind != 1) // with no records kept, no place is named
            f.form->SetRecords(&book);
        double now = 1000;
        f.form->SetClock([&now] { return now; });
        now += 100.9;
        f.form->SetClock([&now] { return now - 500; }); // another clock keeps the time so far
        now += 25;
        const std::vector<Message> expected(kind < 2, Notice(notice + (kind ? "" : best)));
        const int last = f.FreeCell();
        if (kind == 0) { // a wrong last digit, then the right one, then again
            TypeSolution(f, {last});
            f.Type(last, (f.Solution(last) + 1) % 10);
            EXPECT_TRUE(f.dialogs.messages.empty());
            f.Type(last, f.Solution(last));
            f.Type(last, f.Solution(last));
        } else if (kind == 1) { // the last number filled by AutoFill, in the first across slot of two
            int first = 0;
            for (const int slot : FindTemplate(kSmall)->Group(2)->across)
                first = f.InStarter(slot) ? first : slot;
            TypeSolution(f, {first, first + 1});
            for (int j = 0; j < f.form->ListCount(2, false); ++j)
                if (f.Box(f.form->FindBox(2, false, j)).caption == f.Sol(first) + f.Sol(first + 1))
                    f.Pick(2, j);
            f.Fill(first, first + 1);
        } else if (kind == 2) { // the hidden starting number revealed last: the program's digits
            TypeSolution(f, {f.puzzle.StarterFirstCell, f.puzzle.StarterLastCell});
            f.form->mnuShowStartingNumber_Click();
        } else { // resumed after its notice
            PlayRecord kept = f.form->CapturePlay();
            kept.solvedNoticeShown = true;
            kept.secondsSpent = 0; // its clock stands where it was kept, at no time at all
            f.form->RestorePlay(kept);
            EXPECT_EQ(GameToJson(f.puzzle, f.form->CapturePlay()), GameToJson(f.puzzle, kept)) << "no help";
            EXPECT_EQ(GameToJson(f.puzzle, kept)["play"]["secondsSpent"], 0) << "no time is written as none";
            TypeSolution(f);
        }
        // The notice, and a solved game kept at once.
        EXPECT_EQ(std::pair(f.dialogs.messages, f.host.kept), std::pair(expected, expected.size()));
        now += 50;
        EXPECT_EQ(f.form->ClockRunning(), kind == 2);
        EXPECT_EQ(f.form->SecondsSpent(), kind == 2 ? 175 : kind == 3 ? 0 : 125);
    }
}

// A game taken up again from the file looks exactly as it was left: the starting number revealed,
// down and across ticks, the buffer, the undo record, the solution view, the time spent, the help
// taken and Check's marks.
TEST_F(StateFile, AResumedGameShowsWhatTheFormShowed) {
    for (const char* name : kAllSizes) {
        TempDir own; // each size keeps its game in a folder of its own
        PlayFixture f(name, true);
        double now = 50;
        f.form->SetClock([&now] { return now; });
        f.form->mnuShowStartingNumber_Click();
        const int cell = f.FreeCell();
        f.Type(cell, f.Solution(cell) == 0 ? 1 : 0); // a wrong digit, a 0 where it can be
        if (f.form->Config().separateLists)
            f.Pick(3, 1, true); // a down list's tick; the buffer then taken from an across list
        f.form->BoxClick(f.UntickedBox(2));
        f.Type(cell + 1, 4);
        f.form->mnuCheck_Click(); // marks the wrong digit
        f.form->mnuHint_Click();  // refused on it, but counted
        now += 61;
        // Kept in the solution view but for Small, where the revealed starter's colours show at once.
        if (std::string(name) != kSmall)
            f.form->mnuSolution_Click();
        GameStore saved(own.File("last-game.json"));
        ASSERT_EQ(saved.Save(SavedGame{f.puzzle, f.form->CapturePlay()}), "");
        // The file is the user's alone.
        EXPECT_EQ(fs::status(saved.Path()).permissions() & ~fs::perms::owner_all, fs::perms::none);
        GameStore::Loaded loaded = saved.Load();
        ASSERT_TRUE(loaded.game) << loaded.message;
        // A kept mark on an empty square is dropped: it judges no digit.
        loaded.game->play.checkMarks.push_back(f.LastWhite());
        PlayFixture resumed(name);
        resumed.puzzle = loaded.game->puzzle;
        resumed.form->SetClock([&now] { return now; });
        resumed.form->Form_Load();
        resumed.form->RestorePlay(loaded.game->play);
        EXPECT_EQ(json::parse(ReadText(saved.Path()))["play"]["assisted"], true) << "the help taken is kept";
        EXPECT_EQ(std::pair(resumed.form->HintsUsed(), resumed.form->ChecksUsed()), std::pair(1, 1));
        // Every field the file holds must be read back: one it does not write fails the load.
        EXPECT_EQ(GameToJson(loaded.game->puzzle, resumed.form->CapturePlay()),
                  GameToJson(f.puzzle, f.form->CapturePlay()));
        // What the user sees, in the solution view and back in the grid.
        EXPECT_EQ(Picture(*resumed.form), Picture(*f.form));
        f.form->mnuSolution_Click();
        resumed.form->mnuSolution_Click();
        EXPECT_EQ(Picture(*resumed.form), Picture(*f.form));
        EXPECT_TRUE(resumed.dialogs.messages.empty());

        // A finished game is kept but no longer offered for resuming.
        if (f.form->SolutionShown())
            f.form->mnuSolution_Click();
        TypeSolution(f);
        EXPECT_EQ((std::tuple{saved.Save(SavedGame{f.puzzle, f.form->CapturePlay()}), saved.Resumable(),
                              saved.Load().game.has_value(), saved.Resumable()}),
                  std::tuple(std::string(), false, true, false));
    }
}

// A state file that is not a whole game of this program is moved aside with ".bad" and reported
// once; it never stops anything. No file at all is no game and no message.
TEST_F(StateFile, ADamagedFileIsMovedAsideAndReportedOnce) {
    PlayFixture f(kLarge, true);
    f.Pick(3, 0, true);
    const json good = GameToJson(SavedGame{f.puzzle, f.form->CapturePlay()});
    const auto with = [&good](const std::string& pointer, json value) {
        json j = good;
        j[json::json_pointer(pointer)] = std::move(value);
        return j.dump();
    };
    std::string row = good["puzzle"]["solution"][0];
    row[row.find_first_of("0123456789")] ^= 1; // another digit
    // The file's text, or what to put in its place instead.
    const struct {
        std::string text, reason;
        std::function<void(const std::string& path)> make = nullptr;
    } cases[] = {
        {"{\"corvanaGame\": 1, ", "it is not JSON"},
        {with("/corvanaGame", 2), "it is not a game of this program"},
        {with("/play", nullptr), "the puzzle or the state of play is missing"},
        {with("/puzzle/name", "Huge Puzzle"), "\"Huge Puzzle\" is no template of this program"},
        {with("/puzzle/name", 5), "it names no template"},
        {with("/puzzle/solution/0", row), "the numbers in \"lists\" are not those of the solution grid"},
        {with("/puzzle/user/3", "#"), "row 4 of \"user\" must have 20 squares"},
        {with("/puzzle/listsDown", 5), "\"listsDown\" is missing"},
        {with("/play/ticks", 5), "\"ticks\" is missing"},
        {with("/play/ticksDown/11", json::array()), "\"ticksDown\" has an unknown list \"11\""},
        {with("/play/ticksDown/3/0", 999), "\"ticksDown\" ticks a number that is not in the list"},
        {with("/play/buffer", "12a"), "\"buffer\" holds no number of a list"},
        {with("/play/buffer", 12), "\"buffer\" is missing or of the wrong kind"},
        {with("/play/secondsSpent", -5), "\"secondsSpent\" is missing or of the wrong kind"},
        {with("/play/secondsSpent", 3162240001u), "\"secondsSpent\" is out of range"},
        {with("/play/undo", std::vector<std::string>(12, "10")), "\"undo\" is missing or of the wrong size"},
        {with("/play/undo/0", 5), "\"undo\" holds something that is no undo record"},
        {with("/play/undo/0", std::string(41, '1')), "\"undo\" holds something that is no undo record"},
        {with("/play/checks", 1000000001), "\"hints\" or \"checks\" is out of range"},
        {with("/play/checkMarks", 5), "\"checkMarks\" is not a list of squares"},
        {with("/play/undo", json::array()), "\"undo\" is missing or of the wrong size"},
        {with("/play/hints", "2"), "\"hints\" is missing or of the wrong kind"},
        {with("/play/checkMarks", json::array({400})),
         "\"checkMarks\" names a square that is not a white square of the grid"},
        {with("/puzzle/noShowFirst", false), "the starting number is hidden in a puzzle that shows it"},
        {std::string(300 * 1024, ' '), "it is too large (more than 262144 bytes)"},
        {"{\"corvanaGame\": 1, \"k\\\\\": 1, \"play\": " + std::string(100000, '[') +
             std::string(100000, ']') + "}",
         "it is nested deeper than 16 levels"},
        {with("/play/ticks/" + std::string(5000, '9'), json::array()),
         "\"ticks\" has an unknown list \"" + std::string(40, '9') + "...\""},
        {"", "it is a link, not a regular file", [](const auto& p) { fs::create_symlink("/dev/null", p); }},
        {"", "it is not a regular file", [](const auto& p) { ASSERT_EQ(mkfifo(p.c_str(), 0600), 0); }},
        {"", "it is a folder, not a file", [](const auto& p) { fs::create_directory(p); }}};
    for (const auto& c : cases) {
        TempDir own; // each case in a folder of its own
        const std::string path = own.File("last-game.json");
        c.make ? c.make(path) : WriteText(path, c.text);
        GameStore damaged(path);
        EXPECT_EQ(damaged.Load().message, "The last game could not be read from " + path + " (" + c.reason +
                                              ").  It has been moved aside to " + path + ".bad.");
        EXPECT_EQ(std::pair(damaged.Resumable(), fs::exists(fs::symlink_status(path + ".bad"))),
                  std::pair(false, true)); // not resumable, and moved aside
        EXPECT_EQ(damaged.Load().message, "") << "reported once";
    }

    // A file the user may not read is no damaged file: it is reported and stays. Root reads
    // anything, so the load runs as nobody then.
    TempDir own;
    const std::string path = own.File("last-game.json");
    WriteText(path, "{}");
    ASSERT_EQ((std::pair{::chmod(path.c_str(), 0), ::chmod(own.path().c_str(), 0777)}), std::pair(0, 0));
    const std::string expected = "The last game could not be read from " + path +
                                 " (Permission denied).  It has been left where it is.";
    const auto loadAsNobody = [&path, &expected] {
        if (::geteuid() == 0 && ::setuid(65534) != 0)
            std::_Exit(3);
        std::_Exit(GameStore(path).Load().message == expected && ::access(path.c_str(), F_OK) == 0 ? 0 : 1);
    };
    EXPECT_EXIT(loadAsNobody(), ::testing::ExitedWithCode(0), "");

    // Of the temporary files beside it only those of writes cut short go: old and not locked by
    // a write still going on (another instance's).
    const auto old = fs::file_time_type::clock::now() - std::chrono::minutes(2);
    for (const std::string suffix : {"Ab12Cd", "Ab12C", "Locked", "Recent"}) {
        WriteText(dir.File(".last-game.json." + suffix), "{\"corvanaGame\": 1, ");
        if (suffix != "Recent")
            fs::last_write_time(dir.File(".last-game.json." + suffix), old);
    }
    const int locked = ::open(dir.File(".last-game.json.Locked").c_str(), O_RDONLY);
    ASSERT_EQ((std::tuple{::flock(locked, LOCK_EX), store.Load().message}), std::tuple(0, ""));
    ::close(locked);
    std::set<std::string> left;
    for (const auto& entry : fs::directory_iterator(dir.path()))
        left.insert(entry.path().filename().string());
    EXPECT_EQ(left, (std::set<std::string>{".last-game.json.Ab12C", ".last-game.json.Locked",
                                           ".last-game.json.Recent"}));
    json edge = good; // the longest time there may be, and the undo record of a ten-digit fill
    edge["play"]["secondsSpent"] = 3162240000u;
    edge["play"]["hints"] = edge["play"]["checks"] = 1000000000;
    edge["play"]["undo"] = std::vector<std::string>(11, "10");
    edge["play"]["undo"][1] = std::string(40, '1'); // a record as long as one may be
    WriteText(dir.File("last-game.json"), edge.dump());
    // The good file at its limits reads, and is offered for resuming.
    EXPECT_EQ((std::pair{store.Load().game.has_value(), store.Resumable()}), std::pair(true, true));
    json older = good;
    for (const char* key : {"assisted", "hints", "checks", "checkMarks"})
        older["play"].erase(key);
    WriteText(dir.File("last-game.json"), older.dump());
    // A game kept before help was counted reads.
    EXPECT_EQ(GameToJson(store.Load().game.value_or(SavedGame{})), good);
}

// The file says its format. A game kept with an earlier puzzle's lists of lengths its template
// lacks (never ticked) still reads; a tick in such a list does not.
TEST_F(StateFile, ListsOfLengthsTheTemplateLacksReadUnlessTicked) {
    PlayFixture f("Large Puzzle Four Electrodes");
    ASSERT_EQ(store.Save(SavedGame{f.puzzle, f.form->CapturePlay()}), "");
    json earlier = json::parse(ReadText(store.Path())); // no 2-digit list, nor a 10-digit one
    earlier["puzzle"]["lists"]["2"] = {"12", "34"};
    earlier["puzzle"]["listsDown"]["10"] = {"5678901234"};
    WriteText(store.Path(), earlier.dump());
    EXPECT_TRUE(store.Load().game);
    earlier["play"]["ticks"]["2"] = {0};
    WriteText(store.Path(), earlier.dump());
    EXPECT_EQ(store.Load().message, "The last game could not be read from " + store.Path() +
                                        " (\"ticks\" ticks a number that is not in the list).  It has been "
                                        "moved aside to " +
                                        store.Path() + ".bad.");
}

// The window's keeper: a change reaches the file through the writer thread, and the time spent
// with it; the running time alone is no change (closing writes it: the window test's).
TEST_F(StateFile, TheKeeperWritesEveryChangeButNotTheTimeAlone) {
    PlayFixture f(kSmall);
    double now = 0;
    f.form->SetClock([&now] { return now; });
    GameKeeper keeper(*f.form, f.puzzle, store);
    EXPECT_EQ((std::pair{keeper.Changed(), keeper.Flush()}), std::pair(std::string(), std::string()));
    EXPECT_EQ(store.Load().game.value_or(SavedGame{}).puzzle.SolutionArray, f.puzzle.SolutionArray);
    now = 65;
    fs::remove(store.Path());
    // Only the time has changed: nothing is written.
    EXPECT_EQ((std::tuple{keeper.Changed(), keeper.Flush(), fs::exists(store.Path())}),
              std::tuple("", "", false));
    const int cell = f.FreeCell();
    const auto keep = [&](int digit, bool blocked) {
        fs::remove_all(store.Path());
        if (blocked)
            fs::create_directories(store.Path() + "/inside"); // a folder in the file's place
        f.Type(cell, digit);
        keeper.Changed();
        return keeper.Flush();
    };
    EXPECT_EQ(keep(7, false), "");
    const SavedGame kept = store.Load().game.value_or(SavedGame{});
    EXPECT_EQ(std::tuple(kept.puzzle.UserArray.at(Ix(cell)), kept.play.secondsSpent), std::tuple(7, 65));
    EXPECT_EQ(ReadText(store.Path()), GameToJson(kept.puzzle, kept.play).dump(1)) << "as Save lays it out";
    // A failure is reported once, and again after a write that worked in between.
    EXPECT_EQ((std::array{keep(1, true).empty(), keep(2, true).empty(), keep(3, false).empty(),
                          keep(4, true).empty()}),
              (std::array{false, true, true, false}));
}

// The settings file is read only when it is a regular file or a link to one, never waiting on a
// FIFO or opening a device; a save replaces the file or a link, and nothing else.
TEST(SettingsFile, OnlyARegularFileOrALinkToOneIsReadAndOnlyThoseAreReplaced) {
    ::alarm(20); // a read that blocks ends the test
    const struct {
        const char* kind;
        const char* read; // the zoom read, "" for none
        bool written;     // a save replaces what is there
        fs::file_type after;
        std::function<void(const TempDir& dir, const std::string& path)> make;
    } cases[] = {
        {"link to a file", "250", true, fs::file_type::regular,
         [](const TempDir& dir, const std::string& p) {
             WriteText(dir.File("real.ini"), "[Other]\r\nzoom=1\r\n[General]\r\nzoom=250\r\nx=1\n");
             fs::create_symlink(dir.File("real.ini"), p);
         }},
        {"FIFO", "", false, fs::file_type::fifo,
         [](const TempDir&, const std::string& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); }},
        {"link to a device", "", true, fs::file_type::regular,
         [](const TempDir& dir, const std::string& p) {
             ASSERT_EQ(::mknod(dir.File("zero").c_str(), S_IFCHR | 0666, makedev(1, 5)), 0);
             fs::create_symlink(dir.File("zero"), p);
         }},
        {"nothing", "", true, fs::file_type::regular, [](const TempDir&, const std::string&) {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind);
        TempDir dir;
        const std::string path = dir.File("corvana/settings.ini");
        fs::create_directory(dir.File("corvana"));
        c.make(dir, path);
        const Settings read = ReadSettingsFile(path);
        EXPECT_EQ(read.count("zoom") ? read.at("zoom") : "", c.read);
        std::string why;
        // Whether a save replaced what is there, why not, and what stands at the path afterwards.
        EXPECT_EQ((std::tuple{WriteSetting(path, "zoom", "175", why), why, fs::symlink_status(path).type()}),
                  std::tuple(c.written, c.written ? "" : path + " is not a regular file", c.after));
        const fs::file_status device = fs::symlink_status(dir.File("zero"));
        EXPECT_TRUE(!fs::exists(device) || fs::is_character_file(device)) << "a device a link led to stays";
    }
    ::alarm(0);
}
