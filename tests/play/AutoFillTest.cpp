#include "PlayFixture.h"

#include "corvana/Version.h"

#include <cstdlib>

using namespace corvana;
using namespace corvana::test;

namespace {

const std::string kNoRoom =
    "The number is longer than the room left on the line.  Check that the correct AutoFill "
    "direction has been selected.  Process aborted.";
const std::string kBlackSquare =
    "The number would cross unusuable spaces from this starting point.  Check that the "
    "correct AutoFill direction has been selected.  Process aborted.";
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
// that fits the direction (the Large form has separate down lists).
std::string Buffer(PlayFixture& f, int digits, bool down) {
    const std::string number = std::string("0157294836").substr(0, static_cast<std::size_t>(digits));
    const bool downList = down && f.form->Config().separateLists;
    f.SetCaption(digits, number, downList);
    f.Pick(digits, 0, downList);
    EXPECT_EQ(f.form->BufferText(), number);
    return number;
}
void ExpectIdle(const PlayFixture& f) {
    EXPECT_EQ(f.form->FillStartCell(), -1);
    EXPECT_EQ(f.form->FillSecondCell(), -1);
    for (int i = 0; i < f.Count(); ++i)
        EXPECT_EQ(f.Cell(i).back, f.White(i) ? kWhite : kBlack) << i;
}
// A refused fill: one OK message, nothing written, the buffer kept.
void ExpectRefused(const PlayFixture& f, const std::string& text, const std::string& number,
                   const std::vector<std::int16_t>& before) {
    ASSERT_EQ(f.dialogs.messages.size(), 1u);
    EXPECT_EQ(f.dialogs.messages[0].text, text);
    EXPECT_EQ(f.dialogs.messages[0].title, version::Title);
    EXPECT_EQ(f.dialogs.messages[0].buttons, Buttons::Ok);
    EXPECT_EQ(f.puzzle.UserArray, before);
    EXPECT_EQ(f.form->BufferText(), number);
    EXPECT_FALSE(f.form->UndoEnabled());
    ExpectIdle(f);
}

class AutoFill : public ::testing::TestWithParam<const char*> {};

INSTANTIATE_TEST_SUITE_P(AllSizes, AutoFill, ::testing::ValuesIn(AllSizes()));

// The second square gives the direction: more columns than rows to the right is across, a tie
// too; below is down. The fill writes the number, empties the buffer and records one undo step.
TEST_P(AutoFill, ASquareToTheRightOrATieFillsAcrossAndOneBelowFillsDown) {
    for (const int kind : {0, 1, 2}) {
        const bool down = kind == 1;
        SCOPED_TRACE(kind == 0 ? "across" : kind == 1 ? "down" : "tie");
        PlayFixture f(GetParam());
        const int n = Digits(f);
        const int step = down ? f.W() : 1;
        const std::string number = Buffer(f, n, down);
        const int start = *f.WhiteRun(n, down);
        ASSERT_LT(start % f.W(), f.W() - 1);
        f.form->txtGrid_MouseDown(start);
        EXPECT_EQ(f.Cell(start).back, kBlue);
        EXPECT_EQ(f.form->FillStartCell(), start);
        f.form->txtGrid_MouseDown(kind == 2 ? start + f.W() + 1 : start + 2 * step);
        EXPECT_EQ(f.form->AutoFillDown(), down);
        for (int k = 0; k < n; ++k)
            EXPECT_EQ(f.Text(start + k * step), number.substr(Ix(k), 1));
        EXPECT_TRUE(f.UserGridMatchesCells());
        EXPECT_EQ(f.form->BufferCaption(), "Buffer = ");
        EXPECT_EQ(f.form->UndoCaption(), "Undo " + number);
        const auto& undo = f.form->UndoArray();
        ASSERT_EQ(undo.size(), Ix(n + 1));
        EXPECT_EQ(undo[0], std::to_string(n));
        EXPECT_EQ(undo[2], std::to_string(start + step) + ",-1,1");
        EXPECT_TRUE(f.dialogs.messages.empty());
        EXPECT_TRUE(f.host.focus.empty()) << "the focus does not move";
        ExpectIdle(f);
    }
}

// The longest number where the line has no room for it, the shortest where a black square
// lies in its way.
TEST_P(AutoFill, ANumberWithoutRoomOrCrossingABlackSquareIsRefusedAndKept) {
    for (const bool blocked : {false, true})
        for (const bool down : {false, true}) {
            SCOPED_TRACE(std::string(blocked ? "black square " : "no room ") + (down ? "down" : "across"));
            PlayFixture f(GetParam());
            const int n = Digits(f, !blocked);
            const std::string number = Buffer(f, n, down);
            const int w = f.W();
            const int step = down ? w : 1;
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
            ExpectRefused(f, blocked ? kBlackSquare : kNoRoom, number, before);
        }
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
        const auto undoBefore = f.form->UndoArray();
        const auto before = f.puzzle.UserArray;
        f.dialogs.answers.push_back(answer);
        f.Fill(start, start + 1);
        ASSERT_EQ(f.dialogs.messages.size(), 1u);
        const auto& question = f.dialogs.messages[0];
        EXPECT_EQ(question.text, "One or more numbers that exist in the squares that you are filling with " +
                                     number +
                                     " conflict.  This could invalidate some entered values.  Do you want to "
                                     "overwrite?");
        EXPECT_EQ(question.title, "Confirm Overwrite");
        EXPECT_EQ(question.buttons, Buttons::YesNo);
        if (answer != Answer::Yes) {
            EXPECT_EQ(f.puzzle.UserArray, before);
            EXPECT_EQ(f.form->UndoArray(), undoBefore);
            EXPECT_EQ(f.form->BufferText(), number);
        } else {
            EXPECT_EQ(f.Text(start + 1), "1");
            EXPECT_EQ(f.form->UndoArray()[1], std::to_string(start) + ",0,0");
            EXPECT_EQ(f.form->UndoArray()[2], std::to_string(start + 1) + ",9,1");
            EXPECT_EQ(f.form->BufferText(), "");
        }
        ExpectIdle(f);
    }
}

