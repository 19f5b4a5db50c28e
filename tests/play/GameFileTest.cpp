// Keeping a game: the solved notice, and the state file's round trip and damaged cases.

#include "PlayFixture.h"
#include "TempDir.h"

#include "play/GameFile.h"
#include "puzzle/Templates.h"

#include <nlohmann/json.hpp>

#include <filesystem>
#include <functional>
#include <set>

#include <sys/stat.h>

using namespace corvana;
using namespace corvana::test;
using nlohmann::json;

namespace {

namespace fs = std::filesystem;

// Types the solution's digit into every white square that does not hold it yet, except `skip`.
void TypeSolution(PlayFixture& f, const std::set<int>& skip = {}) {
    for (int i = 0; i < f.Count(); ++i)
        if (f.White(i) && !skip.count(i) && f.User(i) != f.Solution(i))
            f.Type(i, f.Solution(i));
}

// Every field of two kept games: the puzzle's field by field as the file holds them, the state
// of play's directly, so that a field the file loses on the way shows.
void ExpectSameFields(const SavedGame& a, const SavedGame& b) {
    const json x = GameToJson(a)["puzzle"], y = GameToJson(b)["puzzle"];
    for (const auto& [field, value] : x.items())
        EXPECT_EQ(y[field], value) << field;
    const auto play = [](const PlayRecord& r) {
        std::string ticks;
        for (const auto& t : r.ticks)
            ticks += std::to_string(t.digits) + (t.down ? "d" : "a") + std::to_string(t.index) + " ";
        return std::tuple(ticks, r.buffer, r.bufferFromAcross, r.undo, r.starterHidden, r.solutionShown,
                          r.secondsSpent, r.solvedNoticeShown);
    };
    EXPECT_EQ(play(a.play), play(b.play));
}

} // namespace

// The notice comes once, when the user's own digit or AutoFill completes the grid, and names the
// puzzle and the time spent; never for digits the program wrote.
TEST(SolvedNotice, ComesOnceWhenTheUsersEntryCompletesTheGrid) {
    const std::string notice = "Well done!  You have solved Small Puzzle H in 2 minutes 5 seconds.";
    for (int kind = 0; kind < 6; ++kind) {
        SCOPED_TRACE(kind);
        PlayFixture f(kSmall, kind == 3);
        double now = 1000;
        f.form->SetClock([&now] { return now; });
        now += 125.9;
        std::vector<std::string> expected{notice};
        const int last = f.FreeCell();
        if (kind == 0) { // the last digit typed
            TypeSolution(f);
        } else if (kind == 1) { // a wrong last digit, then the right one, then again
            TypeSolution(f, {last});
            f.Type(last, (f.Solution(last) + 1) % 10);
            EXPECT_TRUE(f.dialogs.messages.empty());
            f.Type(last, f.Solution(last));
            f.Type(last, f.Solution(last));
        } else if (kind == 2) { // the last number filled by AutoFill, in the first across slot of two
            int first = 0;
            for (const int slot : FindTemplate(kSmall)->Group(2)->across)
                first = f.InStarter(slot) ? first : slot;
            TypeSolution(f, {first, first + 1});
            for (int j = 0; j < f.form->ListCount(2, false); ++j)
                if (f.Box(f.BoxId(2, j)).caption == f.Sol(first) + f.Sol(first + 1))
                    f.Pick(2, j);
            f.Fill(first, first + 1);
        } else if (kind == 3) { // the hidden starting number revealed last: the program's digits
            TypeSolution(f, {f.puzzle.StarterFirstCell, f.puzzle.StarterLastCell});
            f.form->mnuShowStartingNumber_Click();
            expected.clear();
        } else if (kind == 4) { // the solution shown, then the grid typed to the end
            f.form->mnuSolution_Click();
            f.form->mnuSolution_Click();
            EXPECT_TRUE(f.dialogs.messages.empty());
            TypeSolution(f);
        } else { // solved, then New Game solved again
            TypeSolution(f);
            f.form->mnuNewPuzzle_Click();
            now += 7;
            TypeSolution(f);
            expected.push_back("Well done!  You have solved Small Puzzle H in 7 seconds.");
        }
        EXPECT_EQ(f.Texts(), expected);
        for (std::size_t m = 0; m < expected.size(); ++m)
            EXPECT_EQ(f.Msg(m), expected[m] + "|Corvana|0");
    }
    EXPECT_EQ(SpentText(3725) + "," + SpentText(7200) + "," + SpentText(61) + "," + SpentText(120) + "," +
                  SpentText(0) + "," + SpentText(-5),
              "1 hour 2 minutes,2 hours,1 minute 1 second,2 minutes,0 seconds,0 seconds");
    PlayFixture resumed(kSmall);
    PlayRecord kept = resumed.form->CapturePlay();
    kept.solvedNoticeShown = true;
    resumed.form->RestorePlay(kept);
    TypeSolution(resumed);
    EXPECT_TRUE(resumed.dialogs.messages.empty()) << "a game resumed after its notice gets none again";
}

