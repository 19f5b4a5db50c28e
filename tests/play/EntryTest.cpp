// Cell entry, arrow keys, the one-action undo history and AutoFill, on every size class.

#include "PlayFixture.h"

#include "corvana/Version.h"

#include <cstdlib>

using namespace corvana;
using namespace corvana::test;

namespace {

const std::string kNoRoom = "The number is longer than the room left on the line.  Check that the correct "
                            "AutoFill direction has been selected.  Process aborted.";
const std::string kBlackSquare =
    "The number would cross unusuable spaces from this starting point.  Check that "
    "the correct AutoFill direction has been selected.  Process aborted.";
const std::string kAcrossDown = "You selected an ACROSS value.  This is not meant to be filled down.";
const std::string kDownAcross = "You selected a DOWN value.  This is not meant to be filled across.";

// The shortest (or longest) list length of the template; on the Large form it has a down list too.
int Digits(const PlayFixture& f, bool longest = false) {
    int found = 0;
    for (const int n : f.form->Config().lengths)
        if (f.form->ListCount(n, false) > 0 &&
            (!f.form->Config().separateLists || f.form->ListCount(n, true) > 0) && (found == 0 || longest))
            found = n;
    EXPECT_GT(found, 0) << "no list";
    return found;
}
// Puts a number of `digits` digits with a leading zero into the buffer, taken from the list
// that fits the direction (the Large form has separate down lists); `colour` gets the box's
// colour before the tick.
std::string Buffer(PlayFixture& f, int digits, bool down, ColorValue* colour = nullptr) {
    const std::string number = std::string("0157294836").substr(0, Ix(digits));
    const bool downList = down && f.form->Config().separateLists;
    f.SetCaption(digits, number, downList);
    if (colour != nullptr)
        *colour = f.Box(f.BoxId(digits, 0, downList)).fore;
    f.Pick(digits, 0, downList);
    EXPECT_EQ(f.form->BufferText(), number);
    return number;
}
// No AutoFill start is pending and no square keeps its selection colour.
void ExpectIdle(const PlayFixture& f) {
    EXPECT_EQ(std::pair(f.form->FillStartCell(), f.form->FillSecondCell()), std::pair(-1, -1));
    EXPECT_EQ(f.GridOf([&f](int i) { return f.Cell(i).back == (f.White(i) ? kWhite : kBlack) ? "" : "!"; }),
              std::string(Ix(f.Count()), '.'));
}
// Exactly `count` messages, the last one this text with the program's title and OK alone.
void ExpectMessage(const PlayFixture& f, const std::string& text, std::size_t count = 1) {
    EXPECT_EQ(f.dialogs.messages.size(), count);
    EXPECT_EQ(f.Msg(count - 1), text + "|" + version::Title + "|0");
}

class Entry : public ::testing::TestWithParam<const char*> {};
INSTANTIATE_TEST_SUITE_P(AllSizes, Entry, ::testing::ValuesIn(kAllSizes));

TEST(GridKeys, OnlyDigitsBackspaceArrowsAndDeleteAreGridKeys) {
    for (int code = -1; code < 256 + 49; ++code) {
        const bool expected = (code >= 48 && code <= 57) || (code >= 96 && code <= 105) || code == 8 ||
                              (code >= 37 && code <= 40) || code == 46;
        EXPECT_EQ(IsValidGridKey(code), expected) << code;
    }
}

// Every digit key replaces the cell's digit; Backspace clears it with an undo record, Delete
// without one; arrows and Delete leave the last record as it was; other keys change nothing.
TEST_P(Entry, KeysReplaceOrClearTheDigitAndOnlyDigitsAndBackspaceAreRecorded) {
    PlayFixture f(GetParam());
    const int cell = f.FreeCell();
    const std::string c = std::to_string(cell) + ",", in = f.form->Config().separateLists ? " of " : " in ";
    const std::string place =
        "Column " + std::to_string(cell % f.W() + 1) + " Row " + std::to_string(cell / f.W() + 1);
    f.Key(cell, vk::Delete);
    f.Key(cell, vk::Down);
    EXPECT_EQ(f.Undo(), "0 |Undo |off");
    f.Key(cell, vk::Back);
    EXPECT_EQ(f.Undo(), "1 " + c + "-1,-1 |Undo Clear of " + place + "|on")
        << "even an empty cell's clearing";
    f.Type(cell, 3);
    f.Type(cell, 7);
    EXPECT_EQ(f.Entry(cell), "7:7") << "never 37 or 73";
    EXPECT_EQ(f.Undo(), "1 " + c + "3,7 |Undo 7" + in + place + "|on");
    for (int d = 0; d <= 9; ++d) {
        EXPECT_EQ(f.Key(cell, vk::Numpad0 + d), vk::Numpad0 + d) << "an accepted key keeps its code";
        EXPECT_EQ(f.Entry(cell), std::to_string(d) + ":" + std::to_string(d));
        f.Key(cell, vk::Digit0 + (9 - d), 1); // Shift held
        EXPECT_EQ(f.Text(cell), std::to_string(9 - d));
    }
    const std::string undo = f.Undo();
    f.host.focus.clear(); // the Down above moved it
    for (const int code : {int{'A'}, int{'Z'}, int{' '}, 13, 9, 27, 47, 58, 95, 106, 110, 190, 36, 35, 45}) {
        int keyCode = code, shift = 1;
        f.form->txtGrid_KeyDown(cell, keyCode, shift);
        EXPECT_EQ(keyCode + shift, 0) << code;
    }
    EXPECT_TRUE(f.host.focus.empty());
    for (const int key : {vk::Left, vk::Up, vk::Right, vk::Down})
        EXPECT_EQ(f.Key(cell, key), key) << "arrows keep their code";
    EXPECT_EQ(f.Text(cell), "0");
    EXPECT_EQ(f.Key(cell, vk::Delete), vk::Delete);
    EXPECT_EQ(f.Entry(cell), ":-1");
    EXPECT_EQ(f.Undo(), undo);
    int ascii = 'x', up = vk::Digit0 + 5, shift = 2;
    f.form->txtGrid_KeyPress(cell, ascii);
    f.form->txtGrid_KeyUp(cell, up, shift);
    EXPECT_EQ(ascii + up + shift, 0);
    // Undo gives back what the last record replaced, here the 2 typed over a 6, even after Delete.
    f.Type(cell, 6);
    f.Type(cell, 2);
    f.Key(cell, vk::Delete);
    f.form->mnuUndo_Click();
    EXPECT_EQ(f.Entry(cell), "6:6");
    EXPECT_EQ(f.Undo(), "0 |Undo |off");
    f.Key(cell, vk::Back);
    f.form->mnuUndo_Click();
    EXPECT_EQ(f.Entry(cell), "6:6");
    // Keys and presses outside the grid do nothing.
    for (const int outside : {-1, f.Count(), f.Count() + 7}) {
        int key = vk::Digit0 + 1, none = 0;
        f.form->txtGrid_KeyDown(outside, key, none);
        EXPECT_EQ(key, 0);
        f.form->txtGrid_MouseDown(outside);
    }
    EXPECT_EQ(f.Undo(), "0 |Undo |off");
    EXPECT_EQ(f.form->FillStartCell(), -1);
    EXPECT_TRUE(f.UserGridMatchesCells());
}

TEST_P(Entry, ArrowsMoveByIndexAndStopAtTheGridEdges) {
    PlayFixture f(GetParam());
    const int w = f.W(), last = f.Count() - 1;
    const struct {
        int cell, key, target; // target -1: no move
    } moves[] = {{0, vk::Left, -1},        {0, vk::Up, -1},           {w - 1, vk::Up, -1},
                 {last, vk::Right, -1},    {last, vk::Down, -1},      {last - w + 1, vk::Down, -1},
                 {w - 1, vk::Right, w},    {w, vk::Left, w - 1},      {0, vk::Down, w},
                 {w + 3, vk::Up, 3},       {0, vk::Right, 1},         {last, vk::Left, last - 1},
                 {last, vk::Up, last - w}, {last - w, vk::Down, last}};
    for (const auto& m : moves) {
        f.host.focus.clear();
        f.Key(m.cell, m.key);
        EXPECT_EQ(f.host.focus, m.target < 0 ? std::vector<int>{} : std::vector<int>{m.target})
            << m.cell << " key " << m.key;
    }
}

TEST(UndoRecords, MalformedRecordsAreReadSafelyAndOnesOutsideTheGridIgnored) {
    for (const std::string bad : {"", "abc", "1,2", ",", "12;3;4", "-", "7,", "1,99999,2"}) {
        int grid = 91, oldValue = 92, newValue = 93;
        PlayForm::BreakDownUndoArray(bad, grid, oldValue, newValue);
        EXPECT_EQ(std::tuple(grid, oldValue, newValue), std::tuple(91, 92, 93)) << bad;
    }
    int grid = 0, oldValue = 0, newValue = 0;
    PlayForm::BreakDownUndoArray(" 23,-1,+7", grid, oldValue, newValue);
    EXPECT_EQ(std::tuple(grid, oldValue, newValue), std::tuple(23, -1, 7));

    // The shared puzzle changes size under an open Large form (a failed load of a Small
    // puzzle); its undo record for cell 399 now points past the puzzle's grids.
    PlayFixture f(kLarge, true);
    f.Type(399, 5);
    f.Type(399, 6);
    f.puzzle.PuzzleName = kSmall;
    ASSERT_TRUE(GeneratePuzzle(f.puzzle, f.dialogs, 5));
    f.form->LoadPuzzle(false);
    EXPECT_EQ(f.Texts(), std::vector<std::string>{"Error in loading Small Puzzle H"});
    EXPECT_EQ(f.Msg(), "Error in loading Small Puzzle H|Corvana|0");
    const auto user = f.puzzle.UserArray;
    f.form->mnuUndo_Click();
    EXPECT_EQ(f.puzzle.UserArray, user);
    EXPECT_EQ(f.Text(399), "6") << "nothing restored from a record outside the puzzle";
    EXPECT_EQ(f.Undo(), "0 |Undo |off");
}

// The second square gives the direction: more columns than rows to the right is across, a tie
// too; below is down. The fill writes the number, empties the buffer and records one undo step;
// undoing it restores the cells and unticks the number.
TEST_P(Entry, AFillWritesAcrossOrDownAndUndoTakesItBack) {
    for (const int kind : {0, 1, 2}) {
        const bool down = kind == 1;
        SCOPED_TRACE(kind == 0 ? "across" : kind == 1 ? "down" : "tie");
        PlayFixture f(GetParam());
        const int n = Digits(f), step = down ? f.W() : 1;
        ColorValue listColour = 0;
        const std::string number = Buffer(f, n, down, &listColour);
        const int id = f.BoxId(n, 0, down && f.form->Config().separateLists);
        const int start = *f.WhiteRun(n, down);
        f.Type(start, 0);
        f.form->txtGrid_MouseDown(start);
        EXPECT_EQ(f.Cell(start).back, kBlue);
        EXPECT_EQ(f.form->FillStartCell(), start);
        f.form->txtGrid_MouseDown(kind == 2 ? start + f.W() + 1 : start + 2 * step);
        EXPECT_EQ(f.form->AutoFillDown(), down);
        EXPECT_EQ(f.Run(start, n, step), number);
        EXPECT_TRUE(f.UserGridMatchesCells());
        EXPECT_EQ(f.form->BufferCaption(), "Buffer = ");
        std::string undo = std::to_string(n) + " ";
        for (int k = 0; k < n; ++k)
            undo += std::to_string(start + k * step) + (k == 0 ? ",0," : ",-1,") + number[Ix(k)] + " ";
        EXPECT_EQ(f.Undo(), undo + "|Undo " + number + "|on");
        EXPECT_TRUE(f.dialogs.messages.empty());
        EXPECT_TRUE(f.host.focus.empty()) << "the focus does not move";
        ExpectIdle(f);

        f.form->BoxClick(f.UntickedBox()); // the buffer takes another number before the undo
        const int other = f.TickedIds().back();
        f.form->mnuUndo_Click();
        EXPECT_EQ(f.Run(start, n, step), "0" + std::string(Ix(n - 1), '.'));
        EXPECT_EQ(std::tuple(f.Box(id).value, f.Box(id).fore, f.Box(other).value),
                  std::tuple(0, listColour, 1))
            << "only the filled number is unticked";
        EXPECT_EQ(f.form->BufferCaption(), "Buffer = ");
        EXPECT_EQ(f.Undo(), "0 |Undo |off");
        EXPECT_TRUE(f.UserGridMatchesCells());
        f.form->BoxClick(id);
        f.form->BoxClick(id); // unticked by the user before the fill: the undo leaves it so
        f.Fill(start, start + 2 * step);
        f.form->mnuUndo_Click();
        EXPECT_EQ(f.Box(id).value, 0);
    }
}

// The longest number where the line has no room for it, the shortest where a black square
// lies in its way: one OK message, nothing written, the buffer kept.
TEST_P(Entry, ANumberWithoutRoomOrCrossingABlackSquareIsRefusedAndKept) {
    for (const bool blocked : {false, true})
        for (const bool down : {false, true}) {
            SCOPED_TRACE(std::string(blocked ? "black square " : "no room ") + (down ? "down" : "across"));
            PlayFixture f(GetParam());
            const int n = Digits(f, !blocked), w = f.W(), step = down ? w : 1;
            const std::string number = Buffer(f, n, down);
            int start = -1;
            for (int s = 0; s < f.Count() && start < 0; ++s) {
                if (!f.White(s) || f.InStarter(s) || s + step >= f.Count())
                    continue;
                const bool room = (down ? s / w : s % w) + n - 1 <= w - 1;
                bool crosses = false;
                for (int k = 1; room && k < n; ++k)
                    crosses = crosses || !f.White(s + k * step);
                if (blocked ? crosses : !room)
                    start = s;
            }
            ASSERT_GE(start, 0);
            const auto before = f.puzzle.UserArray;
            f.Fill(start, start + step);
            ExpectMessage(f, blocked ? kBlackSquare : kNoRoom);
            EXPECT_EQ(f.puzzle.UserArray, before);
            EXPECT_EQ(f.form->BufferText() + f.Undo(), number + "0 |Undo |off");
            ExpectIdle(f);
        }
}

TEST_P(Entry, ABlackSquareOrAnEarlierSquareAndShortBuffersDoNothing) {
    PlayFixture f(GetParam());
    const int n = Digits(f), start = *f.WhiteRun(n, false);
    f.Fill(start, start + 1); // an empty buffer
    EXPECT_EQ(f.Text(start), "");
    EXPECT_FALSE(f.form->AutoFillFromBuffer(start));
    // On the Large form "7" comes from a down list and is filled across: the length is
    // checked before the direction. A caption that is no number is never written.
    for (const std::string odd : {"7", "ab"}) {
        const bool down = f.form->Config().separateLists && odd == "7";
        f.SetCaption(n, odd, down);
        f.Pick(n, 0, down);
        f.Fill(start, start + 1);
        EXPECT_EQ(f.Text(start) + f.form->BufferText(), odd);
        ExpectIdle(f);
    }
    EXPECT_TRUE(f.dialogs.messages.empty());

    Buffer(f, n, false);
    f.form->txtGrid_MouseDown(f.FirstBlack());
    ExpectIdle(f);
    int laterBlack = start + 1;
    while (f.White(laterBlack) ||
           std::abs(laterBlack % f.W() - start % f.W()) < laterBlack / f.W() - start / f.W())
        ++laterBlack;
    // An earlier square, or the start again, cancels the selection; a black square gives the direction.
    for (const int earlier : {start, 0}) {
        f.Fill(start, earlier);
        ExpectIdle(f);
        EXPECT_EQ(f.Text(start), "");
    }
    f.Fill(start, laterBlack);
    EXPECT_EQ(f.Text(start), "0");
    ExpectIdle(f);
    EXPECT_TRUE(f.dialogs.messages.empty());
}

TEST(AutoFillNormal, DifferentDigitsAskBeforeTheyAreOverwritten) {
    for (const Answer answer : {Answer::No, Answer::Cancel, Answer::Yes}) {
        SCOPED_TRACE(static_cast<int>(answer));
        PlayFixture f(kNormal);
        const int n = Digits(f);
        const std::string number = Buffer(f, n, false);
        const int start = *f.WhiteRun(n, false);
        f.Type(start, 0);     // the same digit: no conflict
        f.Type(start + 1, 9); // differs from the 1 of 01...
        const std::string undoBefore = f.Undo();
        f.dialogs.answers.push_back(answer);
        f.Fill(start, start + 1);
        EXPECT_EQ(f.Texts().size(), 1u);
        EXPECT_EQ(f.Msg(), "One or more numbers that exist in the squares that you are filling with " +
                               number +
                               " conflict.  This could invalidate some entered values.  Do you want to "
                               "overwrite?|Confirm Overwrite|1");
        EXPECT_EQ(f.Run(start, 2, 1) + f.Undo() + f.form->BufferText(),
                  answer == Answer::Yes
                      ? "01" + std::to_string(n) + " " + std::to_string(start) + ",0,0 " +
                            std::to_string(start + 1) + ",9,1" + f.Undo().substr(f.Undo().find(",9,1") + 4)
                      : "09" + undoBefore + number);
        ExpectIdle(f);
    }
}

TEST(AutoFillLarge, AnAcrossNumberIsNotFilledDownNorADownNumberAcross) {
    PlayFixture f(kLarge);
    const int start = *f.WhiteRun(3, false), downStart = *f.WhiteRun(3, true);
    f.Pick(3, 0, false);
    const std::string across = f.form->BufferText();
    f.Fill(downStart, downStart + 2 * f.W());
    ExpectMessage(f, kAcrossDown);
    EXPECT_EQ(f.form->BufferText() + f.Run(downStart, 3, f.W()), across + "...");
    f.Fill(start, start + 1);
    EXPECT_EQ(f.Run(start, 3, 1) + f.form->BufferText(), across);

    f.Pick(3, 1, true);
    const std::string down = f.form->BufferText();
    const int other = *f.WhiteRun(3, true);
    f.Fill(other, other + 1);
    ExpectMessage(f, kDownAcross, 2);
    EXPECT_EQ(f.form->BufferText(), down);
    f.Fill(other, other + f.W());
    EXPECT_EQ(f.Run(other, 3, f.W()), down);
}

} // namespace
