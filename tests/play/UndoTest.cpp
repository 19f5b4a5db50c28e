#include "PlayFixture.h"

using namespace corvana;
using namespace corvana::test;

namespace {

TEST(UndoCaption, ATypedDigitNamesItsColumnAndRowInTheFormsWidth) {
    struct Case {
        const char* name;
        const char* caption;
    };
    for (const Case& c : {Case{kSmall, "Undo 7 in Column 4 Row 3"}, Case{kNormal, "Undo 7 in Column 9 Row 2"},
                          Case{kLarge, "Undo 7 of Column 4 Row 2"}}) {
        SCOPED_TRACE(c.name);
        PlayFixture f(c.name, true);
        f.Type(23, 7);
        EXPECT_EQ(f.form->UndoCaption(), c.caption);
        EXPECT_TRUE(f.form->UndoEnabled());
        f.form->mnuUndo_Click();
        EXPECT_EQ(f.Text(23), "");
        EXPECT_EQ(f.User(23), -1);
        EXPECT_EQ(f.form->UndoCaption(), "Undo ");
        EXPECT_FALSE(f.form->UndoEnabled());
        EXPECT_EQ(f.form->UndoArray(), std::vector<std::string>{"0"});
    }
}

TEST(UndoCaption, AClearingNamesItsCellOnEveryForm) {
    for (const char* name : AllSizes()) {
        SCOPED_TRACE(name);
        PlayFixture f(name, true);
        f.Type(5, 3);
        f.Key(5, vk::Back);
        EXPECT_EQ(f.form->UndoCaption(), "Undo Clear of Column 6 Row 1");
        f.form->mnuUndo_Click();
        EXPECT_EQ(f.Text(5), "3");
        EXPECT_EQ(f.User(5), 3);
        EXPECT_EQ(f.Cell(5).fore, kBlack);
    }
    PlayFixture f(kNormal, true);
    const int cell = 2 * 15 + 14; // last column, third row
    f.Key(cell, vk::Back);
    EXPECT_EQ(f.form->UndoCaption(), "Undo Clear of Column 15 Row 3");
}

TEST(UndoStarter, AStarterDigitComesBackRedOnlyWhenRightAndShown) {
    for (const bool hidden : {false, true}) {
        PlayFixture f(kSmall, hidden);
        const int first = f.puzzle.StarterFirstCell;
        const int right = f.Solution(first);
        const int wrong = (right + 4) % 10;
        f.Type(first, right);
        f.Key(first, vk::Back);
        f.form->mnuUndo_Click();
        EXPECT_EQ(f.Text(first), std::to_string(right));
        EXPECT_EQ(f.Cell(first).fore, hidden ? kBlack : kRed);
        f.Type(first, wrong);
        f.Key(first, vk::Back);
        f.form->mnuUndo_Click();
        EXPECT_EQ(f.Text(first), std::to_string(wrong));
        EXPECT_EQ(f.Cell(first).fore, kBlack);
    }
}

TEST(UndoSingle, OnlyTheLastActionIsUndoneAndOnlyOnce) {
    for (const char* name : AllSizes()) {
        SCOPED_TRACE(name);
        PlayFixture f(name);
        const int a = *f.FirstWhiteOutsideStarter();
        const int b = f.Count() - 1;
        const int id = f.UntickedBox();
        f.form->BoxClick(id);
        const std::string buffer = f.form->BufferText();
        f.Type(a, 4);
        f.Type(b, 5);
        f.form->mnuUndo_Click();
        EXPECT_EQ(f.Text(a), "4");
        EXPECT_EQ(f.Text(b), "");
        f.form->mnuUndo_Click(); // the entry is disabled: nothing happens
        EXPECT_EQ(f.Text(a), "4");
        EXPECT_TRUE(f.UserGridMatchesCells());
        EXPECT_EQ(f.Box(id).value, 1) << "a one-cell undo leaves the lists and the buffer alone";
        EXPECT_EQ(f.form->BufferCaption(), "Buffer = " + buffer);
    }
}

class UndoFill : public ::testing::TestWithParam<const char*> {};

// Templates with a 4-digit list in each size class.
INSTANTIATE_TEST_SUITE_P(FourDigitLists, UndoFill,
                         ::testing::Values("Small Puzzle Wheel", "Normal Puzzle Plus",
                                           "Large Puzzle Crazy Eights"));

TEST_P(UndoFill, UndoingAFillRestoresTheCellsUnticksTheNumberAndEmptiesTheBuffer) {
    PlayFixture f(GetParam());
    f.SetCaption(4, "0157");
    const ColorValue listColour = f.Box(f.BoxId(4, 0)).fore;
    const int id = f.Pick(4, 0);
    ASSERT_EQ(f.Box(id).value, 1);
    const int start = *f.WhiteRun(4, false);
    f.Type(start, 0);
    f.Type(start + 1, 1);
    f.Fill(start, start + 1);
    ASSERT_EQ(f.Text(start + 3), "7");
    EXPECT_EQ(f.form->UndoCaption(), "Undo 0157");
    f.Pick(4, 1); // the buffer takes another number before the undo
    f.form->mnuUndo_Click();
    EXPECT_EQ(f.Text(start), "0");
    EXPECT_EQ(f.Text(start + 1), "1");
    EXPECT_EQ(f.Text(start + 2), "");
    EXPECT_EQ(f.Text(start + 3), "");
    EXPECT_EQ(f.Box(id).value, 0);
    EXPECT_EQ(f.Box(id).fore, listColour);
    EXPECT_EQ(f.Box(f.BoxId(4, 1)).value, 1) << "only the filled number is unticked";
    EXPECT_EQ(f.form->BufferText(), "");
    EXPECT_EQ(f.form->BufferCaption(), "Buffer = ");
    EXPECT_FALSE(f.form->UndoEnabled());
    EXPECT_EQ(f.form->UndoCaption(), "Undo ");
    EXPECT_TRUE(f.UserGridMatchesCells());

    // A number the user unticked before filling stays unticked; the buffer is still emptied.
    f.form->BoxClick(id);
    f.form->BoxClick(id);
    ASSERT_EQ(f.Box(id).value, 0);
    f.Fill(start, start + 1);
    f.Pick(4, 2);
    f.form->mnuUndo_Click();
    EXPECT_EQ(f.Box(id).value, 0);
    EXPECT_EQ(f.form->BufferText(), "");
}

TEST(UndoFillLarge, TheFillsOwnListIsUntickedWhateverWasClickedSince) {
    for (const bool down : {false, true}) {
        SCOPED_TRACE(down ? "down fill" : "across fill");
        PlayFixture f(kLarge);
        f.puzzle.Captions[4].at(0) = "0157";
        f.puzzle.CaptionsDown[4].at(0) = "0157";
        f.form->LoadPuzzle(false);
        const int other = f.BoxId(4, 0, !down);
        if (down)
            f.form->BoxClick(other);
        const int filled = f.Pick(4, 0, down);
        const int start = *f.WhiteRun(4, down);
        f.Fill(start, start + (down ? f.W() : 1));
        ASSERT_EQ(f.Text(start + 3 * (down ? f.W() : 1)), "7");
        if (!down) // the user ticks the same number in the down list before undoing
            f.form->BoxClick(other);
        f.form->mnuUndo_Click();
        EXPECT_EQ(f.Box(filled).value, 0);
        EXPECT_EQ(f.Box(other).value, 1) << "the other list's tick stays";
    }
}

TEST(UndoRecords, MalformedRecordsAreReadSafely) {
    for (const std::string bad : {"", "abc", "1,2", ",", "12;3;4", "-", "7,"}) {
        int grid = 91;
        int oldValue = 92;
        int newValue = 93;
        PlayForm::BreakDownUndoArray(bad, grid, oldValue, newValue);
        EXPECT_EQ(grid, 91) << bad;
        EXPECT_EQ(oldValue, 92) << bad;
        EXPECT_EQ(newValue, 93) << bad;
    }
    // Two commas but fields that are no numbers, or too large: read without a fault.
    for (const std::string odd : {",,", "1,2,x", "70000,1,2", "1,2,3,4", "99999999999999999999,1,1"}) {
        int grid = 0;
        int oldValue = 0;
        int newValue = 0;
        PlayForm::BreakDownUndoArray(odd, grid, oldValue, newValue);
        EXPECT_GE(grid, -32768) << odd;
        EXPECT_LE(grid, 32767) << odd;
    }
    int grid = 0;
    int oldValue = 0;
    int newValue = 0;
    PlayForm::BreakDownUndoArray("23,-1,7", grid, oldValue, newValue);
    EXPECT_EQ(grid, 23);
    EXPECT_EQ(oldValue, -1);
    EXPECT_EQ(newValue, 7);
}

TEST(UndoRecords, ARecordOutsideTheGridIsIgnored) {
    // The shared puzzle changes size under an open Large form (a failed load of a Small
    // puzzle); its undo record for cell 399 now points past the puzzle's grids.
    PlayFixture f(kLarge, true);
    f.Type(399, 5);
    f.Type(399, 6);
    f.puzzle.PuzzleName = kSmall;
    ASSERT_TRUE(GeneratePuzzle(f.puzzle, f.dialogs, 5));
    f.form->LoadPuzzle(false);
    ASSERT_EQ(f.dialogs.messages.size(), 1u) << "the load error";
    ASSERT_TRUE(f.form->UndoEnabled());
    const auto user = f.puzzle.UserArray;
    f.form->mnuUndo_Click();
    EXPECT_EQ(f.puzzle.UserArray, user);
    EXPECT_EQ(f.Text(399), "6") << "nothing restored from a record outside the puzzle";
    EXPECT_FALSE(f.form->UndoEnabled());
}

} // namespace