// Over the shown starter its own digits are no conflict and stay red; a number that differs
// in one digit asks, and only the wrong digit turns black.
TEST(AutoFillNormal, OverTheShownStarterOnlyAWrongDigitConflictsAndIsNotRed) {
    PlayFixture f(kNormal);
    const int first = f.puzzle.StarterFirstCell;
    f.form->BoxClick(f.TickedIds().at(0)); // unticks it, but the buffer takes the number
    EXPECT_EQ(f.form->BufferText(), f.StarterText());
    f.Fill(first, first + 1);
    EXPECT_TRUE(f.dialogs.messages.empty());
    EXPECT_EQ(f.form->BufferText(), "");
    for (int i = first; i <= f.puzzle.StarterLastCell; ++i)
        EXPECT_EQ(f.Cell(i).fore, kRed) << i;

    const int n = f.puzzle.StarterLastCell - first + 1;
    std::string number = f.StarterText();
    number[1] = static_cast<char>('0' + (number[1] - '0' + 1) % 10);
    f.SetCaption(n, number);
    f.Pick(n, 0);
    f.dialogs.answers.push_back(Answer::Yes);
    f.Fill(first, first + 1);
    ASSERT_EQ(f.dialogs.messages.size(), 1u);
    ASSERT_EQ(f.Text(first + 1), number.substr(1, 1));
    EXPECT_EQ(f.Cell(first).fore, kRed) << "right digit";
    EXPECT_EQ(f.Cell(first + 1).fore, kBlack) << "wrong digit";
}

