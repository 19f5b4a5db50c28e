#include "PlayFixture.h"

using namespace corvana;
using namespace corvana::test;

namespace {

class CellEntry : public ::testing::TestWithParam<const char*> {};

INSTANTIATE_TEST_SUITE_P(AllSizes, CellEntry, ::testing::ValuesIn(AllSizes()));

TEST(GridKeys, OnlyDigitsBackspaceArrowsAndDeleteAreGridKeys) {
    for (int code = 0; code < 256; ++code) {
        const bool expected = (code >= 48 && code <= 57) || (code >= 96 && code <= 105) || code == 8 ||
                              (code >= 37 && code <= 40) || code == 46;
        EXPECT_EQ(IsValidGridKey(code), expected) << code;
    }
    EXPECT_FALSE(IsValidGridKey(-1));
    EXPECT_FALSE(IsValidGridKey(48 + 256));
}

TEST_P(CellEntry, DigitsFromEveryKeyReplaceTheCellAndBackspaceClearsEachWithAnUndoRecord) {
    PlayFixture f(GetParam());
    const int cell = *f.FirstWhiteOutsideStarter();
    f.Key(cell, vk::Back);
    EXPECT_EQ(f.form->UndoArray()[1], std::to_string(cell) + ",-1,-1") << "even an empty cell's clearing";
    EXPECT_EQ(f.form->UndoCaption().rfind("Undo Clear of Column ", 0), 0u) << f.form->UndoCaption();
    f.Type(cell, 3);
    f.Type(cell, 7);
    EXPECT_EQ(f.Text(cell), "7") << "never 37 or 73";
    const auto& undo = f.form->UndoArray();
    ASSERT_EQ(undo.size(), 2u);
    EXPECT_EQ(undo[0], "1");
    EXPECT_EQ(undo[1], std::to_string(cell) + ",3,7");
    EXPECT_TRUE(f.form->UndoEnabled());
    for (int d = 0; d <= 9; ++d) {
        EXPECT_EQ(f.Key(cell, vk::Numpad0 + d), vk::Numpad0 + d) << "an accepted key keeps its code";
        EXPECT_EQ(f.Text(cell), std::to_string(d));
        EXPECT_EQ(f.User(cell), d);
        f.Key(cell, vk::Digit0 + (9 - d), 1); // Shift held
        EXPECT_EQ(f.Text(cell), std::to_string(9 - d));
    }
    f.Key(cell, vk::Back);
    EXPECT_EQ(f.Text(cell), "");
    EXPECT_EQ(f.User(cell), -1);
    EXPECT_EQ(f.form->UndoArray()[1], std::to_string(cell) + ",0,-1");
}

TEST_P(CellEntry, OtherKeysAreDiscardedAndChangeNothing) {
    PlayFixture f(GetParam());
    const int cell = *f.FirstWhiteOutsideStarter();
    f.Type(cell, 4);
    const auto undoBefore = f.form->UndoArray();
    for (const int code : std::vector<int>{'A', 'Z', ' ', 13, 9, 27, 47, 58, 95, 106, 110, 190, 36, 35, 45}) {
        int keyCode = code;
        int shift = 1;
        f.form->txtGrid_KeyDown(cell, keyCode, shift);
        EXPECT_EQ(keyCode, 0) << code;
        EXPECT_EQ(shift, 0) << code;
        EXPECT_EQ(f.Text(cell), "4") << code;
    }
    EXPECT_EQ(f.form->UndoArray(), undoBefore);
    EXPECT_TRUE(f.host.focus.empty());
    int ascii = 'x';
    f.form->txtGrid_KeyPress(cell, ascii);
    EXPECT_EQ(ascii, 0);
    int up = vk::Digit0 + 5;
    int shift = 2;
    f.form->txtGrid_KeyUp(cell, up, shift);
    EXPECT_EQ(up, 0);
    EXPECT_EQ(shift, 0);
}

TEST_P(CellEntry, ArrowsMoveByIndexAndStopAtTheGridEdges) {
    PlayFixture f(GetParam());
    const int w = f.W();
    const int last = f.Count() - 1;
    struct Move {
        int cell;
        int key;
        int target; // -1: no move
    };
    const std::vector<Move> moves{
        {0, vk::Left, -1},        {0, vk::Up, -1},
        {w - 1, vk::Up, -1},      {last, vk::Right, -1},
        {last, vk::Down, -1},     {last - w + 1, vk::Down, -1},
        {w - 1, vk::Right, w},    {w, vk::Left, w - 1},
        {0, vk::Down, w},         {w + 3, vk::Up, 3},
        {0, vk::Right, 1},        {last, vk::Left, last - 1},
        {last, vk::Up, last - w}, {last - w, vk::Down, last},
    };
    for (const Move& m : moves) {
        f.host.focus.clear();
        EXPECT_EQ(f.Key(m.cell, m.key), m.key) << "arrows keep their code";
        if (m.target < 0)
            EXPECT_TRUE(f.host.focus.empty()) << m.cell << " key " << m.key;
        else
            EXPECT_EQ(f.host.focus, std::vector<int>{m.target}) << m.cell << " key " << m.key;
    }
}

TEST_P(CellEntry, ArrowsAndDeleteKeepThePreviousUndoRecord) {
    PlayFixture f(GetParam());
    const int cell = *f.FirstWhiteOutsideStarter();
    // On a fresh form they leave Undo disabled.
    f.Key(cell, vk::Delete);
    f.Key(cell, vk::Down);
    EXPECT_EQ(f.form->UndoArray(), std::vector<std::string>{"0"});
    EXPECT_FALSE(f.form->UndoEnabled());
    EXPECT_EQ(f.form->UndoCaption(), "Undo ");
    f.Type(cell, 6);
    const auto undo = f.form->UndoArray();
    const std::string caption = f.form->UndoCaption();
    for (const int key : {vk::Left, vk::Up, vk::Right, vk::Down}) {
        f.Key(cell, key);
        EXPECT_EQ(f.form->UndoArray(), undo) << key;
        EXPECT_EQ(f.form->UndoCaption(), caption) << key;
    }
    // Delete empties the cell itself, with no record of its own.
    EXPECT_EQ(f.Key(cell, vk::Delete), vk::Delete);
    EXPECT_EQ(f.Text(cell), "");
    EXPECT_EQ(f.User(cell), -1);
    EXPECT_EQ(f.form->UndoArray(), undo);
    EXPECT_EQ(f.form->UndoCaption(), caption);
    // The previous action is still what Undo undoes: here the 2 typed over a 6.
    f.Type(cell, 6);
    f.Type(cell, 2);
    f.Key(cell, vk::Delete);
    f.form->mnuUndo_Click();
    EXPECT_EQ(f.Text(cell), "6") << "undo of the 2 typed over the 6";
    EXPECT_FALSE(f.form->UndoEnabled());
}

TEST_P(CellEntry, TheStarterIsRedOnlyForItsRightShownDigitAndBlackSquaresStayBlack) {
    for (const bool hidden : {false, true}) {
        SCOPED_TRACE(hidden ? "hidden" : "shown");
        PlayFixture f(GetParam(), hidden);
        const int first = f.puzzle.StarterFirstCell;
        const int right = f.Solution(first);
        f.Type(first, (right + 1) % 10);
        EXPECT_EQ(f.Cell(first).fore, kBlack);
        f.Key(first, vk::Numpad0 + right);
        EXPECT_EQ(f.Cell(first).fore, hidden ? kBlack : kRed) << "a hidden starter gives nothing away";
        for (const int clear : {vk::Back, vk::Delete}) {
            f.Type(first, right);
            f.Key(first, clear);
            EXPECT_EQ(f.Text(first), "");
            EXPECT_EQ(f.Cell(first).fore, kBlack);
        }
        // Undoing the clearing of a right digit brings it back red, a wrong one black.
        for (const int digit : {right, (right + 4) % 10}) {
            f.Type(first, digit);
            f.Key(first, vk::Back);
            f.form->mnuUndo_Click();
            EXPECT_EQ(f.Text(first), std::to_string(digit));
            EXPECT_EQ(f.Cell(first).fore, digit == right && !hidden ? kRed : kBlack);
        }
        const int cell = *f.FirstWhiteOutsideStarter();
        f.Type(cell, f.Solution(cell));
        EXPECT_EQ(f.Cell(cell).fore, kBlack);
        int black = 0;
        while (f.White(black))
            ++black;
        f.Type(black, 5);
        EXPECT_EQ(f.Text(black), "5") << "stored, but black on black";
        EXPECT_EQ(f.User(black), 5);
        EXPECT_EQ(f.Cell(black).fore, kBlack);
        EXPECT_EQ(f.Cell(black).back, kBlack);
    }
}

TEST_P(CellEntry, KeysOutsideTheGridAreIgnored) {
    PlayFixture f(GetParam());
    for (const int cell : {-1, f.Count(), f.Count() + 7}) {
        int key = vk::Digit0 + 1;
        int shift = 0;
        f.form->txtGrid_KeyDown(cell, key, shift);
        EXPECT_EQ(key, 0);
        f.form->txtGrid_MouseDown(cell);
    }
    EXPECT_EQ(f.form->UndoArray(), std::vector<std::string>{"0"});
    EXPECT_EQ(f.form->FillStartCell(), -1);
    EXPECT_TRUE(f.UserGridMatchesCells());
}

// Undo names the cell by column and row in the form's own width, and gives back what was there.
TEST(UndoCaption, ATypedOrClearedDigitNamesItsCellAndComesBackOnUndo) {
    struct Case {
        const char* name;
        const char* typed;
        int cleared;
        const char* clearing;
    };
    for (const Case& c : {Case{kSmall, "Undo 7 in Column 4 Row 3", 5, "Undo Clear of Column 6 Row 1"},
                          Case{kNormal, "Undo 7 in Column 9 Row 2", 44, "Undo Clear of Column 15 Row 3"},
                          Case{kLarge, "Undo 7 of Column 4 Row 2", 5, "Undo Clear of Column 6 Row 1"}}) {
        SCOPED_TRACE(c.name);
        PlayFixture f(c.name, true);
        f.Type(23, 7);
        EXPECT_EQ(f.form->UndoCaption(), c.typed);
        EXPECT_TRUE(f.form->UndoEnabled());
        f.form->mnuUndo_Click();
        EXPECT_EQ(f.Text(23), "");
        EXPECT_EQ(f.User(23), -1);
        EXPECT_EQ(f.form->UndoCaption(), "Undo ");
        EXPECT_FALSE(f.form->UndoEnabled());
        EXPECT_EQ(f.form->UndoArray(), std::vector<std::string>{"0"});
        f.Type(c.cleared, 3);
        f.Key(c.cleared, vk::Back);
        EXPECT_EQ(f.form->UndoCaption(), c.clearing);
        f.form->mnuUndo_Click();
        EXPECT_EQ(f.Text(c.cleared), "3");
        EXPECT_EQ(f.User(c.cleared), 3);
        EXPECT_EQ(f.Cell(c.cleared).fore, kBlack);
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
    ASSERT_EQ(f.dialogs.messages.size(), 1u) << "a load error, not a crash";
    EXPECT_EQ(f.dialogs.messages[0].text, "Error in loading Small Puzzle H");
    EXPECT_EQ(f.dialogs.messages[0].title, "Corvana");
    ASSERT_TRUE(f.form->UndoEnabled());
    const auto user = f.puzzle.UserArray;
    f.form->mnuUndo_Click();
    EXPECT_EQ(f.puzzle.UserArray, user);
    EXPECT_EQ(f.Text(399), "6") << "nothing restored from a record outside the puzzle";
    EXPECT_FALSE(f.form->UndoEnabled());
}

} // namespace
