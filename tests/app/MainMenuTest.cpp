// The main window's commands without a window: start-up with the colour file, the template
// commands, the difficulty options and the exit chain.

#include "app/MainMenu.h"

#include "DefaultColors.h"
#include "FakeDialogs.h"
#include "ScriptedOpener.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

using namespace corvana;
using corvana::test::Defaults;
using corvana::test::FakeDialogs;
using corvana::test::ScriptedOpener;
using corvana::test::TempDir;
using corvana::test::WriteText;

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

TEST(MainMenuStartUp, NoColourFileMeansDefaultsAGoodOneIsUsedAndNeitherIsWritten) {
    Fixture f;
    f.colors.BackgroundColor = {1, 2, 3};
    f.menu.Form_Load();
    EXPECT_TRUE(f.dialogs.messages.empty());
    EXPECT_EQ(f.colors, Defaults());
    EXPECT_FALSE(fs::exists(f.colorFile)) << "start-up never writes the colour file";

    WriteText(f.colorFile, "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n10\r\n11\r\n12\r\n");
    f.menu.Form_Load();
    EXPECT_TRUE(f.dialogs.messages.empty());
    EXPECT_EQ(f.colors.BackgroundColor, (std::array<ColorValue, 3>{1, 2, 3}));
    EXPECT_EQ(f.colors.CheckedColor, (std::array<ColorValue, 3>{10, 11, 12}));
    EXPECT_TRUE(fs::exists(f.colorFile));
}

TEST(MainMenuStartUp, AShortColourFileIsDeletedReportedAndReplacedByTheDefaults) {
    Fixture f;
    // Two values are read before the file runs out; they must not survive.
    WriteText(f.colorFile, "1\r\n2\r\n");
    f.menu.Form_Load();
    EXPECT_FALSE(fs::exists(f.colorFile));
    ASSERT_EQ(f.dialogs.messages.size(), 1u);
    const auto& m = f.dialogs.messages[0];
    EXPECT_EQ(m.text, "Could not load the user-defined color scheme.  You can still play the game using the "
                      "default colors.");
    EXPECT_EQ(m.title, "Corvana");
    EXPECT_EQ(m.buttons, Buttons::Ok);
    EXPECT_EQ(m.icon, Icon::None);
    EXPECT_EQ(f.colors, Defaults());
}