TEST_P(AutoFill, ABlackSquareCannotStartButCanGiveTheDirectionAndAnEarlierSquareCancels) {
    PlayFixture f(GetParam());
    const int n = Digits(f);
    Buffer(f, n, false);
    int black = -1;
    for (int i = 0; i < f.Count() && black < 0; ++i)
        if (!f.White(i))
            black = i;
    f.form->txtGrid_MouseDown(black);
    ExpectIdle(f);
    const int start = *f.WhiteRun(n, false);
    int laterBlack = -1;
    for (int i = start + 1; i < f.Count() && laterBlack < 0; ++i)
        if (!f.White(i) && std::abs(i % f.W() - start % f.W()) >= std::abs(i / f.W() - start / f.W()))
            laterBlack = i;
    ASSERT_GE(laterBlack, 0);
    // An earlier square, or the start again, cancels the selection.
    for (const int earlier : {start, 0}) {
        f.Fill(start, earlier);
        ExpectIdle(f);
        EXPECT_EQ(f.Text(start), "");
    }
    f.Fill(start, laterBlack);
    EXPECT_EQ(f.Text(start), "0");
    ExpectIdle(f);
}

TEST_P(AutoFill, AnEmptyOrOneDigitBufferDoesNothingSilently) {
    PlayFixture f(GetParam());
    const int n = Digits(f);
    const int start = *f.WhiteRun(n, false);
    f.Fill(start, start + 1);
    ExpectIdle(f);
    EXPECT_EQ(f.Text(start), "");
    EXPECT_FALSE(f.form->AutoFillFromBuffer(start));

    // On the Large form "7" comes from a down list and is filled across: the length is
    // checked before the direction. A caption that is no number is never written.
    for (const std::string odd : {"7", "ab"}) {
        const bool down = f.form->Config().separateLists && odd == "7";
        f.SetCaption(n, odd, down);
        f.Pick(n, 0, down);
        ASSERT_EQ(f.form->BufferText(), odd);
        f.Fill(start, start + 1);
        EXPECT_EQ(f.Text(start), "") << odd;
        EXPECT_EQ(f.form->BufferText(), odd);
        ExpectIdle(f);
    }
    EXPECT_TRUE(f.dialogs.messages.empty()) << f.Texts().front();
    EXPECT_TRUE(f.UserGridMatchesCells());
}

TEST(AutoFillLarge, AnAcrossNumberIsNotFilledDownNorADownNumberAcross) {
    PlayFixture f(kLarge);
    const int start = *f.WhiteRun(3, false);
    const int downStart = *f.WhiteRun(3, true);
    f.Pick(3, 0, false);
    const std::string across = f.form->BufferText();
    f.Fill(downStart, downStart + 2 * f.W());
    ASSERT_EQ(f.dialogs.messages.size(), 1u);
    EXPECT_EQ(f.dialogs.messages[0].text, kAcrossDown);
    EXPECT_EQ(f.dialogs.messages[0].title, version::Title);
    EXPECT_EQ(f.dialogs.messages[0].buttons, Buttons::Ok);
    EXPECT_EQ(f.form->BufferText(), across);
    EXPECT_EQ(f.Text(downStart), "");
    f.Fill(start, start + 1);
    EXPECT_EQ(f.Text(start), across.substr(0, 1));
    EXPECT_EQ(f.form->BufferText(), "");

    f.Pick(3, 1, true);
    const std::string down = f.form->BufferText();
    const int other = *f.WhiteRun(3, true);
    f.Fill(other, other + 1);
    ASSERT_EQ(f.dialogs.messages.size(), 2u);
    EXPECT_EQ(f.dialogs.messages[1].text, kDownAcross);
    EXPECT_EQ(f.form->BufferText(), down);
    f.Fill(other, other + f.W());
    EXPECT_EQ(f.Text(other + 2 * f.W()), down.substr(2, 1));
    EXPECT_EQ(f.dialogs.messages.size(), 2u);

    // Across from the last column: no room either, but the direction is reported.
    f.Pick(8, 0, true);
    int last = f.W() - 1;
    while (!f.White(last) || f.InStarter(last))
        last += f.W();
    f.Fill(last, last + 1);
    EXPECT_EQ(f.Texts().back(), kDownAcross);
    EXPECT_EQ(f.dialogs.messages.size(), 3u);
}

} // namespace
