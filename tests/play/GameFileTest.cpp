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

// Every field of a kept game as text, so that one comparison names the field that differs.
std::vector<std::pair<std::string, std::string>> Fields(const SavedGame& g) {
    const auto list = [](const auto& values) {
        std::string text;
        for (const auto& v : values) {
            if constexpr (std::is_arithmetic_v<std::decay_t<decltype(v)>>)
                text += std::to_string(v) + " ";
            else
                for (const auto& x : v)
                    text += json(x).dump() + " ";
        }
        return text;
    };
    const PuzzleState& p = g.puzzle;
    const PlayRecord& r = g.play;
    std::string ticks;
    for (const auto& t : r.ticks)
        ticks += std::to_string(t.digits) + (t.down ? "d" : "a") + std::to_string(t.index) + " ";
    return {{"name", p.PuzzleName},
            {"seed", std::to_string(p.Seed)},
            {"noShowFirst", std::to_string(p.NoShowFirst)},
            {"reduced", std::to_string(p.ReducedNumbers)},
            {"pattern", list(p.GridPattern)},
            {"solution", list(p.SolutionArray)},
            {"user", list(p.UserArray)},
            {"starter", std::to_string(p.StarterFirstCell) + "-" + std::to_string(p.StarterLastCell)},
            {"numbers", list(p.Numbers) + "|" + list(p.NumbersDown)},
            {"captions", list(p.Captions) + "|" + list(p.CaptionsDown)},
            {"ticks", ticks},
            {"buffer", r.buffer},
            {"bufferFromAcross", std::to_string(r.bufferFromAcross)},
            {"undo", json(r.undo).dump()},
            {"starterHidden", std::to_string(r.starterHidden)},
            {"solutionShown", std::to_string(r.solutionShown)},
            {"secondsSpent", std::to_string(r.secondsSpent)},
            {"solvedNoticeShown", std::to_string(r.solvedNoticeShown)}};
}

} // namespace

