// The main window's commands without a window: start-up with the colour file, the template
// commands, the difficulty options and the exit chain.
#include "app/MainMenu.h"
#include "puzzle/Templates.h"

#include "DefaultColors.h"
#include "FakeDialogs.h"
#include "ScriptedOpener.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

using namespace corvana;
using corvana::test::Defaults;
using corvana::test::FakeDialogs;
using corvana::test::ScriptedOpener;
using corvana::test::TempDir;
using corvana::test::WriteText;
using Message = FakeDialogs::Message;

namespace {
namespace fs = std::filesystem;

// One main window's worth of state, with a generator that can be told to fail.
struct Fixture {
    TempDir folder;
    std::string colorFile = folder.File(kColorFileName);
    PuzzleState puzzle;
    ColorScheme colors;
    FakeDialogs dialogs;
    ScriptedOpener opener;
    bool generatorSucceeds = true;
    std::vector<std::string> generated;
    MainMenu menu{puzzle,
                  colors,
                  dialogs,
                  opener,
                  colorFile,
                  [this](PuzzleState& state, Dialogs&, std::optional<std::uint64_t>) {
                      generated.push_back(state.PuzzleName);
                      return generatorSucceeds;
                  }};
};
} // namespace

TEST(MainMenuStartUp, AGoodColourFileIsUsedABadOneDeletedAndReportedAndNoneIsWritten) {
    Fixture f;
    f.colors.BackgroundColor = {1, 2, 3};
    f.menu.Form_Load();
    EXPECT_EQ(f.colors, Defaults());
    EXPECT_FALSE(fs::exists(f.colorFile)) << "start-up never writes the colour file";
    WriteText(f.colorFile, "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n10\r\n11\r\n12\r\n");
    f.menu.Form_Load();
    EXPECT_EQ(f.colors.BackgroundColor, (std::array<ColorValue, 3>{1, 2, 3}));
    EXPECT_EQ(f.colors.CheckedColor, (std::array<ColorValue, 3>{10, 11, 12}));
    EXPECT_TRUE(fs::exists(f.colorFile));
    EXPECT_TRUE(f.dialogs.messages.empty());

    // Two values are read before a short file runs out; they must not survive.
    WriteText(f.colorFile, "1\r\n2\r\n");
    f.menu.Form_Load();
    EXPECT_FALSE(fs::exists(f.colorFile));
    EXPECT_EQ(f.colors, Defaults());

    // A folder in the file's place can neither be read as the colour file nor deleted as one.
    fs::create_directory(f.colorFile);
    f.colors.PrimaryColor = {7, 7, 7};
    f.menu.Form_Load();
    EXPECT_TRUE(fs::is_directory(f.colorFile));
    EXPECT_EQ(f.colors, Defaults());
    const std::vector<Message> expected = {{"Could not load the user-defined color scheme.  You can still "
                                            "play the game using the default colors.",
                                            "Corvana", Buttons::Ok, Icon::None},
                                           {"Could not load the user-defined color scheme.  The text file "
                                            "cannot be deleted.  Check the status of "
                                            "the text file and delete manually.\r\n" +
                                                f.colorFile,
                                            "Color Scheme Fatal Error", Buttons::Ok, Icon::Critical}};
    EXPECT_EQ(f.dialogs.messages, expected);
}

TEST(MainMenuOptions, ClicksToggleFlagAndCheckMarkTogetherAndStartUpClearsOnlyDontShow) {
    Fixture f;
    f.menu.Form_Load();
    for (int click = 1; click <= 2; ++click) {
        f.menu.mnuNoShow_Click();
        EXPECT_EQ(f.puzzle.NoShowFirst, click == 1);
        EXPECT_EQ(f.menu.NoShowChecked(), click == 1);
        EXPECT_FALSE(f.puzzle.ReducedNumbers) << "the options are independent";
    }
    for (int click = 1; click <= 2; ++click) {
        f.menu.mnuReduced_Click();
        EXPECT_EQ(f.puzzle.ReducedNumbers, click == 1);
        EXPECT_EQ(f.menu.ReducedChecked(), click == 1);
        EXPECT_FALSE(f.puzzle.NoShowFirst);
    }
    f.menu.mnuNoShow_Click();
    f.menu.mnuReduced_Click();
    f.menu.Form_Load();
    EXPECT_FALSE(f.puzzle.NoShowFirst);
    EXPECT_FALSE(f.menu.NoShowChecked());
    EXPECT_TRUE(f.puzzle.ReducedNumbers);
    EXPECT_TRUE(f.menu.ReducedChecked());
}