// A game taken up again from the file looks exactly as it was left: the starting number revealed,
// down and across ticks, the buffer, the undo record, the solution view and the time spent.
TEST(StateFile, AResumedGameShowsWhatTheFormShowed) {
    for (const char* name : kAllSizes) {
        SCOPED_TRACE(name);
        TempDir dir;
        PlayFixture f(name, true);
        double now = 50;
        f.form->SetClock([&now] { return now; });
        f.form->mnuShowStartingNumber_Click();
        const int cell = f.FreeCell();
        f.Type(cell, (f.Solution(cell) + 3) % 10);
        f.form->BoxClick(f.UntickedBox(2));
        if (f.form->Config().separateLists)
            f.Pick(3, 1, true); // a down list's tick, and the buffer taken from a down list
        f.Type(cell + 1, 4);
        now += 61;
        // Kept in the solution view but for Small, where the revealed starter's colours show at once.
        if (std::string(name) != kSmall)
            f.form->mnuSolution_Click();
        GameStore store(dir.File("last-game.json"));
        ASSERT_EQ(store.Save(SavedGame{f.puzzle, f.form->CapturePlay()}), "");
        EXPECT_EQ(fs::status(store.Path()).permissions() & (fs::perms::group_all | fs::perms::others_all),
                  fs::perms::none)
            << "the file is the user's alone";
        GameStore::Loaded loaded = store.Load();
        ASSERT_TRUE(loaded.game) << loaded.message;
        FakeDialogs dialogs;
        FakePlayHost host;
        PlayForm resumed(f.form->Config(), loaded.game->puzzle, f.colors, dialogs, host);
        resumed.SetClock([&now] { return now; });
        resumed.Form_Load();
        resumed.RestorePlay(loaded.game->play);
        ExpectSameFields({loaded.game->puzzle, resumed.CapturePlay()}, {f.puzzle, f.form->CapturePlay()});
        EXPECT_EQ(resumed.CapturePlay().secondsSpent, 61);
        // What the user sees, in the solution view and back in the grid.
        EXPECT_EQ(Picture(resumed), Picture(*f.form));
        f.form->mnuSolution_Click();
        resumed.mnuSolution_Click();
        EXPECT_EQ(Picture(resumed), Picture(*f.form));
        EXPECT_TRUE(dialogs.messages.empty());

        // A finished game is kept but no longer offered for resuming.
        if (f.form->SolutionShown())
            f.form->mnuSolution_Click();
        TypeSolution(f);
        EXPECT_EQ(store.Save(SavedGame{f.puzzle, f.form->CapturePlay()}), "");
        EXPECT_FALSE(store.Resumable());
        EXPECT_TRUE(store.Load().game);
        EXPECT_FALSE(store.Resumable());
    }
}

