// The main window's commands without a window: the command line and what it opens, start-up
// with the colour file, the template commands, the options, the exit chain and the credits.
#include "app/MainMenu.h"
#include "app/BestTimes.h"
#include "app/CommandLine.h"
#include "app/Credits.h"
#include "app/Startup.h"
#include "corvana/Version.h"
#include "play/GameStore.h"
#include "puzzle/GeneratePuzzle.h"
#include "puzzle/PuzzleFile.h"
#include "puzzle/Templates.h"

#include "AppState.h"
#include "DefaultColors.h"
#include "FakeDialogs.h"
#include "ScriptedOpener.h"
#include "TempDir.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <filesystem>
#include <string>

using namespace corvana;
using namespace corvana::test;
using Messages = std::vector<Message>;
using Texts = std::vector<std::string>;
using Table = std::vector<Texts>;

namespace {

// One main window's worth of state. The generator is a stand-in answering `fakeSucceeds`, or
// the real one when that is std::nullopt; either way it records what it was asked to build.
struct Fixture : AppState {
    explicit Fixture(std::optional<bool> fake = true) : fakeSucceeds(fake) {}
    ScriptedOpener opener;
    std::optional<bool> fakeSucceeds;
    Texts generated;
    std::optional<std::uint64_t> seed;
    GameStore store{dir.File("last-game.json")};
    RecordsBook records{dir.File("records.json"), dialogs, [] { return std::string("2024-07-08"); }};
    MainMenu::Generator generate = [this](PuzzleState& state, Dialogs&, std::optional<std::uint64_t> s) {
        generated.push_back(state.PuzzleName);
        seed = s;
        return fakeSucceeds ? *fakeSucceeds : GeneratePuzzle(state, s).ok;
    };
    MainMenu menu{puzzle, exitRequested, colors, dialogs, opener, colorFile, generate, &store, &records};
    // Opens what a command line with `args` asks for.
    void Open(const Texts& args) { menu.Open(ParseCommandLine(args).request); }
};
} // namespace

TEST(CommandLine, EachFormGivesItsRequestAndEveryBadOneStatusTwoWithItsReason) {
    // A request as words: what it opens (main window, template or file in Kind's order), then its options.
    const auto shown = [](const StartRequest& r) {
        return std::string(std::array{"main window", "template", "file"}[static_cast<std::size_t>(r.kind)]) +
               (r.templateName.empty() ? "" : " " + r.templateName) + (r.file.empty() ? "" : " " + r.file) +
               (r.seed ? ", seed " + std::to_string(*r.seed) : "") + (r.reduced ? ", reduced" : "") +
               (r.noFirst ? ", no first" : "");
    };
    const std::vector<std::pair<Texts, std::string>> good = {
        {{}, "main window"},
        {{"--template", "Small Puzzle H"}, "template Small Puzzle H"},
        {{"--template", "Large Puzzle Squares", "--seed", "18446744073709551615", "--reduced", "--no-first"},
         "template Large Puzzle Squares, seed 18446744073709551615, reduced, no first"},
        {{"--seed", "0", "--template", "Normal Puzzle HTT"}, "template Normal Puzzle HTT, seed 0"},
        {{"game.json"}, "file game.json"}};
    for (const auto& [args, request] : good) {
        const CommandLine line = ParseCommandLine(args);
        EXPECT_FALSE(line.exitStatus.has_value()) << line.err;
        EXPECT_EQ(shown(line.request), request);
    }
    const std::vector<std::pair<Texts, std::string>> bad = {
        {{"--template", "Small"},
         "unknown template 'Small'; valid names: \"Small Puzzle H\", \"Small Puzzle Pinwheel\""},
        {{"--template", "Small Puzzle H", "--seed", "18446744073709551616"},
         "malformed seed '18446744073709551616'"},
        {{"--seed", "4"}, "--seed requires --template"},
        {{"--reduced"}, "--reduced requires --template"},
        {{"a.json", "--template", "Small Puzzle H"}, "excludes"},
        {{"--colour"}, "--colour"}};
    for (const auto& [args, reason] : bad) {
        const CommandLine line = ParseCommandLine(args);
        EXPECT_EQ(line.exitStatus, 2) << args.front();
        EXPECT_THAT(line.err, HasSubstr(reason));
    }
    const CommandLine help = ParseCommandLine({"--help"});
    EXPECT_EQ(std::tuple(help.exitStatus, help.out.find("--no-first") != help.out.npos), std::tuple(0, true));
}