TEST(MainMenuTemplates, EachCommandOpensItsPlayFormOrShowsItsOwnError) {
    // Each template's command is "mnu" and the template's own name, spaces left out: "mnuFiveSquares".
    ASSERT_EQ(Templates().size(), 15u);
    for (const auto& t : Templates()) {
        const std::string puzzle(t.name);
        std::string menu = "mnu";
        for (const char c : puzzle.substr(puzzle.find(' ', puzzle.find(' ') + 1) + 1))
            if (c != ' ')
                menu += c;
        for (const bool succeeds : {true, false}) {
            SCOPED_TRACE(std::string(menu) + (succeeds ? " succeeds" : " fails"));
            Fixture f;
            f.generatorSucceeds = succeeds;
            f.menu.Template_Click(menu);
            EXPECT_EQ(f.generated, std::vector<std::string>{puzzle});
            EXPECT_EQ(f.puzzle.PuzzleName, puzzle);
            const std::string form = "play:" + puzzle.substr(0, puzzle.find(' '));
            EXPECT_EQ(f.opener.opened,
                      succeeds ? std::vector<std::string>{form} : std::vector<std::string>{});
            EXPECT_FALSE(f.menu.Unloaded());
            // Broken Pieces has always named itself without the word "Puzzle" here.
            const std::string error = puzzle == "Normal Puzzle Broken Pieces"
                                          ? "Error in loading Normal Broken Pieces"
                                          : "Error in loading " + puzzle;
            const std::vector<Message> failure = {{error, "Corvana", Buttons::Ok, Icon::None}};
            EXPECT_EQ(f.dialogs.messages, succeeds ? std::vector<Message>{} : failure);
        }
    }
}

TEST(MainMenuTemplates, TheRealGeneratorBuildsThePuzzleBeforeThePlayFormOpens) {
    TempDir folder;
    PuzzleState puzzle;
    ColorScheme colors;
    FakeDialogs dialogs;
    ScriptedOpener opener;
    int cellsWhenOpened = 0;
    opener.inPlayForm = [&] { cellsWhenOpened = puzzle.CellCount(); };
    MainMenu menu(puzzle, colors, dialogs, opener, folder.File(kColorFileName));
    menu.Template_Click("mnuSquares");
    EXPECT_EQ(opener.opened, std::vector<std::string>{"play:Large"});
    EXPECT_EQ(cellsWhenOpened, 400);
    EXPECT_TRUE(dialogs.messages.empty());
}

// Return in a child keeps the main window; Exit in any child but the credits ends the program,
// even from help opened on a play form or after a template failed to load.
TEST(MainMenuExitChain, ExitInAChildEndsTheProgramReturnAndCreditsDoNot) {
    const auto exitIn = [](std::function<void()> ScriptedOpener::*child, auto click) {
        Fixture f;
        f.menu.Form_Load();
        f.menu.Template_Click("mnuPlus");
        f.menu.mnuHowToPlay_Click();
        f.menu.mnuColors_Click();
        f.menu.mnuCredits_Click();
        EXPECT_FALSE(f.menu.Unloaded());
        f.opener.*child = [&f] { f.puzzle.ExitRequested = true; };
        click(f.menu);
        EXPECT_EQ(f.opener.opened.size(), 5u);
        return f.menu.Unloaded();
    };
    EXPECT_TRUE(exitIn(&ScriptedOpener::inPlayForm, [](MainMenu& m) { m.Template_Click("mnuH"); }));
    EXPECT_TRUE(exitIn(&ScriptedOpener::inHelp, [](MainMenu& m) { m.mnuHowToPlay_Click(); }));
    EXPECT_TRUE(exitIn(&ScriptedOpener::inColors, [](MainMenu& m) { m.mnuColors_Click(); }));
    EXPECT_FALSE(exitIn(&ScriptedOpener::inCredits, [](MainMenu& m) { m.mnuCredits_Click(); }))
        << "closing the credits does not look at the flag";

    Fixture f;
    f.opener.inPlayForm = [&f] { f.opener.ShowHowToPlay(); };
    f.opener.inHelp = [&f] { f.puzzle.ExitRequested = true; };
    f.menu.Template_Click("mnuWheel");
    EXPECT_EQ(f.opener.opened, (std::vector<std::string>{"play:Small", "help"}));
    EXPECT_TRUE(f.menu.Unloaded());

    Fixture failed;
    failed.puzzle.ExitRequested = true;
    failed.generatorSucceeds = false;
    failed.menu.Template_Click("mnuHTT");
    EXPECT_EQ(failed.dialogs.messages.size(), 1u);
    EXPECT_TRUE(failed.menu.Unloaded());
    EXPECT_TRUE(failed.puzzle.ExitRequested) << "the flag is never set back";
}

TEST(MainMenuResize, WorkFrameIsCentredButNeverAtANegativePosition) {
    for (const auto& [width, height, left, top] :
         {std::array<float, 4>{7535, 5695, 1000, 500}, {5550, 4710, 7.5f, 7.5f}, {3000, 100, 0, 0}}) {
        const WorkPosition at = CentreWork(width, height);
        EXPECT_FLOAT_EQ(at.left, left) << width;
        EXPECT_FLOAT_EQ(at.top, top) << height;
    }
}