// A state file that is not a whole game of this program is moved aside with ".bad" and reported
// once; it never stops anything. No file at all is no game and no message.
TEST(StateFile, ADamagedFileIsMovedAsideAndReportedOnce) {
    PlayFixture f(kLarge, true);
    f.Pick(3, 0, true);
    const json good = GameToJson(SavedGame{f.puzzle, f.form->CapturePlay()});
    const auto changed = [&good](const char* pointer, json value) {
        json j = good;
        j[json::json_pointer(pointer)] = std::move(value);
        return j.dump();
    };
    json solution = good["puzzle"]["solution"];
    std::string& row = solution[0].get_ref<std::string&>();
    row[row.find_first_of("0123456789")] = row[row.find_first_of("0123456789")] == '1' ? '2' : '1';
    const auto text = [](std::string t) { return [t](const std::string& path) { WriteText(path, t); }; };
    const struct {
        std::function<void(const std::string& path)> make;
        const char* reason;
    } cases[] = {
        {text("{\"corvanaGame\": 1, "), "it is not JSON"},
        {text(good.dump().substr(0, good.dump().size() / 2)), "it is not JSON"},
        {text("[1, 2]"), "it is not a game of this program"},
        {text(changed("/corvanaGame", 2)), "it is not a game of this program"},
        {text(changed("/play", nullptr)), "the puzzle or the state of play is missing"},
        {text(changed("/puzzle/name", "Huge Puzzle")), "\"Huge Puzzle\" is no template of this program"},
        {text(changed("/puzzle/solution", solution)),
         "the numbers in \"lists\" are not those of the solution grid"},
        {text(changed("/puzzle/user/3", "#")), "row 4 of \"user\" must have 20 squares"},
        {text(changed("/play/ticks", 5)), "\"ticks\" is missing"},
        {text(changed("/play/ticksDown/11", json::array())), "\"ticksDown\" has an unknown list \"11\""},
        {text(changed("/play/ticksDown/3/0", 999)), "\"ticksDown\" ticks a number that is not in the list"},
        {text(changed("/play/buffer", "12a")), "\"buffer\" holds no number of a list"},
        {text(changed("/play/buffer", "01234567890")), "\"buffer\" holds no number of a list"},
        {text(changed("/play/solutionShown", 1)), "\"solutionShown\" is missing or of the wrong kind"},
        {text(changed("/play/secondsSpent", -5)), "\"secondsSpent\" is missing or of the wrong kind"},
        {text(changed("/play/secondsSpent", 3162240001u)), "\"secondsSpent\" is out of range"},
        {text(changed("/play/undo", json::array())), "\"undo\" is missing or of the wrong size"},
        {text(changed("/play/undo", std::vector<std::string>(12, "0"))),
         "\"undo\" is missing or of the wrong size"},
        {text(changed("/play/undo/0", 5)), "\"undo\" holds something that is no undo record"},
        {text(changed("/play/undo/0", std::string(41, '1'))),
         "\"undo\" holds something that is no undo record"},
        {text(changed("/puzzle/noShowFirst", false)),
         "the starting number is hidden in a puzzle that shows it"},
        {text(std::string(300 * 1024, ' ')), "it is too large (more than 262144 bytes)"},
        {[&good](const std::string& path) {
             WriteText(path + ".target", good.dump());
             fs::create_symlink(path + ".target", path);
         },
         "it is a link, not a regular file"},
        {[](const std::string& path) { ASSERT_EQ(mkfifo(path.c_str(), 0600), 0); },
         "it is not a regular file"},
        {[](const std::string& path) { fs::create_directory(path); }, "it is a folder, not a file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reason);
        TempDir dir;
        const std::string path = dir.File("last-game.json");
        c.make(path);
        GameStore store(path);
        const GameStore::Loaded loaded = store.Load();
        EXPECT_FALSE(loaded.game);
        EXPECT_FALSE(store.Resumable());
        EXPECT_EQ(loaded.message, "The last game could not be read from " + path + " (" + c.reason +
                                      ").  It has been moved aside to " + path + ".bad.");
        EXPECT_FALSE(fs::exists(fs::symlink_status(path)));
        EXPECT_TRUE(fs::exists(fs::symlink_status(path + ".bad")));
        EXPECT_EQ(store.Load().message, "") << "reported once";
    }

    TempDir dir;
    GameStore none(dir.File("last-game.json"));
    WriteText(dir.File(".last-game.json.Ab12Cd"), "{\"corvanaGame\": 1, "); // a write cut short
    WriteText(dir.File(".last-game.json.Ab12C"), "kept");                   // not one of ours
    EXPECT_FALSE(none.Load().game);
    EXPECT_FALSE(fs::exists(dir.File(".last-game.json.Ab12Cd")));
    EXPECT_TRUE(fs::exists(dir.File(".last-game.json.Ab12C")));
    EXPECT_FALSE(fs::exists(dir.File("last-game.json.bad")));
    EXPECT_FALSE(none.Resumable());
    WriteText(dir.File("last-game.json"), changed("/play/secondsSpent", 3162240000u));
    EXPECT_TRUE(none.Load().game) << "the good file with the longest time there may be reads";
    EXPECT_TRUE(none.Resumable());
}

TEST(StateFile, AFailedWriteKeepsTheOldFileAndIsReportedOnce) {
    PlayFixture f(kSmall);
    TempDir dir;
    GameStore store(dir.File("last-game.json"));
    ASSERT_EQ(store.Save(SavedGame{f.puzzle, f.form->CapturePlay()}), "");
    const std::string before = ReadText(store.Path());
    // A folder in the way of the rename: the write fails, the folder stays, no file is left over.
    GameStore blocked(dir.File("blocked"));
    fs::create_directories(dir.File("blocked/inside"));
    const std::string message = blocked.Save(SavedGame{f.puzzle, f.form->CapturePlay()});
    EXPECT_EQ(message.rfind("The game could not be saved to " + blocked.Path() + " (cannot rename ", 0), 0u)
        << message;
    EXPECT_NE(
        message.find(").  You can go on playing, but this game cannot be resumed after the program ends."),
        std::string::npos);
    EXPECT_EQ(blocked.Save(SavedGame{f.puzzle, f.form->CapturePlay()}), "") << "reported once";
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir.path()))
        ++entries;
    EXPECT_EQ(entries, 2u) << "no temporary file left behind";
    EXPECT_EQ(ReadText(store.Path()), before);
}