TEST(StartRequest, OpensTheNamedTemplateWithItsOptionsOrTheFileOrSaysWhyNot) {
    Fixture s(std::nullopt);
    s.Open({"--template", "Normal Puzzle Shield", "--seed", "77", "--reduced", "--no-first"});
    EXPECT_EQ(std::tuple(s.opener.opened, s.seed), std::tuple(Texts{"play:Normal"}, 77u));
    EXPECT_TRUE(s.puzzle.ReducedNumbers && s.puzzle.NoShowFirst) << "the options follow the request";
    EXPECT_TRUE(s.menu.ReducedChecked() && s.menu.NoShowChecked()) << "the ticks follow the options";

    // The same puzzle written by corvana-gen opens from its file with its own options ticked,
    // also through a link to it.
    const std::string file = s.dir.File("shield.json");
    WriteText(file, PuzzleToJson(s.puzzle).dump());
    fs::create_symlink(file, s.dir.File("link.json"));
    Fixture fromFile;
    fromFile.opener.inPlayForm = [&fromFile] { fromFile.exitRequested = true; };
    for (const std::string& path : {s.dir.File("link.json"), file})
        fromFile.Open({path});
    EXPECT_TRUE(fromFile.menu.Unloaded()) << "Exit in its play window ends the program";
    // Both windows, without a word, on the same puzzle with its options ticked.
    EXPECT_EQ(std::tuple(fromFile.opener.opened, fromFile.dialogs.messages, fromFile.puzzle.SolutionArray,
                         fromFile.menu.ReducedChecked() && fromFile.menu.NoShowChecked()),
              std::tuple(Texts(2, "play:Normal"), Messages(), s.puzzle.SolutionArray, true));

    WriteText(file, "{");
    Fixture broken(std::nullopt);
    broken.Open({file});
    EXPECT_EQ(broken.dialogs.messages,
              (Messages{{"The puzzle file " + file + " cannot be opened: it is not JSON.", "Corvana",
                         Buttons::Ok, Icon::Exclamation}}));
    // The same request made one for a template that does not exist (kind, name, seed, options, file).
    broken.menu.Open({StartRequest::Kind::Template, "No Such Template", {}, false, false, file});
    EXPECT_TRUE(broken.opener.opened.empty()) << "neither the file nor the template opens a window";

    // Resume Last Puzzle is offered once a game is kept, and reopens it.
    Fixture resumed;
    EXPECT_FALSE(resumed.menu.ResumeEnabled());
    resumed.menu.mnuResume_Click(); // nothing to resume: the window opened below is the only one
    ASSERT_EQ(resumed.store.Save(SavedGame{s.puzzle, {}}), "");
    resumed.menu.Form_Load();
    EXPECT_TRUE(resumed.menu.ResumeEnabled());
    resumed.opener.inPlayForm = [&resumed] { resumed.exitRequested = true; };
    resumed.menu.mnuResume_Click();
    EXPECT_EQ(resumed.puzzle.SolutionArray, s.puzzle.SolutionArray);
    EXPECT_TRUE(resumed.menu.Unloaded()) << "Exit in the resumed game's window ends the program";
    // A kept game damaged since start-up is reported when resumed; a solved one is not reopened.
    WriteText(resumed.dir.File("last-game.json"), "{");
    resumed.menu.mnuResume_Click();
    s.puzzle.UserArray = s.puzzle.SolutionArray;
    ASSERT_EQ(resumed.store.Save(SavedGame{s.puzzle, {}}), "");
    resumed.menu.mnuResume_Click();
    // One window, the sound game's, opened without a word; one message, the damaged game's.
    EXPECT_EQ(std::pair(resumed.opener.opened, resumed.dialogs.messages.size()),
              std::pair(Texts{"resume:Normal"}, 1ul));
}

