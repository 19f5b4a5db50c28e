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

// The cells of the first across slot outside the starting number, and its number.
std::pair<std::set<int>, std::string> AcrossSlot(const PlayFixture& f, int digits) {
    const SlotGroup* group = FindTemplate(f.puzzle.PuzzleName)->Group(digits);
    for (const int first : group->across) {
        if (f.InStarter(first))
            continue;
        std::set<int> cells;
        std::string number;
        for (int m = 0; m < digits; ++m) {
            cells.insert(first + m);
            number += std::to_string(f.Solution(first + m));
        }
        return {cells, number};
    }
    return {};
}

} // namespace

// The notice comes once, when the user's own digit or AutoFill completes the grid, and names the
// puzzle and the time spent; never for digits the program wrote.
TEST(SolvedNotice, ComesOnceWhenTheUsersEntryCompletesTheGrid) {
    const std::string notice = "Well done!  You have solved Small Puzzle H in 2 minutes 5 seconds.";
    struct Case {
        const char* what;
        bool noShowFirst;
        std::function<void(PlayFixture&, double& now)> play;
        std::vector<std::string> messages;
    };
    const Case cases[] = {
        {"the last digit typed", false, [](PlayFixture& f, double&) { TypeSolution(f); }, {notice}},
        {"a wrong last digit, then the right one, then again",
         false,
         [](PlayFixture& f, double&) {
             const int last = *f.FirstWhiteOutsideStarter();
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
             const auto [cells, number] = AcrossSlot(f, 2);
             TypeSolution(f, cells);
             for (int j = 0; j < f.form->ListCount(2, false); ++j)
                 if (f.Box(f.BoxId(2, j)).caption == number) {
                     f.Pick(2, j);
                     break;
                 }
             f.Fill(*cells.begin(), *cells.begin() + 1);
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
    for (const Case& c : cases) {
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
    EXPECT_EQ(SpentText(3600 + 120 + 5), "1 hour 2 minutes");
    EXPECT_EQ(SpentText(61), "1 minute 1 second");
}

// Everything the form holds of a game comes back from the file, on every size class, with the
// starting number revealed, down and across ticks, the buffer, the undo record, the solution
// view and the time spent.
TEST(StateFile, RoundTripRestoresEveryField) {
    for (const char* name : AllSizes()) {
        SCOPED_TRACE(name);
        TempDir dir;
        PlayFixture f(name, true);
        double now = 50;
        f.form->SetClock([&now] { return now; });
        f.form->mnuShowStartingNumber_Click();
        const int cell = *f.FirstWhiteOutsideStarter();
        f.Type(cell, (f.Solution(cell) + 3) % 10);
        f.form->BoxClick(f.UntickedBox(2));
        if (f.form->Config().separateLists)
            f.Pick(3, 1, true); // a down list's tick, and the buffer taken from a down list
        f.Type(cell + 1, 4);
        now += 61;
        f.form->mnuSolution_Click();

        GameStore store(dir.File("state/corvana/last-game.json"));
        ASSERT_EQ(store.Save(SavedGame{f.puzzle, f.form->CapturePlay()}), "");
        EXPECT_TRUE(store.Resumable());
        EXPECT_EQ(fs::status(store.Path()).permissions() & fs::perms::group_all, fs::perms::none);
        GameStore reread(store.Path());
        GameStore::Loaded loaded = reread.Load();
        ASSERT_TRUE(loaded.game) << loaded.message;
        EXPECT_EQ(loaded.message, "");
        EXPECT_TRUE(reread.Resumable());

        PuzzleState& p = loaded.game->puzzle;
        EXPECT_EQ(p.PuzzleName, f.puzzle.PuzzleName);
        EXPECT_EQ(p.Seed, f.puzzle.Seed);
        EXPECT_EQ(p.NoShowFirst, f.puzzle.NoShowFirst);
        EXPECT_EQ(p.ReducedNumbers, f.puzzle.ReducedNumbers);
        EXPECT_EQ(p.GridPattern, f.puzzle.GridPattern);
        EXPECT_EQ(p.SolutionArray, f.puzzle.SolutionArray);
        EXPECT_EQ(p.UserArray, f.puzzle.UserArray);
        EXPECT_EQ(p.StarterFirstCell, f.puzzle.StarterFirstCell);
        EXPECT_EQ(p.StarterLastCell, f.puzzle.StarterLastCell);
        for (int n = kShortest; n <= kLongest; ++n) {
            EXPECT_EQ(p.Numbers[Ix(n)], f.puzzle.Numbers[Ix(n)]) << n;
            EXPECT_EQ(p.Captions[Ix(n)], f.puzzle.Captions[Ix(n)]) << n;
            EXPECT_EQ(p.NumbersDown[Ix(n)], f.puzzle.NumbersDown[Ix(n)]) << n;
            EXPECT_EQ(p.CaptionsDown[Ix(n)], f.puzzle.CaptionsDown[Ix(n)]) << n;
        }

        FakeDialogs dialogs;
        FakePlayHost host;
        PlayForm resumed(f.form->Config(), p, f.colors, dialogs, host);
        resumed.SetClock([&now] { return now; });
        resumed.Form_Load();
        resumed.RestorePlay(loaded.game->play);
        const PlayRecord a = f.form->CapturePlay();
        const PlayRecord b = resumed.CapturePlay();
        EXPECT_EQ(b.ticks, a.ticks);
        EXPECT_EQ(b.buffer, a.buffer);
        EXPECT_EQ(b.bufferFromAcross, a.bufferFromAcross);
        EXPECT_EQ(b.undo, a.undo);
        EXPECT_FALSE(b.starterHidden);
        EXPECT_TRUE(b.solutionShown);
        EXPECT_EQ(b.secondsSpent, 61);
        // What the user sees: cells, boxes and menus, in the solution view and back in the grid.
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
            EXPECT_EQ(resumed.ShowStartingNumberVisible(), f.form->ShowStartingNumberVisible());
            f.form->mnuSolution_Click();
            resumed.mnuSolution_Click();
        }
        EXPECT_EQ(dialogs.messages.size(), 0u);

        // A finished game is kept but no longer offered for resuming.
        f.form->mnuSolution_Click();
        TypeSolution(f);
        EXPECT_EQ(store.Save(SavedGame{f.puzzle, f.form->CapturePlay()}), "");
        EXPECT_FALSE(store.Resumable());
        EXPECT_TRUE(reread.Load().game);
        EXPECT_FALSE(reread.Resumable());
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

    struct Case {
        const char* what;
        std::function<void(const std::string& path)> make;
        const char* reason;
    };
    const auto text = [](std::string t) { return [t](const std::string& path) { WriteText(path, t); }; };
    const Case cases[] = {
        {"not JSON", text("{\"corvanaGame\": 1, "), "it is not JSON"},
        {"half a file", text(good.dump().substr(0, good.dump().size() / 2)), "it is not JSON"},
        {"another program's JSON", text("[1, 2]"), "it is not a game of this program"},
        {"an unknown template", text(changed("/puzzle/name", "Huge Puzzle")),
         "\"Huge Puzzle\" is no template of this program"},
        {"a digit changed in the solution", text(changed("/puzzle/solution", solution)),
         "the numbers in \"lists\" are not those of the solution grid"},
        {"a square missing in the user grid", text(changed("/puzzle/user/3", "#")),
         "row 4 of \"user\" must have 20 squares"},
        {"a tick beyond its list", text(changed("/play/ticksDown/3/0", 999)),
         "\"ticksDown\" ticks a number that is not in the list"},
        {"a word in the buffer", text(changed("/play/buffer", "12a")),
         "\"buffer\" holds no number of a list"},
        {"a negative time", text(changed("/play/secondsSpent", -5)),
         "\"secondsSpent\" is missing or of the wrong kind"},
        {"a hidden starter the puzzle shows", text(changed("/puzzle/noShowFirst", false)),
         "the starting number is hidden in a puzzle that shows it"},
        {"too large", text(std::string(300 * 1024, ' ')), "it is too large (more than 262144 bytes)"},
        {"a link",
         [&good](const std::string& path) {
             WriteText(path + ".target", good.dump());
             fs::create_symlink(path + ".target", path);
         },
         "it is a link, not a regular file"},
        {"a pipe", [](const std::string& path) { ASSERT_EQ(mkfifo(path.c_str(), 0600), 0); },
         "it is not a regular file"},
        {"a folder", [](const std::string& path) { fs::create_directory(path); },
         "it is a folder, not a file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
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
    EXPECT_FALSE(none.Load().game);
    EXPECT_FALSE(fs::exists(dir.File(".last-game.json.Ab12Cd")));
    EXPECT_FALSE(none.Resumable());
    WriteText(dir.File("last-game.json"), good.dump());
    EXPECT_TRUE(none.Load().game) << "the good file itself reads";
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