TEST(StateFile, LivesInTheXdgStateFolder) {
    EXPECT_EQ(GameFilePath("/s", "/h"), "/s/corvana/last-game.json");
    EXPECT_EQ(GameFilePath("", "/h"), "/h/.local/state/corvana/last-game.json");
    EXPECT_EQ(GameFilePath("relative", "/h"), "/h/.local/state/corvana/last-game.json");
    EXPECT_EQ(GameFilePath("", ""), "");
}

// The window's keeper: a change reaches the file through the writer thread, the running time
// alone is no change (except on closing), and a failed write is reported when it is known.
TEST(StateFile, TheKeeperWritesEveryChangeButNotTheTimeAlone) {
    PlayFixture f(kSmall);
    double now = 0;
    f.form->SetClock([&now] { return now; });
    TempDir dir;
    GameStore store(dir.File("last-game.json"));
    GameKeeper keeper(*f.form, f.puzzle, store);
    const auto kept = [&store] { return store.Load().game.value_or(SavedGame{}); };
    EXPECT_EQ(keeper.Changed(), "");
    EXPECT_EQ(keeper.Flush(), "");
    EXPECT_EQ(kept().puzzle.SolutionArray, f.puzzle.SolutionArray);
    now = 65;
    fs::remove(store.Path());
    EXPECT_EQ(keeper.Changed(), "");
    keeper.Flush();
    EXPECT_FALSE(fs::exists(store.Path())) << "only the time has changed";
    keeper.Changed(true);
    keeper.Flush();
    EXPECT_EQ(kept().play.secondsSpent, 65);
    const int cell = f.FreeCell();
    f.Type(cell, 7);
    now = 70;
    keeper.Changed();
    keeper.Flush();
    EXPECT_EQ(kept().puzzle.UserArray.at(Ix(cell)), 7);
    EXPECT_EQ(kept().play.secondsSpent, 70);

    fs::create_directories(dir.File("blocked/inside"));
    GameStore blocked(dir.File("blocked"));
    GameKeeper failing(*f.form, f.puzzle, blocked);
    // Reported by the write itself if it is done already, else when the keeper waits for it.
    std::string message = failing.Changed();
    if (message.empty())
        message = failing.Flush();
    EXPECT_EQ(message.rfind("The game could not be saved to " + blocked.Path(), 0), 0u);
}