// Opening a puzzle starts a game, from the menu or from a file; resuming one does not. A damaged
// records file is reported at start-up; Best Times opens its window.
TEST(MainMenuRecords, OpeningStartsAGameResumingDoesNot) {
    Fixture s(std::nullopt);
    WriteText(s.records.Path(), "[]");
    s.menu.Form_Load();
    const std::string said = "The best times could not be read from " + s.records.Path() +
                             " (it is not a records file of this program).  It has been moved aside to " +
                             s.records.Path() + ".bad.";
    EXPECT_EQ(s.dialogs.messages, (Messages{{said, "Corvana", Buttons::Ok, Icon::Exclamation}}));
    s.menu.Template_Click("mnuPlus");
    const std::string file = s.dir.File("plus.json");
    WriteText(file, PuzzleToJson(s.puzzle).dump());
    ASSERT_EQ(s.store.Save(SavedGame{s.puzzle, {}}), "");
    s.fakeSucceeds = false;
    s.menu.Template_Click("mnuH");
    s.Open({file});
    s.menu.mnuResume_Click();
    s.menu.mnuBestTimes_Click();
    EXPECT_EQ(s.opener.opened, (Texts{"play:Normal", "play:Normal", "resume:Normal", "best times"}));
    EXPECT_EQ(s.records.Data().Counts().size(), 1u) << "a puzzle that failed to load is no game";
    EXPECT_EQ(s.records.Data().Counts().at("Normal Puzzle Plus").started, 2);
}

// The window's tables as text; Reset asks before it clears; Export... writes where the user
// chose, says what went wrong, and does nothing when cancelled.
TEST(BestTimes, TablesResetAndExport) {
    Fixture s;
    ASSERT_EQ(s.records.Load(), "");
    s.records.GameStarted("Small Puzzle H");
    s.records.GameSolved({{"Small Puzzle H", true, false, "Hard"}, 12, 95, false});
    s.records.GameSolved({{"Small Puzzle H", true, false, "Hard"}, 13, 30, true});
    s.records.GameSolved({{"Small Puzzle", false, false, "Easy"}, 14, 0, false}); // an average of 0 s shows
    const TextTable best = BestTimesTable(s.records.Data());
    EXPECT_EQ(best.headers, (Texts{"Puzzle", "Options", "Grade", "Place", "Time", "Date", "Seed"}));
    EXPECT_EQ(best.rows,
              (Table{{"Small Puzzle", "None", "Easy", "1", "0:00", "2024-07-08", "14"},
                     {"Small Puzzle H", "Reduced Numbers", "Hard", "1", "1:35", "2024-07-08", "12"}}));
    EXPECT_EQ(StatisticsTable(s.records.Data()).rows,
              (Table{{"Small Puzzle", "0", "1", "1", "0:00"}, {"Small Puzzle H", "1", "2", "1", "1:35"}}));

    const std::string csv = s.dir.File("times.csv");
    s.dialogs.savePaths = {csv, s.dir.File("no/such/folder.csv")};
    for (int k = 0; k < 3; ++k) // written, failed, cancelled
        cmdExport_Click(s.records, s.dialogs);
    EXPECT_THAT(ReadText(csv), HasSubstr("\r\nSmall Puzzle H,Yes,No,Hard,1,1:35,95,2024-07-08,12\r\n"));
    EXPECT_EQ(s.dialogs.saveRequests, Texts(3, "Export Best Times|corvana-best-times.csv"));
    ASSERT_EQ(s.dialogs.messages.size(), 1u);
    EXPECT_THAT(s.dialogs.messages[0].text,
                testing::StartsWith("The best times could not be written to " +
                                    s.dir.File("no/such/folder.csv") + " (cannot create a file in "));

    s.dialogs.messages.clear();
    s.dialogs.answers = {Answer::No, Answer::Yes};
    // No keeps the times, Yes clears them: each answer, then whether the records are empty.
    EXPECT_EQ((std::array{cmdReset_Click(s.records, s.dialogs), s.records.Data().Empty(),
                          cmdReset_Click(s.records, s.dialogs), s.records.Data().Empty()}),
              (std::array{false, false, true, true}));
    EXPECT_EQ(s.dialogs.messages,
              Messages(2, {"Clear every best time and count?  The game in progress is kept.", "Corvana",
                           Buttons::YesNo, Icon::Exclamation}));
}