// The notice comes once, when the user's own digit or AutoFill completes the grid, and names the
// puzzle and the time spent; never for digits the program wrote.
TEST(SolvedNotice, ComesOnceWhenTheUsersEntryCompletesTheGrid) {
    const std::string notice = "Well done!  You have solved Small Puzzle H in 2 minutes 5 seconds.";
    const struct {
        const char* what;
        bool noShowFirst;
        std::function<void(PlayFixture&, double& now)> play;
        std::vector<std::string> messages;
    } cases[] = {
        {"the last digit typed", false, [](PlayFixture& f, double&) { TypeSolution(f); }, {notice}},
        {"a wrong last digit, then the right one, then again",
         false,
         [](PlayFixture& f, double&) {
             const int last = f.FreeCell();
             TypeSolution(f, {last});
             f.Type(last, (f.Solution(last) + 1) % 10);
             EXPECT_TRUE(f.dialogs.messages.empty());
             f.Type(last, f.Solution(last));
             f.Type(last, f.Solution(last));
         },
         {notice}},
        {"the last number filled by AutoFill",
         false,
         [](PlayFixture& f, double&) {
             // The first across slot of two outside the starting number, and the box of its number.
             int first = 0;
             for (const int slot : FindTemplate(kSmall)->Group(2)->across)
                 first = f.InStarter(slot) ? first : slot;
             TypeSolution(f, {first, first + 1});
             for (int j = 0; j < f.form->ListCount(2, false); ++j)
                 if (f.Box(f.BoxId(2, j)).caption == f.Sol(first) + f.Sol(first + 1))
                     f.Pick(2, j);
             f.Fill(first, first + 1);
         },
         {notice}},
        {"the hidden starting number revealed last",
         true,
         [](PlayFixture& f, double&) {
             TypeSolution(f, {f.puzzle.StarterFirstCell, f.puzzle.StarterLastCell});
             f.form->mnuShowStartingNumber_Click();
         },
         {}},
        {"the solution shown, then the grid typed to the end",
         false,
         [](PlayFixture& f, double&) {
             f.form->mnuSolution_Click();
             f.form->mnuSolution_Click();
             EXPECT_TRUE(f.dialogs.messages.empty());
             TypeSolution(f);
         },
         {notice}},
        {"solved, then New Game solved again",
         false,
         [](PlayFixture& f, double& now) {
             TypeSolution(f);
             f.form->mnuNewPuzzle_Click();
             now += 7;
             TypeSolution(f);
         },
         {notice, "Well done!  You have solved Small Puzzle H in 7 seconds."}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        PlayFixture f(kSmall, c.noShowFirst);
        double now = 1000;
        f.form->SetClock([&now] { return now; });
        now += 125.9;
        c.play(f, now);
        EXPECT_EQ(f.Texts(), c.messages);
        for (const auto& m : f.dialogs.messages) {
            EXPECT_EQ(m.title, "Corvana");
            EXPECT_EQ(m.buttons, Buttons::Ok);
        }
    }
    for (const auto& [seconds, text] :
         {std::pair<std::int64_t, const char*>{3600 + 120 + 5, "1 hour 2 minutes"},
          {7200, "2 hours"},
          {61, "1 minute 1 second"},
          {120, "2 minutes"},
          {0, "0 seconds"},
          {-5, "0 seconds"}})
        EXPECT_EQ(SpentText(seconds), text);
}

// Every field of a game goes through the file unchanged, once with every flag set and the time
// at its largest, once with every flag clear; the file is the user's alone.
TEST(StateFile, EveryFieldRoundTrips) {
    for (const bool set : {true, false}) {
        TempDir dir;
        PlayFixture f(kLarge, set);
        PlayRecord r;
        r.ticks = {{3, false, 1}, {4, false, 0}, {3, true, 2}, {8, true, 0}};
        r.buffer = set ? "0123456789" : "";
        r.bufferFromAcross = set;
        r.undo = set ? std::vector<std::string>(11, "12,3,4") : std::vector<std::string>{"0"};
        r.starterHidden = set;
        r.solutionShown = set;
        r.secondsSpent = set ? std::int64_t{100} * 366 * 24 * 3600 : 0;
        r.solvedNoticeShown = set;
        f.puzzle.UserArray[5] = 7;
        const SavedGame game{f.puzzle, r};
        GameStore store(dir.File("state/corvana/last-game.json"));
        ASSERT_EQ(store.Save(game), "");
        EXPECT_TRUE(store.Resumable());
        EXPECT_EQ(fs::status(store.Path()).permissions() & (fs::perms::group_all | fs::perms::others_all),
                  fs::perms::none);
        GameStore reread(store.Path());
        const GameStore::Loaded loaded = reread.Load();
        ASSERT_TRUE(loaded.game) << loaded.message;
        EXPECT_EQ(loaded.message, "");
        EXPECT_TRUE(reread.Resumable());
        EXPECT_EQ(Fields(*loaded.game), Fields(game));
    }
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
        f.form->mnuSolution_Click();
        GameStore store(dir.File("last-game.json"));
        ASSERT_EQ(store.Save(SavedGame{f.puzzle, f.form->CapturePlay()}), "");
        GameStore::Loaded loaded = store.Load();
        ASSERT_TRUE(loaded.game) << loaded.message;
        FakeDialogs dialogs;
        FakePlayHost host;
        PlayForm resumed(f.form->Config(), loaded.game->puzzle, f.colors, dialogs, host);
        resumed.SetClock([&now] { return now; });
        resumed.Form_Load();
        resumed.RestorePlay(loaded.game->play);
        EXPECT_EQ(Fields({f.puzzle, f.form->CapturePlay()}),
                  Fields({loaded.game->puzzle, resumed.CapturePlay()}));
        EXPECT_EQ(resumed.CapturePlay().secondsSpent, 61);
        for (int back = 0; back < 2; ++back) {
            for (int i = 0; i < f.Count(); ++i) {
                EXPECT_EQ(resumed.Cells()[Ix(i)].text, f.Text(i)) << i;
                EXPECT_EQ(resumed.Cells()[Ix(i)].fore, f.Cell(i).fore) << i;
                EXPECT_EQ(resumed.Cells()[Ix(i)].enabled, f.Cell(i).enabled) << i;
            }
            ASSERT_EQ(resumed.Boxes().size(), f.form->Boxes().size());
            for (std::size_t id = 0; id < resumed.Boxes().size(); ++id) {
                EXPECT_EQ(resumed.Boxes()[id].value, f.form->Boxes()[id].value) << id;
                EXPECT_EQ(resumed.Boxes()[id].fore, f.form->Boxes()[id].fore) << id;
            }
            EXPECT_EQ(resumed.UndoCaption(), f.form->UndoCaption());
            EXPECT_EQ(resumed.UndoEnabled(), f.form->UndoEnabled());
            EXPECT_EQ(resumed.BufferCaption(), f.form->BufferCaption());
            EXPECT_EQ(resumed.BufferFromAcross(), f.form->BufferFromAcross());
            EXPECT_EQ(resumed.ShowStartingNumberVisible(), f.form->ShowStartingNumberVisible());
            f.form->mnuSolution_Click();
            resumed.mnuSolution_Click();
        }
        EXPECT_TRUE(dialogs.messages.empty());

        // A finished game is kept but no longer offered for resuming.
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
    WriteText(dir.File("last-game.json"), good.dump());
    EXPECT_TRUE(none.Load().game) << "the good file itself reads";
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