TEST(MainMenuStartUp, AColourFileThatCannotBeDeletedGivesTheFatalMessageWithItsPath) {
    Fixture f;
    // A folder in the file's place can neither be read as the colour file nor deleted as one.
    fs::create_directory(f.colorFile);
    f.colors.PrimaryColor = {7, 7, 7};
    f.menu.Form_Load();
    ASSERT_EQ(f.dialogs.messages.size(), 1u);
    const auto& m = f.dialogs.messages[0];
    EXPECT_EQ(m.title, "Color Scheme Fatal Error");
    EXPECT_EQ(m.buttons, Buttons::Ok);
    EXPECT_EQ(m.icon, Icon::Critical);
    const std::string firstLine = "Could not load the user-defined color scheme.  The text file cannot be "
                                  "deleted.  Check the status of the text file and delete manually.";
    EXPECT_EQ(m.text, firstLine + "\r\n" + f.colorFile);
    EXPECT_EQ(m.text.substr(m.text.find("\r\n") + 2), f.colorFile) << "the full path is the second line";
    EXPECT_TRUE(fs::is_directory(f.colorFile));
    EXPECT_EQ(f.colors, Defaults());
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
    struct Case {
        const char* menu;
        const char* puzzle;
        const char* form;
        const char* error;
    };
    const Case cases[] = {
        {"mnuH", "Small Puzzle H", "play:Small", "Error in loading Small Puzzle H"},
        {"mnuPinwheel", "Small Puzzle Pinwheel", "play:Small", "Error in loading Small Puzzle Pinwheel"},
        {"mnuFiveSquares", "Small Puzzle Five Squares", "play:Small",
         "Error in loading Small Puzzle Five Squares"},
        {"mnuWheel", "Small Puzzle Wheel", "play:Small", "Error in loading Small Puzzle Wheel"},
        {"mnuProjectX", "Small Puzzle Project X", "play:Small", "Error in loading Small Puzzle Project X"},
        {"mnuPlus", "Normal Puzzle Plus", "play:Normal", "Error in loading Normal Puzzle Plus"},
        {"mnuSteps", "Normal Puzzle Steps", "play:Normal", "Error in loading Normal Puzzle Steps"},
        {"mnuShield", "Normal Puzzle Shield", "play:Normal", "Error in loading Normal Puzzle Shield"},
        {"mnuBrokenPieces", "Normal Puzzle Broken Pieces", "play:Normal",
         "Error in loading Normal Broken Pieces"},
        {"mnuFivePlus", "Normal Puzzle Five Plus", "play:Normal", "Error in loading Normal Puzzle Five Plus"},
        {"mnuAngled", "Normal Puzzle Angled", "play:Normal", "Error in loading Normal Puzzle Angled"},
        {"mnuHTT", "Normal Puzzle HTT", "play:Normal", "Error in loading Normal Puzzle HTT"},
        {"mnuCrazyEights", "Large Puzzle Crazy Eights", "play:Large",
         "Error in loading Large Puzzle Crazy Eights"},
        {"mnuSquares", "Large Puzzle Squares", "play:Large", "Error in loading Large Puzzle Squares"},
        {"mnuFourElectrodes", "Large Puzzle Four Electrodes", "play:Large",
         "Error in loading Large Puzzle Four Electrodes"},
    };
    for (const Case& c : cases)
        for (const bool succeeds : {true, false}) {
            SCOPED_TRACE(std::string(c.menu) + (succeeds ? " succeeds" : " fails"));
            Fixture f;
            f.generatorSucceeds = succeeds;
            f.menu.Template_Click(c.menu);
            EXPECT_EQ(f.generated, std::vector<std::string>{c.puzzle});
            EXPECT_EQ(f.puzzle.PuzzleName, c.puzzle);
            EXPECT_EQ(f.opener.opened,
                      succeeds ? std::vector<std::string>{c.form} : std::vector<std::string>{});
            EXPECT_FALSE(f.menu.Unloaded());
            ASSERT_EQ(f.dialogs.messages.size(), succeeds ? 0u : 1u);
            if (!succeeds) {
                EXPECT_EQ(f.dialogs.messages[0].text, c.error);
                EXPECT_EQ(f.dialogs.messages[0].title, "Corvana");
                EXPECT_EQ(f.dialogs.messages[0].buttons, Buttons::Ok);
                EXPECT_EQ(f.dialogs.messages[0].icon, Icon::None);
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

TEST(MainMenuExitChain, ExitInAChildEndsTheProgramReturnDoesNot) {
    for (const std::string child : {"play", "help", "colors"}) {
        Fixture f;
        f.menu.Form_Load();
        // First the child closes with Return: the main window stays.
        f.menu.Template_Click("mnuPlus");
        f.menu.mnuHowToPlay_Click();
        f.menu.mnuColors_Click();
        EXPECT_FALSE(f.menu.Unloaded()) << child;

        // Then Exit in that child.
        auto exit = [&f] { f.puzzle.ExitRequested = true; };
        if (child == "play") {
            f.opener.inPlayForm = exit;
            f.menu.Template_Click("mnuH");
        } else if (child == "help") {
            f.opener.inHelp = exit;
            f.menu.mnuHowToPlay_Click();
        } else {
            f.opener.inColors = exit;
            f.menu.mnuColors_Click();
        }
        EXPECT_TRUE(f.menu.Unloaded()) << child;
    }
}

TEST(MainMenuExitChain, ExitFromHelpOpenedOnAPlayFormEndsTheProgram) {
    Fixture f;
    f.opener.inPlayForm = [&f] { f.opener.ShowHowToPlay(); };
    f.opener.inHelp = [&f] { f.puzzle.ExitRequested = true; };
    f.menu.Template_Click("mnuWheel");
    EXPECT_EQ(f.opener.opened, (std::vector<std::string>{"play:Small", "help"}));
    EXPECT_TRUE(f.menu.Unloaded());
}

TEST(MainMenuExitChain, CreditsNeverEndTheProgram) {
    Fixture f;
    f.menu.mnuCredits_Click();
    EXPECT_EQ(f.opener.opened, std::vector<std::string>{"credits"});
    EXPECT_FALSE(f.menu.Unloaded());
    // Even with the flag raised behind its back, closing the credits does not check it.
    f.opener.inCredits = [&f] { f.puzzle.ExitRequested = true; };
    f.menu.mnuCredits_Click();
    EXPECT_FALSE(f.menu.Unloaded());
}

TEST(MainMenuExitChain, AFailedTemplateStillHonoursAnEarlierExitRequest) {
    Fixture f;
    f.puzzle.ExitRequested = true;
    f.generatorSucceeds = false;
    f.menu.Template_Click("mnuHTT");
    EXPECT_EQ(f.dialogs.messages.size(), 1u);
    EXPECT_TRUE(f.menu.Unloaded());
    EXPECT_TRUE(f.puzzle.ExitRequested) << "the flag is never set back";
}

TEST(MainMenuResize, WorkFrameIsCentredButNeverAtANegativePosition) {
    const WorkPosition centred = CentreWork(7535.0f, 5695.0f);
    EXPECT_FLOAT_EQ(centred.left, 1000.0f);
    EXPECT_FLOAT_EQ(centred.top, 500.0f);
    const WorkPosition designed = CentreWork(5550.0f, 4710.0f);
    EXPECT_FLOAT_EQ(designed.left, 7.5f);
    EXPECT_FLOAT_EQ(designed.top, 7.5f);
    const WorkPosition small = CentreWork(3000.0f, 100.0f);
    EXPECT_FLOAT_EQ(small.left, 0.0f);
    EXPECT_FLOAT_EQ(small.top, 0.0f);
}