TEST(MainMenuStartUp, AGoodColourFileIsUsedABadOneDeletedAndReportedAndNoneIsWritten) {
    Fixture f;
    f.colors.BackgroundColor = {1, 2, 3};
    f.menu.Form_Load();
    // Start-up never writes the colour file.
    EXPECT_EQ(std::pair(fs::exists(f.colorFile), f.colors == Defaults()), std::pair(false, true));
    WriteText(f.colorFile, "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n10\r\n11\r\n12\r\n");
    f.menu.Form_Load();
    EXPECT_EQ(f.colors, (ColorScheme{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {10, 11, 12}}));
    EXPECT_EQ(std::pair(fs::exists(f.colorFile), f.dialogs.messages.size()), std::pair(true, 0ul));

    // Two values are read before a short file runs out; they must not survive.
    WriteText(f.colorFile, "1\r\n2\r\n");
    f.menu.Form_Load();
    EXPECT_EQ(std::pair(fs::exists(f.colorFile), f.colors == Defaults()), std::pair(false, true));

    // A folder in the file's place can neither be read as the colour file nor deleted as one.
    fs::create_directory(f.colorFile);
    f.colors.PrimaryColor = {7, 7, 7};
    f.menu.Form_Load();
    EXPECT_EQ(std::pair(fs::is_directory(f.colorFile), f.colors == Defaults()), std::pair(true, true));
    const Messages expected = {{"Could not load the user-defined color scheme.  You can still play the "
                                "game using the default colors.",
                                "Corvana", Buttons::Ok, Icon::None},
                               {"Could not load the user-defined color scheme.  The text file cannot be "
                                "deleted.  Check the status of the text file and delete manually.\r\n" +
                                    f.colorFile,
                                "Color Scheme Fatal Error", Buttons::Ok, Icon::Critical}};
    EXPECT_EQ(f.dialogs.messages, expected);
}

// The two options toggle flag and tick together and independently; start-up clears only
// Don't Show First Number.
TEST(MainMenuOptions, ClicksToggleFlagAndCheckMarkTogetherAndStartUpClearsOnlyDontShow) {
    Fixture f;
    f.menu.Form_Load();
    // After `command`: Don't Show First Number and Reduced Numbers, each as flag/tick.
    const auto after = [&f](void (MainMenu::*command)()) {
        (f.menu.*command)();
        const auto one = [](bool flag, bool tick) {
            return std::string(flag ? "on" : "off") + (tick ? "/ticked" : "/unticked");
        };
        return "no-show " + one(f.puzzle.NoShowFirst, f.menu.NoShowChecked()) + ", reduced " +
               one(f.puzzle.ReducedNumbers, f.menu.ReducedChecked());
    };
    EXPECT_EQ(after(&MainMenu::mnuNoShow_Click), "no-show on/ticked, reduced off/unticked");
    EXPECT_EQ(after(&MainMenu::mnuReduced_Click), "no-show on/ticked, reduced on/ticked");
    EXPECT_EQ(after(&MainMenu::mnuNoShow_Click), "no-show off/unticked, reduced on/ticked");
    f.menu.mnuNoShow_Click();
    EXPECT_EQ(after(&MainMenu::Form_Load), "no-show off/unticked, reduced on/ticked") << "keeps Reduced";
    EXPECT_EQ(after(&MainMenu::mnuReduced_Click), "no-show off/unticked, reduced off/unticked");
}

