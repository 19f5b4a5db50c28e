// Cell entry, arrow keys, the one-action undo history and AutoFill, on every size class.

#include "PlayFixture.h"

#include <cstdlib>
#include <map>

using namespace corvana;
using namespace corvana::test;

namespace {

// The advice both refusals of a start end with.
const std::string kCheck = "  Check that the correct AutoFill direction has been selected.  Process aborted.";
const std::string kNoRoom = "The number is longer than the room left on the line." + kCheck;
const std::string kBlackSquare = "The number would cross unusuable spaces from this starting point." + kCheck;
const std::string kAcrossDown = "You selected an ACROSS value.  This is not meant to be filled down.";
const std::string kDownAcross = "You selected a DOWN value.  This is not meant to be filled across.";

// The shortest (or longest) list length of the template.
int Digits(const PlayFixture& f, bool longest = false) {
    const auto& lists = FindTemplate(f.puzzle.PuzzleName)->lists;
    return (longest ? lists.back() : lists.front()).digits;
}
// Puts a number of `digits` digits with a leading zero into the buffer, taken from the down list
// if `down` and the form has one. The number replaces the list's first caption and the lists are
// laid out again (the puzzle itself keeps its numbers), so the test chooses the number it fills.
std::string Buffer(PlayFixture& f, int digits, bool down) {
    const std::string number = std::string("0157294836").substr(0, Ix(digits));
    down = down && f.form->Config().separateLists;
    (down ? f.puzzle.CaptionsDown : f.puzzle.Captions)[Ix(digits)].at(0) = number;
    f.form->LoadPuzzle(false);
    f.Pick(digits, 0, down);
    return number;
}
// No AutoFill start is pending, and so no square is coloured as one.
void ExpectIdle(const PlayFixture& f) {
    EXPECT_EQ(std::pair(f.form->FillStartCell(), f.form->FillSecondCell()), std::pair(-1, -1));
    for (int i = 0; i < f.Count(); ++i)
        ASSERT_EQ(f.Cell(i).back, f.White(i) ? kWhite : kBlack) << "only a pending start is blue: " << i;
}

class Entry : public ::testing::TestWithParam<const char*> {};
INSTANTIATE_TEST_SUITE_P(AllSizes, Entry, ::testing::ValuesIn(kAllSizes));

// Every digit key replaces the cell's digit; Backspace clears it with an undo record, Delete
// without one; arrows move by index, stop at the grid's edges and, like Delete, leave the last
// record as it was; other keys change nothing.
TEST_P(Entry, KeysReplaceOrClearTheDigitArrowsMoveAndOnlyDigitsAndBackspaceAreRecorded) {
    PlayFixture f(GetParam());
    const int cell = f.FreeCell(), w = f.W(), last = f.Count() - 1;
    const std::string c = std::to_string(cell) + ",", in = f.form->Config().separateLists ? " of " : " in ";
    const std::string at = "Column " + std::to_string(cell % w + 1) + " Row " + std::to_string(cell / w + 1);
    f.Key(cell, vk::Back); // even an empty cell's clearing is recorded
    EXPECT_EQ(f.Undo(), "1 " + c + "-1,-1 |Undo Clear of " + at + "|on");
    f.Type(cell, 3);
    f.Type(cell, 7);
    EXPECT_EQ(f.Entry(cell), "7:7");
    EXPECT_EQ(f.Undo(), "1 " + c + "3,7 |Undo 7" + in + at + "|on");
    for (int d = 0; d <= 9; ++d) {
        EXPECT_EQ(f.Key(cell, vk::Numpad0 + d), vk::Numpad0 + d);
        EXPECT_EQ(f.Entry(cell), std::to_string(d) + ":" + std::to_string(d));
        f.Key(cell, vk::Digit0 + (9 - d), 1); // Shift held
        EXPECT_EQ(f.Text(cell), std::to_string(9 - d));
    }
    const std::string undo = f.Undo();
    for (const int code : {int{'A'}, int{'Z'}, int{' '}, 13, 9, 27, 47, 58, 95, 106, 110, 190, 36, 35, 45})
        EXPECT_EQ(f.Key(cell, code, 1), 0) << code; // with Shift held
    // From every square each arrow moves by its step (Left and Right run on across the rows' ends)
    // to the first white square that way, passing over black ones; past the grid's edge there
    // is none and the focus stays.
    for (int from = 0; from <= last; ++from)
        for (auto [key, step] : {std::pair(vk::Left, -1), {vk::Right, 1}, {vk::Up, -w}, {vk::Down, w}}) {
            f.host.focus.clear();
            EXPECT_EQ(f.Key(from, key), key);
            int expected = from + step;
            while (expected >= 0 && expected <= last && !f.White(expected))
                expected += step;
            // The focus moves there, or nowhere when the key leads off the grid.
            EXPECT_EQ(f.host.focus, std::vector<int>(expected >= 0 && expected <= last, expected))
                << from << " key " << key;
        }
    // A black square takes no digit and no clearing.
    const int black = f.FirstBlack();
    for (const int code : {vk::Digit0 + 9, vk::Numpad0 + 4, int{vk::Back}, int{vk::Delete}})
        EXPECT_EQ(f.Key(black, code, 1), 0) << code;
    EXPECT_EQ(std::pair(f.Entry(black), f.Undo()), std::pair(std::string(":-1"), undo));
    EXPECT_EQ(f.Key(cell, vk::Delete), vk::Delete);
    EXPECT_EQ(std::pair(f.Entry(cell), f.Undo()), std::pair(std::string(":-1"), undo));
    // Undo gives back what the last record replaced, digits at their edges: the 0 a 9 was typed
    // over, even after Delete; the 9 Backspace cleared.
    f.Type(cell, 0);
    for (const auto& [key, restored] : {std::pair(vk::Delete, "0:0"), std::pair(vk::Back, "9:9")}) {
        f.Type(cell, 9);
        f.Key(cell, key);
        f.form->mnuUndo_Click();
        EXPECT_EQ(f.Entry(cell), restored) << key;
    }
    // The user grid holds the digits the cells show.
    EXPECT_EQ(f.GridOf([&](int i) { return f.User(i) < 0 ? "" : std::to_string(f.User(i)); }), f.Grid());
}

TEST(UndoRecords, MalformedRecordsAreReadSafelyAndOnesOutsideTheGridIgnored) {
    // A record is three fields of whole numbers of 16 bits, a leading space and signs allowed, what
    // follows a number ignored and a field without one 0; anything else leaves the values alone.
    const std::tuple<int, int, int> untouched{91, 92, 93};
    const std::map<std::string, std::tuple<int, int, int>> cases = {
        {"", untouched},           {"abc", untouched},         {"1,2", untouched},
        {",", untouched},          {"12;3;4", untouched},      {"-", untouched},
        {"7,", untouched},         {"1,99999,2", untouched},   {"32768,1,2", untouched},
        {"1,-32769,2", untouched}, {" 23,-1,+7", {23, -1, 7}}, {"32767,-32768,0", {32767, -32768, 0}},
        {"5,x,9z", {5, 0, 9}}};
    for (const auto& [record, expected] : cases) {
        auto [grid, oldValue, newValue] = untouched;
        PlayForm::BreakDownUndoArray(record, grid, oldValue, newValue);
        EXPECT_EQ(std::tuple(grid, oldValue, newValue), expected) << '"' << record << '"';
    }

    // The shared puzzle changes size under an open Large form (a failed load of a Small
    // puzzle); its undo record for cell 399 now points past the puzzle's grids.
    PlayFixture f(kLarge, true);
    const int end = f.LastWhite(); // past the Small grid
    f.Type(end, 5);
    f.Type(end, 6);
    // A kept game's record of a value that is no digit restores nothing either.
    PlayRecord typed = f.form->CapturePlay(), kept = typed;
    kept.undo = {"2", std::to_string(end) + ",5,10", std::to_string(end) + ",10,5"};
    f.form->RestorePlay(kept);
    f.form->mnuUndo_Click();
    EXPECT_EQ(f.Text(end), "6");
    f.form->RestorePlay(typed);
    f.puzzle.PuzzleName = kSmall;
    ASSERT_TRUE(GeneratePuzzle(f.puzzle, 5));
    f.form->LoadPuzzle(false);
    EXPECT_EQ(f.dialogs.messages, std::vector{Notice("Error in loading Small Puzzle H")});
    const auto user = f.puzzle.UserArray;
    f.form->mnuUndo_Click();
    EXPECT_EQ(std::tuple(f.puzzle.UserArray, f.Text(end), f.Undo()), std::tuple(user, "6", "0 |Undo |off"));
}

// The second square gives the direction: more columns than rows to the right is across, a tie
// too; below is down. The fill writes the number, empties the buffer and records one undo step;
// undoing it restores the cells and unticks the number.
TEST_P(Entry, AFillWritesAcrossOrDownAndUndoTakesItBack) {
    for (const int kind : {0, 1, 2}) {
        const bool down = kind == 1;
        PlayFixture f(GetParam());
        const int n = Digits(f), step = down ? f.W() : 1, start = *f.WhiteRun(n, down);
        const int id = f.form->FindBox(n, down && f.form->Config().separateLists, 0);
        const ColorValue listColour = f.Box(id).fore;
        const std::string number = Buffer(f, n, down);
        f.Type(start, 0);
        f.Fill(start, kind == 2 ? start + f.W() + 1 : start + 2 * step);
        EXPECT_EQ(std::tuple(f.form->AutoFillDown(), f.Run(start, n, step), f.form->BufferCaption()),
                  std::tuple(down, number, std::string("Buffer = ")));
        std::string undo = std::to_string(n) + " ";
        for (int k = 0; k < n; ++k)
            undo += std::to_string(start + k * step) + (k == 0 ? ",0," : ",-1,") + number[Ix(k)] + " ";
        // No message, and the focus does not move.
        EXPECT_EQ(std::tuple(f.Undo(), f.dialogs.messages.size(), f.host.focus.size()),
                  std::tuple(undo + "|Undo " + number + "|on", 0u, 0u));
        ExpectIdle(f);

        f.form->BoxClick(f.UntickedBox()); // the buffer takes another number before the undo
        const int other = f.TickedIds().back();
        f.form->mnuUndo_Click();
        // The cells emptied but for the typed 0, and only the filled number unticked.
        EXPECT_EQ(std::tuple(f.Run(start, n, step), f.Box(id).value, f.Box(id).fore, f.Box(other).value),
                  std::tuple("0" + std::string(Ix(n - 1), '.'), 0, listColour, 1));
        EXPECT_EQ(f.form->BufferCaption() + f.Undo(), "Buffer = 0 |Undo |off");
        EXPECT_EQ(f.GridOf([&](int i) { return f.User(i) < 0 ? "" : std::to_string(f.User(i)); }), f.Grid());
    }
}

// A refused fill writes nothing and keeps the buffer and the undo record: the longest number
// where the line has no room for it, the shortest where a black square lies in its way, a
// number filled the other way than its list (Large only), and digits in the way the user does
// not want overwritten. Overwriting them when the user agrees is one undo step.
TEST_P(Entry, ARefusedFillWritesNothingAndKeepsTheBuffer) {
    const struct {
        int kind; // 0 no room, 1 black square, 2 the other direction, 3 digits in the way
        bool listDown, fillDown;
        const std::string* message;
    } rows[] = {{0, false, false, &kNoRoom},      {0, true, true, &kNoRoom},
                {1, false, false, &kBlackSquare}, {1, true, true, &kBlackSquare},
                {2, false, true, &kAcrossDown},   {2, true, false, &kDownAcross},
                {3, false, false, nullptr}};
    for (const auto& r : rows) {
        PlayFixture f(GetParam());
        if (r.kind == 2 && !f.form->Config().separateLists)
            continue;
        const int n = Digits(f, r.kind == 0), w = f.W(), step = r.fillDown ? w : 1;
        const std::string number = Buffer(f, n, r.listDown);
        int start = -1;
        for (int s = 0; s < f.Count() && start < 0; ++s) {
            if (!f.White(s) || f.InStarter(s) || s + step >= f.Count())
                continue;
            const bool room = (r.fillDown ? s / w : s % w) + n - 1 <= w - 1;
            bool crosses = false;
            for (int k = 1; room && k < n; ++k)
                crosses = crosses || !f.White(s + k * step);
            if (r.kind == 0 ? !room : r.kind == 1 ? crosses : room && !crosses)
                start = s;
        }
        if (r.kind == 3) {
            f.Type(start, 0);     // the same digit: no conflict
            f.Type(start + 1, 9); // differs from the 1 of 01...
            f.dialogs.answers.push_back(Answer::No);
        }
        const auto before = std::tuple(f.puzzle.UserArray, number, f.Undo());
        f.Fill(start, start + step);
        const std::string ask = "One or more numbers that exist in the squares that you are filling with " +
                                number + " conflict.  This could invalidate some entered values.  " +
                                "Do you want to overwrite?";
        const Message conflict{ask, "Confirm Overwrite", Buttons::YesNo, Icon::None};
        EXPECT_EQ(f.dialogs.messages, std::vector{r.message ? Notice(*r.message) : conflict});
        EXPECT_EQ(std::tuple(f.puzzle.UserArray, f.form->BufferText(), f.Undo()), before);
        ExpectIdle(f);
        if (r.kind == 3) {
            f.dialogs.answers.push_back(Answer::Yes);
            f.Fill(start, start + 1);
            EXPECT_EQ(f.Run(start, n, 1) + f.Undo().substr(0, f.Undo().find(",9,1") + 4),
                      number + std::to_string(n) + " " + std::to_string(start) + ",0,0 " +
                          std::to_string(start + 1) + ",9,1");
        }
    }
}

TEST_P(Entry, ABlackSquareAnEarlierSquareOrAnEmptyBufferDoNothing) {
    PlayFixture f(GetParam());
    const int n = Digits(f), start = *f.WhiteRun(n, false), w = f.W();
    f.Fill(start, start + 1); // an empty buffer
    EXPECT_FALSE(f.form->AutoFillFromBuffer(start));
    Buffer(f, n, false);
    f.form->SetCellText(f.Count(), "4"); // a square or a box past the form's own: nothing happens
    f.form->BoxClick(static_cast<int>(f.form->Boxes().size()));
    f.form->txtGrid_MouseDown(f.FirstBlack());
    ExpectIdle(f);
    int laterBlack = start + 1;
    while (f.White(laterBlack) || std::abs(laterBlack % w - start % w) < laterBlack / w - start / w)
        ++laterBlack;
    // An earlier square, or the start again, cancels the selection; a black square gives the direction.
    for (const int earlier : {start, 0}) {
        f.form->txtGrid_MouseDown(start);
        EXPECT_EQ(f.Cell(start).back, kBlue);
        f.form->txtGrid_MouseDown(earlier);
        ExpectIdle(f);
        EXPECT_EQ(f.Text(start), "");
    }
    f.Fill(start, laterBlack);
    EXPECT_EQ(std::tuple(f.Text(start), f.dialogs.messages.size()), std::tuple(std::string("0"), 0u));
    ExpectIdle(f);
}

} // namespace
