#include "PlayFixture.h"

#include "corvana/Version.h"

using namespace corvana;
using namespace corvana::test;

namespace {

const std::string kSaveFailed = "Could not save the user's current work.  Solution cannot be shown.";
const std::string kWrongStarter =
    "The program detected that one or more of the digits that comprises the starting "
    "number was incorrect.  Please check your work as it may be incorrect.";

class SolutionView : public ::testing::TestWithParam<const char*> {};

INSTANTIATE_TEST_SUITE_P(AllSizes, SolutionView, ::testing::ValuesIn(AllSizes()));

TEST_P(SolutionView, ARoundTripGivesBackTheUsersDigitsTicksAndBuffer) {
    PlayFixture f(GetParam());
    const int a = *f.FirstWhiteOutsideStarter();
    const int last = f.Count() - 1;
    int black = 0;
    while (f.White(black))
        ++black;
    f.Type(black, 6); // a digit in a black square shows nothing in the solution
    f.Type(a, 4);
    f.Type(last, 8);
    const int picked = f.UntickedBox();
    f.form->BoxClick(picked);
    const int unpicked = f.UntickedBox();
    const std::string buffer = f.form->BufferText();
    const auto userBefore = f.puzzle.UserArray;

    f.form->mnuSolution_Click();
    EXPECT_TRUE(f.form->SolutionShown());
    EXPECT_EQ(f.form->UserGridFrame().caption, "Solution Grid");
    for (int i = 0; i < f.Count(); ++i) {
        EXPECT_EQ(f.Text(i), f.White(i) ? std::to_string(f.Solution(i)) : "") << i;
        EXPECT_FALSE(f.Cell(i).enabled) << i;
        EXPECT_EQ(f.Cell(i).fore, f.InStarter(i) ? kRed : kBlack) << i;
    }
    for (const ListBox& box : f.form->Boxes())
        EXPECT_EQ(box.value, 1) << box.Name() << " " << box.index;
    EXPECT_EQ(f.Box(picked).tag, "True");
    EXPECT_EQ(f.Box(unpicked).tag, "False");
    EXPECT_FALSE(f.form->UndoEnabled());
    EXPECT_EQ(f.form->BufferText(), buffer);
    EXPECT_EQ(f.form->BufferCaption(), "Buffer = " + buffer);
    EXPECT_EQ(f.puzzle.UserArray, userBefore) << "the solution's digits stay out of the user grid";
    EXPECT_TRUE(f.form->TrackEntries());

    // The way back is the round trip of the random sessions; here only that it ends busy.
    f.form->mnuSolution_Click();
    EXPECT_EQ(f.form->UserGridFrame().caption, "User Grid");
    EXPECT_EQ(f.dialogs.busyCalls, (std::vector<bool>{true, false, true, false}));
    EXPECT_TRUE(f.dialogs.messages.empty());
}

TEST_P(SolutionView, TheSolutionTakesNoKeysClicksOrUndoAndUndoComesBackOnlyWithSomethingToUndo) {
    PlayFixture f(GetParam());
    f.form->mnuSolution_Click();
    f.form->mnuSolution_Click();
    EXPECT_FALSE(f.form->UndoEnabled());
    EXPECT_EQ(f.form->UndoCaption(), "Undo ");

    const int cell = *f.FirstWhiteOutsideStarter();
    f.Type(cell, 1);
    f.form->mnuSolution_Click();
    const std::string shown = f.Text(cell);
    f.form->mnuUndo_Click(); // disabled in the solution view
    EXPECT_EQ(f.User(cell), 1);
    EXPECT_EQ(f.Key(cell, vk::Digit0 + (shown[0] - '0' + 1) % 10), 0);
    f.Key(cell, vk::Back);
    f.Key(cell, vk::Delete);
    f.Key(cell, vk::Right);
    EXPECT_EQ(f.Text(cell), shown);
    EXPECT_TRUE(f.host.focus.empty());
    f.form->txtGrid_MouseDown(cell);
    EXPECT_EQ(f.form->FillStartCell(), -1);
    EXPECT_EQ(f.Cell(cell).back, kWhite);
    f.form->mnuSolution_Click();
    EXPECT_EQ(f.Text(cell), "1");
    EXPECT_TRUE(f.form->UndoEnabled());
    f.form->mnuUndo_Click();
    EXPECT_EQ(f.Text(cell), "");
}

TEST(SolutionViewFailure, AGridThatCannotBeSavedIsNotSwitched) {
    PlayFixture f(kSmall);
    f.Pick(6, 2);
    const std::string buffer = f.form->BufferText();
    f.puzzle.UserArray.push_back(-1); // one entry more than the form has cells
    f.form->mnuSolution_Click();
    ASSERT_EQ(f.dialogs.messages.size(), 1u);
    EXPECT_EQ(f.dialogs.messages[0].text, kSaveFailed);
    EXPECT_EQ(f.dialogs.messages[0].title, version::Title);
    EXPECT_EQ(f.dialogs.messages[0].buttons, Buttons::Ok);
    EXPECT_FALSE(f.form->SolutionShown());
    EXPECT_TRUE(f.form->TrackEntries());
    EXPECT_EQ(f.form->UserGridFrame().caption, "User Grid");
    EXPECT_EQ(f.form->BufferText(), buffer);
    EXPECT_EQ(f.dialogs.busyCalls, (std::vector<bool>{true, false}));
    for (int i = 0; i < f.Count(); ++i)
        EXPECT_TRUE(f.Cell(i).enabled);
}

class Restart : public ::testing::TestWithParam<const char*> {};

INSTANTIATE_TEST_SUITE_P(AllSizes, Restart, ::testing::ValuesIn(AllSizes()));

// Restart leaves only the shown starter and its tick, in the user grid or from the solution
// view (where the grid empties at once and the starter's tick survives the way back); the
// history stays, and nothing of a hidden starter shows, not even by a typed digit's colour.
TEST_P(Restart, OnlyTheShownStarterRemainsWithItsBoxTicked) {
    for (const int kind : {0, 1, 2, 3}) {
        const bool hidden = kind % 2 == 1;
        const bool inSolution = kind >= 2;
        SCOPED_TRACE(std::string(hidden ? "starter hidden" : "starter shown") +
                     (inSolution ? " solution" : ""));
        PlayFixture f(GetParam(), hidden);
        const int first = f.puzzle.StarterFirstCell;
        f.Type(*f.FirstWhiteOutsideStarter(), 3);
        f.Type(first, (f.Solution(first) + 1) % 10);
        const int other = f.UntickedBox();
        f.form->BoxClick(other);
        f.form->BoxClick(f.UntickedBox(3));
        const auto undo = f.form->UndoArray();
        if (inSolution)
            f.form->mnuSolution_Click();
        f.form->RestartGame();
        if (inSolution) {
            EXPECT_TRUE(f.form->SolutionShown());
            EXPECT_EQ(f.form->UserGridFrame().caption, "Solution Grid");
            for (int i = 0; i < f.Count(); ++i) {
                EXPECT_EQ(f.Text(i), f.InStarter(i) && !hidden ? std::to_string(f.Solution(i)) : "") << i;
                EXPECT_FALSE(f.Cell(i).enabled);
            }
            f.form->mnuSolution_Click();
        }
        for (int i = 0; i < f.Count(); ++i) {
            const bool shown = f.InStarter(i) && !hidden;
            EXPECT_EQ(f.Text(i), shown ? std::to_string(f.Solution(i)) : "") << i;
            EXPECT_EQ(f.Cell(i).fore, shown ? kRed : kBlack) << i;
            EXPECT_TRUE(f.Cell(i).enabled);
        }
        const auto ticked = f.TickedIds();
        ASSERT_EQ(ticked.size(), hidden ? 0u : 1u);
        if (!hidden) {
            EXPECT_EQ(f.Box(ticked[0]).caption, f.StarterText());
            EXPECT_EQ(f.Box(ticked[0]).fore, f.colors.CheckedColor[Ix(f.form->Config().ColorIndex())]);
            if (!inSolution) {
                EXPECT_EQ(f.form->BufferCaption(), "Buffer = " + f.StarterText());
            }
        }
        EXPECT_EQ(f.Box(other).value, 0) << "the user's tick went with the restart";
        if (!inSolution) {
            EXPECT_EQ(f.form->UndoArray(), undo) << "the history stays";
        }
        f.Type(first, f.Solution(first));
        EXPECT_EQ(f.Cell(first).fore, hidden ? kBlack : kRed);
        EXPECT_TRUE(f.UserGridMatchesCells());
    }
}

class StartingNumber : public ::testing::TestWithParam<const char*> {};

INSTANTIATE_TEST_SUITE_P(AllSizes, StartingNumber, ::testing::ValuesIn(AllSizes()));

// Right digits are shown without a word, a wrong one is reported and corrected, also from the
// solution view; no undo takes them away again; the starter's box is ticked and a later restart
// keeps the starter shown.
TEST_P(StartingNumber, ShowingItChecksCorrectsAndTicksTheStarter) {
    PlayFixture shown(GetParam());
    const int wrong = (shown.Solution(shown.puzzle.StarterFirstCell) + 3) % 10;
    shown.Type(shown.puzzle.StarterFirstCell, wrong);
    shown.form->mnuShowStartingNumber_Click(); // the entry is hidden; nothing to reveal
    EXPECT_EQ(shown.Text(shown.puzzle.StarterFirstCell), std::to_string(wrong));
    EXPECT_TRUE(shown.dialogs.messages.empty());

    for (const int kind : {0, 1, 2}) {
        const bool wrongDigit = kind > 0;
        const bool inSolution = kind == 2;
        SCOPED_TRACE(kind);
        PlayFixture f(GetParam(), true);
        ASSERT_TRUE(f.form->ShowStartingNumberVisible());
        const int first = f.puzzle.StarterFirstCell;
        f.Type(first, f.Solution(first));
        if (wrongDigit)
            f.Type(first + 1, (f.Solution(first + 1) + 5) % 10);
        if (inSolution)
            f.form->mnuSolution_Click();
        f.form->mnuShowStartingNumber_Click();
        ASSERT_EQ(f.dialogs.messages.size(), wrongDigit ? 1u : 0u);
        if (wrongDigit) {
            EXPECT_EQ(f.dialogs.messages[0].text, kWrongStarter);
            EXPECT_EQ(f.dialogs.messages[0].title, version::ProductName);
            EXPECT_EQ(f.dialogs.messages[0].buttons, Buttons::Ok);
        }
        if (inSolution)
            f.form->mnuSolution_Click();
        // The digits typed there cannot be undone any more: that would take revealed digits away
        // again, and nothing brings them back.
        EXPECT_FALSE(f.form->UndoEnabled());
        f.form->mnuUndo_Click();
        for (int i = first; i <= f.puzzle.StarterLastCell; ++i) {
            EXPECT_EQ(f.Text(i), std::to_string(f.Solution(i)));
            EXPECT_EQ(f.Cell(i).fore, kRed);
        }
        EXPECT_FALSE(f.form->StarterHidden());
        EXPECT_FALSE(f.form->ShowStartingNumberVisible());
        const auto ticked = f.TickedIds();
        ASSERT_EQ(ticked.size(), 1u);
        EXPECT_EQ(f.Box(ticked[0]).caption, f.StarterText());
        EXPECT_TRUE(f.UserGridMatchesCells());
        f.form->RestartGame();
        EXPECT_EQ(f.Text(first), std::to_string(f.Solution(first)));
        EXPECT_EQ(f.TickedIds().size(), 1u);
    }
}

} // namespace