TEST(MainMenuTemplates, EachCommandOpensItsPlayFormOrShowsItsOwnError) {
    // Each template's command is "mnu" and the template's own name, spaces left out: "mnuFiveSquares".
    for (const auto& t : Templates()) {
        const std::string puzzle(t.name);
        std::string menu = "mnu" + puzzle.substr(puzzle.find(' ', puzzle.find(' ') + 1) + 1);
        menu.erase(std::remove(menu.begin(), menu.end(), ' '), menu.end());
        // Broken Pieces' message names it without the word "Puzzle".
        const std::string name = puzzle == "Normal Puzzle Broken Pieces" ? "Normal Broken Pieces" : puzzle;
        const Message failed{"Error in loading " + name, "Corvana", Buttons::Ok, Icon::None};
        for (const bool succeeds : {true, false}) {
            Fixture f(succeeds);
            f.menu.Template_Click(menu);
            EXPECT_EQ(f.opener.opened, Texts(succeeds ? 1 : 0, "play:" + puzzle.substr(0, puzzle.find(' '))));
            // What was built, whether the program ends, and what was said.
            EXPECT_EQ(std::tuple(f.generated, f.menu.Unloaded(), f.dialogs.messages),
                      std::tuple(Texts{puzzle}, false, Messages(succeeds ? 0 : 1, failed)));
        }
    }
}

// Return in a child keeps the main window; Exit in any child but the credits ends the program,
// even after a template failed to load.
TEST(MainMenuExitChain, ExitInAChildEndsTheProgramReturnAndCreditsDoNot) {
    const auto exitIn = [](std::function<void()> ScriptedOpener::*child, auto click) {
        Fixture f;
        f.menu.Form_Load();
        f.menu.Template_Click("mnuPlus");
        f.menu.mnuHowToPlay_Click();
        f.menu.mnuColors_Click();
        f.menu.mnuCredits_Click();
        EXPECT_FALSE(f.menu.Unloaded());
        f.opener.*child = [&f] { f.exitRequested = true; };
        click(f.menu);
        EXPECT_EQ(f.opener.opened.size(), 5u);
        return f.menu.Unloaded();
    };
    EXPECT_TRUE(exitIn(&ScriptedOpener::inPlayForm, [](MainMenu& m) { m.Template_Click("mnuH"); }));
    EXPECT_TRUE(exitIn(&ScriptedOpener::inHelp, [](MainMenu& m) { m.mnuHowToPlay_Click(); }));
    EXPECT_TRUE(exitIn(&ScriptedOpener::inColors, [](MainMenu& m) { m.mnuColors_Click(); }));
    // Closing the credits does not look at the flag.
    EXPECT_FALSE(exitIn(&ScriptedOpener::inCredits, [](MainMenu& m) { m.mnuCredits_Click(); }));

    Fixture failed(false);
    failed.exitRequested = true;
    failed.menu.Template_Click("mnuHTT");
    EXPECT_TRUE(failed.menu.Unloaded());
}

TEST(Credits, TextsComeFromTheVersionRecordWithMajorAndMinorOnlyAndTheMakersOwnSite) {
    // The version record has three parts (2.0.x); the window shows two.
    const CreditsTexts t = Credits();
    EXPECT_EQ(t.legal, version::LegalNotice);
    EXPECT_EQ(t.title + "|" + t.version + "|" + t.description + "|" + t.createdBy + "|" + t.author + "|" +
                  t.invitation + "|" + t.site + "|" + t.siteHelp,
              "Corvana|Version: 2.0|Generator of random numerical fill-in puzzles based on pre-defined "
              "templates|Created by:|Corvana developers|Visit our web sites for news, more puzzles and "
              "help:|https://corvana.example.org|https://corvana.example.org/help");
}

TEST(Startup, AWindowNeedsAPlatformOrADisplay) {
    EXPECT_FALSE(HasGraphicalDisplay(nullptr, nullptr, nullptr) || HasGraphicalDisplay("", "", ""));
    EXPECT_TRUE(HasGraphicalDisplay("offscreen", nullptr, nullptr) &&
                HasGraphicalDisplay(nullptr, ":0", nullptr) &&
                HasGraphicalDisplay(nullptr, nullptr, "wayland-0"));
}
